// "Считай!": collect what the window shows, let the engine compute, write the
// texts back, then make the record — file line first, list entry second.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <utility>

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

}  // namespace

nimbo::Snapshot Form_Main::takeSnapshot() const
{
    nimbo::Snapshot s;
    s.catalogue = &catalogue_;
    s.selection = selection_;
    s.inputs = {Std(TxtBx_L->text()), Std(TxtBx_V->text()), Std(TxtBx_A->text()),
                Std(TxtBx_B->text()), Std(TxtBx_Dlina->text())};
    s.variant = Opt_Var2->isChecked() ? 2 : 1;

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
    sec.svVisible = !Frm_SV->isHidden();
    sec.jsVisible = !Frm_JS->isHidden();
    sec.F0 = Std(TxtBx_F0->text());
    sec.V0 = Std(TxtBx_V0->text());
    sec.Fv = Std(TxtBx_Fv->text());
    sec.Vv = Std(TxtBx_Vv->text());
    sec.Fjs = Std(TxtBx_Fjs->text());
    sec.Vjs = Std(TxtBx_Vjs->text());

    // What the record copies as the user sees it.
    s.record = {Std(Cmb_VidVR->currentText()), Std(Cmb_Tprzmr->currentText()),
                !Frm_Rzmr->isHidden(), !Frm_Dlina->isHidden(),
                Std(Lbl_V->text()), Std(Lbl_RV->text()), Std(Lbl_x->text()), Std(Lbl_Rll->text())};
    s.decimalSeparator = platform_.decimalSeparator();
    return s;
}

void Form_Main::Cmd_Start_Click()
{
    // Only picked entries label a record: the calculation uses them.
    restorePickedTexts();
    const nimbo::Outcome out = nimbo::Calculate(takeSnapshot());
    if (!out.ok) {
        platform_.showMessage(this, QStringLiteral("Расчет невозможен"), Q(out.message),
                              nimbo::MessageIcon::Warning);
        return;
    }

    const nimbo::DisplayTexts& t = out.texts;
    for (const auto& [box, text] : {std::pair{TxtBx_x, &t.x}, std::pair{TxtBx_p, &t.p}, std::pair{TxtBx_LwA, &t.LwA}})
        box->setText(Q(*text));
    for (const auto& [label, text] : {std::pair{Lbl_mData, &t.mData}, std::pair{Lbl_krData, &t.krData},
                                      std::pair{Lbl_DzetaData, &t.dzetaData}, std::pair{Lbl_FmData, &t.fmData},
                                      std::pair{Lbl_FzData, &t.fzData}})
        label->setText(Q(*text));

    const nimbo::Sections& sec = out.sections;
    Frm_FV->setVisible(sec.fvVisible);
    Frm_SV->setVisible(sec.svVisible);
    Frm_JS->setVisible(sec.jsVisible);
    TxtBx_F0->setText(Q(sec.F0));
    TxtBx_V0->setText(Q(sec.V0));
    TxtBx_Fv->setText(Q(sec.Fv));
    TxtBx_Vv->setText(Q(sec.Vv));
    TxtBx_Fjs->setText(Q(sec.Fjs));
    TxtBx_Vjs->setText(Q(sec.Vjs));

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
