// The window's controls: one design table of names, kinds, places and texts,
// made in the table's order. Places are in twips as the design gives them and
// become pixels through nimbo::Twips; the font is chosen so that the texts
// fit controls drawn for an 8-point system font.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "catalogue/site.h"
#include "platform/platform.h"
#include "window/clickable_label.h"
#include "window/form_main.h"

namespace {

using nimbo::Twips;

QRect TwipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

// Fonts in logical pixels, as at the design's 96 dots per inch: 8 points make
// 11 px, 12 points 16 px. The twips places assume the same resolution.
QFont WindowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}

// A button whose caption breaks into lines, as the panel's close button needs:
// its caption is far wider than the button.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::ButtonText));
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
    }
};

// The largest font, not above the control's own, in which a one-line caption
// fits the given width. Captions come from the design and from the catalogue,
// and the design's controls were drawn for a narrow system font: a caption
// that does not fit is drawn a little smaller rather than cut off.
QFont FittingFont(const QFont& own, const QString& caption, int width)
{
    QFont font = own;
    int pixels = QFontInfo(font).pixelSize();
    while (pixels > 8 && QFontMetrics(font).horizontalAdvance(caption) > width)
        font.setPixelSize(--pixels);
    return font;
}

// The option buttons' captions are catalogue texts of any length.
class FittingRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QRect textArea = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
        const QFont fitting = FittingFont(font(), option.text, textArea.width());
        painter.setFont(fitting);
        option.fontMetrics = QFontMetrics(fitting);
        painter.drawControl(QStyle::CE_RadioButton, option);
    }
};

// The site link: a 12-point bold address is wider than its place.
class FittingLabel : public nimbo::ClickableLabel {
public:
    using ClickableLabel::ClickableLabel;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
        const QFont fitting = FittingFont(font(), text(), area.width());
        if (fitting == font() || !pixmap().isNull()) {
            ClickableLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter.setFont(fitting);
        style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()),
                              palette(), isEnabled(), text(), foregroundRole());
    }
};

