#include <QDesktopServices>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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

QString QtPlatform::chooseOpenFile(QWidget* parent, const QString& title, const QString& suggested,
                                   const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, suggested, filter);
}

SaveAnswer QtPlatform::askToSave(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
        return SaveAnswer::Save;
    return box.clickedButton() == discard ? SaveAnswer::Discard : SaveAnswer::Cancel;
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
