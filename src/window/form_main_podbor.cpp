// The size finder («Подбор») as the main window sees it: the button that
// opens it, F3, and the finder's choice made through the window's own
// handlers, so that a chosen candidate leaves the window exactly as the same
// picks by hand would.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <span>

#include "platform/platform.h"
#include "project/room_check.h"
#include "window/form_main.h"
#include "window/form_podbor.h"
#include "window/form_project.h"
#include "window/project_model.h"

namespace {

// Under the picture and above the site link: no control of the window lies
// there whatever frames show, so the button never covers one nor hides
// behind one.
constexpr int kLeft = 6480, kTop = 1980, kWidth = 1335, kHeight = 375;

}  // namespace

void Form_Main::buildPodborButton()
{
    Cmd_Podbor = new QPushButton(QStringLiteral("Подбор…"), this);
    Cmd_Podbor->setObjectName(QStringLiteral("Cmd_Podbor"));
    Cmd_Podbor->setGeometry(nimbo::Twips(kLeft), nimbo::Twips(kTop), nimbo::Twips(kWidth), nimbo::Twips(kHeight));
    Cmd_Podbor->setToolTip(QStringLiteral("Подбор типоразмера по расходу и ограничениям"));
    // Outside the Tab chain, which walks the calculation's own controls in
    // reading order; from the keyboard F3 opens the finder.
    Cmd_Podbor->setFocusPolicy(Qt::NoFocus);
    connect(Cmd_Podbor, &QPushButton::clicked, this, &Form_Main::openPodbor);
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    f3->setObjectName(QStringLiteral("Shortcut_Podbor"));
    connect(f3, &QShortcut::activated, this, &Form_Main::openPodbor);
}

void Form_Main::openPodbor()
{
    if (!podbor_) {
        podbor_ = new Form_Podbor(catalogueHolder_, *this);
        connect(podbor_, &Form_Podbor::chosen, this, &Form_Main::applyChosen);
        connect(podbor_, &Form_Podbor::toProject, this, &Form_Main::addToProject);
    }
    // Opened or brought forward, the finder starts from what this window
    // shows now; its limits stay.
    podbor_->startFrom(currentCalculation());
    if (!podbor_->isVisible())
        podbor_->placeOnOpen();
    podbor_->show();
    podbor_->raise();
    podbor_->activateWindow();
}

void Form_Main::applyChosen(const nimbo::Request& request, const nimbo::Found& found)
{
    Picks picks;
    picks.row = found.row;
    picks.sizeIndex = found.sizeIndex;
    picks.ksd = found.picks.ksd;
    picks.regForm = found.picks.regForm;
    picks.regRash = found.picks.regRash;
    picks.variant = request.variant;
    // In a room the outlet takes its share of the flow, L1.
    picks.inputs = nimbo::InputsOf(request, found);
    keepRoomOf(request, found);
    pickAndCalculate(picks);
    pendingRoom_.reset();
    // The new result in view, before the finder if they overlap.
    raise();
    activateWindow();
}

void Form_Main::chooseRoomAgain(int index, const nimbo::ProjectRoom& room)
{
    openPodbor();
    podbor_->editRoom(nimbo::RequestOf(room), index);
}

void Form_Main::addToProject(const nimbo::Request& request, const nimbo::Found& found)
{
    Form_Project* project = projectWindow();
    nimbo::ProjectRoom room;
    const std::string name = "Помещение " + std::to_string(project->model()->project().rooms.size() + 1);
    if (const std::string problem = nimbo::RoomFromFound(catalogue_, request, found, name, room); !problem.empty()) {
        platform_.showMessage(podbor_, QStringLiteral("В проект"), QString::fromStdString(problem),
                              nimbo::MessageIcon::Warning);
        return;
    }
    if (const int index = podbor_->takeEditedRoom(); index >= 0) {
        room.name.clear();  // the room keeps its name
        project->replaceRoom(index, room);
    } else {
        project->addRoom(room);
    }
    project->show();
    project->raise();
}

void Form_Main::pickEntry(QComboBox* box, int entry, void (Form_Main::*handler)(int))
{
    if (entry < 0)
        return;
    box->setCurrentIndex(entry);
    (this->*handler)(entry);
}

void Form_Main::pickAndCalculate(const Picks& p)
{
    if (p.row < 1 || p.row > catalogue_.recordCount())
        return;
    const std::string_view type = catalogue_.typeName(p.row);
    pickEntry(Cmb_TipVR, Cmb_TipVR->findText(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())),
                                             Qt::MatchExactly | Qt::MatchCaseSensitive),
              &Form_Main::Cmb_TipVR_Click);
    pickEntry(Cmb_VidVR, Cmb_VidVR->findData(p.row), &Form_Main::Cmb_VidVR_Click);
    const nimbo::SizeMode mode = catalogue_.sizeMode(p.row);
    if (mode == nimbo::SizeMode::Listed)
        pickEntry(Cmb_Tprzmr, Cmb_Tprzmr->findData(p.sizeIndex), &Form_Main::Cmb_Tprzmr_Click);
    // The boxes a size mode does not show still count elsewhere (the duct
    // section, the flat jet), so every box is typed, the size first.
    const auto typeInto = [](QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); };
    const std::array<QLineEdit*, 5> boxes = inputBoxes();  // L, V, A, B, length
    if (mode == nimbo::SizeMode::Free) {
        typeInto(boxes[2], p.inputs.A);
        typeInto(boxes[3], p.inputs.B);
    }
    if (mode == nimbo::SizeMode::Slot)
        typeInto(boxes[4], p.inputs.Dlina);
    // Only what a user could click: a button on screen in a frame on screen.
    const auto clickShown = [](QGroupBox* frame, std::span<QRadioButton* const> options, int pick) {
        if (!frame->isHidden() && pick >= 1 && pick <= static_cast<int>(options.size()) &&
            !options[static_cast<std::size_t>(pick - 1)]->isHidden())
            options[static_cast<std::size_t>(pick - 1)]->click();
    };
    clickShown(Frm_KSD, Opt_KSD, p.ksd);
    clickShown(Frm_RegForm, Opt_RegForm, p.regForm);
    clickShown(Frm_RegRash, Opt_RegRash, p.regRash);
    Opt_Var[p.variant == 2 ? 1 : 0]->click();
    const std::string* texts[5] = {&p.inputs.L, &p.inputs.V, &p.inputs.A, &p.inputs.B, &p.inputs.Dlina};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        typeInto(boxes[i], *texts[i]);
    Cmd_Start->click();
}
