// What the data files go through when the disk is full, when a file is
// damaged or missing its neighbours, or when ids run out: no record is ever
// torn, lost or given to another one, and every failure says why in French.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/settings.h"
#include "store/store.h"
#include "store/systemerror.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <sys/mount.h>

namespace
{

// A small file system of its own where the test may mount one (as root);
// the test is skipped elsewhere.
struct SmallDisk {
    QTemporaryDir dir;
    bool mounted = false;
    explicit SmallDisk(const char* size)
    {
        const QByteArray options = QByteArray("size=") + size;
        mounted = dir.isValid() && ::mount("tmpfs", QFile::encodeName(dir.path()).constData(),
                                           "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted) ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    // Takes every free byte left.
    void fill()
    {
        QFile f(dir.filePath("filler"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(4096, 'x');
        while (f.write(block) > 0) {
        }
    }
};

const QString NoSpace = QStringLiteral("Espace disque insuffisant");

} // namespace

class TestIntegrity : public QObject
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

    // ---- A full disk -----------------------------------------------------------

    void appendOnAFullDiskLeavesNoPartialRecord()
    {
        SmallDisk disk("16k");
        if (!disk.mounted) QSKIP("no small file system can be mounted here");
        FakeMessages m;
        Store s(disk.dir.path());
        QVERIFY(s.Initialisation().isEmpty());
        QVERIFY(s.append(makeCandidature(1, 1, "Comptable")).ok);
        QVERIFY(s.append(makeCandidature(2, 1, "Juriste")).ok);
        const QByteArray before = readBytes(s.path("candidatures.dat"));
        // The third record starts in the file's last page and needs one more.
        disk.fill();
        const Result r = s.append(makeCandidature(3, 1, "Notaire"));
        QVERIFY(!r.ok);
        QCOMPARE(readBytes(s.path("candidatures.dat")), before);
        QCOMPARE(s.Candidatures.size(), 2);
        QCOMPARE(r.error,
                 QStringLiteral("Impossible d'enregistrer dans \"candidatures.dat\" :\r\r") +
                     NoSpace);
        // Once there is room again, the next record goes where it belongs.
        QVERIFY(QFile::remove(disk.dir.filePath("filler")));
        QVERIFY(s.append(makeCandidature(3, 1, "Notaire")).ok);
        QCOMPARE(readBytes(s.path("candidatures.dat")).size(), 3 * 1644);
        QCOMPARE(m.count(), 0);
    }

    void systemReasonsAreGivenInFrench()
    {
        FakeMessages m;
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        // A path through a file, a file that is not there.
        QFile through(s.path("societes.dat/x"));
        QVERIFY(!through.open(QIODevice::ReadOnly));
        QCOMPARE(deviceErrorText(through),
                 QStringLiteral("Un élément du chemin n'est pas un dossier"));
        const Result moved = s.DeplaceFichier(s.path("absent.pdf"), s.path("Import/a.pdf"));
        QVERIFY(!moved.ok);
        QVERIFY2(moved.error.endsWith(QStringLiteral("Le fichier d'origine n'existe pas")),
                 qPrintable(moved.error));
        // The system's own words, whatever language it speaks.
        QCOMPARE(frenchErrorText(QString::fromLocal8Bit(strerror(EROFS))),
                 QStringLiteral("Le disque est en lecture seule"));
        QCOMPARE(frenchErrorText(qt_error_string(EPERM)), QStringLiteral("Opération non permise"));
        QCOMPARE(frenchErrorText(QStringLiteral("Unknown error")),
                 QStringLiteral("Erreur inconnue"));
        // Qt's words when a data file was replaced by a folder, or may not be written.
        QFile folder(dir->path());
        QVERIFY(!folder.open(QIODevice::ReadOnly));
        QCOMPARE(deviceErrorText(folder), QStringLiteral("Un dossier porte ce nom"));
        QCOMPARE(frenchErrorText(QStringLiteral("Existing file /a/b.txt is not writable")),
                 QStringLiteral("Le fichier n'est pas accessible en écriture"));
        QCOMPARE(frenchErrorText(QStringLiteral("lecture interrompue")),
                 QStringLiteral("lecture interrompue"));
    }

    // ---- Ids ------------------------------------------------------------------

    void anIdIsNeverGivenAgainInAFolder()
    {
        FakeMessages m;
        const QString ini = dir->filePath("ORVALDIS.ini");
        setRegistryFile(ini);
        {
            Store s(dir->path());
            QVERIFY(s.Initialisation().isEmpty());
            s.noteIdsInUse({});
            for (int n = 1; n <= 3; ++n) {
                qint32 id = 0;
                QVERIFY(s.nextIdCandidature(&id).ok);
                QCOMPARE(id, n);
                QVERIFY(s.append(makeCandidature(id, 1, "Poste")).ok);
            }
            // The last one is deleted: its id stays given.
            const RewriteResult r = s.rewriteWithout<TCandidatureRec>(
                [](const TCandidatureRec& c) { return qint32(c.id) == 3; });
            QCOMPARE(r.outcome, Rewrite::Done);
            qint32 id = 0;
            QVERIFY(s.nextIdContact(&id).ok);
            QCOMPARE(id, 1);
        }
        QCOMPARE(Readregistry(RegistryKey, "MaxIdCandidature"), QStringLiteral("3"));
        // After a restart the file's highest id is 2: the next one is still 4.
        Store again(dir->path());
        again.MaxIdCandidature = 2;
        again.noteIdsInUse({});
        qint32 id = 0;
        QVERIFY(again.nextIdCandidature(&id).ok);
        QCOMPARE(id, 4);
        QVERIFY(again.nextIdContact(&id).ok);
        QCOMPARE(id, 2);
        QVERIFY(again.nextIdSociete(&id).ok);
        QCOMPARE(id, 1);
        QCOMPARE(m.count(), 0);
        setRegistryFile(QString());
    }

    void idsReservedAheadAreKeptInOneWrite()
    {
        const QString ini = dir->filePath("ORVALDIS.ini");
        setRegistryFile(ini);
        Store s(dir->path());
        s.noteIdsInUse({});
        s.MaxIdContact = 7;
        s.reserveIds(50, 0, 0);
        QCOMPARE(Readregistry(RegistryKey, "MaxIdSociete"), QStringLiteral("50"));
        QCOMPARE(Readregistry(RegistryKey, "MaxIdContact"), QStringLiteral("7"));
        // Ids within the range write nothing more, nor ids given back after
        // a failed write: the file taken away is not made again.
        QVERIFY(QFile::remove(ini));
        qint32 id = 0;
        for (int n = 0; n < 50; ++n)
            QVERIFY(s.nextIdSociete(&id).ok);
        QCOMPARE(id, 50);
        s.MaxIdSociete = 12;
        s.saveMaxIds();
        QVERIFY(s.nextIdSociete(&id).ok);
        QCOMPARE(id, 13);
        QVERIFY(!QFileInfo::exists(ini));
        // Past the range, the new maximum is kept at once.
        s.MaxIdSociete = 50;
        QVERIFY(s.nextIdSociete(&id).ok);
        QCOMPARE(Readregistry(RegistryKey, "MaxIdSociete"), QStringLiteral("51"));
        // A reservation stops at the largest id.
        s.MaxIdCandidature = std::numeric_limits<qint32>::max() - 2;
        s.reserveIds(0, 0, 10);
        QCOMPARE(Readregistry(RegistryKey, "MaxIdCandidature"), QStringLiteral("2147483647"));
        setRegistryFile(QString());
    }

    void noIdIsGivenPastTheLargest()
    {
        setRegistryFile(QString());
        Store s(dir->path());
        QVERIFY(s.Initialisation().isEmpty());
        s.MaxIdCandidature = std::numeric_limits<qint32>::max();
        qint32 id = 17;
        const Result r = s.nextIdCandidature(&id);
        QVERIFY(!r.ok);
        QCOMPARE(r.error, QStringLiteral("Le plus grand numéro de candidature (2147483647) a déjà "
                                         "été donné : aucune nouvelle fiche ne peut être ajoutée "
                                         "dans ce dossier."));
        QCOMPARE(id, 17);
        QCOMPARE(s.MaxIdCandidature, std::numeric_limits<qint32>::max());
    }
};

QTEST_GUILESS_MAIN(TestIntegrity)
#include "tst_integrity.moc"
