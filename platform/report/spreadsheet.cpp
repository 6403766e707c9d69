#include "platform/report/spreadsheet.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <xlsxwriter.h>

namespace report
{

QList<QStringList> pageGrid(const Page& page)
{
    // Rows and columns by their position, each distinct value once, in order.
    std::map<qint64, int> rows, columns;
    auto key = [](qreal v) { return qint64(qRound64(v * 100)); };
    for (const Object& o : page.objects)
        if (const auto* t = std::get_if<TextBox>(&o)) {
            rows.emplace(key(t->rect.top()), 0);
            columns.emplace(key(t->rect.left()), 0);
        }
    int n = 0;
    for (auto& r : rows)
        r.second = n++;
    n = 0;
    for (auto& c : columns)
        c.second = n++;
    QList<QStringList> grid(int(rows.size()), QStringList(int(columns.size())));
    for (const Object& o : page.objects)
        if (const auto* t = std::get_if<TextBox>(&o)) {
            QString& cell = grid[rows[key(t->rect.top())]][columns[key(t->rect.left())]];
            cell = cell.isEmpty() ? t->text : cell + QLatin1Char(' ') + t->text;
        }
    return grid;
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
    lxw_workbook* book = workbook_new(name.constData());
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
