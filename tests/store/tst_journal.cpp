// Steps of several files stopped in their middle: the next start finds the
// journal and finishes the step, or finds a step that never began and leaves
// the data files as they are. A damaged journal never costs a record.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/journal.h"
#include "store/store.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

// A program folder with two companies, three contacts and two applications
// linked to contacts 2 and 3.
struct Folder {
    QTemporaryDir dir;
    QByteArray societes, contacts, candidatures;

    Folder()
    {
        Store s(dir.path());
        s.Initialisation();
        societes = recordBytes(makeSociete(1, "ACME")) + recordBytes(makeSociete(2, "BETA"));
        contacts = recordBytes(makeContact(1, 1, "Martin")) +
                   recordBytes(makeContact(2, 2, "Durand")) +
                   recordBytes(makeContact(3, 2, "Petit"));
        TCandidatureRec a = makeCandidature(1, 2, "Poste A");
        a.id_contact = 2;
        TCandidatureRec b = makeCandidature(2, 1, "Poste B");
        b.id_contact = 1;
        candidatures = recordBytes(a) + recordBytes(b);
        writeBytes(path("societes.dat"), societes);
        writeBytes(path("contacts.dat"), contacts);
        writeBytes(path("candidatures.dat"), candidatures);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray bytes(const QString& name) const { return readBytes(path(name)); }
    void prepare(const QString& file, const QByteArray& content) const
    {
        writeBytes(path(journal::preparedName(file)), content);
    }
    // What a restart does first.
    QStringList restart(Store** out = nullptr) const
    {
        static std::unique_ptr<Store> kept;
        kept = std::make_unique<Store>(dir.path());
        if (out) *out = kept.get();
        return kept->Initialisation();
    }
};

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    // A company deletion stopped after the journal, at each point of the step.
    void aStopAfterTheJournalIsFinishedAtTheNextStart_data()
    {
        QTest::addColumn<int>("renamed");
        QTest::newRow("before the first rename") << 0;
        QTest::newRow("between the two renames") << 1;
        QTest::newRow("after both renames") << 2;
    }
    void aStopAfterTheJournalIsFinishedAtTheNextStart()
    {
        QFETCH(int, renamed);
        Folder f;
        const QByteArray newSocietes = f.societes.left(604);
        const QByteArray newContacts = f.contacts.left(236);
        f.prepare("societes.dat", newSocietes);
        f.prepare("contacts.dat", newContacts);
        Store writer(f.dir.path());
        QVERIFY(journal::write(writer, {"societes.dat", "contacts.dat"}, {}, {}).ok);
        const QStringList order{"societes.dat", "contacts.dat"};
        for (int i = 0; i < renamed; ++i) {
            QFile::remove(f.path(order[i]));
            QVERIFY(QFile::rename(f.path(journal::preparedName(order[i])), f.path(order[i])));
        }

        Store* s = nullptr;
        QCOMPARE(f.restart(&s), QStringList());
        QCOMPARE(f.bytes("societes.dat"), newSocietes);
        QCOMPARE(f.bytes("contacts.dat"), newContacts);
        QCOMPARE(f.bytes("candidatures.dat"), f.candidatures);
        QVERIFY(!QFile::exists(f.path(journal::FileName)));
        QVERIFY(!QFile::exists(f.path(journal::preparedName("societes.dat"))));
        QVERIFY(!QFile::exists(f.path(journal::preparedName("contacts.dat"))));
        QVERIFY(!s->loadFailed(FileKind::Contacts));
        // Done once, the step is not done again.
        QCOMPARE(f.restart(), QStringList());
        QCOMPARE(f.bytes("contacts.dat"), newContacts);
    }

    void linksAndFilesOfAStoppedStepAreFinishedToo()
    {
        Folder f;
        const QByteArray newContacts = f.contacts.left(236);
        f.prepare("contacts.dat", newContacts);
        const QString text = f.path("txt/CV_1.txt");
        writeBytes(text, "lettre");
        Store writer(f.dir.path());
        QVERIFY(journal::write(writer, {"contacts.dat"}, {2, 3}, {text}).ok);

        QCOMPARE(f.restart(), QStringList());
        QCOMPARE(f.bytes("contacts.dat"), newContacts);
        const QByteArray apps = f.bytes("candidatures.dat");
        QCOMPARE(apps.size(), f.candidatures.size());
        TCandidatureRec a, b;
        memcpy(&a, apps.constData(), sizeof a);
        memcpy(&b, apps.constData() + sizeof a, sizeof b);
        QCOMPARE(qint32(a.id_contact), 0); // was contact 2
        QCOMPARE(qint32(b.id_contact), 1); // untouched
        QVERIFY(!QFile::exists(text));
    }

    void aStepStoppedBeforeItsJournalLeavesTheFilesAsTheyWere()
    {
        Folder f;
        f.prepare("societes.dat", QByteArray(604, 'x'));
        f.prepare("contacts.dat", QByteArray(100, 'y')); // cut in its middle
        QCOMPARE(f.restart(), QStringList());
        QCOMPARE(f.bytes("societes.dat"), f.societes);
        QCOMPARE(f.bytes("contacts.dat"), f.contacts);
        QVERIFY(!QFile::exists(f.path(journal::preparedName("societes.dat"))));
        QVERIFY(!QFile::exists(f.path(journal::preparedName("contacts.dat"))));
    }

