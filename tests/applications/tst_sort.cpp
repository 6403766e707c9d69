// Sorting the listing: the seven orders and their tie-breakers, the text
// comparison (only a to z folded, Windows-1252 byte order), sort letters
// outside the table and the menu positions of the letters.
#include "applications/sort.h"
#include "store/cp1252.h"

#include <QtTest>
#include <deque>

namespace
{

struct ElementTexts {
    Letter categorie{};
    ShortString<50> societe{};
    ShortString<255> intitule{};
};

// Elements written "statut|date|categorie|societe|intitule|marqueur|rdv";
// the texts live as long as the sample.
class Sample
{
public:
    TElementListing add(const QString& line, int index)
    {
        const QStringList f = line.split(QLatin1Char('|'));
        Q_ASSERT(f.size() == 7);
        texts_.emplace_back();
        ElementTexts& t = texts_.back();
        t.categorie = f[2];
        t.societe = f[3];
        t.intitule = f[4];
        TElementListing e;
        e.statut = f[0].toInt();
        e.date = f[1].toInt();
        e.categorie = &t.categorie;
        e.societe = &t.societe;
        e.intitule = &t.intitule;
        e.marqueur = f[5].toInt();
        e.rdv = f[6].toInt();
        e.index = index;
        return e;
    }

private:
    std::deque<ElementTexts> texts_;
};

int sign(int v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

int compareStrings(const QString& a, const QString& b)
{
    const QByteArray x = cp1252::encode(a), y = cp1252::encode(b);
    return compareText(reinterpret_cast<const unsigned char*>(x.constData()), int(x.size()),
                       reinterpret_cast<const unsigned char*>(y.constData()), int(y.size()));
}

OrdreCles prepared(const QString& tri)
{
    OrdreCles keys{};
    PrepareTri(tri, keys);
    return keys;
}

} // namespace

class TestSort : public QObject
{
    Q_OBJECT
private slots:
    // Each set lists seven elements a to g in their ascending order. Each
    // neighbour pair is decided by a later key than the pair before it (1st
    // key for a/b, ..., 6th key for f/g), and every key after the deciding
    // one points the other way, so a key consulted too early, or a key
    // consulted that the order does not use, turns a pair round.
    void everyKeyOfEachOrderInItsPlace_data()
    {
        QTest::addColumn<QString>("tri");
        QTest::addColumn<QStringList>("elements");
        //                      statut|date|cat|societe|intitule|marqueur|rdv
        QTest::newRow("d: date, societe, intitule, statut, marqueur, categorie")
            << "d" << QStringList{"1|20260301|S|Zeta|Z|1|1", "1|20260302|S|Alpha|Z|1|0",
                                  "1|20260302|S|beta|A|1|0", "0|20260302|S|Beta|b|1|1",
                                  "1|20260302|S|Beta|B|0|0", "1|20260302|C|BETA|B|1|1",
                                  "1|20260302|I|Beta|B|1|0"};
        QTest::newRow("s: societe, date, intitule, statut, marqueur, categorie")
            << "s" << QStringList{"1|20260309|S|Alpha|Z|1|1", "1|20260301|S|beta|Z|1|1",
                                  "1|20260302|C|BETA|A|0|0",  "0|20260302|S|Beta|b|1|0",
                                  "1|20260302|S|beta|B|0|0",  "1|20260302|C|Beta|b|1|1",
                                  "1|20260302|I|Beta|B|1|0"};
        QTest::newRow("i: intitule, date, societe, statut, marqueur, categorie")
            << "i" << QStringList{"1|20260309|S|Z|Alpha|1|1", "1|20260301|S|Z|beta|1|1",
                                  "1|20260302|C|A|BETA|0|0",  "0|20260302|S|b|Beta|1|0",
                                  "1|20260302|S|B|beta|0|0",  "1|20260302|C|b|Beta|1|1",
                                  "1|20260302|I|B|Beta|1|0"};
        QTest::newRow("f: statut, date, societe, intitule, marqueur, categorie")
            << "f"
            << QStringList{"0|20260309|S|Z|Z|1|1", "1|20260301|S|Z|Z|1|1", "1|20260302|S|A|Z|1|0",
                           "1|20260302|S|b|A|1|0", "1|20260302|S|B|b|0|0", "1|20260302|C|B|B|1|1",
                           "1|20260302|I|b|B|1|0"};
        QTest::newRow("c: categorie, date, societe, intitule, statut, marqueur")
            << "c"
            << QStringList{"1|20260309|C|Z|Z|1|1", "1|20260301|S|Z|Z|1|1", "1|20260302|S|A|Z|1|0",
                           "1|20260302|S|b|A|1|0", "0|20260302|S|B|b|1|0", "1|20260302|S|B|B|0|1",
                           "1|20260302|S|b|B|1|0"};
        QTest::newRow("m: marqueur, date, societe, intitule, statut, categorie")
            << "m"
            << QStringList{"1|20260309|S|Z|Z|0|1", "1|20260301|S|Z|Z|1|1", "1|20260302|S|A|Z|1|0",
                           "1|20260302|S|b|A|1|0", "0|20260302|S|B|b|1|0", "1|20260302|C|B|B|1|1",
                           "1|20260302|I|b|B|1|0"};
        QTest::newRow("r: rdv, date, societe, intitule, marqueur, categorie; never statut")
            << "r"
            << QStringList{"1|20260309|S|Z|Z|1|0", "1|20260301|S|Z|Z|1|1", "0|20260302|S|A|Z|1|1",
                           "0|20260302|S|b|A|1|1", "1|20260302|S|B|b|0|1", "1|20260302|C|B|B|1|1",
                           "0|20260302|I|b|B|1|1"};
    }
    void everyKeyOfEachOrderInItsPlace()
    {
        QFETCH(QString, tri);
        QFETCH(QStringList, elements);
        const OrdreCles keys = prepared(tri);

        // Neighbours ordered pairwise, whichever comes first in the call.
        Sample sample;
        QList<TElementListing> all;
        for (int i = 0; i < elements.size(); ++i)
            all << sample.add(elements[i], i);
        for (int i = 0; i + 1 < all.size(); ++i) {
            QVERIFY2(compareElements(all[i], all[i + 1], keys) < 0, qPrintable(QString::number(i)));
            QVERIFY2(compareElements(all[i + 1], all[i], keys) > 0, qPrintable(QString::number(i)));
            QCOMPARE(compareElements(all[i], all[i], keys), 0);
        }

        // The list given the elements out of order sorts them back.
        TListingMaListe list;
        for (int i : {3, 6, 0, 5, 1, 4, 2})
            list.add(all[i]);
        list.sort(keys);
        QString order;
        for (int i = 0; i < list.size(); ++i)
            order += QLatin1Char(char('a' + list.at(i).index));
        QCOMPARE(order, QStringLiteral("abcdefg"));
    }

