// Dates, day counts, accent folding, shortening, company look-ups, file
// heads and settings.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/helpers.h"
#include "store/settings.h"

#include <QTemporaryDir>
#include <QtTest>

class TestHelpers : public QObject
{
    Q_OBJECT
private slots:
    void displayDates()
    {
        QCOMPARE(SQL2Date("20260315"), QStringLiteral("15/03/2026"));
        QCOMPARE(SQL2Date(""), QString(""));
        QCOMPARE(SQL2Date("2026031"), QStringLiteral("2026031"));
        QCOMPARE(SQL2Date("abcdefgh"), QStringLiteral("gh/ef/abcd")); // no check of digits
    }

    void dateValuesAndDayCounts()
    {
        QCOMPARE(SQL2DateTime("18991230"), 0.0);
        QCOMPARE(SQL2DateTime("19000101"), 2.0);
        QCOMPARE(SQL2DateTime("20260101"), 46023.0);
        QCOMPARE(CompteJours("20260101", "20260115"), 14);
        QCOMPARE(CompteJours("20260115", "20260101"), 14);
        QCOMPARE(CompteJours("20240228", "20240301"), 2);
        QCOMPARE(CompteJours("20250228", "20250301"), 1);
        QCOMPARE(CompteJours("20260509", "20260509"), 0);
        Date d{};
        d = QStringLiteral("20260102");
        QCOMPARE(dateDays(d), qint64(46024));
    }

