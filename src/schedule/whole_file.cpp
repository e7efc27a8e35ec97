#include "schedule/whole_file.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <system_error>

#include "text/file_errors.h"
#include "text/files.h"
#include "text/open_for_writing.h"

namespace nimbo {
namespace {

namespace fs = std::filesystem;

std::string TargetCause(const fs::path& target)
{
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (!fs::exists(status))
        return {};
    if (fs::is_directory(status))
        return FileErrorCause(EISDIR);
    if (!fs::is_regular_file(status))
        return FileErrorCause(kNotRegularFile);
    // Opened for appending and closed unwritten: it stays as it was, and the
    // system says whether it may be written (on Windows, also whether another
    // program holds it open).
    errno = 0;
    std::FILE* probe = OpenFile(target, "ab");
    if (!probe)
        return OpenErrorCause(target, errno);
    std::fclose(probe);
    return {};
}

// "<name>.<hex>.part" beside the target; a name some other file already has
// is skipped.
std::string CreateBeside(const fs::path& target, fs::path& temporary)
{
    const auto stamp = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    for (std::uint64_t attempt = 0; attempt < 100; ++attempt) {
        char hex[17] = {};
        std::to_chars(hex, hex + 16, (stamp + attempt) & 0xFFFFFFFFu, 16);
        temporary = target;
        temporary += fs::path(std::string(".") + hex + ".part");
        std::error_code ec;
        if (fs::exists(temporary, ec))
            continue;
        errno = 0;
        std::FILE* f = OpenFile(temporary, "wb");
        if (!f)
            return OpenErrorCause(temporary, errno);
        std::fclose(f);
        return {};
    }
    return FileErrorCause(EEXIST);
}

}  // namespace

std::string WriteWholeFile(const fs::path& target, const std::function<std::string(const fs::path&)>& write)
{
    if (std::string cause = TargetCause(target); !cause.empty())
        return cause;
    fs::path temporary;
    if (std::string cause = CreateBeside(target, temporary); !cause.empty())
        return cause;
    std::string cause = write(temporary);
    std::error_code ec;
    if (cause.empty()) {
        // On Windows libstdc++ moves with MoveFileExW and
        // MOVEFILE_REPLACE_EXISTING, so an earlier file is replaced there too.
        fs::rename(temporary, target, ec);
        if (ec)
            cause = OpenErrorCause(target, ec.value());
    }
    if (!cause.empty())
        fs::remove(temporary, ec);
    return cause;
}

}  // namespace nimbo
