#include "window/form_project.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <functional>

#include "platform/platform.h"
#include "project/room_texts.h"
#include "window/project_model.h"

namespace {

// One undoable step as its two halves.
class Step : public QUndoCommand {
public:
    Step(const QString& text, std::function<void()> redo, std::function<void()> undo)
        : redo_(std::move(redo)), undo_(std::move(undo))
    {
        setText(text);
    }
    void redo() override { redo_(); }
    void undo() override { undo_(); }

private:
    std::function<void()> redo_, undo_;
};

QString Quoted(const std::string& name) { return QStringLiteral("«%1»").arg(QString::fromStdString(name)); }

// The properties' boxes, in the order of Form_Project::properties_.
struct PropertyBox {
    const char* name;
    const char* caption;
    std::string nimbo::ProjectProperties::*member;
};
constexpr PropertyBox kPropertyBoxes[] = {
    {"Prop_Name", "Проект", &nimbo::ProjectProperties::name},
    {"Prop_Object", "Объект", &nimbo::ProjectProperties::object},
    {"Prop_Section", "Раздел", &nimbo::ProjectProperties::section},
    {"Prop_Engineer", "Инженер", &nimbo::ProjectProperties::engineer},
};

// The columns a double click sends to the finder: all but the name.
bool FinderColumn(int column) { return column != nimbo::kRoomName; }

}  // namespace

Form_Project::Form_Project(const nimbo::Catalogue& catalogue, nimbo::Platform& platform, const QString& catalogueFile,
                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      catalogue_(catalogue),
      platform_(platform),
      catalogueFile_(catalogueFile),
      separator_(platform.decimalSeparator())
{
    setObjectName(QStringLiteral("Form_Project"));
    model_ = new ProjectModel(catalogue_, separator_, this);
    undo_ = new QUndoStack(this);
    new QVBoxLayout(this);
    buildMenus();
    buildProperties();
    buildTable();
    connect(undo_, &QUndoStack::indexChanged, this, &Form_Project::updateState);
    connect(model_, &ProjectModel::renameRequested, this, &Form_Project::renameRoom);
    resize(1400, 560);
    updateState();
}

// The undo stack empties itself as it goes, and says so: not to a window
// already half gone.
Form_Project::~Form_Project() { disconnect(undo_, nullptr, this, nullptr); }

QAction* Form_Project::addCommand(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys,
                                  const std::function<void()>& run)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, run);
    // The window's own: the shortcut works wherever the focus is in it.
    addAction(action);
    return action;
}

