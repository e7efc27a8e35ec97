#pragma once
// The project as a table: one row a room, each calculated again with the
// catalogue whenever it enters, so that a row shows what the catalogue
// gives now and, where that differs from the room as saved, why. Holds the
// project; the window only changes it through the functions below, each of
// which an undo step calls.
#include <QAbstractTableModel>

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "project/project.h"
#include "project/room_check.h"

class ProjectModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Whether a row is marked, for Qt::UserRole.
    static constexpr int MarkedRole = Qt::UserRole;

    // The catalogue must outlive the model.
    ProjectModel(const nimbo::Catalogue& catalogue, char decimalSeparator, QObject* parent = nullptr);

    // A whole project: every room calculated again.
    void setProject(nimbo::Project project);
    // The rooms as they stand: inputs, choice and the results as saved.
    const nimbo::Project& project() const { return project_; }
    // The project as it is written: each room with the results of its
    // calculation here, where there is one.
    nimbo::Project projectToSave() const;
    const std::vector<nimbo::RoomCheck>& checks() const { return checks_; }
    int marked() const;

    void setProperties(const nimbo::ProjectProperties& properties) { project_.properties = properties; }
    void insertRoom(int index, nimbo::ProjectRoom room);
    nimbo::ProjectRoom takeRoom(int index);
    // Puts `room` at `index` and returns the room that was there.
    nimbo::ProjectRoom replaceRoom(int index, nimbo::ProjectRoom room);
    void moveRoom(int from, int to);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The name is edited in its cell; the change is asked for, not made, so
    // that the window can make it an undo step.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void renameRequested(int row, const QString& name);

private:
    void check(int row);
    void updateHeaders();
    QString tooltip(int row) const;

    const nimbo::Catalogue& catalogue_;
    char separator_;
    nimbo::Project project_;
    std::vector<nimbo::RoomCheck> checks_;
    std::vector<std::vector<std::string>> texts_;  // [row][column]
    std::vector<std::string> headers_;
};
