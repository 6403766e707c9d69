// Two copies of the program on one data folder: the second one is refused
// at start-up, however it reaches the folder, and a data file changed on
// disk since it was loaded is never written over.
#include "common/testfiles.h"
#include "store/folderlock.h"
#include "store/loader.h"
#include "store/settings.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace
{

class Target : public QObject, public LoaderTarget
{
public:
    bool ended = false;
    void loaderStatus(const QString&) override {}
    void loaderBegin(qint64) override {}
    void loaderStep(qint64) override {}
    void loaderEnd() override { ended = true; }
};

// A second program holding the lock of `dir` until it is closed or killed.
struct Holder {
    QProcess process;
    explicit Holder(const QString& dir)
    {
        process.start(QStringLiteral(LOCKHOLDER), {dir});
        process.waitForStarted(10000);
    }
    ~Holder()
    {
        if (process.state() == QProcess::NotRunning) return;
        process.closeWriteChannel();
        if (!process.waitForFinished(5000)) process.kill();
        process.waitForFinished(5000);
    }
    QString firstLine()
    {
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(process.readLine()).trimmed();
    }
};

template <class T> void writeRecords(const QString& path, const QList<T>& records)
{
    writeBytes(path, QByteArray(reinterpret_cast<const char*>(records.constData()),
                                records.size() * qsizetype(sizeof(T))));
}

void load(Store& store)
{
    Target target;
    TExeThread loader(&store, &target, &target);
    loader.start();
    QTRY_VERIFY_WITH_TIMEOUT(loader.isFinished(), 20000);
    QVERIFY(target.ended);
}

const QString Restart = QStringLiteral("Quittez le programme puis relancez-le");

} // namespace

class TestTwoCopies : public QObject
{
    Q_OBJECT
private slots:
    void init() { setRegistryFile(QString()); }

    void aSecondCopyOnTheSameFolderIsRefused()
    {
        QTemporaryDir dir;
        QTemporaryDir other;
        Holder first(dir.path());
        QCOMPARE(first.firstLine(), QStringLiteral("held"));

        // This copy reaches the folder by the same path, then through a link.
        FolderLock same(dir.path());
        Result r = same.acquire();
        QVERIFY(!r.ok);
        QVERIFY2(r.error.startsWith(QStringLiteral("Le dossier de données \"%1\" est déjà utilisé "
                                                   "par une autre copie du programme")
                                        .arg(dir.path())),
                 qPrintable(r.error));
        const QString link = other.filePath("lien");
        QVERIFY(QFile::link(dir.path(), link));
        FolderLock linked(link);
        QVERIFY(!linked.acquire().ok);
        QVERIFY(!linked.held());

        // Another folder is free.
        FolderLock elsewhere(other.path());
        QVERIFY(elsewhere.acquire().ok);
        QVERIFY(elsewhere.held());

        // The first copy is refused the folder this one holds.
        Holder third(other.path());
        QVERIFY(third.process.waitForFinished(10000));
        QCOMPARE(third.process.exitCode(), 3);
        QVERIFY(QString::fromUtf8(third.process.readAllStandardOutput())
                    .contains(QStringLiteral("est déjà utilisé par une autre copie")));
    }

    void theLockOfAKilledCopyIsTakenOver()
    {
        QTemporaryDir dir;
        {
            Holder killed(dir.path());
            QCOMPARE(killed.firstLine(), QStringLiteral("held"));
            ::kill(pid_t(killed.process.processId()), SIGKILL);
            QVERIFY(killed.process.waitForFinished(10000));
        }
        QVERIFY(QFileInfo::exists(dir.filePath(FolderLock::fileName())));
        FolderLock next(dir.path());
        QVERIFY(next.acquire().ok);
    }

    void aFileChangedOnDiskSinceItWasLoadedIsNotWrittenOver()
    {
        QTemporaryDir dir;
        Store mine(dir.path());
        QVERIFY(mine.Initialisation().isEmpty());
        writeRecords(mine.path("candidatures.dat"),
                     QList{makeCandidature(1, 1, "Comptable"), makeCandidature(2, 1, "Juriste")});
        writeRecords(mine.path("societes.dat"), QList{makeSociete(1, "ACME")});
        load(mine);

        // This copy's own writes leave it free to write again.
        TCandidatureRec c = mine.Candidatures[0];
        c.intitule = QStringLiteral("Comptable senior");
        QVERIFY(mine.UpdateCandidature(0, c).ok);
        QVERIFY(mine.append(makeCandidature(3, 1, "Paysagiste")).ok);
        QCOMPARE(mine.rewriteWithout<TCandidatureRec>(
                         [](const TCandidatureRec& a) { return qint32(a.id) == 3; })
                     .outcome,
                 Rewrite::Done);
        QVERIFY(mine.UpdateCandidature(1, mine.Candidatures[1]).ok);

        // The other copy changes a record in place: same size, new time.
        Store theirs(dir.path());
        load(theirs);
        // File times move in steps of a few milliseconds.
        QTest::qWait(30);
        TCandidatureRec t = theirs.Candidatures[1];
        t.intitule = QStringLiteral("Juriste d'affaires");
        QVERIFY(theirs.UpdateCandidature(1, t).ok);
        const QByteArray onDisk = readBytes(mine.path("candidatures.dat"));

        c.intitule = QStringLiteral("Comptable principal");
        Result r = mine.UpdateCandidature(0, c);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains("\"candidatures.dat\"") && r.error.contains(Restart),
                 qPrintable(r.error));
        QCOMPARE(mine.rewriteWithout<TCandidatureRec>([](const TCandidatureRec&) { return true; })
                     .outcome,
                 Rewrite::Unchanged);
        QCOMPARE(readBytes(mine.path("candidatures.dat")), onDisk);
        QCOMPARE(mine.Candidatures.size(), 2);
        // An append goes after their records and overwrites nothing; the
        // file still counts as changed by them afterwards.
        QVERIFY(mine.append(makeCandidature(4, 1, "Pilote")).ok);
        QCOMPARE(readBytes(mine.path("candidatures.dat")).left(onDisk.size()), onDisk);
        QVERIFY(!mine.UpdateCandidature(0, c).ok);

        // The companies were not touched: they may still be written.
        TSocieteRec s = mine.Societes[0];
        s.ville = QStringLiteral("Lyon");
        QVERIFY(mine.UpdateSociete(0, s).ok);

        // A file put back from elsewhere (a new file of the same size) counts too.
        const QByteArray companies = readBytes(mine.path("societes.dat"));
        QVERIFY(QFile::remove(mine.path("societes.dat")));
        writeBytes(mine.path("societes.dat"), companies);
        QVERIFY(!mine.UpdateSociete(0, s).ok);
    }
};

QTEST_GUILESS_MAIN(TestTwoCopies)
#include "tst_twocopies.moc"
