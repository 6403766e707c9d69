// Every write path of the store under failure: a device that fails after N
// bytes for every N over the whole operation, a full disk, a read-only disk
// and a data file replaced by a folder. After each failure the message gives
// the reason in French, the files are byte for byte as before (or, for a
// step of several files stopped after its journal, the next start finishes
// it), every table equals its file, and the next operation works.

#include "applications/deletion.h"
#include "applications/documents.h"
#include "common/testfiles.h"
#include "directory/contactops.h"
#include "directory/directoryrules.h"
#include "store/journal.h"
#include "store/recordfile.h"
#include "store/store.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sys/mount.h>

namespace
{

using Snapshot = QMap<QString, QByteArray>;

// Every file of the folder but the safety copies, which a failed operation
// may have taken again.
Snapshot snapshot(const QString& dir)
{
    Snapshot s;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = path.mid(dir.size() + 1);
        if (name.startsWith("backup")) continue;
        s.insert(name, it.fileInfo().isDir() ? QByteArray("<dir>") : readBytes(path));
    }
    return s;
}

template <class T> QByteArray tableBytes(const QList<T>& t)
{
    return QByteArray(reinterpret_cast<const char*>(t.constData()),
                      t.size() * qsizetype(sizeof(T)));
}

// A data file replaced by a folder is left out: its table stays empty.
template <class T> bool loadTable(Store& s)
{
    QFile f(s.path(QString::fromLatin1(RecordInfo<T>::file)));
    if (QFileInfo(f.fileName()).isDir()) return true;
    QString error;
    return f.open(QIODevice::ReadOnly) && recordfile::readAll<T>(f, s.table<T>(), &error);
}

// The folder every case starts from: three companies (the third without
// application), four contacts, three applications linked to contacts, two
// favourites, notes and a pasted text.
void fillFolder(const QString& dir)
{
    Store s(dir);
    s.Initialisation();
    QByteArray soc, con, cand, fav;
    for (int i = 1; i <= 3; ++i)
        soc += recordBytes(makeSociete(i, QStringLiteral("SOCIETE %1").arg(i)));
    for (int i = 1; i <= 4; ++i)
        con += recordBytes(makeContact(i, 1 + i % 3, i == 4 ? "Durand" : "Martin"));
    for (int i = 1; i <= 3; ++i) {
        TCandidatureRec c = makeCandidature(i, 1 + (i - 1) % 2, QStringLiteral("Poste %1").arg(i));
        c.id_contact = i + 1;
        cand += recordBytes(c);
    }
    for (const char* n : {"Emplois", "Annonces"}) {
        TFavoriRec f{};
        f.nom = QString::fromLatin1(n);
        f.url = QStringLiteral("http://127.0.0.1/") + QString::fromLatin1(n);
        prepareForWrite(f);
        fav += recordBytes(f);
    }
    writeBytes(s.path("societes.dat"), soc);
    writeBytes(s.path("contacts.dat"), con);
    writeBytes(s.path("candidatures.dat"), cand);
    writeBytes(s.path("favoris.dat"), fav);
    writeBytes(s.path("txt/BN_1.txt"), "Relancer lundi.");
    writeBytes(s.path("txt/CV_2.txt"), "Texte du CV.");
}

bool loadAll(Store& s)
{
    bool ok = loadTable<TSocieteRec>(s) && loadTable<TContactRec>(s) &&
              loadTable<TCandidatureRec>(s) && loadTable<TFavoriRec>(s);
    s.MaxIdSociete = 3;
    s.MaxIdContact = 4;
    s.MaxIdCandidature = 3;
    return ok;
}

// Thousands of folders are made: in memory when the system offers it, where
// flushing to disk costs nothing.
QString scratch()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/orvaldis-faults-XXXXXX");
}

// One operation of the program; its message when it failed.
using Operation = std::function<Result(TestStore&)>;

Result fromRewrite(const RewriteResult& r)
{
    return r.outcome == Rewrite::Done ? Result::success() : Result::failure(r.error);
}

