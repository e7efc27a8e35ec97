#include "report/report.h"

#include "report/page_layout.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <map>
#include <memory>

namespace nimbo::report {

namespace {

constexpr double kPictureWidthMm = 48;
const QString kDateFormat = QStringLiteral("dd.MM.yyyy HH:mm");

QString H(const std::string& text) { return Html(text); }

// A caption keeps to one line: "Vжс =" never breaks before its "=".
QString Unbroken(const std::string& text) { return H(text).replace(QLatin1Char(' '), QStringLiteral("&nbsp;")); }

// Captions, values and units stand in the same columns in every table of a
// block, so that the eye runs down one column of numbers.
const QString kCaptionCell = QStringLiteral("<td width=\"34%\">%1</td>");
const QString kValueCell = QStringLiteral("<td width=\"16%\" align=\"right\">%1</td>");
const QString kUnitCell = QStringLiteral("<td width=\"14%\">&nbsp;%1</td>");

QString ValueRows(const std::vector<ShownValue>& values)
{
    QString html;
    for (const ShownValue& v : values)
        html += QStringLiteral("<tr>") + kCaptionCell.arg(Unbroken(v.caption)) + kValueCell.arg(H(v.value)) +
                kUnitCell.arg(H(v.unit)) + QStringLiteral("<td></td></tr>");
    return html;
}

QString GroupTable(const QString& title, const QString& rows)
{
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" style=\"margin-top:5px\">"
                          "<tr><td colspan=\"4\"><b>%1</b></td></tr>%2</table>")
        .arg(title, rows);
}

// Each section frame on one row: its title, then area and velocity. The
// table runs under the picture too; its title column is as wide as the
// caption column above it.
QString SectionsTable(const CalculationSheet& s)
{
    if (s.sections.empty())
        return {};
    QString html = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" style=\"margin-top:5px\">"
                                  "<tr><td colspan=\"8\"><b>%1</b></td></tr>")
                       .arg(H(s.sectionsTitle));
    for (const ShownGroup& g : s.sections) {
        html += QStringLiteral("<tr><td width=\"23.6%\">%1</td>").arg(Unbroken(g.title));
        for (const ShownValue& v : g.values)
            html += QStringLiteral("<td width=\"7%\" align=\"right\">%1</td>").arg(Unbroken(v.caption)) +
                    QStringLiteral("<td width=\"8%\" align=\"right\">%1</td>").arg(H(v.value)) +
                    QStringLiteral("<td width=\"8%\">&nbsp;%1</td>").arg(H(v.unit));
        html += QStringLiteral("<td></td></tr>");
    }
    return html + QStringLiteral("</table>");
}

