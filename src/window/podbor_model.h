#pragma once
// The finder's list as a table: one row per candidate in the order of the
// search, the texts exactly as "Считай!" writes them, numbers for sorting,
// misses greyed and marked.
#include <QAbstractTableModel>

#include <unordered_map>

#include "select/quantities.h"
#include "select/search.h"

class PodborModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The candidate's names, then one column a quantity in the order of
    // nimbo::Quantities(); the first ones are named for the code that
    // points at them.
    enum Column { Type, Model, Size, Options, FirstQuantity, DP = FirstQuantity, LwA, Jet, V0, Vjs };
    static constexpr int ColumnCount = FirstQuantity + nimbo::kQuantityCount;
    // The quantity a column shows; nullptr for the name columns.
    static const nimbo::Quantity* QuantityAt(int column);
    // The sort role: a number, with "no value" after every number.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit PodborModel(QObject* parent = nullptr);

    // The catalogue must outlive the model's rows.
    void setResult(const nimbo::Catalogue* catalogue, const nimbo::Request& request, nimbo::SearchResult result);
    void clear();

    const nimbo::Found* found(int row) const;
    const nimbo::Request& request() const { return request_; }
    const nimbo::Catalogue* catalogue() const { return catalogue_; }
    int fitting() const { return fitting_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct RowTexts {
        QString cells[ColumnCount];
        QString slowJet;  // the throw's note where the jet leaves slower than Vx
    };
    const RowTexts& texts(int row) const;
    QString missTip(const nimbo::Found& f, int column) const;
    // A room row: how the outlets sit, how far the nearest is, the room constant.
    QString roomTip(const nimbo::Found& f) const;

    const nimbo::Catalogue* catalogue_ = nullptr;
    nimbo::Request request_;
    std::vector<nimbo::Found> found_;
    int fitting_ = 0;
    // Only the rows on screen are ever asked for; their texts come from the
    // engine again and are kept.
    mutable std::unordered_map<int, RowTexts> texts_;
};
