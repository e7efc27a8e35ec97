// The start-up sequence: runs once, before the window is first shown. Its
// order matters: the log file is emptied before the catalogue is read, so a
// failed catalogue still leaves a fresh log file, and a log file that cannot
// be written stops everything before the catalogue is touched.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <cstdio>

#include "calc/numbers.h"
#include "platform/platform.h"
#include "window/form_main.h"

void Form_Main::reportStartUpFailure(const QString& text)
{
    // Both: a message box for the user at the desktop, stderr for whoever
    // started the program from a console or a script.
    const QByteArray line = text.toUtf8() + '\n';
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
    platform_.showMessage(this, QStringLiteral("Нимбо"), text, nimbo::MessageIcon::Critical);
}

bool Form_Main::startUp()
{
    // 1. The normal size: log strip and coefficient panel outside the view.
    outerWidthTwips_ = kNormalWidth;
    outerHeightTwips_ = kNormalHeight;
    applyOuterSize();

    // 2. The default picture; without it the area stays empty.
    showPicture(QStringLiteral("Timbra"));

    // 3. The site link points at the maker's home page.
    pointLinkHome();

    // 4.-5. The default inputs, Vx in the user's own number format.
    inputs_[kSpeedRow].box->setText(QString::fromStdString(nimbo::NumberText(0.2, platform_.decimalSeparator())));
    inputs_[kFlowRow].box->setText(QStringLiteral("1000"));

    // 6.
    Frm_FV->hide();

    // 7. A fresh log file holding the variant-1 header, in the program
    // folder or else in the user's own; refused while another copy runs.
    if (QString failure; !log_->open(failure)) {
        reportStartUpFailure(failure);
        return false;
    }

    // 8. The catalogue and the type list.
    nimbo::LoadError error;
    if (!nimbo::LoadCatalogue(nimbo::FileSystemPath(folder_), catalogue_, error)) {
        reportStartUpFailure(QString::fromStdString(error.message()));
        return false;
    }
    for (const std::string& type : catalogue_.typeNames())
        addSortedItem(Cmb_TipVR, QString::fromStdString(type));

    // 9. Nothing chosen yet: the list shows its prompt.
    Cmb_TipVR->setCurrentIndex(-1);
    setPrompt(Cmb_TipVR, QStringLiteral("Тип воздухораспределителя"));
    return true;
}
