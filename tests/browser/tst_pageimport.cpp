// A page made into a PDF going into an application: the companies and
// applications offered, the slot written, the files kept or deleted, the
// three dialogs, and the whole way from a page served on 127.0.0.1 to the
// record on disk.

#include "applications/fournisseurs.h"
#include "browser/associercandidature.h"
#include "browser/importchoice.h"
#include "browser/importercomme.h"
#include "browser/navigateur.h"
#include "browser/pageimport.h"
#include "common/httpserver.h"
#include "common/programfolder.h"
#include "store/programstate.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QWebEnginePage>

namespace
{

const QDate Today(2026, 12, 10);

QList<TSocieteRec> companies()
{
    return {makeSociete(1, "Delta"), makeSociete(2, "ACME"), makeSociete(3, "alpha"),
            makeSociete(4, "ACME", "C"), makeSociete(5, "Évian")};
}

// An application of a company on a date, with a title.
TCandidatureRec app(qint32 id, qint32 societe, const QString& intitule, const char* date)
{
    return makeCandidature(id, societe, intitule, QString::fromLatin1(date));
}

QStringList comboItems(const QComboBox* c)
{
    QStringList s;
    for (int i = 0; i < c->count(); ++i)
        s.append(c->itemText(i));
    return s;
}

// A PDF as a conversion leaves it in Import/.
QString importedPdf(const QString& programDir, const char* stamp)
{
    QDir(programDir).mkpath(QStringLiteral("Import"));
    const QString path =
        programDir + QStringLiteral("/Import/") + QLatin1String(stamp) + QStringLiteral(".pdf");
    writeBytes(path, "%PDF-1.4 page");
    return path;
}

struct Program : ProgramFolder {
    explicit Program(const QList<TCandidatureRec>& apps) : ProgramFolder(companies(), {}, apps) {}
    ProgramState& state() const { return f()->state(); }
    TImportChoice* choice() const { return f()->importChoice(); }
    template <class D> D* dialog(const char* name) const
    {
        return f()->findChild<D*>(QString::fromLatin1(name));
    }
    // A page waiting for its application.
    QString pending()
    {
        state().FichierImport = importedPdf(dir.path(), "20261210_093000");
        return state().FichierImport;
    }
};

} // namespace

