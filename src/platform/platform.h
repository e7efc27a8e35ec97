#pragma once
// Everything the window asks of the desktop goes through here, so that tests
// can replace it: a modal message box would block a test forever, and a test
// must never open a browser.
#include <QMargins>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

#include <filesystem>

class QCoreApplication;
class QPrinter;
class QTranslator;
class QWidget;

namespace nimbo {

enum class MessageIcon { None, Information, Warning, Critical };

// The answer to unsaved changes: save them, drop them, or stay.
enum class SaveAnswer { Save, Discard, Cancel };

class Platform {
public:
    virtual ~Platform() = default;

    // A modal box with one OK button.
    virtual void showMessage(QWidget* parent, const QString& title, const QString& text,
                             MessageIcon icon) = 0;
    // Hands an address to the desktop without waiting for it; false when
    // the desktop has nothing to open it with.
    virtual bool openUrl(const QString& address) = 0;
    // '.' or ',' as the user's locale writes numbers.
    virtual char decimalSeparator() const = 0;
    // A null pixmap when the file is missing or unreadable.
    virtual QPixmap loadPicture(const QString& path) const;
    // The file a document is to be saved to, asked of the user starting at
    // the suggested path; "" when the user cancels.
    virtual QString chooseSaveFile(QWidget* parent, const QString& title, const QString& suggested,
                                   const QString& filter) = 0;
    // The existing file to open, asked of the user starting at `suggested`
    // (a folder or a file); "" when the user cancels.
    virtual QString chooseOpenFile(QWidget* parent, const QString& title, const QString& suggested,
                                   const QString& filter) = 0;
    // Lets the user pick and set up a printer; false when the user cancels.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Whether to save changes before they are lost: a question with the
    // buttons «Сохранить», «Не сохранять» and «Отмена».
    virtual SaveAnswer askToSave(QWidget* parent, const QString& title, const QString& text) = 0;
    // The user's own folder for the program's files, where the log goes when
    // the program folder cannot take it; empty when there is none.
    virtual QString userDataFolder() const { return {}; }
};

// The real desktop: QMessageBox, QDesktopServices, QLocale, QFileDialog,
// QPrintDialog.
class QtPlatform : public Platform {
public:
    void showMessage(QWidget* parent, const QString& title, const QString& text,
                     MessageIcon icon) override;
    bool openUrl(const QString& address) override;
    char decimalSeparator() const override;
    QString chooseSaveFile(QWidget* parent, const QString& title, const QString& suggested,
                           const QString& filter) override;
    QString chooseOpenFile(QWidget* parent, const QString& title, const QString& suggested,
                           const QString& filter) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    SaveAnswer askToSave(QWidget* parent, const QString& title, const QString& text) override;
    QString userDataFolder() const override;
};

// Qt's own dialogs and buttons (the file and print dialogs, Yes and Cancel)
// speak Russian like the rest of the program: Qt's qtbase_ru.qm from the
// first of the folders that holds it. The translator belongs to the
// application; nullptr when no folder holds one, and Qt's texts stay English.
QTranslator* InstallQtTranslation(QCoreApplication& app, const QStringList& folders);
// Qt's own translations folder, then "translations" beside the program,
// where the Windows zip carries the file.
QStringList QtTranslationFolders();

// A folder as the file system spells it: the program folder may hold blanks
// and Cyrillic letters, so no conversion through a narrow code page.
std::filesystem::path FileSystemPath(const QString& folder);

// The window design is in twips; 15 twips make one logical pixel.
constexpr int Twips(int twips) { return (twips + 7) / 15; }

// Outer size = client size + the frame the window system draws. Where it
// reports no frame, or one without a title bar (offscreen, or X without a
// window manager), a standard title bar and border are assumed, so the client
// area is the same as on a desktop and the areas meant to lie outside it stay
// outside. SetOuterSize never makes the client area larger than it is inside
// that standard frame: under a thinner real frame the window is a few pixels
// smaller than asked rather than showing the edges of those areas.
QMargins FrameMargins(const QWidget& window);
void SetOuterSize(QWidget& window, QSize outerPixels);
QSize OuterSize(const QWidget& window);

}  // namespace nimbo