    void aDamagedJournalCostsNoRecord_data()
    {
        QTest::addColumn<int>("damage");
        QTest::newRow("cut short") << 0;
        QTest::newRow("one byte changed") << 1;
        QTest::newRow("not a journal") << 2;
        QTest::newRow("empty") << 3;
    }
    void aDamagedJournalCostsNoRecord()
    {
        QFETCH(int, damage);
        Folder f;
        const QByteArray prepared = f.societes.left(604);
        f.prepare("societes.dat", prepared);
        Store writer(f.dir.path());
        QVERIFY(journal::write(writer, {"societes.dat"}, {2}, {}).ok);
        QByteArray text = f.bytes(journal::FileName);
        switch (damage) {
        case 0:
            text.chop(20);
            break;
        case 1:
            text[text.indexOf("societes") + 1] = 'X';
            break;
        case 2:
            text = QByteArray(200, '\x01');
            break;
        default:
            text.clear();
        }
        writeBytes(f.path(journal::FileName), text);

        Store* s = nullptr;
        const QStringList messages = f.restart(&s);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains("est endommagé"));
        QVERIFY(messages[0].contains("journal.txt"));
        // The data files are as they were, and the pieces are kept aside.
        QCOMPARE(f.bytes("societes.dat"), f.societes);
        QCOMPARE(f.bytes("contacts.dat"), f.contacts);
        QCOMPARE(f.bytes("candidatures.dat"), f.candidatures);
        QCOMPARE(f.bytes("backup/journal-endommage.txt"), text);
        QCOMPARE(f.bytes("backup/" + journal::preparedName("societes.dat")), prepared);
        QVERIFY(!QFile::exists(f.path(journal::FileName)));
        QVERIFY(!s->loadFailed(FileKind::Societes));
        QVERIFY(JournalStep(*s).ready().ok);
    }

    void aChangeThatCannotBeMadeKeepsTheJournalAndTheFileFromWriting()
    {
        Folder f;
        f.prepare("contacts.dat", f.contacts.left(236));
        // The data file was replaced by a directory: the rename cannot go.
        QFile::remove(f.path("contacts.dat"));
        QVERIFY(QDir(f.dir.path()).mkpath("contacts.dat/x"));
        Store writer(f.dir.path());
        QVERIFY(journal::write(writer, {"contacts.dat"}, {}, {}).ok);

        Store* s = nullptr;
        const QStringList messages = f.restart(&s);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("La dernière suppression n'a pas pu être terminée : "
                                       "remplacement de \"contacts.dat\""));
        QVERIFY(s->loadFailed(FileKind::Contacts));
        QVERIFY(!s->loadFailed(FileKind::Societes));
        QVERIFY(QFile::exists(f.path(journal::FileName)));
        QCOMPARE(f.bytes(journal::preparedName("contacts.dat")), f.contacts.left(236));
        // Another step waits for this one to be finished.
        const Result r = JournalStep(*s).ready();
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains("relancez"));

        // Once the directory is gone, the next start finishes the step.
        QVERIFY(QDir(f.path("contacts.dat")).removeRecursively());
        QCOMPARE(f.restart(), QStringList());
        QCOMPARE(f.bytes("contacts.dat"), f.contacts.left(236));
    }

    // A step stopped between its two files says what is already done and
    // that the next start finishes it, rather than sending the user to the
    // safety copies; the next start does finish it.
    void aStepStoppedHalfWaySaysWhatIsDoneAndWhatComes()
    {
        Folder f;
        Store s(f.dir.path());
        QVERIFY(s.Initialisation().isEmpty());
        s.Societes = {makeSociete(1, "ACME"), makeSociete(2, "BETA")};
        s.Contacts = {makeContact(1, 1, "Martin"), makeContact(2, 2, "Durand"),
                      makeContact(3, 2, "Petit")};
        JournalStep step(s);
        QCOMPARE(step.prepareWithout<TSocieteRec>([](const TSocieteRec& r) { return r.id == 2; })
                     .outcome,
                 Rewrite::Done);
        QCOMPARE(
            step.prepareWithout<TContactRec>([](const TContactRec& k) { return k.id_societe == 2; })
                .outcome,
            Rewrite::Done);
        QFile::remove(f.path("contacts.dat"));
        QVERIFY(QDir(f.dir.path()).mkpath("contacts.dat/x"));
        const RewriteResult r = step.apply();
        QCOMPARE(r.outcome, Rewrite::Failed);
        QVERIFY2(r.error.startsWith("Une erreur critique est survenue lors du remplacement du "
                                    "fichier \"contacts.dat\".\rLe fichier \"societes.dat\" est "
                                    "déjà remplacé. L'application va se terminer maintenant ; "
                                    "l'opération commencée sera terminée à son prochain "
                                    "lancement.\r\r"),
                 qPrintable(r.error));
        QCOMPARE(f.bytes("societes.dat"), recordBytes(makeSociete(1, "ACME")));

        QVERIFY(QDir(f.path("contacts.dat")).removeRecursively());
        QCOMPARE(f.restart(), QStringList());
        QCOMPARE(f.bytes("contacts.dat"), recordBytes(makeContact(1, 1, "Martin")));
    }

    void aFileThatCannotBeDeletedIsToldAboutAndTheStepEnds()
    {
        Folder f;
        // A non-empty directory in place of the text file cannot be removed.
        const QString text = f.path("txt/CV_1.txt");
        QVERIFY(QDir().mkpath(text + "/x"));
        Store writer(f.dir.path());
        QVERIFY(journal::write(writer, {}, {}, {text}).ok);
        const QStringList messages = f.restart();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("T228 " + text));
        QVERIFY(!QFile::exists(f.path(journal::FileName)));
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