QCollator ListCollator()
{
    // The catalogue is Russian: where the user's locale says nothing about
    // alphabetical order (the C locale) Russian order is what a reader expects.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Russian, QLocale::Russia);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

enum class Kind : std::uint8_t {
    Combo,    // an editable list showing its prompt
    Frame,
    Label,    // left-aligned
    Caption,  // right-aligned, before its box
    Note,     // left-aligned, broken into lines
    Input,
    Result,   // read-only
    Option,
    Button,
    WrapButton,
    Check,
    Picture,  // scaled to its place, clickable
    Link,     // the site link
    List,
};

struct ControlDesign {
    const char* name;
    Kind kind;
    const char* parent;            // nullptr: the window
    int left, top, width, height;  // twips
    const char* caption;           // nullptr: none
    const char* tooltip;           // nullptr: none
    bool hidden = false;
};

// A caption, its box and its unit share one tooltip.
constexpr const char* kTipL = "Объемный расход воздуха через воздухораспределитель";
constexpr const char* kTipV = "Скорость для расчета дальнобойности";
constexpr const char* kTipP = "Потери полного давления";
constexpr const char* kTipX = "Дальнобойность струи для заданной Vx";
constexpr const char* kTipLwA = "Приведенный по фильтру А уровень звуковой мощности";
constexpr const char* kTipF0 = "Площадь расчетного сечения воздухораспределителя";
constexpr const char* kTipV0 = "Скорость воздуха в расчетном сечении воздухораспределителя";
constexpr const char* kTipFv = "Площадь сечения подводящего воздуховода";
constexpr const char* kTipVv = "Скорость воздуха в сечении подводящего воздуховода";
constexpr const char* kTipFjs = "Площадь живого сечения";
constexpr const char* kTipVjs = "Скорость воздуха в живом сечении";

// Every control in the order it is made (parents before their children).
// The log strip lies below and the coefficient panel beyond the normal size.
constexpr ControlDesign kDesign[] = {
    {"Cmb_TipVR", Kind::Combo, nullptr, 120, 240, 2895, 315, "Тип воздухораспределителя",
     "Выбор типа воздухораспределителя"},
    {"Cmb_VidVR", Kind::Combo, nullptr, 120, 720, 2895, 315, "Выбор воздухораспределителя",
     "Выбор воздухораспределителя", true},
    {"Frm_Rzmr", Kind::Frame, nullptr, 3120, 120, 1335, 975, "Типоразмер", "Ввод типоразмера", true},
    {"Lbl_A", Kind::Label, "Frm_Rzmr", 120, 240, 495, 255, "A, мм", nullptr},
    {"TxtBx_A", Kind::Input, "Frm_Rzmr", 120, 480, 495, 315, "300", nullptr},
    {"Lbl_B", Kind::Label, "Frm_Rzmr", 720, 240, 495, 255, "B, мм", nullptr},
    {"TxtBx_B", Kind::Input, "Frm_Rzmr", 720, 480, 495, 315, "300", nullptr},
    {"Frm_Tprzmr", Kind::Frame, nullptr, 3120, 480, 1575, 615, "Типоразмер", nullptr, true},
    {"Cmb_Tprzmr", Kind::Combo, "Frm_Tprzmr", 60, 240, 1440, 315, "Типоразмер", "Выбор типоразмера"},
    {"Frm_Dlina", Kind::Frame, nullptr, 3360, 360, 1335, 735, "Длина, мм", "Ввод длины щелевой решетки",
     true},
    {"TxtBx_Dlina", Kind::Input, "Frm_Dlina", 120, 240, 1095, 375, "1000", nullptr},
    {"Img_VR", Kind::Picture, nullptr, 4800, 120, 3000, 1410, nullptr, nullptr},

    {"Frm_KSD", Kind::Frame, nullptr, 120, 1200, 855, 1020, "КСД",
     "Наличие и тип камеры статического давления", true},
    {"Opt_KSD1", Kind::Option, "Frm_KSD", 120, 240, 700, 255, "Нет", nullptr},
    {"Opt_KSD2", Kind::Option, "Frm_KSD", 120, 480, 700, 255, "КСД", nullptr},
    {"Opt_KSD3", Kind::Option, "Frm_KSD", 120, 720, 700, 255, "КСР", nullptr},
    {"Frm_RegForm", Kind::Frame, nullptr, 1080, 1200, 2175, 1260, "Рег. формы струи",
     "Регулирование формы струи и другие параметры", true},
    {"Opt_RegForm1", Kind::Option, "Frm_RegForm", 120, 240, 2000, 255, "Opt1", nullptr},
    {"Opt_RegForm2", Kind::Option, "Frm_RegForm", 120, 480, 2000, 255, "Opt2", nullptr},
    {"Opt_RegForm3", Kind::Option, "Frm_RegForm", 120, 720, 2000, 255, "Opt3", nullptr},
    {"Opt_RegForm4", Kind::Option, "Frm_RegForm", 120, 960, 2000, 255, "Opt4", nullptr},
    {"Frm_RegRash", Kind::Frame, nullptr, 3360, 1200, 1335, 1575, "Рег. расхода",
     "Положение регулятора расхода", true},
    {"Opt_RegRash1", Kind::Option, "Frm_RegRash", 120, 240, 855, 255, "b=0°", nullptr},
    {"Opt_RegRash2", Kind::Option, "Frm_RegRash", 120, 480, 855, 255, "b=15°", nullptr},
    {"Opt_RegRash3", Kind::Option, "Frm_RegRash", 120, 720, 855, 255, "b=30°", nullptr},
    {"Opt_RegRash4", Kind::Option, "Frm_RegRash", 120, 960, 855, 255, "b=45°", nullptr},
    {"Opt_RegRash5", Kind::Option, "Frm_RegRash", 120, 1200, 855, 255, "b=60°", nullptr},
    // Its text and tooltip are those of the link pointed home.
    {"Lbl_URL", Kind::Link, nullptr, 4800, 2520, 3015, 375, nullptr, nullptr},

    {"Frm_Var", Kind::Frame, nullptr, 120, 2880, 7695, 855, "Выбор варианта расчета", nullptr},
    {"Opt_Var1", Kind::Option, "Frm_Var", 120, 360, 7215, 195,
     "Расчет дальнобойности l для заданной скорости Vx", nullptr},
    {"Opt_Var2", Kind::Option, "Frm_Var", 120, 600, 7335, 195,
     "Расчет скорости приточной струи Vx на заданном расстоянии X от воздухораспределителя", nullptr},

    {"Frm_Ish", Kind::Frame, nullptr, 120, 3840, 2175, 1215, "Исходные данные", nullptr},
    {"Lbl_L", Kind::Caption, "Frm_Ish", 45, 360, 495, 285, "L0 =", kTipL},
    {"TxtBx_L", Kind::Input, "Frm_Ish", 600, 360, 855, 285, nullptr, kTipL},
    {"Lbl_RL", Kind::Label, "Frm_Ish", 1560, 360, 555, 285, "м3/ч", kTipL},
    {"Lbl_V", Kind::Caption, "Frm_Ish", 45, 720, 495, 285, "Vx =", kTipV},
    {"TxtBx_V", Kind::Input, "Frm_Ish", 600, 720, 855, 285, nullptr, kTipV},
    {"Lbl_RV", Kind::Label, "Frm_Ish", 1560, 720, 555, 285, "м/с", kTipV},
    {"Cmd_Start", Kind::Button, nullptr, 2400, 3960, 1215, 615, "Считай!", "Запуск расчета"},
    {"Chk_Log", Kind::Check, nullptr, 2400, 4680, 1215, 255, "Журнал", "Окно с журналом расчетов"},

    {"Frm_rez", Kind::Frame, nullptr, 3720, 3840, 4095, 1215, "Результат", nullptr},
    {"Lbl_p", Kind::Caption, "Frm_rez", 45, 360, 495, 285, "ΔP =", kTipP},
    {"TxtBx_p", Kind::Result, "Frm_rez", 600, 360, 855, 285, nullptr, kTipP},
    {"Lbl_RP", Kind::Label, "Frm_rez", 1560, 360, 435, 285, "Па", kTipP},
    {"Lbl_x", Kind::Caption, "Frm_rez", 45, 720, 495, 285, "l =", kTipX},
    {"TxtBx_x", Kind::Result, "Frm_rez", 600, 720, 855, 285, nullptr, kTipX},
    {"Lbl_Rll", Kind::Label, "Frm_rez", 1560, 720, 435, 285, "м", kTipX},
    {"Lbl_LwA", Kind::Caption, "Frm_rez", 2040, 360, 555, 285, "LwA =", kTipLwA},
    {"TxtBx_LwA", Kind::Result, "Frm_rez", 2640, 360, 735, 285, nullptr, kTipLwA},
    {"Lbl_RLwA", Kind::Label, "Frm_rez", 3480, 360, 555, 285, "дБ(А)", kTipLwA},

    {"Frm_FV", Kind::Frame, nullptr, 120, 5040, 7695, 1335,
     "Пересчет расхода воздуха на его скорость в различных сечениях", nullptr},
    {"Frm_RS", Kind::Frame, "Frm_FV", 120, 240, 1935, 975, "Расчетное сечение", nullptr},
    {"Frm_SV", Kind::Frame, "Frm_FV", 2280, 240, 1935, 975, "Сечение воздуховода", nullptr},
    {"Frm_JS", Kind::Frame, "Frm_FV", 4440, 240, 2055, 975, "Живое сечение", nullptr},
    {"Lbl_F0", Kind::Label, "Frm_RS", 120, 240, 465, 285, "F0 = ", kTipF0},
    {"TxtBx_F0", Kind::Result, "Frm_RS", 600, 240, 735, 285, nullptr, kTipF0},
    {"Lbl_m2", Kind::Label, "Frm_RS", 1440, 240, 435, 285, "м2", kTipF0},
    {"Lbl_V0", Kind::Label, "Frm_RS", 120, 600, 465, 285, "V0 = ", kTipV0},
    {"TxtBx_V0", Kind::Result, "Frm_RS", 600, 600, 735, 285, nullptr, kTipV0},
    {"Lbl_ms", Kind::Label, "Frm_RS", 1440, 600, 435, 285, "м/с", kTipV0},
    {"Lbl_Fv", Kind::Label, "Frm_SV", 120, 240, 465, 285, "Fв = ", kTipFv},
    {"TxtBx_Fv", Kind::Result, "Frm_SV", 600, 240, 735, 285, nullptr, kTipFv},
    {"Lbl_m22", Kind::Label, "Frm_SV", 1440, 240, 435, 285, "м2", kTipFv},
    {"Lbl_Vv", Kind::Label, "Frm_SV", 120, 600, 465, 285, "Vв = ", kTipVv},
    {"TxtBx_Vv", Kind::Result, "Frm_SV", 600, 600, 735, 285, nullptr, kTipVv},
    {"Lbl_mms", Kind::Label, "Frm_SV", 1440, 600, 435, 285, "м/с", kTipVv},
    // The free section's captions are longer: its boxes sit further right.
    {"Lbl_Fjs", Kind::Label, "Frm_JS", 120, 240, 585, 285, "Fжс = ", kTipFjs},
    {"TxtBx_Fjs", Kind::Result, "Frm_JS", 720, 240, 735, 285, nullptr, kTipFjs},
    {"Lbl_m222", Kind::Label, "Frm_JS", 1560, 240, 435, 285, "м2", kTipFjs},
    {"Lbl_Vjs", Kind::Label, "Frm_JS", 120, 600, 585, 285, "Vжс = ", kTipVjs},
    {"TxtBx_Vjs", Kind::Result, "Frm_JS", 720, 600, 735, 285, nullptr, kTipVjs},
    {"Lbl_mmms", Kind::Label, "Frm_JS", 1560, 600, 435, 285, "м/с", kTipVjs},

    {"LstBx_Log", Kind::List, nullptr, 120, 6480, 7695, 2010, nullptr, nullptr},
    {"Cmd_DelStr", Kind::Button, nullptr, 120, 8640, 2415, 495, "Удалить строку",
     "Удаление выделенной строки"},
    {"Cmd_Clear", Kind::Button, nullptr, 2640, 8640, 2415, 495, "Очистить журнал",
     "Удаление всех записей из окна журнала"},
    {"Lbl_Log", Kind::Note, nullptr, 5280, 8640, 2415, 495, "Журнал дублируется в файл Nimbo.csv", nullptr},

    {"Frm_skrt", Kind::Frame, nullptr, 7920, 2880, 1695, 3495, "Секретный ур.", nullptr},
    {"Lbl_m", Kind::Label, "Frm_skrt", 120, 240, 480, 255, "m =", nullptr},
    {"Lbl_mData", Kind::Label, "Frm_skrt", 600, 240, 1020, 255, nullptr, nullptr},
    {"Lbl_Dzeta", Kind::Label, "Frm_skrt", 120, 600, 480, 255, "ξ =", nullptr},
    {"Lbl_DzetaData", Kind::Label, "Frm_skrt", 600, 600, 1020, 255, nullptr, nullptr},
    {"Lbl_kr", Kind::Label, "Frm_skrt", 120, 960, 480, 255, "k =", nullptr},
    {"Lbl_krData", Kind::Label, "Frm_skrt", 600, 960, 1020, 255, nullptr, nullptr},
    {"Lbl_Fm", Kind::Label, "Frm_skrt", 120, 1320, 510, 255, "Fm =", nullptr},
    {"Lbl_FmData", Kind::Label, "Frm_skrt", 630, 1320, 660, 255, nullptr, nullptr},
    {"Lbl_Fz", Kind::Label, "Frm_skrt", 120, 1680, 510, 255, "Fξ =", nullptr},
    {"Lbl_FzData", Kind::Label, "Frm_skrt", 630, 1680, 660, 255, nullptr, nullptr},
    {"Lbl_mm2", Kind::Label, "Frm_skrt", 1320, 1320, 330, 255, "м2", nullptr},
    {"mmm2", Kind::Label, "Frm_skrt", 1320, 1680, 330, 255, "м2", nullptr},
    {"Cmd_skrt", Kind::WrapButton, "Frm_skrt", 120, 2520, 1455, 855, "Закрыть секретный уровень", nullptr},
};

QString Caption(const ControlDesign& d)
{
    return d.caption ? QString::fromUtf8(d.caption) : QString();
}

// The design's caption of a control; "" for a name not in the design.
std::string DesignCaption(std::string_view name)
{
    for (const ControlDesign& d : kDesign)
        if (name == d.name)
            return d.caption ? d.caption : "";
    return {};
}

QComboBox* MakeCombo(const QString& prompt, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCurrentIndex(-1);
    box->setEditText(prompt);
    return box;
}

QLabel* MakeLabel(const QString& caption, Qt::Alignment alignment, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setAlignment(alignment);
    return label;
}

QLineEdit* MakeResult(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    return box;
}

// The site link: 12 points, bold, underlined, in the link colour, with a hand
// under the mouse.
QLabel* MakeLink(QWidget* parent)
{
    auto* link = new FittingLabel(parent);
    link->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = WindowFont();
    font.setPixelSize(16);
    font.setBold(true);
    font.setUnderline(true);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    link->setPalette(palette);
    link->setCursor(Qt::PointingHandCursor);
    return link;
}

QListWidget* MakeList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    // Every entry is one line of the same font. Without this the list measures
    // every entry on each repaint, and a day's log of a thousand calculations
    // makes each "Считай!" take 20 ms instead of a fraction of one.
    list->setUniformItemSizes(true);
    return list;
}

