// The letter groups of the directory, the figures of a company and the
// deletion of a company with its contacts.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "directory/directoryrules.h"
#include "store/journal.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

QList<TSocieteRec> companies(const QStringList& names)
{
    QList<TSocieteRec> list;
    int id = 1;
    for (const QString& n : names)
        list.append(makeSociete(id++, n));
    return list;
}

class RecordingUi : public StoreUi
{
public:
    qint64 maximum = -1, steps = 0;
    int starts = 0, hides = 0;
    void progressStart(qint64 m) override
    {
        maximum = m;
        ++starts;
    }
    void progressStep(qint64 s) override { steps += s; }
    void progressHide() override { ++hides; }
};

} // namespace

class TestDirectoryRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void lettersGroupsOnFoldedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("group");
        QTest::newRow("accent folded") << "ÉCOLE DES MINES"
                                       << "f";
        QTest::newRow("été") << "ÉTÉ CONSEIL"
                             << "f";
        QTest::newRow("cedilla") << "ÇA ET LÀ"
                                 << "d";
        QTest::newRow("digit") << "3M FRANCE"
                               << "9";
        QTest::newRow("punctuation") << "(ASSOCIATION)"
                                     << "9";
        QTest::newRow("space") << " ESPACE"
                               << "9";
        QTest::newRow("not folded") << "ÅLAND"
                                    << "9";
        QTest::newRow("first of a pair") << "ACME"
                                         << "b";
        QTest::newRow("second of a pair") << "BETA"
                                          << "b";
        QTest::newRow("last pair") << "YOPLAIT"
                                   << "z";
        QTest::newRow("lower case") << "zeta"
                                    << "z";
    }
    void lettersGroupsOnFoldedNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, group);
        const QChar key = group.at(0);
        QCOMPARE(groupKeyOf(name), key);
        QVERIFY(inGroup(foldName(name), key));
        QVERIFY(inGroup(foldName(name), QLatin1Char('_')));
        // In no other group.
        for (const char* other :
             {"9", "b", "d", "f", "h", "j", "l", "n", "p", "r", "t", "v", "x", "z"})
            if (QLatin1Char(other[0]) != key)
                QVERIFY2(!inGroup(foldName(name), QLatin1Char(other[0])), other);
    }

    void groupsListSortedNamesWithDuplicates()
    {
        QList<TSocieteRec> socs =
            companies({"BETA", "acme", "ACME", "Alpha", "3M FRANCE", "", "ZOO"});
        socs[6].nom.len = 0; // a record that is not live
        const QStringList ab = companiesOfGroup(socs, QLatin1Char('b'));
        QCOMPARE(ab.size(), 4);
        QCOMPARE(ab.last(), QStringLiteral("BETA"));
        QCOMPARE(ab.mid(0, 2).join(',').toLower(),
                 QStringLiteral("acme,acme")); // equal names adjacent
        QCOMPARE(ab.at(2), QStringLiteral("Alpha"));
        QCOMPARE(companiesOfGroup(socs, QLatin1Char('9')), QStringList("3M FRANCE"));
        QCOMPARE(allCompanyNames(socs).size(), 5); // no empty name, even under "Toutes"
        QVERIFY(companiesOfGroup(socs, QLatin1Char('z')).isEmpty());
    }

    void figuresOfACompany()
    {
        const QLocale fr(QLocale::French, QLocale::France);
        KeyFigures none;
        QCOMPARE(directoryFigureTexts(none, fr), QStringList({"Candidature: 0", "", "", ""}));
        KeyFigures f;
        f.candidatures = 3;
        f.reponses = 2;
        f.entretiens = 1;
        QCOMPARE(
            directoryFigureTexts(f, fr),
            QStringList({"Candidatures: 3", "Réponses: 2 (Taux: 66,67%)",
                         "Entretien: 1 (Taux: 33,33%)", "Temps de réponse moyen non disponible"}));
        f.delays = 2;
        f.delaySum = 3;
        QCOMPARE(directoryFigureTexts(f, fr).last(),
                 QStringLiteral("Temps de réponse moyen: 1,5 jours"));
        f.delays = 1;
        f.delaySum = 1;
        QCOMPARE(directoryFigureTexts(f, fr).last(),
                 QStringLiteral("Temps de réponse moyen: 1 jour"));
        f.delaySum = 0;
        QCOMPARE(directoryFigureTexts(f, fr).last(),
                 QStringLiteral("Temps de réponse moyen: 0 jour"));
        f.reponses = 0;
        QCOMPARE(directoryFigureTexts(f, fr).at(1), QStringLiteral("Réponse: 0 (Taux: 0%)"));
    }

    void aCompanyWithApplicationsIsNotDeleted_data()
    {
        QTest::addColumn<int>("applications");
        QTest::addColumn<QString>("first");
        QTest::newRow("one") << 1 << "Il existe 1 candidature concernant cette société.";
        QTest::newRow("three") << 3 << "Il existe 3 candidatures concernant cette société.";
    }
    void aCompanyWithApplicationsIsNotDeleted()
    {
        QFETCH(int, applications);
        QFETCH(QString, first);
        QTemporaryDir dir;
        FakeMessages m;
        Store s(dir.path());
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeSociete(1, "ACME")).ok);
        for (int i = 1; i <= applications; ++i)
            QVERIFY(s.append(makeCandidature(i, 1, "Poste")).ok);
        QCOMPARE(companyDeletionRefusal(s.Candidatures, 1),
                 first + "\rVeuillez supprimer toutes les candidatures liées avant de "
                         "supprimer cette société.");
        // Applications of other companies, and those that are not live, do not count.
        QVERIFY(companyDeletionRefusal(s.Candidatures, 2).isEmpty());
        TCandidatureRec hidden = makeCandidature(9, 2, "");
        QVERIFY(companyDeletionRefusal({hidden}, 2).isEmpty());
        QCOMPARE(m.count(), 0);
    }

    void deletionRewritesBothFilesInOrder()
    {
        QTemporaryDir dir;
        FakeMessages m;
        RecordingUi ui;
        Store s(dir.path());
        s.setUi(&ui);
        QVERIFY(s.Initialisation().isEmpty());
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.append(makeSociete(i, QStringLiteral("S%1").arg(i))).ok);
        QVERIFY(s.append(makeContact(1, 2, "A")).ok);
        QVERIFY(s.append(makeContact(2, 1, "B")).ok);
        QVERIFY(s.append(makeContact(3, 2, "C")).ok);
        QVERIFY(s.append(makeContact(4, 3, "D")).ok);
        writeBytes(s.path("backup/contacts.dat"), "old copy");
        const QByteArray socs = readBytes(s.path("societes.dat"));
        const QByteArray contacts = readBytes(s.path("contacts.dat"));
        QVERIFY(companyDeletionRefusal(s.Candidatures, 2).isEmpty());
        const RewriteResult r = DelSociete(s, 2);
        QCOMPARE(r.outcome, Rewrite::Done);
        QVERIFY(r.error.isEmpty());
        QCOMPARE(m.count(), 0);
        QCOMPARE(readBytes(s.path("societes.dat")), socs.left(604) + socs.mid(2 * 604));
        QCOMPARE(readBytes(s.path("contacts.dat")), contacts.mid(236, 236) + contacts.mid(3 * 236));
        QCOMPARE(readBytes(s.path("backup/societes.dat")), socs);
        QCOMPARE(readBytes(s.path("backup/contacts.dat")), contacts);
        QCOMPARE(s.Contacts.size(), 2);
        QCOMPARE(qint32(s.Contacts[0].id), 2);
        QCOMPARE(qint32(s.Societes[1].id), 3);
        QCOMPARE(ui.maximum, 3 + 4);
        QCOMPARE(ui.steps, 3 + 4);
        QCOMPARE(ui.starts, 1);
        QCOMPARE(ui.hides, 1);
        QVERIFY(!s.Occupe);
    }

    void withoutAnyContactOnlyTheCompaniesAreRewritten()
    {
        QTemporaryDir dir;
        FakeMessages m;
        Store s(dir.path());
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeSociete(1, "ACME")).ok);
        QCOMPARE(DelSociete(s, 1).outcome, Rewrite::Done);
        QVERIFY(QFile::exists(s.path("backup/societes.dat")));
        QVERIFY(!QFile::exists(s.path("backup/contacts.dat")));
        QCOMPARE(readBytes(s.path("societes.dat")).size(), 0);
    }

    void aFailedRewriteSaysTheProgramEndsWithTheFileWhole()
    {
        QTemporaryDir dir;
        FakeMessages m;
        RecordingUi ui;
        TestStore s(dir.path());
        s.setUi(&ui);
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeSociete(1, "ACME")).ok);
        QVERIFY(s.append(makeSociete(2, "BETA")).ok);
        const QByteArray before = readBytes(s.path("societes.dat"));
        // The new content, written beside the file, fails.
        s.failingSuffix = s.path(journal::preparedName("societes.dat"));
        s.saveBudget = 10;
        const RewriteResult r = DelSociete(s, 1);
        QCOMPARE(r.outcome, Rewrite::Failed);
        QCOMPARE(readBytes(s.path("societes.dat")), before);
        QVERIFY(!QFile::exists(s.path(journal::preparedName("societes.dat"))));
        QVERIFY(!s.Occupe);
        QVERIFY(ui.hides >= 1);
        QCOMPARE(m.count(), 0);
        QVERIFY(r.error.startsWith(
            "Une erreur critique est survenue lors de la regénération du fichier sociétés."));
    }

    void aFailedContactsCopyKeepsTheCompanyAndItsContacts()
    {
        QTemporaryDir dir;
        FakeMessages m;
        RecordingUi ui;
        TestStore s(dir.path());
        s.setUi(&ui);
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeSociete(1, "ACME")).ok);
        QVERIFY(s.append(makeSociete(2, "BETA")).ok);
        QVERIFY(s.append(makeContact(1, 1, "A")).ok);
        const QByteArray societes = readBytes(s.path("societes.dat"));
        const QByteArray contacts = readBytes(s.path("contacts.dat"));
        s.failingSuffix = QStringLiteral("backup/contacts.dat");
        s.saveBudget = 0;
        const RewriteResult r = DelSociete(s, 1);
        QCOMPARE(r.outcome, Rewrite::Unchanged);
        QVERIFY(r.error.startsWith(GetTxt(223) + CR + s.path("contacts.dat") + CR + CR +
                                   s.path("backup/contacts.dat")));
        // The two files go together or not at all.
        QCOMPARE(readBytes(s.path("societes.dat")), societes);
        QCOMPARE(s.Societes.size(), 2);
        QCOMPARE(readBytes(s.path("contacts.dat")), contacts);
        QCOMPARE(s.Contacts.size(), 1);
        QVERIFY(!QFile::exists(s.path(journal::preparedName("societes.dat"))));
        QVERIFY(!QFile::exists(s.path(journal::FileName)));
        QCOMPARE(ui.starts, 1);
        QCOMPARE(ui.hides, 1);
        QVERIFY(!s.Occupe);
        QCOMPARE(m.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDirectoryRules)
#include "tst_directoryrules.moc"
