#pragma once
// One paint routine for every output of a report: the preview, a printer,
// a PDF file. The painter works in report units.

#include "platform/report/report.h"

class QPainter;

namespace report
{

void paintPage(QPainter& painter, const Page& page);

} // namespace report
