#pragma once
// The calculation report: a heading, then one block per calculation, on pages
// numbered at their foot, no block split between two pages. One layout serves
// the PDF file and the printer alike.
#include <QDateTime>
#include <QImage>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "report/calculation_sheet.h"

class QPagedPaintDevice;

namespace nimbo::report {

inline constexpr const char* kTitle = "Нимбо — расчет воздухораспределителей";

struct Heading {
    QDateTime made;
    QString cataloguePath;    // as the user's system writes paths
    QDateTime catalogueDate;  // invalid when the file's date cannot be read
};

// Made now, from the catalogue file at that path (its date where it can be
// read).
Heading HeadingOf(const QString& catalogueFile);

// The picture of a sheet by its base name; a null image leaves its place empty.
using PictureSource = std::function<QImage(const std::string& name)>;

// A4 portrait with the report's margins.
void SetUpPage(QPagedPaintDevice& device);

// Lays the report out on the device's pages as they are set up. False when
// the device cannot be painted on.
bool Print(QPagedPaintDevice& device, const Heading& heading,
           const std::vector<CalculationSheet>& sheets, const PictureSource& pictures);

// The report as a PDF file. The file appears whole or not at all: on failure
// a file already at the path stays as it was. Returns "" or, in Russian, why
// the file was not written.
QString WritePdf(const QString& path, const Heading& heading,
                 const std::vector<CalculationSheet>& sheets, const PictureSource& pictures);

// The page (from 0) of each block, in order. A block goes on the current page
// when it fits what is left there, gap before it included, and starts the
// next page otherwise; the first page has less room, the heading takes the
// rest. A block taller than a page stands alone on one.
std::vector<int> Paginate(const std::vector<double>& heights, double firstPageRoom,
                          double pageRoom, double gap);

}  // namespace nimbo::report