QList<QPair<QString, Operation>> operations()
{
    return {
        {"append company",
         [](TestStore& s) {
             qint32 id = 0;
             if (Result r = s.nextIdSociete(&id); !r.ok) return r;
             return s.append(makeSociete(id, "NOUVELLE"));
         }},
        {"append contact",
         [](TestStore& s) {
             qint32 id = 0;
             if (Result r = s.nextIdContact(&id); !r.ok) return r;
             return s.append(makeContact(id, 1, "Petit"));
         }},
        {"append application",
         [](TestStore& s) {
             qint32 id = 0;
             if (Result r = s.nextIdCandidature(&id); !r.ok) return r;
             return s.append(makeCandidature(id, 3, "Poste"));
         }},
        {"append favourite",
         [](TestStore& s) {
             TFavoriRec f{};
             f.nom = QStringLiteral("Offres");
             f.url = QStringLiteral("http://127.0.0.1/offres");
             return s.append(f);
         }},
        {"update application",
         [](TestStore& s) {
             TCandidatureRec c = std::as_const(s.Candidatures)[1];
             c.intitule = QStringLiteral("Poste revu");
             return s.UpdateCandidature(1, c);
         }},
        {"update company",
         [](TestStore& s) {
             TSocieteRec c = std::as_const(s.Societes)[0];
             c.ville = QStringLiteral("Lyon");
             return s.UpdateSociete(0, c);
         }},
        {"update contact",
         [](TestStore& s) {
             TContactRec c = std::as_const(s.Contacts)[2];
             c.fonction = QStringLiteral("Recruteur");
             return s.updateContact(2, c, QStringLiteral("Mise à jour impossible"));
         }},
        {"delete favourite",
         [](TestStore& s) {
             return fromRewrite(s.rewriteWithout<TFavoriRec>(
                 [](const TFavoriRec& f) { return f.nom.text() == QLatin1String("Emplois"); }));
         }},
        {"delete application",
         [](TestStore& s) { return fromRewrite(DelCandidature(s, 2).rewrite); }},
        {"delete company", [](TestStore& s) { return fromRewrite(DelSociete(s, 3)); }},
        {"delete contacts",
         [](TestStore& s) { return deleteContactsNamed(s, 2, QStringLiteral("Durand")).result; }},
        {"notes",
         [](TestStore& s) {
             return writeTextFile(s, s.path("txt/BN_1.txt"), QStringLiteral("Appeler mardi."));
         }},
        {"pasted text",
         [](TestStore& s) {
             LinkChoice choice;
             choice.file = false;
             choice.text = QStringLiteral("Lettre de motivation.");
             choice.date = QDate(2026, 1, 20);
             return linkDocument(s, 1, DocSlot::Lettre, choice).result;
         }},
    };
}

// Every table as its file holds it; a file that is not a file has no say.
bool tablesEqualFiles(Store& s, QString* which)
{
    auto same = [&](const char* file, const QByteArray& table) {
        const QString p = s.path(QString::fromLatin1(file));
        if (QFileInfo(p).isDir() || readBytes(p) == table) return true;
        *which = QString::fromLatin1(file);
        return false;
    };
    return same("societes.dat", tableBytes(s.Societes)) &&
           same("contacts.dat", tableBytes(s.Contacts)) &&
           same("candidatures.dat", tableBytes(s.Candidatures)) &&
           same("favoris.dat", tableBytes(s.Favoris));
}

