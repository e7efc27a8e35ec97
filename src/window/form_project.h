#pragma once
// «Проект»: the rooms of a building with the outlet chosen for each, kept
// in a *.nimbo file and handed over as the schedule spreadsheet and the
// project report. Not modal; the main window owns one. Rooms come from the
// finder (addRoom, replaceRoom) and go back to it for a change
// (editRoomRequested); here they are deleted, renamed and reordered, each
// step undoable.
//   form_project.cpp       the window, the table and its commands
//   form_project_file.cpp  the file commands, recent files, the documents
#include <QMetaType>
#include <QString>
#include <QWidget>

#include <functional>

#include "catalogue/catalogue.h"
#include "project/project.h"

class ProjectModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QUndoStack;

namespace nimbo {
class Platform;
}

// The room travels in editRoomRequested, queued too.
Q_DECLARE_METATYPE(nimbo::ProjectRoom)

class Form_Project : public QWidget {
    Q_OBJECT
public:
    // The catalogue must outlive the window; `catalogueFile` names it in
    // the documents.
    Form_Project(const nimbo::Catalogue& catalogue, nimbo::Platform& platform, const QString& catalogueFile,
                 QWidget* parent = nullptr);
    ~Form_Project() override;

    // The finder's «В проект»: the room goes after the selected row (or at
    // the end) and is selected.
    void addRoom(const nimbo::ProjectRoom& room);
    // The finder's choice for a room sent to it by editRoomRequested. A room
    // without a name keeps the name of the one it replaces.
    void replaceRoom(int index, const nimbo::ProjectRoom& room);

    // form_project_file.cpp: the file commands, as the menu runs them.
    // Each returns false when the user cancelled or it failed (and said so).
    bool newProject();
    bool openProject();
    bool openFile(const QString& path);
    bool save();
    bool saveAs();
    bool exportSchedule();
    bool savePdf();
    bool printReport();
    // Asks about unsaved changes; true when the project may be dropped.
    bool maybeSave();

    bool isModified() const;
    const QString& filePath() const { return file_; }
    const ProjectModel* model() const { return model_; }
    QTableView* table() const { return table_; }
    QUndoStack* undoStack() const { return undo_; }

signals:
    // «Изменить в подборе…»: the finder is to open on this room's inputs.
    void editRoomRequested(int index, const nimbo::ProjectRoom& room);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // form_project.cpp
    void buildMenus();
    void buildProperties();
    void buildTable();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys,
                        const std::function<void()>& run);
    int currentRow() const;
    void deleteRoom();
    void renameRoom(int row, const QString& name);
    void moveUp();
    void moveDown();
    void moveRoom(int by);
    void editInFinder();
    void propertiesEdited();
    void updateState();
    void showProperties();

    // form_project_file.cpp
    bool writeTo(const QString& path);
    void revert();
    void loaded(const nimbo::Project& project, const QString& path);
    void remember(const QString& path);
    void fillRecent();
    QString suggested(const QString& extension) const;
    QString chooseTarget(const QString& title, const QString& extension, const QString& filter);
    void warn(const QString& title, const QString& text);

    const nimbo::Catalogue& catalogue_;
    nimbo::Platform& platform_;
    QString catalogueFile_;
    char separator_;
    QString file_;  // "" until saved or opened
    nimbo::ProjectProperties savedProperties_;

    ProjectModel* model_ = nullptr;
    QUndoStack* undo_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* recent_ = nullptr;
    // Project name, object, section, engineer.
    QLineEdit* properties_[4] = {};
};
