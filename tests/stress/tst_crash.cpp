// Kills in the middle of the store's work. A worker performs a series of
// operations on a program folder and is killed with SIGKILL at a random
// moment (seeded: the same seed makes the same kills); the next round goes on
// from what the kill left. After each kill, every data file must be, byte
// for byte, the file as it was after the last complete operation or after
// the one in flight: made again by running the worker from the same folder
// up to that operation (the files are whole since those runs ended). So no complete operation is
// ever lost and no file is ever half written. The files are checked as the
// next start finds them, once it has finished a step of several files cut
// short: all of them then come from the same side of the operation in
// flight, never some from before and some from after. Safety copies in
// backup/ must hold whole records.
//
// ORVALDIS_CRASH_KILLS sets the number of kills (100 by default),
// ORVALDIS_CRASH_SEED the seed.

#include "common/testfiles.h"
#include "store/journal.h"
#include "store/migration.h"
#include "store/recordfile.h"
#include "store/store.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const char* const DataFiles[3] = {"societes.dat", "contacts.dat", "candidatures.dat"};
const int RecordSizes[3] = {604, 236, 1644};
// The contacts of the starting folder have the first layout.
const int OldRecordSizes[3] = {604, int(sizeof(TContactRecV0)), 1644};

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) return false;
        } else {
            QFile::remove(target);
            if (!QFile::copy(path, target)) return false;
        }
    }
    return true;
}

struct Run {
    int lastEnded = -1; // last operation complete
    int lastBegun = -1; // last operation started
    bool killed = false;
    int exitCode = 0;
};

Run readLog(const QByteArray& out)
{
    Run r;
    for (const QByteArray& line : out.split('\n')) {
        if (line.startsWith("B ")) r.lastBegun = line.mid(2).toInt();
        if (line.startsWith("E ")) r.lastEnded = line.mid(2).toInt();
    }
    return r;
}

// Runs the worker to its end, or to before operation `stop`.
Run runWorker(const QString& dir, quint32 seed, int stop = -1)
{
    QProcess p;
    QStringList args{dir, QString::number(seed)};
    if (stop >= 0) args.append(QString::number(stop));
    p.start(QStringLiteral(CRASHWORKER), args);
    p.waitForFinished(60000);
    Run r = readLog(p.readAllStandardOutput());
    r.exitCode = p.exitCode();
    return r;
}

// The starting folder: companies and applications of the current layout,
// contacts of the first layout, so that the first round converts them.
void makeFolder(const QString& dir)
{
    QVERIFY(QDir().mkpath(dir));
    Store store(dir);
    QVERIFY(store.Initialisation().isEmpty());
    QByteArray societes, contacts, candidatures;
    for (int i = 1; i <= 120; ++i)
        societes += recordBytes(makeSociete(i, QStringLiteral("SOCIETE %1").arg(i)));
    for (int i = 1; i <= 400; ++i) {
        TContactRecV0 c{};
        c.nom = QStringLiteral("Contact %1").arg(i % 150);
        c.id = i;
        c.id_societe = 1 + i % 120;
        contacts += QByteArray(reinterpret_cast<const char*>(&c), sizeof c);
    }
    for (int i = 1; i <= 1500; ++i) {
        TCandidatureRec c =
            makeCandidature(i, 1 + i % 100, QStringLiteral("Poste %1").arg(i), "20260105");
        c.id_contact = 1 + i % 400;
        candidatures += recordBytes(c);
    }
    writeBytes(dir + "/societes.dat", societes);
    writeBytes(dir + "/contacts.dat", contacts);
    writeBytes(dir + "/candidatures.dat", candidatures);
    QCOMPARE(baseState(store), BaseState::NeedsConversion);
}

} // namespace

