// Faults of the log file Nimbo.csv, made for real on the file system while the
// window runs and before it starts: a read-only file, a folder in its place,
// a full disk, the program folder removed, a write cut short by the file
// size limit, and on Windows a file held open by another program. The program goes on, keeps everything on screen, tells the
// user, never leaves half a line, and writes normally once the fault is gone.
#include <QLockFile>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "reliability_fixture.h"
#include "support/read_only.h"

using namespace nimbo;
using namespace nimbo::test;
namespace fs = std::filesystem;

namespace {

const QString kType = QStringLiteral("Диффузоры"), kModel = QStringLiteral("ПДК-1");

// A child process takes the lock and ends without giving it back, as a copy
// killed by the task manager does. Whether the child took it.
#ifdef Q_OS_WIN
// The child is this same program, started with the lock's path in the
// environment; it takes the lock before the tests would start.
const char kHoldLock[] = "NIMBO_TEST_HOLD_LOCK";
[[maybe_unused]] const bool kLockHolder = [] {
    if (!qEnvironmentVariableIsSet(kHoldLock))
        return false;
    QLockFile held(qEnvironmentVariable(kHoldLock));
    std::_Exit(held.tryLock(0) ? 0 : 1);
}();

bool LeaveLockBehind(const QString& lockFile)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kHoldLock), lockFile);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    return child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}
#else
bool LeaveLockBehind(const QString& lockFile)
{
    const pid_t child = ::fork();
    if (child == 0) {
        QLockFile held(lockFile);
        ::_exit(held.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

// One fault of the log file, made and lifted on the program folder.
class Fault {
public:
    Fault(QString kind, const ProgramFolder& folder) : kind_(std::move(kind)), folder_(folder) {}
    ~Fault()
    {
        if (active_)
            lift();
    }

    // The cause the message must name.
    QString cause() const
    {
        if (kind_.startsWith(QLatin1String("read-only")))
            return QStringLiteral("нет прав на запись");
        if (kind_ == QLatin1String("file open in another program"))
            return QStringLiteral("открыт другой программой");
        if (kind_ == QLatin1String("folder in place of the file"))
            return QStringLiteral("папка, а не файл");
        if (isLink())
            return QStringLiteral("ссылка");
        if (kind_ == QLatin1String("program folder removed"))
            return QStringLiteral("папка не найдена");
        return QStringLiteral("предельного размера");
    }
    bool removesTheFile() const { return kind_ == QLatin1String("program folder removed"); }
    // A link is never followed: once it was, and emptied what it pointed to.
    bool isLink() const { return kind_.startsWith(QLatin1String("link")); }
    // Where the file's earlier lines are while the fault lasts.
    QString keptFile() const
    {
        const bool movedAside = kind_ == QLatin1String("folder in place of the file") || isLink();
        return movedAside ? QStringLiteral("Nimbo.csv.kept") : QStringLiteral("Nimbo.csv");
    }

    // Empty when made, otherwise why it cannot be made here.
    QString make()
    {
        const fs::path file = folder_.fsFile(QStringLiteral("Nimbo.csv"));
        const fs::path kept = folder_.fsFile(QStringLiteral("Nimbo.csv.kept"));
        std::error_code ec;
        if (kind_ == QLatin1String("read-only program folder")) {
            if (!MakeReadOnly(folder_.fsPath(), true))
                return QStringLiteral("this user creates files in a read-only folder here");
        } else if (kind_ == QLatin1String("read-only file")) {
            if (!fs::exists(file))
                std::ofstream(file, std::ios::binary) << "old";
            if (const QString why = MakeFileReadOnly(file); !why.isEmpty())
                return why;
        } else if (kind_ == QLatin1String("folder in place of the file")) {
            fs::rename(file, kept, ec);
            fs::create_directory(file);
        } else if (isLink()) {
            fs::rename(file, kept, ec);
            fs::create_symlink(kind_ == QLatin1String("link to a full device") ? fs::path("/dev/full")
                                                                                : folder_.fsFile(QStringLiteral("victim.txt")),
                               file);
        } else if (kind_ == QLatin1String("program folder removed")) {
            // Windows keeps a folder while a program holds a file in it
            // open, as a running copy holds its lock beside the log.
            fs::remove_all(folder_.fsPath(), ec);
            if (fs::exists(folder_.fsPath(), ec))
                return QStringLiteral("a folder with a file held open in it cannot be removed here");
        } else if (kind_ == QLatin1String("file open in another program")) {
            return holdOpen(file);
        } else {
            return cutFileSize(file);
        }
        active_ = true;
        return {};
    }

    void lift()
    {
        active_ = false;
        const fs::path file = folder_.fsFile(QStringLiteral("Nimbo.csv"));
        const fs::path kept = folder_.fsFile(QStringLiteral("Nimbo.csv.kept"));
        std::error_code ec;
        if (kind_ == QLatin1String("read-only program folder")) {
            MakeReadOnly(folder_.fsPath(), false);
        } else if (kind_ == QLatin1String("read-only file")) {
            LiftFileReadOnly(file);
        } else if (kind_ == QLatin1String("folder in place of the file") || isLink()) {
            fs::remove(file, ec);
            fs::rename(kept, file, ec);
        } else if (kind_ == QLatin1String("program folder removed")) {
            fs::create_directories(folder_.fsPath(), ec);
        } else if (kind_ == QLatin1String("file open in another program")) {
            release();
        } else {
            restoreFileSize();
        }
    }

private:
#ifdef Q_OS_WIN
    // As a spreadsheet holds the file it shows: others may read, nobody may write.
    QString holdOpen(const fs::path& file)
    {
        if (!fs::exists(file))
            std::ofstream(file, std::ios::binary) << "old";
        held_ = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held_ == INVALID_HANDLE_VALUE)
            return QStringLiteral("the file cannot be held open");
        active_ = true;
        return {};
    }
    void release()
    {
        if (held_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(held_);
        held_ = INVALID_HANDLE_VALUE;
    }
    QString cutFileSize(const fs::path&) { return QStringLiteral("no file size limit on Windows"); }
    void restoreFileSize() {}
    HANDLE held_ = INVALID_HANDLE_VALUE;
#else
    QString holdOpen(const fs::path&) { return QStringLiteral("only Windows locks a file against writing"); }
    void release() {}
    QString cutFileSize(const fs::path& file)
    {
        // The limit lets a few bytes of the next line through, then the
        // write fails: the half line must not stay in the file.
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit cut = saved_;
        cut.rlim_cur = static_cast<rlim_t>(fs::exists(file) ? fs::file_size(file) + 7 : 7);
        if (::setrlimit(RLIMIT_FSIZE, &cut) != 0)
            return QStringLiteral("the file size limit cannot be lowered");
        active_ = true;
        return {};
    }
    void restoreFileSize()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    rlimit saved_{};
#endif

    QString kind_;
    const ProgramFolder& folder_;
    bool active_ = false;
};

// Each fault where it exists: a device that is always full and a file size
// limit are POSIX things, a file locked by its reader a Windows one.
void AddFaultRows()
{
    QTest::addColumn<QString>("fault");
    for (const char* fault : {"read-only file", "folder in place of the file",
#ifdef Q_OS_LINUX
                              "link to a full device",
#endif
#ifdef Q_OS_UNIX
                              "link to a file not there yet",
#endif
                              "program folder removed",
#ifdef Q_OS_UNIX
                              "write cut short by the file size limit",
#endif
#ifdef Q_OS_WIN
                              "file open in another program",
#endif
                             })
        QTest::newRow(fault) << QString::fromLatin1(fault);
}

}  // namespace

class TestLogFaults : public QObject {
    Q_OBJECT
private slots:
    void fault_while_running_keeps_everything_on_screen_data();
    void fault_while_running_keeps_everything_on_screen();
    void fault_at_start_up_stops_with_a_clear_error_data();
    void fault_at_start_up_stops_with_a_clear_error();
    void works_in_any_program_folder_data();
    void works_in_any_program_folder();
    void log_goes_to_the_user_folder_data();
    void log_goes_to_the_user_folder();
    void second_copy_leaves_the_log_alone_data();
    void second_copy_leaves_the_log_alone();
};

void TestLogFaults::fault_while_running_keeps_everything_on_screen_data()
{
    AddFaultRows();
}

void TestLogFaults::fault_while_running_keeps_everything_on_screen()
{
    QFETCH(QString, fault);

    // State: a started window, one calculation recorded.
    Started s(fuzz::GeneratedCatalogueBytes());
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel(kType, kModel));
    const Started::Expected first = s.expected();
    s.calculate();
    QCOMPARE(s.platform.messages.size(), 0);
    const QByteArray fileBefore = s.logFile();
    QCOMPARE(fileBefore, HeaderLines({1}) + QByteArray::fromStdString(LogFile::dataLineBytes(first.record)));
    QStringList expectedList = s.listEntries();

    Fault f(fault, s.folder);
    if (const QString why = f.make(); !why.isEmpty())
        QSKIP(qPrintable(why));

    // Action: two calculations and a variant switch while the file is unusable.
    for (const char* flow : {"2000", "500"}) {
        s.box(QStringLiteral("TxtBx_L"))->setText(QString::fromLatin1(flow));
        const Started::Expected expected = s.expected();
        QVERIFY(expected.ok);
        const qsizetype messages = s.platform.messages.size();
        s.calculate();

        // Expected: the results and the list entry as always, and a message.
        QCOMPARE(s.results(), Started::ResultsOf(expected));
        expectedList << QString::fromStdString(expected.record.listLine());
        QCOMPARE(s.listEntries(), expectedList);
        QCOMPARE(s.platform.messages.size(), messages + 1);
        const RecordingPlatform::Message& m = s.platform.messages.last();
        QCOMPARE(m.title, QStringLiteral("Журнал расчетов"));
        QVERIFY2(m.text.contains(QStringLiteral("Nimbo.csv")) && m.text.contains(f.cause()), qPrintable(m.text));
        if (!f.removesTheFile())
            QCOMPARE(s.folder.read(f.keptFile()), fileBefore);
        if (QByteArrayView(flow) == "2000") {
            s.control<QRadioButton>("Opt_Var2")->click();
            QCOMPARE(s.control<QLabel>("Lbl_V")->text(), QStringLiteral("X ="));
            QCOMPARE(s.platform.messages.size(), messages + 2);
            QVERIFY2(s.platform.messages.last().text.contains(f.cause()), qPrintable(s.platform.messages.last().text));
        }
    }
    QVERIFY(s.window->isVisible());

    // Action: the fault is gone, one more calculation.
    f.lift();
    s.box(QStringLiteral("TxtBx_L"))->setText(QStringLiteral("750"));
    const Started::Expected expected = s.expected();
    const qsizetype messages = s.platform.messages.size();
    s.calculate();

    // Expected: written normally, under the header of the variant it belongs to.
    QCOMPARE(s.platform.messages.size(), messages);
    const QByteArray line = QByteArray::fromStdString(LogFile::dataLineBytes(expected.record));
    const QByteArray kept = f.removesTheFile() ? QByteArray() : fileBefore;
    QCOMPARE(s.logFile(), kept + HeaderLines({2}) + line);
    QCOMPARE(s.list()->count(), 4);
    QVERIFY(!QFileInfo::exists(s.folder.file(QStringLiteral("victim.txt"))));
}

void TestLogFaults::fault_at_start_up_stops_with_a_clear_error_data()
{
    AddFaultRows();
}

void TestLogFaults::fault_at_start_up_stops_with_a_clear_error()
{
    QFETCH(QString, fault);

    RecordingPlatform platform;
    ProgramFolder folder;
    folder.writeCatalogue(fuzz::GeneratedCatalogueBytes());
    {
        Fault f(fault, folder);
        if (const QString why = f.make(); !why.isEmpty())
            QSKIP(qPrintable(why));
        Form_Main window(folder.path(), platform);

        // Expected: start-up fails with a message naming the file and the
        // cause, before the catalogue is read.
        QVERIFY(!window.startUp());
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages.first().icon, MessageIcon::Critical);
        const QString text = platform.messages.first().text;
        QVERIFY2(text.contains(QStringLiteral("Nimbo.csv")) && text.contains(f.cause()), qPrintable(text));
        QCOMPARE(window.catalogue().recordCount(), 0);
        QVERIFY(!window.isVisible());
        // No half header: the file holds what it held, or nothing.
        const QByteArray left = folder.read(f.keptFile());
        QVERIFY2(left.isEmpty() || left == "old", left.constData());
    }

    // Once the fault is gone, the program starts as always.
    if (!QFileInfo::exists(folder.file(QStringLiteral("A/b"))))
        folder.writeCatalogue(fuzz::GeneratedCatalogueBytes());
    Form_Main window(folder.path(), platform);
    QVERIFY(window.startUp());
    QCOMPARE(folder.read(QStringLiteral("Nimbo.csv")), HeaderLines({1}));
}

