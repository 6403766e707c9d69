// Store operations on real files: creation, append, update in place, safety
// copy and rewrite. A failed write must leave the file byte for byte as it was.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/store.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

class RecordingUi : public StoreUi
{
public:
    qint64 maximum = -1, steps = 0;
    int hidden = 0, ended = 0;
    void progressStart(qint64 m) override
    {
        maximum = m;
        steps = 0;
    }
    void progressStep(qint64 s) override { steps += s; }
    void progressHide() override { ++hidden; }
    void endProgram() override { ++ended; }
};

} // namespace

class TestRecordStore : public QObject
{
    Q_OBJECT
    QTemporaryDir* dir = nullptr;

private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }
    void init()
    {
        dir = new QTemporaryDir;
        QVERIFY(dir->isValid());
    }
    void cleanup() { delete dir; }

    void firstStartCreatesFilesAndDirectories()
    {
        FakeMessages m;
        Store s(dir->path());
        s.Initialisation();
        for (const char* f : {"societes.dat", "contacts.dat", "candidatures.dat", "favoris.dat"}) {
            QFileInfo info(s.path(QString::fromLatin1(f)));
            QVERIFY2(info.isFile() && info.size() == 0, f);
        }
        for (const char* d : {"txt", "backup", "Import"})
            QVERIFY(QFileInfo(s.path(QString::fromLatin1(d))).isDir());
        QCOMPARE(m.count(), 0);
        // Existing files are never touched.
        writeBytes(s.path("societes.dat"), recordBytes(makeSociete(1, "ACME")));
        s.Initialisation();
        QCOMPARE(readBytes(s.path("societes.dat")).size(), 604);
    }

    void creationFailuresAreReportedAndTheRestGoesOn()
    {
        FakeMessages m;
        Store s(dir->path());
        // A file where a directory should be, and a directory where a file should be.
        writeBytes(s.path("txt"), "x");
        QDir(dir->path()).mkpath("contacts.dat/sub");
        s.Initialisation();
        QCOMPARE(m.count(), 1);
        QCOMPARE(m.shown[0].kind, msg::Kind::Error);
        QVERIFY(m.shown[0].text.startsWith(
            QStringLiteral("Erreur lors de la création du répertoire \"txt\"\r\r")));
        QVERIFY(QFileInfo(s.path("backup")).isDir());
        QVERIFY(QFileInfo(s.path("favoris.dat")).isFile());
    }

    void appendGoesToTheRecordBoundary()
    {
        FakeMessages m;
        Store s(dir->path());
        s.Initialisation();
        QVERIFY(s.append(makeSociete(1, "ACME")));
        // An incomplete record at the end (a crash of another program) is replaced.
        QFile f(s.path("societes.dat"));
        QVERIFY(f.open(QIODevice::Append));
        f.write("garbage");
        f.close();
        QVERIFY(s.append(makeSociete(2, "BETA")));
        const QByteArray bytes = readBytes(s.path("societes.dat"));
        QCOMPARE(bytes.size(), 2 * 604);
        QCOMPARE(bytes.mid(604), recordBytes(makeSociete(2, "BETA")));
        QCOMPARE(s.Societes.size(), 2);
        QCOMPARE(s.Societes[1].nom.text(), QStringLiteral("BETA"));
        QCOMPARE(m.count(), 0);
    }

    void failedAppendLeavesFileAndTableAsBefore_data()
    {
        QTest::addColumn<qint64>("budget");
        QTest::newRow("nothing written") << qint64(0);
        QTest::newRow("half a record") << qint64(800);
        QTest::newRow("all but one byte") << qint64(1643);
    }
    void failedAppendLeavesFileAndTableAsBefore()
    {
        QFETCH(qint64, budget);
        FakeMessages m;
        TestStore s(dir->path());
        s.Initialisation();
        QVERIFY(s.append(makeCandidature(1, 1, "Comptable")));
        const QByteArray before = readBytes(s.path("candidatures.dat"));
        s.fileBudget = budget;
        QVERIFY(!s.append(makeCandidature(2, 1, "Juriste")));
        QCOMPARE(readBytes(s.path("candidatures.dat")), before);
        QCOMPARE(s.Candidatures.size(), 1);
        QCOMPARE(m.count(), 1);
        QVERIFY(m.shown[0].text.contains("candidatures.dat"));
    }

    void appendRefusesAFileChangedBehindItsBack()
    {
        FakeMessages m;
        Store s(dir->path());
        s.Initialisation();
        writeBytes(s.path("contacts.dat"), recordBytes(makeContact(4, 1, "Durand")));
        QVERIFY(!s.append(makeContact(1, 1, "Martin")));
        QCOMPARE(readBytes(s.path("contacts.dat")).size(), 236);
        QVERIFY(s.Contacts.isEmpty());
        // A missing file is an error of the append, not a new file.
        QFile::remove(s.path("favoris.dat"));
        TFavoriRec f{};
        f.nom = QStringLiteral("Site");
        QVERIFY(!s.append(f));
        QVERIFY(!QFile::exists(s.path("favoris.dat")));
        QCOMPARE(m.count(), 2);
    }

    void updateInPlaceWritesOnlyThatRecord()
    {
        FakeMessages m;
        Store s(dir->path());
        s.Initialisation();
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.append(makeCandidature(i, 1, QStringLiteral("Poste %1").arg(i))));
        TCandidatureRec c = s.Candidatures[1];
        c.marqueur = 1;
        c.intitule = QStringLiteral("Poste modifié");
        QVERIFY(s.UpdateCandidature(1, c));
        const QByteArray bytes = readBytes(s.path("candidatures.dat"));
        QCOMPARE(bytes.size(), 3 * 1644);
        QCOMPARE(bytes.mid(1644, 1644), recordBytes(c));
        QCOMPARE(bytes.left(1644), recordBytes(s.Candidatures[0]));
        QCOMPARE(s.Candidatures[1].intitule.text(), QStringLiteral("Poste modifié"));
        QVERIFY(!s.Occupe);
    }

    void failedUpdateLeavesFileAndTableAsBefore()
    {
        FakeMessages m;
        TestStore s(dir->path());
        s.Initialisation();
        QVERIFY(s.append(makeSociete(1, "ACME")));
        QVERIFY(s.append(makeSociete(2, "BETA")));
        const QByteArray before = readBytes(s.path("societes.dat"));
        TSocieteRec changed = s.Societes[0];
        changed.ville = QStringLiteral("Lyon");
        s.fileBudget = 100;
        QVERIFY(!s.UpdateSociete(0, changed));
        // The part that did reach the file is put back: no torn record.
        QCOMPARE(readBytes(s.path("societes.dat")), before);
        QVERIFY(s.Societes[0].ville.isEmpty());
        QCOMPARE(m.count(), 1);
        QVERIFY(m.shown[0].text.startsWith(QStringLiteral(
            "Une erreur est survenue lors de la mise à jour de \"societes.dat\"\r\r")));
        QVERIFY(!s.Occupe);

        s.fileBudget = 0;
        TCandidatureRec c = makeCandidature(1, 1, "x");
        QVERIFY(!s.UpdateCandidature(5, c)); // no such record
        QVERIFY(m.shown.last().text.startsWith(QStringLiteral("T229 \"candidatures.dat\"\r\r")));
    }

    void safetyCopyAndRewriteDropTheRecordsAsked()
    {
        FakeMessages m;
        RecordingUi ui;
        Store s(dir->path());
        s.setUi(&ui);
        s.Initialisation();
        for (int i = 1; i <= 5; ++i)
            QVERIFY(s.append(makeCandidature(i, 1, QStringLiteral("P%1").arg(i))));
        const QByteArray before = readBytes(s.path("candidatures.dat"));
        const Rewrite r = s.rewriteWithout<TCandidatureRec>(
            [](const TCandidatureRec& c) { return qint32(c.id) == 3; });
        QCOMPARE(r, Rewrite::Done);
        QCOMPARE(readBytes(s.path("backup/candidatures.dat")), before);
        const QByteArray after = readBytes(s.path("candidatures.dat"));
        QCOMPARE(after, before.left(2 * 1644) + before.mid(3 * 1644));
        QCOMPARE(s.Candidatures.size(), 4);
        QCOMPARE(qint32(s.Candidatures[2].id), 4);
        QCOMPARE(ui.maximum, 5);
        QCOMPARE(ui.steps, 5);
        QCOMPARE(ui.hidden, 1);
        QVERIFY(!s.Occupe);
        QCOMPARE(m.count(), 0);
    }

    void failedRewriteKeepsTheOldFileAndEndsTheProgram()
    {
        FakeMessages m;
        RecordingUi ui;
        TestStore s(dir->path());
        s.setUi(&ui);
        s.Initialisation();
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.append(makeSociete(i, QStringLiteral("S%1").arg(i))));
        const QByteArray before = readBytes(s.path("societes.dat"));
        s.failingSuffix = s.path("societes.dat");
        s.saveBudget = 700;
        const Rewrite r =
            s.rewriteWithout<TSocieteRec>([](const TSocieteRec& c) { return qint32(c.id) == 1; });
        QCOMPARE(r, Rewrite::Failed);
        QCOMPARE(readBytes(s.path("societes.dat")), before);
        QCOMPARE(readBytes(s.path("backup/societes.dat")), before);
        QCOMPARE(s.Societes.size(), 3);
        QCOMPARE(ui.ended, 1);
        QCOMPARE(m.count(), 1);
        QVERIFY(m.shown[0].text.startsWith(QStringLiteral(
            "Une erreur critique est survenue lors de la regénération du fichier sociétés.\r"
            "L'application va se terminer maintenant. Si au prochain lancement vous constatez des "
            "erreurs dans le listing, restaurez manuellement le fichier \"societes.dat\" qui se "
            "trouve dans le répertoire \"Backup\"\r\r")));
    }

    void failedSafetyCopyChangesNothing()
    {
        FakeMessages m;
        RecordingUi ui;
        TestStore s(dir->path());
        s.setUi(&ui);
        s.Initialisation();
        for (int i = 1; i <= 2; ++i)
            QVERIFY(s.append(makeContact(i, 1, QStringLiteral("C%1").arg(i))));
        writeBytes(s.path("backup/contacts.dat"), "previous backup");
        const QByteArray before = readBytes(s.path("contacts.dat"));
        s.failingSuffix = QStringLiteral("backup/contacts.dat");
        s.saveBudget = 10;
        const Rewrite r = s.rewriteWithout<TContactRec>([](const TContactRec&) { return true; });
        QCOMPARE(r, Rewrite::Unchanged);
        QCOMPARE(readBytes(s.path("contacts.dat")), before);
        QCOMPARE(readBytes(s.path("backup/contacts.dat")), QByteArray("previous backup"));
        QCOMPARE(s.Contacts.size(), 2);
        QCOMPARE(ui.ended, 0);
        QCOMPARE(m.count(), 1);
        QVERIFY(
            m.shown[0].text.startsWith(QStringLiteral("T222\r") + s.path("backup/contacts.dat")));
        QVERIFY(!s.Occupe);
    }

    void moveAndDeleteFiles()
    {
        FakeMessages m;
        Store s(dir->path());
        s.Initialisation();
        writeBytes(s.path("a.pdf"), "A");
        writeBytes(s.path("Import/b.pdf"), "old");
        QVERIFY(s.DeplaceFichier(s.path("a.pdf"), s.path("Import/b.pdf")));
        QCOMPARE(readBytes(s.path("Import/b.pdf")), QByteArray("A"));
        QVERIFY(!QFile::exists(s.path("a.pdf")));
        QVERIFY(!s.DeplaceFichier(s.path("missing.pdf"), s.path("Import/c.pdf")));
        QVERIFY(m.shown.last().text.startsWith(QStringLiteral("T223\r") + s.path("missing.pdf") +
                                               "\r\r"));
        QVERIFY(s.DeleteFichier(s.path("Import/b.pdf")));
        QVERIFY(s.DeleteFichier(s.path("Import/b.pdf"))); // already gone
        QCOMPARE(m.count(), 1);
    }

    void aFileThatFailedToLoadIsNeverWritten()
    {
        FakeMessages m;
        Store s(dir->path());
        s.Initialisation();
        writeBytes(s.path("societes.dat"), recordBytes(makeSociete(1, "ACME")));
        s.setLoadFailure(FileKind::Societes, QStringLiteral("Permission refusée"));
        QVERIFY(!s.append(makeSociete(2, "BETA")));
        QCOMPARE(s.rewriteWithout<TSocieteRec>([](const TSocieteRec&) { return true; }),
                 Rewrite::Unchanged);
        QCOMPARE(readBytes(s.path("societes.dat")).size(), 604);
        QVERIFY(!QFile::exists(s.path("backup/societes.dat")));
        QCOMPARE(m.count(), 2);
        QVERIFY(m.shown[0].text.contains(QStringLiteral("Permission refusée")));
    }
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
