// The finder for a room: the room's boxes, its remembered values, the
// request's room, and the noise of the selected row.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>

#include <cmath>

#include "calc/numbers.h"
#include "select/quantities.h"
#include "window/form_podbor.h"
#include "window/noise_chart.h"
#include "window/podbor_model.h"

namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Each room box: its object name, the label, the settings key and what it
// holds before the user types anything.
struct RoomBox {
    const char* name;
    std::string_view label;
    const char* unit;
    const char* key;
    const char* initial;
    std::string nimbo::RoomTexts::*text;
};

constexpr RoomBox kRoomBoxes[] = {
    {"Room_A", nimbo::kRoomNameA, ", м", "A", "6", &nimbo::RoomTexts::A},
    {"Room_B", nimbo::kRoomNameB, ", м", "B", "6", &nimbo::RoomTexts::B},
    {"Room_H", nimbo::kRoomNameH, ", м", "H", "3", &nimbo::RoomTexts::H},
    {"Room_N", nimbo::kRoomNameN, "", "n", "", &nimbo::RoomTexts::n},
    {"Room_Ear", nimbo::kRoomNameEar, ", м", "ear", "1.2", &nimbo::RoomTexts::ear},
    {"Room_Alpha", nimbo::kRoomNameAlpha, "", "alpha", "0.2", &nimbo::RoomTexts::alpha},
};

// The usual rooms' mean absorption.
constexpr std::pair<const char*, const char*> kAbsorption[] = {
    {"жесткое 0,1", "0.1"}, {"среднее 0,2", "0.2"}, {"мягкое 0,3", "0.3"}};

QSettings RoomSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nimbo"), QStringLiteral("Nimbo"));
}

}  // namespace

QGroupBox* Form_Podbor::buildRoom()
{
    auto* group = new QGroupBox(QStringLiteral("Помещение"), this);
    auto* form = new QFormLayout(group);
    room_ = new QCheckBox(QStringLiteral("Расчет для помещения"), this);
    room_->setObjectName(QStringLiteral("Chk_Room"));
    room_->setToolTip(QStringLiteral("Расход — на все помещение; подбирается число воздухораспределителей, "
                                     "шум считается в месте слушателя"));
    form->addRow(room_);
    for (std::size_t i = 0; i < std::size(kRoomBoxes); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(kRoomBoxes[i].name));
        roomBoxes_[i] = edit;
        if (kRoomBoxes[i].text == &nimbo::RoomTexts::n)
            edit->setPlaceholderText(QStringLiteral("авто"));
        if (kRoomBoxes[i].text != &nimbo::RoomTexts::alpha) {
            form->addRow(Text(kRoomBoxes[i].label) + QString::fromUtf8(kRoomBoxes[i].unit), edit);
            continue;
        }
        auto* presets = new QComboBox(this);
        presets->setObjectName(QStringLiteral("Cmb_Alpha"));
        presets->addItem(QStringLiteral("типовое…"));
        for (const auto& [caption, value] : kAbsorption)
            presets->addItem(QString::fromUtf8(caption), QString::fromLatin1(value));
        connect(presets, &QComboBox::activated, this, [edit, presets](int index) {
            if (index > 0)
                edit->setText(presets->itemData(index).toString());
            presets->setCurrentIndex(0);
        });
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(presets);
        form->addRow(Text(kRoomBoxes[i].label), row);
    }
    return group;
}

void Form_Podbor::connectRoom()
{
    connect(room_, &QCheckBox::toggled, this, &Form_Podbor::roomToggled);
    for (QLineEdit* box : roomBoxes_) {
        connect(box, &QLineEdit::textChanged, this, &Form_Podbor::recompute);
        connect(box, &QLineEdit::textEdited, this, &Form_Podbor::saveRoom);
    }
    roomToggled();
}

bool Form_Podbor::inRoom() const { return room_ && room_->isChecked(); }

void Form_Podbor::roomToggled()
{
    for (QLineEdit* box : roomBoxes_)
        box->setEnabled(inRoom());
    showLimitsOf(variant2_->isChecked() ? 2 : 1);
    recompute();
}

