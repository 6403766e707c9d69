// The start-up loader: what reaches the tables, the progress and the
// status texts, and what happens with damaged files.
#include "common/testfiles.h"
#include "store/loader.h"
#include "store/settings.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace
{

class Target : public QObject, public LoaderTarget
{
public:
    QStringList statuses;
    qint64 total = -1, steps = 0;
    int stepCalls = 0;
    bool ended = false;
    void loaderStatus(const QString& t) override { statuses.append(t); }
    void loaderBegin(qint64 t) override { total = t; }
    void loaderStep(qint64 n) override
    {
        steps += n;
        ++stepCalls;
    }
    void loaderEnd() override { ended = true; }
};

// Stops the loader as the applications begin: the loader waits for its
// status to be shown, so the stop always comes before their first record.
class InterruptingTarget : public Target
{
public:
    QThread* loader = nullptr;
    void loaderStatus(const QString& text) override
    {
        Target::loaderStatus(text);
        if (text.contains(QStringLiteral("candidatures"))) loader->requestInterruption();
    }
};

// Runs the loader over a directory until it ends.
void load(Store& store, Target& target)
{
    TExeThread loader(&store, &target, &target);
    loader.start();
    QTRY_VERIFY_WITH_TIMEOUT(loader.isFinished(), 20000);
}

template <class T> void writeRecords(const QString& path, const QList<T>& records)
{
    writeBytes(path, QByteArray(reinterpret_cast<const char*>(records.constData()),
                                records.size() * qsizetype(sizeof(T))));
}

} // namespace

class TestLoader : public QObject
{
    Q_OBJECT
private slots:
    void loadsEveryFileWithStatusAndProgress()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        writeRecords(store.path("societes.dat"),
                     QList<TSocieteRec>{makeSociete(4, "ACME"), makeSociete(9, "BETA")});
        writeRecords(store.path("contacts.dat"), QList<TContactRec>{makeContact(3, 4, "Durand")});
        QList<TCandidatureRec> apps;
        for (int i = 1; i <= 5000; ++i) {
            apps.append(makeCandidature(i, 4, QStringLiteral("Poste %1").arg(i)));
            apps.last().source = i % 3 == 0 ? QStringLiteral("APEC") : QStringLiteral("apec");
        }
        apps[10].source = QStringLiteral("Indeed");
        writeRecords(store.path("candidatures.dat"), apps);
        TFavoriRec fav{};
        fav.nom = QStringLiteral("Emplois");
        writeRecords(store.path("favoris.dat"), QList<TFavoriRec>{fav});

