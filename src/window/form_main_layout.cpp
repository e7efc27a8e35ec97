// The window's controls at their design places. Places are in twips as the
// design gives them and become pixels through nimbo::Twips; the font is
// chosen so that the texts fit controls drawn for an 8-point system font.
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

#include "platform/platform.h"
#include "window/form_main.h"

namespace {

using nimbo::Twips;

QRect TwipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

template <class W>
W* Place(W* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(TwipsRect(left, top, width, height));
    return widget;
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
class FittingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
        const QFont fitting = FittingFont(font(), text(), area.width());
        if (fitting == font() || !pixmap().isNull()) {
            QLabel::paintEvent(event);
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

void Form_Main::buildControls()
{
    setFont(WindowFont());

    const auto label = [](QWidget* parent, const char* name, const QString& caption, int left,
                          int top, int width, int height,
                          Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* l = Place(new QLabel(caption, parent), name, left, top, width, height);
        l->setAlignment(align);
        return l;
    };
    const auto frame = [](QWidget* parent, const char* name, const QString& caption, int left,
                          int top, int width, int height) {
        return Place(new QGroupBox(caption, parent), name, left, top, width, height);
    };
    const auto textBox = [](QWidget* parent, const char* name, const QString& text, int left,
                            int top, int width, int height) {
        return Place(new QLineEdit(text, parent), name, left, top, width, height);
    };
    const auto resultBox = [&](QWidget* parent, const char* name, int left, int top, int width,
                               int height) {
        QLineEdit* box = textBox(parent, name, QString(), left, top, width, height);
        box->setReadOnly(true);
        return box;
    };
    const auto comboBox = [](QWidget* parent, const char* name, const QString& text, int left,
                             int top, int width, int height) {
        auto* box = Place(new QComboBox(parent), name, left, top, width, height);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCurrentIndex(-1);
        box->setEditText(text);
        return box;
    };
    const auto option = [](QWidget* parent, const QString& name, const QString& caption, int left,
                           int top, int width, int height) {
        auto* o = new FittingRadioButton(caption, parent);
        o->setObjectName(name);
        o->setGeometry(TwipsRect(left, top, width, height));
        return o;
    };
    // One row of a result or input frame: caption, box, unit, one tooltip.
    const auto tip = [](const QString& text, std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets)
            w->setToolTip(text);
    };
    constexpr Qt::Alignment kCaptionAlign = Qt::AlignRight | Qt::AlignVCenter;

    // The selection area.
    Cmb_TipVR = comboBox(this, "Cmb_TipVR", QStringLiteral("Тип воздухораспределителя"), 120, 240,
                         2895, 315);
    Cmb_TipVR->setToolTip(QStringLiteral("Выбор типа воздухораспределителя"));
    Cmb_VidVR = comboBox(this, "Cmb_VidVR", QStringLiteral("Выбор воздухораспределителя"), 120, 720,
                         2895, 315);
    Cmb_VidVR->setToolTip(QStringLiteral("Выбор воздухораспределителя"));
    Cmb_VidVR->hide();

    Frm_Rzmr = frame(this, "Frm_Rzmr", QStringLiteral("Типоразмер"), 3120, 120, 1335, 975);
    Frm_Rzmr->setToolTip(QStringLiteral("Ввод типоразмера"));
    Lbl_A = label(Frm_Rzmr, "Lbl_A", QStringLiteral("A, мм"), 120, 240, 495, 255);
    TxtBx_A = textBox(Frm_Rzmr, "TxtBx_A", QStringLiteral("300"), 120, 480, 495, 315);
    Lbl_B = label(Frm_Rzmr, "Lbl_B", QStringLiteral("B, мм"), 720, 240, 495, 255);
    TxtBx_B = textBox(Frm_Rzmr, "TxtBx_B", QStringLiteral("300"), 720, 480, 495, 315);
    Frm_Rzmr->hide();

    Frm_Tprzmr = frame(this, "Frm_Tprzmr", QStringLiteral("Типоразмер"), 3120, 480, 1575, 615);
    Cmb_Tprzmr = comboBox(Frm_Tprzmr, "Cmb_Tprzmr", QStringLiteral("Типоразмер"), 60, 240, 1440, 315);
    Cmb_Tprzmr->setToolTip(QStringLiteral("Выбор типоразмера"));
    Frm_Tprzmr->hide();

    Frm_Dlina = frame(this, "Frm_Dlina", QStringLiteral("Длина, мм"), 3360, 360, 1335, 735);
    Frm_Dlina->setToolTip(QStringLiteral("Ввод длины щелевой решетки"));
    TxtBx_Dlina = textBox(Frm_Dlina, "TxtBx_Dlina", QStringLiteral("1000"), 120, 240, 1095, 375);
    Frm_Dlina->hide();

    Img_VR = Place(new QLabel(this), "Img_VR", 4800, 120, 3000, 1410);
    Img_VR->setScaledContents(true);
    Img_VR->installEventFilter(this);

    // The option groups.
    Frm_KSD = frame(this, "Frm_KSD", QStringLiteral("КСД"), 120, 1200, 855, 1020);
    Frm_KSD->setToolTip(QStringLiteral("Наличие и тип камеры статического давления"));
    const QString ksdCaptions[3] = {QStringLiteral("Нет"), QStringLiteral("КСД"),
                                    QStringLiteral("КСР")};
    for (int i = 0; i < 3; ++i)
        Opt_KSD[i] = option(Frm_KSD, QStringLiteral("Opt_KSD%1").arg(i + 1), ksdCaptions[i], 120,
                            240 + 240 * i, 700, 255);
    Frm_KSD->hide();

    Frm_RegForm = frame(this, "Frm_RegForm", QStringLiteral("Рег. формы струи"), 1080, 1200, 2175,
                        1260);
    Frm_RegForm->setToolTip(QStringLiteral("Регулирование формы струи и другие параметры"));
    for (int i = 0; i < 4; ++i)
        Opt_RegForm[i] = option(Frm_RegForm, QStringLiteral("Opt_RegForm%1").arg(i + 1),
                                QStringLiteral("Opt%1").arg(i + 1), 120, 240 + 240 * i, 2000, 255);
    Frm_RegForm->hide();

    Frm_RegRash = frame(this, "Frm_RegRash", QStringLiteral("Рег. расхода"), 3360, 1200, 1335, 1575);
    Frm_RegRash->setToolTip(QStringLiteral("Положение регулятора расхода"));
    const QString rashCaptions[5] = {QStringLiteral("b=0°"), QStringLiteral("b=15°"),
                                     QStringLiteral("b=30°"), QStringLiteral("b=45°"),
                                     QStringLiteral("b=60°")};
    for (int i = 0; i < 5; ++i)
        Opt_RegRash[i] = option(Frm_RegRash, QStringLiteral("Opt_RegRash%1").arg(i + 1),
                                rashCaptions[i], 120, 240 + 240 * i, 855, 255);
    Frm_RegRash->hide();

    // The site link.
    Lbl_URL = Place(new FittingLabel(QString::fromLatin1(nimbo::site::kAddress), this), "Lbl_URL",
                    4800, 2520, 3015, 375);
    Lbl_URL->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Lbl_URL->setToolTip(QStringLiteral("Переход на сайт ") + QString::fromLatin1(nimbo::site::kDomain));
    {
        QFont font = WindowFont();
        font.setPixelSize(16);
        font.setBold(true);
        font.setUnderline(true);
        Lbl_URL->setFont(font);
        QPalette palette = Lbl_URL->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
        Lbl_URL->setPalette(palette);
    }
    Lbl_URL->setCursor(Qt::PointingHandCursor);
    Lbl_URL->installEventFilter(this);

    // The calculation variant.
    Frm_Var = frame(this, "Frm_Var", QStringLiteral("Выбор варианта расчета"), 120, 2880, 7695, 855);
    Opt_Var1 = option(Frm_Var, QStringLiteral("Opt_Var1"),
                      QStringLiteral("Расчет дальнобойности l для заданной скорости Vx"), 120, 360,
                      7215, 195);
    Opt_Var2 = option(Frm_Var, QStringLiteral("Opt_Var2"),
                      QStringLiteral("Расчет скорости приточной струи Vx на заданном расстоянии X от "
                                     "воздухораспределителя"),
                      120, 600, 7335, 195);

    // The inputs.
    Frm_Ish = frame(this, "Frm_Ish", QStringLiteral("Исходные данные"), 120, 3840, 2175, 1215);
    Lbl_L = label(Frm_Ish, "Lbl_L", QStringLiteral("L0 ="), 45, 360, 495, 285, kCaptionAlign);
    TxtBx_L = textBox(Frm_Ish, "TxtBx_L", QString(), 600, 360, 855, 285);
    Lbl_RL = label(Frm_Ish, "Lbl_RL", QStringLiteral("м3/ч"), 1560, 360, 555, 285);
    tip(QStringLiteral("Объемный расход воздуха через воздухораспределитель"), {Lbl_L, TxtBx_L, Lbl_RL});
    Lbl_V = label(Frm_Ish, "Lbl_V", QStringLiteral("Vx ="), 45, 720, 495, 285, kCaptionAlign);
    TxtBx_V = textBox(Frm_Ish, "TxtBx_V", QString(), 600, 720, 855, 285);
    Lbl_RV = label(Frm_Ish, "Lbl_RV", QStringLiteral("м/с"), 1560, 720, 555, 285);
    tip(QStringLiteral("Скорость для расчета дальнобойности"), {Lbl_V, TxtBx_V, Lbl_RV});

    Cmd_Start = Place(new QPushButton(QStringLiteral("Считай!"), this), "Cmd_Start", 2400, 3960, 1215,
                      615);
    Cmd_Start->setToolTip(QStringLiteral("Запуск расчета"));
    Chk_Log = Place(new QCheckBox(QStringLiteral("Журнал"), this), "Chk_Log", 2400, 4680, 1215, 255);
    Chk_Log->setToolTip(QStringLiteral("Окно с журналом расчетов"));

    // The results.
    Frm_rez = frame(this, "Frm_rez", QStringLiteral("Результат"), 3720, 3840, 4095, 1215);
    Lbl_p = label(Frm_rez, "Lbl_p", QStringLiteral("ΔP ="), 45, 360, 495, 285, kCaptionAlign);
    TxtBx_p = resultBox(Frm_rez, "TxtBx_p", 600, 360, 855, 285);
    Lbl_RP = label(Frm_rez, "Lbl_RP", QStringLiteral("Па"), 1560, 360, 435, 285);
    tip(QStringLiteral("Потери полного давления"), {Lbl_p, TxtBx_p, Lbl_RP});
    Lbl_x = label(Frm_rez, "Lbl_x", QStringLiteral("l ="), 45, 720, 495, 285, kCaptionAlign);
    TxtBx_x = resultBox(Frm_rez, "TxtBx_x", 600, 720, 855, 285);
    Lbl_Rll = label(Frm_rez, "Lbl_Rll", QStringLiteral("м"), 1560, 720, 435, 285);
    tip(QStringLiteral("Дальнобойность струи для заданной Vx"), {Lbl_x, TxtBx_x, Lbl_Rll});
    Lbl_LwA = label(Frm_rez, "Lbl_LwA", QStringLiteral("LwA ="), 2040, 360, 555, 285, kCaptionAlign);
    TxtBx_LwA = resultBox(Frm_rez, "TxtBx_LwA", 2640, 360, 735, 285);
    Lbl_RLwA = label(Frm_rez, "Lbl_RLwA", QStringLiteral("дБ(А)"), 3480, 360, 555, 285);
    tip(QStringLiteral("Приведенный по фильтру А уровень звуковой мощности"),
        {Lbl_LwA, TxtBx_LwA, Lbl_RLwA});

    // The section results.
    Frm_FV = frame(this, "Frm_FV",
                   QStringLiteral("Пересчет расхода воздуха на его скорость в различных сечениях"),
                   120, 5040, 7695, 1335);
    Frm_RS = frame(Frm_FV, "Frm_RS", QStringLiteral("Расчетное сечение"), 120, 240, 1935, 975);
    Frm_SV = frame(Frm_FV, "Frm_SV", QStringLiteral("Сечение воздуховода"), 2280, 240, 1935, 975);
    Frm_JS = frame(Frm_FV, "Frm_JS", QStringLiteral("Живое сечение"), 4440, 240, 2055, 975);
    struct SectionRow {
        QGroupBox* frame;
        QLabel** caption;
        const char* captionName;
        const char* captionText;
        QLineEdit** box;
        const char* boxName;
        QLabel** unit;
        const char* unitName;
        const char* unitText;
        int top;
        const char* tooltip;
    };
    const SectionRow sectionRows[] = {
        {Frm_RS, &Lbl_F0, "Lbl_F0", "F0 = ", &TxtBx_F0, "TxtBx_F0", &Lbl_m2, "Lbl_m2", "м2", 240,
         "Площадь расчетного сечения воздухораспределителя"},
        {Frm_RS, &Lbl_V0, "Lbl_V0", "V0 = ", &TxtBx_V0, "TxtBx_V0", &Lbl_ms, "Lbl_ms", "м/с", 600,
         "Скорость воздуха в расчетном сечении воздухораспределителя"},
        {Frm_SV, &Lbl_Fv, "Lbl_Fv", "Fв = ", &TxtBx_Fv, "TxtBx_Fv", &Lbl_m22, "Lbl_m22", "м2", 240,
         "Площадь сечения подводящего воздуховода"},
        {Frm_SV, &Lbl_Vv, "Lbl_Vv", "Vв = ", &TxtBx_Vv, "TxtBx_Vv", &Lbl_mms, "Lbl_mms", "м/с", 600,
         "Скорость воздуха в сечении подводящего воздуховода"},
        {Frm_JS, &Lbl_Fjs, "Lbl_Fjs", "Fжс = ", &TxtBx_Fjs, "TxtBx_Fjs", &Lbl_m222, "Lbl_m222", "м2",
         240, "Площадь живого сечения"},
        {Frm_JS, &Lbl_Vjs, "Lbl_Vjs", "Vжс = ", &TxtBx_Vjs, "TxtBx_Vjs", &Lbl_mmms, "Lbl_mmms",
         "м/с", 600, "Скорость воздуха в живом сечении"},
    };
    for (const SectionRow& row : sectionRows) {
        // The free-section frame is wider: its box and unit sit 120 twips
        // further right to leave room for the longer caption.
        const int shift = row.frame == Frm_JS ? 120 : 0;
        *row.caption = label(row.frame, row.captionName, QString::fromUtf8(row.captionText), 120,
                             row.top, 465 + shift, 285);
        *row.box = resultBox(row.frame, row.boxName, 600 + shift, row.top, 735, 285);
        *row.unit = label(row.frame, row.unitName, QString::fromUtf8(row.unitText), 1440 + shift,
                          row.top, 435, 285);
        tip(QString::fromUtf8(row.tooltip), {*row.caption, *row.box, *row.unit});
    }

    // The log strip, below the normal height of the window.
    LstBx_Log = Place(new QListWidget(this), "LstBx_Log", 120, 6480, 7695, 2010);
    // Every entry is one line of the same font. Without this the list measures
    // every entry on each repaint, and a day's log of a thousand calculations
    // makes each "Считай!" take 20 ms instead of a fraction of one.
    LstBx_Log->setUniformItemSizes(true);
    Cmd_DelStr = Place(new QPushButton(QStringLiteral("Удалить строку"), this), "Cmd_DelStr", 120,
                       8640, 2415, 495);
    Cmd_DelStr->setToolTip(QStringLiteral("Удаление выделенной строки"));
    Cmd_Clear = Place(new QPushButton(QStringLiteral("Очистить журнал"), this), "Cmd_Clear", 2640,
                      8640, 2415, 495);
    Cmd_Clear->setToolTip(QStringLiteral("Удаление всех записей из окна журнала"));
    Lbl_Log = label(this, "Lbl_Log", QStringLiteral("Журнал дублируется в файл Nimbo.csv"), 5280,
                    8640, 2415, 495);
    Lbl_Log->setWordWrap(true);

    // The coefficient panel, beyond the right edge at the normal width.
    Frm_skrt = frame(this, "Frm_skrt", QStringLiteral("Секретный ур."), 7920, 2880, 1695, 3495);
    {
        QFont title = WindowFont();
        title.setBold(true);  // 8.25 points at 96 dpi
        Frm_skrt->setFont(title);
    }
    struct PanelRow {
        QLabel** caption;
        const char* captionName;
        const char* captionText;
        QLabel** value;
        const char* valueName;
        int valueLeft;
        int top;
    };
    const PanelRow panelRows[] = {
        {&Lbl_m, "Lbl_m", "m =", &Lbl_mData, "Lbl_mData", 600, 240},
        {&Lbl_Dzeta, "Lbl_Dzeta", "ξ =", &Lbl_DzetaData, "Lbl_DzetaData", 600, 600},
        {&Lbl_kr, "Lbl_kr", "k =", &Lbl_krData, "Lbl_krData", 600, 960},
        {&Lbl_Fm, "Lbl_Fm", "Fm =", &Lbl_FmData, "Lbl_FmData", 630, 1320},
        {&Lbl_Fz, "Lbl_Fz", "Fξ =", &Lbl_FzData, "Lbl_FzData", 630, 1680},
    };
    // The panel's rows in the plain window font: the bold of the panel's
    // caption would otherwise pass on to them.
    QFont plain = WindowFont();
    plain.setBold(false);
    for (const PanelRow& row : panelRows) {
        *row.caption = label(Frm_skrt, row.captionName, QString::fromUtf8(row.captionText), 120,
                             row.top, row.valueLeft - 120, 255);
        *row.value = label(Frm_skrt, row.valueName, QString(), row.valueLeft, row.top,
                           row.top >= 1320 ? 660 : 1020, 255);
        (*row.caption)->setFont(plain);
        (*row.value)->setFont(plain);
    }
    Lbl_mm2 = label(Frm_skrt, "Lbl_mm2", QStringLiteral("м2"), 1320, 1320, 330, 255);
    mmm2 = label(Frm_skrt, "mmm2", QStringLiteral("м2"), 1320, 1680, 330, 255);
    Lbl_mm2->setFont(plain);
    mmm2->setFont(plain);
    Cmd_skrt = Place(new WrappingButton(QStringLiteral("Закрыть секретный уровень"), Frm_skrt),
                     "Cmd_skrt", 120, 2520, 1455, 855);
    Cmd_skrt->setFont(plain);

    // Design-time selections: the first option of every group.
    Opt_KSD[0]->setChecked(true);
    Opt_RegForm[0]->setChecked(true);
    Opt_RegRash[0]->setChecked(true);
    Opt_Var1->setChecked(true);
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
        disconnect(box->lineEdit(), SIGNAL(returnPressed()), box, nullptr);
        disconnect(box->lineEdit(), SIGNAL(editingFinished()), box, nullptr);
    }

    // An option's select event runs when it becomes selected, whether the user
    // or the program selects it; losing the selection runs nothing.
    const auto onSelect = [this](QRadioButton* option, auto handler) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                handler(this);
        });
    };
    for (int i = 0; i < 3; ++i)
        onSelect(Opt_KSD[i], [n = i + 1](Form_Main* w) { w->Opt_KSD_Select(n); });
    for (int i = 0; i < 4; ++i)
        onSelect(Opt_RegForm[i], [n = i + 1](Form_Main* w) { w->Opt_RegForm_Select(n); });
    for (int i = 0; i < 5; ++i)
        onSelect(Opt_RegRash[i], [n = i + 1](Form_Main* w) { w->Opt_RegRash_Select(n); });
    onSelect(Opt_Var1, [](Form_Main* w) { w->Opt_Var_Select(1); });
    onSelect(Opt_Var2, [](Form_Main* w) { w->Opt_Var_Select(2); });

    // Every change of an input box's text, typed or set by the program.
    for (QLineEdit* box : {TxtBx_L, TxtBx_A, TxtBx_B})
        connect(box, &QLineEdit::textChanged, this, [this] { ResetAllResult(); });
    for (QLineEdit* box : {TxtBx_V, TxtBx_Dlina})
        connect(box, &QLineEdit::textChanged, this, [this] { ResetResult(); });

    connect(Cmd_Start, &QPushButton::clicked, this, [this] { Cmd_Start_Click(); });
    connect(Chk_Log, &QCheckBox::clicked, this, [this] { Chk_Log_Click(); });
    connect(Cmd_DelStr, &QPushButton::clicked, this, [this] { Cmd_DelStr_Click(); });
    connect(Cmd_Clear, &QPushButton::clicked, this, [this] { Cmd_Clear_Click(); });
    connect(Cmd_skrt, &QPushButton::clicked, this, [this] { Cmd_skrt_Click(); });
    // Img_VR and Lbl_URL are labels: their clicks come through eventFilter.
}
