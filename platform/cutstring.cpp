#include "platform/cutstring.h"

#include "store/helpers.h"

#include <QFontMetrics>

QString CutString(const QFont& font, const QString& text, int maximum)
{
    QFont arial(font);
    arial.setFamily(QStringLiteral("Arial"));
    const QFontMetrics metrics(arial);
    return cutToWidth(text, maximum,
                      [&](const QString& s) { return metrics.horizontalAdvance(s); });
}
