// The project window driven as a person would, offscreen, over the shipped
// catalogue: opened from the main window, rooms added as the finder adds
// them, deleted, renamed and moved with undo, saved and opened again, the
// unsaved changes asked about through the platform, files that cannot be
// read or written, marked rooms, the way back to the finder, the documents.
#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QUndoStack>
#include <QtTest>

#include "project/project_file.h"
#include "project/room_check.h"
#include "project/room_texts.h"
#include "support/host_tool.h"
#include "support/read_only.h"
#include "support/window_fixture.h"
#include "window/form_project.h"
#include "window/project_model.h"

using namespace nimbo::test;

Q_DECLARE_METATYPE(nimbo::SaveAnswer)

namespace {

// The finder in room mode over an office, as «В проект» hands its row over.
nimbo::ProjectRoom RoomOf(const nimbo::Catalogue& c, const std::string& model, const std::string& name, int variant = 1)
{
    nimbo::Request r;
    r.inputs.L = "900", r.inputs.V = variant == 2 ? "3" : "0.25", r.inputs.A = "600", r.inputs.B = "200";
    r.inputs.Dlina = "1500";
    r.variant = variant;
    r.limits.NR = 35;
    r.room = nimbo::RoomInput{nimbo::Room{6, 5, 3, 1.2, 0.2}, std::nullopt};
    for (const nimbo::Found& f : nimbo::Search(c, r).found) {
        nimbo::ProjectRoom room;
        if (c.modelName(f.row) == model && nimbo::RoomFromFound(c, r, f, name, room).empty())
            return room;
    }
    qFatal("no %s in the shipped catalogue", model.c_str());
}

struct ProjectMain : Started {
    ProjectMain() : Started([](const ProgramFolder& f) { CopyShippedData(f); }) {}

    Form_Project* open() const
    {
        control<QPushButton>("Cmd_Project")->click();
        return window->findChild<Form_Project*>(QStringLiteral("Form_Project"));
    }
    // Three rooms of every kind of size, both variants.
    Form_Project* withRooms(const QStringList& names = {"101 Кабинет", "102 Переговорная", "103 Холл"}) const
    {
        Form_Project* p = open();
        const std::string models[] = {"ПДК", "РС-1", "1ДМЗ"};
        for (qsizetype i = 0; i < names.size(); ++i)
            p->addRoom(RoomOf(window->catalogue(), models[i % 3], names[i].toStdString(), i == 1 ? 2 : 1));
        return p;
    }
};

template <class T>
T* In(const Form_Project* p, const char* name)
{
    return Control<T>(*p, name);
}

QStringList Names(const Form_Project* p)
{
    QStringList out;
    for (int r = 0; r < p->model()->rowCount(); ++r)
        out << p->model()->index(r, nimbo::kRoomName).data().toString();
    return out;
}

// Every cell of the table, a row a line.
QStringList Cells(const Form_Project* p)
{
    QStringList out;
    for (int r = 0; r < p->model()->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < p->model()->columnCount(); ++c)
            row << p->model()->index(r, c).data().toString();
        out << row.join(QLatin1Char('|'));
    }
    return out;
}

// Cyrillic typed as a keyboard layout's input method hands it over.
void Type(QLineEdit* box, const QString& text)
{
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(box, &typed);
}

void Trigger(const Form_Project* p, const char* action) { In<QAction>(p, action)->trigger(); }

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestProject : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void button_opens_the_one_project_window_data();
    void button_opens_the_one_project_window();
    void rooms_are_edited_with_undo_data();
    void rooms_are_edited_with_undo();
    void saved_project_opens_with_the_same_rows();
    void unsaved_changes_are_asked_about_data();
    void unsaved_changes_are_asked_about();
    void file_that_cannot_be_read_leaves_the_project_data();
    void file_that_cannot_be_read_leaves_the_project();
    void place_that_cannot_be_written_keeps_everything_data();
    void place_that_cannot_be_written_keeps_everything();
    void marked_rooms_say_why_until_saved();
    void outlet_goes_back_to_the_finder_data();
    void outlet_goes_back_to_the_finder();
    void documents_of_the_project();

