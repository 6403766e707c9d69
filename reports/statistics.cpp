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

QString roundedText(double v, int decimals, const QLocale& locale)
{
    const double scale = std::pow(10.0, decimals);
    const double n = std::nearbyint(v * scale); // ties to even in the default rounding mode
    QString t = QString::number(n / scale, 'g', 15);
    t.replace(QLatin1Char('.'), locale.decimalPoint());
    return t;
}

QString rateText(int k, int n, const QLocale& locale)
{
    return roundedText(double(k) / double(n) * 100.0, 2, locale);
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
        t << QStringLiteral("Taux entretiens moy.: ") +
                 rateText(f.entretiens, f.candidatures, locale) + QLatin1Char('%')
          << QStringLiteral("Taux réponses moy.: ") + rateText(f.reponses, f.candidatures, locale) +
                 QLatin1Char('%');
    }
    if (f.delays == 0) {
        t << QStringLiteral("Temps rép. moyen: ND");
    } else {
        const double mean = f.delaySum / f.delays;
        t << QStringLiteral("Temps rép. moyen: ") + roundedText(mean, 1, locale) +
                 QStringLiteral(" jour") + (mean > 1 ? QStringLiteral("s") : QString());
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
    out << GetTxt(f.reponses < 2 ? 196 : 197) + QStringLiteral(": ") + QString::number(f.reponses) +
               QStringLiteral(" (Taux: ") +
               (f.reponses < 1 ? QStringLiteral("0") : rateText(f.reponses, t, locale)) +
               QStringLiteral("%)");
    out << GetTxt(f.entretiens < 2 ? 198 : 199) + QStringLiteral(": ") +
               QString::number(f.entretiens) + QStringLiteral(" (") + GetTxt(200) +
               QStringLiteral(": ") + rateText(f.entretiens, t, locale) + QStringLiteral("%)");
    if (f.delays == 0) {
        out << GetTxt(204);
    } else {
        const double a = f.delaySum / f.delays;
        out << GetTxt(201) + QStringLiteral(": ") + roundedText(a, 1, locale) + QLatin1Char(' ') +
                   GetTxt(a > 1 ? 203 : 202);
    }
    return out;
}
