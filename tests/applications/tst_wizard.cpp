// The new-application wizard and the contact chooser of the editor: the
// record the wizard appends, its refusals, the pending page import, and the
// contact linked to the open application.
#include "applications/choixcontacts.h"
#include "applications/editorview.h"
#include "applications/fournisseurs.h"
#include "common/programfolder.h"
#include "directory/ajoutcontact.h"
#include "directory/ajoutfournisseur.h"

#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

struct Program : ProgramFolder {
    explicit Program(const QList<TCandidatureRec>& apps, const QList<TContactRec>& contacts = {},
                     const QString& defaultSource = {})
        : ProgramFolder({makeSociete(1, "Delta"), makeSociete(2, "ACME"), makeSociete(3, "alpha"),
                         makeSociete(4, "ACME"), makeSociete(5, "Évian")},
                        contacts, apps, defaultSource)
    {
    }
    TFournisseurs* wizard() const { return f()->fournisseurs(); }
    TFormContacts* chooser() const { return f()->formContacts(); }
    QComboBox* companies() const { return child<QComboBox>(wizard(), "ComboBox1"); }
    QLineEdit* title() const { return child<QLineEdit>(wizard(), "intitule"); }
    QListWidget* contacts() const { return child<QListWidget>(chooser(), "ListBoxContacts"); }
    void valider() const { child<QPushButton>(wizard(), "BitBtn1")->click(); }
    void chooserOk() const { child<QPushButton>(chooser(), "BtListeOK")->click(); }
    // The wizard filled in as the user would.
    void fillWizard(const QString& company, const QString& text,
                    const QDate& day = QDate(2026, 3, 5))
    {
        wizard()->showWizard();
        companies()->setEditText(company);
        child<QDateEdit>(wizard(), "DateTimePicker1")->setDate(day);
        title()->setText(text);
    }
};

QStringList items(const QComboBox* c)
{
    QStringList s;
    for (int i = 0; i < c->count(); ++i)
        s.append(c->itemText(i));
    return s;
}

} // namespace

class TestWizard : public QObject
{
    Q_OBJECT
private slots:
    void theWizardOpensOnTheSortedCompanies()
    {
        Program p({});
        p.wizard()->showWizard();
        QVERIFY(p.wizard()->isVisible());
        QCOMPARE(p.wizard()->windowTitle(), QStringLiteral("Nouvelle candidature"));
        // Same-named companies both appear; accents and case do not change the order.
        QCOMPARE(items(p.companies()),
                 QStringList({"-- Votre choix --", "ACME", "ACME", "alpha", "Delta", "Évian"}));
        QCOMPARE(p.companies()->currentIndex(), 0);
        QCOMPARE(child<QDateEdit>(p.wizard(), "DateTimePicker1")->date(), QDate::currentDate());
        QVERIFY(p.title()->text().isEmpty());
        // A company added meanwhile is listed and chosen.
        p.f()->store().Societes.append(makeSociete(6, "Bêta"));
        p.wizard()->fillCompanies(QStringLiteral("Bêta"));
        QCOMPARE(p.companies()->currentIndex(), 4);
        QCOMPARE(p.companies()->currentText(), QStringLiteral("Bêta"));
        // "Nouvelle" opens the add-company dialog beside it.
        child<QPushButton>(p.wizard(), "BitBtn2")->click();
        QVERIFY(TFormGeneral::onScreen(p.f()->ajoutFournisseur()) && p.wizard()->isVisible());
    }

    // Reading the companies copies no table that the key-figures worker holds.
    void readingCopiesNoSharedTable()
    {
        Program p({makeCandidature(1, 1, "Comptable")});
        const Store& store = p.f()->store();
        const QList<TSocieteRec> held = store.Societes;
        const QList<TCandidatureRec> heldApplications = store.Candidatures;
        p.fillWizard("Inconnue", "Acheteur");
        p.valider(); // refused: the company is looked for
        QCOMPARE(p.messages.count(), 1);
        p.f()->ajoutFournisseur()->showAdd();
        QCOMPARE(store.Societes.constData(), held.constData());
        QCOMPARE(store.Candidatures.constData(), heldApplications.constData());
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
        QCOMPARE(p.applications(), before + recordBytes(expected));
        QCOMPARE(recordBytes(p.f()->store().Candidatures.last()), recordBytes(expected));
        // The editor is open on it, on the applications page, and the wizard is gone.
        QVERIFY(!p.wizard()->isVisible());
        QCOMPARE(p.f()->Tabulations->currentIndex(), 0);
        QVERIFY(p.f()->editor()->isOpen());
        QCOMPARE(p.f()->state().IdCandidature, 8);
        QCOMPARE(p.f()->page()->Zone->Edit_intitule->text(),
                 QStringLiteral("Contrôleur de gestion"));
    }

