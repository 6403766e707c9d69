#pragma once
// A prepared report written as a PDF file: pages of 212 × 299.83 mm, text
// kept as text, the title and the program's name in the document's
// properties. The file is complete or not there: a failed write leaves
// what was under that name before.

#include "platform/report/report.h"

namespace report
{

// `producer` names the program in the document information (creator,
// author, subject, keywords).
bool writePdf(const Report& report, const QString& path, const QString& producer, QString* error);

} // namespace report
