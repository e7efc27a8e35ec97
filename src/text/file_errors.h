#pragma once
// Why a file could not be written, in the words the user reads after the
// file's name. Every writer of a file (the log, the schedule) tells the same
// fault the same way.
#include <filesystem>
#include <string>

namespace nimbo {

// The cause for an errno value (ENOSPC: "нет места на диске").
std::string FileErrorCause(int err);

// The cause for a file that would not open: a folder at the path, and on
// Windows a file held open by another program, which the system reports
// as denied access like a read-only one.
std::string OpenErrorCause(const std::filesystem::path& file, int err);

}  // namespace nimbo
