#include "reports/statistics.h"

#include "store/helpers.h"
#include "store/texts.h"

#include <cmath>

namespace counting
{

bool replied(const TCandidatureRec& c)
{
    return !c.suite.isEmpty();
}

bool interviewed(const TCandidatureRec& c)
{
    return !c.date_rdv.isEmpty();
}

std::optional<qint32> responseDelay(const TCandidatureRec& c)
{
    const bool rdv = !c.date_rdv.isEmpty(), suite = !c.date_suite.isEmpty();
    if (!rdv && !suite) return std::nullopt;
    const Date* reaction = rdv ? &c.date_rdv : &c.date_suite;
    if (rdv && suite) {
        const qint64 a = dateDays(c.date_rdv), b = dateDays(c.date_suite);
        reaction = a < b ? &c.date_rdv : &c.date_suite;
    }
    const qint64 d = dateDays(*reaction) - dateDays(c.date);
    return qint32(d < 0 ? -d : d);
}

} // namespace counting

KeyFigures countFigures(const QList<TCandidatureRec>& candidatures, int societes)
{
    KeyFigures f;
    f.societes = societes;
    for (const TCandidatureRec& c : candidatures) {
        if (!isLive(c)) continue;
        ++f.candidatures;
        if (counting::replied(c)) ++f.reponses;
        if (counting::interviewed(c)) ++f.entretiens;
        if (const auto d = counting::responseDelay(c)) {
            ++f.delays;
            f.delaySum += *d;
        }
    }
    return f;
}

QString ratioText(qint64 num, qint64 den, int decimals, const QLocale& locale)
{
    if (den <= 0) return QStringLiteral("0");
    qint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // The value in units of the last decimal, its exact half to the even neighbour.
    qint64 q = num * scale / den;
    const qint64 r = num * scale % den;
    if (2 * r > den || (2 * r == den && q % 2 != 0)) ++q;
    QString t = QString::number(q / scale);
    QString fraction = QString::number(q % scale).rightJustified(decimals, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty()) t += locale.decimalPoint() + fraction;
    return t;
}

QString rateText(int k, int n, const QLocale& locale)
{
    return ratioText(qint64(k) * 100, n, 2, locale);
}

FigureNumbers figureNumbers(const KeyFigures& f, const QLocale& locale)
{
    FigureNumbers n;
    n.replyRate =
        f.reponses < 1 ? QStringLiteral("0") : rateText(f.reponses, f.candidatures, locale);
    n.interviewRate = rateText(f.entretiens, f.candidatures, locale);
    if (f.delays > 0) {
        n.meanDelay = ratioText(f.delaySum, f.delays, 1, locale);
        n.severalDays = f.delaySum > f.delays;
    }
    return n;
}

namespace
{
QString counted(int n, const char* word)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(word) +
           (n >= 2 ? QStringLiteral("s") : QString());
}
} // namespace

QStringList keyFigureTexts(const KeyFigures& f, const QLocale& locale)
{
    QStringList t;
    t << counted(f.candidatures, "candidature") << counted(f.societes, "société")
      << counted(f.entretiens, "entretien") << counted(f.reponses, "réponse");
    if (f.candidatures == 0) {
        t << QStringLiteral("Taux entretiens moy.: ND") << QStringLiteral("Taux réponses moy.: ND");
    } else {
        const FigureNumbers n = figureNumbers(f, locale);
        t << QStringLiteral("Taux entretiens moy.: ") + n.interviewRate + QLatin1Char('%')
          << QStringLiteral("Taux réponses moy.: ") + rateText(f.reponses, f.candidatures, locale) +
                 QLatin1Char('%');
    }
    const FigureNumbers n = figureNumbers(f, locale);
    if (n.meanDelay.isEmpty()) {
        t << QStringLiteral("Temps rép. moyen: ND");
    } else {
        t << QStringLiteral("Temps rép. moyen: ") + n.meanDelay + QStringLiteral(" jour") +
                 (n.severalDays ? QStringLiteral("s") : QString());
    }
    return t;
}

KeyFigures companyFigures(const QList<TCandidatureRec>& candidatures, qint32 societeId)
{
    KeyFigures f;
    for (const TCandidatureRec& c : candidatures) {
        if (!isLive(c) || qint32(c.id_societe) != societeId) continue;
        ++f.candidatures;
        if (counting::replied(c)) ++f.reponses;
        if (counting::interviewed(c)) ++f.entretiens;
        try {
            if (const auto d = counting::responseDelay(c)) {
                ++f.delays;
                f.delaySum += *d;
            }
        } catch (const DateError&) {
        }
    }
    return f;
}

QStringList companyFigureTexts(const KeyFigures& f, const QLocale& locale)
{
    const int t = f.candidatures;
    QStringList out{GetTxt(t < 2 ? 108 : 119) + QStringLiteral(": ") + QString::number(t)};
    if (t < 1) return out << QString() << QString() << QString();
    const FigureNumbers n = figureNumbers(f, locale);
    out << GetTxt(f.reponses < 2 ? 196 : 197) + QStringLiteral(": ") + QString::number(f.reponses) +
               QStringLiteral(" (Taux: ") + n.replyRate + QStringLiteral("%)");
    out << GetTxt(f.entretiens < 2 ? 198 : 199) + QStringLiteral(": ") +
               QString::number(f.entretiens) + QStringLiteral(" (") + GetTxt(200) +
               QStringLiteral(": ") + n.interviewRate + QStringLiteral("%)");
    if (n.meanDelay.isEmpty()) {
        out << GetTxt(204);
    } else {
        out << GetTxt(201) + QStringLiteral(": ") + n.meanDelay + QLatin1Char(' ') +
                   GetTxt(n.severalDays ? 203 : 202);
    }
    return out;
}
