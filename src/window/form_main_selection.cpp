// The selection cascade (type, model, size), the three option groups, the
// calculation variant and the clearing of results on every change.
//
// Step order matters in every handler here: selecting an option from code
// runs its select handler at once (toggled), and setting TxtBx_V runs its
// change handler, so a later step may undo or redo what an earlier one did.
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>

#include "catalogue/site.h"
#include "platform/platform.h"
#include "select/offered_options.h"
#include "window/clickable_label.h"
#include "window/form_main.h"

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetRowTip(const auto& row, const QString& tip)
{
    for (QWidget* w : {static_cast<QWidget*>(row.caption), static_cast<QWidget*>(row.box),
                       static_cast<QWidget*>(row.unit)})
        w->setToolTip(tip);
}

// The number stored with a list entry, or 0 when the entry has none.
int EntryNumber(const QComboBox& combo, int index)
{
    if (index < 0 || index >= combo.count())
        return 0;
    bool ok = false;
    const int number = combo.itemData(index).toInt(&ok);
    return ok ? number : 0;
}

}  // namespace

void Form_Main::Cmb_TipVR_Click(int index)
{
    const QString typeText = (index >= 0 && index < Cmb_TipVR->count()) ? Cmb_TipVR->itemText(index)
                                                                        : Cmb_TipVR->currentText();
    const std::string type = typeText.toStdString();
    int firstRow = 0;
    for (int r = 1; r <= catalogue_.recordCount(); ++r) {
        if (catalogue_.typeName(r) == type) {
            firstRow = r;
            break;
        }
    }
    // Only a damaged list could name a type the catalogue lacks; such a pick
    // is ignored rather than leaving the window pointing at no row.
    if (firstRow == 0)
        return;

    pointLinkHome();
    Frm_FV->hide();
    ResetAllResult();
    for (QWidget* frame : {static_cast<QWidget*>(Frm_KSD), static_cast<QWidget*>(Frm_RegRash),
                           static_cast<QWidget*>(Frm_RegForm), static_cast<QWidget*>(Frm_Dlina),
                           static_cast<QWidget*>(Frm_Rzmr), static_cast<QWidget*>(Frm_Tprzmr)})
        frame->hide();
    Cmb_VidVR->show();
    Cmb_VidVR->clear();
    setPrompt(Cmb_VidVR, QStringLiteral("Выбор воздухораспределителя"));

    selection_.row = firstRow;
    selection_.modelChosen = false;
    selection_.sizeChosen = false;
    showPicture(Text(catalogue_.typePictureName(firstRow)));

    for (int i = 1; i <= catalogue_.recordCount(); ++i) {
        if (catalogue_.typeName(i) == type)
            addSortedItem(Cmb_VidVR, Text(catalogue_.modelName(i)), i);
    }
}

void Form_Main::Cmb_VidVR_Click(int index)
{
    // Each entry carries the row it was listed from, so two models of the
    // same name each lead to their own row.
    const int row = EntryNumber(*Cmb_VidVR, index);
    if (row < 1 || row > catalogue_.recordCount())
        return;

    ResetAllResult();
    selection_.row = 0;
    selection_.sizeIndex = 1;
    selection_.modelChosen = true;
    selection_.sizeChosen = false;
    Lbl_URL->setText(QStringLiteral("ВР на ") + QString::fromLatin1(nimbo::site::kDomain));
    Lbl_URL->setToolTip(QStringLiteral("Описание выбранного воздухораспределителя на сайте ") +
                        QString::fromLatin1(nimbo::site::kDomain));

    Frm_KSD->hide();
    Opt_KSD[0]->show();
    Opt_KSD[2]->show();
    Frm_RegRash->hide();
    Frm_RegForm->hide();
    for (int k = 1; k < 4; ++k)
        Opt_RegForm[k]->show();
    Opt_RegForm[0]->setChecked(true);

    // Emptying the list empties its text too: no size stays shown from the
    // previous model.
    Cmb_Tprzmr->clear();
    setPrompt(Cmb_Tprzmr, QString());
    selection_.row = row;
    const nimbo::SizeLine first = catalogue_.line(row, 1);
    showPicture(Text(first.sizePictureName()));
    siteAddress_ = Text(catalogue_.pageAddress(row));

    setRegulatorCaptions(first, true);

    const nimbo::SizeMode mode = catalogue_.sizeMode(row);
    if (mode != nimbo::SizeMode::Listed) {
        Frm_Tprzmr->hide();
        Frm_Dlina->setVisible(mode == nimbo::SizeMode::Slot);
        Frm_Rzmr->setVisible(mode == nimbo::SizeMode::Free);
        plenumSetup(1, false);
        jetFormSetup(1);
    } else {
        Frm_Rzmr->hide();
        Frm_Tprzmr->show();
        Frm_Dlina->hide();
        const int sizes = nimbo::OfferedSizes(catalogue_, row);
        for (int k = 1; k <= sizes; ++k)
            Cmb_Tprzmr->addItem(Text(catalogue_.sizeDesignation(row, k)), k);
        // Filling an empty list makes its first entry current; like the model
        // list, it shows nothing picked until the user picks a size.
        Cmb_Tprzmr->setCurrentIndex(-1);
    }
    fallBackFromMissingOptions();
}

