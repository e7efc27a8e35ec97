#pragma once
// The project file, *.nimbo: UTF-8 JSON with a format name and version,
// documented field by field in the README so that other programs can write
// it. Only bytes here; where they are stored is the caller's business.
#include <string>
#include <string_view>

#include "project/project.h"

namespace nimbo {

inline constexpr std::string_view kProjectFormatName = "nimbo-project";

// Empty when `bytes` hold a project, which is then in `out`. Otherwise one
// message in Russian that names the file (as `fileName` gives it), the room
// (its number from 1 and its name) and the field, and `out` is unchanged.
// Fields this program does not know are skipped; a missing optional field
// takes its default.
std::string ReadProject(std::string_view bytes, std::string_view fileName, Project& out);

// The file's text, always in kProjectFormatVersion: fields in a fixed
// order, absent values as null, LF line ends. Numbers read back to the same
// doubles, so a project written and read again is equal to itself.
std::string WriteProject(const Project& project);

}  // namespace nimbo
