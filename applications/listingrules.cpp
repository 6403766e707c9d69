#include "applications/listingrules.h"
#include "store/alongside.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include <QDate>

namespace
{

const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();

QString plural(int n)
{
    return n > 1 ? QStringLiteral("s") : QString();
}

} // namespace

qint64 dayNumber(int year, int month, int day)
{
    const QDate d(year, month, day);
    return d.isValid() ? d.toJulianDay() - kDayZero : -1;
}

qint64 todayDayNumber()
{
    return QDate::currentDate().toJulianDay() - kDayZero;
}

namespace
{

// Days since 1899-12-30 of a valid Gregorian date, in integers.
qint64 civilDays(int y, int m, int d)
{
    y -= m <= 2;
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return qint64(era) * 146097 + doe - 693899; // day 0 is 1899-12-30
}

bool leap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

} // namespace

DateValue readDate(const Date& d)
{
    if (d.length() != 8) return {};
    int v = 0;
    for (int i = 0; i < 8; ++i) {
        const char c = d.chars[i];
        if (c < '0' || c > '9') return {};
        v = v * 10 + (c - '0');
    }
    const int y = v / 10000, m = v / 100 % 100, day = v % 100;
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || day < 1) return {};
    if (day > lengths[m - 1] + (m == 2 && leap(y) ? 1 : 0)) return {};
    const qint64 days = civilDays(y, m, day);
    if (days < 0) return {};
    return {v, days};
}

int relanceDays(const QString& relance)
{
    bool ok = false;
    const int r = relance.trimmed().toInt(&ok);
    return ok && r > 0 ? r : 0;
}

namespace
{

qint64 distance(qint64 a, qint64 b)
{
    return a > b ? a - b : b - a;
}

int alerteDays(const TCandidatureRec& c)
{
    const int n = c.alerte.length();
    if (n == 0) return -1;
    int a = 0;
    for (int i = 0; i < n; ++i) {
        const char ch = c.alerte.chars[i];
        if (ch < '0' || ch > '9') return -1;
        a = a * 10 + (ch - '0');
    }
    return a;
}

} // namespace

namespace
{

// The alarm rule, given the appointment date already read.
bool alarmAt(const TCandidatureRec& c, const DateValue& rdv, qint64 today)
{
    if (c.terminee) return false;
    const int alerte = alerteDays(c);
    return rdv.valid() && alerte >= 0 && distance(today, rdv.days) <= alerte;
}

// What the listing needs of one application, read in one pass over its record.
struct Reading {
    DateValue date, last, rdv;
    bool bad = false;
};

Reading readApplication(const TCandidatureRec& c)
{
    Reading r;
    r.date = readDate(c.date);
    r.bad = !r.date.valid();
    r.last = r.date;
    for (const Date* d : {&c.date_cv, &c.date_lettre, &c.date_suite, &c.date_accuse, &c.date_rdv}) {
        if (d->isEmpty()) continue;
        const DateValue v = readDate(*d);
        if (!v.valid())
            r.bad = true;
        else if (v.number > r.last.number)
            r.last = v;
        if (d == &c.date_rdv) r.rdv = v;
    }
    if (!c.alerte.isEmpty() && alerteDays(c) < 0) r.bad = true;
    return r;
}

} // namespace

bool alarmDue(const TCandidatureRec& c, qint64 today)
{
    if (c.date_rdv.isEmpty()) return false;
    return alarmAt(c, readDate(c.date_rdv), today);
}

DateValue lastActivity(const TCandidatureRec& c)
{
    return readApplication(c).last;
}

TElementListing listingElement(const TCandidatureRec& c, const TSocieteRec& societe, int index,
                               qint32 date, qint32 societeRank)
{
    TElementListing e;
    e.statut = c.terminee ? 1 : 0;
    e.date = date;
    e.categorie = &societe.categorie;
    e.societe = &societe.nom;
    e.intitule = &c.intitule;
    e.categoriePrefix = textPrefix(societe.categorie);
    e.societePrefix = textPrefix(societe.nom);
    e.intitulePrefix = textPrefix(c.intitule);
    e.societeRank = societeRank;
    e.marqueur = c.marqueur ? 1 : 0;
    e.rdv = c.date_rdv.isEmpty() ? 0 : 1;
    e.index = index;
    return e;
}