class TestPageImport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    void companiesAndApplicationsOffered()
    {
        QTemporaryDir dir;
        Store store(dir.path());
        store.Societes = companies();
        // A record without title is a gap left in the file: not an application.
        const TCandidatureRec gone = app(9, 3, "", "20260101");
        QVERIFY(!isLive(gone));
        store.Candidatures = {app(1, 5, "Chef de projet", "20260110"),
                              app(2, 2, "Zeta", "20260110"),
                              app(3, 1, "Comptable", "20260301"),
                              app(4, 4, "beta", "20260201"),
                              app(5, 2, "Alpha", "20260201"),
                              app(6, 4, "Gamma", "20251231"),
                              gone};

        // "alpha" has no application: it is not offered; "ACME" is offered
        // once for its two companies; French order, accents and case aside.
        QCOMPARE(importCompanies(store), QStringList({"ACME", "Delta", "Évian"}));

        // Both ACME, newest first; equal dates in reverse order of title.
        const QList<ImportRow> rows = importApplications(store, QStringLiteral("ACME"));
        QStringList shown;
        QList<qint32> ids;
        for (const ImportRow& r : rows) {
            shown.append(r.date + QLatin1Char(' ') + r.intitule);
            ids.append(r.id);
            QCOMPARE(store.Candidatures[r.position].id, r.id);
        }
        QCOMPARE(shown, QStringList({"01/02/2026 beta", "01/02/2026 Alpha", "10/01/2026 Zeta",
                                     "31/12/2025 Gamma"}));
        QCOMPARE(ids, QList<qint32>({4, 5, 2, 6}));
        // The name must match exactly.
        QVERIFY(importApplications(store, QStringLiteral("acme")).isEmpty());
    }

    void theChosenApplicationReceivesThePage()
    {
        QTemporaryDir dir;
        TestStore store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        // Same date, same title, two companies: the document goes to the row chosen.
        for (TCandidatureRec c :
             {app(1, 2, "Analyste", "20260301"), app(2, 4, "Analyste", "20260301")}) {
            c.cv = MarqueurTexte;
            c.date_cv = QStringLiteral("20260301");
            QVERIFY(store.append(c).ok);
        }
        writeBytes(store.path("txt/CV_1.txt"), "pasted 1\r\n");
        writeBytes(store.path("txt/CV_2.txt"), "pasted 2\r\n");
        const QByteArray first = readBytes(store.path("candidatures.dat")).left(1644);
        store.Societes = companies();
        const QList<ImportRow> rows = importApplications(store, QStringLiteral("ACME"));
        QCOMPARE(rows.size(), 2);
        const ImportRow second = rows[0].id == 2 ? rows[0] : rows[1];

        const QString pdf = importedPdf(dir.path(), "20261210_093000");
        const DocumentResult r = joinImport(store, second, DocSlot::CV, pdf, Today);
        QVERIFY2(r.result.ok, qPrintable(r.result.error));
        QVERIFY(r.furtherErrors.isEmpty());
        TCandidatureRec onDisk;
        std::memcpy(&onDisk, readBytes(store.path("candidatures.dat")).constData() + 1644,
                    sizeof onDisk);
        QCOMPARE(onDisk.id, 2);
        QCOMPARE(onDisk.cv.text(), pdf);
        QCOMPARE(onDisk.date_cv.text(), QStringLiteral("20261210")); // today, not the application's
        QCOMPARE(recordBytes(store.Candidatures[1]), recordBytes(onDisk));
        // The other one is untouched, and so is its pasted text.
        QCOMPARE(readBytes(store.path("candidatures.dat")).left(1644), first);
        QVERIFY(QFile::exists(store.path("txt/CV_1.txt")));
        // The text the slot held is replaced by the page.
        QVERIFY(!QFile::exists(store.path("txt/CV_2.txt")));
        QVERIFY(QFile::exists(pdf));
    }

    void replacedDocuments()
    {
        QTemporaryDir dir;
        TestStore store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        // A file of the user's own, although its path says "import".
        QDir(dir.path()).mkpath("import/mes documents");
        const QString own = dir.filePath("import/mes documents/lettre importée.pdf");
        writeBytes(own, "mine");
        const QString earlier = importedPdf(dir.path(), "20260105_080000");
        TCandidatureRec c = app(1, 2, "Analyste", "20260301");
        c.offre = earlier;
        c.lettre = own;
        c.date_lettre = QStringLiteral("20260302");
        QVERIFY(store.append(c).ok);
        const ImportRow row{1, 0, QString(), QString()};

        // "Offre": the earlier imported page goes, no date changes.
        const QString page1 = importedPdf(dir.path(), "20261210_093000");
        QVERIFY(joinImport(store, row, DocSlot::Offre, page1, Today).result.ok);
        QCOMPARE(store.Candidatures[0].offre.text(), page1);
        QCOMPARE(store.Candidatures[0].date.text(), QStringLiteral("20260301"));
        QVERIFY(!QFile::exists(earlier));

        // The user's file stays on disk; only the slot changes.
        const QString page2 = importedPdf(dir.path(), "20261210_093001");
        QVERIFY(joinImport(store, row, DocSlot::Lettre, page2, Today).result.ok);
        QCOMPARE(store.Candidatures[0].lettre.text(), page2);
        QCOMPARE(store.Candidatures[0].date_lettre.text(), QStringLiteral("20261210"));
        QVERIFY(QFile::exists(own));
        QVERIFY(QFile::exists(page1));

        // A failed write changes nothing, deletes nothing.
        const QByteArray before = readBytes(store.path("candidatures.dat"));
        const QByteArray beforeTable = recordBytes(store.Candidatures[0]);
        store.fileBudget = 100;
        const QString page3 = importedPdf(dir.path(), "20261210_093002");
        const DocumentResult failed = joinImport(store, row, DocSlot::Offre, page3, Today);
        QVERIFY(!failed.result.ok);
        QVERIFY(!failed.result.error.isEmpty());
        QCOMPARE(readBytes(store.path("candidatures.dat")), before);
        QCOMPARE(recordBytes(store.Candidatures[0]), beforeTable);
        QVERIFY(QFile::exists(page1));
        store.fileBudget = -1;

        // A path that its field cannot hold whole is refused, not cut.
        const DocumentResult tooLong =
            joinImport(store, row, DocSlot::CV, dir.filePath(QString(260, 'x')), Today);
        QVERIFY(!tooLong.result.ok);
        QCOMPARE(readBytes(store.path("candidatures.dat")), before);
        // An application deleted meanwhile is not found, nothing is written.
        QVERIFY(!joinImport(store, {7, 0, {}, {}}, DocSlot::CV, page3, Today).result.ok);
        QCOMPARE(readBytes(store.path("candidatures.dat")), before);
    }

    void theChoiceDialog()
    {
        Program p({app(1, 1, "Comptable", "20260301"), app(2, 4, "Analyste", "20260302")});
        const QString pdf = p.pending();
        TImportChoice* d = p.choice();
        QComboBox* combo = child<QComboBox>(d, "ComboBox1");
        QRadioButton* add = child<QRadioButton>(d, "RadioAdd");
        bool stayed = false;
        p.answers["ImportChoice"] = [&](QDialog& shown) {
            QCOMPARE(shown.windowTitle(), QStringLiteral("Sélection"));
            QCOMPARE(comboItems(combo), QStringList({"-- Votre choix --", "ACME", "Delta"}));
            QCOMPARE(combo->currentIndex(), 0);
            QVERIFY(child<QRadioButton>(d, "RadioNew")->isChecked());
            QCOMPARE(shown.height(), TImportChoice::HauteurReduite);
            // Unrolls by steps to show the companies, rolls up again.
            add->click();
            QTRY_COMPARE(shown.height(), TImportChoice::HauteurComplete);
            QVERIFY(!d->Timer1->isActive());
            child<QRadioButton>(d, "RadioNew")->click();
            QTRY_COMPARE(shown.height(), TImportChoice::HauteurReduite);
            add->click();
            // No company chosen: the dialog says so and stays.
            child<QPushButton>(d, "BitBtn1")->click();
            QCOMPARE(p.messages.texts(),
                     QStringList(QStringLiteral("Veuillez sélectionner une société.")));
            QCOMPARE(p.messages.shown[0].kind, msg::Kind::Information);
            stayed = shown.isVisible() && shown.result() == QDialog::Rejected;
            // Escape is "Annuler": the pending page is deleted.
            QTest::keyClick(&shown, Qt::Key_Escape);
        };
        d->openModal();
        QVERIFY(stayed);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(p.state().FichierImport.isEmpty());
        QCOMPARE(p.opened, QStringList({"ImportChoice"}));
        // The window's close button does not end the chain.
        QCloseEvent close;
        QCoreApplication::sendEvent(d, &close);
        QVERIFY(!close.isAccepted());
    }

    void theApplicationsGrid()
    {
        QList<TCandidatureRec> apps;
        for (int i = 1; i <= 25; ++i)
            apps.append(app(i, i % 2 ? 2 : 4, QStringLiteral("Poste %1").arg(i, 2, 10, QChar('0')),
                            qPrintable(QStringLiteral("202601%1").arg(i, 2, 10, QChar('0')))));
        apps.append(app(26, 1, "Ailleurs", "20260401"));
        Program p(apps);
        p.choice();
        TAssocierCandidature* d = p.dialog<TAssocierCandidature>("AssocierCandidature");
        QVERIFY(d);
        int width = 0;
        p.answers["AssocierCandidature"] = [&](QDialog& shown) {
            QCOMPARE(shown.windowTitle(),
                     QStringLiteral("Candidatures en cours pour la société ACME"));
            width = d->Listing->columnWidth(1);
            QCOMPARE(d->Listing->columnWidth(0), 65);
            QCOMPARE(d->Listing->verticalHeader()->defaultSectionSize(), 15);
            QAbstractItemModelTester tester(d->Listing->model());
            QCOMPARE(d->Listing->model()->rowCount(), int(d->rows().size()));
            shown.reject(); // "Annuler"
        };
        d->openModal(QStringLiteral("ACME"));
        QCOMPARE(width, 585); // 25 rows: room for the scroll bar
        QCOMPARE(d->rows().first().intitule, QStringLiteral("Poste 25"));

        p.state().store().Candidatures.removeLast();
        p.state().store().Candidatures.removeLast();
        d->openModal(QStringLiteral("ACME"));
        QCOMPARE(width, 603); // 24 rows
    }

    void joiningThroughTheDialogs()
    {
        // Same date, same title, other companies: the second row is chosen.
        Program p({app(1, 2, "Analyste", "20260301"), app(2, 4, "Analyste", "20260301"),
                   app(3, 2, "Comptable", "20260201")});
        const QString pdf = p.pending();
        p.answers["ImportChoice"] = [&](QDialog& d) {
            child<QRadioButton>(&d, "RadioAdd")->click();
            child<QComboBox>(&d, "ComboBox1")->setCurrentIndex(1);
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        qint32 chosen = 0;
        p.answers["AssocierCandidature"] = [&](QDialog& d) {
            auto* grid = child<QTableView>(&d, "Listing");
            QCOMPARE(grid->model()->rowCount(), 3);
            const QModelIndex second = grid->model()->index(1, 1);
            grid->setCurrentIndex(second);
            chosen = static_cast<TAssocierCandidature&>(d).rows()[1].id;
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        p.answers["ImporterComme"] = [&](QDialog& d) {
            QVERIFY(child<QRadioButton>(&d, "RadioOffre")->isChecked());
            child<QRadioButton>(&d, "RadioSuite")->click();
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        p.choice()->openModal();
        QCOMPARE(p.opened, QStringList({"ImportChoice", "AssocierCandidature", "ImporterComme"}));
        QCOMPARE(p.messages.count(), 0);
        const int at = chosen - 1;
        QCOMPARE(p.onDisk(at).suite.text(), pdf);
        QCOMPARE(p.onDisk(at).date_suite.text(), QDate::currentDate().toString("yyyyMMdd"));
        QVERIFY(p.onDisk(at == 0 ? 1 : 0).suite.isEmpty());
        // The application is open in the editor; nothing is pending any more.
        QCOMPARE(p.f()->Tabulations->currentIndex(), 0);
        QVERIFY(p.f()->editor()->isOpen());
        QCOMPARE(p.state().IdCandidature, chosen);
        QVERIFY(p.state().FichierImport.isEmpty());
        QVERIFY(QFile::exists(pdf));

        // "OK" without touching the grid: the newest application.
        const QString next = p.pending();
        p.answers["AssocierCandidature"] = [&](QDialog& d) {
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        p.answers["ImporterComme"] = [&](QDialog& d) {
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        p.choice()->openModal();
        const TCandidatureRec newest = p.onDisk(p.state().IdCandidature - 1);
        QCOMPARE(newest.date.text(), QStringLiteral("20260301"));
        QCOMPARE(newest.offre.text(), next);
    }

    void aNewApplicationTakesThePage()
    {
        Program p({app(1, 2, "Analyste", "20260301")});
        const QString pdf = p.pending();
        p.answers["ImportChoice"] = [&](QDialog& d) {
            child<QPushButton>(&d, "BitBtn1")->click(); // "Créer une nouvelle candidature"
        };
        p.answers["ImporterComme"] = [&](QDialog& d) {
            child<QRadioButton>(&d, "RadioCV")->click();
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        p.choice()->openModal();
        QCOMPARE(p.state().TypeImport, QStringLiteral("CV"));
        QVERIFY(p.f()->fournisseurs()->isVisible());
        createWithWizard(p, "Delta", "Acheteur");
        const TCandidatureRec made = p.onDisk(1);
        QCOMPARE(made.cv.text(), pdf);
        QCOMPARE(made.date_cv.text(), made.date.text());
        QVERIFY(p.state().FichierImport.isEmpty() && p.state().TypeImport.isEmpty());

        // "Annuler" in the slot dialog: the page is deleted, nothing is pending.
        const QString other = p.pending();
        p.answers["ImporterComme"] = [&](QDialog& d) {
            child<QPushButton>(&d, "BitBtn2")->click();
        };
        p.choice()->openModal();
        QVERIFY(!QFile::exists(other));
        QVERIFY(p.state().FichierImport.isEmpty());
    }

    // From a page served on 127.0.0.1, through the browser and the
    // conversion, to the record and the PDF in Import/.
    void fromTheBrowserToTheRecord()
    {
        TestHttpServer server;
        server.serve("/offre.html",
                     "<html><head><title>Offre</title></head><body><h1>Technicien de "
                     "maintenance</h1><p>Poste en CDI, horaires de journée.</p></body></html>");
        Program p({app(1, 2, "Analyste", "20260301")});
        p.f()->Tabulations->setCurrentIndex(2);
        TNavigateur* nav = p.f()->navigateur();
        QVERIFY(nav);
        QVERIFY(!nav->Nav_Import->isEnabled());
        nav->Nav_URL->setText(server.url("/offre.html"));
        nav->Nav_GoClick();
        QTRY_VERIFY_WITH_TIMEOUT(nav->Nav_Import->isEnabled(), 20000);
        p.answers["HTML2PDF"] = [](QDialog& d) { QTRY_VERIFY_WITH_TIMEOUT(d.isHidden(), 40000); };

        // Into the existing application, as its offer.
        p.answers["ImportChoice"] = [&](QDialog& d) {
            child<QRadioButton>(&d, "RadioAdd")->click();
            child<QComboBox>(&d, "ComboBox1")->setCurrentIndex(1);
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        p.answers["AssocierCandidature"] = [&](QDialog& d) {
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        p.answers["ImporterComme"] = [&](QDialog& d) {
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        nav->Nav_Import->click();
        QCOMPARE(p.messages.texts(), QStringList());
        const QString joined = p.onDisk(0).offre.text();
        QVERIFY(isImportedPdf(p.dir.path(), joined));
        QVERIFY(readBytes(joined).startsWith("%PDF"));
        QCOMPARE(p.f()->Tabulations->currentIndex(), 0);
        QCOMPARE(p.state().IdCandidature, 1);

        // Into a new application, as its covering letter.
        p.f()->Tabulations->setCurrentIndex(2);
        p.answers["ImportChoice"] = [&](QDialog& d) { child<QPushButton>(&d, "BitBtn1")->click(); };
        p.answers["ImporterComme"] = [&](QDialog& d) {
            child<QRadioButton>(&d, "RadioLettre")->click();
            child<QPushButton>(&d, "BitBtn1")->click();
        };
        QTest::qWait(1100); // two conversions in one second get two names anyway
        nav->Nav_Import->click();
        createWithWizard(p, "ACME", "Technicien de maintenance");
        const QString made = p.onDisk(1).lettre.text();
        QVERIFY(isImportedPdf(p.dir.path(), made));
        QVERIFY(made != joined);
        QCOMPARE(QDir(p.dir.filePath("Import")).entryList(QDir::Files).size(), 2);
    }

private:
    static void createWithWizard(Program& p, const char* company, const char* title)
    {
        TFournisseurs* w = p.f()->fournisseurs();
        QVERIFY(w->isVisible());
        child<QComboBox>(w, "ComboBox1")->setEditText(QString::fromUtf8(company));
        child<QLineEdit>(w, "intitule")->setText(QString::fromUtf8(title));
        child<QPushButton>(w, "BitBtn1")->click();
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestPageImport)
#include "tst_pageimport.moc"
