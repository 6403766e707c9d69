// Key figures: the three counting rules, the seven label texts in French
// settings (rounding half to even, comma, no grouping) and the worker that
// counts off the interface thread.
#include "common/testfiles.h"
#include "directory/directoryrules.h"
#include "reports/statistics.h"
#include "reports/statsthread.h"
#include "store/helpers.h"

#include <QtTest>

namespace
{

const QLocale kFrench(QLocale::French);

// An application written "date|date_rdv|date_suite|suite".
TCandidatureRec application(const QString& line, qint32 id = 1)
{
    const QStringList f = line.split(QLatin1Char('|'));
    Q_ASSERT(f.size() == 4);
    TCandidatureRec c = makeCandidature(id, 1, QStringLiteral("Poste %1").arg(id), f[0]);
    c.date_rdv = f[1];
    c.date_suite = f[2];
    c.suite = f[3];
    return c;
}

QList<TCandidatureRec> applications(const QStringList& lines)
{
    QList<TCandidatureRec> list;
    for (const QString& s : lines)
        list << application(s, qint32(list.size() + 1));
    return list;
}

// Applications of 1 January 2026 answered by appointment after these delays.
QStringList delays(const QList<int>& days)
{
    QStringList lines;
    for (int d : days)
        lines << QStringLiteral("20260101|%1||")
                     .arg(QDate(2026, 1, 1).addDays(d).toString("yyyyMMdd"));
    return lines;
}

QStringList repeated(const QString& line, int n)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << line;
    return l;
}