void TestLogFaults::works_in_any_program_folder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("blank and Cyrillic") << QStringLiteral("Нимбо тест");
    QTest::newRow("nested like an installation") << QStringLiteral("Program Files (x86)/Тимбра/Нимбо 2019.03");
    QTest::newRow("letters outside Windows-1251") << QStringLiteral("Ελληνικά 中文 ёЁ");
    QTest::newRow("punctuation") << QStringLiteral("a,b;c'd #1 & «x» [y] {z} %20");
    QTest::newRow("leading and doubled blanks") << QStringLiteral(" два  пробела ");
    QTest::newRow("deep path") << QStringLiteral("уровень/").repeated(20) + QStringLiteral("Нимбо");
}

void TestLogFaults::works_in_any_program_folder()
{
    QFETCH(QString, name);

    Started s(fuzz::GeneratedCatalogueBytes(), name);
    QVERIFY(s.folder.isValid());
    QVERIFY(s.ok);
    QCOMPARE(s.platform.messages.size(), 0);
    QVERIFY(s.chooseModel(kType, kModel));
    const Started::Expected expected = s.expected();
    QVERIFY(expected.ok);
    s.calculate();
    QCOMPARE(s.results(), Started::ResultsOf(expected));
    QCOMPARE(s.logFile(), HeaderLines({1}) + QByteArray::fromStdString(LogFile::dataLineBytes(expected.record)));
}

