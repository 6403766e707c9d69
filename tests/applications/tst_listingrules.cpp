// The rules of the application listing: date of last activity, follow-ups,
// alarms, which applications are listed and in what order, the row flags,
// the status-bar summary and the alarm message. "Today" is 15 March 2026.
#include "applications/listingrules.h"
#include "common/testfiles.h"

#include <QDate>
#include <QtTest>

namespace
{

const QDate kToday(2026, 3, 15);

qint64 today()
{
    return dayNumber(2026, 3, 15);
}

// The date `offset` days from today, as the records hold it.
QString day(int offset)
{
    return kToday.addDays(offset).toString(QStringLiteral("yyyyMMdd"));
}

Date& dateField(TCandidatureRec& c, const QString& name)
{
    if (name == QLatin1String("date_cv")) return c.date_cv;
    if (name == QLatin1String("date_lettre")) return c.date_lettre;
    if (name == QLatin1String("date_suite")) return c.date_suite;
    if (name == QLatin1String("date_accuse")) return c.date_accuse;
    if (name == QLatin1String("date_rdv")) return c.date_rdv;
    Q_ASSERT(name == QLatin1String("date"));
    return c.date;
}

TCandidatureRec application(qint32 id, qint32 societe, const QString& intitule, int dateOffset)
{
    return makeCandidature(id, societe, intitule, day(dateOffset));
}

void setAppointment(TCandidatureRec& c, int offset, const QString& alerte)
{
    c.date_rdv = day(offset);
    c.alerte = alerte;
}

QList<TSocieteRec> threeCompanies()
{
    return {makeSociete(1, "Alpha", "S"), makeSociete(2, "beta", "C"),
            makeSociete(3, "Gamma", "I")};
}

ListingResult build(const QList<TCandidatureRec>& apps, const QList<TSocieteRec>& societes,
                    const QString& relance = QStringLiteral("0"), ListingFilters filters = {},
                    const QString& tri = QStringLiteral("d"), bool descending = false)
{
    ListingInput in;
    in.today = today();
    in.relance = relance;
    in.filters = filters;
    PrepareTri(tri, in.keys);
    in.descending = descending;
    return buildListing(apps, societes, SocieteIndex(societes), in);
}

QList<int> positions(const ListingResult& r)
{
    QList<int> p;
    for (const TLigneListing& l : r.rows)
        p << l.index;
    return p;
}

ListingFilters filters(bool masquer, bool alarmes, bool relances)
{
    ListingFilters f;
    f.masquerTerminees = masquer;
    f.alarmesSeules = alarmes;
    f.relancesSeules = relances;
    return f;
}

} // namespace

class TestListingRules : public QObject
{
    Q_OBJECT
private slots:
    // Stored dates are read without the calendar classes, for speed: every
    // day of two centuries must give the calendar's own day count, and
    // impossible dates none.
    void storedDatesReadAsTheCalendarDoes()
    {
        const QDate zero(1899, 12, 30);
        for (QDate d(1899, 12, 30); d.year() <= 2100; d = d.addDays(1)) {
            Date stored{};
            stored = d.toString(QStringLiteral("yyyyMMdd"));
            const DateValue v = readDate(stored);
            QVERIFY2(v.valid(), qPrintable(stored.text()));
            QCOMPARE(v.days, zero.daysTo(d));
            QCOMPARE(v.number, d.year() * 10000 + d.month() * 100 + d.day());
        }
        for (const char* bad : {"20230229", "21000229", "20261301", "20260100", "20260431",
                                "00000101", "2026-1-1", "2026011", ""}) {
            Date stored{};
            stored = QString::fromLatin1(bad);
            QVERIFY2(!readDate(stored).valid(), bad);
        }
        Date leapDay{};
        leapDay = QStringLiteral("20000229");
        QVERIFY(readDate(leapDay).valid());
    }

