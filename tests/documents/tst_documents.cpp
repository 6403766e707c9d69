// The five document slots on real files: what candidatures.dat, the txt
// directory and the Import directory hold after linking, unlinking and
// deleting an application, and what is left when a write fails.
#include "applications/documents.h"
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/store.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

Q_DECLARE_METATYPE(DocSlot)

namespace {

const QByteArray kOldText = "ancien texte\r\n";

struct Fixture {
    QTemporaryDir dir;
    FakeMessages messages;
    TestStore store{dir.path()};

    explicit Fixture(const QList<TCandidatureRec>& apps)
    {
        store.Initialisation();
        QByteArray bytes;
        for (TCandidatureRec c : apps) {
            prepareForWrite(c);
            bytes += recordBytes(c);
            store.Candidatures.append(c);
        }
        writeBytes(store.path("candidatures.dat"), bytes);
        messages.clear();
    }
    QString file() const { return store.path("candidatures.dat"); }
    // Record `pos` as the file holds it.
    TCandidatureRec onDisk(int pos) const
    {
        TCandidatureRec r;
        const QByteArray b = readBytes(file()).mid(pos * 1644, 1644);
        if (b.size() != 1644) return TCandidatureRec{};
        std::memcpy(&r, b.constData(), sizeof r);
        return r;
    }
    QString textFile(DocSlot slot, qint32 id = 7) const { return pastedTextPath(store, slot, id); }
    // An imported PDF (or a look-alike) under the program directory.
    QString makeFile(const QString& relative, const QByteArray& bytes = "%PDF-1.4")
    {
        const QString p = store.path(relative);
        QDir().mkpath(QFileInfo(p).absolutePath());
        writeBytes(p, bytes);
        return p;
    }
};

TCandidatureRec app7() { return makeCandidature(7, 1, "Développeur", "20260115"); }

LinkChoice fileChoice(const QString& path, QDate date)
{
    LinkChoice c;
    c.file = true;
    c.path = path;
    c.date = date;
    return c;
}

LinkChoice textChoice(const QString& text, QDate date)
{
    LinkChoice c;
    c.file = false;
    c.text = text;
    c.date = date;
    return c;
}

void addSlots()
{
    QTest::addColumn<DocSlot>("slot");
    for (DocSlot s : AllDocSlots) QTest::newRow(slotInfo(s).kind) << s;
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    void textFilesAreWindowsLinesInWindows1252()
    {
        // What the user typed → the bytes of the file, and back.
        QCOMPARE(textFileBytes(QStringLiteral("Bonjour\nà tous")),
                 QByteArray("Bonjour\r\n\xe0 tous\r\n"));
        QCOMPARE(textFileBytes(QStringLiteral("une ligne\n")), QByteArray("une ligne\r\n"));
        QCOMPARE(textFileBytes(QStringLiteral("a\n\nb\n\n")), QByteArray("a\r\n\r\nb\r\n\r\n"));
        QCOMPARE(textFileBytes(QStringLiteral("\t5 000 €")), QByteArray("\t5 000 \x80\r\n"));
        QCOMPARE(textFileBytes(QString()), QByteArray());
        for (const QString& t : {QStringLiteral("Bonjour\nà tous"), QStringLiteral("a\n\nb\n"),
                                 QStringLiteral("\n")}) {
            QString back = textFromFileBytes(textFileBytes(t));
            QCOMPARE(back + (t.endsWith('\n') ? "\n" : ""), t);
        }
        // Files written by other programs: bare LF or CR end lines too.
        QCOMPARE(textFromFileBytes("un\ndeux\rtrois\r\n"), QStringLiteral("un\ndeux\ntrois"));
    }

    void writingATextFileReplacesItWholeOrNotAtAll()
    {
        Fixture f({app7()});
        const QString p = f.textFile(DocSlot::CV);
        QString error;
        QVERIFY(writeTextFile(f.store, p, QStringLiteral("premier"), &error));
        QCOMPARE(readBytes(p), QByteArray("premier\r\n"));
        f.store.failingSuffix = QStringLiteral(".txt");
        f.store.saveBudget = 5;
        QVERIFY(!writeTextFile(f.store, p, QStringLiteral("un texte bien plus long"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(p), QByteArray("premier\r\n"));
        QCOMPARE(QDir(f.store.path("txt")).entryList(QDir::Files), QStringList{"CV_7.txt"});
        QString read;
        QVERIFY(readTextFile(p, &read, &error));
        QCOMPARE(read, QStringLiteral("premier"));
        QVERIFY(!readTextFile(f.store.path("txt/absent.txt"), &read, &error));
    }

    void aSlotMovesThroughItsThreeStates_data() { addSlots(); }
    void aSlotMovesThroughItsThreeStates()
    {
        QFETCH(DocSlot, slot);
        TCandidatureRec other = makeCandidature(8, 1, "Autre", "20251201");
        Fixture f({other, app7()});
        const QString txt = f.textFile(slot);
        auto stored = [&](const TCandidatureRec& r) {
            return std::make_pair(pathField(r, slot).text(), dateField(r, slot).text());
        };

        // Pasted text: the file is created and the record says "<TEXTE>".
        QVERIFY(linkDocument(f.store, 7, slot,
                             textChoice(QStringLiteral("Madame,\nje postule."), QDate(2026, 2, 3))));
        QCOMPARE(readBytes(txt), QByteArray("Madame,\r\nje postule.\r\n"));
        QCOMPARE(stored(f.onDisk(1)), std::make_pair(QStringLiteral("<TEXTE>"), QStringLiteral("20260203")));
        QCOMPARE(stored(f.store.Candidatures[1]), stored(f.onDisk(1)));
        // The offer has no date of its own: the application's date moves.
        QCOMPARE(f.onDisk(1).date.text(),
                 slot == DocSlot::Offre ? QStringLiteral("20260203") : QStringLiteral("20260115"));
        QCOMPARE(recordBytes(f.onDisk(0)), recordBytes(f.store.Candidatures[0]));

        // Text again: the file is replaced.
        QVERIFY(linkDocument(f.store, 7, slot, textChoice(QStringLiteral("Version 2"), QDate(2026, 2, 4))));
        QCOMPARE(readBytes(txt), QByteArray("Version 2\r\n"));

        // File: the pasted text goes.
        const QString userFile = f.dir.filePath("mes documents/lettre.doc");
        QVERIFY(linkDocument(f.store, 7, slot, fileChoice(userFile, QDate(2026, 2, 5))));
        QVERIFY(!QFileInfo::exists(txt));
        QCOMPARE(stored(f.onDisk(1)), std::make_pair(userFile, QStringLiteral("20260205")));

        // An empty path empties the slot but still sets the date.
        QVERIFY(linkDocument(f.store, 7, slot, fileChoice(QString(), QDate(2026, 2, 6))));
        QCOMPARE(stored(f.onDisk(1)), std::make_pair(QString(), QStringLiteral("20260206")));

        // An empty text empties the slot and deletes the text file.
        QVERIFY(linkDocument(f.store, 7, slot, textChoice(QStringLiteral("x"), QDate(2026, 2, 7))));
        QVERIFY(QFileInfo::exists(txt));
        QVERIFY(linkDocument(f.store, 7, slot, textChoice(QString(), QDate(2026, 2, 8))));
        QVERIFY(!QFileInfo::exists(txt));
        QCOMPARE(stored(f.onDisk(1)), std::make_pair(QString(), QStringLiteral("20260208")));
        QCOMPARE(stored(f.store.Candidatures[1]), stored(f.onDisk(1)));

        // The other slots and the other application were never touched.
        for (DocSlot s : AllDocSlots)
            if (s != slot) QVERIFY(pathField(f.onDisk(1), s).isEmpty());
        QCOMPARE(f.messages.count(), 0);
    }

    void unlinkingEmptiesTheSlotAndDeletesItsText_data() { addSlots(); }
    void unlinkingEmptiesTheSlotAndDeletesItsText()
    {
        QFETCH(DocSlot, slot);
        Fixture f({app7()});
        QVERIFY(linkDocument(f.store, 7, slot, textChoice(QStringLiteral("texte"), QDate(2026, 3, 1))));
        QVERIFY(unlinkDocument(f.store, 7, slot));
        const TCandidatureRec r = f.onDisk(0);
        QVERIFY(pathField(r, slot).isEmpty());
        QVERIFY(!QFileInfo::exists(f.textFile(slot)));
        if (slot == DocSlot::Offre) {
            QCOMPARE(r.date.text(), QStringLiteral("20260301")); // unlinking keeps the date
        } else {
            QVERIFY(dateField(r, slot).isEmpty());
            QCOMPARE(r.date.text(), QStringLiteral("20260115"));
        }
        QCOMPARE(recordBytes(f.store.Candidatures[0]), recordBytes(r));
        QCOMPARE(f.messages.count(), 0);
    }

    void importedPdfsAreRecognisedByTheirNameAndPlace()
    {
        Fixture f({app7()});
        const QString dir = f.store.programDir();
        const QString good = f.makeFile("Import/20260115_101500.pdf");
        QVERIFY(isImportedPdf(dir, good));
        QVERIFY(isImportedPdf(dir, f.makeFile("Import/20260115_101501.PDF")));
        QVERIFY(isImportedPdf(dir, f.makeFile("IMPORT/20260115_101502.pdf")));
        QVERIFY(!isImportedPdf(dir, f.makeFile("Import/20260115_1015000.pdf")));  // 20 characters
        QVERIFY(!isImportedPdf(dir, f.makeFile("Import/202601151_01500.pdf")));   // "_" 10th
        QVERIFY(!isImportedPdf(dir, f.makeFile("Import/20260115_101500.doc")));
        QVERIFY(!isImportedPdf(dir, f.makeFile("Documents/20260115_101500.pdf"))); // elsewhere
        QVERIFY(!isImportedPdf(dir, f.store.path("Import/20260115_111111.pdf")));  // missing
        QDir().mkpath(f.store.path("Import/20260115_121212.pdf"));                 // a directory
        QVERIFY(!isImportedPdf(dir, f.store.path("Import/20260115_121212.pdf")));
        QTemporaryDir otherProgram;
        const QString foreign = otherProgram.filePath("Import/20260115_101500.pdf");
        QDir().mkpath(otherProgram.filePath("Import"));
        writeBytes(foreign, "%PDF");
        QVERIFY(!isImportedPdf(dir, foreign));
    }

    void unlinkingDeletesOnlyAnImportedPdf_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("import pattern") << "Import/20260115_101500.pdf" << true;
        QTest::newRow("20-character name") << "Import/20260115_1015001.pdf" << false;
        QTest::newRow("no _ as 9th") << "Import/20260115-101500.pdf" << false;
        QTest::newRow("outside Import") << "Mes CV/20260115_101500.pdf" << false;
        QTest::newRow("user's document") << "Mes CV/cv.doc" << false;
    }
    void unlinkingDeletesOnlyAnImportedPdf()
    {
        QFETCH(QString, relative);
        QFETCH(bool, deleted);
        Fixture f({app7()});
        const QString p = f.makeFile(relative);
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, fileChoice(p, QDate(2026, 1, 20))));
        QVERIFY(unlinkDocument(f.store, 7, DocSlot::CV));
        QVERIFY(f.onDisk(0).cv.isEmpty());
        QCOMPARE(QFileInfo::exists(p), !deleted);
        QCOMPARE(f.messages.count(), 0);
    }

