#include "text/file_errors.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "text/open_for_writing.h"

namespace nimbo {

std::string FileErrorCause(int err)
{
    switch (err) {
    case ENOSPC: return "нет места на диске";
    case EACCES:
    case EPERM: return "нет прав на запись";
    case EROFS: return "диск доступен только для чтения";
    case ENOENT: return "папка не найдена";
    case EISDIR: return "по этому пути находится папка, а не файл";
    case kNotRegularFile: return "по этому пути находится не обычный файл";
    case ENOTDIR: return "часть пути не является папкой";
#ifdef EDQUOT
    case EDQUOT: return "исчерпана дисковая квота";
#endif
    case EFBIG: return "файл достиг предельного размера";
    case EMFILE:
    case ENFILE: return "открыто слишком много файлов";
    case 0: return "ошибка записи";
    default: return "ошибка ввода-вывода (код " + std::to_string(err) + ")";
    }
}

std::string OpenErrorCause(const std::filesystem::path& file, int err)
{
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return FileErrorCause(EISDIR);
#ifdef _WIN32
    // Only a refusal by the system itself says anything through _doserrno;
    // a refusal of ours (a link, a device) leaves an older value there.
    constexpr unsigned long kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
    if (err == EACCES && _doserrno == kSharingViolation)
        return "файл открыт другой программой";
#endif
    return FileErrorCause(err);
}

}  // namespace nimbo
