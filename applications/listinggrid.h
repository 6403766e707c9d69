#pragma once
// StringGrid1, the grid of the listing: fixed 15-pixel rows, whole-row
// selection, and the wheel and navigation keys moving exactly one row.

#include <QTableView>

class ListingGrid : public QTableView
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 15;
    // Rows shown at the smallest size; the grid grows with the window.
    static constexpr int VisibleRows = 36;

    explicit ListingGrid(QWidget* parent = nullptr);

    // Column widths for a listing of `rows` rows: the title column takes the
    // width the grid has beyond its smallest size.
    void setColumnWidths(int rows);
    int titleWidth(int rows) const;
    // Whole rows that the grid shows at its present height.
    int visibleRows() const;

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
    void resizeEvent(QResizeEvent* e) override;

private:
    void selectRow(int row);
    int rows_ = 0;
    bool afterDoubleClick_ = false; // the release that ends a double click is no click
};
