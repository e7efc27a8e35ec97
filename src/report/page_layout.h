#pragma once
// What the calculation report and the project report share: the font, a
// text document laid out for the page, the page's footer, blocks that
// follow what already stands on a page, and the PDF file written whole.
#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

namespace nimbo::report {

inline constexpr double kGapMm = 5;
inline constexpr double kFooterMm = 8;

QFont ReportFont(double points = 9);
// A UTF-8 text for a document's HTML.
QString Html(const std::string& text);
// A document laid out for the device: fonts at its resolution, lines as
// wide as `width`.
std::unique_ptr<QTextDocument> Document(QPagedPaintDevice& device, double width);
// The page's foot: `left` at the left, "Страница 3 из 5" at the right.
void DrawFooter(QPainter& painter, const QRectF& area, const QString& left, int page, int pages);
// The page (from 0) of each block that follows `used` of the current page
// (page 0), with `gap` before each; as Paginate otherwise.
std::vector<int> PaginateAfter(const std::vector<double>& heights, double used, double pageRoom, double gap);
// Lays a report out in memory, then writes it whole: a failure leaves no
// half-written file behind, and a file already at the path as it was.
// Returns "" or, in Russian, why the file was not written.
QString WritePdfWhole(const QString& path, const QString& title, const std::function<bool(QPagedPaintDevice&)>& print);

}  // namespace nimbo::report
