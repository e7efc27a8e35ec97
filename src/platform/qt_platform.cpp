#include <QDesktopServices>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QUrl>

#include "platform/platform.h"

namespace nimbo {

void QtPlatform::showMessage(QWidget* parent, const QString& title, const QString& text,
                             MessageIcon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None: boxIcon = QMessageBox::NoIcon; break;
    case MessageIcon::Information: boxIcon = QMessageBox::Information; break;
    case MessageIcon::Warning: boxIcon = QMessageBox::Warning; break;
    case MessageIcon::Critical: boxIcon = QMessageBox::Critical; break;
    }
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, parent);
    // Messages name files and addresses; the user may want to copy them.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

bool QtPlatform::openUrl(const QString& address)
{
    // Reports only whether the desktop found a handler; what the browser
    // does afterwards is not waited for.
    return QDesktopServices::openUrl(QUrl(address));
}

char QtPlatform::decimalSeparator() const
{
    return QLocale().decimalPoint() == QLatin1String(",") ? ',' : '.';
}

QString QtPlatform::chooseSaveFile(QWidget* parent, const QString& title, const QString& suggested,
                                   const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

bool QtPlatform::choosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString QtPlatform::userDataFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

}  // namespace nimbo
