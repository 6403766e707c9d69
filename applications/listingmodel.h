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

    // What a cell shows besides its text; the delegate and the listing
    // report paint from these only.
    enum Role {
        AlarmRole = Qt::UserRole + 1, // bool: the appointment's alarm is due
        FinishedRole,                 // bool: the application is finished
        CategoryRole,                 // QChar 'S', 'C', 'I', or null when the company is unknown
        FlagRole,                     // bool, columns 6-9: CV, letter, acknowledgement, reply
        AppointmentRole,              // bool: an appointment is set
        MarkerRole,                   // bool: the user's marker
        BlinkPhaseRole                // bool: the blinking alarm icons are shown now
    };

    explicit ListingModel(const Store& store, QObject* parent = nullptr);

    // Replaces every row (a rebuild of the listing).
    void setRows(QList<TLigneListing> rows);
    const QList<TLigneListing>& rows() const { return rows_; }
    TLigneListing& row(int r) { return rows_[r]; }
    const TCandidatureRec& candidature(int r) const;

    // Repaints the cells of one column.
    void cellsChanged(int row, int column);

    // The phase of the blinking alarms.
    bool blinkPhase() const { return blinkPhase_; }
    void setBlinkPhase(bool on) { blinkPhase_ = on; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const Store& store_;
    QList<TLigneListing> rows_;
    bool blinkPhase_ = false;
};

// Paints the cells as the listing shows them: row colours, icons, the
// document letters on their colours, texts shortened to their column.
class ListingDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Background of a row: selection, then light blue for even rows, white for odd.
    static QColor background(int row, bool selected);
};
