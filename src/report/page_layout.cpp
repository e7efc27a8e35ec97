#include "report/page_layout.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include "report/report.h"

namespace nimbo::report {

QFont ReportFont(double points)
{
    // DejaVu comes with the Linux build's packages, Arial with every Windows;
    // both carry Cyrillic and may be embedded.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(points);
    return font;
}

QString Html(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

std::unique_ptr<QTextDocument> Document(QPagedPaintDevice& device, double width)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&device);
    doc->setDefaultFont(ReportFont());
    doc->setDocumentMargin(0);
    doc->setTextWidth(width);
    return doc;
}

void DrawFooter(QPainter& painter, const QRectF& area, const QString& left, int page, int pages)
{
    painter.save();
    const QFont font = ReportFont(8);
    painter.setFont(font);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    const double height = QFontMetricsF(font, painter.device()).height();
    const QRectF line(area.left(), area.bottom() - height, area.width(), height);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, left);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Страница %1 из %2").arg(page).arg(pages));
    painter.restore();
}

std::vector<int> PaginateAfter(const std::vector<double>& heights, double used, double pageRoom, double gap)
{
    // What stands on the page already is a first block of its own, the gap
    // after it included.
    std::vector<double> all{std::max(used - gap, 0.0)};
    all.insert(all.end(), heights.begin(), heights.end());
    std::vector<int> pages = Paginate(all, pageRoom, pageRoom, gap);
    pages.erase(pages.begin());
    return pages;
}

QString WritePdfWhole(const QString& path, const QString& title, const std::function<bool(QPagedPaintDevice&)>& print)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        SetUpPage(writer);
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Нимбо"));
        if (!print(writer))
            return QStringLiteral("Не удалось составить отчет.");
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(buffer.data()) == buffer.size() && file.commit())
        return {};
    return QStringLiteral("Не удалось записать файл отчета\n%1\n\nПроверьте, что папка существует и "
                          "открыта для записи, а файл не занят другой программой.\n(%2)")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}

}  // namespace nimbo::report