private:
    QTemporaryDir settingsHome_;
};

void TestProject::initTestCase()
{
    // The recent files of this run alone, not the user's.
    QVERIFY(settingsHome_.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome_.path());
}

void TestProject::button_opens_the_one_project_window_data()
{
    QTest::addColumn<bool>("keys");  // Ctrl+Shift+P rather than the button
    QTest::addColumn<bool>("log");   // the log strip open
    QTest::newRow("button") << false << false;
    QTest::newRow("button, log strip open") << false << true;
    QTest::newRow("Ctrl+Shift+P") << true << false;
}

void TestProject::button_opens_the_one_project_window()
{
    QFETCH(bool, keys);
    QFETCH(bool, log);
    ProjectMain m;
    QVERIFY(m.ok);
    if (log)
        QTest::mouseClick(m.control<QCheckBox>("Chk_Log"), Qt::LeftButton, {}, QPoint(6, 6));
    auto* button = m.control<QPushButton>("Cmd_Project");
    QCOMPARE(button->text(), QStringLiteral("Проект…"));
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    for (QWidget* w : m.window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != button && !w->isWindow())
            QVERIFY2(!w->geometry().intersects(button->geometry()), qPrintable(w->objectName()));
    QCOMPARE(m.window->childAt(button->geometry().center()), static_cast<QWidget*>(button));
    for (int i = 0; i < 2; ++i) {
        if (keys) {
            m.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m.window.get()));
            QTest::keyClick(m.window.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        } else {
            button->click();
        }
    }
    const QList<Form_Project*> windows = m.window->findChildren<Form_Project*>();
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0]->isVisible() && windows[0]->isWindow() && !windows[0]->isModal());
    QCOMPARE(windows[0]->windowTitle(), QStringLiteral("Проект[*]"));
    QStringList shortcuts;
    for (const char* name : {"Act_New", "Act_Open", "Act_Save", "Act_SaveAs", "Act_Print", "Act_Undo", "Act_Redo",
                             "Act_Edit", "Act_Rename", "Act_Delete", "Act_Up", "Act_Down"})
        shortcuts << In<QAction>(windows[0], name)->shortcut().toString(QKeySequence::PortableText);
    QCOMPARE(shortcuts, QStringList({"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+P", "Ctrl+Z", "Ctrl+Y", "Ctrl+E",
                                "F2", "Del", "Ctrl+Up", "Ctrl+Down"}));
}

void TestProject::rooms_are_edited_with_undo_data()
{
    // "add:X" the finder adds room X, "select:i", "del", "up", "down" the
    // window's buttons, "rename:i:X" typed into the name cell, "undo" and
    // "redo" the menu's, "key:…" a key sequence pressed in the window.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("modified");

    const QStringList abc{"add:A", "add:B", "add:C"};
    QTest::newRow("added at the end") << abc << QStringList{"A", "B", "C"} << true;
    QTest::newRow("added after the selected row") << QStringList{"add:A", "add:B", "select:0", "add:C"}
                                                  << QStringList{"A", "C", "B"} << true;
    QTest::newRow("deleted") << abc + QStringList{"select:1", "del"} << QStringList{"A", "C"} << true;
    QTest::newRow("deleted, undone") << abc + QStringList{"select:1", "del", "undo"} << QStringList{"A", "B", "C"}
                                     << true;
    QTest::newRow("deleted, undone, redone") << abc + QStringList{"select:1", "del", "undo", "redo"}
                                             << QStringList{"A", "C"} << true;
    QTest::newRow("Delete and Ctrl+Z keys") << abc + QStringList{"select:0", "key:Del", "key:Del", "key:Ctrl+Z"}
                                            << QStringList{"B", "C"} << true;
    QTest::newRow("renamed in its cell") << abc + QStringList{"rename:2:Холл «Б»\nвторой этаж"}
                                         << QStringList{"A", "B", "Холл «Б»\nвторой этаж"} << true;
    QTest::newRow("renamed, undone") << abc + QStringList{"rename:0:X", "undo"} << QStringList{"A", "B", "C"} << true;
    QTest::newRow("the last moved up twice") << abc + QStringList{"select:2", "up", "up"} << QStringList{"C", "A", "B"}
                                             << true;
    QTest::newRow("Ctrl+Down, undone") << abc + QStringList{"select:0", "key:Ctrl+Down", "key:Ctrl+Down", "undo"}
                                       << QStringList{"B", "A", "C"} << true;
    QTest::newRow("down from the last does nothing") << abc + QStringList{"select:2", "down"}
                                                     << QStringList{"A", "B", "C"} << true;
    QTest::newRow("everything undone") << QStringList{"add:A", "add:B", "select:0", "del", "undo", "undo", "undo"}
                                       << QStringList{} << false;
}