QWidget* MakeOfKind(const ControlDesign& d, QWidget* parent)
{
    constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
    const QString caption = Caption(d);
    switch (d.kind) {
    case Kind::Combo: return MakeCombo(caption, parent);
    case Kind::Frame: return new QGroupBox(caption, parent);
    case Kind::Label: return MakeLabel(caption, kLeft, parent);
    case Kind::Caption: return MakeLabel(caption, Qt::AlignRight | Qt::AlignVCenter, parent);
    case Kind::Note: {
        QLabel* note = MakeLabel(caption, kLeft, parent);
        note->setWordWrap(true);
        return note;
    }
    case Kind::Input: return new QLineEdit(caption, parent);
    case Kind::Result: return MakeResult(parent);
    case Kind::Option: return new FittingRadioButton(caption, parent);
    case Kind::Button: return new QPushButton(caption, parent);
    case Kind::WrapButton: return new WrappingButton(caption, parent);
    case Kind::Check: return new QCheckBox(caption, parent);
    case Kind::Picture: {
        auto* picture = new nimbo::ClickableLabel(parent);
        picture->setScaledContents(true);
        return picture;
    }
    case Kind::Link: return MakeLink(parent);
    case Kind::List: return MakeList(parent);
    }
    return nullptr;
}

// The control of the given class and name; the names are the design table's.
template <class T>
T* Find(const QWidget& window, const char* name)
{
    return window.findChild<T*>(QLatin1String(name));
}

}  // namespace

