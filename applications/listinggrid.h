#pragma once
// StringGrid1, the grid of the listing: fixed 15-pixel rows, whole-row
// selection, and the wheel and navigation keys moving exactly one row.

#include <QTableView>

class ListingGrid : public QTableView
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 15;
    static constexpr int VisibleRows = 36;

    explicit ListingGrid(QWidget* parent = nullptr);

    // Column widths for a listing of `rows` rows.
    void setColumnWidths(int rows);
    static int titleWidth(int rows) { return rows > VisibleRows ? 324 : 342; }

    int selectedRow() const; // -1 when none
    int topRow() const;
    // Moves the selection one row down or up with the scrolling rule.
    void moveSelection(bool down);

signals:
    void cellClicked(int column, int row); // left button on a cell
    void cellDoubleClicked(int column, int row);
    void popupRequested(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void selectRow(int row);
    bool afterDoubleClick_ = false; // the release that ends a double click is no click
};
