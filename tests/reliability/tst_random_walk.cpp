// Thousands of random user actions on the real window over random catalogues,
// with the rules that must hold checked after every single step:
//   - the window is alive;
//   - an action that changes an input or a choice leaves empty the result
//     boxes it must clear, and no box ever shows a value next to inputs it
//     was not computed from;
//   - a calculation shows exactly what the engine computes from what the
//     window shows, or a message and nothing else;
//   - the log file is exactly the headers and data lines made so far, each a
//     whole line, and the list holds an entry for each data line, made at the
//     same moment, minus the ones the user removed.
//
// The seed is printed; NIMBO_RANDOM_WALK_SEED repeats a run, and
// NIMBO_RANDOM_WALK_STEPS sets the number of steps.
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <random>

#include "reliability_fixture.h"

using namespace nimbo;
using namespace nimbo::test;

namespace {

constexpr int kDefaultSteps = 150000;
constexpr int kStepsPerEpisode = 400;  // then a new catalogue and a new window

template <class T>
const T& Pick(std::mt19937& r, std::initializer_list<T> choices)
{
    return choices.begin()[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(r)];
}
int Uniform(std::mt19937& r, int low, int high) { return std::uniform_int_distribution<int>(low, high)(r); }
bool Chance(std::mt19937& r, int percent) { return Uniform(r, 1, 100) <= percent; }

// --- Random catalogues ----------------------------------------------------------

Line RandomLine(std::mt19937& r, Line l, const std::string& mode)
{
    using S = std::string;
    using namespace field;
    if (mode == "n")
        l.set(5, Pick<S>(r, {"0", "10", "20", "20", "50", "400"})).set(6, Pick<S>(r, {"0", "20", "35"}));
    else if (mode == "dlina")
        l.set(5, Pick<S>(r, {"0.01", "0.025", "0.05", "0.02", "0"})).set(6, Pick<S>(r, {"0.01", "0.02", "0.015", "0"}));
    else
        l.set(5, Pick<S>(r, {"0.01", "0.04", "0.1", "0.2", "0"})).set(6, Pick<S>(r, {"0.008", "0.03", "0.1", "0.04", "0"}));
    l.set(kSectionMode, Pick<S>(r, {"0", "1", "1", "2", "2", "3"}));
    for (int k = 1; k <= 4; ++k) {
        const bool offered = k == 1 ? Chance(r, 80) : Chance(r, 50);
        l.set(JetCaption(k), offered ? Pick<S>(r, {"Веер", "Компакт", "4 стороны, веер"}) : S("n"));
        l.set(M(k), Pick<S>(r, {"0", "1.5", "2", "3.3"}));
        l.set(Dzeta(k), Pick<S>(r, {"0", "1.5", "2.5", "111111"}));
        l.set(DzetaP(k), Pick<S>(r, {"0", "0", "2.5", "4"}));
        l.set(FreeRatio(k), Pick<S>(r, {"0", "0.5", "0.8"}));
        for (bool plenum : {false, true}) {
            const bool sound = Chance(r, 80);
            for (int band = 0; band < 8; ++band) {
                l.set(Sound(k, plenum) + band, sound ? Pick<S>(r, {"8", "10", "12"}) : S("0"));
                l.set(Sound(k, plenum) + 8 + band, Pick<S>(r, {"10", "25", "40", "-60"}));
                l.set(Sound(k, plenum) + 16 + band, Pick<S>(r, {"-5", "0", "5"}));
            }
        }
    }
    l.set(kMFlat, Pick<S>(r, {"0", "0", "2"}));
    for (int p = 1; p <= 5; ++p) {
        const bool offered = p == 1 ? Chance(r, 70) : Chance(r, 60);
        l.set(RegCaption(p), offered ? "b=" + std::to_string(15 * (p - 1)) + "°" : S("n"));
        for (int k = 1; k <= 4; ++k) {
            l.set(Kr(k, p), Pick<S>(r, {"0", "0.8", "1.2"}));
            l.set(DL(k, p), Pick<S>(r, {"-3", "0", "2", "5"}));
        }
    }
    return l;
}

std::string RandomCatalogue(std::mt19937& r)
{
    using S = std::string;
    std::vector<Line> lines;
    const int records = Uniform(r, 1, 8);
    for (int i = 0; i < records; ++i) {
        const S type = Pick<S>(r, {"Диффузоры", "Решетки", "диффузоры", "Клапаны"});
        const S model = Pick<S>(r, {"ПДК-1", "ЩДМЖ-2", "АДМЗ", "ЩР-ДПЗ", "РДТЗ", "ДПУ", "АМН 1,5", "ПДК-1"});
        const S mode = Pick<S>(r, {"n", "dlina", "listed"});
        const int count = mode == "n" ? 1 : Uniform(r, 1, 4);
        for (int k = 1; k <= count; ++k) {
            const S designation = k == 1 && mode != "listed"
                                      ? mode
                                      : Pick<S>(r, {"100x100", "200x200", "300x150", "100x100", "600", "Ø250"});
            const int countField = k == 1 ? (mode == "n" ? Uniform(r, 0, 3) : count) : Uniform(r, 0, 9);
            lines.push_back(RandomLine(r, Record(model, type, designation, countField), mode));
        }
    }
    return FileBytes(lines);
}

// --- The walk ------------------------------------------------------------------

// Usable numbers, mostly; texts the calculation must refuse, now and then.
const QStringList kNumbers{"1000", "0.2", "3.5", "300", "250", "1500", "999", "1001", "0,5",
                           "360",  "  7 ", "12345678", "1e-5", "2.5e2", "500", "0.05", "4"};
const QStringList kNonNumbers{"", "abc", "-1", "1e999", "0", "nan", "1,2,3", "сто", "1 000"};
const QStringList kOptions{"Opt_KSD1",     "Opt_KSD2",     "Opt_KSD3",     "Opt_RegForm1", "Opt_RegForm2",
                           "Opt_RegForm3", "Opt_RegForm4", "Opt_RegRash1", "Opt_RegRash2", "Opt_RegRash3",
                           "Opt_RegRash4", "Opt_RegRash5"};

class Walk {
public:
    Walk(unsigned seed, int steps) : random_(seed), steps_(steps) {}

