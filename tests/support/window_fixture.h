#pragma once
// What every window test needs: a platform that records instead of showing
// boxes and opening browsers, a throw-away program folder, the window built
// over both, and a started window driven as a person would.
#include <QAbstractButton>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSize>
#include <QStringList>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/site.h"
#include "calc/calculation.h"
#include "log/record_of.h"
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
    // No browser: openUrl records the address and reports failure.
    bool browserMissing = false;
    // Empty: no per-user folder to fall back on.
    QString dataFolder;

    bool openUrl(const QString& address) override
    {
        openedUrls.append(address);
        return !browserMissing;
    }
    char decimalSeparator() const override { return separator; }

    // The file dialog answers saveAnswer ("" = cancel); the print dialog
    // accepts when printTo is set, and sends the pages to that PDF file.
    QString saveAnswer;
    QString printTo;
    QStringList saveSuggestions;
    int printDialogs = 0;
    QString chooseSaveFile(QWidget*, const QString&, const QString& suggested, const QString&) override
    {
        saveSuggestions.append(suggested);
        return saveAnswer;
    }
    bool choosePrinter(QWidget*, QPrinter& printer) override
    {
        ++printDialogs;
        if (printTo.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return true;
    }
    QString userDataFolder() const override { return dataFolder; }

    // The open dialog answers openAnswer ("" = cancel).
    QString openAnswer;
    QStringList openSuggestions;
    QString chooseOpenFile(QWidget*, const QString&, const QString& suggested, const QString&) override
    {
        openSuggestions.append(suggested);
        return openAnswer;
    }
    // The unsaved-changes question takes the answers given in advance, in
    // order; one asked beyond them is answered «Отмена», so that nothing is
    // lost, and the test sees it asked in `saveQuestions`.
    QList<SaveAnswer> saveAnswers;
    QStringList saveQuestions;
    SaveAnswer askToSave(QWidget*, const QString&, const QString& text) override
    {
        saveQuestions.append(text);
        return saveAnswers.isEmpty() ? SaveAnswer::Cancel : saveAnswers.takeFirst();
    }
};

// A program folder below a temporary directory. Its name may be any path,
// several levels deep; by default it holds a blank and Cyrillic letters, as
// a folder on a Russian desktop may.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& name = QStringLiteral("Нимбо тест"))
        : path_(base_.path() + QLatin1Char('/') + name)
    {
        QDir().mkpath(path_);
    }
    // With a catalogue A/b made of these size lines.
    explicit ProgramFolder(const std::vector<Line>& lines) : ProgramFolder() { writeCatalogue(FileBytes(lines)); }

    bool isValid() const { return base_.isValid() && QFileInfo(path_).isDir(); }
    QString path() const { return path_; }
    QString file(const QString& relative) const { return path_ + QLatin1Char('/') + relative; }
    std::filesystem::path fsPath() const { return FileSystemPath(path_); }
    std::filesystem::path fsFile(const QString& relative) const { return FileSystemPath(file(relative)); }

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
    // The bytes of a regular file; nothing for anything else (reading a
    // link to /dev/full would never end).
    QByteArray read(const QString& relative) const
    {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(fsFile(relative), ec))
            return {};
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir base_;
    QString path_;
};

