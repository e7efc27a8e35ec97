#include "window/form_podbor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QThreadPool>
#include <QWindow>

#include "calc/numbers.h"
#include "platform/platform.h"
#include "select/quantities.h"
#include "window/jet_chart.h"
#include "window/noise_chart.h"
#include "window/podbor_model.h"
#include "window/podbor_placement.h"
#include "window/tab_separated.h"

namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string Std(const QLineEdit* box) { return box->text().toStdString(); }

const QString kAllTypes = QStringLiteral("Все типы");

// The chart beside the table at first, px: the curve reads well, the
// columns get the rest.
constexpr int kFirstChartWidth = 300;

// The limits are the user's habits (an office's 35 dB(A)), kept between runs.
// A file on every system, the Windows registry included: a test (or a
// portable copy) can point the user's settings folder elsewhere.
QSettings Settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nimbo"), QStringLiteral("Nimbo"));
}

}  // namespace

Form_Podbor::Form_Podbor(std::shared_ptr<const nimbo::Catalogue> catalogue, QWidget& beside)
    : QWidget(&beside, Qt::Window), catalogue_(std::move(catalogue)), beside_(beside)
{
    setObjectName(QStringLiteral("Form_Podbor"));
    setWindowTitle(QStringLiteral("Подбор воздухораспределителя"));
    auto* top = new QHBoxLayout;
    auto* inputs = new QGroupBox(QStringLiteral("Исходные данные"));
    auto* inputsForm = new QFormLayout(inputs);
    buildInputs(inputsForm);
    auto* limits = new QGroupBox(QStringLiteral("Ограничения (пустое поле — без ограничения)"));
    limitsForm_ = new QFormLayout(limits);
    buildLimits(limitsForm_);
    top->addWidget(inputs, 3);
    top->addWidget(buildRoom(), 2);
    top->addWidget(limits, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    buildResults();
    loadLimits();
    loadRoom();
    connectInputs();
    connectRoom();
}

// A search still running holds the catalogue and its request itself, and is
// told to stop as its receiver goes: nothing to wait for.
Form_Podbor::~Form_Podbor()
{
    if (isVisible())
        rememberPlace();
}

void Form_Podbor::buildInputs(QFormLayout* form)
{
    const auto box = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        return edit;
    };
    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("Cmb_Type"));
    form->addRow(QStringLiteral("Тип"), type_);
    L_ = box("TxtBx_L");
    form->addRow(QStringLiteral("Расход воздуха L, м³/ч"), L_);
    variant1_ = new QRadioButton(QStringLiteral("дальнобойность l для скорости Vx"), this);
    variant1_->setObjectName(QStringLiteral("Opt_Var1"));
    variant2_ = new QRadioButton(QStringLiteral("скорость Vx на расстоянии X"), this);
    variant2_->setObjectName(QStringLiteral("Opt_Var2"));
    variant1_->setChecked(true);
    auto* variants = new QVBoxLayout;
    variants->addWidget(variant1_);
    variants->addWidget(variant2_);
    form->addRow(QStringLiteral("Расчет"), variants);
    V_ = box("TxtBx_V");
    labelV_ = new QLabel(QStringLiteral("Скорость Vx, м/с"), this);
    form->addRow(labelV_, V_);
    A_ = box("TxtBx_A");
    B_ = box("TxtBx_B");
    auto* sizes = new QHBoxLayout;
    sizes->addWidget(A_);
    sizes->addWidget(new QLabel(QStringLiteral("×"), this));
    sizes->addWidget(B_);
    form->addRow(QStringLiteral("Размер A × B, мм (свободный размер)"), sizes);
    length_ = box("TxtBx_Dlina");
    form->addRow(QStringLiteral("Длина щелевой решетки, мм"), length_);
    allOptions_ = new QCheckBox(QStringLiteral("все исполнения"), this);
    allOptions_->setObjectName(QStringLiteral("Chk_AllOptions"));
    allOptions_->setToolTip(QStringLiteral("Каждое сочетание КСД, формы струи и положения регулятора отдельной строкой"));
    form->addRow(QString(), allOptions_);
}