void TestProject::rooms_are_edited_with_undo()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, names);
    QFETCH(bool, modified);
    ProjectMain m;
    QVERIFY(m.ok);
    Form_Project* p = m.open();
    const nimbo::ProjectRoom room = RoomOf(m.window->catalogue(), "ПДК", "");
    for (const QString& step : steps) {
        const QString arg = step.section(QLatin1Char(':'), 1, 1);
        if (step.startsWith(QLatin1String("add:"))) {
            nimbo::ProjectRoom r = room;
            r.name = arg.toStdString();
            p->addRoom(r);
        } else if (step.startsWith(QLatin1String("select:"))) {
            p->table()->selectRow(arg.toInt());
        } else if (step.startsWith(QLatin1String("rename:"))) {
            const QModelIndex cell = p->table()->model()->index(arg.toInt(), nimbo::kRoomName);
            QVERIFY(p->table()->model()->setData(cell, step.section(QLatin1Char(':'), 2)));
        } else if (step.startsWith(QLatin1String("key:"))) {
            p->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(p));
            p->table()->setFocus();
            QTest::keySequence(p->table(), QKeySequence(arg));
        } else {
            const char* button = step == QLatin1String("del")  ? "Cmd_Delete"
                                 : step == QLatin1String("up") ? "Cmd_Up"
                                                               : "Cmd_Down";
            if (step == QLatin1String("undo") || step == QLatin1String("redo"))
                Trigger(p, step == QLatin1String("undo") ? "Act_Undo" : "Act_Redo");
            else
                In<QPushButton>(p, button)->click();
        }
    }
    QCOMPARE(Names(p), names);
    QCOMPARE(p->isModified(), modified);
    QCOMPARE(p->isWindowModified(), modified);
    QCOMPARE(int(p->model()->project().rooms.size()), names.size());
    QVERIFY(m.platform.messages.isEmpty());
}

