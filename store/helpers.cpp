#include "store/helpers.h"

#include <QDate>
#include <QFile>

DateError::DateError(const QString& text) : std::runtime_error(text.toStdString()) {}

QString SQL2Date(const QString& date)
{
    if (date.size() != 8) return date;
    return date.mid(6, 2) + QLatin1Char('/') + date.mid(4, 2) + QLatin1Char('/') + date.left(4);
}

namespace
{

const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();

template <class Shown> qint64 days(const char* s, int n, const Shown& shown)
{
    auto digits = [&](int from, int len) {
        int v = 0;
        for (int i = from; i < from + len; ++i) {
            if (s[i] < '0' || s[i] > '9') return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    const int y = n == 8 ? digits(0, 4) : -1;
    const QDate date(y, n == 8 ? digits(4, 2) : 0, n == 8 ? digits(6, 2) : 0);
    if (y < 1 || !date.isValid())
        throw DateError(QStringLiteral("'%1' n'est pas une date valide").arg(shown()));
    return date.toJulianDay() - kDayZero;
}

} // namespace

double SQL2DateTime(const QString& date)
{
    const QByteArray b = date.toLatin1();
    return double(days(b.constData(), int(b.size()), [&] { return date; }));
}

qint64 dateDays(const Date& date)
{
    return days(date.chars, date.length(), [&] { return date.text(); });
}

qint32 CompteJours(const QString& a, const QString& b)
{
    const double d = SQL2DateTime(a) - SQL2DateTime(b);
    return qint32(d < 0 ? -d : d);
}

QString SansAccents(const QString& text)
{
    static const struct {
        char16_t from;
        char16_t to;
    } pairs[] = {{u'à', u'a'}, {u'â', u'a'}, {u'ä', u'a'}, {u'é', u'e'}, {u'è', u'e'},
                 {u'ê', u'e'}, {u'ë', u'e'}, {u'ù', u'u'}, {u'û', u'u'}, {u'ü', u'u'},
                 {u'ô', u'o'}, {u'ö', u'o'}, {u'î', u'i'}, {u'ï', u'i'}, {u'ç', u'c'}};
    QString s = text;
    for (const auto& p : pairs)
        s.replace(QChar(p.from), QChar(p.to), Qt::CaseInsensitive);
    return s;
}

QString cutToWidth(const QString& text, int maximum,
                   const std::function<int(const QString&)>& width)
{
    if (maximum - width(text) >= 1) return text;
    // Widths grow with the prefix: the longest prefix that fits is found by halving.
    int lo = 0, hi = int(text.size()) - 1; // lo always fits (the empty prefix)
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (maximum - width(text.left(mid)) >= 1)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo) + QStringLiteral("...");
}

namespace
{
const TSocieteRec* findSociete(const QList<TSocieteRec>& societes, qint32 id)
{
    for (const TSocieteRec& s : societes)
        if (isLive(s) && qint32(s.id) == id) return &s;
    return nullptr;
}
} // namespace

QString GetSocietyName(const QList<TSocieteRec>& societes, qint32 id)
{
    const TSocieteRec* s = findSociete(societes, id);
    return s ? s->nom.text() : QString();
}

QString GetSocietyType(const QList<TSocieteRec>& societes, qint32 id)
{
    const TSocieteRec* s = findSociete(societes, id);
    return s ? s->categorie.text() : QString();
}

QString LitEnteteFichier(const QString& path)
{
    QFile f(path);
    if (!f.exists()) return QString();
    if (f.size() < 7) return QStringLiteral("null");
    if (!f.open(QIODevice::ReadOnly)) return QString();
    ShortString<6> tag;
    if (f.read(reinterpret_cast<char*>(&tag), 7) != 7) return QString();
    return tag.text();
}
