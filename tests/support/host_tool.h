#pragma once
// The host's own tools, which read what the program wrote as its users'
// programs would: poppler's for a PDF, Debian's python3 with openpyxl for a
// spreadsheet. Always the system's copy in /usr/bin: a python3 of one's own
// earlier in PATH (pyenv) has no openpyxl.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace nimbo::test {

#ifdef Q_OS_WIN
namespace host_tool_detail {

using UnixName = char*(__cdecl*)(const wchar_t*);

// Wine's own call for the Unix name of a Windows path; null on Windows itself.
inline UnixName WineUnixName()
{
    return reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

inline QString ToUnix(UnixName unixName, const QString& path)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    char* name = unixName(native.c_str());
    if (!name)
        return path;
    const QString out = QString::fromUtf8(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return out;
}

// Under wine, where the Windows build is tested, the host's tools run as
// they are, with the Unix names of the files. Wine cannot wait for a Unix
// program, so the tool writes into a file that appears whole when it is done.
inline bool RunUnderWine(const QString& tool, QStringList args, QString& output)
{
    const UnixName unixName = WineUnixName();
    if (!unixName)
        return false;
    for (QString& arg : args)
        if (QFileInfo::exists(arg))
            arg = ToUnix(unixName, arg);
    QTemporaryDir dir;
    const QString done = dir.filePath(QStringLiteral("out.txt"));
    QProcess::startDetached(QStringLiteral("Z:/bin/sh"),
                            QStringList{QStringLiteral("-c"), QStringLiteral("out=$1; shift; \"$@\" >\"$out.part\" 2>&1; mv \"$out.part\" \"$out\""),
                                        QStringLiteral("sh"), ToUnix(unixName, dir.path()) + QStringLiteral("/out.txt"),
                                        QStringLiteral("/usr/bin/") + tool} +
                                args);
    QFile f(done);
    const bool finished = QTest::qWaitFor([&] { return f.exists(); }, 60000);
    output = finished && f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll())
                                                     : QStringLiteral("(%1 did not finish)").arg(tool);
    return true;
}

}  // namespace host_tool_detail
#endif

// The output of /usr/bin/<tool>; a text saying so when it failed, so that the
// test fails rather than passes without it.
inline QString RunHostTool(const QString& tool, const QStringList& args)
{
#ifdef Q_OS_WIN
    if (QString output; host_tool_detail::RunUnderWine(tool, args, output))
        return output;
#endif
    QProcess p;
    p.start(QStringLiteral("/usr/bin/") + tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("(%1 failed: %2)").arg(tool, QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace nimbo::test