void TestProject::saved_project_opens_with_the_same_rows()
{
    ProjectMain m;
    QVERIFY(m.ok);
    Form_Project* p = m.withRooms();
    Type(In<QLineEdit>(p, "Prop_Name"), QStringLiteral("Бизнес-центр «Север»"));
    Type(In<QLineEdit>(p, "Prop_Engineer"), QStringLiteral("Иванова А. С."));
    const QStringList cells = Cells(p);
    QVERIFY(p->isModified());

    // A name without an extension gets the project's. The keys, as a
    // person presses them.
    p->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p));
    m.platform.saveAnswer = m.folder.file(QStringLiteral("офис"));
    QTest::keySequence(p->table(), QKeySequence(QStringLiteral("Ctrl+S")));
    const QString file = m.folder.file(QStringLiteral("офис.nimbo"));
    QVERIFY2(m.platform.messages.isEmpty(), qPrintable(m.platform.messages.value(0).text));
    QCOMPARE(p->filePath(), file);
    QVERIFY(!p->isModified());
    QCOMPARE(p->windowTitle(), QStringLiteral("Проект — офис.nimbo[*]"));
    QCOMPARE(Bytes(file), QByteArray::fromStdString(nimbo::WriteProject(p->model()->projectToSave())));

    QTest::keySequence(p->table(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(p->model()->rowCount(), 0);
    QVERIFY(In<QLineEdit>(p, "Prop_Name")->text().isEmpty());
    m.platform.openAnswer = file;
    QTest::keySequence(p->table(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(Cells(p), cells);
    QCOMPARE(In<QLineEdit>(p, "Prop_Name")->text(), QStringLiteral("Бизнес-центр «Север»"));
    QCOMPARE(In<QLineEdit>(p, "Prop_Engineer")->text(), QStringLiteral("Иванова А. С."));
    QVERIFY(!p->isModified());

    // The recent files open it again.
    Trigger(p, "Act_New");
    auto* recent = In<QMenu>(p, "Menu_Recent");
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().size(), 1);
    recent->actions().front()->trigger();
    QCOMPARE(Cells(p), cells);
    QVERIFY(m.platform.saveQuestions.isEmpty() && m.platform.messages.isEmpty());
}

void TestProject::unsaved_changes_are_asked_about_data()
{
    QTest::addColumn<QString>("how");  // the window closed, «Создать», or the main window closed
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QList<nimbo::SaveAnswer>>("answers");
    QTest::addColumn<bool>("stays");  // the project and its window as they were
    QTest::addColumn<bool>("saved");

    using A = nimbo::SaveAnswer;
    QTest::newRow("closed unchanged: no question") << "close" << false << QList<A>{} << false << false;
    QTest::newRow("closed, «Сохранить»") << "close" << true << QList<A>{A::Save} << false << true;
    QTest::newRow("closed, «Не сохранять»") << "close" << true << QList<A>{A::Discard} << false << false;
    QTest::newRow("closed, «Отмена»") << "close" << true << QList<A>{A::Cancel} << true << false;
    QTest::newRow("«Создать», «Отмена»") << "new" << true << QList<A>{A::Cancel} << true << false;
    QTest::newRow("«Создать», «Не сохранять»") << "new" << true << QList<A>{A::Discard} << false << false;
    QTest::newRow("program closed, «Отмена»") << "main" << true << QList<A>{A::Cancel} << true << false;
    QTest::newRow("program closed, «Сохранить»") << "main" << true << QList<A>{A::Save} << false << true;
}

void TestProject::unsaved_changes_are_asked_about()
{
    QFETCH(QString, how);
    QFETCH(bool, changed);
    QFETCH(QList<nimbo::SaveAnswer>, answers);
    QFETCH(bool, stays);
    QFETCH(bool, saved);
    ProjectMain m;
    QVERIFY(m.ok);
    Form_Project* p = changed ? m.withRooms() : m.open();
    const QStringList cells = Cells(p);
    m.platform.saveAnswers = answers;
    m.platform.saveAnswer = m.folder.file(QStringLiteral("сохраненный.nimbo"));
    bool closed = false;
    if (how == QLatin1String("close"))
        closed = p->close();
    else if (how == QLatin1String("new"))
        Trigger(p, "Act_New");
    else
        closed = m.window->close();
    QCOMPARE(m.platform.saveQuestions.size(), answers.size());
    if (!answers.isEmpty())
        QCOMPARE(m.platform.saveQuestions[0], QStringLiteral("Сохранить изменения в проекте «Новый проект»?"));
    QCOMPARE(QFileInfo::exists(m.platform.saveAnswer), saved);
    if (stays) {
        QVERIFY(!closed && p->isVisible() && p->isModified());
        QCOMPARE(Cells(p), cells);
    } else {
        QVERIFY(!p->isModified());
        if (how != QLatin1String("main"))
            QCOMPARE(p->isVisible(), how == QLatin1String("new"));
        // Let go: the window opens again on the project as its file holds it.
        QCOMPARE(Cells(p), saved ? cells : QStringList{});
    }
}

void TestProject::file_that_cannot_be_read_leaves_the_project_data()
{
    QTest::addColumn<QByteArray>("bytes");  // "dir": a folder of that name
    QTest::addColumn<QString>("message");

    const QByteArray good = QByteArray::fromStdString(nimbo::WriteProject(nimbo::Project{}));
    QTest::newRow("not JSON") << QByteArray("проект") << "Файл «x.nimbo», строка 1, столбец 1: ";
    QTest::newRow("a later format") << QByteArray(good).replace("\"version\": 1", "\"version\": 7")
                                    << "Файл «x.nimbo» создан более новой версией программы (формат 7)";
    QTest::newRow("a field out of range")
        << QByteArray(R"({"format": "nimbo-project", "version": 1, "rooms": [{"name": "101", "room": )"
                      R"({"length": 6, "width": -5, "height": 3}}]})")
        << "Файл «x.nimbo»: помещение 1 «101», поле «room.width»: должно быть числом больше 0, а в файле -5";
    QTest::newRow("a folder") << QByteArray("dir") << "Файл «x.nimbo» не открывается: по этому пути находится папка";
}

void TestProject::file_that_cannot_be_read_leaves_the_project()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    ProjectMain m;
    QVERIFY(m.ok);
    Form_Project* p = m.withRooms();
    const QStringList cells = Cells(p);
    const QString file = m.folder.file(QStringLiteral("x.nimbo"));
    if (bytes == "dir") {
        QVERIFY(QDir().mkpath(file));
    } else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    m.platform.saveAnswers = {nimbo::SaveAnswer::Discard};
    m.platform.openAnswer = file;
    Trigger(p, "Act_Open");
    QCOMPARE(m.platform.messages.size(), 1);
    QCOMPARE(m.platform.messages[0].title, QStringLiteral("Проект не открыт"));
    QVERIFY2(m.platform.messages[0].text.startsWith(message), qPrintable(m.platform.messages[0].text));
    QCOMPARE(Cells(p), cells);
    QVERIFY(p->isModified() && p->filePath().isEmpty());
}

void TestProject::place_that_cannot_be_written_keeps_everything_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause");
    QTest::newRow("read-only folder") << "folder" << "нет прав на запись";
    QTest::newRow("folder gone since the last save") << "gone" << "папка не найдена";
    QTest::newRow("read-only file") << "file" << "нет прав на запись";
}