// A tmpfs of its own, so that a disk can be filled or made read-only.
struct SmallDisk {
    QTemporaryDir mountPoint;
    bool mounted = false;
    SmallDisk()
    {
        mounted = ::mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0,
                          "size=1m") == 0;
    }
    ~SmallDisk()
    {
        if (mounted) ::umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH);
    }
    bool remount(bool readOnly)
    {
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", flags,
                       "size=1m") == 0;
    }
    // Takes every free byte left.
    void fill()
    {
        QFile f(mountPoint.filePath("plein"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(4096, 'z');
        while (f.write(block) == block.size()) {
        }
        const QByteArray byte(1, 'z');
        while (f.write(byte) == 1) {
        }
    }
};

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

    // Checks what a failed operation left; `reason` is the French reason the message must give.
    void checkFailure(TestStore& s, const Result& r, const QStringList& reasons,
                      const Snapshot& before, const Snapshot& after, const QString& context)
    {
        const QByteArray where = context.toUtf8();
        QVERIFY2(!r.ok, where.constData());
        const bool named = std::any_of(reasons.begin(), reasons.end(),
                                       [&](const QString& w) { return r.error.contains(w); });
        QVERIFY2(named, qPrintable(context + QStringLiteral(": ") + r.error));
        QString which;
        QVERIFY2(tablesEqualFiles(s, &which), qPrintable(context + QStringLiteral(": ") + which));
        if (QFile::exists(s.path(journal::FileName))) {
            // Stopped after its journal: the next start finishes the step.
            Store restart(s.programDir());
            QCOMPARE(restart.Initialisation(), QStringList());
            QVERIFY2(snapshot(s.programDir()) == after, where.constData());
        } else {
            QVERIFY2(snapshot(s.programDir()) == before, where.constData());
        }
    }

    // A following operation works and reaches its file.
    void checkGoesOn(TestStore& s, const QString& context)
    {
        Store fresh(s.programDir());
        QVERIFY(loadAll(fresh));
        if (QFileInfo(fresh.path("societes.dat")).isDir()) {
            const Result r = fresh.append(makeContact(99, 1, "Suivant"));
            QVERIFY2(r.ok, qPrintable(context + QStringLiteral(": ") + r.error));
            QCOMPARE(readBytes(fresh.path("contacts.dat")), tableBytes(fresh.Contacts));
            return;
        }
        const Result r = fresh.append(makeSociete(99, "SUIVANTE"));
        QVERIFY2(r.ok, qPrintable(context + QStringLiteral(": ") + r.error));
        QCOMPARE(readBytes(fresh.path("societes.dat")), tableBytes(fresh.Societes));
    }

private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    void aDeviceFailingAfterNBytes_data()
    {
        QTest::addColumn<int>("op");
        const auto ops = operations();
        for (int i = 0; i < ops.size(); ++i)
            QTest::newRow(qPrintable(ops[i].first)) << i;
    }
    void aDeviceFailingAfterNBytes()
    {
        QFETCH(int, op);
        const auto [name, operation] = operations()[op];
        // The bytes the whole operation writes, and the files it leaves.
        QTemporaryDir model(scratch());
        fillFolder(model.path());
        TestStore m(model.path());
        QVERIFY(loadAll(m));
        const Snapshot before = snapshot(model.path());
        m.operationBudget = qint64(1) << 40;
        const Result done = operation(m);
        QVERIFY2(done.ok, qPrintable(done.error));
        const qint64 total = (qint64(1) << 40) - m.operationBudget;
        const Snapshot after = snapshot(model.path());
        QVERIFY(total > 0);

        // Every N near the start, where each write of the operation begins,
        // then a step shorter than any record, so that every record written
        // is cut somewhere.
        int cases = 0;
        for (qint64 n = 0; n < total; n += (n < 300 ? 1 : 61)) {
            QTemporaryDir dir(scratch());
            fillFolder(dir.path());
            TestStore s(dir.path());
            QVERIFY(loadAll(s));
            s.operationBudget = n;
            const Result r = operation(s);
            const QString context =
                QStringLiteral("%1, failing after %2 of %3 bytes").arg(name).arg(n).arg(total);
            checkFailure(s, r, {QStringLiteral("Espace disque insuffisant")}, before, after,
                         context);
            if (QTest::currentTestFailed()) return;
            QVERIFY(!s.Occupe);
            checkGoesOn(s, context);
            if (QTest::currentTestFailed()) return;
            ++cases;
        }
        qInfo("%s: %d failing points over %lld bytes", qPrintable(name), cases, total);
    }

    void aFullOrReadOnlyDisk_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<bool>("readOnly");
        const auto ops = operations();
        for (int i = 0; i < ops.size(); ++i) {
            QTest::newRow(qPrintable(ops[i].first + " on a full disk")) << i << false;
            QTest::newRow(qPrintable(ops[i].first + " on a read-only disk")) << i << true;
        }
    }
    void aFullOrReadOnlyDisk()
    {
        QFETCH(int, op);
        QFETCH(bool, readOnly);
        const auto [name, operation] = operations()[op];
        SmallDisk disk;
        if (!disk.mounted) QSKIP("a disk of its own cannot be mounted here");
        const QString dir = disk.mountPoint.path();
        fillFolder(dir);
        TestStore s(dir);
        QVERIFY(loadAll(s));
        if (readOnly)
            QVERIFY(disk.remount(true));
        else
            disk.fill();
        const Snapshot before = snapshot(dir);
        const Result r = operation(s);
        if (!readOnly && r.ok) {
            // Writing over bytes already on disk, or into the free end of
            // the last block of a file, needs no free space.
            QString which;
            QVERIFY2(tablesEqualFiles(s, &which), qPrintable(which));
            QVERIFY(name.startsWith("update") || name.startsWith("append"));
            return;
        }
        const QStringList reasons =
            readOnly ? QStringList{QStringLiteral("Le disque est en lecture seule"),
                                   QStringLiteral("n'est pas accessible en écriture")}
                     : QStringList{QStringLiteral("Espace disque insuffisant")};
        checkFailure(s, r, reasons, before, before, name);
        if (QTest::currentTestFailed()) return;
        if (readOnly)
            QVERIFY(disk.remount(false));
        else
            QVERIFY(QFile::remove(disk.mountPoint.filePath("plein")));
        checkGoesOn(s, name);
    }

    void aDataFileReplacedByAFolder_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("file");
        const auto ops = operations();
        for (int i = 0; i < ops.size(); ++i) {
            const QString& n = ops[i].first;
            QString file = "candidatures.dat";
            if (n.contains("company")) file = "societes.dat";
            if (n.contains("contact")) file = "contacts.dat";
            if (n.contains("favourite")) file = "favoris.dat";
            if (n == "notes") file = "txt/BN_1.txt";
            QTest::newRow(qPrintable(n)) << i << file;
        }
    }
    void aDataFileReplacedByAFolder()
    {
        QFETCH(int, op);
        QFETCH(QString, file);
        const auto [name, operation] = operations()[op];
        QTemporaryDir dir(scratch());
        fillFolder(dir.path());
        TestStore s(dir.path());
        QVERIFY(loadAll(s));
        QVERIFY(QFile::remove(s.path(file)));
        QVERIFY(QDir(dir.path()).mkpath(file + "/dossier"));
        const Snapshot before = snapshot(dir.path());
        const Result r = operation(s);
        checkFailure(s, r, {QStringLiteral("Un dossier porte ce nom")}, before, before, name);
        if (QTest::currentTestFailed()) return;
        QVERIFY(!s.Occupe);
        checkGoesOn(s, name);
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
