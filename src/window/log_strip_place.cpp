// Where this run keeps its log, decided once at start-up: Nimbo.csv in the
// program folder, or, where that cannot be written (an installed copy, a
// read-only or linked file), Nimbo.csv in the user's own data folder. A lock
// beside the file keeps a second copy of the program from emptying the log
// of the first.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>

#include <cerrno>
#include <cstdio>

#include "platform/platform.h"
#include "window/log_strip.h"

namespace {

const QString kLogName = QStringLiteral("Nimbo.csv");

// A lock whose owner no longer runs is taken over. Qt finds such an owner by
// the process number written in the lock; a lock file that cannot be read at
// all (a copy killed while writing it) counts as left behind too.
bool TakeLock(QLockFile& lock)
{
    lock.setStaleLockTime(0);  // a long run is no sign of a dead owner
    if (lock.tryLock(0))
        return true;
    qint64 pid = 0;
    QString host, application;
    if (lock.error() == QLockFile::LockFailedError && !lock.getLockInfo(&pid, &host, &application) &&
        lock.removeStaleLockFile())
        return lock.tryLock(0);
    return false;
}

// Why the lock file could not be made. POSIX leaves the cause in errno; on
// Windows Qt's lock does not, and a missing folder is the one cause to name.
int LockFailure(const QString& folder)
{
#ifdef Q_OS_WIN
    return QFileInfo(folder).isDir() ? EACCES : ENOENT;
#else
    (void)folder;
    return errno;
#endif
}

}  // namespace

LogStrip::Place LogStrip::tryPlace(const QString& folder, bool create, QString& problem)
{
    if (folder.isEmpty()) {
        problem = QStringLiteral("папка пользователя для данных программы не определена");
        return Place::Unusable;
    }
    if (create)
        QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(kLogName);
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    errno = 0;
    if (!TakeLock(*lock)) {
        const int err = LockFailure(folder);
        if (lock->error() == QLockFile::LockFailedError) {
            problem = QStringLiteral("Нимбо уже открыт: другая копия программы ведёт журнал «%1». "
                                     "Закройте её или перейдите в её окно.")
                          .arg(QDir::toNativeSeparators(path));
            return Place::Taken;
        }
        problem = QStringLiteral("Не удалось создать файл блокировки «%1»: %2")
                      .arg(QDir::toNativeSeparators(path + QStringLiteral(".lock")),
                           QString::fromStdString(nimbo::LogFailureCause(err)));
        return Place::Unusable;
    }
    nimbo::LogFile log(nimbo::FileSystemPath(folder) / kLogName.toStdString());
    if (const nimbo::WriteResult started = log.startSession(); !started) {
        problem = QString::fromStdString(started.error);
        return Place::Unusable;
    }
    file_ = log;
    lock_ = std::move(lock);
    Lbl_Log->setToolTip(QStringLiteral("Файл журнала: ") + QDir::toNativeSeparators(path) +
                        QStringLiteral("\nЖурнал прошлого запуска: Nimbo.prev.csv в той же папке"));
    return Place::InUse;
}

bool LogStrip::open(QString& failure)
{
    QString inProgramFolder, inUserFolder;
    const Place first = tryPlace(folder_, false, inProgramFolder);
    if (first == Place::InUse)
        return true;
    if (first == Place::Taken) {
        failure = inProgramFolder;
        return false;
    }
    const Place second = tryPlace(platform_.userDataFolder(), true, inUserFolder);
    if (second == Place::InUse) {
        const QByteArray note = (QStringLiteral("Журнал ведётся в папке пользователя «") +
                                 QDir::toNativeSeparators(platform_.userDataFolder()) + QStringLiteral("».\n") +
                                 inProgramFolder + QLatin1Char('\n')).toUtf8();
        std::fputs(note.constData(), stderr);
        return true;
    }
    if (second == Place::Taken)
        failure = inUserFolder;
    else
        failure = QStringLiteral("Журнал расчетов некуда записать: ни в папку программы, ни в папку "
                                 "пользователя.\n\n") +
                  inProgramFolder + QStringLiteral("\n\n") + inUserFolder;
    return false;
}