void TestLogFaults::log_goes_to_the_user_folder_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("userFolderWritable");
    for (const char* fault : {"read-only file", "folder in place of the file",
#ifdef Q_OS_LINUX
                              "link to a full device",
#endif
#ifdef Q_OS_UNIX
                              "link to a file not there yet",
#endif
#ifdef Q_OS_WIN
                              "file open in another program",
#endif
                              "read-only program folder"})
        QTest::addRow("%s", fault) << QString::fromLatin1(fault) << true;
    QTest::newRow("read-only program folder, read-only user folder")
        << QStringLiteral("read-only program folder") << false;
}

void TestLogFaults::log_goes_to_the_user_folder()
{
    QFETCH(QString, fault);
    QFETCH(bool, userFolderWritable);

    RecordingPlatform platform;
    ProgramFolder folder, user(QStringLiteral("Пользователь/Нимбо"));
    platform.dataFolder = user.path();
    folder.writeCatalogue(fuzz::GeneratedCatalogueBytes());
    std::ofstream(folder.fsFile(QStringLiteral("Nimbo.csv")), std::ios::binary) << "earlier\r\n";
    Fault f(fault, folder), userFault(QStringLiteral("read-only program folder"), user);
    if (const QString why = f.make(); !why.isEmpty())
        QSKIP(qPrintable(why));
    if (!userFolderWritable && !userFault.make().isEmpty())
        QSKIP("the user folder cannot be made read-only here");

    Form_Main window(folder.path(), platform);
    QCOMPARE(window.startUp(), userFolderWritable);

    // The program folder's file, or what a link points to, is left as it was.
    QCOMPARE(folder.read(f.keptFile()), QByteArray("earlier\r\n"));
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("victim.txt"))));
    const QString userLog = QDir::toNativeSeparators(user.file(QStringLiteral("Nimbo.csv")));
    if (userFolderWritable) {
        QCOMPARE(platform.messages.size(), 0);
        QCOMPARE(user.read(QStringLiteral("Nimbo.csv")), HeaderLines({1}));
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("Lbl_Log"))->toolTip().contains(userLog));
    } else {
        // Both places are named, each with its cause.
        QCOMPARE(platform.messages.size(), 1);
        const QString text = platform.messages.first().text;
        QVERIFY2(text.contains(QDir::toNativeSeparators(folder.file(QStringLiteral("Nimbo.csv")))) &&
                     text.contains(userLog) && text.count(f.cause()) == 2,
                 qPrintable(text));
    }
}