    void linkingOverAFileNeverDeletesIt()
    {
        Fixture f({app7()});
        const QString pdf = f.makeFile("Import/20260115_101500.pdf");
        QVERIFY(linkDocument(f.store, 7, DocSlot::Lettre, fileChoice(pdf, QDate(2026, 1, 20))));
        QVERIFY(linkDocument(f.store, 7, DocSlot::Lettre, textChoice("Texte", QDate(2026, 1, 21))));
        QVERIFY(linkDocument(f.store, 7, DocSlot::Lettre, fileChoice(QString(), QDate(2026, 1, 22))));
        QCOMPARE(readBytes(pdf), QByteArray("%PDF-1.4"));
    }

    void anImportedPdfStillLinkedElsewhereIsKept()
    {
        Fixture f({app7(), makeCandidature(8, 1, "Autre")});
        const QString pdf = f.makeFile("Import/20260115_101500.pdf");
        QVERIFY(linkDocument(f.store, 7, DocSlot::Offre, fileChoice(pdf, QDate(2026, 1, 20))));
        QVERIFY(linkDocument(f.store, 8, DocSlot::Offre, fileChoice(pdf, QDate(2026, 1, 20))));
        QVERIFY(unlinkDocument(f.store, 7, DocSlot::Offre));
        QVERIFY(QFileInfo::exists(pdf));
        QVERIFY(unlinkDocument(f.store, 8, DocSlot::Offre));
        QVERIFY(!QFileInfo::exists(pdf));
    }