void Form_Project::buildMenus()
{
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    addCommand(file, "Act_New", QStringLiteral("Создать"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newProject(); });
    addCommand(file, "Act_Open", QStringLiteral("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O),
               [this] { openProject(); });
    recent_ = file->addMenu(QStringLiteral("Последние файлы"));
    recent_->setObjectName(QStringLiteral("Menu_Recent"));
    connect(recent_, &QMenu::aboutToShow, this, &Form_Project::fillRecent);
    addCommand(file, "Act_Save", QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    addCommand(file, "Act_SaveAs", QStringLiteral("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
               [this] { saveAs(); });
    file->addSeparator();
    addCommand(file, "Act_Xlsx", QStringLiteral("Экспорт в Excel…"), {}, [this] { exportSchedule(); });
    addCommand(file, "Act_Pdf", QStringLiteral("Отчет в PDF…"), {}, [this] { savePdf(); });
    addCommand(file, "Act_Print", QStringLiteral("Печать…"), QKeySequence(Qt::CTRL | Qt::Key_P),
               [this] { printReport(); });
    file->addSeparator();
    addCommand(file, "Act_Close", QStringLiteral("Закрыть"), QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });

    QMenu* edit = bar->addMenu(QStringLiteral("Правка"));
    QAction* undo = undo_->createUndoAction(this, QStringLiteral("Отменить"));
    undo->setObjectName(QStringLiteral("Act_Undo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = undo_->createRedoAction(this, QStringLiteral("Повторить"));
    redo->setObjectName(QStringLiteral("Act_Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addActions({undo, redo});
    addActions({undo, redo});
    edit->addSeparator();
    addCommand(edit, "Act_Edit", QStringLiteral("Изменить в подборе…"), QKeySequence(Qt::CTRL | Qt::Key_E),
               [this] { editInFinder(); });
    addCommand(edit, "Act_Rename", QStringLiteral("Переименовать"), QKeySequence(Qt::Key_F2), [this] {
        if (currentRow() >= 0)
            table_->edit(model_->index(currentRow(), nimbo::kRoomName));
    });
    addCommand(edit, "Act_Delete", QStringLiteral("Удалить"), QKeySequence::Delete, [this] { deleteRoom(); });
    addCommand(edit, "Act_Up", QStringLiteral("Выше"), QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { moveUp(); });
    addCommand(edit, "Act_Down", QStringLiteral("Ниже"), QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { moveDown(); });
    static_cast<QVBoxLayout*>(layout())->setMenuBar(bar);
}

void Form_Project::buildProperties()
{
    auto* group = new QGroupBox(QStringLiteral("Свойства проекта (для ведомости и отчета)"), this);
    // Two a line: the table below keeps the height.
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < std::size(kPropertyBoxes); ++i) {
        properties_[i] = new QLineEdit(group);
        properties_[i]->setObjectName(QLatin1String(kPropertyBoxes[i].name));
        auto* caption = new QLabel(QString::fromUtf8(kPropertyBoxes[i].caption), group);
        caption->setBuddy(properties_[i]);
        const int row = static_cast<int>(i / 2), column = static_cast<int>(i % 2) * 2;
        grid->addWidget(caption, row, column);
        grid->addWidget(properties_[i], row, column + 1);
        connect(properties_[i], &QLineEdit::textEdited, this, &Form_Project::propertiesEdited);
    }
    layout()->addWidget(group);
}

void Form_Project::buildTable()
{
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("Table_Rooms"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->setWordWrap(false);
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (FinderColumn(index.column()))
            editInFinder();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Form_Project::updateState);
    static_cast<QVBoxLayout*>(layout())->addWidget(table_, 1);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& caption, void (Form_Project::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button("Cmd_EditInFinder", QStringLiteral("Изменить в подборе…"), &Form_Project::editInFinder);
    button("Cmd_Delete", QStringLiteral("Удалить"), &Form_Project::deleteRoom);
    button("Cmd_Up", QStringLiteral("Выше"), &Form_Project::moveUp);
    button("Cmd_Down", QStringLiteral("Ниже"), &Form_Project::moveDown);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Lbl_Status"));
    buttons->addWidget(status_, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
}

int Form_Project::currentRow() const
{
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void Form_Project::addRoom(const nimbo::ProjectRoom& room)
{
    const int row = currentRow() >= 0 ? currentRow() + 1 : model_->rowCount();
    undo_->push(new Step(
        QStringLiteral("Добавить %1").arg(Quoted(room.name)),
        [this, row, room] {
            model_->insertRoom(row, room);
            table_->selectRow(row);
        },
        [this, row] { model_->takeRoom(row); }));
    show();
}

void Form_Project::replaceRoom(int index, const nimbo::ProjectRoom& room)
{
    if (index < 0 || index >= model_->rowCount())
        return;
    const nimbo::ProjectRoom before = model_->project().rooms[static_cast<std::size_t>(index)];
    nimbo::ProjectRoom after = room;
    if (after.name.empty())
        after.name = before.name;
    undo_->push(new Step(
        QStringLiteral("Изменить %1").arg(Quoted(after.name)), [this, index, after] { model_->replaceRoom(index, after); },
        [this, index, before] { model_->replaceRoom(index, before); }));
}

void Form_Project::deleteRoom()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const nimbo::ProjectRoom room = model_->project().rooms[static_cast<std::size_t>(row)];
    undo_->push(new Step(
        QStringLiteral("Удалить %1").arg(Quoted(room.name)), [this, row] { model_->takeRoom(row); },
        [this, row, room] {
            model_->insertRoom(row, room);
            table_->selectRow(row);
        }));
}

void Form_Project::renameRoom(int row, const QString& name)
{
    const nimbo::ProjectRoom before = model_->project().rooms[static_cast<std::size_t>(row)];
    nimbo::ProjectRoom after = before;
    after.name = name.toStdString();
    undo_->push(new Step(
        QStringLiteral("Переименовать %1").arg(Quoted(before.name)),
        [this, row, after] { model_->replaceRoom(row, after); },
        [this, row, before] { model_->replaceRoom(row, before); }));
}

void Form_Project::moveUp() { moveRoom(-1); }
void Form_Project::moveDown() { moveRoom(1); }

void Form_Project::moveRoom(int by)
{
    const int from = currentRow(), to = from + by;
    if (from < 0 || to < 0 || to >= model_->rowCount())
        return;
    const auto move = [this](int a, int b) {
        model_->moveRoom(a, b);
        table_->selectRow(b);
    };
    undo_->push(new Step(
        QStringLiteral("Переместить %1").arg(Quoted(model_->project().rooms[static_cast<std::size_t>(from)].name)),
        [move, from, to] { move(from, to); }, [move, from, to] { move(to, from); }));
}

void Form_Project::editInFinder()
{
    const int row = currentRow();
    if (row >= 0)
        emit editRoomRequested(row, model_->project().rooms[static_cast<std::size_t>(row)]);
}

void Form_Project::propertiesEdited()
{
    nimbo::ProjectProperties p;
    for (std::size_t i = 0; i < std::size(kPropertyBoxes); ++i)
        p.*kPropertyBoxes[i].member = properties_[i]->text().toStdString();
    model_->setProperties(p);
    updateState();
}

void Form_Project::showProperties()
{
    for (std::size_t i = 0; i < std::size(kPropertyBoxes); ++i)
        properties_[i]->setText(QString::fromStdString(model_->project().properties.*kPropertyBoxes[i].member));
}

bool Form_Project::isModified() const
{
    return !undo_->isClean() || model_->project().properties != savedProperties_;
}

void Form_Project::updateState()
{
    setWindowTitle(QStringLiteral("Проект") +
                   (file_.isEmpty() ? QString() : QStringLiteral(" — ") + QFileInfo(file_).fileName()) +
                   QStringLiteral("[*]"));
    setWindowModified(isModified());
    const int rooms = model_->rowCount(), marked = model_->marked(), row = currentRow();
    QString status = QStringLiteral("Помещений: %1").arg(rooms);
    if (marked > 0)
        status += QStringLiteral("; отмечено при пересчете по каталогу: %1 (причина — в подсказке строки)").arg(marked);
    status_->setText(status);
    for (const char* name : {"Cmd_EditInFinder", "Cmd_Delete", "Act_Edit", "Act_Delete", "Act_Rename"})
        if (QObject* o = findChild<QObject*>(QLatin1String(name)))
            o->setProperty("enabled", row >= 0);
    for (const char* name : {"Cmd_Up", "Act_Up"})
        findChild<QObject*>(QLatin1String(name))->setProperty("enabled", row > 0);
    for (const char* name : {"Cmd_Down", "Act_Down"})
        findChild<QObject*>(QLatin1String(name))->setProperty("enabled", row >= 0 && row + 1 < rooms);
}

void Form_Project::closeEvent(QCloseEvent* event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    // Still modified: the changes were let go, and the window opens again
    // on the project as its file holds it.
    if (isModified())
        revert();
    event->accept();
}
