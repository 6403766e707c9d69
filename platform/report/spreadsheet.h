#pragma once
// The spreadsheet filter: the text objects of a report page become cells,
// one row per distinct top, one column per distinct left edge, in order
// (a report of several pages gives its pages' rows one after the other);
// pictures, lines and every formatting are dropped. Written as .xlsx.

#include "platform/report/report.h"

#include <QStringList>

namespace report
{

QList<QStringList> pageGrid(const Page& page);
// The pages one under the other, with the columns of all of them.
QList<QStringList> reportGrid(const Report& report);

// Writes the grid as one sheet. The file is complete or not there: a failed
// write leaves what was under that name before.
bool writeXlsx(const QList<QStringList>& grid, const QString& path, QString* error);

} // namespace report