    // Texts compare on their Windows-1252 bytes with only a to z made capitals.
    void textComparison_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        QTest::newRow("ASCII case ignored") << "abc"
                                            << "ABC" << 0;
        QTest::newRow("mixed case ignored") << "Alpha Conseil"
                                            << "aLPHA cONSEIL" << 0;
        QTest::newRow("first differing letter decides") << "abc"
                                                        << "ABD" << -1;
        QTest::newRow("later letter does not count") << "Abz"
                                                     << "ACa" << -1;
        QTest::newRow("prefix first") << "Beta"
                                      << "BETA SA" << -1;
        QTest::newRow("longer after its prefix") << "beta sa"
                                                 << "Beta" << 1;
        QTest::newRow("empty before anything") << ""
                                               << "a" << -1;
        QTest::newRow("both empty") << ""
                                    << "" << 0;
        QTest::newRow("É after Z") << "Zèbre"
                                   << "Écrin" << -1;
        QTest::newRow("É after z") << "zoo"
                                   << "Éole" << -1;
        QTest::newRow("accents not folded: É before é") << "Écrin"
                                                        << "écrin" << -1;
        QTest::newRow("é after E") << "Société"
                                   << "SOCIETE" << 1;
        QTest::newRow("à after b") << "à"
                                   << "b" << 1;
        QTest::newRow("a folded up, before _") << "a"
                                               << "_" << -1;
        QTest::newRow("[ after b") << "[x]"
                                   << "b" << 1;
        QTest::newRow("digits before letters") << "3M"
                                               << "ABB" << -1;
    }
    void textComparison()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        QCOMPARE(sign(compareStrings(a, b)), expected);
        QCOMPARE(sign(compareStrings(b, a)), -expected);
    }

    // Company names compare as texts whatever the order they serve in.
    void companyNamesFoldOnlyAsciiInTheSort()
    {
        Sample sample;
        TListingMaListe list;
        list.add(sample.add("0|20260301|S|Écoles réunies|x|0|0", 0));
        list.add(sample.add("0|20260301|S|zinc et fils|x|0|0", 1));
        list.add(sample.add("0|20260301|S|ALPHA|x|0|0", 2));
        list.add(sample.add("0|20260301|S|Zénith|x|0|0", 3));
        list.add(sample.add("0|20260301|S|bêta|x|0|0", 4));
        list.sort(prepared("s"));
        QList<int> order;
        for (int i = 0; i < list.size(); ++i)
            order << list.at(i).index;
        // ALPHA, BêTA, then ZINC before ZéNITH (I is 73, é is 233), and the
        // name beginning with É (201) after every name beginning with Z (90).
        QCOMPARE(order, QList<int>({2, 4, 1, 3, 0}));
    }

    void lettersOutsideTheTableKeepThePriorities_data()
    {
        QTest::addColumn<QString>("tri");
        QTest::newRow("unknown letter") << "x";
        QTest::newRow("capital D") << "D";
        QTest::newRow("empty") << "";
        QTest::newRow("two letters") << "ds";
    }
    void lettersOutsideTheTableKeepThePriorities()
    {
        QFETCH(QString, tri);
        Sample sample;
        // By date a comes after b; by company it comes before.
        const TElementListing a = sample.add("0|20260301|S|Alpha|x|0|0", 0);
        const TElementListing b = sample.add("0|20260201|S|Zeta|x|0|0", 1);

        OrdreCles keys = prepared("d");
        PrepareTri(tri, keys);
        QVERIFY(compareElements(a, b, keys) > 0);

        keys = prepared("s");
        PrepareTri(tri, keys);
        QVERIFY(compareElements(a, b, keys) < 0);

        keys = prepared("d");
        PrepareTri("s", keys);
        PrepareTri(tri, keys);
        QVERIFY(compareElements(a, b, keys) < 0); // the last order chosen stays
    }

    // Before any order is chosen every step compares the finished flag.
    void freshPrioritiesCompareOnlyTheStatus()
    {
        Sample sample;
        const TElementListing inProgress = sample.add("0|20260301|S|Alpha|Analyste|0|0", 0);
        const TElementListing other = sample.add("0|20250101|C|Zeta|Zoologue|1|1", 1);
        const TElementListing finished = sample.add("1|20240101|C|Aaa|Aaa|0|0", 2);

        OrdreCles keys{};
        PrepareTri("?", keys);
        QCOMPARE(compareElements(inProgress, other, keys), 0);
        QCOMPARE(compareElements(other, inProgress, keys), 0);
        QVERIFY(compareElements(inProgress, finished, keys) < 0);
        QVERIFY(compareElements(finished, other, keys) > 0);

        TListingMaListe list;
        list.add(finished);
        list.add(inProgress);
        list.add(other);
        list.sort(keys);
        QCOMPARE(list.at(2).index, 2); // finished ones last
    }

    void theStartsOfTheTextsOrderAsTheWholeTexts()
    {
        // Texts of 0 to 12 characters over a small alphabet, zeros and case
        // included, so that prefixes often tie and lengths often differ.
        const char alphabet[] = {'a', 'A', 'b', 'B', '\0', '\xe9', 'z'};
        QRandomGenerator rng(20261210);
        auto randomText = [&] {
            ShortString<50> t{};
            char b[12];
            const int n = int(rng.bounded(13));
            for (int i = 0; i < n; ++i)
                b[i] = alphabet[rng.bounded(int(sizeof alphabet))];
            t.setBytes(b, n);
            return t;
        };
        OrdreCles keys{};
        PrepareTri(QStringLiteral("s"), keys);
        auto sign = [](int v) { return (v > 0) - (v < 0); };
        for (int k = 0; k < 20000; ++k) {
            const ShortString<50> a = randomText(), b = randomText();
            TElementListing ea, eb;
            ea.societe = &a;
            eb.societe = &b;
            const int whole = sign(compareElements(ea, eb, keys));
            ea.societePrefix = textPrefix(a);
            eb.societePrefix = textPrefix(b);
            QCOMPARE(sign(compareElements(ea, eb, keys)), whole);
        }
    }

    // The list sorts as the comparison says, equal elements by their
    // position in the table, whatever the keys hold: every order, with and
    // without the companies' ranks, negative and huge numbers, empty and
    // same-named companies, texts that tie on their first characters.
    void theListSortsAsTheComparisonSays_data()
    {
        QTest::addColumn<QString>("tri");
        QTest::addColumn<bool>("ranked");
        QTest::addColumn<int>("count");
        for (const char* tri : {"d", "s", "c", "i", "r", "f", "m"}) {
            QTest::newRow(tri) << QString::fromLatin1(tri) << true << 3000;
            QTest::newRow(qPrintable(QStringLiteral("%1 without ranks or prefixes").arg(tri)))
                << QString::fromLatin1(tri) << false << 3000;
            // A list long enough to be sorted in two halves, odd in length.
            QTest::newRow(qPrintable(QStringLiteral("%1 long").arg(tri)))
                << QString::fromLatin1(tri) << true << ListingTwoThreadsFrom + 1;
        }
    }
    void theListSortsAsTheComparisonSays()
    {
        QFETCH(QString, tri);
        QFETCH(bool, ranked);
        QFETCH(int, count);
        QRandomGenerator rng(4242);
        QList<TSocieteRec> companies;
        const char* names[] = {
            "",        "ACME", "acme", "Acme Industrie", "Acme Industrie SA", "Acme Industries",
            "\xe9lan", "Zeta", "zeta"};
        for (const char* n : names) {
            TSocieteRec s{};
            s.nom.setBytes(n, int(strlen(n)));
            s.id = int(companies.size()) + 1;
            companies.append(s);
        }
        companies.append(companies[1]); // two companies of one name
        const QList<qint32> ranks = societeRanks(companies);
        QList<int> live;
        for (int c = 0; c < companies.size(); ++c)
            if (isLive(companies[c]))
                live.append(c);
            else
                QCOMPARE(ranks[c], -1);
        // Equal names share a place; places follow the comparison of names.
        for (int a = 0; a < companies.size(); ++a)
            for (int b = 0; b < companies.size(); ++b) {
                if (!isLive(companies[a]) || !isLive(companies[b])) continue;
                const ShortString<50>&x = companies[a].nom, &y = companies[b].nom;
                const int byText =
                    compareText(reinterpret_cast<const unsigned char*>(x.chars), x.length(),
                                reinterpret_cast<const unsigned char*>(y.chars), y.length());
                QCOMPARE(sign(ranks[a] - ranks[b]), sign(byText));
            }

        std::deque<ShortString<255>> titles;
        std::deque<Letter> letters;
        const char* titleTexts[] = {
            "Analyste", "analyste", "Analyste programmeur", "Analyste programmeuse",
            "",         "Comptable"};
        const char* codes[] = {"", "S", "s", "C", "I"};
        const qint32 numbers[] = {0, 1, -1, 20260301, 20260302, 2147483647, -2147483647 - 1};
        TListingMaListe list;
        QList<TElementListing> all;
        for (int i = 0; i < count; ++i) {
            TElementListing e;
            const int c = live[int(rng.bounded(int(live.size())))];
            e.societe = &companies[c].nom;
            e.societeRank = ranked ? ranks[c] : -1;
            titles.emplace_back();
            const char* title = titleTexts[rng.bounded(6)];
            titles.back().setBytes(title, int(strlen(title)));
            e.intitule = &titles.back();
            letters.emplace_back();
            const char* code = codes[rng.bounded(5)];
            letters.back().setBytes(code, int(strlen(code)));
            e.categorie = &letters.back();
            e.statut = numbers[rng.bounded(3)];
            e.date = numbers[rng.bounded(7)];
            e.marqueur = numbers[rng.bounded(3)];
            e.rdv = numbers[rng.bounded(3)];
            if (ranked) { // as the listing makes them; other lists leave the prefixes out
                e.societePrefix = textPrefix(*e.societe);
                e.intitulePrefix = textPrefix(*e.intitule);
                e.categoriePrefix = textPrefix(*e.categorie);
            }
            e.index = i;
            all.append(e);
        }
        // Added in another order than the table's.
        for (int i = int(all.size()) - 1; i >= 0; --i)
            list.add(all[i]);
        const OrdreCles keys = prepared(tri);
        list.sort(keys);
        std::stable_sort(all.begin(), all.end(),
                         [&](const TElementListing& a, const TElementListing& b) {
                             return compareElements(a, b, keys) < 0;
                         });
        QCOMPARE(list.size(), int(all.size()));
        for (int k = 0; k < list.size(); ++k)
            QCOMPARE(list.at(k).index, all[k].index);
    }

    void menuPositionsOfTheLetters_data()
    {
        QTest::addColumn<QString>("tri");
        QTest::addColumn<int>("position");
        QTest::newRow("Tri par date") << "d" << 0;
        QTest::newRow("Tri par société") << "s" << 1;
        QTest::newRow("Tri par catégorie") << "c" << 2;
        QTest::newRow("Tri par intitulé") << "i" << 3;
        QTest::newRow("Tri par rendez-vous") << "r" << 4;
        QTest::newRow("Tri par statut") << "f" << 5;
        QTest::newRow("Tri par marqueur") << "m" << 6;
        QTest::newRow("outside the table") << "x" << -1;
        QTest::newRow("capital") << "S" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void menuPositionsOfTheLetters()
    {
        QFETCH(QString, tri);
        QFETCH(int, position);
        QCOMPARE(sortPosition(tri), position);
    }
};

QTEST_GUILESS_MAIN(TestSort)
#include "tst_sort.moc"