int Form_Main::addSortedItem(QComboBox* box, const QString& text, const QVariant& data)
{
    const QCollator collator = ListCollator();
    // After the last entry that does not sort after the new one, so entries
    // equal for the reader (different only in letter case) stay in the order
    // they were added.
    int low = 0;
    int high = box->count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (collator.compare(box->itemText(mid), text) > 0)
            high = mid;
        else
            low = mid + 1;
    }
    // An empty combo box makes its first entry current; the lists must keep
    // showing their prompt with nothing selected until the user picks.
    const bool nothingSelected = box->currentIndex() < 0;
    const QString shownText = box->currentText();
    box->insertItem(low, text, data);
    if (nothingSelected && box->currentIndex() >= 0) {
        box->setCurrentIndex(-1);
        box->setEditText(shownText);
    }
    return low;
}

nimbo::SheetWords Form_Main::sheetWords()
{
    const auto row = [](const char* caption, const char* unit) {
        return nimbo::ShownValue{DesignCaption(caption), {}, DesignCaption(unit)};
    };
    return {DesignCaption("Frm_Tprzmr"), DesignCaption("Frm_Dlina"), DesignCaption("Lbl_A"), DesignCaption("Lbl_B"),
            DesignCaption("Frm_KSD"), DesignCaption("Frm_RegForm"),
            {DesignCaption("Opt_Var1"), DesignCaption("Opt_Var2")},
            DesignCaption("Frm_Ish"), DesignCaption("Frm_rez"),
            row("Lbl_L", "Lbl_RL"), row("Lbl_p", "Lbl_RP"), row("Lbl_LwA", "Lbl_RLwA"),
            DesignCaption("Frm_FV"),
            {DesignCaption("Frm_RS"), DesignCaption("Frm_SV"), DesignCaption("Frm_JS")},
            {row("Lbl_F0", "Lbl_m2"), row("Lbl_V0", "Lbl_ms"), row("Lbl_Fv", "Lbl_m22"), row("Lbl_Vv", "Lbl_mms"),
             row("Lbl_Fjs", "Lbl_m222"), row("Lbl_Vjs", "Lbl_mmms")}};
}

