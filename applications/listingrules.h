#pragma once
// The rules of the application listing: the date of last activity, the
// follow-up rule, the alarm rule, which applications are listed, their
// order, the display state of each row and the summary of the status bar.

#include "applications/sort.h"
#include "store/records.h"
#include "store/societeindex.h"

#include <QList>
#include <QString>

// Display state of one row of the listing; flags are 0 or 1.
struct TLigneListing {
    qint32 en_cours = 0;
    qint32 cv = 0;
    qint32 lettre = 0;
    qint32 accuse = 0;
    qint32 suite = 0;
    qint32 rdv = 0;
    qint32 marqueur = 0;
    qint32 alarme = 0;
    char categorie = 0; // 'S', 'C', 'I', or 0 when the company is not found
    int index = 0;      // position of the application in Candidatures
    int societe = 0;    // position of its company in Societes
};

struct ListingFilters {
    bool masquerTerminees = false;
    bool alarmesSeules = false;
    bool relancesSeules = false;
};

struct ListingInput {
    qint64 today = 0; // days since 1899-12-30
    QString relance;  // the "Relance" setting; empty counts as "0"
    ListingFilters filters;
    OrdreCles keys{};
    bool descending = false;
};

struct ListingResult {
    QList<TLigneListing> rows; // in display order
    int total = 0;             // live applications of the table
    int enCours = 0;           // n: listed rows in progress
    int alarmes = 0;           // k: listed rows whose alarm is due
    int relances = 0;          // j: applications due for a follow-up, whatever the filters
    bool relanceOn = false;    // "Relance" is not "0"
    // Positions of the applications with a date that is not a valid date.
    // They stay listed; the damaged field is left out of the follow-up and
    // alarm rules, so that one damaged record never hides the others.
    QList<int> badDates;
};

// A stored date as a number and as a day count; both -1 when it is no date.
struct DateValue {
    qint32 number = -1;
    qint64 days = -1;
    bool valid() const { return number >= 0; }
};
DateValue readDate(const Date& d);

// Days since 1899-12-30 of a calendar date; today's for the listing.
qint64 dayNumber(int year, int month, int day);
qint64 todayDayNumber();

// The follow-up delay in days: the integer value of "Relance", 0 (follow-ups
// off) when it is empty, zero however written, or not a number.
int relanceDays(const QString& relance);

// The alarm rule for one application.
bool alarmDue(const TCandidatureRec& c, qint64 today);

// The date of last activity: the latest of the application's dates.
DateValue lastActivity(const TCandidatureRec& c);

// The sort element of a listed application and its company; `date` is its
// application date as a number (0 when it is no date), `societeRank` the
// company's from societeRanks() (-1: unknown).
TElementListing listingElement(const TCandidatureRec& c, const TSocieteRec& societe, int index,
                               qint32 date, qint32 societeRank = -1);

// The listing before its filters: every live application that has its
// company, read once with the flags of its row, sorted when asked. The rows
// of any filter and either direction come from it without reading the
// records again. It points into the tables: any change to them ends it.
struct ListingBase {
    enum Flag : quint8 {
        EnCours = 1,
        Cv = 2,
        Lettre = 4,
        Accuse = 8,
        Suite = 16,
        Alarme = 32,
        Relancer = 64
    };
    TListingMaListe list;   // ascending under `keys` once sorted
    QList<quint8> flags;    // by position in the applications table
    QList<int> positions;   // company position, by position in the table
    int total = 0;          // live applications of the table
    int relances = 0;       // due for a follow-up
    bool relanceOn = false; // "Relance" is not "0"
    QList<int> badDates;    // as in ListingResult
    OrdreCles keys{};
    bool sorted = false;
};

// What the listing needs of the companies table: where each id is and the
// place of each name (societeRanks()). It costs a sort of the names, and
// holds while the companies table is unchanged: a page keeps it from one
// reading of the applications to the next.
struct CompanyKeys {
    CompanyKeys() = default;
    explicit CompanyKeys(const QList<TSocieteRec>& societes);
    SocieteIndex index;
    QList<qint32> ranks;
};

ListingBase readListing(const QList<TCandidatureRec>& candidatures,
                        const QList<TSocieteRec>& societes, const CompanyKeys& companies,
                        qint64 today, const QString& relance);
// The same, with the places of the names worked out from the table.
ListingBase readListing(const QList<TCandidatureRec>& candidatures,
                        const QList<TSocieteRec>& societes, const SocieteIndex& index, qint64 today,
                        const QString& relance);
void sortListing(ListingBase& base, const OrdreCles& keys);
// The rows under these filters, read forwards or backwards.
ListingResult listRows(const ListingBase& base, const ListingFilters& filters, bool descending);

// Builds the rows of the listing: the three steps above.
ListingResult buildListing(const QList<TCandidatureRec>& candidatures,
                           const QList<TSocieteRec>& societes, const SocieteIndex& index,
                           const ListingInput& input);

// "3 candidatures en cours - 1 candidature terminée - 2 alarmes - 1 candidature à relancer"
QString statusText(const ListingResult& r);

// "Vous avez 2 alarmes déclenchées !"; empty for no alarm.
QString alarmMessage(int alarms);