    // Empty when every step kept every rule; otherwise what broke, where,
    // and the actions that led there.
    QString run()
    {
        for (int step = 0; step < steps_; ++step) {
            if (step % kStepsPerEpisode == 0)
                newEpisode();
            QString problem = act();
            if (problem.isEmpty())
                problem = checkAlways();
            if (!problem.isEmpty())
                return QStringLiteral("step %1: %2\nlast actions:\n  %3")
                    .arg(step)
                    .arg(problem, history_.mid(std::max<qsizetype>(0, history_.size() - 25)).join(QStringLiteral("\n  ")));
        }
        return {};
    }
    int calculations() const { return calculations_; }
    int refusals() const { return refusals_; }

private:
    // The inputs a result box depends on, as one text.
    enum class Depends { Everything, AllButTheVariant, Sections };

    void newEpisode()
    {
        s_.reset();
        const char separator = Chance(random_, 50) ? ',' : '.';
        s_ = std::make_unique<Started>(RandomCatalogue(random_), QStringLiteral("Нимбо тест"), separator);
        expectedFile_ = HeaderLines({1});
        expectedList_.clear();
        stamps_.fill(QString());
        history_ << QStringLiteral("--- new catalogue, decimal separator '%1'").arg(separator);
        pick(QStringLiteral("Cmb_TipVR"));
    }

    QString fingerprint(Depends d) const
    {
        const Selection sel = s_->window->selection();
        QStringList parts{QString::number(sel.row), QString::number(sel.sizeIndex), QString::number(sel.modelChosen),
                          QString::number(sel.sizeChosen), s_->text("TxtBx_L"), s_->text("TxtBx_A"),
                          s_->text("TxtBx_B")};
        if (d == Depends::Sections) {
            parts << QString::number(s_->control<QRadioButton>("Opt_RegForm1")->isHidden());
            for (int k = 1; k <= 4; ++k)
                parts << QString::number(s_->control<QRadioButton>("Opt_RegForm" + QString::number(k))->isChecked());
            return parts.join(QLatin1Char('|'));
        }
        parts << s_->text("TxtBx_Dlina");
        for (const char* frame : {"Frm_KSD", "Frm_RegForm", "Frm_RegRash"})
            parts << QString::number(s_->control<QWidget>(frame)->isHidden());
        for (const QString& option : kOptions)
            parts << QString::number(s_->control<QRadioButton>(option)->isChecked())
                  << QString::number(s_->control<QRadioButton>(option)->isHidden());
        if (d == Depends::Everything)
            parts << s_->text("TxtBx_V") << QString::number(s_->control<QRadioButton>("Opt_Var2")->isChecked());
        return parts.join(QLatin1Char('|'));
    }
    static Depends DependsOf(const QString& box)
    {
        if (box == QLatin1String("TxtBx_x"))
            return Depends::Everything;
        if (box == QLatin1String("TxtBx_p") || box == QLatin1String("TxtBx_LwA"))
            return Depends::AllButTheVariant;
        return Depends::Sections;
    }
    void stampAll()
    {
        for (int i = 0; i < kAllResults.size(); ++i)
            stamps_[static_cast<std::size_t>(i)] = fingerprint(DependsOf(kAllResults[i]));
    }