    void refusals()
    {
        Program p({makeCandidature(1, 1, "Comptable")});
        const QByteArray before = p.applications();
        p.fillWizard("acme", "Comptable"); // another letter case
        p.valider();
        QCOMPARE(p.messages.texts(), QStringList(QStringLiteral("Cette société n'existe pas.")));
        QCOMPARE(p.messages.shown[0].kind, msg::Kind::Error);
        // "-- Votre choix --" left as it is: nothing at all.
        p.messages.clear();
        p.companies()->setCurrentIndex(0);
        p.valider();
        QCOMPARE(p.messages.count(), 0);
        p.companies()->setEditText(QStringLiteral("Delta"));
        p.title()->clear();
        p.valider();
        QCOMPARE(p.messages.texts(),
                 QStringList(QStringLiteral("L'intitulé doit être renseigné.")));
        QVERIFY(p.wizard()->isVisible());
        QCOMPARE(p.applications(), before);
        QCOMPARE(p.f()->store().MaxIdCandidature, 1);
    }

    void aNameTypedInAnotherCaseAndEnterIsRefused()
    {
        Program p({});
        const QByteArray before = p.applications();
        p.wizard()->showWizard();
        QVERIFY(QTest::qWaitForWindowActive(p.wizard()));
        p.title()->setText(QStringLiteral("Comptable"));
        QLineEdit* typed = p.companies()->lineEdit();
        typed->setFocus();
        typed->clear();
        QTest::keyClicks(typed, QStringLiteral("delta"));
        // The names are offered whatever their case.
        auto* completer = p.wizard()->findChild<QCompleter*>();
        QVERIFY(completer && completer->popup()->isVisible());
        QCOMPARE(completer->currentCompletion(), QStringLiteral("Delta"));
        completer->popup()->hide();
        QTest::keyClick(typed, Qt::Key_Return);
        QCOMPARE(p.companies()->currentText(), QStringLiteral("delta"));
        QCOMPARE(p.messages.texts(), QStringList(QStringLiteral("Cette société n'existe pas.")));
        QCOMPARE(p.applications(), before);
        QVERIFY(p.wizard()->isVisible());
    }

