#pragma once
// The program's only window. It owns the catalogue, the selection state, the
// result controls and the log list; every control event has one handler.
// The work of each handler lives in the file named for its concern:
//   form_main_layout.cpp     the design table of the controls, their making and wiring
//   form_main_startup.cpp    start-up sequence
//   form_main_selection.cpp  type/model/size choice, option groups, variant, input edits, result clearing
//   form_main_calculate.cpp  "Считай!" and the record it hands to the log strip
//   form_main_extras.cpp     the log strip's height, site link, coefficient panel
//   form_main_typed.cpp      typed text in the choice lists, pasted lines in the input boxes
//   form_main_podbor.cpp     the size finder's button and its picks in this window
//   form_main_project.cpp    the project window's button, and its changes asked about at the end
//   form_main_charts.cpp     the charts a report block carries
// The log strip (list, log file, menu, report) is a class of its own, LogStrip.
#include <QImage>
#include <QMargins>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <string>
#include <vector>
#include <memory>

#include "calc/calculation.h"
#include "project/project.h"
#include "select/search.h"
#include "catalogue/catalogue.h"
#include "report/sheet_of.h"
#include "window/log_strip.h"

#include <array>
#include <map>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Form_Podbor;
class Form_Project;

namespace nimbo {
class ClickableLabel;
class Platform;
}

class Form_Main : public QWidget {
    Q_OBJECT
public:
    Form_Main(const QString& programFolder, nimbo::Platform& platform, QWidget* parent = nullptr);
    ~Form_Main() override;

    // The start-up sequence. On failure it reports the error (stderr and a
    // message box) and returns false; the window must then not be shown.
    bool startUp();

    const nimbo::Catalogue& catalogue() const { return catalogue_; }
    // The catalogue's file, as the documents name it (form_main_report.cpp).
    QString catalogueFile() const;
    const nimbo::Selection& selection() const { return selection_; }
    const QString& currentSiteAddress() const { return siteAddress_; }
    int skrtClicks() const { return skrtClicks_; }
    const QString& programFolder() const { return folder_; }
    // What the user has chosen in the window: "Считай!" calculates it, and
    // the finder starts from it.
    nimbo::Choice currentChoice() const;
    // The choice with what the engine needs beside it.
    nimbo::Calculation currentCalculation() const;

    // form_main_podbor.cpp
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
    // A finder's row: its picks made here, then "Считай!".
    void applyChosen(const nimbo::Request& request, const nimbo::Found& found);
    // «В проект»: a finder's room row as a room of the project, named in turn.
    void addToProject(const nimbo::Request& request, const nimbo::Found& found);
    // «Изменить в подборе…» of the project window: the finder on that room.
    void chooseRoomAgain(int index, const nimbo::ProjectRoom& room);

    // form_main_charts.cpp
    // A report's chart by its name in a block; null when unknown.
    QImage chartImage(const std::string& name) const;

    // form_main_project.cpp
    // The project window, made on first use; the finder adds rooms to it.
    Form_Project* projectWindow();
    void openProject();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // form_main_layout.cpp
    void buildControls();
    void bindControls();
    void connectHandlers();
    // Adds an entry to a sorted list (Cmb_TipVR, Cmb_VidVR) at its
    // alphabetical place: case-insensitive in the user's language; entries
    // that compare equal keep the order in which they were added. Returns the
    // index of the new entry.
    static int addSortedItem(QComboBox* box, const QString& text, const QVariant& data = {});
    // The design's captions that a report block repeats.
    static nimbo::SheetWords sheetWords();

    // form_main_podbor.cpp
    void buildPodborButton();
    void pickEntry(QComboBox* box, int entry, void (Form_Main::*handler)(int));

    // form_main_project.cpp
    void buildProjectButton();

    // form_main_startup.cpp
    void reportStartUpFailure(const QString& text);

    // form_main_selection.cpp
    void Cmb_TipVR_Click(int index);
    void Cmb_VidVR_Click(int index);
    void Cmb_Tprzmr_Click(int index);
    void plenumSetup(int sizeIndex, bool sizeChoiceForm);
    void jetFormSetup(int sizeIndex);
    void fallBackFromMissingOptions();
    void showPicture(const QString& baseName);
    // The site link at the maker's home page, as at start and after a type choice.
    void pointLinkHome();
    // Captions of the flow regulator's positions 1..5 from a size line; with
    // hideMissing, positions 4 and 5 show only where the line offers them.
    void setRegulatorCaptions(const nimbo::SizeLine& line, bool hideMissing);
    void showOfferedPositions(const nimbo::SizeLine& line);
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
    // The picked entry's text, or the prompt while none is picked: what the
    // box shows once typing over it is undone.
    static QString pickedText(const QComboBox& box);
    // A typed text equal to an entry's picks that entry, as a pick from the
    // list does; any other is put back to the picked entry's.
    void settleTypedText(QComboBox* box);
    // Every choice list but the one holding `focus`.
    void settleTypedTexts(const QWidget* focus = nullptr);
    void settleOnFocusOut(QObject* watched, QEvent* event);

    // form_main_calculate.cpp
    void Cmd_Start_Click();
    // The typed boxes in the order of nimbo::Inputs: L, V, A, B, length.
    std::array<QLineEdit*, 5> inputBoxes() const;