    // Rules that hold after every step, whatever the action was.
    QString checkAlways() const
    {
        if (!s_->window->isVisible())
            return QStringLiteral("the window is gone");
        for (int i = 0; i < kAllResults.size(); ++i) {
            const QString& box = kAllResults[i];
            if (!s_->text(box).isEmpty() && stamps_[static_cast<std::size_t>(i)] != fingerprint(DependsOf(box)))
                return box + QStringLiteral(" shows '") + s_->text(box) +
                       QStringLiteral("' next to inputs it was not computed from");
        }
        const QByteArray file = s_->logFile();
        for (const QByteArray& line : FileLines(file))
            if (!line.endsWith("\r\n") || line.indexOf('\r') != line.size() - 2)
                return QStringLiteral("a line of the log file is not whole: ") + QString::fromLatin1(line.toHex());
        if (file != expectedFile_)
            return QStringLiteral("the log file holds %1 lines, expected %2")
                .arg(FileLines(file).size())
                .arg(FileLines(expectedFile_).size());
        if (s_->listEntries() != expectedList_)
            return QStringLiteral("the list holds %1 entries, expected %2")
                .arg(s_->list()->count())
                .arg(expectedList_.size());
        return {};
    }

    QString mustBeEmpty(const QStringList& boxes, const QString& after) const
    {
        for (const QString& box : boxes)
            if (!s_->text(box).isEmpty())
                return box + QStringLiteral(" not cleared after ") + after;
        if (s_->window->skrtClicks() != 0)
            return QStringLiteral("the picture click count not reset after ") + after;
        return {};
    }

    QString act()
    {
        const int what = Uniform(random_, 0, 99);
        if (what < 3)
            return pick(QStringLiteral("Cmb_TipVR"));
        if (what < 12)
            return pick(QStringLiteral("Cmb_VidVR"));
        if (what < 26)
            return pick(QStringLiteral("Cmb_Tprzmr"));
        if (what < 40)
            return clickOption();
        if (what < 55)
            return edit();
        if (what < 60)
            return switchVariant();
        if (what < 80)
            return calculate();
        if (what < 88)
            return logCommand();
        if (what < 94)
            return clickPicture();
        if (what < 96)
            return closePanel();
        if (what < 98)
            return typeIntoList();
        return clickLink();
    }

    QString pick(const QString& combo)
    {
        auto* box = s_->control<QComboBox>(combo);
        if (!box->isVisibleTo(s_->window.get()) || box->count() == 0)
            return {};
        const int index = Uniform(random_, 0, box->count() - 1);
        history_ << QStringLiteral("pick %1 '%2'").arg(combo, box->itemText(index));
        s_->pickIndex(combo, index);
        if (QString problem = mustBeEmpty(kAllResults, QStringLiteral("a pick in ") + combo); !problem.isEmpty())
            return problem;
        // A person who picks a type mostly goes on to pick a model, and a size.
        if (combo == QLatin1String("Cmb_TipVR") && Chance(random_, 80))
            return pick(QStringLiteral("Cmb_VidVR"));
        if (combo == QLatin1String("Cmb_VidVR") && Chance(random_, 80))
            return pick(QStringLiteral("Cmb_Tprzmr"));
        return {};
    }

    QString clickOption()
    {
        QList<QRadioButton*> offered;
        for (const QString& name : kOptions) {
            auto* option = s_->control<QRadioButton>(name);
            if (option->isVisibleTo(s_->window.get()))
                offered << option;
        }
        if (offered.isEmpty())
            return {};
        QRadioButton* option = offered[Uniform(random_, 0, static_cast<int>(offered.size()) - 1)];
        const bool selects = !option->isChecked();
        history_ << QStringLiteral("click %1 '%2'").arg(option->objectName(), option->text());
        option->click();
        if (!selects)
            return {};
        const bool jetForm = option->objectName().startsWith(QLatin1String("Opt_RegForm"));
        return mustBeEmpty(jetForm ? kAllResults : kMainResults, QStringLiteral("selecting ") + option->objectName());
    }