    void aPendingImportGoesIntoItsSlot_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("offre") << "Offre";
        QTest::newRow("cv") << "CV";
        QTest::newRow("suite") << "Suite";
    }

    void aPendingImportGoesIntoItsSlot()
    {
        QFETCH(QString, kind);
        Program p({});
        const QString pdf = p.dir.filePath("Import/20260305_101112.pdf");
        p.f()->state().FichierImport = pdf;
        p.f()->state().TypeImport = kind;
        p.fillWizard("Delta", "Analyste", QDate(2026, 2, 14));
        p.valider();
        TCandidatureRec expected = newCandidature(); // no default source: none
        expected.intitule = QStringLiteral("Analyste");
        expected.date = QStringLiteral("20260214");
        expected.id = 1;
        expected.id_societe = 1;
        if (kind == "Offre") expected.offre = pdf; // dated by the application's own date
        if (kind == "CV") {
            expected.cv = pdf;
            expected.date_cv = QStringLiteral("20260214");
        }
        if (kind == "Suite") {
            expected.suite = pdf;
            expected.date_suite = QStringLiteral("20260214");
        }
        QCOMPARE(p.record(0), recordBytes(expected));
        QVERIFY(p.f()->state().FichierImport.isEmpty() && p.f()->state().TypeImport.isEmpty());
    }

    void aCancelledWizardLeavesTheImportPending()
    {
        Program p({});
        p.f()->state().FichierImport = p.dir.filePath("Import/20260305_101112.pdf");
        p.f()->state().TypeImport = QStringLiteral("CV");
        p.fillWizard("Delta", "Analyste");
        child<QPushButton>(p.wizard(), "BitBtn3")->click();
        QVERIFY(!p.wizard()->isVisible());
        QCOMPARE(p.f()->state().TypeImport, QStringLiteral("CV"));
        QCOMPARE(p.applications(), QByteArray());
    }

    void theOpenApplicationIsSavedBeforeTheNewOneOpens()
    {
        Program p({makeCandidature(1, 1, "Comptable"), makeCandidature(2, 1, "Juriste")});
        p.open(2);
        p.f()->page()->Zone->Edit_intitule->setText(QStringLiteral("Juriste d'affaires"));
        p.fillWizard("alpha", "Acheteur");
        p.valider();
        QCOMPARE(p.onDisk(1).intitule.text(), QStringLiteral("Juriste d'affaires"));
        QCOMPARE(p.onDisk(2).intitule.text(), QStringLiteral("Acheteur"));
        QCOMPARE(p.f()->state().IdCandidature, 3);
        QCOMPARE(p.f()->page()->Zone->Edit_intitule->text(), QStringLiteral("Acheteur"));
    }

    void theChooserListsTheCompanysContactsAndLinksOne()
    {
        Program p({makeCandidature(1, 2, "Comptable"), makeCandidature(2, 2, "Juriste")},
                  {person(1, 2, "Martin"), person(2, 1, "Autre", "Mr", "Gérant"),
                   person(3, 2, "Dupont", "Mr", "Directeur"),
                   person(4, 2, "bernard", "Mr", "DRH")});
        p.open(2);
        p.f()->editor()->CtajoutClick();
        QCOMPARE(p.chooser()->windowTitle(), QStringLiteral("Liste des contacts disponibles"));
        QCOMPARE(items(p.contacts()),
                 QStringList({"bernard (DRH)", "Dupont (Directeur)", "Martin"}));
        select(p.contacts(), "Dupont (Directeur)");
        p.chooserOk();
        QCOMPARE(qint32(p.onDisk(1).id_contact), 3);
        QCOMPARE(qint32(p.f()->store().Candidatures[1].id_contact), 3);
        QCOMPARE(qint32(p.onDisk(0).id_contact), 0);
        QVERIFY(!p.chooser()->isVisible());
        QCOMPARE(p.f()->page()->Zone->Ctnom->text(),
                 QStringLiteral("Mr Dupont")); // the editor shows it

        // A contact without function, by a double click.
        p.f()->editor()->CtajoutClick();
        select(p.contacts(), "Martin");
        emit p.contacts()->itemDoubleClicked(p.contacts()->currentItem());
        QCOMPARE(qint32(p.onDisk(1).id_contact), 1);
        QCOMPARE(p.f()->page()->Zone->Ctnom->text(), QStringLiteral("Mr Martin"));

        // OK without a choice just closes.
        const QByteArray before = p.applications();
        p.f()->editor()->CtajoutClick();
        p.contacts()->clearSelection();
        p.chooserOk();
        QVERIFY(!p.chooser()->isVisible());
        QCOMPARE(p.applications(), before);
    }

    void ofTwoContactsWithTheSameTextTheLastIsLinked()
    {
        Program p({makeCandidature(1, 2, "Comptable")},
                  {person(3, 2, "Dupont", "Mr", "Directeur"),
                   person(5, 4, "Dupont", "Mr", "Directeur"),
                   person(7, 2, "Dupont", "Mr", "Directeur")});
        p.open(1);
        p.f()->editor()->CtajoutClick();
        QCOMPARE(items(p.contacts()), QStringList({"Dupont (Directeur)", "Dupont (Directeur)"}));
        p.contacts()->setCurrentRow(0);
        p.chooserOk();
        QCOMPARE(qint32(p.onDisk(0).id_contact), 7);
    }

    void aContactAddedFromTheChooserGoesToTheApplicationsCompany()
    {
        Program p({makeCandidature(1, 2, "Comptable")},
                  {person(3, 2, "Dupont"), person(4, 1, "Autre")});
        p.chooseCompany("Delta"); // the directory shows another company meanwhile
        const QString button = p.page()->Bt_AnnuContacts->text();
        p.f()->Tabulations->setCurrentIndex(0);
        p.open(1);
        p.f()->editor()->CtajoutClick();
        child<QPushButton>(p.chooser(), "BitBtn2")->click();
        TFormAjoutContact* adding = p.f()->ajoutContact();
        QVERIFY(TFormGeneral::onScreen(adding) && !adding->isModal());
        QCOMPARE(adding->windowTitle(), QStringLiteral("Ajout d'un contact"));
        child<QLineEdit>(adding, "Ajout_nom")->setText(QStringLiteral("Albert"));
        child<QLineEdit>(adding, "Ajout_fonction")->setText(QStringLiteral("Comptable"));
        child<QPushButton>(adding, "BitBtn1")->click();
        QVERIFY(!adding->isVisible());
        QCOMPARE(qint32(p.f()->store().Contacts.last().id_societe), 2);
        QCOMPARE(items(p.contacts()), QStringList({"Albert (Comptable)", "Dupont"}));
        // The directory page is not the active one: its button is left as it was.
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), button);
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
