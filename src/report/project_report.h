#pragma once
// The project report: a title block with the project's properties, the date
// and the catalogue; the schedule of the rooms, its header on every page it
// runs over; then a block for each room with its data, its outlet, the
// results, its marks, the noise spectrum against its NR curve and the jet.
// Pages numbered at their foot, no block split between two pages.
#include <QString>

#include "project/project_sheet.h"
#include "report/report.h"

class QPagedPaintDevice;

namespace nimbo::report {

inline constexpr const char* kProjectTitle = "Нимбо — проект";

// Lays the report out on the device's pages as they are set up. False when
// the device cannot be painted on.
bool PrintProject(QPagedPaintDevice& device, const Heading& heading, const ProjectSheet& sheet,
                  char decimalSeparator);

// The report as a PDF file, written whole or not at all. Returns "" or, in
// Russian, why the file was not written.
QString WriteProjectPdf(const QString& path, const Heading& heading, const ProjectSheet& sheet,
                        char decimalSeparator);

}  // namespace nimbo::report