void Form_Main::buildControls()
{
    setFont(WindowFont());
    std::vector<QWidget*> made;
    made.reserve(std::size(kDesign));
    for (const ControlDesign& d : kDesign) {
        QWidget* parent = this;
        if (d.parent) {
            const auto* found = std::find_if(std::begin(kDesign), std::end(kDesign), [&](const ControlDesign& p) {
                return std::strcmp(p.name, d.parent) == 0;
            });
            parent = made[static_cast<std::size_t>(found - std::begin(kDesign))];
        }
        QWidget* control = MakeOfKind(d, parent);
        control->setObjectName(QLatin1String(d.name));
        control->setGeometry(TwipsRect(d.left, d.top, d.width, d.height));
        if (d.tooltip)
            control->setToolTip(QString::fromUtf8(d.tooltip));
        if (d.hidden)
            control->hide();
        made.push_back(control);
    }
    bindControls();

    // The panel's caption is bold (8.25 points at 96 dpi); its rows keep the
    // plain window font rather than inherit the bold.
    QFont title = WindowFont();
    title.setBold(true);
    Frm_skrt->setFont(title);
    QFont plain = WindowFont();
    plain.setBold(false);  // said, so that the panel's bold is not inherited
    for (QWidget* row : Frm_skrt->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        row->setFont(plain);
    pointLinkHome();

    // Design-time selections: the first option of every group.
    for (QRadioButton* first : {Opt_KSD[0], Opt_RegForm[0], Opt_RegRash[0], Opt_Var[0]})
        first->setChecked(true);
}

void Form_Main::bindControls()
{
    const QWidget& w = *this;
    const auto row = [&w](const char* caption, const char* box, const char* unit) {
        return ValueRow{Find<QLabel>(w, caption), Find<QLineEdit>(w, box), unit ? Find<QLabel>(w, unit) : nullptr};
    };
    Cmb_TipVR = Find<QComboBox>(w, "Cmb_TipVR");
    Cmb_VidVR = Find<QComboBox>(w, "Cmb_VidVR");
    Cmb_Tprzmr = Find<QComboBox>(w, "Cmb_Tprzmr");
    Frm_Rzmr = Find<QGroupBox>(w, "Frm_Rzmr");
    Frm_Tprzmr = Find<QGroupBox>(w, "Frm_Tprzmr");
    Frm_Dlina = Find<QGroupBox>(w, "Frm_Dlina");
    sizes_[kSizeA] = row("Lbl_A", "TxtBx_A", nullptr);
    sizes_[kSizeB] = row("Lbl_B", "TxtBx_B", nullptr);
    TxtBx_Dlina = Find<QLineEdit>(w, "TxtBx_Dlina");
    Img_VR = Find<nimbo::ClickableLabel>(w, "Img_VR");
    Lbl_URL = Find<nimbo::ClickableLabel>(w, "Lbl_URL");

    Frm_KSD = Find<QGroupBox>(w, "Frm_KSD");
    Frm_RegForm = Find<QGroupBox>(w, "Frm_RegForm");
    Frm_RegRash = Find<QGroupBox>(w, "Frm_RegRash");
    const auto group = [&w](const char* prefix, std::span<QRadioButton*> options) {
        for (std::size_t i = 0; i < options.size(); ++i)
            options[i] = w.findChild<QRadioButton*>(QLatin1String(prefix) + QString::number(i + 1));
    };
    group("Opt_KSD", Opt_KSD);
    group("Opt_RegForm", Opt_RegForm);
    group("Opt_RegRash", Opt_RegRash);
    group("Opt_Var", Opt_Var);

    Frm_Ish = Find<QGroupBox>(w, "Frm_Ish");
    Frm_rez = Find<QGroupBox>(w, "Frm_rez");
    inputs_[kFlowRow] = row("Lbl_L", "TxtBx_L", "Lbl_RL");
    inputs_[kSpeedRow] = row("Lbl_V", "TxtBx_V", "Lbl_RV");
    results_[kLossRow] = row("Lbl_p", "TxtBx_p", "Lbl_RP");
    results_[kJetRow] = row("Lbl_x", "TxtBx_x", "Lbl_Rll");
    results_[kSoundRow] = row("Lbl_LwA", "TxtBx_LwA", "Lbl_RLwA");
    Frm_FV = Find<QGroupBox>(w, "Frm_FV");
    sectionFrames_[0] = Find<QGroupBox>(w, "Frm_RS");
    sectionFrames_[1] = Find<QGroupBox>(w, "Frm_SV");
    sectionFrames_[2] = Find<QGroupBox>(w, "Frm_JS");
    sections_[0] = row("Lbl_F0", "TxtBx_F0", "Lbl_m2");
    sections_[1] = row("Lbl_V0", "TxtBx_V0", "Lbl_ms");
    sections_[2] = row("Lbl_Fv", "TxtBx_Fv", "Lbl_m22");
    sections_[3] = row("Lbl_Vv", "TxtBx_Vv", "Lbl_mms");
    sections_[4] = row("Lbl_Fjs", "TxtBx_Fjs", "Lbl_m222");
    sections_[5] = row("Lbl_Vjs", "TxtBx_Vjs", "Lbl_mmms");

    Frm_skrt = Find<QGroupBox>(w, "Frm_skrt");
    const char* const panelValues[] = {"Lbl_mData", "Lbl_DzetaData", "Lbl_krData", "Lbl_FmData", "Lbl_FzData"};
    for (std::size_t i = 0; i < std::size(panelValues); ++i)
        panelValues_[i] = Find<QLabel>(w, panelValues[i]);
    Cmd_Start = Find<QPushButton>(w, "Cmd_Start");
    Chk_Log = Find<QCheckBox>(w, "Chk_Log");
    Cmd_skrt = Find<QPushButton>(w, "Cmd_skrt");
}

void Form_Main::connectHandlers()
{
    // A combo box's Click is the user picking an entry: typing runs nothing.
    connect(Cmb_TipVR, &QComboBox::activated, this, &Form_Main::Cmb_TipVR_Click);
    connect(Cmb_VidVR, &QComboBox::activated, this, &Form_Main::Cmb_VidVR_Click);
    connect(Cmb_Tprzmr, &QComboBox::activated, this, &Form_Main::Cmb_Tprzmr_Click);
    // Qt itself would pick the entry whose text was typed, on Enter or when
    // the box loses the focus, and report it as activated.
    for (QComboBox* box : {Cmb_TipVR, Cmb_VidVR, Cmb_Tprzmr}) {
        disconnect(box->lineEdit(), &QLineEdit::returnPressed, box, nullptr);
        disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    }

    // An option's select event runs when it becomes selected, whether the user
    // or the program selects it; losing the selection runs nothing.
    const auto onSelect = [this](std::span<QRadioButton* const> options, void (Form_Main::*handler)(int)) {
        for (std::size_t i = 0; i < options.size(); ++i)
            connect(options[i], &QRadioButton::toggled, this, [this, handler, n = static_cast<int>(i) + 1](bool on) {
                if (on)
                    (this->*handler)(n);
            });
    };
    onSelect(Opt_KSD, &Form_Main::Opt_KSD_Select);
    onSelect(Opt_RegForm, &Form_Main::Opt_RegForm_Select);
    onSelect(Opt_RegRash, &Form_Main::Opt_RegRash_Select);
    onSelect(Opt_Var, &Form_Main::Opt_Var_Select);

    // Every change of an input box's text, typed or set by the program.
    for (QLineEdit* box : {inputs_[kFlowRow].box, sizes_[kSizeA].box, sizes_[kSizeB].box})
        connect(box, &QLineEdit::textChanged, this, &Form_Main::ResetAllResult);
    for (QLineEdit* box : {inputs_[kSpeedRow].box, TxtBx_Dlina})
        connect(box, &QLineEdit::textChanged, this, &Form_Main::ResetResult);

    connect(Cmd_Start, &QPushButton::clicked, this, &Form_Main::Cmd_Start_Click);
    connect(Chk_Log, &QCheckBox::clicked, this, &Form_Main::Chk_Log_Click);
    connect(Cmd_skrt, &QPushButton::clicked, this, &Form_Main::Cmd_skrt_Click);
    connect(Img_VR, &nimbo::ClickableLabel::clicked, this, &Form_Main::Img_VR_Click);
    connect(Lbl_URL, &nimbo::ClickableLabel::clicked, this, &Form_Main::Lbl_URL_Click);
}
