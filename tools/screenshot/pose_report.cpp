// Makes the README's report: three calculations in the real window (a listed
// size, a free size, a slot grille; both variants), then «Сохранить отчет в
// PDF…» from the log list's menu, the file dialog answered with the path
// given (scripts/screenshot.sh renders its first page). Given a number of
// seconds as well, it then shows the window with the log strip open, two
// entries marked and the list's menu open, for a screenshot.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

#include "platform/platform.h"
#include "window/form_main.h"

namespace {

class PosingPlatform : public nimbo::QtPlatform {
public:
    explicit PosingPlatform(QString pdf) : pdf_(std::move(pdf)) {}
    void showMessage(QWidget*, const QString& title, const QString& text, nimbo::MessageIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        failed = true;
    }
    QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override { return pdf_; }
    bool failed = false;

private:
    QString pdf_;
};

template <class T>
T* Find(const QWidget& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

bool Pick(const QWidget& window, const char* comboName, const QString& text)
{
    auto* box = Find<QComboBox>(window, comboName);
    const int index = box ? box->findText(text) : -1;
    if (index < 0) {
        std::fprintf(stderr, "%s: no entry \"%s\"\n", comboName, qPrintable(text));
        return false;
    }
    box->setCurrentIndex(index);
    emit box->activated(index);
    return true;
}

struct Calculation {
    const char *type, *model, *size, *a, *b, *length;
    int variant;
    const char *flow, *second;
};

bool Calculate(const QWidget& window, const Calculation& c)
{
    if (!Pick(window, "Cmb_TipVR", QString::fromUtf8(c.type)) || !Pick(window, "Cmb_VidVR", QString::fromUtf8(c.model)))
        return false;
    if (*c.size && !Pick(window, "Cmb_Tprzmr", QString::fromUtf8(c.size)))
        return false;
    if (*c.a) {
        Find<QLineEdit>(window, "TxtBx_A")->setText(QString::fromUtf8(c.a));
        Find<QLineEdit>(window, "TxtBx_B")->setText(QString::fromUtf8(c.b));
    }
    if (*c.length)
        Find<QLineEdit>(window, "TxtBx_Dlina")->setText(QString::fromUtf8(c.length));
    Find<QRadioButton>(window, c.variant == 2 ? "Opt_Var2" : "Opt_Var1")->click();
    Find<QLineEdit>(window, "TxtBx_L")->setText(QString::fromUtf8(c.flow));
    // Typed as the user's locale writes numbers.
    Find<QLineEdit>(window, "TxtBx_V")->setText(QString::fromUtf8(c.second).replace(QLatin1Char('.'), QLocale().decimalPoint()));
    Find<QPushButton>(window, "Cmd_Start")->click();
    return true;
}

}  // namespace

// Arguments: program folder, PDF file to write[, seconds to show the menu].
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: pose_report FOLDER REPORT.pdf\n");
        return 2;
    }
    PosingPlatform platform(args[2]);
    Form_Main window(args[1], platform);
    if (!window.startUp())
        return 1;
    const Calculation calculations[] = {
        {"Диффузоры квадратные", "ПДК", "450x450", "", "", "", 1, "800", "0.5"},
        {"Решетки любого размера", "РС-1", "", "600", "200", "", 2, "600", "3"},
        {"Диффузоры щелевые", "1ДМЗ", "", "", "", "1500", 1, "300", "0.25"},
    };
    for (const Calculation& c : calculations)
        if (!Calculate(window, c))
            return 1;
    Find<QAction>(*Find<QMenu>(window, "Mnu_Log"), "Mnu_SavePdf")->trigger();
    if (platform.failed || args.size() < 4)
        return platform.failed ? 1 : 0;

    window.show();
    Find<QCheckBox>(window, "Chk_Log")->click();
    auto* list = Find<QListWidget>(window, "LstBx_Log");
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    QTimer::singleShot(1500, &window, [list] {
        const QPoint at = list->visualItemRect(list->item(2)).center();
        emit list->customContextMenuRequested(at);
    });
    QTimer::singleShot(args[3].toInt() * 1000, &app, &QApplication::quit);
    return app.exec();
}