    void aFailedRecordWriteLeavesRecordAndTextAsTheyWere_data()
    {
        QTest::addColumn<bool>("toFile");
        QTest::newRow("new text") << false;
        QTest::newRow("to a file") << true;
    }
    void aFailedRecordWriteLeavesRecordAndTextAsTheyWere()
    {
        QFETCH(bool, toFile);
        Fixture f({app7()});
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, textChoice("ancien texte", QDate(2026, 1, 16))));
        const QByteArray before = readBytes(f.file());
        const QByteArray tableBefore = recordBytes(f.store.Candidatures[0]);
        f.store.failingSuffix = QStringLiteral("candidatures.dat");
        f.store.fileBudget = 100;

        const LinkChoice c = toFile ? fileChoice(f.dir.filePath("cv.pdf"), QDate(2026, 1, 17))
                                    : textChoice("nouveau texte", QDate(2026, 1, 17));
        QVERIFY(!linkDocument(f.store, 7, DocSlot::CV, c));
        QCOMPARE(readBytes(f.file()), before);
        QCOMPARE(recordBytes(f.store.Candidatures[0]), tableBefore);
        QCOMPARE(readBytes(f.textFile(DocSlot::CV)), kOldText);
        QCOMPARE(QDir(f.store.path("txt")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"CV_7.txt"});
        QCOMPARE(f.messages.count(), 1);
        QVERIFY(f.messages.shown[0].text.startsWith(QStringLiteral("T229 \"candidatures.dat\"\r\r")));
    }

    void aFailedRecordWriteCreatesNoTextFile()
    {
        Fixture f({app7()});
        f.store.failingSuffix = QStringLiteral("candidatures.dat");
        f.store.fileBudget = 0;
        QVERIFY(!linkDocument(f.store, 7, DocSlot::Suite, textChoice("Refus", QDate(2026, 1, 17))));
        QVERIFY(QDir(f.store.path("txt")).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(f.store.Candidatures[0].suite.isEmpty());
    }

    void aFailedTextWriteLeavesTheRecord()
    {
        Fixture f({app7()});
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, textChoice("ancien texte", QDate(2026, 1, 16))));
        const QByteArray before = readBytes(f.file());
        f.store.failingSuffix = QStringLiteral("CV_7.txt");
        f.store.saveBudget = 3;
        QVERIFY(!linkDocument(f.store, 7, DocSlot::CV, textChoice("nouveau texte", QDate(2026, 1, 18))));
        QCOMPARE(readBytes(f.file()), before);
        QCOMPARE(readBytes(f.textFile(DocSlot::CV)), kOldText);
        QCOMPARE(f.store.Candidatures[0].date_cv.text(), QStringLiteral("20260116"));
        QCOMPARE(f.messages.count(), 1);
        QVERIFY(f.messages.shown[0].text.contains(f.textFile(DocSlot::CV)));
    }

    void aFailedUnlinkDeletesNothing()
    {
        Fixture f({app7()});
        const QString pdf = f.makeFile("Import/20260115_101500.pdf");
        QVERIFY(linkDocument(f.store, 7, DocSlot::Accuse, fileChoice(pdf, QDate(2026, 1, 20))));
        writeBytes(f.textFile(DocSlot::Accuse), kOldText); // left over by hand
        const QByteArray before = readBytes(f.file());
        f.store.failingSuffix = QStringLiteral("candidatures.dat");
        f.store.fileBudget = 0;
        QVERIFY(!unlinkDocument(f.store, 7, DocSlot::Accuse));
        QCOMPARE(readBytes(f.file()), before);
        QVERIFY(QFileInfo::exists(pdf));
        QCOMPARE(readBytes(f.textFile(DocSlot::Accuse)), kOldText);
        QCOMPARE(f.store.Candidatures[0].accuse.text(), pdf);
    }

    void unstorablePathsAndTextsAreRefusedBeforeAnyWrite_data()
    {
        QTest::addColumn<bool>("file");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("named"); // what the message points at
        const QString base = QStringLiteral("/home/emploi/");
        QTest::newRow("256 characters") << true << base + QString(256 - base.size(), 'a') << "256";
        QTest::newRow("Polish letter") << true << base + QStringLiteral("Łódź/cv.pdf") << "Ł";
        QTest::newRow("Japanese") << true << base + QStringLiteral("履歴書.pdf") << "履 歴 書";
        QTest::newRow("the marker") << true << "<TEXTE>" << "<TEXTE>";
        QTest::newRow("emoji in a text") << false << QStringLiteral("Merci 😀 !") << "😀";
    }
    void unstorablePathsAndTextsAreRefusedBeforeAnyWrite()
    {
        QFETCH(bool, file);
        QFETCH(QString, value);
        QFETCH(QString, named);
        Fixture f({app7()});
        QVERIFY(linkDocument(f.store, 7, DocSlot::CV, textChoice("ancien texte", QDate(2026, 1, 16))));
        const QByteArray before = readBytes(f.file());
        f.messages.clear();
        const LinkChoice c = file ? fileChoice(value, QDate(2026, 1, 17))
                                  : textChoice(value, QDate(2026, 1, 17));
        QVERIFY(!choiceProblem(c).isEmpty());
        QVERIFY(!linkDocument(f.store, 7, DocSlot::CV, c));
        QCOMPARE(readBytes(f.file()), before);
        QCOMPARE(readBytes(f.textFile(DocSlot::CV)), kOldText);
        QCOMPARE(f.store.Candidatures[0].date_cv.text(), QStringLiteral("20260116"));
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(f.messages.shown[0].kind, msg::Kind::Error);
        QVERIFY2(f.messages.shown[0].text.contains(named), qPrintable(f.messages.shown[0].text));
    }

    void pathsThatFitAreStoredWhole()
    {
        Fixture f({app7()});
        const QString base = QStringLiteral("/home/emploi/Modèles €/");
        const QString p = base + QString(255 - base.size(), 'b');
        QVERIFY(linkDocument(f.store, 7, DocSlot::Lettre, fileChoice(p, QDate(2026, 1, 17))));
        QCOMPARE(f.onDisk(0).lettre.text(), p);
        QCOMPARE(f.onDisk(0).lettre.length(), 255);
    }

    void anUnknownApplicationIsReportedAndNothingChanges()
    {
        Fixture f({app7()});
        const QByteArray before = readBytes(f.file());
        QVERIFY(!linkDocument(f.store, 99, DocSlot::CV, textChoice("texte", QDate(2026, 1, 17))));
        QVERIFY(!unlinkDocument(f.store, 99, DocSlot::CV));
        QCOMPARE(f.messages.count(), 2);
        QVERIFY(f.messages.shown[0].text.contains("99"));
        QCOMPARE(readBytes(f.file()), before);
        QVERIFY(!QFileInfo::exists(f.textFile(DocSlot::CV, 99)));
    }

    void deletingAnApplicationRemovesItsOwnFilesOnly()
    {
        Fixture f({makeCandidature(8, 1, "Reste")});
        TCandidatureRec gone = app7();
        const QString pdf = f.makeFile("Import/20260115_101500.pdf");
        const QString lookAlike = f.makeFile("Import/20260115-101501.pdf");
        const QString userOffer = f.makeFile("Mes offres/offre.pdf");
        gone.cv = MarqueurTexte;
        gone.lettre = pdf;
        gone.accuse = lookAlike;
        gone.offre = userOffer;
        const QStringList kinds = {"CV", "Lettre", "Accuse", "Suite", "BN", "Offre"};
        for (const QString& k : kinds) {
            writeBytes(applicationTextPath(f.store, k, 7), "x\r\n");
            writeBytes(applicationTextPath(f.store, k, 8), "x\r\n");
        }
        QVERIFY(deleteApplicationFiles(f.store, gone));
        for (const QString& k : kinds) {
            QVERIFY2(!QFileInfo::exists(applicationTextPath(f.store, k, 7)), qPrintable(k));
            QVERIFY(QFileInfo::exists(applicationTextPath(f.store, k, 8)));
        }
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(QFileInfo::exists(lookAlike));
        QVERIFY(QFileInfo::exists(userOffer));
        QCOMPARE(f.messages.count(), 0);
    }

    void aTextFileThatCannotBeDeletedIsReportedAndTheRestGoes()
    {
        Fixture f({});
        // A directory in the place of the acknowledgement's text cannot be removed as a file.
        const QString blocked = applicationTextPath(f.store, "Accuse", 7);
        QDir().mkpath(blocked + "/dedans");
        for (const char* k : {"CV", "Suite", "Offre"})
            writeBytes(applicationTextPath(f.store, k, 7), "x");
        QVERIFY(!deleteApplicationFiles(f.store, app7()));
        QCOMPARE(f.messages.count(), 1);
        QVERIFY(f.messages.shown[0].text.startsWith("T228 " + blocked + "\r\r"));
        QVERIFY(f.messages.shown[0].text.size() > QString("T228 " + blocked + "\r\r").size());
        for (const char* k : {"CV", "Suite", "Offre"})
            QVERIFY(!QFileInfo::exists(applicationTextPath(f.store, k, 7)));
    }

    void theEditorDescribesEachState()
    {
        TCandidatureRec r = app7();
        QCOMPARE(slotDescription(r, DocSlot::Accuse), QStringLiteral("T176"));
        r.accuse = MarqueurTexte;
        QCOMPARE(slotDescription(r, DocSlot::Accuse), QStringLiteral("T194"));
        r.accuse = QStringLiteral("/home/emploi/Réponses/accusé ACME.eml");
        QCOMPARE(slotDescription(r, DocSlot::Accuse), QStringLiteral("T186 'accusé ACME.eml'"));
        r.offre = QStringLiteral("C:\\Documents\\offre.doc"); // kept from a Windows install
        QCOMPARE(slotDescription(r, DocSlot::Offre), QStringLiteral("T186 'offre.doc'"));
        DocSlot s;
        QVERIFY(slotFromKind("Suite", &s) && s == DocSlot::Suite);
        QVERIFY(!slotFromKind("BN", &s));
    }
};

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
