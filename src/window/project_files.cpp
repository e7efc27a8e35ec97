#include "window/project_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <string>

#include "project/json.h"
#include "project/project_file.h"
#include "text/file_errors.h"

namespace nimbo {

namespace {

QString Cause(int err) { return QString::fromStdString(FileErrorCause(err)); }

// Why the file cannot be read, before any byte is.
QString ReadCause(const QFileInfo& file)
{
    if (!file.exists())
        return QStringLiteral("файла нет");
    if (file.isDir())
        return Cause(EISDIR);
    if (!file.isReadable())
        return QStringLiteral("нет прав на чтение");
    return {};
}

// Why a save failed, as far as the folder and the target tell it.
QString WriteCause(const QFileInfo& target, qint64 bytes, const QString& fallback)
{
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return Cause(folder.exists() ? ENOTDIR : ENOENT);
    if (target.isDir())
        return Cause(EISDIR);
    if (target.exists() && !target.isWritable())
        return Cause(EACCES);
    if (!folder.isWritable())
        return Cause(EACCES);
    if (QStorageInfo(folder.absoluteFilePath()).bytesAvailable() < bytes + (1 << 16))
        return Cause(ENOSPC);
    return fallback;
}

}  // namespace

QString ReadProjectFile(const QString& path, const QString& shownName, Project& out)
{
    const QString named = QStringLiteral("Файл «%1»").arg(shownName);
    QFile file(path);
    if (QString cause = ReadCause(QFileInfo(path)); !cause.isEmpty())
        return named + QStringLiteral(" не открывается: ") + cause;
    if (!file.open(QIODevice::ReadOnly))
        return named + QStringLiteral(" не открывается: ") + file.errorString();
    // One byte beyond the largest project: the reader then refuses by size
    // rather than this program filling its memory with a wrong file.
    const QByteArray bytes = file.read(static_cast<qint64>(json::kMaxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return named + QStringLiteral(" не читается: ") + file.errorString();
    const std::string name = shownName.toStdString();
    return QString::fromStdString(
        ReadProject(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), name, out));
}

QString WriteProjectFile(const QString& path, const Project& project)
{
    const QByteArray bytes = QByteArray::fromStdString(WriteProject(project));
    const QFileInfo target(path);
    QString cause;
    // A read-only file is the user's word that it is not to change; QSaveFile
    // would replace it all the same.
    if (target.exists() && !target.isDir() && !target.isWritable()) {
        cause = Cause(EACCES);
    } else {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return {};
        cause = WriteCause(target, bytes.size(), file.errorString());
    }
    return QStringLiteral("Проект не сохранен в файл «%1»: %2.").arg(QDir::toNativeSeparators(path), cause);
}

}  // namespace nimbo
