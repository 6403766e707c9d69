#pragma once
// Preparing a report: the variables are put into the texts, a flowing text
// box is spread over as many pages as its text needs (each further page
// with the footer objects of the template), then every page gets its
// number: "[PAGE#]" and "[TOTALPAGES]".

#include "platform/report/report.h"

#include <QStringList>

namespace report
{

// The pages of `templ` prepared with `variables`. A value is put in as it
// is: brackets in it name nothing. A name without a variable gives an
// empty text.
QList<Page> prepare(const Page& templ, const QMap<QString, QString>& variables);

// `text` cut into the lines it takes in a box of `width` units with the
// font of `box`: at its line breaks, then between words, a word wider than
// the box between its characters.
QStringList wrapLines(const TextBox& box, const QString& text, qreal width);

// The font of a text box, its size in report units.
QFont fontOf(const TextBox& box);

} // namespace report