void Form_Podbor::buildLimits(QFormLayout* form)
{
    const auto limitSlots = nimbo::LimitSlots();
    for (std::size_t i = 0; i < limitSlots.size(); ++i) {
        if (!limitSlots[i].text) {
            withinLc_ = new QCheckBox(Text(limitSlots[i].name), this);
            withinLc_->setObjectName(Text(limitSlots[i].boxName));
            withinLc_->setToolTip(QStringLiteral("Струя не дальше стены или середины между соседними "
                                                 "воздухораспределителями"));
            form->addRow(QString(), withinLc_);
            continue;
        }
        auto* edit = new QLineEdit(this);
        edit->setObjectName(Text(limitSlots[i].boxName));
        edit->setPlaceholderText(QStringLiteral("нет"));
        const QString unit = Text(limitSlots[i].unit);
        form->addRow(Text(limitSlots[i].name) + (unit.isEmpty() ? QString() : QStringLiteral(", ") + unit), edit);
        limits_[i] = edit;
    }
    showLimitsOf(1);
}

void Form_Podbor::showLimitsOf(int variant)
{
    const auto limitSlots = nimbo::LimitSlots();
    for (std::size_t i = 0; i < limitSlots.size(); ++i) {
        QWidget* box = limits_[i] ? static_cast<QWidget*>(limits_[i]) : withinLc_;
        limitsForm_->setRowVisible(box, nimbo::LimitApplies(limitSlots[i], variant, inRoom()));
    }
}

void Form_Podbor::buildResults()
{
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    auto* statusRow = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Lbl_Status"));
    status_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(240);
    progress_->hide();
    statusRow->addWidget(status_, 1);
    statusRow->addWidget(progress_);
    layout->addLayout(statusRow);

    model_ = new PodborModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(PodborModel::SortRole);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("Table"));
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    // A third click on a header, or the menu, goes back to the search's order.
    table_->horizontalHeader()->setSortIndicatorClearable(true);
    defaultOrder();
    // Tab leaves the table, as from any other box; the arrows walk it.
    table_->setTabKeyNavigation(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    chart_ = new JetChart(this);
    noise_ = new NoiseChart(this);
    auto* charts = new QTabWidget(this);
    charts->setObjectName(QStringLiteral("Tab_Charts"));
    charts->addTab(chart_, QStringLiteral("Струя"));
    charts->addTab(noise_, QStringLiteral("Шум"));
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(table_);
    splitter_->addWidget(charts);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 2);
    splitter_->setSizes({680, 290});
    layout->addWidget(splitter_, 1);

    auto* buttons = new QHBoxLayout;
    choose_ = new QPushButton(QStringLiteral("Выбрать"), this);
    choose_->setObjectName(QStringLiteral("Cmd_Choose"));
    choose_->setToolTip(QStringLiteral("Перенести в главное окно и рассчитать"));
    close_ = new QPushButton(QStringLiteral("Закрыть"), this);
    buttons->addStretch(1);
    toProject_ = new QPushButton(QStringLiteral("В проект"), this);
    toProject_->setObjectName(QStringLiteral("Cmd_ToProject"));
    toProject_->setToolTip(QStringLiteral("Добавить помещение с выбранным воздухораспределителем в проект"));
    connect(toProject_, &QPushButton::clicked, this, [this] {
        if (const nimbo::Found* f = currentFound(); f && f->ok)
            emit toProject(model_->request(), nimbo::Found(*f));
    });
    buttons->addWidget(toProject_);
    buttons->addWidget(choose_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(50);
}

