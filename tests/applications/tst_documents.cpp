// The five document slots on real files: what candidatures.dat, the txt
// directory and the Import directory hold after linking, unlinking and
// deleting an application, and what is left when a write fails.
#include "applications/deletion.h"
#include "applications/documents.h"
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/store.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

Q_DECLARE_METATYPE(DocSlot)

namespace
{

// A store that lets a test act each time a data file is opened for writing.
class HookedStore : public TestStore
{
public:
    using TestStore::TestStore;
    std::function<void(int opened)> onOpen;
    int opened = 0;
    std::unique_ptr<QFile> openFile(const QString& path) override
    {
        ++opened;
        if (onOpen) onOpen(opened);
        return TestStore::openFile(path);
    }
};

struct Fixture {
    QTemporaryDir dir;
    FakeMessages messages;
    HookedStore store{dir.path()};

    explicit Fixture(const QList<TCandidatureRec>& apps)
    {
        QVERIFY2(store.Initialisation().isEmpty(), "program folder");
        QByteArray bytes;
        for (TCandidatureRec c : apps) {
            prepareForWrite(c);
            bytes += recordBytes(c);
            store.Candidatures.append(c);
        }
        writeBytes(data(), bytes);
    }
    QString data() const { return store.path("candidatures.dat"); }
    TCandidatureRec onDisk(int pos) const
    {
        TCandidatureRec r{};
        const QByteArray b = readBytes(data()).mid(pos * 1644, 1644);
        if (b.size() == 1644) std::memcpy(&r, b.constData(), sizeof r);
        return r;
    }
    QString text(DocSlot slot, qint32 id = 7) const { return pastedTextPath(store, slot, id); }
    QString makeFile(const QString& relative)
    {
        const QString p = store.path(relative);
        QDir().mkpath(QFileInfo(p).absolutePath());
        writeBytes(p, "%PDF-1.4");
        return p;
    }
    QStringList txtDir() const
    {
        return QDir(store.path("txt")).entryList(QDir::Files | QDir::Hidden);
    }
};

TCandidatureRec app(qint32 id)
{
    return makeCandidature(id, 1, "Développeur", "20260115");
}

LinkChoice link(bool file, const QString& value, QDate date)
{
    LinkChoice c;
    c.file = file;
    (file ? c.path : c.text) = value;
    c.date = date;
    return c;
}

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    void aSlotMovesThroughItsThreeStates_data()
    {
        QTest::addColumn<DocSlot>("slot");
        for (DocSlot s : AllDocSlots)
            QTest::newRow(slotInfo(s).kind) << s;
    }
    void aSlotMovesThroughItsThreeStates()
    {
        QFETCH(DocSlot, slot);
        Fixture f({app(8), app(7)});
        const QByteArray other = recordBytes(f.onDisk(0));
        // Path field | date field | application date, as the file holds them.
        auto stored = [&] {
            const TCandidatureRec r = f.onDisk(1);
            const bool same = recordBytes(f.store.Candidatures[1]) == recordBytes(r);
            return pathField(r, slot).text() + '|' + dateField(r, slot).text() + '|' +
                   r.date.text() + (same ? "" : " (table differs)");
        };
        const QString appDate = slot == DocSlot::Offre ? QString() : "|20260115";

        // Pasted text: its file holds Windows lines in Windows-1252.
        QVERIFY(linkDocument(f.store, 7, slot, link(false, "Madame,\nà vous", QDate(2026, 2, 3)))
                    .result.ok);
        QCOMPARE(readBytes(f.text(slot)), QByteArray("Madame,\r\n\xe0 vous\r\n"));
        QCOMPARE(stored(), "<TEXTE>|20260203" + (appDate.isEmpty() ? "|20260203" : appDate));

        // A file of the user's: the pasted text goes, the file stays.
        const QString mine = f.makeFile("Mes documents/lettre.doc");
        QVERIFY(linkDocument(f.store, 7, slot, link(true, mine, QDate(2026, 2, 5))).result.ok);
        QVERIFY(!QFileInfo::exists(f.text(slot)));
        QCOMPARE(stored(), mine + "|20260205" + (appDate.isEmpty() ? "|20260205" : appDate));

        // An empty path empties the slot and still sets the date.
        QVERIFY(linkDocument(f.store, 7, slot, link(true, QString(), QDate(2026, 2, 6))).result.ok);
        QCOMPARE(stored(), "|20260206" + (appDate.isEmpty() ? "|20260206" : appDate));

        // An empty text too, and its file goes.
        QVERIFY(linkDocument(f.store, 7, slot, link(false, "x", QDate(2026, 2, 7))).result.ok);
        QVERIFY(
            linkDocument(f.store, 7, slot, link(false, QString(), QDate(2026, 2, 8))).result.ok);
        QVERIFY(f.txtDir().isEmpty());
        QCOMPARE(stored(), "|20260208" + (appDate.isEmpty() ? "|20260208" : appDate));

        // "Supprimer": the offer keeps the application date, the others lose their own.
        QVERIFY(linkDocument(f.store, 7, slot, link(false, "x", QDate(2026, 2, 9))).result.ok);
        QVERIFY(unlinkDocument(f.store, 7, slot).result.ok);
        QVERIFY(f.txtDir().isEmpty());
        QCOMPARE(stored(), slot == DocSlot::Offre ? "|20260209|20260209" : "||20260115");

        QVERIFY(QFileInfo::exists(mine));
        QCOMPARE(recordBytes(f.onDisk(0)), other);
        QCOMPARE(f.messages.count(), 0);
    }

