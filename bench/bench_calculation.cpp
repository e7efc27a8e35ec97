// One "Считай!" with its file line and list entry: the engine alone, the
// engine with the log file line, and the real button of the real window
// (offscreen), clicked again and again on a size of the shipped catalogue.
// Then the report of the log list saved as a PDF file.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "calc/calculation.h"
#include "catalogue/catalogue.h"
#include "log/log_file.h"
#include "log/record_of.h"
#include "platform/platform.h"
#include "window/form_main.h"

namespace {

// The bench must never wait for a message box nobody will close: a refused
// calculation means the bench chose wrongly, so it stops at once.
class BenchPlatform : public nimbo::QtPlatform {
public:
    void showMessage(QWidget*, const QString& title, const QString& text, nimbo::MessageIcon) override
    {
        std::fprintf(stderr, "unexpected message «%s»: %s\n", qPrintable(title), qPrintable(text));
        std::abort();
    }
    bool openUrl(const QString&) override { return true; }
    QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override { return reportPath; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    QString reportPath;
};

// The row and size of the shipped catalogue the benchmarks calculate: a
// square ceiling diffuser with plenum, four jet-form options and a flow
// regulator, so every stage has work to do.
constexpr int kRow = 1;
constexpr int kSize = 3;

struct Engine {
    nimbo::Catalogue catalogue;
    nimbo::Calculation snapshot;
    std::unique_ptr<nimbo::LogFile> log;
};

struct Window {
    BenchPlatform platform;
    std::unique_ptr<Form_Main> form;
    QPushButton* start = nullptr;
    QListWidget* list = nullptr;
};

Engine* engine = nullptr;
Window* window = nullptr;

void Choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index < 0) {
        std::fprintf(stderr, "no entry «%s» in %s\n", qPrintable(text), qPrintable(box->objectName()));
        std::abort();
    }
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// What the window hands the engine after the same choices: the row's first
// option of every group selected, default inputs, variant 1.
nimbo::Calculation SnapshotOf(const nimbo::Catalogue& cat)
{
    const nimbo::SizeLine line = cat.line(kRow, kSize);
    nimbo::Calculation s;
    s.catalogue = &cat;
    nimbo::Choice& c = s.choice;
    c.selection = {kRow, kSize, true, true};
    c.shown.model = std::string(cat.modelName(kRow));
    c.shown.listedSize = std::string(line.designation());
    c.options.ksdApplies = c.options.regFormApplies = c.options.regRashApplies = true;
    c.shown.jetForm = std::string(line.jetCaption(1));
    c.shown.regulator = std::string(line.regCaption(1));
    return s;
}

void BM_Calculate(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(nimbo::Calculate(engine->snapshot));
}

void BM_AppendDataLine(benchmark::State& state)
{
    const nimbo::Outcome out = nimbo::Calculate(engine->snapshot);
    for (auto _ : state)
        if (!engine->log->appendDataLine(nimbo::RecordOf(engine->snapshot.choice, out)))
            return state.SkipWithError("the log file cannot be written");
}

void BM_CalculateWithFileLine(benchmark::State& state)
{
    for (auto _ : state) {
        const nimbo::Outcome out = nimbo::Calculate(engine->snapshot);
        if (!out.ok || !engine->log->appendDataLine(nimbo::RecordOf(engine->snapshot.choice, out)))
            return state.SkipWithError("calculation refused or log file not written");
    }
}

// The button's whole handler: snapshot of the controls, engine, result
// texts, file line, list entry.
void BM_CmdStartClick(benchmark::State& state)
{
    for (auto _ : state)
        window->start->click();
    window->list->clear();
}

// The click followed by the event processing that shows its outcome: the
// changed boxes repainted and the log list laid out again, with
// state.range(0) entries in the list before the click.
void BM_CmdStartClickShown(benchmark::State& state)
{
    window->list->clear();
    for (std::int64_t i = 0; i < state.range(0); ++i)
        window->start->click();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window->start->click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete window->list->takeItem(window->list->count() - 1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    window->list->clear();
}

// «Сохранить отчет в PDF…» over state.range(0) entries: the calculations
// gathered from the list, laid out on A4 pages with their pictures, the file
// written. The counter kB is the size of the file.
void BM_SaveReport(benchmark::State& state)
{
    window->list->clear();
    for (std::int64_t i = 0; i < state.range(0); ++i)
        window->start->click();
    const QString pdf = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bench-report.pdf"));
    window->platform.reportPath = pdf;
    QAction* save = window->form->findChild<QMenu*>(QStringLiteral("Mnu_Log"))
                        ->findChild<QAction*>(QStringLiteral("Mnu_SavePdf"));
    for (auto _ : state)
        save->trigger();
    state.counters["kB"] = static_cast<double>(QFileInfo(pdf).size()) / 1024.0;
    QFile::remove(pdf);
    window->list->clear();
}

BENCHMARK(BM_Calculate)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_AppendDataLine)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_CalculateWithFileLine)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_CmdStartClick)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_CmdStartClickShown)->Arg(0)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SaveReport)->Arg(1)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Window w;
    w.form = std::make_unique<Form_Main>(QCoreApplication::applicationDirPath(), w.platform);
    if (!w.form->startUp())
        return 1;
    w.form->show();
    const nimbo::Catalogue& cat = w.form->catalogue();
    auto* type = w.form->findChild<QComboBox*>(QStringLiteral("Cmb_TipVR"));
    auto* model = w.form->findChild<QComboBox*>(QStringLiteral("Cmb_VidVR"));
    auto* size = w.form->findChild<QComboBox*>(QStringLiteral("Cmb_Tprzmr"));
    Choose(type, QString::fromStdString(std::string(cat.typeName(kRow))));
    Choose(model, QString::fromStdString(std::string(cat.modelName(kRow))));
    Choose(size, QString::fromStdString(std::string(cat.sizeDesignation(kRow, kSize))));
    w.start = w.form->findChild<QPushButton*>(QStringLiteral("Cmd_Start"));
    w.list = w.form->findChild<QListWidget*>(QStringLiteral("LstBx_Log"));
    QCoreApplication::processEvents();
    window = &w;

    Engine e;
    nimbo::LoadError error;
    if (!nimbo::LoadCatalogue(QCoreApplication::applicationDirPath().toStdString(), e.catalogue, error)) {
        std::fprintf(stderr, "%s\n", error.message().c_str());
        return 1;
    }
    e.snapshot = SnapshotOf(e.catalogue);
    if (const nimbo::Outcome out = nimbo::Calculate(e.snapshot); !out.ok) {
        std::fprintf(stderr, "the calculation is refused: %s\n", out.message.c_str());
        return 1;
    }
    e.log = std::make_unique<nimbo::LogFile>(std::filesystem::path(
        QCoreApplication::applicationDirPath().toStdString()) / "Nimbo.csv");
    engine = &e;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