namespace
{

// What a stretch of the applications table gives to the listing.
struct Stretch {
    TListingMaListe list;
    QList<int> badDates;
    int total = 0;
    int relances = 0;
};

struct ReadContext {
    const QList<TCandidatureRec>& candidatures;
    const QList<TSocieteRec>& societes;
    const SocieteIndex& index;
    const QList<qint32>& ranks;
    qint64 today;
    int relance;
    quint8* flags;  // by position in the table
    int* positions; // by position in the table
};

// Asks for the cache lines of the record the listing reads: the title, the
// dates and ids, the four document fields and the end of the record. The
// fields lie far apart in the 1,644 bytes, too far for the processor to
// guess them in time.
void prefetchRecord(const TCandidatureRec& c)
{
    const char* p = reinterpret_cast<const char*>(&c);
    for (size_t at : {offsetof(TCandidatureRec, version), offsetof(TCandidatureRec, date),
                      offsetof(TCandidatureRec, id_societe), offsetof(TCandidatureRec, lettre),
                      offsetof(TCandidatureRec, accuse), offsetof(TCandidatureRec, suite),
                      offsetof(TCandidatureRec, terminee)})
        __builtin_prefetch(p + at);
}

// How many records ahead of the one read the prefetch asks.
constexpr int PrefetchAhead = 6;

// Records per chunk of a table read on two threads.
constexpr int ChunkRecords = 8192;

void readStretch(const ReadContext& x, int from, int to, Stretch& out)
{
    for (int i = from; i < to; ++i) {
        if (i + PrefetchAhead < to) prefetchRecord(x.candidatures[i + PrefetchAhead]);
        const TCandidatureRec& c = x.candidatures[i];
        if (!isLive(c)) continue;
        ++out.total;
        const int s = x.index.find(c.id_societe);
        if (s < 0) continue;
        const TSocieteRec& societe = x.societes[s];
        x.positions[i] = s;
        const Reading d = readApplication(c);
        if (d.bad) out.badDates.append(i);

        const bool relancer =
            !c.terminee && d.last.valid() && distance(x.today, d.last.days) >= x.relance;
        if (relancer) ++out.relances;
        const bool alarme = alarmAt(c, d.rdv, x.today);
        x.flags[i] = quint8(
            (c.terminee ? 0 : ListingBase::EnCours) | (c.cv.isEmpty() ? 0 : ListingBase::Cv) |
            (c.lettre.isEmpty() ? 0 : ListingBase::Lettre) |
            (c.accuse.isEmpty() ? 0 : ListingBase::Accuse) |
            (c.suite.isEmpty() ? 0 : ListingBase::Suite) | (alarme ? ListingBase::Alarme : 0) |
            (relancer ? ListingBase::Relancer : 0));
        out.list.add(listingElement(c, societe, i, qMax(d.date.number, 0), x.ranks[s]));
    }
}

} // namespace

CompanyKeys::CompanyKeys(const QList<TSocieteRec>& societes)
    : index(societes), ranks(societeRanks(societes))
{
}

namespace
{

ListingBase readWith(const QList<TCandidatureRec>& candidatures, const QList<TSocieteRec>& societes,
                     const SocieteIndex& index, const QList<qint32>& ranks, qint64 today,
                     const QString& relanceSetting)
{
    ListingBase b;
    const int relance = relanceDays(relanceSetting);
    b.relanceOn = relance != 0;
    const int n = int(candidatures.size());
    b.flags = QList<quint8>(n, 0);
    b.positions = QList<int>(n, 0);
    const ReadContext x{candidatures, societes, index,          ranks,
                        today,        relance,  b.flags.data(), b.positions.data()};

    // The records are read from memory at the pace of the memory. A large
    // table is read in chunks that two threads take in turn, each chunk
    // writing only its own positions of the flags: when one thread runs
    // slower, the other reads more, and neither waits long for the other.
    const int chunks = n >= ListingTwoThreadsFrom ? (n + ChunkRecords - 1) / ChunkRecords : 1;
    std::vector<Stretch> parts(static_cast<size_t>(chunks));
    // The first chunk's list becomes the listing's: it has room for all.
    parts[0].list.reserve(n);
    std::atomic<int> next{0};
    const int step = chunks == 1 ? n : ChunkRecords;
    const auto read = [&] {
        for (int k; (k = next.fetch_add(1)) < chunks;) {
            if (k > 0) parts[size_t(k)].list.reserve(step);
            readStretch(x, k * step, std::min(n, (k + 1) * step), parts[size_t(k)]);
        }
    };
    if (chunks > 1)
        alongside(read, read);
    else
        read();

    b.list = std::move(parts[0].list);
    b.badDates = std::move(parts[0].badDates);
    b.total = parts[0].total;
    b.relances = parts[0].relances;
    for (size_t k = 1; k < parts.size(); ++k) {
        b.list.append(parts[k].list);
        b.badDates.append(parts[k].badDates);
        b.total += parts[k].total;
        b.relances += parts[k].relances;
    }
    return b;
}

} // namespace