void Form_Podbor::connectInputs()
{
    for (QLineEdit* box : {L_, V_, A_, B_, length_})
        connect(box, &QLineEdit::textChanged, this, &Form_Podbor::recompute);
    for (QLineEdit* box : limits_) {
        if (!box)
            continue;
        connect(box, &QLineEdit::textChanged, this, &Form_Podbor::recompute);
        connect(box, &QLineEdit::textEdited, this, &Form_Podbor::saveLimits);
    }
    connect(withinLc_, &QCheckBox::toggled, this, &Form_Podbor::recompute);
    connect(withinLc_, &QCheckBox::clicked, this, &Form_Podbor::saveLimits);
    connect(type_, &QComboBox::currentIndexChanged, this, &Form_Podbor::recompute);
    connect(allOptions_, &QCheckBox::toggled, this, &Form_Podbor::recompute);
    connect(variant1_, &QRadioButton::toggled, this, &Form_Podbor::variantChanged);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Form_Podbor::currentChanged);
    connect(proxy_, &QAbstractItemModel::layoutChanged, this, &Form_Podbor::updateSpans);
    connect(table_, &QTableView::doubleClicked, this, &Form_Podbor::choose);
    connect(choose_, &QPushButton::clicked, this, &Form_Podbor::choose);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    // The table's keys are its menu's entries: Enter chooses, Ctrl+C copies.
    const auto action = [this](const QString& text, QList<QKeySequence> keys, void (Form_Podbor::*slot)()) {
        auto* a = new QAction(text, this);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* defaultOrder = action(QStringLiteral("Порядок по умолчанию"), {}, &Form_Podbor::defaultOrder);
    table_->addActions({action(QStringLiteral("Выбрать"), {Qt::Key_Return, Qt::Key_Enter}, &Form_Podbor::choose),
                        action(QStringLiteral("Копировать"), {QKeySequence::Copy}, &Form_Podbor::copyRows),
                        defaultOrder});
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    table_->horizontalHeader()->addAction(defaultOrder);
    table_->horizontalHeader()->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(progressTimer_, &QTimer::timeout, this, [this] {
        std::size_t done = 0;
        for (const std::atomic<std::size_t>& part : *newest_.done)
            done += part.load();
        progress_->setValue(newest_.lines ? static_cast<int>(100 * done / newest_.lines) : 100);
    });
}

void Form_Podbor::startFrom(const nimbo::Calculation& s)
{
    const nimbo::Choice& choice = s.choice;
    filling_ = true;
    separator_ = s.decimalSeparator;
    type_->clear();
    type_->addItem(kAllTypes);
    const nimbo::Catalogue& catalogue = *s.catalogue;
    for (const std::string& name : catalogue.typeNames())
        type_->addItem(QString::fromStdString(name));
    const int row = choice.selection.row;
    const int typeEntry = row >= 1 && row <= catalogue.recordCount()
                              ? type_->findText(Text(catalogue.typeName(row)), Qt::MatchExactly | Qt::MatchCaseSensitive)
                              : 0;
    type_->setCurrentIndex(std::max(typeEntry, 0));
    (choice.variant == 2 ? variant2_ : variant1_)->setChecked(true);
    L_->setText(QString::fromStdString(choice.inputs.L));
    V_->setText(QString::fromStdString(choice.inputs.V));
    A_->setText(QString::fromStdString(choice.inputs.A));
    B_->setText(QString::fromStdString(choice.inputs.B));
    length_->setText(QString::fromStdString(choice.inputs.Dlina));
    filling_ = false;
    recompute();
}

bool Form_Podbor::readRequest(nimbo::Request& r, QString& problem) const
{
    r.type = type_->currentIndex() > 0 ? type_->currentText().toStdString() : std::string();
    r.inputs = {Std(L_), Std(V_), Std(A_), Std(B_), Std(length_)};
    r.variant = variant2_->isChecked() ? 2 : 1;
    r.allOptions = allOptions_->isChecked();
    r.decimalSeparator = separator_;
    nimbo::LimitTexts texts;
    const auto limitSlots = nimbo::LimitSlots();
    for (std::size_t i = 0; i < limitSlots.size(); ++i)
        if (limits_[i])
            texts.*limitSlots[i].text = Std(limits_[i]);
    texts.throwWithinLc = withinLc_->isChecked();
    std::string refusal = nimbo::ReadLimits(texts, r.variant, inRoom(), r.limits);
    if (refusal.empty())
        refusal = readRoom(r);
    problem = QString::fromStdString(refusal);
    return problem.isEmpty();
}

