#include "report/project_report.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <numeric>

#include "report/jet_plot.h"
#include "report/page_layout.h"
#include "report/spectrum_plot.h"

namespace nimbo::report {

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy HH:mm");
constexpr double kTablePoints = 7.5;
constexpr double kChartPoints = 7;
constexpr double kGroupPoints = 8.5;
constexpr double kChartWidthMm = 78, kSpectrumMm = 50, kJetMm = 46;
// The schedule's columns in % of the page: №, room, L, model, size, then the
// quantities n, L1, ΔP, LwA, l or Vx, V0, LpA, NR, NC.
constexpr int kScheduleWidths[] = {3, 17, 7, 9, 11, 4, 6, 5, 7, 9, 6, 7, 4, 5};

QString HeadHtml(const Heading& h, const ProjectSheet& sheet)
{
    QString html = QStringLiteral("<p style=\"font-size:16pt; font-weight:bold; margin-bottom:4px\">%1</p><p>")
                       .arg(QString::fromUtf8(kProjectTitle).toHtmlEscaped());
    for (const SheetLine& line : sheet.properties)
        html += QStringLiteral("%1: <b>%2</b><br>").arg(Html(line.caption), Html(line.value));
    QString catalogue = h.cataloguePath.toHtmlEscaped();
    if (h.catalogueDate.isValid())
        catalogue += QStringLiteral(" от ") + h.catalogueDate.toString(kDateFormat);
    html += QStringLiteral("Отчет составлен %1<br>Каталог: %2<br>Помещений: %3")
                .arg(h.made.toString(kDateFormat), catalogue)
                .arg(sheet.rooms.size());
    if (sheet.marked > 0)
        html += QStringLiteral(", из них с отметками о пересчете: %1").arg(sheet.marked);
    return html + QStringLiteral("</p>");
}

// "ΔP, Па" as a header of a narrow column: the unit on a line of its own.
QString UnitBelow(const std::string& header)
{
    const QString h = Html(header);
    return h.contains(QStringLiteral(" / ")) ? QString(h).replace(QStringLiteral(" / "), QStringLiteral(" /<br>"))
                                              : QString(h).replace(QStringLiteral(", "), QStringLiteral("<br>"));
}

// One row of the schedule as a table of its own; every row has the same
// column widths, so the rows line up under the header.
QString ScheduleRowHtml(const std::vector<std::string>& cells, bool header)
{
    QString html = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" border=\"0\"%1><tr>")
                       .arg(header ? QStringLiteral(" bgcolor=\"#e4e4e4\"") : QString());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int width = i < std::size(kScheduleWidths) ? kScheduleWidths[i] : 5;
        const bool text = i == 1 || i == 3 || i == 4;
        html += QStringLiteral("<td width=\"%1%\"%2>%3</td>")
                    .arg(width)
                    .arg(text ? QString() : QStringLiteral(" align=\"right\""))
                    .arg(header ? QStringLiteral("<b>%1</b>").arg(UnitBelow(cells[i])) : Html(cells[i]));
    }
    return html + QStringLiteral("</tr></table>");
}

// Quantities side by side: a header of symbol and unit over each value.
QString AcrossHtml(const SheetGroup& g)
{
    QString head, values;
    for (const SheetLine& line : g.lines) {
        const QString cell = QStringLiteral("<td width=\"%1%\" align=\"right\">%2</td>").arg(100 / g.lines.size());
        head += cell.arg(Html(line.caption) + QStringLiteral("<br><span style=\"font-size:7pt\">%1</span>").arg(Html(line.unit)));
        values += cell.arg(Html(line.value));
    }
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">"
                          "<tr><td colspan=\"%1\"><b>%2</b></td></tr><tr style=\"color:#404040\">%3</tr><tr>%4</tr></table>")
        .arg(g.lines.size())
        .arg(Html(g.title), head, values);
}

QString GroupsHtml(const RoomSheet& room)
{
    QString html;
    for (const SheetGroup& g : room.groups) {
        if (g.across) {
            html += AcrossHtml(g);
            continue;
        }
        html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" style=\"margin-bottom:4px\">"
                               "<tr><td colspan=\"3\"><b>%1</b></td></tr>")
                    .arg(Html(g.title));
        for (const SheetLine& line : g.lines)
            html += QStringLiteral("<tr><td width=\"52%\">%1</td><td width=\"36%\" align=\"right\">%2</td>"
                                   "<td width=\"12%\">&nbsp;%3</td></tr>")
                        .arg(Html(line.caption), Html(line.value), Html(line.unit));
        html += QStringLiteral("</table>");
    }
    return html;
}

QString TitleHtml(int number, const RoomSheet& room)
{
    QString html = QStringLiteral("<p style=\"margin-bottom:3px\"><span style=\"font-size:11pt; font-weight:bold\">"
                                  "%1. %2</span></p>")
                       .arg(number)
                       .arg(Html(room.title));
    if (!room.marks.empty())
        html += QStringLiteral("<p style=\"color:#a00000; margin-top:0px; margin-bottom:3px\">Отметка: %1</p>")
                    .arg(Html(room.marks));
    return html;
}

// A room's block: the title across the page, the groups at the left and
// the charts at the right.
struct Block {
    std::unique_ptr<QTextDocument> title, groups;
    const RoomSheet* room = nullptr;
    double chartsHeight = 0, height = 0;
};

struct Page {
    QPagedPaintDevice& device;
    double width, dpmm;
};