void TestLogFaults::second_copy_leaves_the_log_alone_data()
{
    QTest::addColumn<QString>("lock");  // what is at Nimbo.csv.lock when the second copy starts
    QTest::addColumn<bool>("starts");
    QTest::newRow("first copy still running") << "running copy" << false;
    QTest::newRow("lock left by a killed copy") << "killed copy" << true;
    QTest::newRow("unreadable lock left behind") << "empty file" << true;
    QTest::newRow("first copy closed") << "none" << true;
    QTest::newRow("first copy closed, its log emptied by hand") << "none, log emptied" << true;
}

void TestLogFaults::second_copy_leaves_the_log_alone()
{
    QFETCH(QString, lock);
    QFETCH(bool, starts);

    auto first = std::make_unique<Started>(fuzz::GeneratedCatalogueBytes());
    QVERIFY(first->ok);
    QVERIFY(first->chooseModel(kType, kModel));
    first->calculate();
    first->calculate();
    const QByteArray firstLog = first->logFile();
    QCOMPARE(FileLines(firstLog).size(), 3);
    const QString lockFile = first->folder.file(QStringLiteral("Nimbo.csv.lock"));
    if (lock != QLatin1String("running copy"))
        first->window.reset();  // the lock goes with the window that held it
    if (lock == QLatin1String("none, log emptied"))
        QFile::resize(first->folder.file(QStringLiteral("Nimbo.csv")), 0);
    if (lock == QLatin1String("killed copy")) {
        QVERIFY(LeaveLockBehind(lockFile));
        QVERIFY(QFileInfo::exists(lockFile));
    } else if (lock == QLatin1String("empty file")) {
        QVERIFY(QFile(lockFile).open(QIODevice::WriteOnly));
    }

    RecordingPlatform platform;
    Form_Main second(first->folder.path(), platform);
    QCOMPARE(second.startUp(), starts);
    if (starts) {
        // The earlier run's lines, if any, are kept beside the fresh log.
        QCOMPARE(platform.messages.size(), 0);
        QCOMPARE(first->logFile(), HeaderLines({1}));
        const bool emptied = lock.endsWith(QLatin1String("emptied"));
        QCOMPARE(QFileInfo::exists(first->folder.file(QStringLiteral("Nimbo.prev.csv"))), !emptied);
        QCOMPARE(first->folder.read(QStringLiteral("Nimbo.prev.csv")), emptied ? QByteArray() : firstLog);
        return;
    }
    QCOMPARE(platform.messages.size(), 1);
    QVERIFY2(platform.messages.first().text.startsWith(QStringLiteral("Нимбо уже открыт")),
             qPrintable(platform.messages.first().text));
    QCOMPARE(first->logFile(), firstLog);
    QVERIFY(!QFileInfo::exists(first->folder.file(QStringLiteral("Nimbo.prev.csv"))));
    // The first copy goes on writing its log.
    first->calculate();
    QCOMPARE(FileLines(first->logFile()).size(), 4);
}

QTEST_MAIN(TestLogFaults)
#include "tst_log_faults.moc"
