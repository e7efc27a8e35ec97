#include "log/log_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>

#include "text/cp1251.h"
#include "text/file_errors.h"
#include "text/files.h"
#include "text/open_for_writing.h"

namespace nimbo {
namespace {

constexpr std::string_view kHeaderVariant1 =
    "ВР, Типоразмер, Наличие КСД, Регулятор формы струи, Регулятор расхода, L(м3/ч), "
    "V(м/с) или X(м/с), P(Па), l(м) или V(м/с), F0(м2), V0(м/с), Fв(м2), Vв(м2), Fжс(м2), Vжс(м/с)";
constexpr std::string_view kHeaderVariant2 =
    "ВР, Типоразмер, Наличие КСД, Регулятор формы струи, Регулятор расхода, L(м3/ч), "
    "X(м), P(Па), V(м/с), F0(м2), V0(м/с), Fв(м2), Vв(м2), Fжс(м2), Vжс(м/с)";
constexpr std::string_view kLineEnd = "\r\n";

// A link is refused by the log alone (a schedule is written beside it and
// moved into place), so only the log says why.
std::string Cause(int err)
{
    return err == ELOOP ? "это ссылка на другой файл, а по ссылкам журнал не пишется" : FileErrorCause(err);
}

WriteResult Failure(const std::filesystem::path& file, const std::string& cause)
{
    return {false, "Не удалось записать в файл журнала «" + PathText(file) + "»: " + cause};
}

std::string OpenFailureCause(const std::filesystem::path& file, int err)
{
    return err == ELOOP ? Cause(err) : OpenErrorCause(file, err);
}

std::FILE* Open(const std::filesystem::path& file, WriteMode mode)
{
    return OpenLogForWriting(file, mode == WriteMode::Create);
}

// Opens, writes the whole line with one call, flushes and closes. A write that
// fails part-way is undone by cutting the file back to its size before, so a
// reader never meets half a line.
WriteResult WriteLine(const std::filesystem::path& file, WriteMode mode, const std::string& bytes)
{
    std::error_code ec;
    std::uintmax_t sizeBefore = 0;
    if (mode == WriteMode::Append) {
        sizeBefore = std::filesystem::file_size(file, ec);
        if (ec)
            sizeBefore = 0;  // missing (it will be created) or not a regular file
    }

    errno = 0;
    std::FILE* f = Open(file, mode);
    if (!f)
        return Failure(file, OpenFailureCause(file, errno));

    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = errno;
    if (ok && std::fflush(f) != 0) {
        ok = false;
        err = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok)
        return {};

    if (std::filesystem::is_regular_file(file, ec))
        std::filesystem::resize_file(file, sizeBefore, ec);
    return Failure(file, Cause(err));
}

}  // namespace

LogFile::LogFile(std::filesystem::path file) : path_(std::move(file)) {}

std::string LogFile::headerBytes(int variant)
{
    if (variant != 1 && variant != 2)
        return {};
    return cp1251::fromUtf8(variant == 1 ? kHeaderVariant1 : kHeaderVariant2) + std::string(kLineEnd);
}

std::string LogFile::dataLineBytes(const LogRecord& record)
{
    std::string utf8;
    bool first = true;
    for (const std::string& column : record.dataColumns()) {
        if (!first)
            utf8 += ',';
        first = false;
        // A column holding a separator, a quote or a line break is quoted as
        // RFC 4180 says; otherwise a decimal comma typed by the user would
        // shift every later column of that line.
        if (column.find_first_of(",\"\r\n") == std::string::npos) {
            utf8 += column;
            continue;
        }
        utf8 += '"';
        for (char c : column) {
            if (c == '"')
                utf8 += '"';
            utf8 += c;
        }
        utf8 += '"';
    }
    return cp1251::fromUtf8(utf8) + std::string(kLineEnd);
}

WriteResult LogFile::writeHeader(int variant, WriteMode mode) const
{
    try {
        const std::string bytes = headerBytes(variant);
        if (bytes.empty())
            return Failure(path_, "неизвестный вариант расчёта " + std::to_string(variant));
        return WriteLine(path_, mode, bytes);
    } catch (const std::exception&) {
        return Failure(path_, "недостаточно памяти");
    }
}

WriteResult LogFile::appendDataLine(const LogRecord& record) const
{
    try {
        return WriteLine(path_, WriteMode::Append, dataLineBytes(record));
    } catch (const std::exception&) {
        return Failure(path_, "недостаточно памяти");
    }
}

std::string LogFailureCause(int err)
{
    return Cause(err);
}

std::filesystem::path LogFile::previousPath(const std::filesystem::path& file)
{
    std::filesystem::path previous = file;
    previous.replace_extension();
    previous += ".prev";
    previous += file.extension();
    return previous;
}

WriteResult LogFile::startSession() const
{
    try {
        // Opened for appending first: a file that cannot be written (read-only,
        // a link, a folder) must be neither moved nor emptied.
        errno = 0;
        std::FILE* probe = Open(path_, WriteMode::Append);
        if (!probe)
            return Failure(path_, OpenFailureCause(path_, errno));
        std::fclose(probe);
        std::error_code ec;
        if (std::filesystem::file_size(path_, ec) > 0 && !ec) {
            const std::filesystem::path previous = previousPath(path_);
#ifdef _WIN32
            std::filesystem::remove(previous, ec);
#endif
            std::filesystem::rename(path_, previous, ec);
            if (ec)
                return Failure(previous, Cause(ec.value()));
        }
        return writeHeader(1, WriteMode::Create);
    } catch (const std::exception&) {
        return Failure(path_, "недостаточно памяти");
    }
}

}  // namespace nimbo