// The shipped catalogue and pictures in a folder of the test's own.
inline void CopyShippedData(const ProgramFolder& folder)
{
    const QString from = QStringLiteral(NIMBO_SOURCE_DIR "/data");
    QDirIterator it(from, {QStringLiteral("b"), QStringLiteral("*.jpg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = folder.file(QDir(from).relativeFilePath(source));
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

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

// The log file's header lines of these variants, as the log writes them;
// their exact bytes are the log file test's to check.
inline QByteArray HeaderLines(std::initializer_list<int> variants)
{
    QByteArray out;
    for (int variant : variants)
        out += QByteArray::fromStdString(LogFile::headerBytes(variant));
    return out;
}

inline const QStringList kMainResults{"TxtBx_p", "TxtBx_x", "TxtBx_LwA"};
inline const QStringList kSectionResults{"TxtBx_F0", "TxtBx_V0", "TxtBx_Fv", "TxtBx_Vv", "TxtBx_Fjs", "TxtBx_Vjs"};
inline const QStringList kAllResults = kMainResults + kSectionResults;
inline const QStringList kInputBoxes{"TxtBx_L", "TxtBx_V", "TxtBx_A", "TxtBx_B", "TxtBx_Dlina"};

// A window started over a program folder and shown offscreen, as the user
// sees it; `ok` says whether start-up succeeded.
struct Started {
    // separator: the user's decimal separator, or 0 for the locale's own.
    explicit Started(const std::vector<Line>& lines, char separator = 0) : Started(FileBytes(lines), {}, separator) {}
    explicit Started(const std::string& catalogueBytes, const QString& folderName = {}, char separator = 0)
        : folder(folderName.isEmpty() ? QStringLiteral("Нимбо тест") : folderName)
    {
        if (separator)
            platform.separator = separator;
        folder.writeCatalogue(catalogueBytes);
        start();
    }
    // Over a folder that `furnish` fills (a catalogue, pictures).
    explicit Started(const std::function<void(const ProgramFolder&)>& furnish)
    {
        furnish(folder);
        start();
    }
    void start()
    {
        window = MakeWindow(folder, platform);
        ok = folder.isValid() && window->startUp();
        if (ok)
            window->show();
    }

    template <class T>
    T* control(const QString& name) const
    {
        return Control<T>(*window, name.toLatin1().constData());
    }
    QRadioButton* option(const QString& name) const { return control<QRadioButton>(name); }
    QLineEdit* box(const QString& name) const { return control<QLineEdit>(name); }
    QString text(const QString& name) const { return box(name)->text(); }
    QListWidget* list() const { return control<QListWidget>("LstBx_Log"); }
    bool shown(const QString& name) const { return !control<QWidget>(name)->isHidden(); }
    QStringList shownOf(const QStringList& names) const
    {
        QStringList out;
        for (const QString& n : names)
            if (shown(n))
                out << n;
        return out;
    }
    QStringList listEntries() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    QStringList entries(const QString& combo) const
    {
        auto* box = control<QComboBox>(combo);
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    // 1-based number of the selected option of a group, 0 when none.
    int selected(const QString& group, int count) const
    {
        for (int i = 1; i <= count; ++i)
            if (option(group + QString::number(i))->isChecked())
                return i;
        return 0;
    }
    QStringList captions(const QString& group, int count) const
    {
        QStringList out;
        for (int i = 1; i <= count; ++i)
            out << option(group + QString::number(i))->text();
        return out;
    }

    // Picks entry `index` of a combo box, as a click in its list does.
    void pickIndex(const QString& combo, int index) const
    {
        auto* c = control<QComboBox>(combo);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    // Picks the n-th entry (0-based) whose text is `text`.
    bool pick(const QString& combo, const QString& text, int occurrence = 0) const
    {
        const QStringList all = entries(combo);
        for (int i = 0; i < all.size(); ++i) {
            if (all[i] == text && occurrence-- == 0) {
                pickIndex(combo, i);
                return true;
            }
        }
        return false;
    }
    bool chooseModel(const QString& type, const QString& model, int occurrence = 0) const
    {
        return pick(QStringLiteral("Cmb_TipVR"), type) && pick(QStringLiteral("Cmb_VidVR"), model, occurrence);
    }
    // A click on the round mark: only the mark and the caption take clicks,
    // and a short caption leaves the middle of the button empty.
    void click(const QString& name) const
    {
        QRadioButton* o = option(name);
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
    }
    void clickPicture(int times) const
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(control<QLabel>("Img_VR"), Qt::LeftButton);
    }
    void calculate() const { control<QPushButton>("Cmd_Start")->click(); }

    QStringList results() const
    {
        QStringList out;
        for (const QString& name : kAllResults)
            out << text(name);
        return out;
    }
    // Every result box shows something, as after a calculation.
    void fillResults() const
    {
        for (const QString& name : kAllResults)
            box(name)->setText(QStringLiteral("7"));
    }
    QStringList emptyResults() const
    {
        QStringList out;
        for (const QString& name : kAllResults)
            if (text(name).isEmpty())
                out << name;
        return out;
    }
    QByteArray logFile() const { return folder.read(QStringLiteral("Nimbo.csv")); }
    // What "Считай!" gives now: the engine's outcome and the record made of it.
    struct Expected : Outcome {
        LogRecord record;
    };
    Expected expected() const
    {
        const Calculation c = window->currentCalculation();
        Expected e{Calculate(c), {}};
        e.record = RecordOf(c.choice, e);
        return e;
    }

    // The nine result texts an outcome puts into the boxes, in kAllResults order.
    static QStringList ResultsOf(const Outcome& out)
    {
        const Sections& s = out.sections;
        QStringList texts;
        for (const std::string* t : {&out.texts.p, &out.texts.x, &out.texts.LwA, &s.F0, &s.V0, &s.Fv, &s.Vv, &s.Fjs, &s.Vjs})
            texts << QString::fromStdString(*t);
        return texts;
    }

    RecordingPlatform platform;
    ProgramFolder folder;
    std::unique_ptr<Form_Main> window;
    bool ok = false;
};

}  // namespace nimbo::test
