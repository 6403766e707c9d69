#pragma once
// Shortening a text to fit a grid column or a label.

#include <QFont>
#include <QString>

// The text in `font` with the family switched to Arial (size unchanged),
// cut to the longest prefix narrower than `maximum` by at least one pixel and
// followed by "..."; a text that fits is returned whole.
QString CutString(const QFont& font, const QString& text, int maximum);