// The room below the sections: its data, then the octave bands.
QString RoomTable(const CalculationSheet& s)
{
    if (!s.room)
        return {};
    const RoomBlock& r = *s.room;
    QString html = GroupTable(H(r.title), ValueRows(r.values));
    static const char* const kHz[] = {"63", "125", "250", "500", "1000", "2000", "4000", "8000"};
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" style=\"margin-top:5px\">"
                           "<tr><td width=\"20%\"><b>Полоса, Гц</b></td>");
    for (const char* hz : kHz)
        html += QStringLiteral("<td width=\"10%\" align=\"right\">%1</td>").arg(QLatin1String(hz));
    html += QStringLiteral("</tr>");
    for (const auto& [caption, levels] : {std::pair{"Lw, дБ", &r.Lw}, std::pair{"Lp, дБ", &r.Lp}}) {
        html += QStringLiteral("<tr><td>%1</td>").arg(QString::fromUtf8(caption));
        for (const std::string& level : *levels)
            html += QStringLiteral("<td align=\"right\">%1</td>").arg(H(level));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// The upper part of a block, beside the picture: what was calculated and the
// results.
QString UpperHtml(int number, const CalculationSheet& s)
{
    QString html = QStringLiteral("<p style=\"margin-bottom:0px\"><span style=\"font-size:11pt; font-weight:bold\">"
                                  "%1. %2 %3</span>&nbsp;&nbsp;&nbsp;%4</p>"
                                  "<p style=\"color:#404040; margin-top:1px; margin-bottom:5px\">%5</p>")
                       .arg(number)
                       .arg(H(s.model), H(s.size), H(s.type), H(s.variant));
    html += GroupTable(H(s.inputs.title),
                       ValueRows(s.sizeValues) + ValueRows(s.options) + ValueRows(s.inputs.values));
    return html + GroupTable(H(s.results.title), ValueRows(s.results.values));
}

QString HeadingHtml(const Heading& h, std::size_t count)
{
    QString catalogue = h.cataloguePath.toHtmlEscaped();
    if (h.catalogueDate.isValid())
        catalogue += QStringLiteral(" от ") + h.catalogueDate.toString(kDateFormat);
    return QStringLiteral("<p style=\"font-size:16pt; font-weight:bold; margin-bottom:4px\">%1</p>"
                          "<p>Отчет составлен %2<br>Каталог: %3<br>Расчетов: %4</p>")
        .arg(QString::fromUtf8(kTitle).toHtmlEscaped(), h.made.toString(kDateFormat), catalogue,
             QString::number(count));
}

// A calculation's block: its texts with the picture at their right, then the
// sections across the whole width.
struct Block {
    std::unique_ptr<QTextDocument> upper, sections;
    QImage picture;
    QSizeF pictureSize;
    double sectionsTop = 0, height = 0;
    std::vector<QImage> charts;  // side by side below the sections
    double chartsTop = 0, chartHeight = 0, chartWidth = 0;
};

constexpr double kChartHeightMm = 55;

// The charts of a block, at most two a row, each half the width.
void AddCharts(Block& b, const CalculationSheet& s, const PictureSource& pictures, double width, double dpmm)
{
    for (const std::string& name : s.charts)
        if (QImage chart = pictures ? pictures(name) : QImage(); !chart.isNull())
            b.charts.push_back(std::move(chart));
    if (b.charts.empty())
        return;
    b.chartWidth = (width - kGapMm * dpmm) / 2;
    b.chartHeight = kChartHeightMm * dpmm;
    b.chartsTop = b.height + kGapMm * dpmm / 2;
    const std::size_t rows = (b.charts.size() + 1) / 2;
    b.height = b.chartsTop + static_cast<double>(rows) * b.chartHeight;
}

Block MakeBlock(QPagedPaintDevice& device, double width, double dpmm, int number, const CalculationSheet& s,
                const PictureSource& pictures)
{
    Block b;
    if (!s.picture.empty() && pictures)
        b.picture = pictures(s.picture);
    if (!b.picture.isNull()) {
        const double w = kPictureWidthMm * dpmm;
        b.pictureSize = QSizeF(w, w * b.picture.height() / b.picture.width());
    }
    b.upper = Document(device, width - (kPictureWidthMm + kGapMm) * dpmm);
    b.upper->setHtml(UpperHtml(number, s));
    b.sections = Document(device, width);
    b.sections->setHtml(SectionsTable(s) + RoomTable(s));
    b.sectionsTop = std::max(b.upper->size().height(), b.pictureSize.height());
    b.height = b.sectionsTop + (s.sections.empty() && !s.room ? 0 : b.sections->size().height());
    AddCharts(b, s, pictures, width, dpmm);
    return b;
}

void DrawBlock(QPainter& painter, const Block& b, double width, double top)
{
    painter.save();
    painter.translate(0, top);
    b.upper->drawContents(&painter);
    if (!b.picture.isNull())
        painter.drawImage(QRectF(QPointF(width - b.pictureSize.width(), 0), b.pictureSize), b.picture);
    painter.translate(0, b.sectionsTop);
    b.sections->drawContents(&painter);
    painter.translate(0, b.chartsTop - b.sectionsTop);
    for (std::size_t i = 0; i < b.charts.size(); ++i) {
        const QRectF place((i % 2) * (width - b.chartWidth), (i / 2) * b.chartHeight, b.chartWidth, b.chartHeight);
        const QSizeF fitted = QSizeF(b.charts[i].size()).scaled(place.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(place.topLeft(), fitted), b.charts[i]);
    }
    painter.restore();
}

QString FooterText(const Heading& h)
{
    return QString::fromUtf8(kTitle) + QStringLiteral(", ") + h.made.toString(kDateFormat);
}

}  // namespace