    void invalidDatesRaiseAnErrorTheCallerCanCatch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "2026ab01";
        QTest::newRow("month 13") << "20261301";
        QTest::newRow("30 February") << "20260230";
        QTest::newRow("short") << "2026011";
        QTest::newRow("year 0") << "00000101";
    }
    void invalidDatesRaiseAnErrorTheCallerCanCatch()
    {
        QFETCH(QString, text);
        bool caught = false;
        try {
            CompteJours(text, "20260101");
        } catch (const DateError& e) {
            caught =
                QString::fromUtf8(e.what()).contains(QStringLiteral("n'est pas une date valide"));
        }
        QVERIFY(caught);
    }

    void accentFolding()
    {
        QCOMPARE(SansAccents(QStringLiteral("Société Générale")),
                 QStringLiteral("Societe Generale"));
        QCOMPARE(SansAccents(QStringLiteral("ÇA")), QStringLiteral("cA"));
        QCOMPARE(SansAccents(QStringLiteral("àâäéèêëùûüôöîïç")), QStringLiteral("aaaeeeeuuuooiic"));
        QCOMPARE(SansAccents(QStringLiteral("ÉÈÊËÀÔÎÛ")), QStringLiteral("eeeeaoiu"));
        QCOMPARE(SansAccents(QStringLiteral("ñúáœ")), QStringLiteral("ñúáœ"));
    }

    void cutToAWidth()
    {
        // Every character 7 pixels wide.
        auto width = [](const QString& s) { return int(s.size()) * 7; };
        QCOMPARE(cutToWidth("abcd", 29, width), QStringLiteral("abcd"));   // 29 - 28 >= 1
        QCOMPARE(cutToWidth("abcd", 28, width), QStringLiteral("abc...")); // must leave 1 pixel
        QCOMPARE(cutToWidth("abcdefghij", 22, width), QStringLiteral("abc..."));
        QCOMPARE(cutToWidth("abcdefghij", 1, width), QStringLiteral("..."));
        // Uneven widths: the longest prefix that fits, as a scan from the end finds it.
        auto uneven = [](const QString& s) {
            int w = 0;
            for (QChar c : s)
                w += c == QLatin1Char('W') ? 15 : 4;
            return w;
        };
        const QString t = QStringLiteral("iiWWiiiiWiiWWWi");
        for (int max = 1; max < 120; ++max) {
            QString expected;
            int n = 0;
            while (n < t.size() && max - uneven(t.left(n + 1)) >= 1)
                ++n;
            expected = n == t.size() ? t : t.left(n) + QStringLiteral("...");
            QCOMPARE(cutToWidth(t, max, uneven), expected);
        }
    }

    void companyLookUps()
    {
        QList<TSocieteRec> s{makeSociete(3, "ACME", "C"), makeSociete(5, "BETA", "I"),
                             makeSociete(5, "BETA BIS", "S")};
        QCOMPARE(GetSocietyName(s, 5), QStringLiteral("BETA"));
        QCOMPARE(GetSocietyType(s, 3), QStringLiteral("C"));
        QCOMPARE(GetSocietyName(s, 0), QString());
        QCOMPARE(GetSocietyType(s, 42), QString());
    }

    void fileHeads()
    {
        QTemporaryDir dir;
        const QString p = dir.filePath("candidatures.dat");
        QCOMPARE(LitEnteteFichier(p), QString());
        writeBytes(p, QByteArray());
        QCOMPARE(LitEnteteFichier(p), QStringLiteral("null"));
        writeBytes(p, "\x04"
                      "cnd");
        QCOMPARE(LitEnteteFichier(p), QStringLiteral("null"));
        writeBytes(p, recordBytes(makeCandidature(1, 1, "x")));
        QCOMPARE(LitEnteteFichier(p), QStringLiteral("cnd2"));
        writeBytes(p, QByteArray("\xC8"
                                 "abcdefgh",
                                 9)); // length above 6 counts as 6
        QCOMPARE(LitEnteteFichier(p), QStringLiteral("abcdef"));
    }

    void settings()
    {
        FakeMessages m;
        QStringList failures;
        setRegistryFailureHandler([&](const QString& text) { failures.append(text); });
        QTemporaryDir dir;
        setRegistryFile(dir.filePath("ORVALDIS.ini"));
        QCOMPARE(Readregistry(RegistryKey, "tri"), QString());
        QVERIFY(WriteRegistry(RegistryKey, "tri", "s"));
        QVERIFY(WriteRegistry(RegistryKey, "DefaultSource", QStringLiteral("Pôle emploi")));
        QCOMPARE(Readregistry(RegistryKey, "tri"), QStringLiteral("s"));
        QCOMPARE(Readregistry(RegistryKey, "DefaultSource"), QStringLiteral("Pôle emploi"));
        QCOMPARE(Readregistry(RegistryKey, "sens"), QString());
        QVERIFY(failures.isEmpty());
        // A settings file that cannot be used: both messages go to the
        // handler the program installed, nothing is read.
        setRegistryFile(dir.path());
        QCOMPARE(Readregistry(RegistryKey, "tri"), QString());
        QVERIFY(!WriteRegistry(RegistryKey, "tri", "d"));
        QCOMPARE(failures, QStringList({"Impossible de lire la base de registres",
                                        "Erreur lors de la mise à jour de la base de registres"}));
        // Without a handler they go to standard error, never to a box.
        setRegistryFailureHandler({});
        QTest::ignoreMessage(QtWarningMsg, "Impossible de lire la base de registres");
        QCOMPARE(Readregistry(RegistryKey, "tri"), QString());
        QCOMPARE(failures.size(), 2);
        QCOMPARE(m.count(), 0);
    }

    // A settings file with lines that cannot be read: what can be read is
    // used, the file is set aside once before the next write replaces it,
    // and the user is told once, with the file and its copy.
    void damagedSettingsAreKeptAsideAndToldOnce()
    {
        QStringList failures;
        setRegistryFailureHandler([&](const QString& text) { failures.append(text); });
        QTemporaryDir dir;
        const QString ini = dir.filePath("ORVALDIS.ini");
        const char raw[] = "[SOFTWARE]\nORVALDIS\\tri=s\n\0\xff\x13garbage\n";
        const QByteArray damaged(raw, sizeof raw - 1);
        writeBytes(ini, damaged);
        setRegistryFile(ini);
        QCOMPARE(Readregistry(RegistryKey, "tri"), QStringLiteral("s"));
        QCOMPARE(Readregistry(RegistryKey, "sens"), QString());
        QVERIFY(WriteRegistry(RegistryKey, "sens", "desc"));
        QCOMPARE(Readregistry(RegistryKey, "sens"), QStringLiteral("desc"));
        QCOMPARE(Readregistry(RegistryKey, "tri"), QStringLiteral("s"));
        QCOMPARE(failures.size(), 1);
        QVERIFY2(failures[0].startsWith(QStringLiteral("Le fichier de réglages ") + ini +
                                        QStringLiteral(" est endommagé")),
                 qPrintable(failures[0]));
        const QStringList copies =
            QDir(dir.filePath("backup")).entryList({"ORVALDIS-endommagé-*.ini"}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        QVERIFY(failures[0].contains(copies[0]));
        QCOMPARE(readBytes(dir.filePath("backup/" + copies[0])), damaged);
        setRegistryFailureHandler({});
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