std::string Form_Podbor::readRoom(nimbo::Request& r) const
{
    if (!inRoom())
        return {};
    nimbo::RoomTexts texts;
    for (std::size_t i = 0; i < std::size(kRoomBoxes); ++i)
        texts.*kRoomBoxes[i].text = roomBoxes_[i]->text().toStdString();
    nimbo::RoomInput input;
    if (std::string problem = nimbo::ReadRoom(texts, input); !problem.empty())
        return problem;
    r.room = input;
    return {};
}

void Form_Podbor::loadRoom()
{
    const QSettings settings = RoomSettings();
    for (std::size_t i = 0; i < std::size(kRoomBoxes); ++i)
        roomBoxes_[i]->setText(settings.value(QStringLiteral("room/") + QLatin1String(kRoomBoxes[i].key),
                                              QString::fromLatin1(kRoomBoxes[i].initial))
                                   .toString());
}

void Form_Podbor::saveRoom() const
{
    QSettings settings = RoomSettings();
    for (std::size_t i = 0; i < std::size(kRoomBoxes); ++i)
        settings.setValue(QStringLiteral("room/") + QLatin1String(kRoomBoxes[i].key), roomBoxes_[i]->text());
}

void Form_Podbor::showNoise(const nimbo::Found* f, const nimbo::FoundDetails& d, const QString& title)
{
    const nimbo::Request& request = model_->request();
    if (!request.room) {
        noise_->clear(QStringLiteral("Шум в помещении считается в режиме «Расчет для помещения»"));
        return;
    }
    if (!f || !f->ok || !d.ok || !d.stages.lwaComputed) {
        noise_->clear(f && !f->ok ? QString::fromStdString(f->message)
                                  : QStringLiteral("Каталог не дает звуковых данных для этой строки"));
        return;
    }
    const std::optional<int> nr = std::isnan(f->NR) ? std::nullopt : std::optional<int>(static_cast<int>(f->NR));
    noise_->setSpectrum(d.Lp, nr, request.limits.NR,
                        title + QStringLiteral(", n = %1").arg(static_cast<int>(f->n)));
}

void Form_Podbor::editRoom(const nimbo::Request& r, int index)
{
    filling_ = true;
    const auto text = [this](double v) { return QString::fromStdString(nimbo::NumberText(v, separator_)); };
    const int typeEntry = type_->findText(QString::fromStdString(r.type), Qt::MatchExactly | Qt::MatchCaseSensitive);
    type_->setCurrentIndex(std::max(typeEntry, 0));
    (r.variant == 2 ? variant2_ : variant1_)->setChecked(true);
    for (const auto& [box, typed] : {std::pair{L_, &r.inputs.L}, {V_, &r.inputs.V}, {A_, &r.inputs.A},
                                     {B_, &r.inputs.B}, {length_, &r.inputs.Dlina}})
        box->setText(QString::fromStdString(*typed));
    const nimbo::Room& room = r.room->room;
    const double values[] = {room.A, room.B, room.H, 0, room.ear, room.alpha};
    for (std::size_t i = 0; i < std::size(kRoomBoxes); ++i)
        roomBoxes_[i]->setText(kRoomBoxes[i].text == &nimbo::RoomTexts::n
                                   ? (r.room->n ? QString::number(*r.room->n) : QString())
                                   : text(values[i]));
    const auto limitSlots = nimbo::LimitSlots();
    for (std::size_t i = 0; i < limitSlots.size(); ++i)
        if (limits_[i] && limitSlots[i].value) {
            const std::optional<double> limit = r.limits.*limitSlots[i].value;
            limits_[i]->setText(limit ? text(*limit) : QString());
        }
    withinLc_->setChecked(r.limits.throwWithinLc);
    room_->setChecked(true);
    editing_ = index;
    toProject_->setText(QStringLiteral("Заменить в проекте"));
    filling_ = false;
    recompute();
}

int Form_Podbor::takeEditedRoom()
{
    const int index = editing_;
    editing_ = -1;
    toProject_->setText(QStringLiteral("В проект"));
    return index;
}
