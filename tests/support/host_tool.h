#pragma once
// The host's own tools, which read what the program wrote as its users'
// programs would: poppler's for a PDF, Debian's python3 with openpyxl for a
// spreadsheet. Always the system's copy in /usr/bin: a python3 of one's own
// earlier in PATH (pyenv) has no openpyxl.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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

// The pages of a PDF as pdftotext reads them, one string a page, each line
// as it stands on paper.
inline QStringList PdfPages(const QString& pdf)
{
    QStringList pages = RunHostTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                                 QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

inline int PageCount(const QString& pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(RunHostTool(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline QStringList Words(const QString& text) { return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts); }

// A text without its blanks and line breaks: how closely pdftotext sets the
// words of a line depends on the font's spacing, not on the report. The font
// may set "ff" or "fi" of a path as one ligature, which pdftotext hands back
// as one character; compatibility normalisation spells it out again.
inline QString Solid(const QString& text)
{
    return Words(text.normalized(QString::NormalizationForm_KC)).join(QString());
}

// The first of `wanted` that does not follow the one before it in `text`;
// "" when all do.
inline QString MissingInOrder(const QString& text, const QStringList& wanted)
{
    const QString solid = Solid(text);
    qsizetype at = 0;
    for (const QString& piece : wanted) {
        const qsizetype found = solid.indexOf(Solid(piece), at);
        if (found < 0)
            return QStringLiteral("«%1»").arg(piece);
        at = found + Solid(piece).size();
    }
    return {};
}

// An .xlsx file as openpyxl reads it: tests/schedule/read_xlsx.py tells the
// keys; empty when the reader failed (and it says why).
inline QJsonObject ReadXlsx(const QString& file)
{
    const QString script = QStringLiteral(NIMBO_SOURCE_DIR "/tests/schedule/read_xlsx.py");
    const QString output = RunHostTool(QStringLiteral("python3"), {script, file});
    const QJsonDocument json = QJsonDocument::fromJson(output.toUtf8());
    if (!json.isObject())
        qWarning().noquote() << "read_xlsx.py:" << output;
    return json.object();
}

}  // namespace nimbo::test
