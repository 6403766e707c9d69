#include "platform/report/spreadsheet.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#include <xlsxwriter.h>

namespace report
{

namespace
{

// A text of a page at its place: rows are told apart by page, then top.
struct Cell {
    qint64 row, column;
    QString text;
};

qint64 key(qreal v)
{
    return qint64(qRound64(v * 100));
}

void addCells(std::vector<Cell>& cells, const Page& page, int index)
{
    for (const Object& o : page.objects)
        if (const auto* t = std::get_if<TextBox>(&o))
            cells.push_back(
                {(qint64(index) << 40) + key(t->rect.top()), key(t->rect.left()), t->text});
}

QList<QStringList> gridOf(const std::vector<Cell>& cells)
{
    // Rows and columns by their position, each distinct value once, in order.
    std::vector<qint64> rows, columns;
    rows.reserve(cells.size());
    columns.reserve(cells.size());
    for (const Cell& c : cells) {
        rows.push_back(c.row);
        columns.push_back(c.column);
    }
    for (std::vector<qint64>* v : {&rows, &columns}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    auto position = [](const std::vector<qint64>& v, qint64 k) {
        return int(std::lower_bound(v.begin(), v.end(), k) - v.begin());
    };
    QList<QStringList> grid(qsizetype(rows.size()), QStringList(qsizetype(columns.size())));
    for (const Cell& c : cells) {
        QString& cell = grid[position(rows, c.row)][position(columns, c.column)];
        cell = cell.isEmpty() ? c.text : cell + QLatin1Char(' ') + c.text;
    }
    return grid;
}

} // namespace

QList<QStringList> pageGrid(const Page& page)
{
    std::vector<Cell> cells;
    addCells(cells, page, 0);
    return gridOf(cells);
}

QList<QStringList> reportGrid(const Report& report)
{
    // Page after page, so that only one page is made at a time.
    std::vector<Cell> cells;
    for (int i = 0; i < report.pageCount(); ++i)
        addCells(cells, report.page(i), i);
    return gridOf(cells);
}

bool writeXlsx(const QList<QStringList>& grid, const QString& path, QString* error)
{
    const QFileInfo target(path);
    // Written beside the target, then renamed over it in one step.
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.orvaldis-XXXXXX.xlsx"));
    if (!temp.open()) {
        *error = temp.errorString();
        return false;
    }
    temp.close();
    const QByteArray name = QFile::encodeName(temp.fileName());
    // Rows go to the file as they are written rather than staying in memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(name.constData(), &options);
    if (!book) {
        *error = QStringLiteral("impossible de créer le classeur");
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    for (int r = 0; r < grid.size(); ++r)
        for (int c = 0; c < grid[r].size(); ++c)
            if (!grid[r][c].isEmpty())
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                       grid[r][c].toUtf8().constData(), nullptr);
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        *error = QString::fromUtf8(lxw_strerror(closed));
        return false;
    }
    if (std::rename(name.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) !=
        0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

} // namespace report
