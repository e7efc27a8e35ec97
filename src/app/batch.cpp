#include "app/batch.h"

#include <QDate>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "platform/platform.h"
#include "project/project_sheet.h"
#include "project/room_check.h"
#include "project/room_texts.h"
#include "report/project_report.h"
#include "schedule/schedule.h"
#include "window/project_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace nimbo {

namespace {

constexpr const char* kUsage =
    "Использование:\n"
    "  nimbo --schedule ПРОЕКТ.nimbo --xlsx ВЕДОМОСТЬ.xlsx\n"
    "  nimbo --schedule ПРОЕКТ.nimbo --pdf ОТЧЕТ.pdf\n";

void Say(const QString& text)
{
    const QByteArray line = text.toUtf8() + '\n';
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

// On Windows the program has no console of its own: a line for stderr goes
// to the console it was started from, as UTF-8, unless stderr is already
// taken (redirected to a file or a pipe).
void ReachTheConsole()
{
#ifdef _WIN32
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if ((err == nullptr || err == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (std::freopen("CONOUT$", "w", stderr))
            SetConsoleOutputCP(CP_UTF8);
    }
#endif
}

// Qt's own notes (a runtime folder not set, a font substituted) are for a
// developer; the user's stderr holds the marked rooms and the one failure.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        Say(message);
}

struct Job {
    QString project, target;
    bool pdf = false;
};

// --schedule FILE with one of --xlsx FILE and --pdf FILE, in any order.
bool ReadJob(const QStringList& args, Job& job)
{
    bool xlsx = false;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        if (key == QLatin1String("--schedule") && job.project.isEmpty())
            job.project = args[i + 1];
        else if ((key == QLatin1String("--xlsx") || key == QLatin1String("--pdf")) && job.target.isEmpty())
            job.target = args[i + 1], job.pdf = key == QLatin1String("--pdf"), xlsx = !job.pdf;
        else
            return false;
    }
    return args.size() % 2 == 1 && !job.project.isEmpty() && (xlsx || job.pdf);
}

QString Write(const Job& job, const Catalogue& catalogue, const Project& project, const std::vector<RoomCheck>& checks,
              const QString& catalogueFile)
{
    const report::Heading heading = report::HeadingOf(catalogueFile);
    if (job.pdf) {
        const char sep = QtPlatform().decimalSeparator();
        return report::WriteProjectPdf(job.target, heading, ProjectSheetOf(catalogue, project, checks, sep), sep);
    }
    QString catalogueText = heading.cataloguePath;
    if (heading.catalogueDate.isValid())
        catalogueText += QStringLiteral(" от ") + heading.catalogueDate.toString(QStringLiteral("dd.MM.yyyy"));
    return QString::fromStdString(WriteScheduleXlsx(
        job.target.toStdString(),
        ScheduleHeaderOf(project.properties, QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString(),
                         catalogueText.toStdString()),
        ScheduleRowsOf(catalogue, project, checks)));
}

int Run(const Job& job)
{
    const QString folder = QCoreApplication::applicationDirPath();
    Catalogue catalogue;
    LoadError error;
    if (!LoadCatalogue(FileSystemPath(folder), catalogue, error)) {
        Say(QString::fromStdString(error.message()));
        return 1;
    }
    Project project;
    if (const QString problem = ReadProjectFile(job.project, job.project, project); !problem.isEmpty()) {
        Say(problem);
        return 1;
    }
    const std::vector<RoomCheck> checks = CheckProject(catalogue, project);
    for (std::size_t i = 0; i < checks.size(); ++i)
        if (checks[i].marked())
            Say(QStringLiteral("Помещение %1 «%2»: %3")
                    .arg(i + 1)
                    .arg(QString::fromStdString(project.rooms[i].name), QString::fromStdString(MarksLine(checks[i]))));
    const QString catalogueFile = QString::fromStdU16String(CatalogueFile(FileSystemPath(folder)).u16string());
    if (const QString problem = Write(job, catalogue, project, checks, catalogueFile); !problem.isEmpty()) {
        Say(problem);
        return 1;
    }
    return 0;
}

}  // namespace

bool IsBatch(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--schedule") == 0)
            return true;
    return false;
}

int RunBatch(int argc, char* argv[])
{
#ifndef Q_OS_WIN
    // Nothing is shown: the offscreen platform needs no display, and the
    // PDF's fonts come from the same font configuration as on a desktop.
    // Windows needs no display for its own platform, and the zip carries
    // only that one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    ReachTheConsole();
    qInstallMessageHandler(QuietQt);
    QGuiApplication app(argc, argv);
    Job job;
    if (!ReadJob(QCoreApplication::arguments(), job)) {
        Say(QString::fromUtf8(kUsage));
        return 2;
    }
    return Run(job);
}

}  // namespace nimbo
