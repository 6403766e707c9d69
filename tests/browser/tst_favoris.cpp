// The favourites in favoris.dat: adding, the unique names, deleting with
// the safety copy, and favoris.dat whole whatever fails.

#include "browser/favoris.h"
#include "common/testfiles.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList namesOnDisk(const QString& path)
{
    const QByteArray b = readBytes(path);
    QStringList names;
    for (qsizetype at = 0; at + 512 <= b.size(); at += 512) {
        TFavoriRec f;
        std::memcpy(&f, b.constData() + at, sizeof f);
        names.append(f.nom.text());
    }
    return names;
}
} // namespace

class TestFavoris : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        store = std::make_unique<TestStore>(dir->path());
        QVERIFY(store->Initialisation().isEmpty());
    }

    void adding()
    {
        QVERIFY(
            favoris::ajoute(*store, QStringLiteral("Offres"), QStringLiteral("http://a.fr/")).ok);
        QVERIFY(
            favoris::ajoute(*store, QStringLiteral("agences"), QStringLiteral("http://b.fr/")).ok);
        // The same name in another letter case is another favourite.
        QVERIFY(
            favoris::ajoute(*store, QStringLiteral("offres"), QStringLiteral("http://c.fr/")).ok);
        const Result twice =
            favoris::ajoute(*store, QStringLiteral("Offres"), QStringLiteral("http://d.fr/"));
        QVERIFY(!twice.ok);
        QCOMPARE(twice.error, QStringLiteral("Un favori portant ce nom existe déjà."));
        QCOMPARE(namesOnDisk(store->path("favoris.dat")),
                 QStringList({"Offres", "agences", "offres"}));
        QCOMPARE(store->Favoris.size(), 3);
        QCOMPARE(store->Favoris[2].url.text(), QStringLiteral("http://c.fr/"));
        // Listed alphabetically, letter case second.
        QCOMPARE(favoris::noms(store->Favoris), QStringList({"agences", "Offres", "offres"}));
        QCOMPARE(favoris::indexOf(store->Favoris, QStringLiteral("offres")), 2);
    }

    void longAndForeignTexts()
    {
        const QString longName(300, QLatin1Char('n'));
        QVERIFY(favoris::ajoute(*store, longName,
                                QStringLiteral("http://a.fr/") + QString(400, QLatin1Char('p')))
                    .ok);
        QCOMPARE(store->Favoris[0].nom.text(), longName.left(255));
        QCOMPARE(store->Favoris[0].url.text().size(), 255);
        // A cut name is taken: the next one cut the same way is a duplicate.
        QVERIFY(!favoris::ajoute(*store, longName + QLatin1Char('x'), QStringLiteral("u")).ok);

        const QByteArray before = readBytes(store->path("favoris.dat"));
        const Result r =
            favoris::ajoute(*store, QStringLiteral("Offres 日本"), QStringLiteral("u"));
        QVERIFY(!r.ok);
        QVERIFY(r.error.startsWith(QStringLiteral("Impossible d'enregistrer le favori: ")));
        QCOMPARE(readBytes(store->path("favoris.dat")), before);
        // An address out of the character set is kept in its encoded form.
        QVERIFY(favoris::ajoute(*store, QStringLiteral("Été"),
                                QStringLiteral("https://exemple.fr/offres/東京"))
                    .ok);
        QCOMPARE(store->Favoris[1].url.text(),
                 QStringLiteral("https://exemple.fr/offres/%E6%9D%B1%E4%BA%AC"));
        QCOMPARE(store->Favoris[1].nom.text(), QStringLiteral("Été"));
    }

    void failedAppend()
    {
        QVERIFY(favoris::ajoute(*store, QStringLiteral("A"), QStringLiteral("http://a.fr/")).ok);
        const QByteArray before = readBytes(store->path("favoris.dat"));
        store->fileBudget = 100;
        const Result r =
            favoris::ajoute(*store, QStringLiteral("B"), QStringLiteral("http://b.fr/"));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.startsWith(QStringLiteral("Impossible d'enregistrer le favori: ")) &&
                     !r.error.contains(QLatin1String("favoris.dat")),
                 qPrintable(r.error));
        QCOMPARE(readBytes(store->path("favoris.dat")), before);
        QCOMPARE(store->Favoris.size(), 1);
    }

    void deleting()
    {
        for (const char* n : {"Un", "Deux", "Trois", "Quatre"})
            QVERIFY(
                favoris::ajoute(*store, QString::fromLatin1(n), QStringLiteral("http://x.fr/")).ok);
        const QByteArray before = readBytes(store->path("favoris.dat"));
        QVERIFY(favoris::supprime(*store, QStringLiteral("Deux")).ok);
        QCOMPARE(namesOnDisk(store->path("favoris.dat")), QStringList({"Un", "Trois", "Quatre"}));
        QCOMPARE(store->Favoris.size(), 3);
        QCOMPARE(store->Favoris[1].nom.text(), QStringLiteral("Trois"));
        QCOMPARE(readBytes(store->path("backup/favoris.dat")), before);
        // A second deletion replaces the safety copy with the file before it.
        const QByteArray second = readBytes(store->path("favoris.dat"));
        QVERIFY(favoris::supprime(*store, QStringLiteral("Un")).ok);
        QCOMPARE(readBytes(store->path("backup/favoris.dat")), second);
    }

    void failedRewriteLeavesTheFileWhole()
    {
        for (const char* n : {"Un", "Deux", "Trois"})
            QVERIFY(
                favoris::ajoute(*store, QString::fromLatin1(n), QStringLiteral("http://x.fr/")).ok);
        const QByteArray before = readBytes(store->path("favoris.dat"));
        store->failingSuffix = store->path("favoris.dat");
        store->saveBudget = 600;
        const Result r = favoris::supprime(*store, QStringLiteral("Un"));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.startsWith(QStringLiteral("T221: ")), qPrintable(r.error));
        QCOMPARE(readBytes(store->path("favoris.dat")), before);
        QCOMPARE(readBytes(store->path("backup/favoris.dat")), before);
        QCOMPARE(store->Favoris.size(), 3);
    }

    void failedSafetyCopyChangesNothing()
    {
        QVERIFY(favoris::ajoute(*store, QStringLiteral("Un"), QStringLiteral("http://x.fr/")).ok);
        const QByteArray before = readBytes(store->path("favoris.dat"));
        store->failingSuffix = store->path("backup/favoris.dat");
        store->saveBudget = 10;
        const Result r = favoris::supprime(*store, QStringLiteral("Un"));
        QVERIFY(!r.ok);
        QCOMPARE(r.error, QStringLiteral("T219.\rT220."));
        QCOMPARE(readBytes(store->path("favoris.dat")), before);
        QCOMPARE(store->Favoris.size(), 1);
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TestStore> store;
};

QTEST_GUILESS_MAIN(TestFavoris)
#include "tst_favoris.moc"
