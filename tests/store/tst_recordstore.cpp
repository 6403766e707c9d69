// Store operations on real files: creation, append, update in place, safety
// copy and rewrite. A failed write must leave the file byte for byte as it was
// and give back its message; the store itself never shows one.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/helpers.h"
#include "store/store.h"
#include "store/tables.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

class RecordingUi : public StoreUi
{
public:
    qint64 maximum = -1, steps = 0;
    int hidden = 0;
    void progressStart(qint64 m) override
    {
        maximum = m;
        steps = 0;
    }
    void progressStep(qint64 s) override { steps += s; }
    void progressHide() override { ++hidden; }
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
        QVERIFY(s.Initialisation().isEmpty());
        for (const char* f : {"societes.dat", "contacts.dat", "candidatures.dat", "favoris.dat"}) {
            QFileInfo info(s.path(QString::fromLatin1(f)));
            QVERIFY2(info.isFile() && info.size() == 0, f);
        }
        for (const char* d : {"txt", "backup", "Import"})
            QVERIFY(QFileInfo(s.path(QString::fromLatin1(d))).isDir());
        QCOMPARE(m.count(), 0);
        // Existing files are never touched.
        writeBytes(s.path("societes.dat"), recordBytes(makeSociete(1, "ACME")));
        QVERIFY(s.Initialisation().isEmpty());
        QCOMPARE(readBytes(s.path("societes.dat")).size(), 604);
    }

    void creationFailuresAreReportedAndTheRestGoesOn()
    {
        FakeMessages m;
        Store s(dir->path());
        // A file where a directory should be, and a directory where a file should be.
        writeBytes(s.path("txt"), "x");
        QDir(dir->path()).mkpath("contacts.dat/sub");
        const QStringList failures = s.Initialisation();
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0], QStringLiteral("Erreur lors de la création du répertoire \"txt\"\r\r"
                                             "Un fichier porte déjà ce nom."));
        QCOMPARE(m.count(), 0);
        QVERIFY(QFileInfo(s.path("backup")).isDir());
        QVERIFY(QFileInfo(s.path("favoris.dat")).isFile());
    }

    void appendGoesToTheRecordBoundary()
    {
        FakeMessages m;
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeSociete(1, "ACME")).ok);
        // An incomplete record at the end (a crash of another program) is replaced.
        QFile f(s.path("societes.dat"));
        QVERIFY(f.open(QIODevice::Append));
        f.write("garbage");
        f.close();
        QVERIFY(s.append(makeSociete(2, "BETA")).ok);
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
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeCandidature(1, 1, "Comptable")).ok);
        const QByteArray before = readBytes(s.path("candidatures.dat"));
        s.fileBudget = budget;
        const Result r = s.append(makeCandidature(2, 1, "Juriste"));
        QVERIFY(!r.ok);
        QCOMPARE(readBytes(s.path("candidatures.dat")), before);
        QCOMPARE(s.Candidatures.size(), 1);
        QVERIFY2(r.error.startsWith("Impossible d'enregistrer dans \"candidatures.dat\" :\r\r") &&
                     r.error.size() > 50,
                 qPrintable(r.error));
        QCOMPARE(m.count(), 0);
    }

    void appendRefusesAFileChangedBehindItsBack()
    {
        FakeMessages m;
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        writeBytes(s.path("contacts.dat"), recordBytes(makeContact(4, 1, "Durand")));
        QCOMPARE(s.append(makeContact(1, 1, "Martin")).error,
                 QStringLiteral("Impossible d'enregistrer dans \"contacts.dat\" :\r\r"
                                "le fichier a été modifié en dehors du programme"));
        QCOMPARE(readBytes(s.path("contacts.dat")).size(), 236);
        QVERIFY(s.Contacts.isEmpty());
        // A missing file is an error of the append, not a new file.
        QFile::remove(s.path("favoris.dat"));
        TFavoriRec f{};
        f.nom = QStringLiteral("Site");
        const Result r = s.append(f);
        QVERIFY(!r.ok);
        QVERIFY(r.error.startsWith("Impossible d'enregistrer dans \"favoris.dat\" :\r\r"));
        QVERIFY(!QFile::exists(s.path("favoris.dat")));
        QCOMPARE(m.count(), 0);
    }

    void updateInPlaceWritesOnlyThatRecord()
    {
        FakeMessages m;
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.append(makeCandidature(i, 1, QStringLiteral("Poste %1").arg(i))).ok);
        TCandidatureRec c = s.Candidatures[1];
        c.marqueur = 1;
        c.intitule = QStringLiteral("Poste modifié");
        QVERIFY(s.UpdateCandidature(1, c).ok);
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
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeSociete(1, "ACME")).ok);
        QVERIFY(s.append(makeSociete(2, "BETA")).ok);
        const QByteArray before = readBytes(s.path("societes.dat"));
        TSocieteRec changed = s.Societes[0];
        changed.ville = QStringLiteral("Lyon");
        s.fileBudget = 100;
        const Result r = s.UpdateSociete(0, changed);
        QVERIFY(!r.ok);
        // The part that did reach the file is put back: no torn record.
        QCOMPARE(readBytes(s.path("societes.dat")), before);
        QVERIFY(s.Societes[0].ville.isEmpty());
        QVERIFY(r.error.startsWith(QStringLiteral(
            "Une erreur est survenue lors de la mise à jour de \"societes.dat\"\r\r")));
        QVERIFY(!s.Occupe);

        s.fileBudget = 0;
        TCandidatureRec c = makeCandidature(1, 1, "x");
        // No such record.
        QCOMPARE(
            s.UpdateCandidature(5, c).error,
            QStringLiteral("T229 \"candidatures.dat\"\r\rEnregistrement 6 absent de la table"));
        QCOMPARE(m.count(), 0);
    }

    void safetyCopyAndRewriteDropTheRecordsAsked()
    {
        FakeMessages m;
        RecordingUi ui;
        Store s(dir->path());
        s.setUi(&ui);
        QVERIFY(s.Initialisation().isEmpty());
        for (int i = 1; i <= 5; ++i)
            QVERIFY(s.append(makeCandidature(i, 1, QStringLiteral("P%1").arg(i))).ok);
        const QByteArray before = readBytes(s.path("candidatures.dat"));
        const RewriteResult r = s.rewriteWithout<TCandidatureRec>(
            [](const TCandidatureRec& c) { return qint32(c.id) == 3; });
        QCOMPARE(r.outcome, Rewrite::Done);
        QVERIFY(r.error.isEmpty());
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

    void failedRewriteKeepsTheOldFileAndSaysTheProgramEnds()
    {
        FakeMessages m;
        RecordingUi ui;
        TestStore s(dir->path());
        s.setUi(&ui);
        QVERIFY(s.Initialisation().isEmpty());
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.append(makeSociete(i, QStringLiteral("S%1").arg(i))).ok);
        const QByteArray before = readBytes(s.path("societes.dat"));
        s.failingSuffix = s.path("societes.dat");
        s.saveBudget = 700;
        const RewriteResult r =
            s.rewriteWithout<TSocieteRec>([](const TSocieteRec& c) { return qint32(c.id) == 1; });
        QCOMPARE(r.outcome, Rewrite::Failed);
        QCOMPARE(readBytes(s.path("societes.dat")), before);
        QCOMPARE(readBytes(s.path("backup/societes.dat")), before);
        QCOMPARE(s.Societes.size(), 3);
        QCOMPARE(ui.hidden, 1);
        QVERIFY(!s.Occupe);
        QCOMPARE(m.count(), 0);
        QVERIFY(r.error.startsWith(QStringLiteral(
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
        QVERIFY(s.Initialisation().isEmpty());
        for (int i = 1; i <= 2; ++i)
            QVERIFY(s.append(makeContact(i, 1, QStringLiteral("C%1").arg(i))).ok);
        writeBytes(s.path("backup/contacts.dat"), "previous backup");
        const QByteArray before = readBytes(s.path("contacts.dat"));
        s.failingSuffix = QStringLiteral("backup/contacts.dat");
        s.saveBudget = 10;
        const RewriteResult r =
            s.rewriteWithout<TContactRec>([](const TContactRec&) { return true; });
        QCOMPARE(r.outcome, Rewrite::Unchanged);
        QCOMPARE(readBytes(s.path("contacts.dat")), before);
        QCOMPARE(readBytes(s.path("backup/contacts.dat")), QByteArray("previous backup"));
        QCOMPARE(s.Contacts.size(), 2);
        QCOMPARE(m.count(), 0);
        // It says that the safety copy failed, not that a file could not be deleted.
        QVERIFY(r.error.startsWith(QStringLiteral("T223\r") + s.path("contacts.dat") + "\r\r" +
                                   s.path("backup/contacts.dat") + " : "));
        QVERIFY(!s.Occupe);
    }

    void moveAndDeleteFiles()
    {
        FakeMessages m;
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        writeBytes(s.path("a.pdf"), "A");
        writeBytes(s.path("Import/b.pdf"), "old");
        QVERIFY(s.DeplaceFichier(s.path("a.pdf"), s.path("Import/b.pdf")).ok);
        QCOMPARE(readBytes(s.path("Import/b.pdf")), QByteArray("A"));
        QVERIFY(!QFile::exists(s.path("a.pdf")));
        const Result moved = s.DeplaceFichier(s.path("missing.pdf"), s.path("Import/c.pdf"));
        QVERIFY(!moved.ok);
        QVERIFY(moved.error.startsWith(QStringLiteral("T223\r") + s.path("missing.pdf") + "\r\r"));
        QVERIFY(s.DeleteFichier(s.path("Import/b.pdf")).ok);
        QVERIFY(s.DeleteFichier(s.path("Import/b.pdf")).ok); // already gone
        // A directory in the way is a failure with the file and the reason.
        QDir(dir->path()).mkpath("Import/d.pdf/inside");
        const Result deleted = s.DeleteFichier(s.path("Import/d.pdf"));
        QVERIFY(!deleted.ok);
        QVERIFY(
            deleted.error.startsWith(QStringLiteral("T222\r") + s.path("Import/d.pdf") + "\r\r"));
        QCOMPARE(m.count(), 0);
    }

    void aFileThatFailedToLoadIsNeverWritten()
    {
        FakeMessages m;
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        writeBytes(s.path("societes.dat"), recordBytes(makeSociete(1, "ACME")));
        s.setLoadFailure(FileKind::Societes, QStringLiteral("Permission refusée"));
        const QString refusal = QStringLiteral(
            "Le fichier \"societes.dat\" n'a pas pu être lu en entier au démarrage : aucune "
            "modification n'y est enregistrée, afin de ne rien perdre de ce qu'il "
            "contient.\r\rPermission refusée");
        QCOMPARE(s.writable(FileKind::Societes, "societes.dat").error, refusal);
        QVERIFY(s.writable(FileKind::Contacts, "contacts.dat").ok);
        QCOMPARE(s.append(makeSociete(2, "BETA")).error, refusal);
        const RewriteResult r =
            s.rewriteWithout<TSocieteRec>([](const TSocieteRec&) { return true; });
        QCOMPARE(r.outcome, Rewrite::Unchanged);
        QCOMPARE(r.error, refusal);
        QCOMPARE(s.UpdateSociete(0, makeSociete(1, "ACME bis")).error, refusal);
        QCOMPARE(readBytes(s.path("societes.dat")).size(), 604);
        QVERIFY(!QFile::exists(s.path("backup/societes.dat")));
        QCOMPARE(m.count(), 0);
    }

    void busyPhasesEndWhateverWayTheyAreLeft()
    {
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        {
            const Store::Busy outer(s);
            {
                const Store::Busy inner(s);
                QVERIFY(s.Occupe);
            }
            // An inner phase does not end the outer one.
            QVERIFY(s.Occupe);
        }
        QVERIFY(!s.Occupe);

        // A stored date that cannot be read raises an error in the middle of
        // a rewrite: the store is no longer busy, and nothing was written.
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.append(makeCandidature(i, 1, QStringLiteral("P%1").arg(i))).ok);
        const QByteArray before = readBytes(s.path("candidatures.dat"));
        bool raised = false;
        try {
            (void)s.rewriteWithout<TCandidatureRec>([](const TCandidatureRec& c) {
                return SQL2DateTime(qint32(c.id) == 2 ? QStringLiteral("20261399")
                                                      : c.date.text()) > 0;
            });
        } catch (const DateError&) {
            raised = true;
        }
        QVERIFY(raised);
        QVERIFY(!s.Occupe);
        QCOMPARE(readBytes(s.path("candidatures.dat")), before);
        QCOMPARE(s.Candidatures.size(), 3);
    }

    void findByIdFindsOnlyLiveRecords()
    {
        QList<TSocieteRec> t{makeSociete(4, "ACME"), makeSociete(9, QString()),
                             makeSociete(9, "BETA"), makeSociete(9, "GAMMA")};
        QCOMPARE(findById(t, 4), 0);
        // A record that is not live keeps its place but is never found.
        QCOMPARE(findById(t, 9), 2);
        QCOMPARE(findById(t, 5), -1);
        QCOMPARE(findById(QList<TCandidatureRec>{}, 1), -1);
    }
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
