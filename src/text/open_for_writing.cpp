#include "text/open_for_writing.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace nimbo {

#ifdef _WIN32

// No O_NOFOLLOW here: the path is looked at first. A symbolic link or a
// junction is a reparse point; nothing but a plain file is opened.
std::FILE* OpenLogForWriting(const std::filesystem::path& file, bool empty)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            errno = ELOOP;
            return nullptr;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            errno = EISDIR;
            return nullptr;
        }
        if (attributes & FILE_ATTRIBUTE_DEVICE) {
            errno = kNotRegularFile;
            return nullptr;
        }
    }
    return _wfopen(file.c_str(), empty ? L"wb" : L"ab");
}

#else

namespace {

std::FILE* Fail(int fd, int err)
{
    if (fd >= 0)
        ::close(fd);
    errno = err;
    return nullptr;
}

}  // namespace

// Opened without cutting and without waiting (a pipe with no reader would
// block); cut only once the descriptor is known to be a regular file.
std::FILE* OpenLogForWriting(const std::filesystem::path& file, bool empty)
{
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (empty ? 0 : O_APPEND);
    const int fd = ::open(file.c_str(), flags, 0666);
    if (fd < 0)
        return Fail(-1, errno == ENXIO ? kNotRegularFile : errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return Fail(fd, errno);
    if (!S_ISREG(status.st_mode))
        return Fail(fd, kNotRegularFile);
    const int statusFlags = ::fcntl(fd, F_GETFL);
    if (statusFlags < 0 || ::fcntl(fd, F_SETFL, statusFlags & ~O_NONBLOCK) != 0)
        return Fail(fd, errno);
    if (empty && ::ftruncate(fd, 0) != 0)
        return Fail(fd, errno);
    std::FILE* f = ::fdopen(fd, empty ? "wb" : "ab");
    if (!f)
        return Fail(fd, errno);
    return f;
}

#endif

}  // namespace nimbo
