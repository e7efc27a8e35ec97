// The project window's file commands: a new project, opening and saving the
// *.nimbo file, the recent files, and the two documents made from the
// project, the schedule spreadsheet and the report.
#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QUndoStack>

#include "platform/platform.h"
#include "project/project_sheet.h"
#include "project/room_texts.h"
#include "report/project_report.h"
#include "schedule/schedule.h"
#include "window/form_project.h"
#include "window/project_files.h"
#include "window/project_model.h"
#include "window/user_settings.h"

namespace {

const QString kRecentKey = QStringLiteral("project/recent");
constexpr int kRecentFiles = 8;
const QString kProjectFilter = QStringLiteral("Проект Нимбо (*.nimbo)");

}  // namespace

void Form_Project::warn(const QString& title, const QString& text)
{
    platform_.showMessage(this, title, text, nimbo::MessageIcon::Warning);
}

bool Form_Project::maybeSave()
{
    if (!isModified())
        return true;
    const QString name = file_.isEmpty() ? QStringLiteral("Новый проект") : QFileInfo(file_).fileName();
    switch (platform_.askToSave(this, QStringLiteral("Проект"),
                                QStringLiteral("Сохранить изменения в проекте «%1»?").arg(name))) {
    case nimbo::SaveAnswer::Save:
        return save();
    case nimbo::SaveAnswer::Discard:
        return true;
    case nimbo::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void Form_Project::loaded(const nimbo::Project& project, const QString& path)
{
    model_->setProject(project);
    file_ = path;
    savedProperties_ = model_->project().properties;
    showProperties();
    undo_->clear();
    if (!path.isEmpty())
        remember(path);
    table_->resizeColumnsToContents();
    updateState();
}

void Form_Project::revert()
{
    nimbo::Project project;
    if (!file_.isEmpty() && nimbo::ReadProjectFile(file_, QFileInfo(file_).fileName(), project).isEmpty())
        loaded(project, file_);
    else
        loaded({}, {});
}

bool Form_Project::newProject()
{
    if (!maybeSave())
        return false;
    loaded({}, {});
    return true;
}

bool Form_Project::openProject()
{
    if (!maybeSave())
        return false;
    const QString folder = file_.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                           : QFileInfo(file_).absolutePath();
    const QString path = platform_.chooseOpenFile(this, QStringLiteral("Открыть проект"), folder, kProjectFilter);
    return !path.isEmpty() && openFile(path);
}

bool Form_Project::openFile(const QString& path)
{
    nimbo::Project project;
    const QString problem = nimbo::ReadProjectFile(path, QFileInfo(path).fileName(), project);
    if (!problem.isEmpty()) {
        warn(QStringLiteral("Проект не открыт"), problem);
        return false;
    }
    loaded(project, path);
    return true;
}

bool Form_Project::writeTo(const QString& path)
{
    const nimbo::Project project = model_->projectToSave();
    const QString problem = nimbo::WriteProjectFile(path, project);
    if (!problem.isEmpty()) {
        warn(QStringLiteral("Проект не сохранен"), problem);
        return false;
    }
    // The new results are now the saved ones: their marks go.
    const int row = table_->currentIndex().row();
    model_->setProject(project);
    table_->selectRow(row);
    file_ = path;
    savedProperties_ = project.properties;
    undo_->setClean();
    remember(path);
    updateState();
    return true;
}

bool Form_Project::save() { return file_.isEmpty() ? saveAs() : writeTo(file_); }

bool Form_Project::saveAs()
{
    const QString path = chooseTarget(QStringLiteral("Сохранить проект"), QStringLiteral("nimbo"), kProjectFilter);
    return !path.isEmpty() && writeTo(path);
}

QString Form_Project::suggested(const QString& extension) const
{
    if (!file_.isEmpty()) {
        const QFileInfo file(file_);
        return file.dir().filePath(file.completeBaseName() + QLatin1Char('.') + extension);
    }
    // The project's name, less what a file name cannot hold.
    QString name = QString::fromStdString(model_->project().properties.name)
                       .replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]+")), QStringLiteral(" "))
                       .trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Проект");
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(name + QLatin1Char('.') + extension);
}

QString Form_Project::chooseTarget(const QString& title, const QString& extension, const QString& filter)
{
    QString path = platform_.chooseSaveFile(this, title, suggested(extension), filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + extension;
    return path;
}

void Form_Project::remember(const QString& path)
{
    QSettings settings = nimbo::UserSettings();
    QStringList files = settings.value(kRecentKey).toStringList();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    settings.setValue(kRecentKey, files.mid(0, kRecentFiles));
}

void Form_Project::fillRecent()
{
    recent_->clear();
    const QStringList files = nimbo::UserSettings().value(kRecentKey).toStringList();
    for (const QString& path : files) {
        QAction* action = recent_->addAction(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (maybeSave())
                openFile(path);
        });
    }
    if (files.isEmpty())
        recent_->addAction(QStringLiteral("(нет)"))->setEnabled(false);
}

bool Form_Project::exportSchedule()
{
    const QString path =
        chooseTarget(QStringLiteral("Экспорт ведомости в Excel"), QStringLiteral("xlsx"), QStringLiteral("Книга Excel (*.xlsx)"));
    if (path.isEmpty())
        return false;
    const nimbo::report::Heading heading = nimbo::report::HeadingOf(catalogueFile_);
    QString catalogue = heading.cataloguePath;
    if (heading.catalogueDate.isValid())
        catalogue += QStringLiteral(" от ") + heading.catalogueDate.toString(QStringLiteral("dd.MM.yyyy"));
    const std::string problem = nimbo::WriteScheduleXlsx(
        path.toStdString(),
        nimbo::ScheduleHeaderOf(model_->project().properties, QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString(),
                                catalogue.toStdString()),
        nimbo::ScheduleRowsOf(catalogue_, model_->project(), model_->checks()));
    if (!problem.empty()) {
        warn(QStringLiteral("Ведомость не сохранена"), QString::fromStdString(problem));
        return false;
    }
    return true;
}

bool Form_Project::savePdf()
{
    const QString path =
        chooseTarget(QStringLiteral("Отчет по проекту в PDF"), QStringLiteral("pdf"), QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    const QString problem = nimbo::report::WriteProjectPdf(
        path, nimbo::report::HeadingOf(catalogueFile_),
        nimbo::ProjectSheetOf(catalogue_, model_->project(), model_->checks(), separator_), separator_);
    if (!problem.isEmpty()) {
        warn(QStringLiteral("Отчет не сохранен"), problem);
        return false;
    }
    return true;
}

bool Form_Project::printReport()
{
    QPrinter printer(QPrinter::HighResolution);
    nimbo::report::SetUpPage(printer);
    printer.setDocName(QString::fromUtf8(nimbo::report::kProjectTitle));
    if (!platform_.choosePrinter(this, printer))
        return false;
    if (nimbo::report::PrintProject(printer, nimbo::report::HeadingOf(catalogueFile_),
                                    nimbo::ProjectSheetOf(catalogue_, model_->project(), model_->checks(), separator_),
                                    separator_))
        return true;
    warn(QStringLiteral("Печать"), QStringLiteral("Отчет не напечатан: принтер недоступен."));
    return false;
}