void Form_Main::Cmb_Tprzmr_Click(int index)
{
    // The entry carries its own size index: a designation listed twice
    // selects the line it was listed from.
    const int sizeIndex = EntryNumber(*Cmb_Tprzmr, index);
    // Per-size values exist only up to line 200; a pick beyond (possible only
    // with a damaged catalogue) is ignored and the previous size stays current.
    if (sizeIndex < 1 || sizeIndex > nimbo::kMaxSizeLines || selection_.row < 1)
        return;

    ResetAllResult();
    Frm_RegRash->hide();
    selection_.sizeIndex = sizeIndex;
    selection_.sizeChosen = true;
    setRegulatorCaptions(catalogue_.line(selection_.row, sizeIndex), false);
    plenumSetup(sizeIndex, true);
    jetFormSetup(sizeIndex);
    fallBackFromMissingOptions();
}

void Form_Main::plenumSetup(int sizeIndex, bool sizeChoiceForm)
{
    const nimbo::SizeLine line = catalogue_.line(selection_.row, sizeIndex);
    const nimbo::PlenumOffer offer = nimbo::PlenumOfferOf(line);
    if (offer.shown) {
        Frm_KSD->show();
        if (!offer.withoutPlenum)
            Opt_KSD[0]->hide();
        if (!offer.withRegulator)
            Opt_KSD[2]->hide();
        const int before = Opt_KSD[2]->isChecked() ? 3 : Opt_KSD[1]->isChecked() ? 2 : 1;
        const int choice = nimbo::PlenumSetupChoice(offer, before);
        if (choice != before)
            Opt_KSD[choice - 1]->setChecked(true);
        if (nimbo::RegulatorGroupShown(line, offer, choice)) {
            Frm_RegRash->show();
            Frm_RegRash->setTitle(QStringLiteral("Рег. расх. КСД"));
            if (sizeChoiceForm)
                showOfferedPositions(line);
        }
    } else {
        Frm_KSD->hide();
        Frm_RegRash->setTitle(QStringLiteral("Рег. расх. ВР"));
        Frm_RegRash->setVisible(nimbo::RegulatorGroupShown(line, offer, 0));
    }
}

void Form_Main::jetFormSetup(int sizeIndex)
{
    const nimbo::SizeLine line = catalogue_.line(selection_.row, sizeIndex);
    if (!nimbo::JetFormGroupShown(line)) {
        Frm_RegForm->hide();
        return;
    }
    Frm_RegForm->show();
    for (int k = 1; k <= 4; ++k)
        Opt_RegForm[k - 1]->setText(Text(line.jetCaption(k)));
    for (int k = 2; k <= 4; ++k)
        Opt_RegForm[k - 1]->setVisible(nimbo::JetFormOffered(line, k));
}

// A jet-form option or a regulator position that the new size does not offer
// must not stay selected while hidden: the calculation would use values the
// catalogue does not hold for this size.
void Form_Main::fallBackFromMissingOptions()
{
    const nimbo::SizeLine line = catalogue_.line(selection_.row, selection_.sizeIndex);
    for (int k = 2; k <= 4; ++k) {
        if (Opt_RegForm[k - 1]->isChecked() && !nimbo::JetFormOffered(line, k))
            Opt_RegForm[0]->setChecked(true);
    }
    for (int p = 2; p <= 5; ++p) {
        if (Opt_RegRash[p - 1]->isChecked() && !nimbo::RegulatorPositionOffered(line, p))
            Opt_RegRash[0]->setChecked(true);
    }
}

