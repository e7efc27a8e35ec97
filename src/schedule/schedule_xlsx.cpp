#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <system_error>

#include "schedule/columns.h"
#include "schedule/schedule.h"
#include "schedule/whole_file.h"
#include "text/file_errors.h"
#include "text/files.h"
#include "text/utf8.h"

#ifndef _WIN32
#include <locale.h>
#endif

namespace nimbo {
namespace {

namespace fs = std::filesystem;
using schedule::Cell;
using schedule::Column;

// Debian's libxlsxwriter prints numbers with fprintf("%.16G"), in the decimal
// separator of the C library's locale; a Qt program on Linux runs in the
// user's locale (QCoreApplication sets it), and "1,5" in a sheet makes a
// file no reader opens. So the workbook is written in the C locale, set for
// this thread alone. The Windows build's libxlsxwriter has a number writer
// of its own that no locale changes (scripts/windows.sh).
class CLocaleForThisThread {
public:
#ifdef _WIN32
    CLocaleForThisThread() = default;
#else
    CLocaleForThisThread() : c_(newlocale(LC_ALL_MASK, "C", nullptr)), previous_(c_ ? uselocale(c_) : nullptr) {}
    ~CLocaleForThisThread()
    {
        if (c_) {
            uselocale(previous_);
            freelocale(c_);
        }
    }
#endif
    CLocaleForThisThread(const CLocaleForThisThread&) = delete;
    CLocaleForThisThread& operator=(const CLocaleForThisThread&) = delete;

#ifndef _WIN32
private:
    locale_t c_;
    locale_t previous_;
#endif
};

// The library's faults in the user's words. A fault while writing the file
// is told as a full disk where the disk is indeed (nearly) full.
struct LibraryFault {
    lxw_error error;
    std::string_view cause;
    bool writing;
};
constexpr LibraryFault kLibraryFaults[] = {
    {LXW_ERROR_MEMORY_MALLOC_FAILED, "недостаточно памяти", false},
    {LXW_ERROR_CREATING_XLSX_FILE, "файл не создаётся", true},
    {LXW_ERROR_CREATING_TMPFILE, "не создаётся рабочий файл в системной папке временных файлов", false},
    {LXW_ERROR_READING_TMPFILE, "не читается рабочий файл из системной папки временных файлов", false},
    {LXW_ERROR_ZIP_FILE_OPERATION, "запись прервалась", true},
    {LXW_ERROR_ZIP_PARAMETER_ERROR, "запись прервалась", true},
    {LXW_ERROR_ZIP_BAD_ZIP_FILE, "запись прервалась", true},
    {LXW_ERROR_ZIP_INTERNAL_ERROR, "запись прервалась", true},
    {LXW_ERROR_ZIP_FILE_ADD, "запись прервалась", true},
    {LXW_ERROR_ZIP_CLOSE, "запись прервалась", true},
    {LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED, "текст длиннее 32 767 знаков не помещается в ячейку", false},
    {LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, "строк больше, чем вмещает лист", false},
};
// Far more than a schedule takes: below it, a failed write is the disk's.
constexpr std::uintmax_t kNearlyFull = 1 << 20;

std::string LibraryCause(lxw_error error, const fs::path& file)
{
    for (const LibraryFault& fault : kLibraryFaults) {
        if (fault.error != error)
            continue;
        std::error_code ec;
        const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
        if (fault.writing && fs::space(folder, ec).available < kNearlyFull && !ec)
            return FileErrorCause(ENOSPC);
        return std::string(fault.cause);
    }
    return "ошибка библиотеки записи таблиц (код " + std::to_string(static_cast<int>(error)) + ")";
}

// The first fault of many calls; the later ones follow from it.
struct Faults {
    lxw_error first = LXW_NO_ERROR;
    void note(lxw_error e)
    {
        if (first == LXW_NO_ERROR)
            first = e;
    }
};

// The number format of each look (schedule::Look); text has none.
constexpr std::array<const char*, schedule::kLooks> kNumberFormats = {nullptr, "0", "0.0", "0.0#"};

struct Formats {
    lxw_format* header = nullptr;
    std::array<lxw_format*, schedule::kLooks> looks{};
};

// Null when the library ran out of memory.
std::unique_ptr<Formats> MakeFormats(lxw_workbook* book)
{
    auto formats = std::make_unique<Formats>();
    formats->header = workbook_add_format(book);
    if (!formats->header)
        return nullptr;
    format_set_bold(formats->header);
    format_set_text_wrap(formats->header);
    format_set_align(formats->header, LXW_ALIGN_CENTER);
    format_set_align(formats->header, LXW_ALIGN_VERTICAL_CENTER);
    format_set_bottom(formats->header, LXW_BORDER_THIN);
    for (int look = 0; look < schedule::kLooks; ++look) {
        if (!kNumberFormats[look])
            continue;
        lxw_format* format = workbook_add_format(book);
        if (!format)
            return nullptr;
        format_set_num_format(format, kNumberFormats[look]);
        // "-" for a missing result stands where the numbers stand.
        format_set_align(format, LXW_ALIGN_RIGHT);
        formats->looks[look] = format;
    }
    return formats;
}

void WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const Cell& cell, lxw_format* format,
               Faults& faults)
{
    if (cell.kind == Cell::Kind::Number)
        faults.note(worksheet_write_number(sheet, row, col, cell.number, format));
    else if (cell.kind == Cell::Kind::Text)
        faults.note(worksheet_write_string(sheet, row, col, cell.text, format));
}

// The header row, frozen with the first `frozenColumns` and repeated on every
// printed page, then the rows, with a filter over the whole table.
template <class Row, std::size_t N>
void WriteTable(lxw_worksheet* sheet, const Formats& formats, const Column<Row> (&columns)[N],
                const std::vector<Row>& rows, lxw_col_t frozenColumns, Faults& faults)
{
    for (lxw_col_t c = 0; c < N; ++c) {
        faults.note(worksheet_set_column(sheet, c, c, columns[c].width, nullptr));
        faults.note(worksheet_write_string(sheet, 0, c, columns[c].header, formats.header));
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r + 1 >= LXW_ROW_MAX) {
            faults.note(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
            return;
        }
        for (lxw_col_t c = 0; c < N; ++c)
            WriteCell(sheet, static_cast<lxw_row_t>(r + 1), c, columns[c].cell(rows[r]),
                      formats.looks[static_cast<int>(columns[c].look)], faults);
    }
    worksheet_freeze_panes(sheet, 1, frozenColumns);
    faults.note(worksheet_repeat_rows(sheet, 0, 0));
    faults.note(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(rows.size()), N - 1));
}

