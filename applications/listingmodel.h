#pragma once
// The grid of the application listing: a model over the rows of the last
// build and the painting of its cells.

#include "applications/listingrules.h"
#include "store/store.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

class ListingModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int Columns = 11;

    explicit ListingModel(const Store& store, QObject* parent = nullptr);

    // Replaces every row (a rebuild of the listing).
    void setRows(QList<TLigneListing> rows);
    const QList<TLigneListing>& rows() const { return rows_; }
    TLigneListing& row(int r) { return rows_[r]; }
    const TCandidatureRec& candidature(int r) const;

    // Repaints the cells of one column.
    void cellsChanged(int row, int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const Store& store_;
    QList<TLigneListing> rows_;
};

// Paints the cells as the listing shows them: row colours, icons, the
// document letters on their colours, texts shortened to their column.
class ListingDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // `phase` is the blink phase of the alarm icons; `selectedRow` takes the
    // row last painted as selected.
    ListingDelegate(const ListingModel& model, const bool& phase, int& selectedRow,
                    QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Background of a row: selection, then light blue for even rows, white for odd.
    static QColor background(int row, bool selected);

private:
    const ListingModel& model_;
    const bool& phase_;
    int& selectedRow_;
};
