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

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(DocSlot)

namespace {

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
        dialogs::setFileHook({});
        setExecuteFileHook({});
    }
    QByteArray data() const { return readBytes(store.path("candidatures.dat")); }
};

// Opens the dialog on a slot and lets `answer` play the user.
bool runDialog(Fixture& f, DocSlot slot, bool& rafraichir, std::function<int(TFormLierDoc&)> answer)
{
    bool answered = false;
    dialogs::setExecHook([&](QDialog& d) {
        answered = true;
        auto* dlg = qobject_cast<TFormLierDoc*>(&d);
        return dlg ? answer(*dlg) : int(QDialog::Rejected);
    });
    TFormLierDoc dialog;
    const bool written = dialog.run(f.store, 7, slot, rafraichir);
    dialogs::setExecHook({});
    if (!answered) qWarning("the dialog was not shown");
    return written;
}

QDate d(const char* yyyymmdd) { return QDate::fromString(yyyymmdd, "yyyyMMdd"); }

} // namespace

class TestFormLierDoc : public QObject {
    Q_OBJECT

private slots:
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
        QString caption, path;
        bool fileChecked = false, blocEnabled = true, fileEnabled = false;
        QVERIFY(!runDialog(f, slot, rafraichir, [&](TFormLierDoc& dlg) {
            seen = dlg.DateTimePicker1->date();
            caption = dlg.RadioFichier->text();
            path = dlg.FichierDoc->text();
            fileChecked = dlg.RadioFichier->isChecked();
            blocEnabled = dlg.Bloc->isEnabled();
            fileEnabled = dlg.FichierDoc->isEnabled() && dlg.Bt_Parcourir->isEnabled();
            return int(QDialog::Rejected);
        }));
        QCOMPARE(seen, shown);
        QCOMPARE(caption, radioCaption(slot));
        QVERIFY(caption.startsWith(QStringLiteral("Je souhaite attacher un fichier comme ")));
        QCOMPARE(path, QStringLiteral("/home/emploi/doc.pdf"));
        QVERIFY(fileChecked && fileEnabled && !blocEnabled);
        // Cancelling without a change writes nothing and leaves the listing alone.
        QCOMPARE(f.data(), before);
        QVERIFY(!rafraichir);
    }

    void aPastedTextOpensInTheTextField()
    {
        TCandidatureRec app = makeCandidature(7, 1, "Comptable");
        app.lettre = QStringLiteral("<TEXTE>");
        Fixture f(app);
        writeBytes(pastedTextPath(f.store, DocSlot::Lettre, 7), "Madame,\r\n\tje vous \xe9" "cris.\r\n");
        bool rafraichir = false;
        QVERIFY(!runDialog(f, DocSlot::Lettre, rafraichir, [&](TFormLierDoc& dlg) {
            [&] {
                QVERIFY(dlg.RadioMemo->isChecked());
                QCOMPARE(dlg.RadioMemo->text(), QStringLiteral("Je souhaite insérer le contenu directement"));
                QCOMPARE(dlg.Bloc->toPlainText(), QStringLiteral("Madame,\n\tje vous écris."));
                QVERIFY(dlg.Bloc->isEnabled());
                QVERIFY(!dlg.FichierDoc->isEnabled() && !dlg.Bt_Parcourir->isEnabled());
                QVERIFY(dlg.FichierDoc->text().isEmpty());
                QVERIFY(!dlg.Bloc->tabChangesFocus());
            }();
            return int(QDialog::Rejected);
        }));
        QVERIFY(!rafraichir);
    }

    void okWithAPastedTextWritesTheFileAndTheRecord()
    {
        Fixture f(makeCandidature(7, 1, "Comptable", "20260115"));
        bool rafraichir = false;
        QVERIFY(runDialog(f, DocSlot::CV, rafraichir, [](TFormLierDoc& dlg) {
            dlg.RadioMemo->setChecked(true);
            dlg.Bloc->setPlainText(QStringLiteral("Expérience\n2020-2025"));
            dlg.DateTimePicker1->setDate(QDate(2026, 1, 19));
            return int(QDialog::Accepted);
        }));
        QVERIFY(rafraichir);
        QCOMPARE(readBytes(pastedTextPath(f.store, DocSlot::CV, 7)),
                 QByteArray("Exp\xe9rience\r\n2020-2025\r\n"));
        QCOMPARE(f.store.Candidatures[0].cv.text(), QStringLiteral("<TEXTE>"));
        QCOMPARE(f.store.Candidatures[0].date_cv.text(), QStringLiteral("20260119"));
        QCOMPARE(f.data(), recordBytes(f.store.Candidatures[0]));
    }

    void okOnTheOfferMovesTheApplicationDate()
    {
        Fixture f(makeCandidature(7, 1, "Comptable", "20260115"));
        bool rafraichir = false;
        QVERIFY(runDialog(f, DocSlot::Offre, rafraichir, [](TFormLierDoc& dlg) {
            dlg.FichierDoc->setText(QStringLiteral("/home/emploi/offre.pdf"));
            dlg.DateTimePicker1->setDate(QDate(2026, 1, 10));
            return int(QDialog::Accepted);
        }));
        QCOMPARE(f.store.Candidatures[0].date.text(), QStringLiteral("20260110"));
        QCOMPARE(f.store.Candidatures[0].offre.text(), QStringLiteral("/home/emploi/offre.pdf"));
        QCOMPARE(f.data(), recordBytes(f.store.Candidatures[0]));
    }

    void everyChangeMarksTheListingAndTheRadiosSwitchTheFields()
    {
        Fixture f(makeCandidature(7, 1, "Comptable"));
        const QByteArray before = f.data();
        bool switched = false;
        for (int change = 0; change < 4; ++change) {
            bool rafraichir = false;
            QVERIFY(!runDialog(f, DocSlot::Suite, rafraichir, [&](TFormLierDoc& dlg) {
                switch (change) {
                case 0:
                    dlg.RadioMemo->click();
                    switched = dlg.Bloc->isEnabled() && !dlg.FichierDoc->isEnabled() &&
                               !dlg.Bt_Parcourir->isEnabled();
                    break;
                case 1: dlg.FichierDoc->setText("/tmp/x"); break;
                case 2: dlg.Bloc->setPlainText("x"); break;
                case 3: dlg.DateTimePicker1->setDate(QDate(2020, 5, 5)); break;
                }
                return int(QDialog::Rejected);
            }));
            QVERIFY2(rafraichir, qPrintable(QString::number(change)));
        }
        QVERIFY(switched);
        QCOMPARE(f.data(), before); // cancelled every time
    }

    void browsingPutsTheChosenPathInTheField()
    {
        Fixture f(makeCandidature(7, 1, "Comptable"));
        QString title;
        dialogs::setFileHook([&](const QString& t) {
            title = t;
            return QStringLiteral("/home/emploi/lettre.rtf");
        });
        bool rafraichir = false;
        QVERIFY(runDialog(f, DocSlot::Lettre, rafraichir, [](TFormLierDoc& dlg) {
            dlg.Bt_Parcourir->click();
            return dlg.Bt_OK->isEnabled() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        }));
        QCOMPARE(title, QStringLiteral("Fichier à attacher"));
        QCOMPARE(f.store.Candidatures[0].lettre.text(), QStringLiteral("/home/emploi/lettre.rtf"));
        QVERIFY(TFormLierDoc::filtre().contains(QStringLiteral("Tous les  fichiers")));
        // Cancelling the chooser keeps what was typed.
        dialogs::setFileHook([](const QString&) { return QString(); });
        QString kept;
        runDialog(f, DocSlot::Lettre, rafraichir, [&](TFormLierDoc& dlg) {
            dlg.Bt_Parcourir->click();
            kept = dlg.FichierDoc->text();
            return int(QDialog::Rejected);
        });
        QCOMPARE(kept, QStringLiteral("/home/emploi/lettre.rtf"));
    }

    void okOnAnUnstorablePathKeepsTheDialogOpen()
    {
        Fixture f(makeCandidature(7, 1, "Comptable"));
        const QByteArray before = f.data();
        bool rafraichir = false;
        int resultAfterFirstOk = -1;
        QVERIFY(runDialog(f, DocSlot::CV, rafraichir, [&](TFormLierDoc& dlg) {
            dlg.setResult(QDialog::Rejected);
            dlg.FichierDoc->setText("/home/" + QString(251, 'z'));
            dlg.Bt_OK->click();
            resultAfterFirstOk = dlg.result();
            dlg.FichierDoc->setText("/home/cv.pdf");
            dlg.Bt_OK->click();
            return dlg.result();
        }));
        QCOMPARE(resultAfterFirstOk, int(QDialog::Rejected));
        QCOMPARE(f.messages.count(), 1);
        QVERIFY(f.messages.shown[0].text.contains("257"));
        QCOMPARE(f.store.Candidatures[0].cv.text(), QStringLiteral("/home/cv.pdf"));
        QVERIFY(f.data() != before);
    }

    void anUnreadablePastedTextIsNotOfferedForDeletion()
    {
        TCandidatureRec app = makeCandidature(7, 1, "Comptable");
        app.cv = QStringLiteral("<TEXTE>");
        Fixture f(app);
        const QString txt = pastedTextPath(f.store, DocSlot::CV, 7);
        QDir().mkpath(txt); // cannot be read as a file
        bool rafraichir = false, shown = false;
        dialogs::setExecHook([&](QDialog&) {
            shown = true;
            return int(QDialog::Accepted);
        });
        TFormLierDoc dialog;
        QVERIFY(!dialog.run(f.store, 7, DocSlot::CV, rafraichir));
        QVERIFY(!shown);
        QCOMPARE(f.messages.count(), 1);
        QVERIFY(f.messages.shown[0].text.contains(txt));
        QCOMPARE(f.store.Candidatures[0].cv.text(), QStringLiteral("<TEXTE>"));
    }

    void viewingAPastedText()
    {
        TCandidatureRec app = makeCandidature(7, 1, "Comptable");
        Fixture f(app);
        const QString txt = pastedTextPath(f.store, DocSlot::Suite, 7);
        // Missing file: the full path of the text file is named.
        VoirPJ(nullptr, f.store, DocSlot::Suite, "<TEXTE>", 7);
        QCOMPARE(f.messages.texts(), QStringList{"Impossible de trouver " + txt});
        QCOMPARE(f.messages.shown[0].kind, msg::Kind::Error);

        writeBytes(txt, "Nous avons le regret\r\nde vous informer\r\n");
        QString title, shown;
        bool readOnly = false;
        dialogs::setExecHook([&](QDialog& dlg) {
            auto* voir = qobject_cast<TFormVoir*>(&dlg);
            if (!voir) return int(QDialog::Rejected);
            title = voir->windowTitle();
            shown = voir->Memo1->toPlainText();
            readOnly = voir->Memo1->isReadOnly();
            return int(QDialog::Accepted);
        });
        VoirPJ(nullptr, f.store, DocSlot::Suite, "<TEXTE>", 7);
        QCOMPARE(title, QStringLiteral("Voir le document"));
        QCOMPARE(shown, QStringLiteral("Nous avons le regret\nde vous informer"));
        QVERIFY(readOnly);
        QCOMPARE(f.messages.count(), 1);
    }

    void viewingAFileHandsItToTheDesktop()
    {
        Fixture f(makeCandidature(7, 1, "Comptable"));
        QStringList opened;
        setExecuteFileHook([&](const QString& p) { opened << p; });
        const QString file = f.dir.filePath("Mon CV.pdf");
        writeBytes(file, "%PDF");
        VoirPJ(nullptr, f.store, DocSlot::CV, file, 7);
        QCOMPARE(opened, QStringList{file});
        QCOMPARE(f.messages.count(), 0);
        const QString missing = f.dir.filePath("parti.pdf");
        VoirPJ(nullptr, f.store, DocSlot::CV, missing, 7);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(f.messages.texts(), QStringList{"Impossible de trouver " + missing});
    }
};

QTEST_MAIN(TestFormLierDoc)
#include "tst_formlierdoc.moc"