void Form_Main::setRegulatorCaptions(const nimbo::SizeLine& line, bool hideMissing)
{
    for (int p = 1; p <= 5; ++p)
        Opt_RegRash[p - 1]->setText(Text(line.regCaption(p)));
    if (hideMissing)
        showOfferedPositions(line);
}

void Form_Main::showOfferedPositions(const nimbo::SizeLine& line)
{
    for (int p = 4; p <= 5; ++p)
        Opt_RegRash[p - 1]->setVisible(nimbo::RegulatorPositionOffered(line, p));
}

void Form_Main::pointLinkHome()
{
    siteAddress_ = QString::fromLatin1(nimbo::site::kAddress);
    Lbl_URL->setText(siteAddress_);
    Lbl_URL->setToolTip(QStringLiteral("Переход на сайт ") + QString::fromLatin1(nimbo::site::kDomain));
}

void Form_Main::showPicture(const QString& baseName)
{
    const QString path = QDir(folder_).filePath(QStringLiteral("jpg/") + baseName + QStringLiteral(".jpg"));
    const QPixmap picture = platform_.loadPicture(path);
    // A missing or unreadable picture leaves the area empty; nothing else
    // depends on it.
    if (picture.isNull())
        Img_VR->clear();
    else
        Img_VR->setPixmap(picture);
    pictureName_ = picture.isNull() ? QString() : baseName;
}

void Form_Main::Opt_KSD_Select(int option)
{
    ResetResult();
    Frm_RegRash->setVisible(option == 3);
    const nimbo::SizeLine line = catalogue_.line(selection_.row, selection_.sizeIndex);
    if (option == 1) {
        for (int k = 3; k <= 4; ++k)
            if (nimbo::JetFormOffered(line, k))
                Opt_RegForm[k - 1]->show();
    } else if (option == 3) {
        Frm_RegRash->setTitle(QStringLiteral("Рег. расх. КСД"));
        setRegulatorCaptions(line, true);
    }
}

void Form_Main::Opt_RegForm_Select(int)
{
    ResetAllResult();
}

void Form_Main::Opt_RegRash_Select(int)
{
    ResetResult();
}

namespace {

// The captions and units come from the engine's words of the variant.
struct VariantTexts {
    const char* tipV;
    const char* defaultV;
    const char* tipX;
};

constexpr VariantTexts kVariantTexts[2] = {
    {"Скорость для расчета дальнобойности", "0.2", "Дальнобойность струи для заданной Vx"},
    {"Расстояние от воздухораспределителя", "3.5",
     "Скорость приточной струи на расстоянии X от воздухораспределителя"},
};

}  // namespace

void Form_Main::Opt_Var_Select(int variant)
{
    if (variant != 1 && variant != 2)
        return;
    const VariantTexts& t = kVariantTexts[variant - 1];
    const nimbo::VariantWords& words = nimbo::VariantWordsOf(variant);

    const ValueRow& input = inputs_[kSpeedRow];
    const ValueRow& jet = results_[kJetRow];
    input.caption->setText(Text(words.inputLabel));
    // The last result becomes the next input: a throw is the distance to ask
    // about, a velocity at a distance is the velocity to ask the throw for.
    const QString result = jet.box->text();
    const QString carried = (result != QStringLiteral("-") && !result.isEmpty())
                                ? result
                                : QString::fromUtf8(t.defaultV);
    // Setting the input always counts as an edit of it, even when the text
    // stays the same and Qt therefore reports no change.
    if (input.box->text() == carried)
        ResetResult();
    else
        input.box->setText(carried);
    input.unit->setText(Text(words.inputUnit));
    jet.caption->setText(Text(words.resultLabel));
    jet.box->setText(QString());
    jet.unit->setText(Text(words.resultUnit));
    SetRowTip(input, QString::fromUtf8(t.tipV));
    SetRowTip(jet, QString::fromUtf8(t.tipX));

    log_->variantSwitched(variant);
}

void Form_Main::ResetResult()
{
    for (const ValueRow& row : results_)
        row.box->setText(QString());
    skrtClicks_ = 0;
}

void Form_Main::ResetAllResult()
{
    for (const ValueRow& row : results_)
        row.box->setText(QString());
    for (const ValueRow& row : sections_)
        row.box->setText(QString());
    skrtClicks_ = 0;
}
