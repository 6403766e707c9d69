#include "applications/listinggrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

ListingGrid::ListingGrid(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("StringGrid1"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(ScrollPerItem);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setMinimumHeight(VisibleRows * RowHeight + 2 * frameWidth());
    setMinimumWidth(15 + 65 + 15 + 230 + 342 + 6 * 15 + 2 * frameWidth());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

int ListingGrid::visibleRows() const
{
    return std::max(1, (height() - 2 * frameWidth()) / RowHeight);
}

int ListingGrid::titleWidth(int rows) const
{
    const int extra = std::max(0, width() - minimumWidth());
    return (rows > visibleRows() ? 324 : 342) + extra;
}

void ListingGrid::setColumnWidths(int rows)
{
    rows_ = rows;
    const int widths[11] = {15, 65, 15, 230, titleWidth(rows), 15, 15, 15, 15, 15, 15};
    for (int c = 0; c < 11; ++c)
        setColumnWidth(c, widths[c]);
}

void ListingGrid::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    setColumnWidths(rows_);
}

int ListingGrid::selectedRow() const
{
    if (!selectionModel()) return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int ListingGrid::topRow() const
{
    return verticalScrollBar()->value();
}

void ListingGrid::selectRow(int row)
{
    const QModelIndex i = model()->index(row, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                             QItemSelectionModel::Rows);
}

void ListingGrid::moveSelection(bool down)
{
    if (!model() || model()->rowCount() == 0) return;
    const int rows = model()->rowCount();
    const int sel = selectedRow();
    if (sel < 0) {
        selectRow(0);
        verticalScrollBar()->setValue(0);
        return;
    }
    if (down && sel < rows - 1) {
        const int next = sel + 1;
        selectRow(next);
        if (next - topRow() > visibleRows() - 1)
            verticalScrollBar()->setValue(next - (visibleRows() - 1));
    } else if (!down && sel > 0) {
        const int prev = sel - 1;
        selectRow(prev);
        if (prev < topRow()) verticalScrollBar()->setValue(prev);
    }
}

void ListingGrid::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveSelection(false);
        e->accept();
        return;
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveSelection(true);
        e->accept();
        return;
    default:
        QTableView::keyPressEvent(e);
    }
}

void ListingGrid::wheelEvent(QWheelEvent* e)
{
    const int dy = e->angleDelta().y();
    if (dy != 0) moveSelection(dy < 0);
    e->accept();
}

void ListingGrid::mousePressEvent(QMouseEvent* e)
{
    // The right button opens the sort menu; it does not move the selection.
    if (e->button() == Qt::RightButton) {
        e->accept();
        return;
    }
    QTableView::mousePressEvent(e);
}

void ListingGrid::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::RightButton) QTableView::mouseReleaseEvent(e);
    const QModelIndex i = indexAt(e->position().toPoint());
    if (e->button() == Qt::RightButton) {
        emit popupRequested(e->globalPosition().toPoint());
    } else if (e->button() == Qt::LeftButton && i.isValid() && !afterDoubleClick_) {
        emit cellClicked(i.column(), i.row());
    }
    afterDoubleClick_ = false;
}

void ListingGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    afterDoubleClick_ = true;
    const QModelIndex i = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && i.isValid()) emit cellDoubleClicked(i.column(), i.row());
}
