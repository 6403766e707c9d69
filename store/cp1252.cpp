#include "store/cp1252.h"

#include <QList>

#include <algorithm>

namespace
{

// Code points of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) return 0x80 + i;
    return -1;
}

} // namespace

namespace cp1252
{

QString decode(const char* bytes, int n)
{
    QString s(n, Qt::Uninitialized);
    QChar* out = s.data();
    for (int i = 0; i < n; ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return s;
}

int encodeInto(QStringView text, char* out, int max, bool* lossless)
{
    const int n = int(std::min<qsizetype>(text.size(), max));
    bool ok = true;
    for (int i = 0; i < n; ++i) {
        const int b = byteFor(text[i].unicode());
        if (b < 0) ok = false;
        out[i] = char(b < 0 ? '?' : b);
    }
    if (lossless) *lossless = ok;
    return n;
}

QByteArray encode(const QString& text, bool* lossless)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    encodeInto(text, out.data(), int(text.size()), lossless);
    return out;
}

bool canEncode(const QString& text)
{
    for (QChar c : text)
        if (byteFor(c.unicode()) < 0) return false;
    return true;
}

QString unencodableCharacters(const QString& text)
{
    QString found;
    int count = 0;
    for (char32_t c : text.toUcs4()) {
        const QString ch = QString::fromUcs4(&c, 1);
        if (canEncode(ch) || found.contains(ch)) continue;
        if (count == 5) {
            found += QStringLiteral(" …");
            break;
        }
        if (!found.isEmpty()) found += QLatin1Char(' ');
        found += ch;
        ++count;
    }
    return found;
}

QString unstorableText(std::initializer_list<FieldText> texts)
{
    for (const FieldText& t : texts) {
        if (canEncode(t.text)) continue;
        return QStringLiteral("Le champ « ") + t.field +
               QStringLiteral(" » contient des caractères que le programme ne peut pas "
                              "enregistrer : ") +
               unencodableCharacters(t.text) + QStringLiteral("\rRemplacez-les, puis recommencez.");
    }
    return QString();
}

} // namespace cp1252