Block MakeBlock(const Page& page, int number, const RoomSheet& room)
{
    Block b;
    b.room = &room;
    b.title = Document(page.device, page.width);
    b.title->setHtml(TitleHtml(number, room));
    b.groups = Document(page.device, page.width - (kChartWidthMm + kGapMm) * page.dpmm);
    b.groups->setDefaultFont(ReportFont(kGroupPoints));
    b.groups->setHtml(GroupsHtml(room));
    b.chartsHeight = ((room.spectrum ? kSpectrumMm : 0) + (room.jet ? kJetMm : 0)) * page.dpmm;
    b.height = b.title->size().height() + std::max(b.groups->size().height(), b.chartsHeight);
    return b;
}

void DrawBlock(QPainter& painter, const Page& page, const Block& b, char separator)
{
    painter.save();
    b.title->drawContents(&painter);
    painter.translate(0, b.title->size().height());
    b.groups->drawContents(&painter);
    const QFont font = ReportFont(kChartPoints);
    const double left = page.width - kChartWidthMm * page.dpmm, width = kChartWidthMm * page.dpmm;
    double top = 0;
    if (const auto& s = b.room->spectrum) {
        DrawSpectrum(painter, QRectF(left, top, width, kSpectrumMm * page.dpmm), s->Lp, s->NR, s->NRLimit, font, {});
        top += kSpectrumMm * page.dpmm;
    }
    if (const auto& j = b.room->jet)
        DrawJet(painter, QRectF(left, top, width, kJetMm * page.dpmm),
                PlotJet(j->stages, j->variant, j->given, QString::fromStdString(j->title), separator), font, {});
    painter.restore();
}

std::unique_ptr<QTextDocument> TableDocument(const Page& page, const std::vector<std::string>& cells, bool header)
{
    auto doc = Document(page.device, page.width);
    doc->setDefaultFont(ReportFont(kTablePoints));
    doc->setHtml(ScheduleRowHtml(cells, header));
    return doc;
}

double Height(const std::unique_ptr<QTextDocument>& doc) { return doc->size().height(); }

}  // namespace

bool PrintProject(QPagedPaintDevice& device, const Heading& heading, const ProjectSheet& sheet, char separator)
{
    const int dpi = device.logicalDpiY();
    const double dpmm = dpi / 25.4;
    const QRectF paint = device.pageLayout().paintRectPixels(dpi);
    const QRectF area(0, 0, paint.width(), paint.height());
    const Page page{device, area.width(), dpmm};
    const double gap = kGapMm * dpmm, room = area.height() - kFooterMm * dpmm;

    const auto head = Document(device, area.width());
    head->setHtml(HeadHtml(heading, sheet));
    const auto tableHead = TableDocument(page, sheet.scheduleHeaders, true);
    std::vector<std::unique_ptr<QTextDocument>> rows;
    std::vector<double> rowHeights;
    for (const std::vector<std::string>& cells : sheet.schedule) {
        rows.push_back(TableDocument(page, cells, false));
        rowHeights.push_back(Height(rows.back()));
    }
    std::vector<Block> blocks;
    std::vector<double> blockHeights;
    for (std::size_t i = 0; i < sheet.rooms.size(); ++i) {
        blocks.push_back(MakeBlock(page, static_cast<int>(i) + 1, sheet.rooms[i]));
        blockHeights.push_back(blocks.back().height);
    }
    // The schedule under the title, its header on top of every page it
    // reaches; the rooms after its last row.
    const double headHeight = Height(head) + gap;
    const std::vector<int> rowPage = PaginateAfter(rowHeights, headHeight, room - Height(tableHead), 0);
    const int tableEnd = rowPage.empty() ? 0 : rowPage.back();
    double tableBottom = (tableEnd == 0 ? headHeight : 0) + Height(tableHead);
    for (std::size_t i = 0; i < rows.size(); ++i)
        tableBottom += rowPage[i] == tableEnd ? rowHeights[i] : 0;
    std::vector<int> blockPage = PaginateAfter(blockHeights, tableBottom + gap, room, gap);
    for (int& p : blockPage)
        p += tableEnd;
    const int pages = 1 + std::max(tableEnd, blockPage.empty() ? 0 : blockPage.back());
    const QString footer = QString::fromUtf8(kProjectTitle) + QStringLiteral(", ") + heading.made.toString(kDateFormat);

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    int current = 0;
    double y = 0;
    // Ends the page and starts `next` when it is another one.
    const auto turnTo = [&](int next) {
        if (next == current)
            return false;
        DrawFooter(painter, area, footer, current + 1, pages);
        device.newPage();
        current = next;
        y = 0;
        return true;
    };
    const auto draw = [&](QTextDocument& doc) {
        painter.save();
        painter.translate(0, y);
        doc.drawContents(&painter);
        painter.restore();
        y += doc.size().height();
    };
    draw(*head);
    y += gap;
    draw(*tableHead);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (turnTo(rowPage[i]))
            draw(*tableHead);
        draw(*rows[i]);
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        turnTo(blockPage[i]);
        if (y > 0) {
            y += gap;
            painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 0.25 * dpmm));
            painter.drawLine(QPointF(0, y - gap / 2), QPointF(area.width(), y - gap / 2));
        }
        painter.save();
        painter.translate(0, y);
        DrawBlock(painter, page, blocks[i], separator);
        painter.restore();
        y += blockHeights[i];
    }
    DrawFooter(painter, area, footer, current + 1, pages);
    return painter.end();
}

QString WriteProjectPdf(const QString& path, const Heading& heading, const ProjectSheet& sheet, char separator)
{
    return WritePdfWhole(path, QString::fromUtf8(kProjectTitle),
                         [&](QPagedPaintDevice& device) { return PrintProject(device, heading, sheet, separator); });
}

}  // namespace nimbo::report