    QString edit()
    {
        QList<QLineEdit*> boxes;
        for (const QString& name : kInputBoxes)
            if (s_->box(name)->isVisibleTo(s_->window.get()))
                boxes << s_->box(name);
        QLineEdit* box = boxes[Uniform(random_, 0, static_cast<int>(boxes.size()) - 1)];
        const QStringList& pool = Chance(random_, 85) ? kNumbers : kNonNumbers;
        const QString text = pool[Uniform(random_, 0, static_cast<int>(pool.size()) - 1)];
        QSignalSpy changes(box, &QLineEdit::textChanged);
        if (Chance(random_, 50)) {
            history_ << QStringLiteral("set %1 to '%2'").arg(box->objectName(), text);
            box->setText(text);
        } else {
            history_ << QStringLiteral("type '%2' over %1").arg(box->objectName(), text);
            box->setFocus();
            box->selectAll();
            if (text.isEmpty())
                QTest::keyClick(box, Qt::Key_Backspace);
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        if (changes.isEmpty())
            return {};
        const bool all = box->objectName() == QLatin1String("TxtBx_L") || box->objectName() == QLatin1String("TxtBx_A") ||
                         box->objectName() == QLatin1String("TxtBx_B");
        QString problem = mustBeEmpty(all ? kAllResults : kMainResults, QStringLiteral("an edit of ") + box->objectName());
        if (problem.isEmpty() && Chance(random_, 20)) {
            history_ << QStringLiteral("press Enter in %1").arg(box->objectName());
            problem = calculateWith([box] { QTest::keyClick(box, Qt::Key_Return); });
        }
        return problem;
    }

    QString switchVariant()
    {
        const int variant = Uniform(random_, 1, 2);
        auto* option = s_->control<QRadioButton>("Opt_Var" + QString::number(variant));
        history_ << QStringLiteral("click Opt_Var%1").arg(variant);
        if (option->isChecked()) {
            option->click();
            return {};
        }
        const QString carried = s_->text("TxtBx_x");
        QSignalSpy inputChanges(s_->box("TxtBx_V"), &QLineEdit::textChanged);
        option->click();
        expectedFile_ += HeaderLines({variant});
        const QString expectedV = carried.isEmpty() || carried == QLatin1String("-")
                                      ? QString::fromLatin1(variant == 1 ? "0.2" : "3.5")
                                      : carried;
        if (s_->text("TxtBx_V") != expectedV)
            return QStringLiteral("the variant switch put '%1' into TxtBx_V, expected '%2'").arg(s_->text("TxtBx_V"), expectedV);
        // p and LwA do not depend on the variant; they go only with a change of TxtBx_V.
        return mustBeEmpty(inputChanges.isEmpty() ? QStringList{"TxtBx_x"} : kMainResults,
                           QStringLiteral("the variant switch"));
    }

    QString calculate()
    {
        history_ << QStringLiteral("click Cmd_Start");
        return calculateWith([this] { s_->calculate(); });
    }

    QString calculateWith(const std::function<void()>& press)
    {
        const Started::Expected expected = s_->expected();
        const QStringList before = s_->results();
        const qsizetype messages = s_->platform.messages.size();
        press();
        if (!expected.ok) {
            ++refusals_;
            if (s_->platform.messages.size() != messages + 1 ||
                s_->platform.messages.last().text != QString::fromStdString(expected.message))
                return QStringLiteral("a refused calculation did not say: ") + QString::fromStdString(expected.message);
            if (s_->results() != before)
                return QStringLiteral("a refused calculation changed the results");
            return {};
        }
        ++calculations_;
        if (s_->platform.messages.size() != messages)
            return QStringLiteral("a calculation that went through showed: ") + s_->platform.messages.last().text;
        if (s_->results() != Started::ResultsOf(expected))
            return QStringLiteral("the boxes show %1, the engine gives %2")
                .arg(s_->results().join(QLatin1Char(' ')), Started::ResultsOf(expected).join(QLatin1Char(' ')));
        if (s_->control<QLabel>("Lbl_mData")->text() != QString::fromStdString(expected.texts.mData) ||
            s_->control<QLabel>("Lbl_DzetaData")->text() != QString::fromStdString(expected.texts.dzetaData) ||
            s_->control<QLabel>("Lbl_krData")->text() != QString::fromStdString(expected.texts.krData))
            return QStringLiteral("the coefficient panel does not show the engine's coefficients");
        expectedFile_ += QByteArray::fromStdString(LogFile::dataLineBytes(expected.record));
        expectedList_ << QString::fromStdString(expected.record.listLine());
        stampAll();
        return {};
    }

    QString logCommand()
    {
        QListWidget* list = s_->list();
        switch (Uniform(random_, 0, 3)) {
        case 0:
            history_ << QStringLiteral("click Chk_Log");
            s_->control<QCheckBox>("Chk_Log")->click();
            break;
        case 1: {
            int removed = 0;
            if (list->count() > 0 && Chance(random_, 60)) {
                removed = Uniform(random_, 0, list->count() - 1);
                list->setCurrentRow(removed);
            } else {
                list->clearSelection();
                list->setCurrentRow(-1);
            }
            history_ << QStringLiteral("click Cmd_DelStr with entry %1 marked").arg(removed);
            s_->control<QPushButton>("Cmd_DelStr")->click();
            if (!expectedList_.isEmpty())
                expectedList_.removeAt(removed);
            break;
        }
        default:
            history_ << QStringLiteral("click Cmd_Clear");
            s_->control<QPushButton>("Cmd_Clear")->click();
            expectedList_.clear();
            break;
        }
        return {};
    }

    QString clickPicture()
    {
        const int clicks = s_->window->skrtClicks();
        const qsizetype messages = s_->platform.messages.size();
        history_ << QStringLiteral("click Img_VR");
        QTest::mouseClick(s_->control<QLabel>("Img_VR"), Qt::LeftButton);
        if (s_->window->skrtClicks() != std::min(clicks + 1, 32767))
            return QStringLiteral("the picture click count went from %1 to %2").arg(clicks).arg(s_->window->skrtClicks());
        const bool greeted = s_->platform.messages.size() == messages + 1 &&
                             s_->platform.messages.last().title == QStringLiteral("Секретный уровень");
        if (greeted != (clicks + 1 == 5))
            return QStringLiteral("the fifth click greets, and only the fifth");
        return {};
    }

    QString closePanel()
    {
        history_ << QStringLiteral("click Cmd_skrt");
        s_->control<QPushButton>("Cmd_skrt")->click();
        return s_->window->skrtClicks() == 0 ? QString() : QStringLiteral("Cmd_skrt left the click count");
    }

    // Typing into a combo box's own text runs no handler.
    QString typeIntoList()
    {
        const QString combo = Chance(random_, 50) ? QStringLiteral("Cmb_TipVR") : QStringLiteral("Cmb_VidVR");
        auto* box = s_->control<QComboBox>(combo);
        if (!box->isVisibleTo(s_->window.get()))
            return {};
        const QStringList before = s_->results();
        const QString text = Pick<QString>(random_, {QStringLiteral("x"), QStringLiteral("ПДК, 1"), QString()});
        history_ << QStringLiteral("type '%1' into %2").arg(text, combo);
        box->lineEdit()->setText(text);
        return s_->results() == before ? QString() : QStringLiteral("typing into a list changed the results");
    }

    QString clickLink()
    {
        history_ << QStringLiteral("click Lbl_URL");
        const qsizetype opened = s_->platform.openedUrls.size();
        QTest::mouseClick(s_->control<QLabel>("Lbl_URL"), Qt::LeftButton);
        if (s_->platform.openedUrls.size() > opened + 1)
            return QStringLiteral("one click opened several pages");
        return {};
    }

    std::mt19937 random_;
    int steps_;
    std::unique_ptr<Started> s_;
    QByteArray expectedFile_;
    QStringList expectedList_;
    std::array<QString, 9> stamps_;
    QStringList history_;
    int calculations_ = 0, refusals_ = 0;
};

}  // namespace

class TestRandomWalk : public QObject {
    Q_OBJECT
private slots:
    void random_actions_keep_every_rule();
};

void TestRandomWalk::random_actions_keep_every_rule()
{
    bool seedGiven = false;
    unsigned seed = qEnvironmentVariable("NIMBO_RANDOM_WALK_SEED").toUInt(&seedGiven);
    if (!seedGiven)
        seed = std::random_device()();
    bool stepsGiven = false;
    int steps = qEnvironmentVariableIntValue("NIMBO_RANDOM_WALK_STEPS", &stepsGiven);
    if (!stepsGiven || steps <= 0)
        steps = kDefaultSteps;
    qInfo("random walk seed %u, %d steps (NIMBO_RANDOM_WALK_SEED=%u repeats this run)", seed, steps, seed);

    Walk walk(seed, steps);
    const QString problem = walk.run();
    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("seed %1, ").arg(seed) + problem));
    qInfo("%d calculations made, %d refused with a message", walk.calculations(), walk.refusals());
    // A walk that never reached the engine would have checked little.
    QVERIFY(walk.calculations() > steps / 50);
    QVERIFY(walk.refusals() > 0);
}

QTEST_MAIN(TestRandomWalk)
#include "tst_random_walk.moc"