ListingBase readListing(const QList<TCandidatureRec>& candidatures,
                        const QList<TSocieteRec>& societes, const CompanyKeys& companies,
                        qint64 today, const QString& relance)
{
    return readWith(candidatures, societes, companies.index, companies.ranks, today, relance);
}

ListingBase readListing(const QList<TCandidatureRec>& candidatures,
                        const QList<TSocieteRec>& societes, const SocieteIndex& index, qint64 today,
                        const QString& relance)
{
    return readWith(candidatures, societes, index, societeRanks(societes), today, relance);
}

void sortListing(ListingBase& base, const OrdreCles& keys)
{
    base.list.sort(keys);
    base.keys = keys;
    base.sorted = true;
}

ListingResult listRows(const ListingBase& base, const ListingFilters& filters, bool descending)
{
    ListingResult r;
    r.total = base.total;
    r.relances = base.relances;
    r.relanceOn = base.relanceOn;
    r.badDates = base.badDates;
    // The one flag a row must carry to be listed; none without filter.
    const quint8 wanted = filters.relancesSeules  ? ListingBase::Relancer
                          : filters.alarmesSeules ? ListingBase::Alarme
                                                  : 0;
    const bool hideFinished = !wanted && filters.masquerTerminees;
    const int n = base.list.size();
    r.rows.reserve(n);
    for (int k = 0; k < n; ++k) {
        const TElementListing& e = base.list.at(descending ? n - 1 - k : k);
        const quint8 f = base.flags[e.index];
        if (wanted && !(f & wanted)) continue;
        if (hideFinished && !(f & ListingBase::EnCours)) continue;
        TLigneListing l;
        l.en_cours = (f & ListingBase::EnCours) ? 1 : 0;
        l.cv = (f & ListingBase::Cv) ? 1 : 0;
        l.lettre = (f & ListingBase::Lettre) ? 1 : 0;
        l.accuse = (f & ListingBase::Accuse) ? 1 : 0;
        l.suite = (f & ListingBase::Suite) ? 1 : 0;
        l.rdv = e.rdv;
        l.marqueur = e.marqueur;
        l.alarme = (f & ListingBase::Alarme) ? 1 : 0;
        l.categorie = e.categorie->isEmpty() ? 0 : e.categorie->chars[0];
        l.index = e.index;
        l.societe = base.positions[e.index];
        r.enCours += l.en_cours;
        r.alarmes += l.alarme;
        r.rows.append(l);
    }
    return r;
}

ListingResult buildListing(const QList<TCandidatureRec>& candidatures,
                           const QList<TSocieteRec>& societes, const SocieteIndex& index,
                           const ListingInput& in)
{
    ListingBase base = readListing(candidatures, societes, index, in.today, in.relance);
    sortListing(base, in.keys);
    return listRows(base, in.filters, in.descending);
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
            t += QStringLiteral(" - %1 candidature%2 à relancer")
                     .arg(r.relances)
                     .arg(plural(r.relances));
    }
    return t;
}

QString alarmMessage(int k)
{
    if (k <= 0) return QString();
    return QStringLiteral("Vous avez %1 alarme%2 déclenchée%2 !").arg(k).arg(plural(k));
}