class TestCrash : public QObject
{
    Q_OBJECT
private slots:
    void noKillLosesACompleteOperationOrTearsAFile()
    {
        bool set = false;
        int kills = qEnvironmentVariableIntValue("ORVALDIS_CRASH_KILLS", &set);
        if (!set) kills = 100;
        quint32 seed = quint32(qEnvironmentVariableIntValue("ORVALDIS_CRASH_SEED", &set));
        if (!set) seed = 20261210;
        QRandomGenerator rng(seed);

        QTemporaryDir work;
        const QString live = work.filePath("live");
        makeFolder(live);
        if (QTest::currentTestFailed()) return;

        // How long a whole run takes, to spread the kills over it.
        const QString probe = work.filePath("probe");
        QVERIFY(copyTree(live, probe));
        QElapsedTimer clock;
        clock.start();
        const Run whole = runWorker(probe, seed);
        const qint64 span = qMax<qint64>(clock.elapsed(), 20);
        QCOMPARE(whole.exitCode, 0);
        QVERIFY(whole.lastEnded > 10);

        int inFlight = 0, completedInFlight = 0, journals = 0, notBegun = 0, operations = 0;
        for (int round = 0; round < kills; ++round) {
            const QString before = work.filePath(QStringLiteral("before"));
            QDir(before).removeRecursively();
            QVERIFY(copyTree(live, before));
            const quint32 roundSeed = seed + quint32(round);

            QProcess p;
            p.start(QStringLiteral(CRASHWORKER), {live, QString::number(roundSeed)});
            QVERIFY(p.waitForStarted());
            QTest::qSleep(int(rng.bounded(int(span))));
            p.kill();
            QVERIFY(p.waitForFinished(60000));
            const Run run = readLog(p.readAllStandardOutput());
            QVERIFY2(p.exitStatus() == QProcess::CrashExit || p.exitCode() == 0,
                     qPrintable(QStringLiteral("round %1: the worker failed").arg(round)));
            operations += run.lastEnded + 1;

            // What the next start does first.
            if (QFile::exists(live + "/" + journal::FileName)) ++journals;
            for (const char* f : DataFiles)
                if (QFile::exists(live + "/" + journal::preparedName(QString::fromLatin1(f))))
                    ++notBegun;
            {
                Store restart(live);
                const QStringList messages = restart.Initialisation();
                QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
            }

            // The states after the last complete operation and after the one in flight.
            const QString done = work.filePath(QStringLiteral("done"));
            const QString next = work.filePath(QStringLiteral("next"));
            QDir(done).removeRecursively();
            QDir(next).removeRecursively();
            QVERIFY(copyTree(before, done));
            QCOMPARE(runWorker(done, roundSeed, run.lastEnded + 1).exitCode, 0);
            const bool flying = run.lastBegun > run.lastEnded;
            if (flying) {
                ++inFlight;
                QVERIFY(copyTree(before, next));
                QCOMPARE(runWorker(next, roundSeed, run.lastBegun + 1).exitCode, 0);
            }

            int fromDone = 0, fromNext = 0;
            for (int f = 0; f < 3; ++f) {
                const QString name = QString::fromLatin1(DataFiles[f]);
                const QByteArray actual = readBytes(live + "/" + name);
                const QByteArray doneBytes = readBytes(done + "/" + name);
                const QByteArray nextBytes = flying ? readBytes(next + "/" + name) : QByteArray();
                const bool isDone = actual == doneBytes;
                const bool isNext = flying && actual == nextBytes;
                QVERIFY2(isDone || isNext,
                         qPrintable(QStringLiteral("round %1 (seed %2), operation %3: %4 is "
                                                   "neither before nor after it")
                                        .arg(round)
                                        .arg(roundSeed)
                                        .arg(run.lastBegun)
                                        .arg(name)));
                if (!isDone) ++fromNext;
                if (!isNext) ++fromDone;
                // A safety copy is whole, in the layout it was taken from.
                const qsizetype backup = readBytes(live + "/backup/" + name).size();
                QVERIFY2(
                    backup % RecordSizes[f] == 0 || backup % OldRecordSizes[f] == 0,
                    qPrintable(QStringLiteral("round %1: backup/%2 is torn").arg(round).arg(name)));
            }
            QVERIFY2(fromNext == 0 || fromDone == 0,
                     qPrintable(QStringLiteral("round %1 (seed %2), operation %3: files from "
                                               "before it and files from after it")
                                    .arg(round)
                                    .arg(roundSeed)
                                    .arg(run.lastBegun)));
            if (flying && fromNext > 0) ++completedInFlight;
        }
        // The figures of the run.
        qInfo("%d kills, %d operations complete before them, %d in flight at the kill "
              "(%d of them already written); the restart finished %d steps from their journal "
              "and dropped %d new contents of steps not begun",
              kills, operations, inFlight, completedInFlight, journals, notBegun);
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