    // form_main_extras.cpp
    void Chk_Log_Click();
    void Lbl_URL_Click();
    void OpenSite(const QString& address);
    void Img_VR_Click();
    void Cmd_skrt_Click();
    void applyOuterSize();
    // Enter runs the calculation, Tab order, accessible names, keyboard use
    // of the link; called once at the end of construction.
    void applyDesktopConventions();
    void applyTabOrder();
    void applyAccessibleNames();
    void refreshAccessibleNames();
    // Tab reaches the log strip and the panel only while they are on screen.
    void updateReach();

    // form_main_charts.cpp
    // The room of a finder's row, for the block of the calculation it starts.
    void keepRoomOf(const nimbo::Request& request, const nimbo::Found& found);
    // The jet chart of the block, and the room's noise when a room started it.
    void addCharts(nimbo::CalculationSheet& sheet, const nimbo::Outcome& out, int variant);

    QString folder_;
    nimbo::Platform& platform_;
    // Shared with the finder, which reads it off the user-interface thread
    // and may outlive a search it started.
    std::shared_ptr<nimbo::Catalogue> catalogueHolder_ = std::make_shared<nimbo::Catalogue>();
    nimbo::Catalogue& catalogue_ = *catalogueHolder_;
    // Holds the log file's lock for the whole run. Let go with the members,
    // before Qt takes the window's children apart: the list emptied then
    // must not call back into the strip.
    std::unique_ptr<LogStrip> log_;
    nimbo::Selection selection_;
    QString siteAddress_;
    int skrtClicks_ = 0;  // 16-bit in spirit: stops at 32767
    bool settling_ = false;  // a typed text's pick runs; it may move the focus
    QMetaObject::Connection focusWatch_;  // ends before the boxes do
    // The outer size: normal, or grown by the log strip or the panel.
    static constexpr int kNormalWidth = 8000, kPanelWidth = 9800;
    static constexpr int kNormalHeight = 6900, kLogHeight = 9630;
    int outerWidthTwips_ = kNormalWidth;
    int outerHeightTwips_ = kNormalHeight;
    // The window frame the outer size was last computed with; when the window
    // manager reports a different one after showing, the size is set again.
    QMargins appliedFrame_;
    // The picture Img_VR shows, by its base name; "" while it shows none.
    QString pictureName_;
    const nimbo::SheetWords sheetWords_ = sheetWords();
    // What each chart of a log entry is drawn from, by its name in the block.
    struct ChartSketch {
        bool noise = false;
        nimbo::Stages stages;  // the jet
        int variant = 1;
        double given = 0;
        bool room = false;  // the noise: the outlet has sound data
        nimbo::Bands Lp{};
        std::optional<int> nr;
        std::optional<double> limit;
        QString title;
    };
    std::map<std::string, ChartSketch> sketches_;
    int chartCount_ = 0;
    struct PendingRoom {
        nimbo::RoomBlock sheet;
        ChartSketch noise;
    };
    std::optional<PendingRoom> pendingRoom_;  // while a finder's room row is calculated

    // The controls, grouped by their role. A control alone in its role keeps
    // the name of its objectName; see the design table for every name.
    // A caption, a box and a unit that share one tooltip.
    struct ValueRow {
        QLabel* caption = nullptr;
        QLineEdit* box = nullptr;
        QLabel* unit = nullptr;  // none beside the size boxes A and B
    };
    enum { kFlowRow, kSpeedRow };             // inputs_: L0; Vx or X
    enum { kLossRow, kJetRow, kSoundRow };    // results_: ΔP; l or Vx; LwA
    enum { kSizeA, kSizeB };                  // sizes_

    QComboBox* Cmb_TipVR = nullptr;
    QComboBox* Cmb_VidVR = nullptr;
    QComboBox* Cmb_Tprzmr = nullptr;
    // The three ways a model takes its size: typed A x B, a listed size, a
    // typed slot length.
    QGroupBox* Frm_Rzmr = nullptr;
    QGroupBox* Frm_Tprzmr = nullptr;
    QGroupBox* Frm_Dlina = nullptr;
    ValueRow sizes_[2];
    QLineEdit* TxtBx_Dlina = nullptr;
    nimbo::ClickableLabel* Img_VR = nullptr;
    nimbo::ClickableLabel* Lbl_URL = nullptr;
    // The option groups: plenum box, jet form, flow regulator, variant.
    QGroupBox* Frm_KSD = nullptr;
    QGroupBox* Frm_RegForm = nullptr;
    QGroupBox* Frm_RegRash = nullptr;
    QRadioButton* Opt_KSD[3] = {};
    QRadioButton* Opt_RegForm[4] = {};
    QRadioButton* Opt_RegRash[5] = {};
    QRadioButton* Opt_Var[2] = {};
    QGroupBox* Frm_Ish = nullptr;
    QGroupBox* Frm_rez = nullptr;
    ValueRow inputs_[2];
    ValueRow results_[3];
    // The section results: the outer frame, its three frames (rating, duct,
    // free section) and their six rows, two a frame.
    QGroupBox* Frm_FV = nullptr;
    QGroupBox* sectionFrames_[3] = {};
    ValueRow sections_[6];
    // The coefficient panel's values: m, ξ, k, Fm, Fξ.
    QGroupBox* Frm_skrt = nullptr;
    QLabel* panelValues_[5] = {};
    QPushButton* Cmd_Start = nullptr;
    QCheckBox* Chk_Log = nullptr;
    QPushButton* Cmd_skrt = nullptr;
    QPushButton* Cmd_Podbor = nullptr;
    Form_Podbor* podbor_ = nullptr;
    QPushButton* Cmd_Project = nullptr;
    Form_Project* project_ = nullptr;
};