TSocieteRec company(qint32 id, const QString& nom)
{
    return makeSociete(id, nom);
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT
private slots:
    void countingRules_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("replied");
        QTest::addColumn<bool>("interviewed");
        QTest::addColumn<int>("delay"); // -1: none
        QTest::newRow("nothing yet") << "20260101|||" << false << false << -1;
        QTest::newRow("pasted reply, no date") << "20260101|||<TEXTE>" << true << false << -1;
        QTest::newRow("reply file and date")
            << "20260101||20260103|/home/moi/refus.pdf" << true << false << 2;
        QTest::newRow("reply date without document")
            << "20260101||20260104|" << false << false << 3;
        QTest::newRow("appointment only") << "20260101|20260106||" << false << true << 5;
        QTest::newRow("reply before appointment")
            << "20260101|20260106|20260103|r.pdf" << true << true << 2;
        QTest::newRow("appointment before reply")
            << "20260101|20260104|20260110|" << false << true << 3;
        QTest::newRow("same day") << "20260101|20260104|20260104|" << false << true << 3;
        QTest::newRow("reaction before the application")
            << "20260101|20251228||" << false << true << 4;
        QTest::newRow("over a leap day") << "20240228||20240301|" << false << false << 2;
        QTest::newRow("over a month") << "20260115|20260215||" << false << true << 31;
    }
    void countingRules()
    {
        QFETCH(QString, line);
        QFETCH(bool, replied);
        QFETCH(bool, interviewed);
        QFETCH(int, delay);
        const TCandidatureRec c = application(line);
        QCOMPARE(counting::replied(c), replied);
        QCOMPARE(counting::interviewed(c), interviewed);
        const std::optional<qint32> d = counting::responseDelay(c);
        QCOMPARE(d.has_value(), delay >= 0);
        if (d) QCOMPARE(*d, delay);
    }

    void datesThatAreNotDates_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("empty application date, appointment set") << "|20260106||";
        QTest::newRow("letters in the appointment") << "20260101|2026ab06||";
        QTest::newRow("reply on 30 February") << "20260101||20260230|";
    }
    void datesThatAreNotDates()
    {
        QFETCH(QString, line);
        QVERIFY_THROWS_EXCEPTION(DateError, counting::responseDelay(application(line)));
        QVERIFY_THROWS_EXCEPTION(DateError,
                                 countFigures({application("20260101|||"), application(line)}, 1));
    }

    void noReactionNeedsNoDate()
    {
        const TCandidatureRec c = application("|||<TEXTE>");
        QVERIFY(!counting::responseDelay(c));
        const KeyFigures f = countFigures({c}, 0);
        QCOMPARE(f.candidatures, 1);
        QCOMPARE(f.reponses, 1);
        QCOMPARE(f.delays, 0);
    }

    void labelTexts_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("companies");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("no applications, 5 companies") << QStringList{} << 5
                                                      << QStringList{"0 candidature",
                                                                     "5 sociétés",
                                                                     "0 entretien",
                                                                     "0 réponse",
                                                                     "Taux entretiens moy.: ND",
                                                                     "Taux réponses moy.: ND",
                                                                     "Temps rép. moyen: ND"};
        QTest::newRow("thirds") << QStringList{"20260101|||<TEXTE>", "20260101|20260105||",
                                               "20260101|20260111||"}
                                << 2
                                << QStringList{"3 candidatures",
                                               "2 sociétés",
                                               "2 entretiens",
                                               "1 réponse",
                                               "Taux entretiens moy.: 66,67%",
                                               "Taux réponses moy.: 33,33%",
                                               "Temps rép. moyen: 7 jours"};
        QTest::newRow("two replies") << QStringList{"20260101|||a.pdf", "20260101|||<TEXTE>"} << 1
                                     << QStringList{"2 candidatures",
                                                    "1 société",
                                                    "0 entretien",
                                                    "2 réponses",
                                                    "Taux entretiens moy.: 0%",
                                                    "Taux réponses moy.: 100%",
                                                    "Temps rép. moyen: ND"};
        QTest::newRow("earlier reaction wins")
            << QStringList{"20260101|20260106|20260103|r.pdf"} << 0
            << QStringList{"1 candidature",
                           "0 société",
                           "1 entretien",
                           "1 réponse",
                           "Taux entretiens moy.: 100%",
                           "Taux réponses moy.: 100%",
                           "Temps rép. moyen: 2 jours"};
        QTest::newRow("one day") << QStringList{"20260101||20260102|", "20260101|||"} << 1
                                 << QStringList{"2 candidatures",
                                                "1 société",
                                                "0 entretien",
                                                "0 réponse",
                                                "Taux entretiens moy.: 0%",
                                                "Taux réponses moy.: 0%",
                                                "Temps rép. moyen: 1 jour"};
        QTest::newRow("3 and 4 days") << delays({3, 4}) << 2
                                      << QStringList{"2 candidatures",
                                                     "2 sociétés",
                                                     "2 entretiens",
                                                     "0 réponse",
                                                     "Taux entretiens moy.: 100%",
                                                     "Taux réponses moy.: 0%",
                                                     "Temps rép. moyen: 3,5 jours"};
        QTest::newRow("half a day") << delays({0, 1}) << 1
                                    << QStringList{"2 candidatures",
                                                   "1 société",
                                                   "2 entretiens",
                                                   "0 réponse",
                                                   "Taux entretiens moy.: 100%",
                                                   "Taux réponses moy.: 0%",
                                                   "Temps rép. moyen: 0,5 jour"};
        QTest::newRow("3.25 days to even") << delays({3, 3, 3, 4}) << 1
                                           << QStringList{"4 candidatures",
                                                          "1 société",
                                                          "4 entretiens",
                                                          "0 réponse",
                                                          "Taux entretiens moy.: 100%",
                                                          "Taux réponses moy.: 0%",
                                                          "Temps rép. moyen: 3,2 jours"};
        QTest::newRow("0.25 day to even") << delays({0, 0, 0, 1}) << 1
                                          << QStringList{"4 candidatures",
                                                         "1 société",
                                                         "4 entretiens",
                                                         "0 réponse",
                                                         "Taux entretiens moy.: 100%",
                                                         "Taux réponses moy.: 0%",
                                                         "Temps rép. moyen: 0,2 jour"};
        // The plural goes by the mean before rounding.
        QList<int> overOne(29, 1);
        overOne << 2;
        QTest::newRow("just over a day") << delays(overOne) << 3
                                         << QStringList{"30 candidatures",
                                                        "3 sociétés",
                                                        "30 entretiens",
                                                        "0 réponse",
                                                        "Taux entretiens moy.: 100%",
                                                        "Taux réponses moy.: 0%",
                                                        "Temps rép. moyen: 1 jours"};
        QTest::newRow("eighths") << QStringList{"20260101|||<TEXTE>"} +
                                        repeated("20260101|20260101||", 3) +
                                        repeated("20260101|||", 4)
                                 << 8
                                 << QStringList{"8 candidatures",
                                                "8 sociétés",
                                                "3 entretiens",
                                                "1 réponse",
                                                "Taux entretiens moy.: 37,5%",
                                                "Taux réponses moy.: 12,5%",
                                                "Temps rép. moyen: 0 jour"};
        QTest::newRow("sevenths") << QStringList{"20260101|20260108||<TEXTE>"} +
                                         repeated("20260101|||", 6)
                                  << 7
                                  << QStringList{"7 candidatures",
                                                 "7 sociétés",
                                                 "1 entretien",
                                                 "1 réponse",
                                                 "Taux entretiens moy.: 14,29%",
                                                 "Taux réponses moy.: 14,29%",
                                                 "Temps rép. moyen: 7 jours"};
        // 2 and 6 of 1600 are 0.125 % and 0.375 %: exact halves.
        QTest::newRow("1600 applications, halves to even")
            << repeated("20260101|||<TEXTE>", 2) + repeated("20260101|20260101||", 6) +
                   repeated("20260101|||", 1592)
            << 1250
            << QStringList{"1600 candidatures",
                           "1250 sociétés",
                           "6 entretiens",
                           "2 réponses",
                           "Taux entretiens moy.: 0,38%",
                           "Taux réponses moy.: 0,12%",
                           "Temps rép. moyen: 0 jour"};
    }
    void labelTexts()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, companies);
        QFETCH(QStringList, texts);
        QCOMPARE(keyFigureTexts(countFigures(applications(lines), companies), kFrench), texts);
    }

    void roundingAndNumberText_data()
    {
        QTest::addColumn<qint64>("num");
        QTest::addColumn<qint64>("den");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("one third of 100") << qint64(100) << qint64(3) << 2 << "33,33";
        QTest::newRow("two thirds of 100") << qint64(200) << qint64(3) << 2 << "66,67";
        QTest::newRow("one half") << qint64(50) << qint64(1) << 2 << "50";
        QTest::newRow("three and a half") << qint64(7) << qint64(2) << 1 << "3,5";
        QTest::newRow("0.125 down to even") << qint64(1) << qint64(8) << 2 << "0,12";
        QTest::newRow("0.375 up to even") << qint64(3) << qint64(8) << 2 << "0,38";
        QTest::newRow("3.25 down to even") << qint64(13) << qint64(4) << 1 << "3,2";
        QTest::newRow("3.75 up to even") << qint64(15) << qint64(4) << 1 << "3,8";
        QTest::newRow("2.5 to 2") << qint64(5) << qint64(2) << 0 << "2";
        QTest::newRow("1.5 to 2") << qint64(3) << qint64(2) << 0 << "2";
        QTest::newRow("23 of 160 in percent") << qint64(2300) << qint64(160) << 2 << "14,38";
        QTest::newRow("49 of 160 in percent") << qint64(4900) << qint64(160) << 2 << "30,62";
        QTest::newRow("not a half") << qint64(126) << qint64(1000) << 2 << "0,13";
        QTest::newRow("whole after rounding") << qint64(6996) << qint64(1000) << 2 << "7";
        QTest::newRow("trailing zero dropped") << qint64(25) << qint64(2) << 2 << "12,5";
        QTest::newRow("leading zero kept") << qint64(1) << qint64(20) << 2 << "0,05";
        QTest::newRow("zero") << qint64(0) << qint64(5) << 2 << "0";
        QTest::newRow("hundred") << qint64(100) << qint64(1) << 2 << "100";
        QTest::newRow("no grouping") << qint64(123456789) << qint64(10000) << 1 << "12345,7";
    }
    void roundingAndNumberText()
    {
        QFETCH(qint64, num);
        QFETCH(qint64, den);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(ratioText(num, den, decimals, kFrench), text);
    }

    void exactHalvesOfRatesGoToTheEvenNeighbourInEveryView()
    {
        KeyFigures f;
        f.candidatures = 160;
        f.reponses = 23;
        f.entretiens = 49;
        QCOMPARE(rateText(23, 160, kFrench), QStringLiteral("14,38"));
        QCOMPARE(rateText(49, 160, kFrench), QStringLiteral("30,62"));
        QVERIFY(
            keyFigureTexts(f, kFrench).contains(QStringLiteral("Taux entretiens moy.: 30,62%")));
        QVERIFY(keyFigureTexts(f, kFrench).contains(QStringLiteral("Taux réponses moy.: 14,38%")));
        QCOMPARE(directoryFigureTexts(f, kFrench).value(1),
                 QStringLiteral("Réponses: 23 (Taux: 14,38%)"));
        QCOMPARE(directoryFigureTexts(f, kFrench).value(2),
                 QStringLiteral("Entretiens: 49 (Taux: 30,62%)"));
    }

    void decimalSeparatorOfTheSettings()
    {
        const QLocale english(QLocale::English, QLocale::UnitedKingdom);
        QCOMPARE(rateText(1, 3, english), QStringLiteral("33.33"));
        QCOMPARE(rateText(1, 3, kFrench), QStringLiteral("33,33"));
        const QStringList t =
            keyFigureTexts(countFigures(applications(delays({3, 4})), 1), english);
        QCOMPARE(t.last(), QStringLiteral("Temps rép. moyen: 3.5 jours"));
    }

    // Applications without a title are deleted ones: not counted.
    void deletedApplicationsNotCounted()
    {
        QList<TCandidatureRec> list = applications({"20260101|20260105||<TEXTE>", "20260101|||"});
        TCandidatureRec deleted = application("20260101|20260102|20260102|<TEXTE>", 9);
        deleted.intitule = QString();
        list.insert(1, deleted);
        const QStringList t = keyFigureTexts(countFigures(list, 1), kFrench);
        QCOMPARE(t, QStringList({"2 candidatures", "1 société", "1 entretien", "1 réponse",
                                 "Taux entretiens moy.: 50%", "Taux réponses moy.: 50%",
                                 "Temps rép. moyen: 4 jours"}));
    }

    void workerShowsTheFiguresOnce()
    {
        QObject context;
        QList<QStringList> shown;
        bool onContextThread = true;
        QList<TCandidatureRec> list =
            applications({"20260101|||<TEXTE>", "20260101|20260105||", "20260101|20260111||"});
        TCandidatureRec deleted = application("20260101|||<TEXTE>", 9);
        deleted.intitule = QString();
        list << deleted;
        const QList<TSocieteRec> societes{company(1, "Alpha"), company(2, ""), company(3, "Gamma")};

        TStatsThread worker(list, societes, kFrench, &context, [&](const QStringList& texts) {
            onContextThread = onContextThread && QThread::currentThread() == context.thread();
            shown << texts;
        });
        worker.start();
        QTRY_COMPARE(shown.size(), 1);
        QVERIFY(worker.wait(5000));
        QTest::qWait(50);
        QCOMPARE(shown.size(), 1);
        QVERIFY(onContextThread);
        QCOMPARE(shown[0],
                 QStringList({"3 candidatures", "2 sociétés", "2 entretiens", "1 réponse",
                              "Taux entretiens moy.: 66,67%", "Taux réponses moy.: 33,33%",
                              "Temps rép. moyen: 7 jours"}));
    }

    // The worker counts the tables as they were when it was created; later
    // edits of the tables do not reach it.
    void workerCountsTheTablesOfItsCreation()
    {
        QObject context;
        QList<QStringList> shown;
        QList<TCandidatureRec> list = applications({"20260101|20260105||", "20260101|||"});
        QList<TSocieteRec> societes{company(1, "Alpha")};
        TStatsThread worker(list, societes, kFrench, &context,
                            [&](const QStringList& t) { shown << t; });
        list << application("20260101|||<TEXTE>", 3);
        list[0].date_rdv = QString();
        societes << company(2, "Beta");
        worker.start();
        QTRY_COMPARE(shown.size(), 1);
        QVERIFY(worker.wait(5000));
        QCOMPARE(shown[0], QStringList({"2 candidatures", "1 société", "1 entretien", "0 réponse",
                                        "Taux entretiens moy.: 50%", "Taux réponses moy.: 0%",
                                        "Temps rép. moyen: 4 jours"}));
    }

    void workerStopsSilentlyOnADateThatIsNotOne_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("empty application date beside an appointment") << "|20260106||";
        QTest::newRow("letters in the reply date") << "20260101||2026x103|";
    }
    void workerStopsSilentlyOnADateThatIsNotOne()
    {
        QFETCH(QString, line);
        QObject context;
        int calls = 0;
        QList<TCandidatureRec> list = applications({"20260101|20260105||", line, "20260101|||"});
        TStatsThread worker(list, {company(1, "Alpha")}, kFrench, &context,
                            [&](const QStringList&) { ++calls; });
        worker.start();
        QVERIFY(worker.wait(5000));
        QTest::qWait(100);
        QCOMPARE(calls, 0);
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
