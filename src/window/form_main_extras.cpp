// The log strip's height, the site link, the coefficient panel, and the
// keyboard and screen-reader conventions of a desktop window.
#include <array>
#include <functional>
#include <span>
#include <vector>
#include <initializer_list>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include "platform/platform.h"
#include "window/clickable_label.h"
#include "window/form_main.h"

namespace {

constexpr int kPanelClicks = 5;
constexpr int kMaxClicks = 32767;  // the counter is a 16-bit number

// Lets a handler written inside the window's member functions watch the
// events of one object, without a class of its own for every such watch.
class EventHook : public QObject {
public:
    EventHook(QObject* watched, std::function<bool(QEvent*)> handler)
        : QObject(watched), handler_(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

private:
    std::function<bool(QEvent*)> handler_;
};

bool IsSizeLocked(const QWidget& window)
{
    return (window.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) != 0;
}

bool IsWebAddress(const QString& address)
{
    const QUrl url(address);
    const QString scheme = url.scheme();
    const bool web = scheme.compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 ||
                     scheme.compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    return web && url.isValid() && !url.host().isEmpty();
}

// "L0 =" and "м3/ч" give "L0, м3/ч": what a screen reader says for the box.
QString NameFromCaption(const QLabel* caption, const QLabel* unit)
{
    QString name = caption ? caption->text().trimmed() : QString();
    if (name.endsWith(QLatin1Char('=')))
        name.chop(1);
    name = name.trimmed();
    if (unit && !unit->text().trimmed().isEmpty())
        name += QStringLiteral(", ") + unit->text().trimmed();
    return name;
}

}  // namespace

// --- Log strip ---------------------------------------------------------------

void Form_Main::Chk_Log_Click()
{
    outerHeightTwips_ = Chk_Log->isChecked() ? kLogHeight : kNormalHeight;
    applyOuterSize();
}

// --- Site link ---------------------------------------------------------------

void Form_Main::Lbl_URL_Click()
{
    OpenSite(siteAddress_);
}

void Form_Main::OpenSite(const QString& address)
{
    // The addresses come from a catalogue that is a plain text file; the
    // desktop would open a local file or start a program just as readily as
    // a web page, so only web pages are handed on; anything else is dropped
    // silently. Without a browser the user gets the address to copy.
    const QString trimmed = address.trimmed();
    if (IsWebAddress(trimmed) && !platform_.openUrl(trimmed))
        platform_.showMessage(this, QStringLiteral("Сайт"),
                              QStringLiteral("Не удалось открыть адрес: на компьютере не найден браузер.\n"
                                             "Адрес можно скопировать отсюда:\n\n") + trimmed,
                              nimbo::MessageIcon::Information);
}

// --- Coefficient panel -----------------------------------------------------

void Form_Main::Img_VR_Click()
{
    if (skrtClicks_ < kMaxClicks)
        ++skrtClicks_;
    if (skrtClicks_ != kPanelClicks)
        return;
    outerWidthTwips_ = kPanelWidth;
    applyOuterSize();
    platform_.showMessage(this, QStringLiteral("Секретный уровень"),
                          QStringLiteral("Поздравляю! Вы открыли секретный уровень Нимбо!"),
                          nimbo::MessageIcon::None);
}

void Form_Main::Cmd_skrt_Click()
{
    skrtClicks_ = 0;
    outerWidthTwips_ = kNormalWidth;
    applyOuterSize();
}

// --- Window size -------------------------------------------------------------

void Form_Main::applyOuterSize()
{
    // A maximised, minimised or full-screen window keeps the size the window
    // system gave it; the wanted size is remembered and set when the window
    // returns to normal (see applyDesktopConventions).
    if (IsSizeLocked(*this))
        return;
    nimbo::SetOuterSize(*this, QSize(nimbo::Twips(outerWidthTwips_), nimbo::Twips(outerHeightTwips_)));
}

// --- Desktop conventions -----------------------------------------------------

void Form_Main::refreshAccessibleNames()
{
    for (const ValueRow& row : sizes_)
        row.box->setAccessibleName(NameFromCaption(row.caption, nullptr));
    TxtBx_Dlina->setAccessibleName(Frm_Dlina->title());
    Cmb_Tprzmr->setAccessibleName(Frm_Tprzmr->title());
    for (const auto& rows : {std::span<const ValueRow>(inputs_), std::span<const ValueRow>(results_),
                             std::span<const ValueRow>(sections_)})
        for (const ValueRow& row : rows)
            row.box->setAccessibleName(NameFromCaption(row.caption, row.unit));
}

void Form_Main::applyTabOrder()
{
    // Tab walks the window in reading order: the choice band at the top, the
    // options, the variant, then each box of inputs and results row by row,
    // the section results, the coefficient panel at the right edge, and the
    // log strip at the bottom. Hidden controls are skipped by Qt itself.
    std::vector<QWidget*> order{Cmb_TipVR, Cmb_VidVR, sizes_[kSizeA].box, sizes_[kSizeB].box, Cmb_Tprzmr, TxtBx_Dlina};
    order.insert(order.end(), std::begin(Opt_KSD), std::end(Opt_KSD));
    order.insert(order.end(), std::begin(Opt_RegForm), std::end(Opt_RegForm));
    order.insert(order.end(), std::begin(Opt_RegRash), std::end(Opt_RegRash));
    order.insert(order.end(), {Lbl_URL, Opt_Var[0], Opt_Var[1], inputs_[kFlowRow].box, inputs_[kSpeedRow].box,
                               Cmd_Start, Chk_Log, results_[kLossRow].box, results_[kJetRow].box,
                               results_[kSoundRow].box});
    for (const ValueRow& row : sections_)
        order.push_back(row.box);
    order.push_back(Cmd_skrt);
    for (QWidget* w : log_->tabChain())
        order.push_back(w);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form_Main::applyAccessibleNames()
{
    // Each box is named by its caption and unit, so a screen reader (or a
    // test tool) finds "L0, м3/ч" rather than an anonymous field. The labels
    // are tied to their boxes as well. Option buttons are named by their own
    // caption, which Qt reads at the moment it is asked, so the captions the
    // catalogue writes need no bookkeeping here.
    for (const auto& rows : {std::span<const ValueRow>(sizes_), std::span<const ValueRow>(inputs_),
                             std::span<const ValueRow>(results_), std::span<const ValueRow>(sections_)})
        for (const ValueRow& row : rows)
            row.caption->setBuddy(row.box);
    Cmb_TipVR->setAccessibleName(QStringLiteral("Тип воздухораспределителя"));
    Cmb_VidVR->setAccessibleName(QStringLiteral("Выбор воздухораспределителя"));
    Img_VR->setAccessibleName(QStringLiteral("Изображение воздухораспределителя"));
    refreshAccessibleNames();
    // The variant switch relabels the second input and the jet result. The
    // names are refreshed once the switch has finished, whichever of the
    // button's signals the switch itself listens to.
    for (QRadioButton* variant : Opt_Var)
        connect(variant, &QRadioButton::toggled, this, [this] { refreshAccessibleNames(); },
                Qt::QueuedConnection);
}

void Form_Main::applyDesktopConventions()
{
    // Enter in an input box runs the calculation, as the default button of a
    // dialog would; a plain window has no default button of its own.
    Cmd_Start->setDefault(true);
    for (QLineEdit* input : inputBoxes())
        connect(input, &QLineEdit::returnPressed, Cmd_Start, &QPushButton::click);

    applyTabOrder();
    // The link is reachable by Tab and opened with Enter or Space like any link.
    Lbl_URL->setFocusPolicy(Qt::TabFocus);

    applyAccessibleNames();

    // The menu entry installed with the program is nimbo.desktop, its icon
    // "nimbo" in the icon theme; naming them lets the desktop match the
    // running window to its entry and icon.
    if (QGuiApplication::desktopFileName().isEmpty())
        QGuiApplication::setDesktopFileName(QStringLiteral("nimbo"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("nimbo"), windowIcon()));

    // A size asked for while the window was maximised or minimised takes
    // effect when it returns to normal. Queued, so that it comes after the
    // window system has restored the old normal geometry.
    // The log strip and the panel lie beyond the window's edge until it is
    // enlarged; while they do, Tab passes them by rather than putting the
    // focus where nobody can see it.
    new EventHook(this, [this](QEvent* event) {
        if (event->type() == QEvent::WindowStateChange && !IsSizeLocked(*this))
            QMetaObject::invokeMethod(this, [this] { applyOuterSize(); }, Qt::QueuedConnection);
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            updateReach();
        return false;
    });
    updateReach();
}

void Form_Main::updateReach()
{
    const std::array<QWidget*, 3> strip = log_->tabChain();
    for (QWidget* w : std::initializer_list<QWidget*>{Cmd_skrt, strip[0], strip[1], strip[2]}) {
        if (!w)
            continue;
        // By its middle: a frame a pixel thicker than planned may clip the
        // lowest buttons a little without hiding them.
        const QRect place(w->mapTo(this, QPoint(0, 0)), w->size());
        const bool inside = rect().contains(place.center());
        w->setFocusPolicy(inside ? Qt::StrongFocus : Qt::NoFocus);
        if (!inside && w->hasFocus())
            focusNextChild();
    }
}
