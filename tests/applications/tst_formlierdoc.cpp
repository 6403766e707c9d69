// The link dialog and the viewer as the user meets them: what the dialog
// shows when it opens on each slot, what OK writes, and what "Voir" does.
#include "applications/formlierdoc.h"
#include "applications/formvoir.h"
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "platform/dialogs.h"
#include "platform/shellopen.h"
#include "store/store.h"
#include "store/texts.h"

#include <QAbstractFileIconProvider>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(DocSlot)

namespace
{

struct Fixture {
    QTemporaryDir dir;
    FakeMessages messages;
    TestStore store{dir.path()};

    explicit Fixture(TCandidatureRec app)
    {
        store.Initialisation();
        prepareForWrite(app);
        store.Candidatures.append(app);
        writeBytes(store.path("candidatures.dat"), recordBytes(app));
    }
    ~Fixture()
    {
        dialogs::setExecHook({});
        setExecuteFileHook({});
    }
    QByteArray data() const { return readBytes(store.path("candidatures.dat")); }
};

// Opens the dialog on a slot and lets `answer` play the user.
bool runDialog(Fixture& f, DocSlot slot, bool& rafraichir,
               const std::function<int(TFormLierDoc&)>& answer)
{
    bool answered = false;
    dialogs::setExecHook([&](QDialog& d) {
        answered = true;
        auto* dlg = qobject_cast<TFormLierDoc*>(&d);
        return dlg ? answer(*dlg) : int(QDialog::Rejected);
    });
    TFormLierDoc dialog;
    const bool written = dialog.run(f.store, 7, 0, slot, rafraichir);
    dialogs::setExecHook({});
    if (!answered) qWarning("the dialog was not shown");
    return written;
}

QDate d(const char* yyyymmdd)
{
    return QDate::fromString(yyyymmdd, "yyyyMMdd");
}

} // namespace