Heading HeadingOf(const QString& catalogueFile)
{
    const QFileInfo info(catalogueFile);
    return {QDateTime::currentDateTime(), QDir::toNativeSeparators(info.absoluteFilePath()),
            info.exists() ? info.lastModified() : QDateTime()};
}

void SetUpPage(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 15, 15, 12), QPageLayout::Millimeter));
}

std::vector<int> Paginate(const std::vector<double>& heights, double firstPageRoom, double pageRoom,
                          double gap)
{
    std::vector<int> pages;
    pages.reserve(heights.size());
    int page = 0;
    double left = firstPageRoom;
    bool empty = true;
    for (double h : heights) {
        if (!empty && gap + h > left) {
            ++page;
            left = pageRoom;
            empty = true;
        }
        left -= empty ? h : gap + h;
        empty = false;
        pages.push_back(page);
    }
    return pages;
}

bool Print(QPagedPaintDevice& device, const Heading& heading, const std::vector<CalculationSheet>& sheets,
           const PictureSource& pictures)
{
    const int dpi = device.logicalDpiY();
    const double dpmm = dpi / 25.4;
    const QRectF paint = device.pageLayout().paintRectPixels(dpi);
    const QRectF area(0, 0, paint.width(), paint.height());
    const double gap = kGapMm * dpmm;
    const double footer = kFooterMm * dpmm;

    const auto head = Document(device, area.width());
    head->setHtml(HeadingHtml(heading, sheets.size()));
    // Each picture is read once: forty calculations of one model share one
    // image, which the PDF then holds once.
    std::map<std::string, QImage> read;
    const PictureSource once = [&](const std::string& name) {
        const auto [it, fresh] = read.try_emplace(name);
        if (fresh && pictures)
            it->second = pictures(name);
        return it->second;
    };
    std::vector<Block> blocks;
    std::vector<double> heights;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        blocks.push_back(MakeBlock(device, area.width(), dpmm, static_cast<int>(i) + 1, sheets[i], once));
        heights.push_back(blocks.back().height);
    }
    const double headHeight = head->size().height() + gap;
    const std::vector<int> pageOf =
        Paginate(heights, area.height() - footer - headHeight, area.height() - footer, gap);
    const int pages = pageOf.empty() ? 1 : pageOf.back() + 1;

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    head->drawContents(&painter);
    double y = headHeight;
    int page = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (pageOf[i] != page) {
            DrawFooter(painter, area, FooterText(heading), page + 1, pages);
            device.newPage();
            page = pageOf[i];
            y = 0;
        } else if (i > 0) {
            y += gap;
        }
        // A hairline parts a block from what stands above it on its page.
        if (y > 0) {
            painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 0.25 * dpmm));
            painter.drawLine(QPointF(0, y - gap / 2), QPointF(area.width(), y - gap / 2));
        }
        DrawBlock(painter, blocks[i], area.width(), y);
        y += heights[i];
    }
    DrawFooter(painter, area, FooterText(heading), page + 1, pages);
    return painter.end();
}

QString WritePdf(const QString& path, const Heading& heading, const std::vector<CalculationSheet>& sheets,
                 const PictureSource& pictures)
{
    return WritePdfWhole(path, QString::fromUtf8(kTitle),
                         [&](QPagedPaintDevice& device) { return Print(device, heading, sheets, pictures); });
}

}  // namespace nimbo::report