void Form_Podbor::recompute()
{
    if (filling_)
        return;
    dropSearches();
    nimbo::Request request;
    QString problem;
    if (!readRequest(request, problem)) {
        showProblem(problem);
        return;
    }
    const nimbo::Catalogue& catalogue = *catalogue_;
    // Every option combination makes about eight candidates of a line (the
    // benchmark's shipped catalogue: 1184 of 133 lines), and a room tries
    // some counts of each: about sixteen lines' work (the benchmark's office).
    const std::size_t lines = nimbo::CandidateLines(catalogue, request.type) * (request.allOptions ? 8 : 1) *
                              (request.room ? 16 : 1);
    if (lines > linesOnThisThread_) {
        searchOffThread(request);
        return;
    }
    display(request, nimbo::Search(catalogue, request));
}

void Form_Podbor::dropSearches()
{
    ++generation_;
    for (const nimbo::StopFlag& stop : stops_)
        stop.request();
    stops_.clear();
}

void Form_Podbor::searchOffThread(const nimbo::Request& request)
{
    const int cores = std::max(QThreadPool::globalInstance()->maxThreadCount(), 1);
    const std::vector<nimbo::RowRange> ranges = nimbo::SplitRows(*catalogue_, request.type, cores);
    newest_ = {request, std::vector<nimbo::SearchResult>(ranges.size()), ranges.size(),
               nimbo::CandidateLines(*catalogue_, request.type),
               std::make_shared<std::vector<std::atomic<std::size_t>>>(ranges.size())};
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        // The work holds the catalogue alive: it may end after this window.
        auto work = [catalogue = catalogue_, request, range = ranges[i], done = newest_.done,
                     i](const nimbo::StopFlag& stop) {
            return nimbo::SearchPart(*catalogue, request, range, [&](std::size_t lines, std::size_t) {
                (*done)[i].store(lines);
                return !stop.requested();
            });
        };
        const quint64 generation = generation_;
        stops_.push_back(nimbo::RunInBackground(
            *this, std::move(work),
            [this, generation, i](nimbo::SearchResult part) { partFound(generation, i, std::move(part)); },
            [this, generation](const std::exception_ptr& failure) { partFailed(generation, failure); }));
        ++running_;
    }
    status_->setText(QStringLiteral("идет расчет…"));
    progress_->setValue(0);
    progress_->show();
    progressTimer_->start();
}

void Form_Podbor::partFound(quint64 generation, std::size_t part, nimbo::SearchResult result)
{
    partEnded();
    if (generation != generation_)
        return;
    newest_.parts[part] = std::move(result);
    if (--newest_.awaited == 0)
        display(newest_.request, nimbo::FinishSearch(newest_.request, std::move(newest_.parts)));
}

void Form_Podbor::partFailed(quint64 generation, const std::exception_ptr& failure)
{
    partEnded();
    if (generation != generation_)
        return;
    dropSearches();
    QString problem = QStringLiteral("Подбор прерван ошибкой программы");
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        problem = QStringLiteral("Подбору не хватило памяти: выберите тип или уберите «все исполнения»");
    } catch (...) {
    }
    showProblem(problem);
}

void Form_Podbor::partEnded()
{
    if (--running_ > 0)
        return;
    progressTimer_->stop();
    progress_->hide();
}

