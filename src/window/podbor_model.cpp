#include "window/podbor_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPalette>

#include <cmath>
#include <limits>

#include "calc/numbers.h"

namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
QString Text(const std::string& s) { return QString::fromStdString(s); }

// Which limits mark which column.
unsigned LimitsOf(int column)
{
    const nimbo::Quantity* q = PodborModel::QuantityAt(column);
    return q ? q->limits : 0;
}

double Number(const nimbo::Found& f, int column)
{
    const nimbo::Quantity* q = PodborModel::QuantityAt(column);
    return q ? f.*q->number : std::numeric_limits<double>::quiet_NaN();
}

// The throw is kept as «Считай!» gives it, but a jet that leaves the outlet
// slower than Vx never has that velocity.
QString SlowJetNote(const nimbo::Stages& st, const nimbo::Request& r)
{
    const double outlet = nimbo::JetOutletVelocity(st);
    if (r.variant == 2 || !st.jetShown() || !(st.Vx > outlet))
        return {};
    const auto number = [&r](double v) { return Text(nimbo::NumberText(nimbo::Round(v, 2), r.decimalSeparator)); };
    return QStringLiteral("Струя выходит из воздухораспределителя со скоростью %1 м/с, медленнее Vx = %2 м/с")
        .arg(number(outlet), number(st.Vx));
}

}  // namespace

PodborModel::PodborModel(QObject* parent) : QAbstractTableModel(parent) {}

const nimbo::Quantity* PodborModel::QuantityAt(int column)
{
    return column >= FirstQuantity && column < ColumnCount ? &nimbo::Quantities()[static_cast<std::size_t>(column - FirstQuantity)]
                                                             : nullptr;
}

void PodborModel::setResult(const nimbo::Catalogue* catalogue, const nimbo::Request& request,
                            nimbo::SearchResult result)
{
    beginResetModel();
    catalogue_ = catalogue;
    request_ = request;
    found_ = std::move(result.found);
    fitting_ = result.fitting;
    texts_.clear();
    endResetModel();
}

void PodborModel::clear()
{
    beginResetModel();
    found_.clear();
    fitting_ = 0;
    texts_.clear();
    endResetModel();
}

const nimbo::Found* PodborModel::found(int row) const
{
    return row >= 0 && row < static_cast<int>(found_.size()) ? &found_[static_cast<std::size_t>(row)] : nullptr;
}

int PodborModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(found_.size());
}

int PodborModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

const PodborModel::RowTexts& PodborModel::texts(int row) const
{
    if (auto it = texts_.find(row); it != texts_.end())
        return it->second;
    const nimbo::Found& f = found_[static_cast<std::size_t>(row)];
    RowTexts t;
    const nimbo::SizeLine line = catalogue_->line(f.row, f.sizeIndex);
    t.cells[Type] = Text(catalogue_->typeName(f.row));
    t.cells[Model] = Text(catalogue_->modelName(f.row));
    switch (catalogue_->sizeMode(f.row)) {
    case nimbo::SizeMode::Free:
        t.cells[Size] = Text(nimbo::FreeSizeText(request_.inputs.A, request_.inputs.B));
        break;
    case nimbo::SizeMode::Slot:
        t.cells[Size] = Text(request_.inputs.Dlina);
        break;
    case nimbo::SizeMode::Listed:
        t.cells[Size] = Text(line.designation());
        break;
    }
    t.cells[Options] = Text(nimbo::PicksText(line, f.picks));
    if (!f.ok) {
        t.cells[FirstQuantity] = Text(f.message);
    } else {
        const nimbo::FoundDetails d = nimbo::Details(*catalogue_, request_, f);
        for (int c = FirstQuantity; c < ColumnCount; ++c)
            t.cells[c] = Text(QuantityAt(c)->text(f, d, request_.decimalSeparator));
        t.slowJet = SlowJetNote(d.stages, request_);
    }
    return texts_.emplace(row, std::move(t)).first->second;
}

QString PodborModel::missTip(const nimbo::Found& f, int column) const
{
    QStringList tips;
    for (unsigned bit = 1; bit < (1U << nimbo::kLimitCount); bit <<= 1) {
        if (!(f.misses & bit & LimitsOf(column)))
            continue;
        const auto limit = static_cast<nimbo::LimitBit>(bit);
        const QString value =
            QString::number((request_.limits.*nimbo::SlotOf(limit).value).value_or(0), 'g', 15);
        tips << (std::isnan(Number(f, column))
                     ? QStringLiteral("Нет значения для ограничения «%1 %2»").arg(Text(nimbo::LimitName(limit)), value)
                     : QStringLiteral("Не выполнено ограничение «%1 %2»").arg(Text(nimbo::LimitName(limit)), value));
    }
    return tips.join(QLatin1Char('\n'));
}

QString PodborModel::roomTip(const nimbo::Found& f) const
{
    const char sep = request_.decimalSeparator;
    const auto number = [sep](double v, int decimals) { return Text(nimbo::NumberText(nimbo::Round(v, decimals), sep)); };
    return QStringLiteral("Сетка %1 × %2 (вдоль A × вдоль B), до ближайшего r = %3 м, постоянная помещения R = %4 м²")
        .arg(f.grid.nx)
        .arg(f.grid.ny)
        .arg(number(f.rNearest, 2), number(f.R, 1));
}

QVariant PodborModel::data(const QModelIndex& index, int role) const
{
    const nimbo::Found* f = index.isValid() ? found(index.row()) : nullptr;
    if (!f)
        return {};
    const int column = index.column();
    const bool missed = (f->misses & LimitsOf(column)) != 0;
    switch (role) {
    case Qt::DisplayRole:
        return texts(index.row()).cells[column];
    case SortRole:
        if (column < FirstQuantity)
            return texts(index.row()).cells[column];
        // Refused candidates and values not shown sort after every number.
        return std::isnan(Number(*f, column)) || !f->ok ? std::numeric_limits<double>::infinity() : Number(*f, column);
    case Qt::ToolTipRole: {
        if (!f->ok && column == FirstQuantity)
            return Text(f->message);
        QStringList tips;
        if (request_.room && column < FirstQuantity)
            tips << roomTip(*f);
        if (missed)
            tips << missTip(*f, column);
        if (column == Jet && !texts(index.row()).slowJet.isEmpty())
            tips << texts(index.row()).slowJet;
        return tips.isEmpty() ? QVariant() : QVariant(tips.join(QLatin1Char('\n')));
    }
    case Qt::FontRole:
        if (column == Jet && !texts(index.row()).slowJet.isEmpty()) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return {};
    case Qt::ForegroundRole:
        if (!f->fits())
            return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
        return {};
    case Qt::BackgroundRole:
        if (missed)
            return QBrush(QColor(255, 214, 204));
        return {};
    case Qt::TextAlignmentRole:
        if (column >= FirstQuantity && f->ok)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant PodborModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (const nimbo::Quantity* q = QuantityAt(section))
        return Text(q->header(request_.variant));
    switch (section) {
    case Type:
        return QStringLiteral("Тип");
    case Model:
        return QStringLiteral("Модель");
    case Size:
        return QStringLiteral("Типоразмер");
    case Options:
        return QStringLiteral("Исполнение");
    default:
        return {};
    }
}