class TestFormLierDoc : public QObject
{
    Q_OBJECT

private slots:
    void theFileChooserSpeaksFrench()
    {
        const auto d = dialogs::fileChooser(nullptr, QStringLiteral("Fichier à attacher"),
                                            TFormLierDoc::filtre(), false);
        QCOMPARE(d->nameFilters(), QStringList({"Documents (*.doc *.rtf *.pdf *.txt *.eml *.msg)",
                                                "Tous les fichiers (*)"}));
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("lettres"));
        writeBytes(dir.filePath("offre.pdf"), "%PDF");
        writeBytes(dir.filePath("LISEZMOI"), "texte");
        QCOMPARE(d->iconProvider()->type(QFileInfo(dir.filePath("lettres"))),
                 QStringLiteral("Dossier"));
        QCOMPARE(d->iconProvider()->type(QFileInfo(dir.filePath("offre.pdf"))),
                 QStringLiteral("Fichier PDF"));
        QCOMPARE(d->iconProvider()->type(QFileInfo(dir.filePath("LISEZMOI"))),
                 QStringLiteral("Fichier"));
    }

    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    void theDialogOpensOnTheSlotsDate_data()
    {
        QTest::addColumn<DocSlot>("slot");
        QTest::addColumn<QString>("own"); // the slot's date field
        QTest::addColumn<QDate>("shown");
        const QDate today = QDate::currentDate();
        QTest::newRow("offer") << DocSlot::Offre << "" << d("20260115");
        QTest::newRow("CV dated") << DocSlot::CV << "20260120" << d("20260120");
        QTest::newRow("CV undated") << DocSlot::CV << "" << d("20260115");
        QTest::newRow("letter dated") << DocSlot::Lettre << "20260121" << d("20260121");
        QTest::newRow("letter undated") << DocSlot::Lettre << "" << d("20260115");
        QTest::newRow("ack dated") << DocSlot::Accuse << "20260201" << d("20260201");
        QTest::newRow("ack undated") << DocSlot::Accuse << "" << today;
        QTest::newRow("reply dated") << DocSlot::Suite << "20260301" << d("20260301");
        QTest::newRow("reply undated") << DocSlot::Suite << "" << today;
    }
    void theDialogOpensOnTheSlotsDate()
    {
        QFETCH(DocSlot, slot);
        QFETCH(QString, own);
        QFETCH(QDate, shown);
        TCandidatureRec app = makeCandidature(7, 1, "Comptable", "20260115");
        if (slot != DocSlot::Offre) dateField(app, slot) = own;
        pathField(app, slot) = QStringLiteral("/home/emploi/doc.pdf");
        Fixture f(app);
        const QByteArray before = f.data();
        bool rafraichir = false;
        QDate seen;
        QString state;
        QVERIFY(!runDialog(f, slot, rafraichir, [&](TFormLierDoc& dlg) {
            seen = dlg.DateTimePicker1->date();
            state = QStringList{dlg.RadioFichier->text(), dlg.FichierDoc->text(),
                                dlg.RadioFichier->isChecked() ? "fichier" : "texte",
                                dlg.Bloc->isEnabled() ? "Bloc actif" : "Bloc inactif"}
                        .join('|');
            return int(QDialog::Rejected);
        }));
        QCOMPARE(seen, shown);
        QCOMPARE(state, radioCaption(slot) + "|/home/emploi/doc.pdf|fichier|Bloc inactif");
        QVERIFY(state.startsWith(QStringLiteral("Je souhaite attacher un fichier comme ")));
        // Cancelling without a change writes nothing and leaves the listing alone.
        QCOMPARE(f.data(), before);
        QVERIFY(!rafraichir);
    }

    void aPastedTextIsEditedAndWrittenBack()
    {
        TCandidatureRec app = makeCandidature(7, 1, "Comptable", "20260115");
        app.cv = QStringLiteral("<TEXTE>");
        Fixture f(app);
        const QString txt = pastedTextPath(f.store, DocSlot::CV, 7);
        writeBytes(txt, "Madame,\r\n\tje vous \xe9"
                        "cris.\r\n");
        bool rafraichir = false;
        QString opened;
        QVERIFY(runDialog(f, DocSlot::CV, rafraichir, [&](TFormLierDoc& dlg) {
            if (dlg.RadioMemo->isChecked() && dlg.Bloc->isEnabled() &&
                !dlg.FichierDoc->isEnabled() && !dlg.Bt_Parcourir->isEnabled())
                opened = dlg.Bloc->toPlainText();
            dlg.Bloc->setPlainText(QStringLiteral("Expérience\n2020-2025"));
            dlg.DateTimePicker1->setDate(QDate(2026, 1, 19));
            return int(QDialog::Accepted);
        }));
        QCOMPARE(opened, QStringLiteral("Madame,\n\tje vous écris."));
        QVERIFY(rafraichir);
        QCOMPARE(readBytes(txt), QByteArray("Exp\xe9rience\r\n2020-2025\r\n"));
        QCOMPARE(f.store.Candidatures[0].date_cv.text(), QStringLiteral("20260119"));
        QCOMPARE(f.data(), recordBytes(f.store.Candidatures[0]));
    }

    void everyChangeMarksTheListing()
    {
        Fixture f(makeCandidature(7, 1, "Comptable"));
        const QByteArray before = f.data();
        const QList<std::function<void(TFormLierDoc&)>> changes = {
            [](TFormLierDoc& d) { d.RadioMemo->click(); },
            [](TFormLierDoc& d) { d.FichierDoc->setText("/tmp/x"); },
            [](TFormLierDoc& d) { d.Bloc->setPlainText("x"); },
            [](TFormLierDoc& d) { d.DateTimePicker1->setDate(QDate(2020, 5, 5)); }};
        for (const auto& change : changes) {
            bool rafraichir = false;
            runDialog(f, DocSlot::Suite, rafraichir, [&](TFormLierDoc& dlg) {
                change(dlg);
                return int(QDialog::Rejected);
            });
            QVERIFY(rafraichir);
        }
        QCOMPARE(f.data(), before); // cancelled every time
    }

    void okOnAnUnstorablePathKeepsTheDialogOpen()
    {
        Fixture f(makeCandidature(7, 1, "Comptable"));
        bool rafraichir = false;
        int afterFirstOk = -1;
        QVERIFY(runDialog(f, DocSlot::CV, rafraichir, [&](TFormLierDoc& dlg) {
            dlg.setResult(QDialog::Rejected);
            dlg.FichierDoc->setText("/home/" + QString(251, 'z'));
            dlg.Bt_OK->click();
            afterFirstOk = dlg.result();
            dlg.FichierDoc->setText("/home/cv.pdf");
            dlg.Bt_OK->click();
            return dlg.result();
        }));
        QCOMPARE(afterFirstOk, int(QDialog::Rejected));
        QCOMPARE(f.messages.count(), 1);
        QVERIFY(f.messages.shown[0].text.contains("257"));
        QCOMPARE(f.store.Candidatures[0].cv.text(), QStringLiteral("/home/cv.pdf"));
    }

    void viewingADocument()
    {
        Fixture f(makeCandidature(7, 1, "Comptable"));
        QStringList opened;
        setExecuteFileHook([&](const QString& p) { opened << p; });
        QString viewer;
        dialogs::setExecHook([&](QDialog& dlg) {
            if (auto* voir = qobject_cast<TFormVoir*>(&dlg))
                viewer = voir->windowTitle() + '|' + voir->Memo1->toPlainText() +
                         (voir->Memo1->isReadOnly() ? "" : "|editable");
            return int(QDialog::Accepted);
        });
        // A pasted text whose file was removed by hand: its full path is named.
        const QString txt = pastedTextPath(f.store, DocSlot::Suite, 7);
        VoirPJ(nullptr, f.store, DocSlot::Suite, "<TEXTE>", 7);
        writeBytes(txt, "Nous avons le regret\r\nde vous informer\r\n");
        VoirPJ(nullptr, f.store, DocSlot::Suite, "<TEXTE>", 7);
        QCOMPARE(viewer, QStringLiteral("Voir le document|Nous avons le regret\nde vous informer"));
        // A file goes to the desktop, a missing one is named.
        const QString file = f.dir.filePath("Mon CV.pdf");
        writeBytes(file, "%PDF");
        VoirPJ(nullptr, f.store, DocSlot::CV, file, 7);
        VoirPJ(nullptr, f.store, DocSlot::CV, f.dir.filePath("parti.pdf"), 7);
        QCOMPARE(opened, QStringList{file});
        QCOMPARE(f.messages.texts(),
                 (QStringList{"Impossible de trouver " + txt,
                              "Impossible de trouver " + f.dir.filePath("parti.pdf")}));
        QCOMPARE(f.messages.shown[0].kind, msg::Kind::Error);
    }
};

QTEST_MAIN(TestFormLierDoc)
#include "tst_formlierdoc.moc"