void Form_Podbor::display(const nimbo::Request& request, nimbo::SearchResult result)
{
    if (!result.problem.empty()) {
        showProblem(QString::fromStdString(result.problem));
        return;
    }
    const int total = static_cast<int>(result.found.size());
    model_->setResult(catalogue_.get(), request, std::move(result));
    status_->setStyleSheet(QString());
    status_->setText(QStringLiteral("подходит %1 из %2").arg(model_->fitting()).arg(total));
    updateSpans();
    table_->setColumnHidden(PodborModel::Type, !request.type.empty());
    for (int c = PodborModel::FirstQuantity; c < PodborModel::ColumnCount; ++c)
        table_->setColumnHidden(c, !nimbo::QuantityShown(*PodborModel::QuantityAt(c), request.room.has_value()));
    fitColumns();
    if (proxy_->rowCount() > 0)
        table_->selectRow(0);
    else
        currentChanged();
    emit searched();
}

void Form_Podbor::showProblem(const QString& problem)
{
    model_->clear();
    status_->setStyleSheet(QStringLiteral("color: #b00000"));
    status_->setText(problem);
    currentChanged();
    emit searched();
}

void Form_Podbor::variantChanged()
{
    const bool v2 = variant2_->isChecked();
    labelV_->setText(v2 ? QStringLiteral("Расстояние X, м") : QStringLiteral("Скорость Vx, м/с"));
    showLimitsOf(v2 ? 2 : 1);
    if (filling_)
        return;
    // A velocity is no distance: the variant's own starting value, as the
    // main window gives it when it has no result to carry over.
    V_->setText(v2 ? QStringLiteral("3.5") : QStringLiteral("0.2"));
}

const nimbo::Found* Form_Podbor::currentFound() const
{
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? model_->found(proxy_->mapToSource(current).row()) : nullptr;
}

void Form_Podbor::currentChanged()
{
    const nimbo::Found* f = currentFound();
    choose_->setEnabled(f && f->ok);
    toProject_->setEnabled(f && f->ok && model_->request().room.has_value());
    if (!f) {
        chart_->clear(QStringLiteral("Выберите строку таблицы, чтобы увидеть струю"));
        noise_->clear(QStringLiteral("Выберите строку таблицы, чтобы увидеть шум"));
        return;
    }
    const nimbo::Catalogue& catalogue = *model_->catalogue();
    const nimbo::Request& request = model_->request();
    const nimbo::FoundDetails d = nimbo::Details(catalogue, request, *f);
    const QModelIndex source = proxy_->mapToSource(table_->currentIndex());
    const auto cell = [&](int column) { return model_->data(source.siblingAtColumn(column), Qt::DisplayRole).toString(); };
    QString title = cell(PodborModel::Model) + QLatin1Char(' ') + cell(PodborModel::Size);
    if (!cell(PodborModel::Options).isEmpty())
        title += QStringLiteral(" (") + cell(PodborModel::Options) + QLatin1Char(')');
    showNoise(f, d, title);
    if (!d.ok || !d.stages.jetShown()) {
        chart_->clear(f->ok ? QStringLiteral("Каталог не дает струю для этого исполнения")
                            : QString::fromStdString(f->message));
        return;
    }
    chart_->setJet(d.stages, request.variant, nimbo::ParseTyped(request.inputs.V).value_or(0), title, separator_);
}

void Form_Podbor::updateSpans()
{
    // A refused candidate's message takes the place of all its numbers.
    table_->clearSpans();
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        const nimbo::Found* f = model_->found(proxy_->mapToSource(proxy_->index(r, 0)).row());
        if (f && !f->ok)
            table_->setSpan(r, PodborModel::FirstQuantity, 1, PodborModel::ColumnCount - PodborModel::FirstQuantity);
    }
}

void Form_Podbor::choose()
{
    const nimbo::Found* f = currentFound();
    if (!f || !f->ok)
        return;
    // A copy: the receiver may start a search that replaces the rows.
    const nimbo::Found found = *f;
    emit chosen(model_->request(), found);
}