void TestProject::place_that_cannot_be_written_keeps_everything()
{
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    ProjectMain m;
    QVERIFY(m.ok);
    Form_Project* p = m.withRooms({"101"});
    const QString folder = m.folder.file(QStringLiteral("проекты"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/офис.nimbo");
    m.platform.saveAnswer = file;
    Trigger(p, "Act_Save");
    const QByteArray before = Bytes(file);
    QVERIFY(!before.isEmpty());
    p->addRoom(RoomOf(m.window->catalogue(), "ПДК", "102"));
    const QStringList cells = Cells(p);
    const std::filesystem::path where = nimbo::FileSystemPath(fault == QLatin1String("file") ? file : folder);
    if (fault == QLatin1String("gone"))
        QVERIFY(QDir(folder).removeRecursively());
    else if (fault == QLatin1String("file")) {
        // Root, and wine run as root, write to a read-only file anyway.
        if (const QString why = MakeFileReadOnly(where); !why.isEmpty())
            QSKIP(qPrintable(why));
    }
    else if (!MakeReadOnly(where, true))
        QSKIP("a read-only folder cannot be made here");
    Trigger(p, "Act_Save");
    const QByteArray after = Bytes(file);
    if (fault == QLatin1String("file"))
        LiftFileReadOnly(where);
    else if (fault == QLatin1String("folder"))
        MakeReadOnly(where, false);
    QCOMPARE(m.platform.messages.size(), 1);
    QCOMPARE(m.platform.messages[0].title, QStringLiteral("Проект не сохранен"));
    QCOMPARE(m.platform.messages[0].text, QStringLiteral("Проект не сохранен в файл «%1»: %2.")
                                              .arg(QDir::toNativeSeparators(file), cause));
    QCOMPARE(after, fault == QLatin1String("gone") ? QByteArray() : before);
    QCOMPARE(Cells(p), cells);
    QVERIFY(p->isModified());
    QCOMPARE(p->filePath(), file);
}

void TestProject::marked_rooms_say_why_until_saved()
{
    ProjectMain m;
    QVERIFY(m.ok);
    const nimbo::Catalogue& c = m.window->catalogue();
    nimbo::Project project;
    project.rooms = {RoomOf(c, "ПДК", "101"), RoomOf(c, "РС-1", "102", 2), RoomOf(c, "ПДК", "103")};
    project.rooms[0].outlet.model = "ПДК-Х";
    *project.rooms[0].results.dP += 100;
    const double dP = *project.rooms[1].results.dP;
    *project.rooms[1].results.dP += 5;
    const QString file = m.folder.file(QStringLiteral("старый.nimbo"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray::fromStdString(nimbo::WriteProject(project))) > 0);
    }
    Form_Project* p = m.open();
    QVERIFY(p->openFile(file));
    const auto cell = [p](int row, int column) { return p->model()->index(row, column); };
    const int dPColumn = nimbo::kRoomFirstQuantity + 2;
    QCOMPARE(cell(0, 0).data(ProjectModel::MarkedRole).toBool(), true);
    QCOMPARE(cell(1, 0).data(ProjectModel::MarkedRole).toBool(), true);
    QCOMPARE(cell(2, 0).data(ProjectModel::MarkedRole).toBool(), false);
    QVERIFY(cell(0, 0).data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("Модели «ПДК-Х» типа")));
    // The missing model shows what it saved; the other, the new numbers.
    QCOMPARE(cell(0, dPColumn).data().toString(), QString::number(*project.rooms[0].results.dP));
    QCOMPARE(cell(1, dPColumn).data().toString(), QString::number(dP));
    QVERIFY(cell(1, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("ΔP, Па: %1 → %2").arg(dP + 5).arg(dP)));
    QVERIFY(cell(1, dPColumn).data(Qt::BackgroundRole) != cell(1, 0).data(Qt::BackgroundRole));
    QVERIFY(!cell(2, 0).data(Qt::BackgroundRole).isValid());
    QVERIFY(In<QLabel>(p, "Lbl_Status")->text().contains(QStringLiteral("отмечено при пересчете по каталогу: 2")));
    QVERIFY(!p->isModified());

    // Saved, the new numbers are the saved ones; the missing model keeps
    // what it had.
    QVERIFY(p->save());
    QCOMPARE(cell(1, 0).data(ProjectModel::MarkedRole).toBool(), false);
    QCOMPARE(cell(0, 0).data(ProjectModel::MarkedRole).toBool(), true);
    nimbo::Project reread;
    QCOMPARE(nimbo::ReadProject(Bytes(file).toStdString(), "x", reread), std::string());
    QVERIFY(reread.rooms[0] == project.rooms[0]);
    QCOMPARE(*reread.rooms[1].results.dP, dP);
}

