#include "window/project_model.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

#include "project/room_texts.h"

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

// A mark starts a line of its own in a tooltip, so with a capital.
QString Sentence(const std::string& text)
{
    QString s = Text(text);
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

const QColor kMarkedRow(255, 243, 205);
const QColor kChangedCell(255, 214, 170);

}  // namespace

ProjectModel::ProjectModel(const nimbo::Catalogue& catalogue, char separator, QObject* parent)
    : QAbstractTableModel(parent), catalogue_(catalogue), separator_(separator)
{
    updateHeaders();
}

void ProjectModel::setProject(nimbo::Project project)
{
    beginResetModel();
    project_ = std::move(project);
    checks_.assign(project_.rooms.size(), {});
    texts_.assign(project_.rooms.size(), {});
    for (int row = 0; row < rowCount(); ++row)
        check(row);
    updateHeaders();
    endResetModel();
}

nimbo::Project ProjectModel::projectToSave() const
{
    nimbo::Project p = project_;
    for (std::size_t i = 0; i < p.rooms.size(); ++i)
        p.rooms[i] = nimbo::Refreshed(p.rooms[i], checks_[i]);
    return p;
}

int ProjectModel::marked() const
{
    return static_cast<int>(std::count_if(checks_.begin(), checks_.end(), [](const nimbo::RoomCheck& c) {
        return c.marked();
    }));
}

void ProjectModel::check(int row)
{
    const auto i = static_cast<std::size_t>(row);
    checks_[i] = nimbo::CheckRoom(catalogue_, project_.rooms[i], separator_);
    texts_[i] = nimbo::RoomRow(catalogue_, project_.rooms[i], checks_[i], separator_);
}

void ProjectModel::updateHeaders()
{
    const std::vector<std::string> headers = nimbo::RoomHeaders(project_);
    if (headers == headers_)
        return;
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void ProjectModel::insertRoom(int index, nimbo::ProjectRoom room)
{
    index = std::clamp(index, 0, rowCount());
    beginInsertRows({}, index, index);
    project_.rooms.insert(project_.rooms.begin() + index, std::move(room));
    checks_.insert(checks_.begin() + index, nimbo::RoomCheck{});
    texts_.insert(texts_.begin() + index, std::vector<std::string>());
    check(index);
    endInsertRows();
    updateHeaders();
}

nimbo::ProjectRoom ProjectModel::takeRoom(int index)
{
    beginRemoveRows({}, index, index);
    nimbo::ProjectRoom room = std::move(project_.rooms[static_cast<std::size_t>(index)]);
    project_.rooms.erase(project_.rooms.begin() + index);
    checks_.erase(checks_.begin() + index);
    texts_.erase(texts_.begin() + index);
    endRemoveRows();
    updateHeaders();
    return room;
}

nimbo::ProjectRoom ProjectModel::replaceRoom(int index, nimbo::ProjectRoom room)
{
    std::swap(project_.rooms[static_cast<std::size_t>(index)], room);
    check(index);
    emit dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
    updateHeaders();
    return room;
}

void ProjectModel::moveRoom(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= rowCount() || to >= rowCount())
        return;
    // Qt counts the place to move before as it stands before the move.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    const auto move = [from, to](auto& v) {
        auto item = std::move(v[static_cast<std::size_t>(from)]);
        v.erase(v.begin() + from);
        v.insert(v.begin() + to, std::move(item));
    };
    move(project_.rooms);
    move(checks_);
    move(texts_);
    endMoveRows();
}

int ProjectModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(project_.rooms.size());
}

int ProjectModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : nimbo::RoomColumnCount(); }

QString ProjectModel::tooltip(int row) const
{
    const nimbo::RoomCheck& c = checks_[static_cast<std::size_t>(row)];
    QStringList lines;
    QStringList changes;
    for (const nimbo::RoomMark& mark : c.marks)
        (mark.kind == nimbo::MarkKind::Changed ? changes : lines) << Sentence(mark.text);
    if (!c.recalculated)
        lines << QStringLiteral("Показаны результаты, сохраненные в проекте.");
    if (!changes.isEmpty())
        lines << QStringLiteral("Результаты по текущему каталогу отличаются от сохраненных "
                                "(показаны новые; в файл они попадут при сохранении):")
              << changes;
    return lines.join(QLatin1Char('\n'));
}

QVariant ProjectModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    const nimbo::RoomCheck& c = checks_[row];
    const auto quantity = [&]() -> const nimbo::Quantity* {
        const auto all = nimbo::ProjectQuantities();
        return column >= nimbo::kRoomFirstQuantity ? all[static_cast<std::size_t>(column - nimbo::kRoomFirstQuantity)]
                                                   : nullptr;
    };
    switch (role) {
    case Qt::DisplayRole:
        return Text(texts_[row][static_cast<std::size_t>(column)]);
    case Qt::EditRole:
        return column == nimbo::kRoomName ? Text(project_.rooms[row].name) : QVariant();
    case Qt::ToolTipRole:
        return c.marked() ? QVariant(tooltip(index.row())) : QVariant();
    case Qt::BackgroundRole: {
        if (!c.marked())
            return {};
        const nimbo::Quantity* q = quantity();
        const bool changed = q && std::any_of(c.marks.begin(), c.marks.end(), [q](const nimbo::RoomMark& m) {
                                 return m.quantity == q->key;
                             });
        return QBrush(changed ? kChangedCell : kMarkedRow);
    }
    case Qt::TextAlignmentRole:
        if (column == nimbo::kRoomFlow || quantity())
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case MarkedRole:
        return c.marked();
    default:
        return {};
    }
}

QVariant ProjectModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < static_cast<int>(headers_.size()) ? Text(headers_[static_cast<std::size_t>(section)])
                                                                       : QVariant();
}

Qt::ItemFlags ProjectModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return index.column() == nimbo::kRoomName ? base | Qt::ItemIsEditable : base;
}

bool ProjectModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != nimbo::kRoomName || index.row() >= rowCount())
        return false;
    if (value.toString().toStdString() != project_.rooms[static_cast<std::size_t>(index.row())].name)
        emit renameRequested(index.row(), value.toString());
    return true;
}
