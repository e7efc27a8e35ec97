#include "report/project_report.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <numeric>

#include "report/jet_plot.h"
#include "report/page_layout.h"
#include "report/noise_plot.h"

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

namespace {

// Every document of the report laid out, and the page of each piece.
struct Layout {
    explicit Layout(QPagedPaintDevice& device)
        : page{device, 0, device.logicalDpiY() / 25.4},
          area(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiY()).size()),
          gap(kGapMm * page.dpmm)
    {
        page.width = area.width();
    }
    Page page;
    QRectF area;
    double gap = 0;
    std::unique_ptr<QTextDocument> head, tableHead;
    std::vector<std::unique_ptr<QTextDocument>> rows;
    std::vector<Block> blocks;
    std::vector<int> rowPage, blockPage;
    int pages = 1;
};

// The schedule under the title, its header on top of every page it reaches;
// the rooms after its last row.
void PlaceOnPages(Layout& l)
{
    const double room = l.area.height() - kFooterMm * l.page.dpmm;
    const double headHeight = Height(l.head) + l.gap;
    std::vector<double> rowHeights, blockHeights;
    for (const auto& row : l.rows)
        rowHeights.push_back(Height(row));
    for (const Block& b : l.blocks)
        blockHeights.push_back(b.height);
    l.rowPage = PaginateAfter(rowHeights, headHeight, room - Height(l.tableHead), 0);
    const int tableEnd = l.rowPage.empty() ? 0 : l.rowPage.back();
    double tableBottom = (tableEnd == 0 ? headHeight : 0) + Height(l.tableHead);
    for (std::size_t i = 0; i < l.rows.size(); ++i)
        tableBottom += l.rowPage[i] == tableEnd ? rowHeights[i] : 0;
    l.blockPage = PaginateAfter(blockHeights, tableBottom + l.gap, room, l.gap);
    for (int& p : l.blockPage)
        p += tableEnd;
    l.pages = 1 + std::max(tableEnd, l.blockPage.empty() ? 0 : l.blockPage.back());
}

Layout LayOut(QPagedPaintDevice& device, const Heading& heading, const ProjectSheet& sheet)
{
    Layout l(device);
    l.head = Document(device, l.area.width());
    l.head->setHtml(HeadHtml(heading, sheet));
    l.tableHead = TableDocument(l.page, sheet.scheduleHeaders, true);
    for (const std::vector<std::string>& cells : sheet.schedule)
        l.rows.push_back(TableDocument(l.page, cells, false));
    for (std::size_t i = 0; i < sheet.rooms.size(); ++i)
        l.blocks.push_back(MakeBlock(l.page, static_cast<int>(i) + 1, sheet.rooms[i]));
    PlaceOnPages(l);
    return l;
}

// Draws down the pages: each turn of a page ends the one before with its
// footer.
class PageDrawer {
public:
    PageDrawer(QPainter& painter, const Layout& layout, QString footer)
        : painter_(painter), layout_(layout), footer_(std::move(footer))
    {
    }
    // True when `next` is another page than the current one.
    bool turnTo(int next)
    {
        if (next == current_)
            return false;
        finish();
        layout_.page.device.newPage();
        current_ = next;
        y_ = 0;
        return true;
    }
    void draw(QTextDocument& doc)
    {
        painter_.save();
        painter_.translate(0, y_);
        doc.drawContents(&painter_);
        painter_.restore();
        y_ += doc.size().height();
    }
    // A hairline parts a block from what stands above it on its page.
    void draw(const Block& block, char separator)
    {
        const double gap = layout_.gap;
        if (y_ > 0) {
            y_ += gap;
            painter_.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 0.25 * layout_.page.dpmm));
            painter_.drawLine(QPointF(0, y_ - gap / 2), QPointF(layout_.area.width(), y_ - gap / 2));
        }
        painter_.save();
        painter_.translate(0, y_);
        DrawBlock(painter_, layout_.page, block, separator);
        painter_.restore();
        y_ += block.height;
    }
    void skip(double height) { y_ += height; }
    void finish() { DrawFooter(painter_, layout_.area, footer_, current_ + 1, layout_.pages); }

private:
    QPainter& painter_;
    const Layout& layout_;
    QString footer_;
    int current_ = 0;
    double y_ = 0;
};

}  // namespace

bool PrintProject(QPagedPaintDevice& device, const Heading& heading, const ProjectSheet& sheet, char separator)
{
    Layout l = LayOut(device, heading, sheet);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PageDrawer pages(painter, l,
                     QString::fromUtf8(kProjectTitle) + QStringLiteral(", ") + heading.made.toString(kDateFormat));
    pages.draw(*l.head);
    pages.skip(l.gap);
    pages.draw(*l.tableHead);
    for (std::size_t i = 0; i < l.rows.size(); ++i) {
        if (pages.turnTo(l.rowPage[i]))
            pages.draw(*l.tableHead);
        pages.draw(*l.rows[i]);
    }
    for (std::size_t i = 0; i < l.blocks.size(); ++i) {
        pages.turnTo(l.blockPage[i]);
        pages.draw(l.blocks[i], separator);
    }
    pages.finish();
    return painter.end();
}

QString WriteProjectPdf(const QString& path, const Heading& heading, const ProjectSheet& sheet, char separator)
{
    return WritePdfWhole(path, QString::fromUtf8(kProjectTitle),
                         [&](QPagedPaintDevice& device) { return PrintProject(device, heading, sheet, separator); });
}

}  // namespace nimbo::report
