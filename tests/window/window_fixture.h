#pragma once
// What every window test needs: a platform that records instead of showing
// boxes and opening browsers, a throw-away program folder, and the window
// built over both.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QLocale>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/catalogue_text.h"
#include "window/form_main.h"

namespace nimbo::test {

class RecordingPlatform : public Platform {
public:
    struct Message {
        QString title, text;
        MessageIcon icon = MessageIcon::None;
    };

    QList<Message> messages;
    QStringList openedUrls;
    // As the user's locale writes numbers; a test may set the other one.
    char separator = QLocale().decimalPoint() == QLatin1String(",") ? ',' : '.';

    void showMessage(QWidget*, const QString& title, const QString& text, MessageIcon icon) override
    {
        messages.append({title, text, icon});
    }
    void openUrl(const QString& address) override { openedUrls.append(address); }
    char decimalSeparator() const override { return separator; }
};

// A program folder in the temporary directory. Its name holds a blank and
// Cyrillic letters, as a folder on a Russian desktop may.
class ProgramFolder {
public:
    // With a catalogue A/b made of these size lines.
    explicit ProgramFolder(const std::vector<Line>& lines) : ProgramFolder() { writeCatalogue(FileBytes(lines)); }
    // Without a catalogue.
    ProgramFolder() : dir_(QDir::tempPath() + QStringLiteral("/Нимбо тест-XXXXXX")) {}

    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    std::filesystem::path fsPath() const { return FileSystemPath(path()); }
    QString file(const QString& relative) const { return path() + QLatin1Char('/') + relative; }

    // The catalogue as raw bytes (Windows-1251, as shipped).
    void writeCatalogue(const std::string& bytes) const { WriteCatalogue(fsPath(), bytes); }
    // jpg/<baseName>.jpg, a plain picture of the given colour.
    bool writePicture(const QString& baseName, QColor color = Qt::darkCyan, QSize size = {200, 94}) const
    {
        QDir().mkpath(file(QStringLiteral("jpg")));
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        return image.save(file(QStringLiteral("jpg/") + baseName + QStringLiteral(".jpg")), "JPG");
    }
    QByteArray read(const QString& relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

// The window over a folder and a platform, not yet started.
inline std::unique_ptr<Form_Main> MakeWindow(const ProgramFolder& folder, RecordingPlatform& platform)
{
    return std::make_unique<Form_Main>(folder.path(), platform);
}

// A control by its objectName; a missing one ends the test run with its name
// rather than with a crash somewhere later.
template <class T>
T* Control(const QWidget& window, const char* name)
{
    T* control = window.findChild<T*>(QLatin1String(name));
    if (!control)
        qFatal("no control %s of the expected class", name);
    return control;
}

}  // namespace nimbo::test
