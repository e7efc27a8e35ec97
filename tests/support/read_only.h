#pragma once
// Files and folders made read-only for a fault test, for real, also for root:
// root writes whatever the mode bits say, and only the immutable attribute
// stops it.
#include <QString>
#include <QtGlobal>

#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <linux/fs.h>
#endif

namespace nimbo::test {

// Returns false where the file system or the process cannot set it.
inline bool SetImmutable(const std::filesystem::path& file, bool on)
{
#ifdef FS_IOC_SETFLAGS
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
#else
    (void)file;
    (void)on;
    return false;
#endif
}

// Whether this user is really kept from writing to the file: root writes
// whatever the mode bits say, and so does wine run by root whatever the
// read-only attribute says.
inline bool WritingIsRefused(const std::filesystem::path& file)
{
    return !std::ofstream(file, std::ios::binary | std::ios::app).is_open();
}

// A folder nobody may create files in: by its mode bits, or for root by the
// immutable attribute. Windows' read-only attribute does not keep new files
// out of a folder, so there it cannot be made this way.
inline bool MakeReadOnly(const std::filesystem::path& folder, bool on)
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        return SetImmutable(folder, on);
    std::error_code ec;
    std::filesystem::permissions(folder,
                                 on ? std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec
                                    : std::filesystem::perms::owner_all,
                                 ec);
    return !ec;
#else
    (void)folder;
    return !on;
#endif
}

// An existing file that this user cannot write: empty when made, otherwise
// why it cannot be made here.
inline QString MakeFileReadOnly(const std::filesystem::path& file)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, ec);
    if (!WritingIsRefused(file) && !SetImmutable(file, true)) {
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, ec);
        return QStringLiteral("this user writes to a read-only file here, and the immutable attribute cannot be set");
    }
    return {};
}

inline void LiftFileReadOnly(const std::filesystem::path& file)
{
    std::error_code ec;
    SetImmutable(file, false);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
}

}  // namespace nimbo::test
