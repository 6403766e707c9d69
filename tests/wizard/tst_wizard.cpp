// The new-application wizard and the contact chooser of the editor, in a
// program folder: the record the wizard appends, its refusals, the pending
// page import, and the contact linked to the open application.
#include "applications/choixcontacts.h"
#include "applications/editor.h"
#include "applications/editorview.h"
#include "applications/fournisseurs.h"
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "directory/ajoutcontact.h"
#include "directory/ajoutfournisseur.h"
#include "directory/directorypage.h"
#include "platform/dialogs.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Program {
    QTemporaryDir dir;
    FakeMessages messages;
    std::unique_ptr<TMDIParent> frame;

    explicit Program(const QList<TCandidatureRec>& apps, const QList<TContactRec>& contacts = {},
                     const QString& defaultSource = {})
    {
        QDir(dir.path()).mkdir("Lang");
        QFile::copy(QStringLiteral(LANG_DIR "/Francais.so"), dir.filePath("Lang/Francais.so"));
        setRegistryFile(dir.filePath("ORVALDIS.ini"));
        if (!defaultSource.isEmpty())
            WriteRegistry(RegistryKey, QStringLiteral("DefaultSource"), defaultSource);
        writeBytes(dir.filePath("societes.dat"),
                   recordBytes(makeSociete(1, "Delta")) + recordBytes(makeSociete(2, "ACME")) +
                       recordBytes(makeSociete(3, "alpha")) + recordBytes(makeSociete(4, "ACME")) +
                       recordBytes(makeSociete(5, "Évian")));
        QByteArray cs, ks;
        for (const TCandidatureRec& c : apps) cs += recordBytes(c);
        for (const TContactRec& k : contacts) ks += recordBytes(k);
        writeBytes(dir.filePath("candidatures.dat"), cs);
        writeBytes(dir.filePath("contacts.dat"), ks);
        frame = std::make_unique<TMDIParent>(dir.path());
        frame->FormCreate();
        frame->createMainWindow();
        QSignalSpy loaded(f(), &TFormGeneral::loaded);
        loaded.wait(10000);
        frame->show();
        messages.clear();
    }
    ~Program() { frame->close(); }

    TFormGeneral* f() const { return frame->formGeneral(); }
    TFournisseurs* wizard() const { return f()->fournisseurs(); }
    TFormContacts* chooser() const { return f()->formContacts(); }
    QComboBox* companies() const { return wizard()->findChild<QComboBox*>("ComboBox1"); }
    QDateEdit* date() const { return wizard()->findChild<QDateEdit*>("DateTimePicker1"); }
    QLineEdit* title() const { return wizard()->findChild<QLineEdit*>("intitule"); }
    void valider() const { wizard()->findChild<QPushButton*>("BitBtn1")->click(); }
    QListWidget* contacts() const { return chooser()->findChild<QListWidget*>("ListBoxContacts"); }

    void open(qint32 id)
    {
        f()->IdCandidature = id;
        f()->editor()->StringGrid1DblClick();
    }
    QByteArray applications() const { return readBytes(dir.filePath("candidatures.dat")); }
    QByteArray record(int position) const { return applications().mid(position * 1644, 1644); }
    TCandidatureRec onDisk(int position) const
    {
        TCandidatureRec c;
        std::memcpy(&c, record(position).constData(), sizeof c);
        return c;
    }
    // The wizard filled in as the user would.
    void fillWizard(const QString& company, const QString& text, const QDate& day = QDate(2026, 3, 5))
    {
        wizard()->showWizard();
        companies()->setEditText(company);
        date()->setDate(day);
        title()->setText(text);
    }
};

QStringList items(const QComboBox* c)
{
    QStringList s;
    for (int i = 0; i < c->count(); ++i) s.append(c->itemText(i));
    return s;
}

QStringList items(const QListWidget* l)
{
    QStringList s;
    for (int i = 0; i < l->count(); ++i) s.append(l->item(i)->text());
    return s;
}

