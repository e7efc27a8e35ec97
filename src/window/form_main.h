#pragma once
// The program's only window. It owns the catalogue, the selection state, the
// result controls and the log list; every control event has one handler.
// The work of each handler lives in the file named for its concern:
//   form_main_layout.cpp     controls, places, captions, tooltips
//   form_main_startup.cpp    start-up sequence
//   form_main_selection.cpp  type/model/size choice, option groups, variant, input edits, result clearing
//   form_main_calculate.cpp  "Считай!" and the log record
//   form_main_extras.cpp     log strip and list commands, site link, coefficient panel
//   form_main_report.cpp     each entry's calculation, the log menu, the report
//   form_main_typed.cpp      typed text in the choice lists, pasted lines in the input boxes
//   form_main_log_place.cpp  where the log file lives, and the lock against a second copy
//   form_main_podbor.cpp     the size finder's button and its picks in this window
#include <QMargins>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <string>
#include <vector>
#include <memory>

#include "calc/calculation.h"
#include "catalogue/catalogue.h"
#include "log/log_file.h"
#include "report/calculation_sheet.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QLockFile;
class QPushButton;
class QRadioButton;
class Form_Podbor;

namespace nimbo {
class Platform;
}
namespace nimbo::report {
struct Heading;
}

// The maker's site: a fictional maker, so a reserved domain.
namespace nimbo::site {
inline constexpr const char* kAddress = "https://www.timbra.example/";
inline constexpr const char* kDomain = "timbra.example";
}  // namespace nimbo::site

class Form_Main : public QWidget {
    Q_OBJECT
public:
    Form_Main(const QString& programFolder, nimbo::Platform& platform, QWidget* parent = nullptr);
    ~Form_Main() override;

    // The start-up sequence. On failure it reports the error (stderr and a
    // message box) and returns false; the window must then not be shown.
    bool startUp();

    const nimbo::Catalogue& catalogue() const { return catalogue_; }
    const nimbo::Selection& selection() const { return selection_; }
    const QString& currentSiteAddress() const { return siteAddress_; }
    int skrtClicks() const { return skrtClicks_; }
    const QString& programFolder() const { return folder_; }

    // form_main_podbor.cpp
    // What the window would calculate now: the finder starts from it.
    nimbo::Snapshot currentSnapshot() const { return takeSnapshot(); }
    // A candidate of the size finder, picked as a user picks it: type, model,
    // size or typed size, options, variant, typed inputs, then "Считай!".
    struct Picks {
        int row = 0, sizeIndex = 0;
        int ksd = 1, regForm = 1, regRash = 1;
        int variant = 1;
        nimbo::Inputs inputs;
    };
    void pickAndCalculate(const Picks& picks);
    void openPodbor();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // form_main_layout.cpp
    void buildControls();
    void connectHandlers();
    // Adds an entry to a sorted list (Cmb_TipVR, Cmb_VidVR) at its
    // alphabetical place: case-insensitive in the user's language; entries
    // that compare equal keep the order in which they were added. Returns the
    // index of the new entry.
    static int addSortedItem(QComboBox* box, const QString& text, const QVariant& data = {});

    // form_main_podbor.cpp
    void buildPodborButton();
    void pickEntry(QComboBox* box, int entry, void (Form_Main::*handler)(int));

    // form_main_startup.cpp
    void reportStartUpFailure(const QString& text);

    // form_main_log_place.cpp
    enum class LogPlace { InUse, Taken, Unusable };
    // Takes the folder's Nimbo.csv for this run: locked, the earlier log
    // kept, emptied with the first header. Otherwise `problem` says why.
    LogPlace tryLogPlace(const QString& folder, bool create, QString& problem);
    // The program folder, else the user's data folder; reports a failure.
    bool openLog();

    // form_main_selection.cpp
    void Cmb_TipVR_Click(int index);
    void Cmb_VidVR_Click(int index);
    void Cmb_Tprzmr_Click(int index);
    void plenumSetup(int sizeIndex, bool sizeChoiceForm);
    void jetFormSetup(int sizeIndex);
    void fallBackFromMissingOptions();
    void showPicture(const QString& baseName);
    void Opt_KSD_Select(int option);
    void Opt_RegForm_Select(int option);
    void Opt_RegRash_Select(int option);
    void Opt_Var_Select(int variant);
    void ResetResult();
    void ResetAllResult();

    // form_main_typed.cpp
    void guardTypedTexts();
    // The text a choice list shows while nothing is picked in it.
    static void setPrompt(QComboBox* box, const QString& text);
    static void restorePickedText(QComboBox* box);
    void restorePickedTexts();
    void restoreOnFocusOut(QObject* watched, QEvent* event);

    // form_main_calculate.cpp
    void Cmd_Start_Click();
    nimbo::Snapshot takeSnapshot() const;

    // form_main_extras.cpp
    void Chk_Log_Click();
    void Cmd_DelStr_Click();
    void Cmd_Clear_Click();
    void Lbl_URL_Click();
    void OpenSite(const QString& address);
    void Img_VR_Click();
    void Cmd_skrt_Click();
    // The marked log entries to the clipboard, one a line, in list order.
    void copyEntries();
    void applyOuterSize();
    // Enter runs the calculation, Tab order, accessible names, Ctrl+C in the
    // log, keyboard use of the link; called once at the end of construction.
    void applyDesktopConventions();
    void refreshAccessibleNames();
    // Tab reaches the log strip and the panel only while they are on screen.
    void updateReach();

