// "Считай!": collect what the window shows, let the engine compute, write the
// texts back, then make the record — file line first, list entry second.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <array>

#include "form_main.h"
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

template <std::size_t N, std::size_t M>
void CopyCaptions(QRadioButton* const (&options)[N], std::array<std::string, M>& captions)
{
    static_assert(N == M);
    for (std::size_t i = 0; i < N; ++i)
        captions[i] = Std(options[i]->text());
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

nimbo::Snapshot Form_Main::takeSnapshot() const
{
    nimbo::Snapshot s;
    s.catalogue = &catalogue_;
    s.selection = selection_;
    const auto boxes = inputBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        s.inputs.*kInputTexts[i] = Std(boxes[i]->text());
    s.variant = Opt_Var[1]->isChecked() ? 2 : 1;

    nimbo::OptionState& o = s.options;
    o.ksdVisible = !Frm_KSD->isHidden();
    o.regFormVisible = !Frm_RegForm->isHidden();
    o.regRashVisible = !Frm_RegRash->isHidden();
    o.ksd = SelectedOption(Opt_KSD);
    o.regForm = SelectedOption(Opt_RegForm);
    o.regRash = SelectedOption(Opt_RegRash);
    o.regForm1Visible = !Opt_RegForm[0]->isHidden();
    CopyCaptions(Opt_KSD, o.ksdCaptions);
    CopyCaptions(Opt_RegForm, o.regFormCaptions);
    CopyCaptions(Opt_RegRash, o.regRashCaptions);

    nimbo::Sections& sec = s.sections;
    sec.fvVisible = !Frm_FV->isHidden();
    sec.svVisible = !sectionFrames_[1]->isHidden();
    sec.jsVisible = !sectionFrames_[2]->isHidden();
    for (std::size_t i = 0; i < std::size(sections_); ++i)
        sec.*kSectionTexts[i] = Std(sections_[i].box->text());

    // What the record copies as the user sees it.
    const ValueRow& input = inputs_[kSpeedRow];
    const ValueRow& jet = results_[kJetRow];
    // A record names the entries picked, whatever was typed over them since.
    s.record = {Std(pickedText(*Cmb_VidVR)), Std(pickedText(*Cmb_Tprzmr)),
                !Frm_Rzmr->isHidden(), !Frm_Dlina->isHidden(),
                Std(input.caption->text()), Std(input.unit->text()), Std(jet.caption->text()), Std(jet.unit->text())};
    s.decimalSeparator = platform_.decimalSeparator();
    return s;
}

void Form_Main::Cmd_Start_Click()
{
    // Only picked entries label a record: the calculation uses them. The
    // button takes the focus from a box, so a typed entry is picked first.
    settleTypedTexts();
    const nimbo::Outcome out = nimbo::Calculate(takeSnapshot());
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
    Frm_FV->setVisible(sec.fvVisible);
    sectionFrames_[1]->setVisible(sec.svVisible);
    sectionFrames_[2]->setVisible(sec.jsVisible);
    for (std::size_t i = 0; i < std::size(sections_); ++i)
        sections_[i].box->setText(Q(sec.*kSectionTexts[i]));

    // The results and the list entry stay even when the file cannot take the
    // line: the user is told, and the next calculation tries the file again.
    nimbo::WriteResult written;
    if (owedHeader_ != 0) {
        written = logFile_.writeHeader(owedHeader_, nimbo::WriteMode::Append);
        if (written)
            owedHeader_ = 0;
    }
    if (written)
        written = logFile_.appendDataLine(out.record);
    LstBx_Log->addItem(Q(out.record.listLine()));
    keepSheet(out.record.size);
    LstBx_Log->scrollToBottom();
    if (!written)
        platform_.showMessage(this, QStringLiteral("Журнал расчетов"),
                              QStringLiteral("Расчет выполнен, но строка не записана в файл журнала.\n") +
                                  Q(written.error),
                              nimbo::MessageIcon::Warning);
}