TContactRec person(qint32 id, qint32 societe, const QString& nom, const QString& fonction = {})
{
    TContactRec k = makeContact(id, societe, nom);
    k.civilite = QStringLiteral("Mr");
    k.fonction = fonction;
    return k;
}

} // namespace

class TestWizard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    // ---- The wizard ---------------------------------------------------------------------

    void theWizardOpensOnTheSortedCompanies()
    {
        Program p({makeCandidature(1, 1, "Comptable")});
        p.wizard()->showWizard();
        QVERIFY(p.wizard()->isVisible());
        QCOMPARE(p.wizard()->windowTitle(), QStringLiteral("Nouvelle candidature"));
        QVERIFY(p.wizard()->windowFlags() & Qt::WindowStaysOnTopHint);
        // Same-named companies both appear; accents and case do not change the order.
        QCOMPARE(items(p.companies()),
                 QStringList({"-- Votre choix --", "ACME", "ACME", "alpha", "Delta", "Évian"}));
        QCOMPARE(p.companies()->currentIndex(), 0);
        QCOMPARE(p.date()->date(), QDate::currentDate());
        QVERIFY(p.title()->text().isEmpty());
        QCOMPARE(p.title()->maxLength(), 255);

        // Shown again after a cancel: emptied again.
        p.title()->setText(QStringLiteral("Brouillon"));
        p.companies()->setCurrentIndex(3);
        p.wizard()->findChild<QPushButton*>("BitBtn3")->click();
        QVERIFY(!p.wizard()->isVisible());
        p.wizard()->showWizard();
        QVERIFY(p.title()->text().isEmpty());
        QCOMPARE(p.companies()->currentIndex(), 0);
    }

    void valideCreatesTheRecordAndOpensIt()
    {
        Program p({makeCandidature(1, 1, "Comptable"), makeCandidature(7, 3, "Juriste")}, {},
                  QStringLiteral("Site de l'Association pour l'emploi"));
        const QByteArray before = p.applications();
        p.fillWizard("ACME", "Contrôleur de gestion");
        p.valider();
        QCOMPARE(p.messages.count(), 0);

        TCandidatureRec expected = newCandidature();
        expected.intitule = QStringLiteral("Contrôleur de gestion");
        expected.source = QStringLiteral("Site de l'Associatio"); // 20 characters
        expected.date = QStringLiteral("20260305");
        expected.id = 8;
        expected.id_societe = 2; // the first of the two ACME
        QCOMPARE(p.applications().size(), 3 * 1644);
        QCOMPARE(p.applications().left(2 * 1644), before);
        QCOMPARE(p.record(2), recordBytes(expected));
        QCOMPARE(recordBytes(p.f()->store().Candidatures.last()), recordBytes(expected));
        QCOMPARE(p.f()->store().MaxIdCandidature, 8);
        QCOMPARE(p.f()->IdSociete, 2);

        // The editor is open on it, on the applications page, and the wizard is gone.
        QVERIFY(!p.wizard()->isVisible());
        QCOMPARE(p.f()->Tabulations->currentIndex(), 0);
        QVERIFY(p.f()->editor()->isOpen());
        QCOMPARE(p.f()->IdCandidature, 8);
        QCOMPARE(p.f()->Zone->Edit_intitule->text(), QStringLiteral("Contrôleur de gestion"));
        QCOMPARE(p.f()->Zone->nom_soc->text(), QStringLiteral("ACME"));
    }

    void aNewApplicationWithoutDefaultSourceHasNone()
    {
        Program p({});
        p.fillWizard("Évian", "Chef de projet", QDate(2025, 12, 31));
        p.valider();
        QCOMPARE(p.applications().size(), 1644);
        const TCandidatureRec c = p.onDisk(0);
        QVERIFY(c.source.isEmpty());
        QCOMPARE(c.date.text(), QStringLiteral("20251231"));
        QCOMPARE(qint32(c.id), 1);
        QCOMPARE(qint32(c.id_societe), 5);
        QCOMPARE(c.type.text(), QStringLiteral("R"));
        QCOMPARE(c.methode.text(), QStringLiteral("I"));
        QCOMPARE(int(c.terminee) + int(c.marqueur) + qint32(c.id_contact), 0);
    }

    void theCompanyMustBeOneOfTheList()
    {
        Program p({makeCandidature(1, 1, "Comptable")});
        const QByteArray before = p.applications();
        p.fillWizard("acme", "Comptable"); // another letter case
        p.valider();
        QCOMPARE(p.messages.texts(), QStringList(QStringLiteral("Cette société n'existe pas.")));
        QCOMPARE(p.messages.shown[0].kind, msg::Kind::Error);
        QVERIFY(p.wizard()->isVisible());
        QCOMPARE(p.applications(), before);

        // "-- Votre choix --" left as it is: nothing at all.
        p.messages.clear();
        p.companies()->setCurrentIndex(0);
        p.valider();
        QCOMPARE(p.messages.count(), 0);
        QVERIFY(p.wizard()->isVisible());
        QCOMPARE(p.applications(), before);

        p.companies()->setEditText(QStringLiteral("Delta"));
        p.title()->clear();
        p.valider();
        QCOMPARE(p.messages.texts(), QStringList(QStringLiteral("L'intitulé doit être renseigné.")));
        QCOMPARE(p.applications(), before);
        QCOMPARE(p.f()->store().MaxIdCandidature, 1);
        QVERIFY(!p.f()->editor()->isOpen());
    }

    void aTitleTheFileCannotHoldIsRefused()
    {
        Program p({});
        p.fillWizard("Delta", QStringLiteral("Ingénieur 日本"));
        p.valider();
        QCOMPARE(p.messages.count(), 1);
        QVERIFY(p.messages.shown[0].text.contains(QStringLiteral("日本")));
        QCOMPARE(p.applications(), QByteArray());
        QVERIFY(p.wizard()->isVisible());
    }

    void aPendingImportGoesIntoItsSlot_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("offre") << "Offre";
        QTest::newRow("cv") << "CV";
        QTest::newRow("lettre") << "Lettre";
        QTest::newRow("accuse") << "Accuse";
        QTest::newRow("suite") << "Suite";
    }

    void aPendingImportGoesIntoItsSlot()
    {
        QFETCH(QString, kind);
        Program p({});
        const QString pdf = p.dir.filePath("Import/20260305_101112.pdf");
        p.f()->FichierImport = pdf;
        p.f()->TypeImport = kind;
        p.fillWizard("Delta", "Analyste", QDate(2026, 2, 14));
        p.valider();
        QCOMPARE(p.messages.count(), 0);

        TCandidatureRec expected = newCandidature();
        expected.intitule = QStringLiteral("Analyste");
        expected.date = QStringLiteral("20260214");
        expected.id = 1;
        expected.id_societe = 1;
        if (kind == "Offre") expected.offre = pdf; // the offer's date is the application's own
        if (kind == "CV") {
            expected.cv = pdf;
            expected.date_cv = QStringLiteral("20260214");
        }
        if (kind == "Lettre") {
            expected.lettre = pdf;
            expected.date_lettre = QStringLiteral("20260214");
        }
        if (kind == "Accuse") {
            expected.accuse = pdf;
            expected.date_accuse = QStringLiteral("20260214");
        }
        if (kind == "Suite") {
            expected.suite = pdf;
            expected.date_suite = QStringLiteral("20260214");
        }
        QCOMPARE(p.record(0), recordBytes(expected));
        QVERIFY(p.f()->FichierImport.isEmpty());
        QVERIFY(p.f()->TypeImport.isEmpty());
    }

    void aCancelledWizardLeavesTheImportPending()
    {
        Program p({});
        p.f()->FichierImport = p.dir.filePath("Import/20260305_101112.pdf");
        p.f()->TypeImport = QStringLiteral("CV");
        p.fillWizard("Delta", "Analyste");
        p.wizard()->close();
        QCOMPARE(p.f()->TypeImport, QStringLiteral("CV"));
        QCOMPARE(p.applications(), QByteArray());
        // A refusal does not consume it either.
        p.fillWizard("Inconnue", "Analyste");
        p.valider();
        QCOMPARE(p.f()->TypeImport, QStringLiteral("CV"));
        // The next creation does, whoever opened the wizard.
        p.fillWizard("Delta", "Analyste");
        p.valider();
        QVERIFY(p.f()->TypeImport.isEmpty());
        QCOMPARE(p.onDisk(0).cv.text(), p.dir.filePath("Import/20260305_101112.pdf"));
    }

    void theOpenApplicationIsSavedBeforeTheNewOneOpens()
    {
        Program p({makeCandidature(1, 1, "Comptable"), makeCandidature(2, 1, "Juriste")});
        p.open(2);
        p.f()->Zone->Edit_intitule->setText(QStringLiteral("Juriste d'affaires"));
        p.fillWizard("alpha", "Acheteur");
        p.valider();
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(p.onDisk(1).intitule.text(), QStringLiteral("Juriste d'affaires"));
        QCOMPARE(p.onDisk(2).intitule.text(), QStringLiteral("Acheteur"));
        QVERIFY(p.f()->editor()->isOpen());
        QCOMPARE(p.f()->IdCandidature, 3);
        QCOMPARE(p.f()->Zone->Edit_intitule->text(), QStringLiteral("Acheteur"));
    }

    void aCompanyAddedMeanwhileIsSelected()
    {
        Program p({});
        p.wizard()->showWizard();
        p.f()->store().Societes.append(makeSociete(6, "Bêta"));
        p.wizard()->fillCompanies(QStringLiteral("Bêta"));
        QCOMPARE(items(p.companies()),
                 QStringList({"-- Votre choix --", "ACME", "ACME", "alpha", "Bêta", "Delta", "Évian"}));
        QCOMPARE(p.companies()->currentText(), QStringLiteral("Bêta"));
        // "Nouvelle" opens the add-company dialog beside the wizard.
        p.wizard()->findChild<QPushButton*>("BitBtn2")->click();
        QVERIFY(TFormGeneral::onScreen(p.f()->ajoutFournisseur_));
        QVERIFY(p.wizard()->isVisible());
    }

    // ---- The contact chooser ----------------------------------------------------------------

    void theChooserListsTheCompanysContactsAndLinksOne()
    {
        Program p({makeCandidature(1, 2, "Comptable"), makeCandidature(2, 2, "Juriste")},
                  {person(1, 2, "Martin"), person(2, 1, "Autre", "Gérant"),
                   person(3, 2, "Dupont", "Directeur"), person(4, 2, "bernard", "DRH")});
        p.open(2);
        p.chooser()->showChooser();
        QVERIFY(p.chooser()->isVisible());
        QCOMPARE(p.chooser()->windowTitle(), QStringLiteral("Liste des contacts disponibles"));
        QCOMPARE(items(p.contacts()), QStringList({"bernard (DRH)", "Dupont (Directeur)", "Martin"}));

        p.contacts()->setCurrentRow(1);
        p.chooser()->findChild<QPushButton*>("BtListeOK")->click();
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(qint32(p.onDisk(1).id_contact), 3);
        QCOMPARE(qint32(p.f()->store().Candidatures[1].id_contact), 3);
        QCOMPARE(qint32(p.onDisk(0).id_contact), 0);
        QVERIFY(!p.chooser()->isVisible());
        // The editor shows it.
        QCOMPARE(p.f()->Zone->Ctnom->text(), QStringLiteral("Mr Dupont"));
        QCOMPARE(p.f()->Zone->Ctfonction->text(), QStringLiteral("Directeur"));

        // A contact without function, by a double click.
        p.chooser()->showChooser();
        auto* martin = p.contacts()->findItems("Martin", Qt::MatchExactly).value(0);
        QVERIFY(martin);
        p.contacts()->setCurrentItem(martin);
        emit p.contacts()->itemDoubleClicked(martin);
        QCOMPARE(qint32(p.onDisk(1).id_contact), 1);
        QCOMPARE(p.f()->Zone->Ctnom->text(), QStringLiteral("Mr Martin"));
        QVERIFY(!p.chooser()->isVisible());
    }

    void ofTwoContactsWithTheSameTextTheLastIsLinked()
    {
        Program p({makeCandidature(1, 2, "Comptable")},
                  {person(3, 2, "Dupont", "Directeur"), person(5, 4, "Dupont", "Directeur"),
                   person(7, 2, "Dupont", "Directeur")});
        p.open(1);
        p.chooser()->showChooser();
        QCOMPARE(items(p.contacts()), QStringList({"Dupont (Directeur)", "Dupont (Directeur)"}));
        p.contacts()->setCurrentRow(0);
        p.chooser()->findChild<QPushButton*>("BtListeOK")->click();
        QCOMPARE(qint32(p.onDisk(0).id_contact), 7);
    }

    void okWithoutAChoiceJustCloses()
    {
        Program p({makeCandidature(1, 2, "Comptable")}, {person(3, 2, "Dupont")});
        p.open(1);
        const QByteArray before = p.applications();
        p.chooser()->showChooser();
        p.contacts()->clearSelection();
        p.chooser()->findChild<QPushButton*>("BtListeOK")->click();
        QVERIFY(!p.chooser()->isVisible());
        QCOMPARE(p.applications(), before);
    }

    void aContactAddedFromTheChooserGoesToTheApplicationsCompany()
    {
        Program p({makeCandidature(1, 2, "Comptable")}, {person(3, 2, "Dupont"), person(4, 1, "Autre")});
        // The directory shows another company meanwhile.
        p.f()->Tabulations->setCurrentIndex(1);
        p.f()->directory()->AnnuSelect(QLatin1Char('_'));
        p.f()->directory()->ListeSocietes->setCurrentItem(
            p.f()->directory()->ListeSocietes->findItems("Delta", Qt::MatchExactly).value(0));
        p.f()->directory()->ListeSocietesClick();
        QCOMPARE(p.f()->IdSocieteAnnuaire, 1);
        const QString button = p.f()->directory()->Bt_AnnuContacts->text();
        QCOMPARE(button, QStringLiteral("1 contact"));
        p.f()->Tabulations->setCurrentIndex(0);
        p.open(1);
        p.chooser()->showChooser();

        p.chooser()->findChild<QPushButton*>("BitBtn2")->click();
        TFormAjoutContact* adding = p.f()->ajoutContact_;
        QVERIFY(TFormGeneral::onScreen(adding));
        QVERIFY(!adding->isModal());
        QCOMPARE(adding->windowTitle(), QStringLiteral("Ajout d'un contact"));
        adding->findChild<QLineEdit*>("Ajout_nom")->setText(QStringLiteral("Albert"));
        adding->findChild<QLineEdit*>("Ajout_fonction")->setText(QStringLiteral("Comptable"));
        adding->findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(p.messages.count(), 0);
        QVERIFY(!adding->isVisible());

        const TContactRec& added = p.f()->store().Contacts.last();
        QCOMPARE(qint32(added.id), 5);
        QCOMPARE(qint32(added.id_societe), 2);
        QCOMPARE(items(p.contacts()), QStringList({"Albert (Comptable)", "Dupont"}));
        // The directory page is not the active one: its button is left as it was.
        QCOMPARE(p.f()->directory()->Bt_AnnuContacts->text(), button);
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