void TestProject::outlet_goes_back_to_the_finder_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("sent");
    QTest::newRow("double click on the model") << "dclick" << int(nimbo::kRoomModel) << true;
    QTest::newRow("double click on a result") << "dclick" << int(nimbo::kRoomFirstQuantity + 3) << true;
    QTest::newRow("double click on the name edits it") << "dclick" << int(nimbo::kRoomName) << false;
    QTest::newRow("the button") << "button" << 0 << true;
}

void TestProject::outlet_goes_back_to_the_finder()
{
    QFETCH(QString, how);
    QFETCH(int, column);
    QFETCH(bool, sent);
    ProjectMain m;
    QVERIFY(m.ok);
    Form_Project* p = m.withRooms();
    QSignalSpy spy(p, &Form_Project::editRoomRequested);
    p->table()->selectRow(1);
    if (how == QLatin1String("button")) {
        In<QPushButton>(p, "Cmd_EditInFinder")->click();
    } else {
        QVERIFY(QTest::qWaitForWindowExposed(p));
        p->table()->scrollTo(p->model()->index(1, column));
        const QRect cell = p->table()->visualRect(p->model()->index(1, column));
        QVERIFY(p->table()->viewport()->rect().contains(cell.center()));
        // A double click as the system hands it over: a click, then the
        // second press as a double click.
        QTest::mouseClick(p->table()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(p->table()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QCOMPARE(spy.size(), sent ? 1 : 0);
    if (!sent) {
        // The name's editor is open in its cell instead.
        QVERIFY(p->table()->viewport()->findChild<QLineEdit*>());
        return;
    }
    QCOMPARE(spy[0][0].toInt(), 1);
    const auto room = spy[0][1].value<nimbo::ProjectRoom>();
    QVERIFY(room == p->model()->project().rooms[1]);

    // The finder's new choice comes back nameless; the room keeps its name.
    nimbo::ProjectRoom chosen = RoomOf(m.window->catalogue(), "ПДК", "", 1);
    p->replaceRoom(1, chosen);
    QCOMPARE(Names(p), QStringList({"101 Кабинет", "102 Переговорная", "103 Холл"}));
    QCOMPARE(p->model()->project().rooms[1].outlet.model, std::string("ПДК"));
    Trigger(p, "Act_Undo");
    QVERIFY(p->model()->project().rooms[1] == room);
}

void TestProject::documents_of_the_project()
{
    ProjectMain m;
    QVERIFY(m.ok);
    Form_Project* p = m.withRooms();
    m.platform.saveAnswer = m.folder.file(QStringLiteral("ведомость"));
    Trigger(p, "Act_Xlsx");
    const QJsonObject cells = ReadXlsx(m.platform.saveAnswer + QStringLiteral(".xlsx"));
    QCOMPARE(cells.value(QStringLiteral("Ведомость!A4")).toString(), QStringLiteral("s:103 Холл"));
    QCOMPARE(cells.value(QStringLiteral("Ведомость!H4")).toString(), QStringLiteral("s:1ДМЗ"));

    m.platform.saveAnswer = m.folder.file(QStringLiteral("отчет.pdf"));
    Trigger(p, "Act_Pdf");
    m.platform.printTo = m.folder.file(QStringLiteral("печать.pdf"));
    Trigger(p, "Act_Print");
    for (const QString& pdf : {m.platform.saveAnswer, m.platform.printTo}) {
        const QString missing = MissingInOrder(PdfPages(pdf).join(QLatin1Char('\n')),
                                               {"Нимбо — проект", "Помещений: 3", "1. 101 Кабинет",
                                                "2. 102 Переговорная", "3. 103 Холл", "1ДМЗ"});
        QVERIFY2(missing.isEmpty(), qPrintable(pdf + missing));
    }

    // A place that is not there: a message, and nothing else changes.
    m.platform.saveAnswer = m.folder.file(QStringLiteral("нет папки/ведомость.xlsx"));
    Trigger(p, "Act_Xlsx");
    m.platform.saveAnswer = m.folder.file(QStringLiteral("нет папки/отчет.pdf"));
    Trigger(p, "Act_Pdf");
    QCOMPARE(m.platform.messages.size(), 2);
    QCOMPARE(m.platform.messages[0].title, QStringLiteral("Ведомость не сохранена"));
    QCOMPARE(m.platform.messages[1].title, QStringLiteral("Отчет не сохранен"));
    QVERIFY(m.platform.messages[0].text.contains(QStringLiteral("нет папки")));
    QVERIFY(!QFileInfo::exists(m.folder.file(QStringLiteral("нет папки"))));
}

QTEST_MAIN(TestProject)
#include "tst_project.moc"