// A property for the printed page: one line, at most 40 characters, with
// "&" doubled, since the page header reads "&P" as the page number. Four of
// them stay within the 255 characters Excel takes.
std::string PageText(std::string_view text)
{
    std::string out;
    for (char c : Characters(text, 1, 40)) {
        if (c == '&')
            out += '&';
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return out;
}

std::string Joined(const std::string& a, const std::string& b)
{
    return a.empty() || b.empty() ? a + b : a + ", " + b;
}

void SetUpPages(lxw_worksheet* sheet, const ScheduleHeader& header, Faults& faults)
{
    constexpr uint8_t kA4 = 9;
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, kA4);
    worksheet_fit_to_pages(sheet, 1, 0);
    const std::string top = "&L" + PageText(header.project) + "&C" + PageText(Joined(header.object, header.section)) +
                            "&R" + PageText(header.date);
    const std::string bottom = "&L" + PageText(header.engineer) + "&CЛист &P из &N&R" + PageText(header.catalogue);
    faults.note(worksheet_set_header(sheet, top.c_str()));
    faults.note(worksheet_set_footer(sheet, bottom.c_str()));
}

void SetProperties(lxw_workbook* book, const ScheduleHeader& header, Faults& faults)
{
    std::string subject = Joined(header.object, header.section);
    std::string comments = header.catalogue.empty() ? std::string() : "Каталог: " + header.catalogue;
    lxw_doc_properties properties{};
    // The library copies them; its structure is not const-correct.
    properties.title = const_cast<char*>(header.project.c_str());
    properties.subject = subject.data();
    properties.author = const_cast<char*>(header.engineer.c_str());
    properties.comments = comments.data();
    faults.note(workbook_set_properties(book, &properties));
}

lxw_error WriteSheets(lxw_workbook* book, const ScheduleHeader& header, const std::vector<ScheduleRow>& rows)
{
    const std::unique_ptr<Formats> formats = MakeFormats(book);
    lxw_worksheet* rooms = workbook_add_worksheet(book, "Ведомость");
    lxw_worksheet* bill = workbook_add_worksheet(book, "Спецификация");
    if (!formats || !rooms || !bill)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    Faults faults;
    SetProperties(book, header, faults);
    // The room's name stays in sight beside its results too.
    WriteTable(rooms, *formats, schedule::kRoomColumns, rows, 1, faults);
    WriteTable(bill, *formats, schedule::kBillColumns, BillOfQuantities(rows), 0, faults);
    SetUpPages(rooms, header, faults);
    SetUpPages(bill, header, faults);
    return faults.first;
}

// Empty, or the cause of the failure.
std::string WriteWorkbook(const fs::path& file, const ScheduleHeader& header, const std::vector<ScheduleRow>& rows)
{
    [[maybe_unused]] const CLocaleForThisThread cNumbers;
    // The MinGW build of libxlsxwriter opens its file with the narrow fopen
    // (its UTF-8 names are for Microsoft's compiler alone).
    const std::string name = NarrowPath(file);
    if (name.empty())
        return "в пути к файлу есть буквы не из кодовой страницы Windows, и короткого имени у него нет";
    std::unique_ptr<lxw_workbook, decltype(&lxw_workbook_free)> book(workbook_new(name.c_str()), lxw_workbook_free);
    if (!book)
        return LibraryCause(LXW_ERROR_MEMORY_MALLOC_FAILED, file);
    lxw_error error = WriteSheets(book.get(), header, rows);
    if (error == LXW_NO_ERROR)
        error = workbook_close(book.release());
    return error == LXW_NO_ERROR ? std::string() : LibraryCause(error, file);
}

}  // namespace

std::string WriteScheduleXlsx(const std::string& path, const ScheduleHeader& header,
                              const std::vector<ScheduleRow>& rows)
{
    std::string cause;
    try {
        cause = WriteWholeFile(PathFromText(path),
                               [&](const fs::path& file) { return WriteWorkbook(file, header, rows); });
    } catch (const std::bad_alloc&) {
        cause = "недостаточно памяти";
    }
    if (cause.empty())
        return {};
    return "Не удалось записать ведомость в файл «" + path + "»: " + cause;
}

}  // namespace nimbo
