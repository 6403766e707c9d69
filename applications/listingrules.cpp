#include "applications/listingrules.h"

#include <QDate>

namespace {

const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();

QString plural(int n) { return n > 1 ? QStringLiteral("s") : QString(); }

} // namespace

qint64 dayNumber(int year, int month, int day)
{
    const QDate d(year, month, day);
    return d.isValid() ? d.toJulianDay() - kDayZero : -1;
}

qint64 todayDayNumber() { return QDate::currentDate().toJulianDay() - kDayZero; }

DateValue readDate(const Date& d)
{
    if (d.length() != 8) return {};
    int v = 0;
    for (int i = 0; i < 8; ++i) {
        const char c = d.chars[i];
        if (c < '0' || c > '9') return {};
        v = v * 10 + (c - '0');
    }
    const qint64 days = dayNumber(v / 10000, v / 100 % 100, v % 100);
    if (days < 0 || v < 10000) return {};
    return {v, days};
}

int relanceDays(const QString& relance)
{
    bool ok = false;
    const int r = relance.trimmed().toInt(&ok);
    return ok && r > 0 ? r : 0;
}

namespace {

qint64 distance(qint64 a, qint64 b) { return a > b ? a - b : b - a; }

int alerteDays(const TCandidatureRec& c)
{
    bool ok = false;
    const int a = QByteArray(c.alerte.chars, c.alerte.length()).toInt(&ok);
    return ok ? a : -1;
}

} // namespace

bool alarmDue(const TCandidatureRec& c, qint64 today)
{
    if (c.alerte.isEmpty() || c.date_rdv.isEmpty() || c.terminee) return false;
    const DateValue rdv = readDate(c.date_rdv);
    const int alerte = alerteDays(c);
    return rdv.valid() && alerte >= 0 && distance(today, rdv.days) <= alerte;
}

DateValue lastActivity(const TCandidatureRec& c)
{
    DateValue best = readDate(c.date);
    for (const Date* d : {&c.date_cv, &c.date_lettre, &c.date_suite, &c.date_accuse, &c.date_rdv}) {
        if (d->isEmpty()) continue;
        const DateValue v = readDate(*d);
        if (v.valid() && v.number > best.number) best = v;
    }
    return best;
}

namespace {

// A date field that holds something that is not a date.
bool hasBadDate(const TCandidatureRec& c)
{
    if (!readDate(c.date).valid()) return true;
    for (const Date* d : {&c.date_cv, &c.date_lettre, &c.date_suite, &c.date_accuse, &c.date_rdv})
        if (!d->isEmpty() && !readDate(*d).valid()) return true;
    return !c.alerte.isEmpty() && alerteDays(c) < 0;
}

} // namespace

ListingResult buildListing(const QList<TCandidatureRec>& candidatures,
                           const QList<TSocieteRec>& societes, const SocieteIndex& index,
                           const ListingInput& in)
{
    ListingResult r;
    const int relance = relanceDays(in.relance);
    r.relanceOn = relance != 0;

    TListingMaListe list;
    list.reserve(int(candidatures.size()));
    QList<qint32> alarms; // alarm flag by position, filled for listed ones only
    alarms.resize(candidatures.size());
    QList<int> positions; // company position by application position, for listed ones
    positions.resize(candidatures.size());

    for (int i = 0; i < candidatures.size(); ++i) {
        const TCandidatureRec& c = candidatures[i];
        if (!isLive(c)) continue;
        ++r.total;
        const int s = index.find(c.id_societe);
        if (s < 0) continue;
        const TSocieteRec& societe = societes[s];
        positions[i] = s;
        if (hasBadDate(c)) r.badDates.append(i);

        const DateValue last = lastActivity(c);
        const bool relancer = !c.terminee && last.valid() && distance(in.today, last.days) >= relance;
        if (relancer) ++r.relances;
        const bool alarme = alarmDue(c, in.today);

        bool listed = true;
        if (in.filters.relancesSeules) listed = relancer;
        else if (in.filters.alarmesSeules) listed = alarme;
        else if (in.filters.masquerTerminees) listed = !c.terminee;
        if (!listed) continue;

        alarms[i] = alarme ? 1 : 0;
        TElementListing e;
        e.statut = c.terminee ? 1 : 0;
        e.date = qMax(readDate(c.date).number, 0);
        e.categorie = &societe.categorie;
        e.societe = &societe.nom;
        e.intitule = &c.intitule;
        e.marqueur = c.marqueur ? 1 : 0;
        e.rdv = c.date_rdv.isEmpty() ? 0 : 1;
        e.index = i;
        list.add(e);
    }

    list.sort(in.keys);
    const int n = list.size();
    r.rows.resize(n);
    for (int k = 0; k < n; ++k) {
        const TElementListing& e = list.at(in.descending ? n - 1 - k : k);
        const TCandidatureRec& c = candidatures[e.index];
        TLigneListing& l = r.rows[k];
        l.en_cours = c.terminee ? 0 : 1;
        l.cv = c.cv.isEmpty() ? 0 : 1;
        l.lettre = c.lettre.isEmpty() ? 0 : 1;
        l.accuse = c.accuse.isEmpty() ? 0 : 1;
        l.suite = c.suite.isEmpty() ? 0 : 1;
        l.rdv = e.rdv;
        l.marqueur = e.marqueur;
        l.alarme = alarms[e.index];
        l.categorie = e.categorie->isEmpty() ? 0 : e.categorie->chars[0];
        l.index = e.index;
        l.societe = positions[e.index];
        r.enCours += l.en_cours;
        r.alarmes += l.alarme;
    }
    return r;
}

QString statusText(const ListingResult& r)
{
    const int n = r.enCours;
    const int m = r.total - n;
    QString t = QStringLiteral("%1 candidature%2 en cours - %3 candidature%4 terminée%4")
                    .arg(n)
                    .arg(plural(n))
                    .arg(m)
                    .arg(plural(m));
    if (r.alarmes > 0) t += QStringLiteral(" - %1 alarme%2").arg(r.alarmes).arg(plural(r.alarmes));
    if (r.relanceOn) {
        if (r.relances == 0)
            t += QStringLiteral(" - Pas de candidature à relancer");
        else
            t += QStringLiteral(" - %1 candidature%2 à relancer").arg(r.relances).arg(plural(r.relances));
    }
    return t;
}

QString alarmMessage(int k)
{
    if (k <= 0) return QString();
    return QStringLiteral("Vous avez %1 alarme%2 déclenchée%2 !").arg(k).arg(plural(k));
}