    void dayNumbersAndStoredDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("today") << "20260315" << true;
        QTest::newRow("29 February of a leap year") << "20240229" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letters") << "2026ab01" << false;
        QTest::newRow("month 13") << "20261301" << false;
        QTest::newRow("30 February") << "20260230" << false;
        QTest::newRow("29 February of a common year") << "20250229" << false;
        QTest::newRow("seven digits") << "2026031" << false;
    }
    void dayNumbersAndStoredDates()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(dayNumber(1899, 12, 30), qint64(0));
        QCOMPARE(dayNumber(2026, 1, 1), qint64(46023));
        QCOMPARE(dayNumber(2026, 3, 15) - dayNumber(2026, 2, 15), qint64(28));

        Date d{};
        d = text;
        const DateValue v = readDate(d);
        QCOMPARE(v.valid(), valid);
        if (valid) {
            QCOMPARE(v.number, text.toInt());
            const QDate q = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
            QCOMPARE(v.days, dayNumber(q.year(), q.month(), q.day()));
        }
    }

    // The latest of the application date and the five other dates.
    void dateOfLastActivity_data()
    {
        QTest::addColumn<QStringList>("fields"); // "field=offset from today"
        QTest::addColumn<int>("expected");
        QTest::newRow("application date only") << QStringList{} << -30;
        QTest::newRow("CV sent later") << QStringList{"date_cv=-20"} << -20;
        QTest::newRow("letter sent later") << QStringList{"date_lettre=-12"} << -12;
        QTest::newRow("reply later") << QStringList{"date_suite=-5"} << -5;
        QTest::newRow("acknowledgement later") << QStringList{"date_accuse=-3"} << -3;
        QTest::newRow("appointment ahead") << QStringList{"date_rdv=20"} << 20;
        QTest::newRow("earlier dates do not count")
            << QStringList{"date_cv=-40", "date_accuse=-31"} << -30;
        QTest::newRow("latest of several")
            << QStringList{"date_cv=-25", "date_suite=-2", "date_lettre=-24", "date_rdv=-9"} << -2;
    }
    void dateOfLastActivity()
    {
        QFETCH(QStringList, fields);
        QFETCH(int, expected);
        TCandidatureRec c = application(1, 1, "Comptable", -30);
        for (const QString& f : fields) {
            const QStringList kv = f.split(QLatin1Char('='));
            dateField(c, kv[0]) = day(kv[1].toInt());
        }
        const DateValue last = lastActivity(c);
        QCOMPARE(last.number, day(expected).toInt());
        QCOMPARE(last.days, today() + expected);
    }

    void followUpDelaySetting_data()
    {
        QTest::addColumn<QString>("relance");
        QTest::addColumn<int>("days");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("one digit") << "7" << 7;
        QTest::newRow("two digits") << "15" << 15;
        QTest::newRow("not a number") << "abc" << 0;
    }
    void followUpDelaySetting()
    {
        QFETCH(QString, relance);
        QFETCH(int, days);
        QCOMPARE(relanceDays(relance), days);
    }

    void alarmRule_data()
    {
        QTest::addColumn<int>("rdv"); // offset from today
        QTest::addColumn<QString>("alerte");
        QTest::addColumn<bool>("finished");
        QTest::addColumn<bool>("due");
        QTest::newRow("3 days ago, alert 3") << -3 << "3" << false << true;
        QTest::newRow("4 days ago, alert 3") << -4 << "3" << false << false;
        QTest::newRow("2 days ago, alert 3") << -2 << "3" << false << true;
        QTest::newRow("in 3 days, alert 3") << 3 << "3" << false << true;
        QTest::newRow("in 4 days, alert 3") << 4 << "3" << false << false;
        QTest::newRow("today, alert 1") << 0 << "1" << false << true;
        QTest::newRow("in 15 days, alert 15") << 15 << "15" << false << true;
        QTest::newRow("in 16 days, alert 15") << 16 << "15" << false << false;
        QTest::newRow("finished, tomorrow, alert 5") << 1 << "5" << true << false;
        QTest::newRow("no alert, today") << 0 << "" << false << false;
    }
    void alarmRule()
    {
        QFETCH(int, rdv);
        QFETCH(QString, alerte);
        QFETCH(bool, finished);
        QFETCH(bool, due);
        TCandidatureRec c = application(1, 1, "Comptable", -30);
        setAppointment(c, rdv, alerte);
        c.terminee = finished ? 1 : 0;
        QCOMPARE(alarmDue(c, today()), due);

        // The row says the same, with the alarm filter listing only due ones.
        const QList<TSocieteRec> s = threeCompanies();
        const ListingResult all = build({c}, s);
        QCOMPARE(all.rows.size(), 1);
        QCOMPARE(all.rows[0].alarme, due ? 1 : 0);
        QCOMPARE(all.alarmes, due ? 1 : 0);
        QCOMPARE(build({c}, s, "0", filters(false, true, false)).rows.size(), due ? 1 : 0);
    }

    void noAppointmentNoAlarm()
    {
        TCandidatureRec c = application(1, 1, "Comptable", 0);
        c.alerte = QStringLiteral("5");
        QVERIFY(!alarmDue(c, today()));
    }

    void followUpRule_data()
    {
        QTest::addColumn<QString>("relance");
        QTest::addColumn<int>("date");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("finished");
        QTest::addColumn<bool>("due");
        QTest::newRow("exactly the delay") << "15" << -15 << QStringList{} << false << true;
        QTest::newRow("one day short") << "15" << -14 << QStringList{} << false << false;
        QTest::newRow("long ago") << "15" << -90 << QStringList{} << false << true;
        QTest::newRow("finished") << "15" << -90 << QStringList{} << true << false;
        QTest::newRow("recent acknowledgement")
            << "15" << -40 << QStringList{"date_accuse=-3"} << false << false;
        QTest::newRow("old letter, old reply")
            << "15" << -40 << QStringList{"date_lettre=-35", "date_suite=-16"} << false << true;
        QTest::newRow("appointment 20 days ahead")
            << "15" << -20 << QStringList{"date_rdv=20"} << false << true;
        QTest::newRow("appointment 5 days ahead")
            << "15" << -20 << QStringList{"date_rdv=5"} << false << false;
        QTest::newRow("zero: every application in progress")
            << "0" << 0 << QStringList{} << false << true;
    }
    void followUpRule()
    {
        QFETCH(QString, relance);
        QFETCH(int, date);
        QFETCH(QStringList, fields);
        QFETCH(bool, finished);
        QFETCH(bool, due);
        TCandidatureRec c = application(1, 1, "Comptable", date);
        for (const QString& f : fields) {
            const QStringList kv = f.split(QLatin1Char('='));
            dateField(c, kv[0]) = day(kv[1].toInt());
        }
        c.terminee = finished ? 1 : 0;
        const QList<TSocieteRec> s = threeCompanies();
        QCOMPARE(build({c}, s, relance).relances, due ? 1 : 0);
        QCOMPARE(build({c}, s, relance, filters(false, false, true)).rows.size(), due ? 1 : 0);
    }

    void statusBarSummary_data()
    {
        QTest::addColumn<int>("inProgress"); // of which `alarms` with an alarm, `followUps` old
        QTest::addColumn<int>("finished");
        QTest::addColumn<int>("alarms");
        QTest::addColumn<int>("followUps");
        QTest::addColumn<QString>("relance");
        QTest::addColumn<QString>("text");
        QTest::newRow("3 and 1") << 3 << 1 << 0 << 0 << "0"
                                 << "3 candidatures en cours - 1 candidature terminée";
        QTest::newRow("1 and 0") << 1 << 0 << 0 << 0 << "0"
                                 << "1 candidature en cours - 0 candidature terminée";
        QTest::newRow("0 and 2") << 0 << 2 << 0 << 0 << "0"
                                 << "0 candidature en cours - 2 candidatures terminées";
        QTest::newRow("one alarm") << 2 << 0 << 1 << 0 << "0"
                                   << "2 candidatures en cours - 0 candidature terminée - 1 alarme";
        QTest::newRow("two alarms")
            << 3 << 0 << 2 << 0 << "0"
            << "3 candidatures en cours - 0 candidature terminée - 2 alarmes";
        QTest::newRow("one follow-up")
            << 2 << 1 << 0 << 1 << "10"
            << "2 candidatures en cours - 1 candidature terminée - 1 candidature à relancer";
        QTest::newRow("two follow-ups")
            << 3 << 0 << 0 << 2 << "10"
            << "3 candidatures en cours - 0 candidature terminée - 2 candidatures à relancer";
        QTest::newRow("no follow-up")
            << 1 << 1 << 0 << 0 << "10"
            << "1 candidature en cours - 1 candidature terminée - Pas de candidature à relancer";
        QTest::newRow("alarm and follow-up") << 2 << 0 << 1 << 1 << "10"
                                             << "2 candidatures en cours - 0 candidature terminée "
                                                "- 1 alarme - 1 candidature à relancer";
        QTest::newRow("follow-ups off: 0") << 2 << 0 << 0 << 2 << "0"
                                           << "2 candidatures en cours - 0 candidature terminée";
        QTest::newRow("follow-ups off: empty")
            << 2 << 0 << 0 << 2 << ""
            << "2 candidatures en cours - 0 candidature terminée";
        QTest::newRow("not a number: off") << 2 << 0 << 0 << 2 << "x"
                                           << "2 candidatures en cours - 0 candidature terminée";
        // A delay of zero days, however it is written, turns the follow-ups off.
        QTest::newRow("00: off") << 1 << 1 << 0 << 0 << "00"
                                 << "1 candidature en cours - 1 candidature terminée";
    }
    void statusBarSummary()
    {
        QFETCH(int, inProgress);
        QFETCH(int, finished);
        QFETCH(int, alarms);
        QFETCH(int, followUps);
        QFETCH(QString, relance);
        QFETCH(QString, text);
        QList<TCandidatureRec> apps;
        for (int i = 0; i < inProgress; ++i) {
            // Recent ones; an appointment tomorrow keeps an alarmed one recent too.
            TCandidatureRec c = application(i + 1, 1 + i % 3, QStringLiteral("Poste %1").arg(i),
                                            i < followUps ? -30 : -1);
            if (i >= followUps && i < followUps + alarms) setAppointment(c, 1, "3");
            apps << c;
        }
        for (int i = 0; i < finished; ++i) {
            TCandidatureRec c = application(100 + i, 2, QStringLiteral("Ancien %1").arg(i), -60);
            c.terminee = 1;
            apps << c;
        }
        const ListingResult r = build(apps, threeCompanies(), relance);
        QCOMPARE(statusText(r), text);
        QCOMPARE(r.relanceOn, text.contains(QStringLiteral("relancer")));
    }

    void alarmMessages()
    {
        QCOMPARE(alarmMessage(1), QStringLiteral("Vous avez 1 alarme déclenchée !"));
        QCOMPARE(alarmMessage(2), QStringLiteral("Vous avez 2 alarmes déclenchées !"));
        QCOMPARE(alarmMessage(12), QStringLiteral("Vous avez 12 alarmes déclenchées !"));
        QVERIFY(alarmMessage(0).isEmpty());
    }

    // Follow-ups only, then alarms only, then hiding the finished ones; the
    // follow-up count covers every application, n and k the listed rows.
    void filtersAndWhatTheyCount_data()
    {
        QTest::addColumn<bool>("masquer");
        QTest::addColumn<bool>("alarmes");
        QTest::addColumn<bool>("relances");
        QTest::addColumn<QList<int>>("listed");
        QTest::addColumn<QString>("text");
        const QString everyone = QStringLiteral("3 candidatures en cours - 1 candidature terminée "
                                                "- 1 alarme - 1 candidature à relancer");
        const QString alarmOnly = QStringLiteral("1 candidature en cours - 3 candidatures "
                                                 "terminées - 1 alarme - 1 candidature à relancer");
        const QString followUpOnly = QStringLiteral(
            "1 candidature en cours - 3 candidatures terminées - 1 candidature à relancer");
        QTest::newRow("no filter") << false << false << false << QList<int>{2, 0, 3, 1} << everyone;
        QTest::newRow("finished hidden")
            << true << false << false << QList<int>{0, 3, 1} << everyone;
        QTest::newRow("alarms only") << false << true << false << QList<int>{1} << alarmOnly;
        QTest::newRow("follow-ups only") << false << false << true << QList<int>{0} << followUpOnly;
        QTest::newRow("follow-ups before alarms")
            << false << true << true << QList<int>{0} << followUpOnly;
        QTest::newRow("follow-ups before hiding")
            << true << false << true << QList<int>{0} << followUpOnly;
        QTest::newRow("alarms before hiding")
            << true << true << false << QList<int>{1} << alarmOnly;
        QTest::newRow("all three") << true << true << true << QList<int>{0} << followUpOnly;
    }
    void filtersAndWhatTheyCount()
    {
        QFETCH(bool, masquer);
        QFETCH(bool, alarmes);
        QFETCH(bool, relances);
        QFETCH(QList<int>, listed);
        QFETCH(QString, text);
        QList<TCandidatureRec> apps;
        apps << application(1, 1, "Comptable", -30); // to follow up
        apps << application(2, 2, "Analyste", -2);   // alarm due
        setAppointment(apps[1], 1, "3");
        apps << application(3, 3, "Chef de projet", -40); // finished, appointment in range
        setAppointment(apps[2], 2, "5");
        apps[2].terminee = 1;
        apps << application(4, 1, "Développeur", -3); // neither

        const ListingResult r =
            build(apps, threeCompanies(), "10", filters(masquer, alarmes, relances));
        QCOMPARE(positions(r), listed);
        QCOMPARE(statusText(r), text);
        for (const TLigneListing& l : r.rows)
            QCOMPARE(l.alarme, l.index == 1 ? 1 : 0);
    }

    void nothingListed()
    {
        const QList<TSocieteRec> s = threeCompanies();
        ListingResult r = build({}, s, "10");
        QVERIFY(r.rows.isEmpty());
        QCOMPARE(r.total, 0);

        // The alarm filter with no alarm due.
        QList<TCandidatureRec> apps{application(1, 1, "Comptable", -3),
                                    application(2, 2, "Analyste", -1)};
        setAppointment(apps[1], 9, "3");
        r = build(apps, s, "10", filters(false, true, false));
        QVERIFY(r.rows.isEmpty());
        QCOMPARE(r.enCours, 0);
        QCOMPARE(r.alarmes, 0);
        QCOMPARE(r.total, 2);
    }

    // Left out of the listing and of the counts, but part of the total.
    void applicationOfAnUnknownCompany()
    {
        QList<TCandidatureRec> apps{application(1, 1, "Comptable", -2),
                                    application(2, 99, "Orphelin", -60)};
        setAppointment(apps[1], 1, "3");
        const ListingResult r = build(apps, threeCompanies(), "10");
        QCOMPARE(positions(r), QList<int>{0});
        QCOMPARE(r.relances, 0);
        QCOMPARE(r.alarmes, 0);
        QCOMPARE(
            statusText(r),
            QStringLiteral(
                "1 candidature en cours - 1 candidature terminée - Pas de candidature à relancer"));
        QCOMPARE(build(apps, threeCompanies(), "10", filters(false, false, true)).rows.size(), 0);
    }

    // Records without a title or name stay in the tables but the listing
    // skips them; the first company with the id, in table order, is the one.
    void deletedRecordsAndDuplicateIds()
    {
        const QList<TSocieteRec> s{makeSociete(5, ""), makeSociete(5, "Delta", "C"),
                                   makeSociete(5, "Delta bis", "I"), makeSociete(6, "")};
        QList<TCandidatureRec> apps{application(1, 5, "Poste", -2), application(2, 5, "", -60),
                                    application(3, 6, "Chez une société supprimée", -60)};
        const ListingResult r = build(apps, s, "10");
        QCOMPARE(r.rows.size(), 1);
        QCOMPARE(r.rows[0].index, 0);
        QCOMPARE(r.rows[0].societe, 1);
        QCOMPARE(r.rows[0].categorie, 'C');
        QCOMPARE(r.relances, 0);
        QCOMPARE(
            statusText(r),
            QStringLiteral(
                "1 candidature en cours - 1 candidature terminée - Pas de candidature à relancer"));
    }

    void rowFlags()
    {
        QList<TCandidatureRec> apps;
        TCandidatureRec x = application(7, 3, "Magasinier", -10);
        x.cv = QStringLiteral("<TEXTE>");
        x.suite = QStringLiteral("/home/moi/refus.pdf");
        x.offre = QStringLiteral("/home/moi/offre.pdf");
        x.marqueur = 1;
        setAppointment(x, 2, "2");
        TCandidatureRec y = application(8, 2, "Cariste", -9);
        y.lettre = QStringLiteral("lettre.odt");
        y.accuse = QStringLiteral("<TEXTE>");
        y.offre = QStringLiteral("<TEXTE>");
        y.terminee = 1;
        TCandidatureRec z = application(9, 1, "Livreur", -8);
        setAppointment(z, -10, "3"); // past and out of range: an appointment, no alarm
        apps << x << y << z;

        const ListingResult r = build(apps, threeCompanies());
        QCOMPARE(r.rows.size(), 3);
        const TLigneListing& a = r.rows[0];
        QCOMPARE(a.index, 0);
        QCOMPARE(a.societe, 2);
        QCOMPARE(a.categorie, 'I');
        QCOMPARE(QList<qint32>(
                     {a.en_cours, a.cv, a.lettre, a.accuse, a.suite, a.rdv, a.marqueur, a.alarme}),
                 QList<qint32>({1, 1, 0, 0, 1, 1, 1, 1}));
        const TLigneListing& b = r.rows[1];
        QCOMPARE(b.index, 1);
        QCOMPARE(b.societe, 1);
        QCOMPARE(b.categorie, 'C');
        QCOMPARE(QList<qint32>(
                     {b.en_cours, b.cv, b.lettre, b.accuse, b.suite, b.rdv, b.marqueur, b.alarme}),
                 QList<qint32>({0, 0, 1, 1, 0, 0, 0, 0}));
        const TLigneListing& c = r.rows[2];
        QCOMPARE(c.index, 2);
        QCOMPARE(c.societe, 0);
        QCOMPARE(c.categorie, 'S');
        QCOMPARE(QList<qint32>(
                     {c.en_cours, c.cv, c.lettre, c.accuse, c.suite, c.rdv, c.marqueur, c.alarme}),
                 QList<qint32>({1, 0, 0, 0, 0, 1, 0, 0}));
        QCOMPARE(statusText(r),
                 QStringLiteral("2 candidatures en cours - 1 candidature terminée - 1 alarme"));
    }

    // Five applications of three companies; descending reads the ascending
    // order backwards, so the tie-breakers are reversed too.
    void rowOrder_data()
    {
        QTest::addColumn<QString>("tri");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("date") << "d" << false << QList<int>{1, 4, 2, 0, 3};
        QTest::newRow("date desc") << "d" << true << QList<int>{3, 0, 2, 4, 1};
        QTest::newRow("company") << "s" << false << QList<int>{1, 3, 4, 2, 0};
        QTest::newRow("company desc: newest first") << "s" << true << QList<int>{0, 2, 4, 3, 1};
        QTest::newRow("title") << "i" << false << QList<int>{4, 2, 3, 0, 1};
        QTest::newRow("title desc") << "i" << true << QList<int>{1, 0, 3, 2, 4};
        QTest::newRow("status: in progress first") << "f" << false << QList<int>{4, 2, 0, 3, 1};
        QTest::newRow("status desc: finished first") << "f" << true << QList<int>{1, 3, 0, 2, 4};
        QTest::newRow("category C, I, S") << "c" << false << QList<int>{4, 2, 0, 1, 3};
        QTest::newRow("category desc") << "c" << true << QList<int>{3, 1, 0, 2, 4};
        QTest::newRow("marker") << "m" << false << QList<int>{2, 0, 3, 1, 4};
        QTest::newRow("marker desc") << "m" << true << QList<int>{4, 1, 3, 0, 2};
        QTest::newRow("appointment after") << "r" << false << QList<int>{1, 4, 0, 3, 2};
        QTest::newRow("appointment before") << "r" << true << QList<int>{2, 3, 0, 4, 1};
    }
    void rowOrder()
    {
        QFETCH(QString, tri);
        QFETCH(bool, descending);
        QFETCH(QList<int>, order);
        QList<TCandidatureRec> apps;
        apps << makeCandidature(1, 3, "Comptable", "20260110");
        apps << makeCandidature(2, 1, "Développeur", "20260105");
        apps.last().terminee = 1;
        apps.last().marqueur = 1;
        apps << makeCandidature(3, 2, "Analyste", "20260110");
        apps.last().date_rdv = QStringLiteral("20260401");
        apps << makeCandidature(4, 1, "Chef de projet", "20260201");
        apps << makeCandidature(5, 2, "Analyste", "20260105");
        apps.last().marqueur = 1;
        const ListingResult r = build(apps, threeCompanies(), "0", {}, tri, descending);
        QCOMPARE(positions(r), order);
    }

    // A damaged date is listed without follow-up or alarm and reported;
    // the other applications keep theirs.
    // A field that holds something that is not a date is left out of the
    // rules; the application stays listed and its other dates still count.
    void damagedDates_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("followUps");
        // The application date unreadable: it sorts first; its appointment is
        // still its last activity and its alarm is still due.
        QTest::newRow("application date with letters")
            << "date"
            << "2026ab01"
            << "2 listed, 2 to follow up, alarm flags 1 0" << QList<int>{1, 0};
        QTest::newRow("application date empty")
            << "date"
            << ""
            << "2 listed, 2 to follow up, alarm flags 1 0" << QList<int>{1, 0};
        // The appointment unreadable: no alarm, the application date counts.
        QTest::newRow("appointment in month 13")
            << "date_rdv"
            << "20261301"
            << "2 listed, 2 to follow up, alarm flags 0 0" << QList<int>{0, 1};
        QTest::newRow("CV date with letters")
            << "date_cv"
            << "abcdefgh"
            << "2 listed, 2 to follow up, alarm flags 0 1" << QList<int>{0, 1};
        QTest::newRow("reply on 30 February")
            << "date_suite"
            << "20260230"
            << "2 listed, 2 to follow up, alarm flags 0 1" << QList<int>{0, 1};
    }
    void damagedDates()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QList<int>, followUps);
        // Undamaged, both are to follow up (two days), and the second one's
        // appointment two days ago has its alarm due.
        QList<TCandidatureRec> apps{application(1, 1, "Comptable", -30),
                                    application(2, 2, "Analyste", -30)};
        setAppointment(apps[1], -2, "3");
        const ListingResult sound = build(apps, threeCompanies(), "2");
        QCOMPARE(sound.relances, 2);
        QCOMPARE(sound.alarmes, 1);
        QVERIFY(sound.badDates.isEmpty());

        dateField(apps[1], field) = text;
        const ListingResult r = build(apps, threeCompanies(), "2");
        QCOMPARE(r.badDates, QList<int>{1});
        const QString seen = QStringLiteral("%1 listed, %2 to follow up, alarm flags %3 %4")
                                 .arg(r.rows.size())
                                 .arg(r.relances)
                                 .arg(r.rows.value(0).alarme)
                                 .arg(r.rows.value(1).alarme);
        QCOMPARE(seen, expected);
        QCOMPARE(positions(build(apps, threeCompanies(), "2", filters(false, false, true))),
                 followUps);
    }

    // A large table is read in chunks on two threads: what it gives is what
    // reading the same records as small tables gives, joined in table order.
    void aLargeTableReadsAsItsPartsDo()
    {
        const QList<TSocieteRec> societes = threeCompanies();
        const SocieteIndex index(societes);
        QList<TCandidatureRec> all;
        const int n = 3 * ListingTwoThreadsFrom + 123;
        all.reserve(n);
        for (int i = 0; i < n; ++i) {
            TCandidatureRec c = application(i + 1, 1 + i % 4, QStringLiteral("Poste %1").arg(i % 97),
                                            -(i % 40));
            if (i % 11 == 0) c.terminee = 1;
            if (i % 13 == 0) c.cv = QStringLiteral("cv.pdf");
            if (i % 17 == 0) setAppointment(c, i % 5, QStringLiteral("3"));
            if (i % 19 == 0) c.date_suite = QStringLiteral("2026x301"); // damaged
            if (i % 23 == 0) c.intitule = QString();                    // not live
            all.append(c);
        }
        const ListingBase whole = readListing(all, societes, index, today(), QStringLiteral("15"));

        ListingBase parts;
        const int part = ListingTwoThreadsFrom / 2; // read on one thread
        QList<int> listed;
        for (int from = 0; from < n; from += part) {
            const ListingBase b = readListing(all.mid(from, part), societes, index, today(),
                                              QStringLiteral("15"));
            parts.flags += b.flags;
            parts.positions += b.positions;
            parts.total += b.total;
            parts.relances += b.relances;
            for (int i : b.badDates)
                parts.badDates << from + i;
            for (int k = 0; k < b.list.size(); ++k)
                listed << from + b.list.at(k).index;
        }
        QCOMPARE(whole.flags, parts.flags);
        QCOMPARE(whole.positions, parts.positions);
        QCOMPARE(whole.total, parts.total);
        QCOMPARE(whole.relances, parts.relances);
        QCOMPARE(whole.badDates, parts.badDates);
        QList<int> wholeListed;
        for (int k = 0; k < whole.list.size(); ++k)
            wholeListed << whole.list.at(k).index;
        QCOMPARE(wholeListed, listed);
        QVERIFY(whole.relances > 0 && !whole.badDates.isEmpty() && whole.total < n);
    }
};

QTEST_GUILESS_MAIN(TestListingRules)
#include "tst_listingrules.moc"
