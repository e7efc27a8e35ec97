// Each log entry keeps the calculation it stands for, as the window showed
// it; the log list's menu copies entries, saves them as a PDF report or
// prints them.
#include <QAbstractItemModel>
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QStandardPaths>

#include "catalogue/catalogue.h"
#include "platform/platform.h"
#include "report/report.h"
#include "window/log_strip.h"

Q_DECLARE_METATYPE(nimbo::CalculationSheet)

namespace {

constexpr int kSheetRole = Qt::UserRole + 1;

QImage PictureOf(const nimbo::Platform& platform, const QString& folder, const std::string& name)
{
    const QString path = QDir(folder).filePath(QStringLiteral("jpg/") + QString::fromStdString(name) +
                                               QStringLiteral(".jpg"));
    return platform.loadPicture(path).toImage();
}

}  // namespace

QImage LogStrip::picture(const std::string& name) const
{
    const QImage chart = charts_ ? charts_(name) : QImage();
    return chart.isNull() ? PictureOf(platform_, folder_, name) : chart;
}

void LogStrip::setUpMenu()
{
    // Several entries may be marked for a report; a plain click still marks one.
    LstBx_Log->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LstBx_Log->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LstBx_Log, &QWidget::customContextMenuRequested, this, &LogStrip::showMenu);

    Mnu_Log = new QMenu(&window_);
    Mnu_Log->setObjectName(QStringLiteral("Mnu_Log"));
    const auto add = [this](const char* name, const QString& caption, QKeySequence keys, void (LogStrip::*slot)()) {
        QAction* action = Mnu_Log->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // Ctrl+C reaches the list's own key handling; the entry only shows it.
    add("Mnu_Copy", QStringLiteral("Копировать"), QKeySequence::Copy, &LogStrip::copyEntries);
    Mnu_Log->addSeparator();
    LstBx_Log->addAction(add("Mnu_SavePdf", QStringLiteral("Сохранить отчет в PDF…"),
                             QKeySequence(Qt::CTRL | Qt::Key_S), &LogStrip::Mnu_SavePdf_Click));
    LstBx_Log->addAction(add("Mnu_Print", QStringLiteral("Печать…"), QKeySequence(Qt::CTRL | Qt::Key_P),
                             &LogStrip::Mnu_Print_Click));

    // The watch ends with the strip, which the window lets go before Qt
    // takes its children apart: an emptied list must not call back into a
    // strip already gone.
    connect(LstBx_Log->model(), &QAbstractItemModel::rowsInserted, this, &LogStrip::updateMenu);
    connect(LstBx_Log->model(), &QAbstractItemModel::rowsRemoved, this, &LogStrip::updateMenu);
    connect(LstBx_Log->model(), &QAbstractItemModel::modelReset, this, &LogStrip::updateMenu);
    connect(LstBx_Log, &QListWidget::itemSelectionChanged, this, &LogStrip::updateMenu);
    updateMenu();
}

void LogStrip::updateMenu()
{
    const bool any = LstBx_Log->count() > 0;
    for (QAction* action : Mnu_Log->actions())
        action->setEnabled(any);
    Mnu_Log->findChild<QAction*>(QStringLiteral("Mnu_Copy"))->setEnabled(!LstBx_Log->selectedItems().isEmpty());
}

void LogStrip::showMenu(const QPoint& position)
{
    // Not exec(): the menu must not hold the program in a loop of its own.
    Mnu_Log->popup(LstBx_Log->viewport()->mapToGlobal(position));
}

void LogStrip::keepSheet(const nimbo::CalculationSheet& sheet)
{
    if (QListWidgetItem* entry = LstBx_Log->item(LstBx_Log->count() - 1))
        entry->setData(kSheetRole, QVariant::fromValue(sheet));
}

std::vector<nimbo::CalculationSheet> LogStrip::reportSheets() const
{
    const bool marked = !LstBx_Log->selectedItems().isEmpty();
    std::vector<nimbo::CalculationSheet> sheets;
    for (int i = 0; i < LstBx_Log->count(); ++i) {
        const QListWidgetItem* entry = LstBx_Log->item(i);
        const QVariant sheet = entry->data(kSheetRole);
        if ((!marked || entry->isSelected()) && sheet.canConvert<nimbo::CalculationSheet>())
            sheets.push_back(sheet.value<nimbo::CalculationSheet>());
    }
    return sheets;
}

nimbo::report::Heading LogStrip::reportHeading() const
{
    return nimbo::report::HeadingOf(
        QString::fromStdU16String(nimbo::CatalogueFile(nimbo::FileSystemPath(folder_)).u16string()));
}

void LogStrip::Mnu_SavePdf_Click()
{
    const std::vector<nimbo::CalculationSheet> sheets = reportSheets();
    if (sheets.empty())
        return;
    const nimbo::report::Heading heading = reportHeading();
    if (reportFolder_.isEmpty())
        reportFolder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(reportFolder_).filePath(
        QStringLiteral("Нимбо ") + heading.made.toString(QStringLiteral("yyyy-MM-dd HH-mm")) + QStringLiteral(".pdf"));
    QString path = platform_.chooseSaveFile(&window_, QStringLiteral("Сохранить отчет в PDF"), suggested,
                                            QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    const QString error = nimbo::report::WritePdf(
        path, heading, sheets, [this](const std::string& name) { return picture(name); });
    if (!error.isEmpty()) {
        platform_.showMessage(&window_, QStringLiteral("Отчет не сохранен"), error, nimbo::MessageIcon::Warning);
        return;
    }
    reportFolder_ = QFileInfo(path).absolutePath();
}

void LogStrip::Mnu_Print_Click()
{
    const std::vector<nimbo::CalculationSheet> sheets = reportSheets();
    if (sheets.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    nimbo::report::SetUpPage(printer);
    printer.setDocName(QString::fromUtf8(nimbo::report::kTitle));
    if (!platform_.choosePrinter(&window_, printer))
        return;
    if (!nimbo::report::Print(printer, reportHeading(), sheets,
                              [this](const std::string& name) { return picture(name); }))
        platform_.showMessage(&window_, QStringLiteral("Печать"),
                              QStringLiteral("Отчет не напечатан: принтер недоступен."),
                              nimbo::MessageIcon::Warning);
}