void Form_Podbor::copyRows()
{
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    // The columns on screen, under a header with the units.
    QList<int> columns;
    QStringList header;
    for (int c = 0; c < PodborModel::ColumnCount; ++c)
        if (!table_->isColumnHidden(c)) {
            columns << c;
            header << proxy_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        }
    QList<QStringList> lines{header};
    for (int r : rows) {
        QStringList cells;
        for (int c : columns)
            cells << proxy_->index(r, c).data(Qt::DisplayRole).toString();
        lines << cells;
    }
    QApplication::clipboard()->setText(TabSeparated(lines));
}

void Form_Podbor::fitColumns()
{
    // The last column stretches over the rest of the table, but never below
    // the width it had when stretching began: that is to be its content's.
    QHeaderView* header = table_->horizontalHeader();
    header->setStretchLastSection(false);
    table_->resizeColumnsToContents();
    header->setStretchLastSection(true);
}

void Form_Podbor::defaultOrder()
{
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    proxy_->sort(-1);
}

QSize Form_Podbor::firstSize() const
{
    const QMargins margins = layout()->contentsMargins();
    const int table = table_->horizontalHeader()->length() + 2 * table_->frameWidth() +
                      table_->verticalScrollBar()->sizeHint().width();
    const int width = margins.left() + table + splitter_->handleWidth() + kFirstChartWidth + margins.right();
    return {std::max(width, minimumSizeHint().width()), 660};
}

void Form_Podbor::placeOnOpen()
{
    // Placed by its frame, which is not known before it is shown; the main
    // window's is, and the window system gives both the same.
    const QMargins frame = nimbo::FrameMargins(beside_);
    const QRect remembered = Settings().value(QStringLiteral("podbor/geometry")).toRect();
    const QScreen* screen = remembered.isValid() ? QGuiApplication::screenAt(remembered.center()) : nullptr;
    const QRect available = (screen ? screen : beside_.screen())->availableGeometry();
    if (remembered.isValid()) {
        setGeometry(KeptOnScreen(remembered.marginsAdded(frame), available).marginsRemoved(frame));
        return;
    }
    // The columns measured in the fonts they will be shown in.
    ensurePolished();
    fitColumns();
    setGeometry(PlaceBeside(beside_.frameGeometry(), firstSize().grownBy(frame), available).marginsRemoved(frame));
    const QMargins m = layout()->contentsMargins();
    splitter_->setSizes(
        {width() - m.left() - m.right() - splitter_->handleWidth() - kFirstChartWidth, kFirstChartWidth});
}

void Form_Podbor::rememberPlace() const
{
    Settings().setValue(QStringLiteral("podbor/geometry"), geometry());
}

void Form_Podbor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window of its own, not one kept above the main window (Windows keeps
    // a window above the one it belongs to): «Выбрать» can bring the main
    // window and its new result to the front.
    if (QWindow* window = windowHandle())
        window->setTransientParent(nullptr);
}

void Form_Podbor::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        rememberPlace();
}

void Form_Podbor::loadLimits()
{
    QSettings settings = Settings();
    const auto limitSlots = nimbo::LimitSlots();
    for (std::size_t i = 0; i < limitSlots.size(); ++i)
        if (limits_[i])
            limits_[i]->setText(settings.value(QStringLiteral("podbor/") + Text(limitSlots[i].settingsKey)).toString());
        else
            withinLc_->setChecked(settings.value(QStringLiteral("podbor/") + Text(limitSlots[i].settingsKey)).toBool());
}

void Form_Podbor::saveLimits() const
{
    QSettings settings = Settings();
    const auto limitSlots = nimbo::LimitSlots();
    for (std::size_t i = 0; i < limitSlots.size(); ++i)
        settings.setValue(QStringLiteral("podbor/") + Text(limitSlots[i].settingsKey),
                          limits_[i] ? QVariant(limits_[i]->text()) : QVariant(withinLc_->isChecked()));
}