        Target target;
        load(store, target);
        QVERIFY(target.ended);
        QCOMPARE(
            target.statuses,
            QStringList({"Initialisation...", "Chargement des informations sur les sociétés...",
                         "Chargement des informations sur les contacts...",
                         "Chargement des informations sur les candidatures...",
                         "Chargement des favoris..."}));
        QCOMPARE(target.total, 5003);
        QCOMPARE(target.steps, 5004);   // favourites advance the bar too
        QVERIFY(target.stepCalls < 20); // steps, not one call per record
        QCOMPARE(store.Societes.size(), 2);
        QCOMPARE(store.Candidatures.size(), 5000);
        QCOMPARE(store.Favoris.size(), 1);
        QVERIFY(store.loadWarnings().isEmpty());
        QCOMPARE(store.MaxIdSociete, 9);
        QCOMPARE(store.MaxIdContact, 3);
        QCOMPARE(store.MaxIdCandidature, 5000);
        // Sources in the order met; letter case makes two sources.
        QCOMPARE(store.SourcesConnues, QStringList({"apec", "APEC", "Indeed"}));
        QVERIFY(!store.loadFailed(FileKind::Candidatures));
    }

    void recordsNotLiveKeepTheirPlace()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        QList<TCandidatureRec> apps{makeCandidature(1, 1, "A"), makeCandidature(2, 1, ""),
                                    makeCandidature(3, 1, "C")};
        apps[1].source = QStringLiteral("Hidden");
        writeRecords(store.path("candidatures.dat"), apps);
        Target target;
        load(store, target);
        QCOMPARE(store.Candidatures.size(), 3);
        QVERIFY(!isLive(store.Candidatures[1]));
        QCOMPARE(store.Candidatures[2].intitule.text(), QStringLiteral("C"));
        QVERIFY(store.SourcesConnues.isEmpty());
        // An update of the third record still lands on the third record.
        TCandidatureRec c = store.Candidatures[2];
        c.marqueur = 1;
        QVERIFY(store.UpdateCandidature(2, c).ok);
        QCOMPARE(readBytes(store.path("candidatures.dat")).mid(2 * 1644), recordBytes(c));
    }

    void firstStartInAnEmptyDirectory()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        Target target;
        load(store, target);
        QVERIFY(target.ended);
        QCOMPARE(target.total, 0);
        QVERIFY(store.Candidatures.isEmpty() && store.Societes.isEmpty());
        QCOMPARE(store.MaxIdCandidature, 0);
    }

    void damagedFilesLoadWhatCanBeLoaded()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        // Random bytes, a truncated last record, length bytes above every maximum.
        QByteArray noise(3 * 1644 + 700, Qt::Uninitialized);
        QRandomGenerator rng(42);
        for (auto& b : noise)
            b = char(rng.bounded(256));
        noise[7] = char(0xFF);
        writeBytes(store.path("candidatures.dat"), noise);
        writeBytes(store.path("societes.dat"), QByteArray(604 * 2, char(0xFF)));
        writeBytes(store.path("contacts.dat"), QByteArray(100, 'x'));
        Target target;
        load(store, target);
        QVERIFY(target.ended);
        QCOMPARE(store.Candidatures.size(), 3);
        QCOMPARE(store.Candidatures[0].intitule.length(), 255);
        QCOMPARE(store.Societes.size(), 2);
        QCOMPARE(store.Societes[0].nom.text().size(), 50);
        QVERIFY(store.Contacts.isEmpty());
        QVERIFY(!store.loadFailed(FileKind::Candidatures));
    }

    void damagedRecordsAndSharedIdsAreReportedOncePerFile()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        QList<TCandidatureRec> apps;
        for (int i : {1, 2, 2, 3, 3, 3})
            apps.append(makeCandidature(i, 1, "P"));
        apps[0].version.setBytes("cnx2", 4);
        writeRecords(store.path("candidatures.dat"), apps);
        writeRecords(store.path("societes.dat"), QList{makeSociete(1, "A"), makeSociete(2, "B")});
        Target target;
        load(store, target);
        QVERIFY(target.ended);
        QCOMPARE(store.Candidatures.size(), 6);
        QCOMPARE(store.loadWarnings(),
                 QStringList{"\"candidatures.dat\" : 1 enregistrement endommagé, affiché tel "
                             "qu'il a été lu ; plusieurs enregistrements portent le même numéro "
                             "(2, 3)"});
        QVERIFY(!store.loadFailed(FileKind::Candidatures));

        // Over several reads: a damaged record and a repeat in the last
        // read are found as in the first, and ids out of order too.
        QTemporaryDir other;
        Store large(other.path());
        QVERIFY(large.Initialisation().isEmpty());
        apps.clear();
        for (int i = 1; i <= 3000; ++i)
            apps.append(makeCandidature(i, 1, "P"));
        apps[2999].id = 7;
        apps[1500].id = 2999;
        apps[2500].version.setBytes("cnx2", 4);
        apps[2998].version.setBytes("xxxx", 4);
        writeRecords(large.path("candidatures.dat"), apps);
        Target again;
        load(large, again);
        QCOMPARE(large.Candidatures.size(), 3000);
        QCOMPARE(large.loadWarnings(),
                 QStringList{"\"candidatures.dat\" : 2 enregistrements endommagés, affichés tels "
                             "qu'ils ont été lus ; plusieurs enregistrements portent le même "
                             "numéro (7, 2999)"});
        QCOMPARE(large.MaxIdCandidature, 2999);
    }

    void aNewRecordInheritsNothingThatADeletionLeftBehind()
    {
        QTemporaryDir dir;
        setRegistryFile(QString());
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        // Company 7 was deleted but not its contact; contact 9 was deleted but
        // an application still names it; application 3 was deleted but not
        // its notes.
        writeRecords(store.path("societes.dat"), QList{makeSociete(5, "ACME")});
        writeRecords(store.path("contacts.dat"), QList{makeContact(4, 7, "Durand")});
        TCandidatureRec linked = makeCandidature(2, 5, "Poste");
        linked.id_contact = 9;
        writeRecords(store.path("candidatures.dat"), QList{makeCandidature(1, 5, "P"), linked});
        writeBytes(store.path("txt/BN_3.txt"), "notes de la candidature 3\r\n");
        writeBytes(store.path("txt/notes.txt"), "pas un fichier de candidature");
        Target target;
        load(store, target);
        QVERIFY(target.ended);
        qint32 id = 0;
        QVERIFY(store.nextIdCandidature(&id).ok);
        QCOMPARE(id, 4);
        QVERIFY(store.nextIdSociete(&id).ok);
        QCOMPARE(id, 8);
        QVERIFY(store.nextIdContact(&id).ok);
        QCOMPARE(id, 10);
        QCOMPARE(store.Candidatures.size(), 2);
    }

    void theHighestIdsEverGivenAreReadFromTheSettings()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        writeBytes(dir.filePath("ORVALDIS.ini"),
                   "[SOFTWARE]\nORVALDIS\\MaxIdCandidature=20\nORVALDIS\\MaxIdSociete=abc\n");
        setRegistryFile(dir.filePath("ORVALDIS.ini"));
        writeRecords(store.path("societes.dat"), QList{makeSociete(5, "ACME")});
        writeRecords(store.path("candidatures.dat"), QList{makeCandidature(1, 5, "P")});
        Target target;
        load(store, target);
        setRegistryFile(QString());
        QVERIFY(target.ended);
        QCOMPARE(store.MaxIdCandidature, 20);
        QCOMPARE(store.MaxIdSociete, 5); // a value that is not a number is ignored
    }

    void aPipeOrAHugeFileIsRefusedAndTheOthersStillLoad()
    {
        QTemporaryDir dir;
        setRegistryFile(QString());
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        writeRecords(store.path("contacts.dat"), QList{makeContact(3, 4, "Durand")});
        writeRecords(store.path("favoris.dat"), QList<TFavoriRec>{TFavoriRec{}});
        // A pipe where the applications are: opening it would wait for a writer.
        QVERIFY(QFile::remove(store.path("candidatures.dat")));
        QCOMPARE(::mkfifo(QFile::encodeName(store.path("candidatures.dat")).constData(), 0600), 0);
        // A sparse file of 40 GB where the companies are.
        {
            QFile huge(store.path("societes.dat"));
            QVERIFY(huge.open(QIODevice::WriteOnly));
            if (!huge.resize(qint64(40) << 30)) QSKIP("no sparse file of 40 GB here");
        }
        Target target;
        load(store, target);
        QVERIFY(target.ended);
        QCOMPARE(target.total, 1);
        QVERIFY(store.loadFailed(FileKind::Candidatures));
        QVERIFY(store.loadError(FileKind::Candidatures).contains("tube"));
        QVERIFY(store.loadFailed(FileKind::Societes));
        QVERIFY(store.loadError(FileKind::Societes).contains("40 Go"));
        QVERIFY(store.Societes.isEmpty() && store.Candidatures.isEmpty());
        QCOMPARE(store.Contacts.size(), 1);
        QCOMPARE(store.Favoris.size(), 1);
        QVERIFY(!store.loadFailed(FileKind::Contacts) && !store.loadFailed(FileKind::Favoris));
        // Neither is ever written over.
        QVERIFY(!store.append(makeSociete(1, "ACME")).ok);
        QCOMPARE(QFileInfo(store.path("societes.dat")).size(), qint64(40) << 30);
    }

    void anUnreadableFileIsReportedAndProtected()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        writeRecords(store.path("societes.dat"), QList<TSocieteRec>{makeSociete(1, "ACME")});
        // A directory where the file should be cannot be read, even by root.
        QFile::remove(store.path("contacts.dat"));
        QDir(dir.path()).mkdir("contacts.dat");
        Target target;
        load(store, target);
        QVERIFY(target.ended);
        QCOMPARE(store.Societes.size(), 1);
        QVERIFY(store.loadFailed(FileKind::Contacts));
        QVERIFY(!store.loadFailed(FileKind::Societes));
    }

    void stopsWhenAsked()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        QList<TCandidatureRec> apps;
        for (int i = 1; i <= 50000; ++i)
            apps.append(makeCandidature(i, 1, "P"));
        writeRecords(store.path("candidatures.dat"), apps);
        Target target;
        TExeThread loader(&store, &target, &target);
        loader.start();
        loader.requestInterruption();
        QTRY_VERIFY_WITH_TIMEOUT(loader.isFinished(), 20000);
        QVERIFY(!target.ended);
    }

    void aReadStoppedPartWayFails()
    {
        QList<TContactRec> records;
        for (int i = 1; i <= 10; ++i)
            records.append(makeContact(i, 1, "C"));
        QByteArray bytes;
        for (const TContactRec& r : records)
            bytes += recordBytes(r);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QList<TContactRec> read;
        QString error;
        QVERIFY(!recordfile::readAll<TContactRec>(
            buffer, read, &error, [](qint64) { return false; }, 4));
        QCOMPARE(read.size(), 4);
        QCOMPARE(error, QStringLiteral("lecture interrompue"));
        // Stopping after the last record stops nothing.
        buffer.seek(0);
        error.clear();
        QVERIFY(recordfile::readAll<TContactRec>(
            buffer, read, &error, [](qint64 done) { return done < 10; }, 5));
        QCOMPARE(read.size(), 10);
        QVERIFY(error.isEmpty());
    }

    void aLargeFileIsReadInTwoPartsAsInOne()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        const int n = 21000; // past the size read in two parts
        QVERIFY(qint64(n) * qint64(sizeof(TCandidatureRec)) >= recordfile::TwoPartsFrom);
        QList<TCandidatureRec> apps;
        apps.reserve(n);
        for (int i = 1; i <= n; ++i) {
            apps.append(makeCandidature(i, 1, "P"));
            apps.last().source = QStringLiteral("apec");
        }
        // Found in both halves, in the second only, shared across them.
        apps[10].source = QStringLiteral("Monster");
        apps[n - 10].source = QStringLiteral("Monster");
        apps[15000].source = QStringLiteral("Indeed");
        apps[100].id = 20000;
        apps[5].version.setBytes("xxxx", 4);
        apps[15001].version.setBytes("yyyy", 4);
        apps[n - 1].id_societe = 77;
        writeRecords(store.path("candidatures.dat"), apps);

        Target target;
        load(store, target);
        QVERIFY(target.ended);
        QCOMPARE(target.steps, qint64(n));
        QVERIFY(target.stepCalls > 2);
        QCOMPARE(store.Candidatures.size(), n);
        QVERIFY(std::memcmp(store.Candidatures.constData(), apps.constData(),
                            size_t(n) * sizeof(TCandidatureRec)) == 0);
        QCOMPARE(store.SourcesConnues, QStringList({"apec", "Monster", "Indeed"}));
        QCOMPARE(store.loadWarnings(),
                 QStringList{"\"candidatures.dat\" : 2 enregistrements endommagés, affichés tels "
                             "qu'ils ont été lus ; plusieurs enregistrements portent le même "
                             "numéro (20000)"});
        QCOMPARE(store.MaxIdCandidature, n);
        // The company named by the last record only is never given again.
        qint32 id = 0;
        QVERIFY(store.nextIdSociete(&id).ok);
        QCOMPARE(id, 78);

        // Stopped at its first step, the read keeps a part from the start
        // of the file and fails.
        QFile file(store.path("candidatures.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<TCandidatureRec> read;
        QString error;
        QVERIFY(!recordfile::readAll<TCandidatureRec>(
            file, read, &error, [](qint64) { return false; }, 2048));
        QCOMPARE(error, QStringLiteral("lecture interrompue"));
        QVERIFY(read.size() >= 2048 && read.size() < n);
        QVERIFY(std::memcmp(read.constData(), apps.constData(),
                            size_t(read.size()) * sizeof(TCandidatureRec)) == 0);
    }

    void aReadPastTheEndOfAFileFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("short.dat");
        writeBytes(path, QByteArray(100, 'x'));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        char buffer[200];
        QString error;
        QVERIFY(recordfile::readAt(int(file.handle()), buffer, 60, 40, &error));
        QVERIFY(!recordfile::readAt(int(file.handle()), buffer, 200, 0, &error));
        QCOMPARE(error, QStringLiteral("le fichier a raccourci pendant sa lecture"));
    }

    void aSizeNoMemoryCanHoldFailsWithoutReading()
    {
        // A device that claims more bytes than memory can hold.
        class Endless : public QBuffer
        {
        public:
            using QBuffer::QBuffer;
            qint64 size() const override { return qint64(1) << 62; }
        };
        QByteArray bytes = recordBytes(makeContact(1, 1, "C"));
        Endless device(&bytes);
        QVERIFY(device.open(QIODevice::ReadOnly));
        QList<TContactRec> read{makeContact(2, 1, "D")};
        QString error;
        QVERIFY(!recordfile::readAll<TContactRec>(device, read, &error));
        QVERIFY(read.isEmpty());
        QCOMPARE(error, QStringLiteral("mémoire insuffisante pour lire le fichier"));
    }

    void aFileStoppedPartWayIsAFailedLoad()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        QList<TCandidatureRec> apps;
        for (int i = 1; i <= 10000; ++i)
            apps.append(makeCandidature(i, 1, "P"));
        writeRecords(store.path("candidatures.dat"), apps);
        const QByteArray before = readBytes(store.path("candidatures.dat"));
        InterruptingTarget target;
        TExeThread loader(&store, &target, &target);
        target.loader = &loader;
        loader.start();
        QTRY_VERIFY_WITH_TIMEOUT(loader.isFinished(), 20000);
        QVERIFY(!target.ended);
        QVERIFY(store.Candidatures.size() < 10000);
        QVERIFY(store.loadFailed(FileKind::Candidatures));
        // The part that was read never takes the place of the whole file.
        QVERIFY(!store.append(makeCandidature(10001, 1, "P")).ok);
        QVERIFY(!store.UpdateCandidature(0, apps[0]).ok);
        QCOMPARE(readBytes(store.path("candidatures.dat")), before);
    }
};

QTEST_GUILESS_MAIN(TestLoader)
#include "tst_loader.moc"
