// "Считай!": collect what the window shows, let the engine compute, write the
// texts back, then make the record and hand it to the log strip.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <array>

#include "form_main.h"
#include "log/record_of.h"
#include "platform/platform.h"

namespace {

std::string Std(const QString& s) { return s.toStdString(); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

// The 1-based number of the selected option of a group; 0 when none is.
template <std::size_t N>
int SelectedOption(QRadioButton* const (&options)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked())
            return static_cast<int>(i) + 1;
    return 0;
}

// The caption of the selected option; "" when none is.
template <std::size_t N>
std::string SelectedCaption(QRadioButton* const (&options)[N])
{
    const int selected = SelectedOption(options);
    return selected == 0 ? std::string() : Std(options[selected - 1]->text());
}

// The texts of the rows, in the order of the window's row arrays.
constexpr std::string nimbo::DisplayTexts::* kResultTexts[] = {
    &nimbo::DisplayTexts::p, &nimbo::DisplayTexts::x, &nimbo::DisplayTexts::LwA};
constexpr std::string nimbo::DisplayTexts::* kPanelTexts[] = {
    &nimbo::DisplayTexts::mData, &nimbo::DisplayTexts::dzetaData, &nimbo::DisplayTexts::krData,
    &nimbo::DisplayTexts::fmData, &nimbo::DisplayTexts::fzData};
constexpr std::string nimbo::Sections::* kSectionTexts[] = {
    &nimbo::Sections::F0, &nimbo::Sections::V0, &nimbo::Sections::Fv,
    &nimbo::Sections::Vv, &nimbo::Sections::Fjs, &nimbo::Sections::Vjs};
constexpr std::string nimbo::Inputs::* kInputTexts[] = {
    &nimbo::Inputs::L, &nimbo::Inputs::V, &nimbo::Inputs::A, &nimbo::Inputs::B, &nimbo::Inputs::Dlina};

}  // namespace

std::array<QLineEdit*, 5> Form_Main::inputBoxes() const
{
    return {inputs_[kFlowRow].box, inputs_[kSpeedRow].box, sizes_[kSizeA].box, sizes_[kSizeB].box, TxtBx_Dlina};
}

nimbo::Choice Form_Main::currentChoice() const
{
    nimbo::Choice c;
    c.selection = selection_;
    const auto boxes = inputBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        c.inputs.*kInputTexts[i] = Std(boxes[i]->text());
    c.variant = Opt_Var[1]->isChecked() ? 2 : 1;

    // A group applies while the size offers it, which is while it shows.
    nimbo::OptionState& o = c.options;
    o.ksdApplies = !Frm_KSD->isHidden();
    o.regFormApplies = !Frm_RegForm->isHidden();
    o.regRashApplies = !Frm_RegRash->isHidden();
    o.ksd = SelectedOption(Opt_KSD);
    o.regForm = SelectedOption(Opt_RegForm);
    o.regRash = SelectedOption(Opt_RegRash);
    o.regForm1Offered = !Opt_RegForm[0]->isHidden();

    // A choice is named by the entries picked, whatever was typed over them since.
    c.shown = {Std(pickedText(*Cmb_TipVR)), Std(pickedText(*Cmb_VidVR)), Std(pickedText(*Cmb_Tprzmr)),
               !Frm_Rzmr->isHidden(), !Frm_Dlina->isHidden(),
               SelectedCaption(Opt_KSD), SelectedCaption(Opt_RegForm), SelectedCaption(Opt_RegRash),
               Std(Frm_RegRash->title())};
    return c;
}

nimbo::Calculation Form_Main::currentCalculation() const
{
    nimbo::Calculation calculation;
    calculation.catalogue = &catalogue_;
    calculation.choice = currentChoice();
    nimbo::Sections& sec = calculation.shownBefore;
    sec.fvShown = !Frm_FV->isHidden();
    sec.svShown = !sectionFrames_[1]->isHidden();
    sec.jsShown = !sectionFrames_[2]->isHidden();
    for (std::size_t i = 0; i < std::size(sections_); ++i)
        sec.*kSectionTexts[i] = Std(sections_[i].box->text());
    calculation.decimalSeparator = platform_.decimalSeparator();
    return calculation;
}

void Form_Main::Cmd_Start_Click()
{
    // Only picked entries label a record: the calculation uses them. The
    // button takes the focus from a box, so a typed entry is picked first.
    settleTypedTexts();
    const nimbo::Calculation calculation = currentCalculation();
    const nimbo::Outcome out = nimbo::Calculate(calculation);
    if (!out.ok) {
        platform_.showMessage(this, QStringLiteral("Расчет невозможен"), Q(out.message),
                              nimbo::MessageIcon::Warning);
        return;
    }

    for (std::size_t i = 0; i < std::size(results_); ++i)
        results_[i].box->setText(Q(out.texts.*kResultTexts[i]));
    for (std::size_t i = 0; i < std::size(panelValues_); ++i)
        panelValues_[i]->setText(Q(out.texts.*kPanelTexts[i]));

    const nimbo::Sections& sec = out.sections;
    Frm_FV->setVisible(sec.fvShown);
    sectionFrames_[1]->setVisible(sec.svShown);
    sectionFrames_[2]->setVisible(sec.jsShown);
    for (std::size_t i = 0; i < std::size(sections_); ++i)
        sections_[i].box->setText(Q(sec.*kSectionTexts[i]));

    // The results stay even when the log file cannot take the record.
    const nimbo::LogRecord record = nimbo::RecordOf(calculation.choice, out);
    nimbo::CalculationSheet sheet =
        nimbo::SheetOf(sheetWords_, calculation.choice, out, record.size, pictureName_.toStdString());
    addCharts(sheet, out, calculation.choice.variant);
    log_->record(record, sheet);
}