    // form_main_report.cpp
    void setUpReport();
    // Gives the newest list entry the calculation the window shows; size is
    // the size text of its log record.
    void keepSheet(const std::string& size);
    nimbo::CalculationSheet takeSheet(const std::string& size) const;
    void showLogMenu(const QPoint& position);
    // The calculations of the marked entries, or of all when none is marked.
    std::vector<nimbo::CalculationSheet> reportSheets() const;
    nimbo::report::Heading reportHeading() const;
    void Mnu_SavePdf_Click();
    void Mnu_Print_Click();

    QString folder_;
    nimbo::Platform& platform_;
    nimbo::Catalogue catalogue_;
    nimbo::LogFile logFile_;
    std::unique_ptr<QLockFile> logLock_;  // held for the whole run
    nimbo::Selection selection_;
    QString siteAddress_;
    int skrtClicks_ = 0;  // 16-bit in spirit: stops at 32767
    // The variant whose header the log file could not take at a switch; it
    // is written before the next data line, so that the line stands under
    // the header of its own variant. 0 when none is owed.
    int owedHeader_ = 0;
    int outerWidthTwips_ = 8000;
    int outerHeightTwips_ = 6900;
    // The window frame the outer size was last computed with; when the window
    // manager reports a different one after showing, the size is set again.
    QMargins appliedFrame_;
    // The picture Img_VR shows, by its base name; "" while it shows none.
    QString pictureName_;
    QString reportFolder_;  // where the last report was saved
    QObject logWatch_;      // the context of the log menu's connections

    // Controls, named as their objectName.
    QComboBox* Cmb_TipVR = nullptr;
    QComboBox* Cmb_VidVR = nullptr;
    QGroupBox* Frm_Rzmr = nullptr;
    QLabel* Lbl_A = nullptr;
    QLineEdit* TxtBx_A = nullptr;
    QLabel* Lbl_B = nullptr;
    QLineEdit* TxtBx_B = nullptr;
    QGroupBox* Frm_Tprzmr = nullptr;
    QComboBox* Cmb_Tprzmr = nullptr;
    QGroupBox* Frm_Dlina = nullptr;
    QLineEdit* TxtBx_Dlina = nullptr;
    QLabel* Img_VR = nullptr;
    QGroupBox* Frm_KSD = nullptr;
    QRadioButton* Opt_KSD[3] = {};
    QGroupBox* Frm_RegForm = nullptr;
    QRadioButton* Opt_RegForm[4] = {};
    QGroupBox* Frm_RegRash = nullptr;
    QRadioButton* Opt_RegRash[5] = {};
    QLabel* Lbl_URL = nullptr;
    QGroupBox* Frm_Var = nullptr;
    QRadioButton* Opt_Var1 = nullptr;
    QRadioButton* Opt_Var2 = nullptr;
    QGroupBox* Frm_Ish = nullptr;
    QLabel *Lbl_L = nullptr, *Lbl_RL = nullptr, *Lbl_V = nullptr, *Lbl_RV = nullptr;
    QLineEdit *TxtBx_L = nullptr, *TxtBx_V = nullptr;
    QPushButton* Cmd_Start = nullptr;
    QCheckBox* Chk_Log = nullptr;
    QGroupBox* Frm_rez = nullptr;
    QLabel *Lbl_p = nullptr, *Lbl_RP = nullptr, *Lbl_x = nullptr, *Lbl_Rll = nullptr,
           *Lbl_LwA = nullptr, *Lbl_RLwA = nullptr;
    QLineEdit *TxtBx_p = nullptr, *TxtBx_x = nullptr, *TxtBx_LwA = nullptr;
    QGroupBox *Frm_FV = nullptr, *Frm_RS = nullptr, *Frm_SV = nullptr, *Frm_JS = nullptr;
    QLabel *Lbl_F0 = nullptr, *Lbl_m2 = nullptr, *Lbl_V0 = nullptr, *Lbl_ms = nullptr;
    QLabel *Lbl_Fv = nullptr, *Lbl_m22 = nullptr, *Lbl_Vv = nullptr, *Lbl_mms = nullptr;
    QLabel *Lbl_Fjs = nullptr, *Lbl_m222 = nullptr, *Lbl_Vjs = nullptr, *Lbl_mmms = nullptr;
    QLineEdit *TxtBx_F0 = nullptr, *TxtBx_V0 = nullptr, *TxtBx_Fv = nullptr, *TxtBx_Vv = nullptr,
              *TxtBx_Fjs = nullptr, *TxtBx_Vjs = nullptr;
    QListWidget* LstBx_Log = nullptr;
    QPushButton *Cmd_DelStr = nullptr, *Cmd_Clear = nullptr;
    QLabel* Lbl_Log = nullptr;
    QMenu* Mnu_Log = nullptr;
    QGroupBox* Frm_skrt = nullptr;
    QLabel *Lbl_m = nullptr, *Lbl_mData = nullptr, *Lbl_Dzeta = nullptr, *Lbl_DzetaData = nullptr,
           *Lbl_kr = nullptr, *Lbl_krData = nullptr, *Lbl_Fm = nullptr, *Lbl_FmData = nullptr,
           *Lbl_mm2 = nullptr, *Lbl_Fz = nullptr, *Lbl_FzData = nullptr, *mmm2 = nullptr;
    QPushButton* Cmd_skrt = nullptr;
    QPushButton* Cmd_Podbor = nullptr;
    Form_Podbor* podbor_ = nullptr;
};