    void unlinkingDeletesOnlyAnImportedPdf_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("import pattern") << "Import/20260115_101500.pdf" << true;
        QTest::newRow("letter case") << "IMPORT/20260115_101500.PDF" << true;
        QTest::newRow("20-character name") << "Import/20260115_1015001.pdf" << false;
        QTest::newRow("no _ as 9th") << "Import/20260115-101500.pdf" << false;
        QTest::newRow("outside Import") << "Mes CV/20260115_101500.pdf" << false;
    }
    void unlinkingDeletesOnlyAnImportedPdf()
    {
        QFETCH(QString, relative);
        QFETCH(bool, deleted);
        Fixture f({app(7), app(8)});
        const QString p = f.makeFile(relative);
        QCOMPARE(isImportedPdf(f.store.programDir(), p), deleted);
        const QDate day(2026, 1, 20);
        // Kept while another application links to it.
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, link(true, p, day)).result.ok);
        QVERIFY(linkDocument(f.store, 8, DocSlot::Offre, link(true, p, day)).result.ok);
        QVERIFY(unlinkDocument(f.store, 7, DocSlot::CV).result.ok);
        QVERIFY(QFileInfo::exists(p));
        // Linking another document over it never deletes it.
        QVERIFY(linkDocument(f.store, 8, DocSlot::Offre, link(false, "texte", day)).result.ok);
        QVERIFY(QFileInfo::exists(p));
        // "Supprimer" deletes it when it is an imported PDF, and only then.
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, link(true, p, day)).result.ok);
        QVERIFY(unlinkDocument(f.store, 7, DocSlot::CV).result.ok);
        QCOMPARE(QFileInfo::exists(p), !deleted);
        QVERIFY(f.onDisk(0).cv.isEmpty());
    }

    void aFailedWriteLeavesRecordAndTextAsTheyWere_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<bool>("toFile");
        QTest::newRow("record, new text") << "candidatures.dat" << false;
        QTest::newRow("record, to a file") << "candidatures.dat" << true;
        QTest::newRow("text file") << "CV_7.txt" << false;
    }
    void aFailedWriteLeavesRecordAndTextAsTheyWere()
    {
        QFETCH(QString, failing);
        QFETCH(bool, toFile);
        Fixture f({app(7)});
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, link(false, "ancien", QDate(2026, 1, 16)))
                    .result.ok);
        const QByteArray before = readBytes(f.data());
        f.store.failingSuffix = failing;
        f.store.fileBudget = f.store.saveBudget = 3;
        const QString value = toFile ? f.dir.filePath("cv.pdf") : "nouveau texte";
        const DocumentResult linked =
            linkDocument(f.store, 7, DocSlot::CV, link(toFile, value, QDate(2026, 1, 17)));
        QVERIFY(!linked.result.ok);
        QVERIFY2(linked.result.error.contains(failing), qPrintable(linked.result.error));
        QVERIFY(linked.furtherErrors.isEmpty());
        if (failing == "candidatures.dat") {
            QVERIFY(linked.result.error.startsWith("T229 \"candidatures.dat\"\r\r"));
            const DocumentResult unlinked = unlinkDocument(f.store, 7, DocSlot::CV);
            QCOMPARE(unlinked.result.error, linked.result.error);
        } else {
            QVERIFY(linked.result.error.startsWith(
                "Impossible d'enregistrer le texte dans le fichier \"" + f.text(DocSlot::CV) +
                "\" : le document n'a pas été modifié.\r\r"));
        }
        QCOMPARE(readBytes(f.data()), before);
        QCOMPARE(recordBytes(f.store.Candidatures[0]), before);
        QCOMPARE(readBytes(f.text(DocSlot::CV)), QByteArray("ancien\r\n"));
        QCOMPARE(f.txtDir(), QStringList{"CV_7.txt"}); // no temporary file left behind
        QCOMPARE(f.messages.count(), 0);
    }

    void unstorableChoicesAreRefusedBeforeAnyWrite_data()
    {
        QTest::addColumn<bool>("file");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("named"); // what the message points at
        const QString base = QStringLiteral("/home/emploi/");
        QTest::newRow("256 characters") << true << base + QString(256 - base.size(), 'a') << "256";
        QTest::newRow("Polish letter") << true << base + QStringLiteral("Łódź/cv.pdf") << "Ł";
        QTest::newRow("the marker") << true << "<TEXTE>"
                                    << "<TEXTE>";
        QTest::newRow("emoji in a text") << false << QStringLiteral("Merci 😀 !") << "😀";
    }
    void unstorableChoicesAreRefusedBeforeAnyWrite()
    {
        QFETCH(bool, file);
        QFETCH(QString, value);
        QFETCH(QString, named);
        Fixture f({app(7)});
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, link(false, "ancien", QDate(2026, 1, 16)))
                    .result.ok);
        const QByteArray before = readBytes(f.data());
        const DocumentResult r =
            linkDocument(f.store, 7, DocSlot::CV, link(file, value, QDate(2026, 1, 17)));
        QVERIFY(!r.result.ok);
        QCOMPARE(r.result.error, choiceProblem(link(file, value, QDate(2026, 1, 17))));
        QVERIFY2(r.result.error.contains(named), qPrintable(r.result.error));
        QCOMPARE(readBytes(f.data()), before);
        QCOMPARE(readBytes(f.text(DocSlot::CV)), QByteArray("ancien\r\n"));
        QCOMPARE(f.messages.count(), 0);
        // One character less fits the field whole, "€" included.
        if (value.size() == 256) {
            const QString fits = value.left(254) + QStringLiteral("€");
            QVERIFY(linkDocument(f.store, 7, DocSlot::CV, link(true, fits, QDate(2026, 1, 17)))
                        .result.ok);
            QCOMPARE(f.onDisk(0).cv.text(), fits);
        }
    }

    void deletingAnApplicationRemovesItsOwnFilesOnly()
    {
        Fixture f({app(8)});
        TCandidatureRec gone = app(7);
        const QString pdf = f.makeFile("Import/20260115_101500.pdf");
        const QString lookAlike = f.makeFile("Import/20260115-101501.pdf");
        const QString userOffer = f.makeFile("Mes offres/offre.pdf");
        gone.cv = MarqueurTexte;
        gone.lettre = pdf;
        gone.accuse = lookAlike;
        gone.offre = userOffer;
        const QStringList kinds = {"CV", "Lettre", "Accuse", "Suite", "BN", "Offre"};
        // A directory in the place of one text file cannot be removed as a file.
        QDir().mkpath(applicationTextPath(f.store, "Suite", 7) + "/dedans");
        for (const QString& k : kinds) {
            if (k != "Suite") writeBytes(applicationTextPath(f.store, k, 7), "x\r\n");
            writeBytes(applicationTextPath(f.store, k, 8), "x\r\n");
        }
        const QStringList failures = deleteApplicationFiles(f.store, gone);
        QCOMPARE(failures.size(), 1);
        const QString blocked = "T228 " + applicationTextPath(f.store, "Suite", 7) + "\r\r";
        QVERIFY(failures[0].startsWith(blocked));
        QCOMPARE(f.messages.count(), 0);
        for (const QString& k : kinds) {
            QCOMPARE(QFileInfo::exists(applicationTextPath(f.store, k, 7)), k == "Suite");
            QVERIFY(QFileInfo::exists(applicationTextPath(f.store, k, 8)));
        }
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(QFileInfo::exists(lookAlike) && QFileInfo::exists(userOffer));
    }

    void deletingOneOfTwoRecordsWithOneIdKeepsTheOther()
    {
        // A damaged file: two applications share id 7.
        TCandidatureRec second = app(7);
        second.intitule = QStringLiteral("Deuxième");
        Fixture f({app(7), second, app(8)});
        writeBytes(applicationTextPath(f.store, "BN", 7), "notes\r\n");
        const ApplicationDeletion d = DelCandidature(f.store, 1);
        QCOMPARE(d.rewrite.outcome, Rewrite::Done);
        QCOMPARE(f.store.Candidatures.size(), 2);
        QCOMPARE(f.onDisk(0).intitule.text(), app(7).intitule.text());
        QCOMPARE(qint32(f.onDisk(1).id), 8);
        // The notes belong to the one that stays.
        QVERIFY(QFileInfo::exists(applicationTextPath(f.store, "BN", 7)));
        // Nothing at a position outside the table.
        QCOMPARE(DelCandidature(f.store, 5).rewrite.outcome, Rewrite::Unchanged);
        QCOMPARE(readBytes(f.data()).size(), 2 * 1644);
    }

    void aTextThatCannotTakeItsPlaceUndoesTheLink_data()
    {
        QTest::addColumn<bool>("putBackFails");
        QTest::newRow("record put back") << false;
        QTest::newRow("record not put back") << true;
    }
    void aTextThatCannotTakeItsPlaceUndoesTheLink()
    {
        QFETCH(bool, putBackFails);
        Fixture f({app(7)});
        const QByteArray before = readBytes(f.data());
        // While the record is written, something takes the place of the
        // text file that the new text cannot replace.
        f.store.onOpen = [&](int opened) {
            if (opened == 1) QDir().mkpath(f.text(DocSlot::CV) + "/dedans");
            if (opened == 2 && putBackFails) {
                f.store.failingSuffix = "candidatures.dat";
                f.store.fileBudget = 0;
            }
        };
        const DocumentResult r =
            linkDocument(f.store, 7, DocSlot::CV, link(false, "texte", QDate(2026, 1, 17)));
        QVERIFY(!r.result.ok);
        QVERIFY2(r.result.error.startsWith("Impossible d'enregistrer le texte dans le fichier \"" +
                                           f.text(DocSlot::CV) + "\""),
                 qPrintable(r.result.error));
        QCOMPARE(f.store.opened, 2);
        if (putBackFails) {
            // The record still announces a text: the user is told both.
            QCOMPARE(r.furtherErrors.size(), 1);
            QVERIFY(r.furtherErrors[0].startsWith("T229 \"candidatures.dat\"\r\r"));
            QCOMPARE(f.onDisk(0).cv.text(), MarqueurTexte);
        } else {
            QVERIFY(r.furtherErrors.isEmpty());
            QCOMPARE(readBytes(f.data()), before);
        }
        QCOMPARE(f.messages.count(), 0);
    }

    void anApplicationThatIsGoneIsReported()
    {
        Fixture f({app(7)});
        const QString gone = QStringLiteral(
            "La candidature n° 9 est introuvable : le document n'a pas été modifié.");
        QCOMPARE(linkDocument(f.store, 9, DocSlot::CV, link(false, "x", QDate(2026, 1, 17)))
                     .result.error,
                 gone);
        QCOMPARE(unlinkDocument(f.store, 9, DocSlot::Offre).result.error, gone);
        QVERIFY(f.txtDir().isEmpty());
    }

    // A damaged file may hold two applications with one id: the document goes
    // to the one the user chose, and a position that no longer holds the id
    // falls back to the first live record with it.
    void twoApplicationsWithOneIdTheChosenOneReceivesTheDocument()
    {
        TCandidatureRec other = app(7);
        other.intitule = QStringLiteral("Comptable");
        Fixture f({app(7), other});
        const QString pdf = f.makeFile("Import/offre.pdf");
        const QByteArray first = recordBytes(f.onDisk(0));
        QVERIFY(linkDocument(f.store, 7, DocSlot::Lettre, link(true, pdf, QDate(2026, 3, 1)), 1)
                    .result.ok);
        QCOMPARE(f.onDisk(1).lettre.text(), pdf);
        QCOMPARE(recordBytes(f.onDisk(0)), first);
        QVERIFY(unlinkDocument(f.store, 7, DocSlot::Lettre, 1).result.ok);
        QCOMPARE(f.onDisk(1).lettre.text(), QString());
        QCOMPARE(recordBytes(f.onDisk(0)), first);
        // Position 5 is past the table: the first record with the id.
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, link(true, pdf, QDate(2026, 3, 2)), 5)
                    .result.ok);
        QCOMPARE(f.onDisk(0).cv.text(), pdf);
        QCOMPARE(f.onDisk(1).cv.text(), QString());
    }

    void theEditorDescribesEachState()
    {
        TCandidatureRec r = app(7);
        QCOMPARE(slotDescription(r, DocSlot::Accuse), QStringLiteral("T176"));
        r.accuse = MarqueurTexte;
        QCOMPARE(slotDescription(r, DocSlot::Accuse), QStringLiteral("T194"));
        r.accuse = QStringLiteral("/home/emploi/Réponses/accusé ACME.eml");
        QCOMPARE(slotDescription(r, DocSlot::Accuse), QStringLiteral("T186 'accusé ACME.eml'"));
        r.offre = QStringLiteral("C:\\Documents\\offre.doc"); // kept from a Windows install
        QCOMPARE(slotDescription(r, DocSlot::Offre), QStringLiteral("T186 'offre.doc'"));
    }
};

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
