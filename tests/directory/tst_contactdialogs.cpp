// The contact list and the adding dialog, opened from the directory page:
// listing, showing, changing, deleting and adding contacts, with what
// reaches contacts.dat and candidatures.dat.
#include "common/programfolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace
{

struct Program : ProgramFolder {
    Program(const QList<TContactRec>& contacts, const QList<TCandidatureRec>& apps = {})
        : ProgramFolder({makeSociete(1, "ACME"), makeSociete(2, "BETA"), makeSociete(3, "Gamma")},
                        contacts, apps)
    {
    }
};

void fill(QDialog& d, const char* name, const QString& text)
{
    child<QLineEdit>(&d, name)->setText(text);
}
void click(QDialog& d, const char* name)
{
    child<QPushButton>(&d, name)->click();
}

} // namespace

class TestContactDialogs : public QObject
{
    Q_OBJECT
private slots:
    void theListShowsTheCompanysContactsAndTheOneClicked()
    {
        TContactRec durand = person(2, 1, "Durand Léa", "Mme", "Assistante");
        durand.tel = QStringLiteral("01 02");
        durand.email = QStringLiteral("lea@acme.fr");
        Program p({person(1, 1, "martin"), durand, person(3, 2, "Autre"), person(4, 1, "Bernard")});
        p.chooseCompany("ACME");
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("3 contacts"));
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Contacts"));
            auto* list = child<QListWidget>(&d, "listeContacts");
            QCOMPARE(items(list), QStringList({"Bernard", "Durand Léa", "martin"}));
            QVERIFY(!child<QPushButton>(&d, "BtSuppr")->isEnabled());
            select(list, "Durand Léa");
            QVERIFY(child<QPushButton>(&d, "BtSuppr")->isEnabled());
            QVERIFY(child<QRadioButton>(&d, "Liste_Mme")->isChecked());
            QCOMPARE(child<QLineEdit>(&d, "Liste_nom")->text(), QStringLiteral("Durand Léa"));
            QCOMPARE(child<QLineEdit>(&d, "Liste_fonction")->text(), QStringLiteral("Assistante"));
            QCOMPARE(child<QLineEdit>(&d, "Liste_tel")->text(), QStringLiteral("01 02"));
            QCOMPARE(child<QLineEdit>(&d, "Liste_email")->text(), QStringLiteral("lea@acme.fr"));
        };
        p.page()->Bt_AnnuContacts->click();
        // Shown again: nothing selected, fields empty, "Monsieur" checked.
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            QVERIFY(child<QLineEdit>(&d, "Liste_nom")->text().isEmpty());
            QVERIFY(child<QRadioButton>(&d, "Liste_Mr")->isChecked());
            QVERIFY(!child<QPushButton>(&d, "BtSuppr")->isEnabled());
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.opened.size(), 2);
    }

    void okWritesTheShownContactInPlace()
    {
        Program p({person(1, 1, "Martin"), person(2, 1, "Durand", "Mme"), person(3, 1, "Durand")});
        p.chooseCompany("ACME");
        p.f()->state().RafraichirListing = false;
        const QByteArray before = p.contactsFile();
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            select(child<QListWidget>(&d, "listeContacts"), "Durand");
            fill(d, "Liste_nom", QString());
            click(d, "BtSave");
            QVERIFY(d.isVisible()); // an empty name is refused, the dialog stays
            QCOMPARE(p.messages.texts(),
                     QStringList(QStringLiteral("Le nom ne peut pas être vide.")));
            child<QRadioButton>(&d, "Liste_Mlle")->setChecked(true);
            fill(d, "Liste_nom", "Durand Zoé");
            fill(d, "Liste_fonction", "Juriste");
            click(d, "BtSave");
            QVERIFY(!d.isVisible());
        };
        p.page()->Bt_AnnuContacts->click();
        // The first of the two namesakes is the one changed.
        const TContactRec expected = person(2, 1, "Durand Zoé", "Mlle", "Juriste");
        QCOMPARE(p.contactsFile(), before.left(236) + recordBytes(expected) + before.mid(472));
        QCOMPARE(recordBytes(p.f()->store().Contacts[1]), recordBytes(expected));
        QVERIFY(p.f()->state().RafraichirListing);

        // Without a selection, OK closes and writes nothing, even with an empty name.
        p.messages.clear();
        const QByteArray after = p.contactsFile();
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            click(d, "BtSave");
            QVERIFY(!d.isVisible());
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(p.contactsFile(), after);
    }

    void deletingANameRemovesNamesakesAndClearsTheirApplications()
    {
        Program p({person(1, 1, "Martin"), person(2, 1, "Durand"), person(3, 1, "Durand", "Mme"),
                   person(4, 2, "Durand")},
                  {linkedApplication(10, 1, 2), linkedApplication(11, 1, 3),
                   linkedApplication(12, 2, 4), linkedApplication(13, 1, 1)});
        p.chooseCompany("ACME");
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            auto* list = child<QListWidget>(&d, "listeContacts");
            QCOMPARE(items(list), QStringList({"Durand", "Durand", "Martin"}));
            select(list, "Durand");
            p.messages.answers = {false};
            click(d, "BtSuppr");
            QCOMPARE(p.messages.texts(), QStringList(QStringLiteral(
                                             "Etes-vous sûr de vouloir supprimer ce contact ?")));
            QCOMPARE(p.f()->store().Contacts.size(), 4); // No: nothing deleted
            p.messages.answers = {true};
            click(d, "BtSuppr");
            QCOMPARE(items(list), QStringList({"Martin"}));
            QVERIFY(!child<QPushButton>(&d, "BtSuppr")->isEnabled());
            QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("1 contact"));
            // The last one: an empty list.
            select(list, "Martin");
            p.messages.answers = {true};
            click(d, "BtSuppr");
            QCOMPARE(list->count(), 0);
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("Pas de contact"));
        QCOMPARE(p.contactsFile(), recordBytes(person(4, 2, "Durand")));
        const qint32 links[] = {0, 0, 4, 0};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(qint32(p.onDisk(i).id_contact), links[i]);
            QCOMPARE(qint32(p.f()->store().Candidatures[i].id_contact), links[i]);
        }
    }

    void creatingFromTheListAddsTheNameInItsPlace()
    {
        Program p({person(1, 1, "Martin"), person(2, 1, "Bernard")});
        p.chooseCompany("ACME");
        p.answers["FormAjoutContact"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("ACME: Ajout d'un contact"));
            QVERIFY(child<QRadioButton>(&d, "Ajout_Mr")->isChecked());
            child<QRadioButton>(&d, "Ajout_Mme")->setChecked(true);
            fill(d, "Ajout_nom", QStringLiteral("durand"));
            fill(d, "Ajout_fonction", QStringLiteral("DRH"));
            fill(d, "Ajout_tel", QStringLiteral("01"));
            fill(d, "Ajout_gsm", QStringLiteral("06"));
            fill(d, "Ajout_email", QStringLiteral("d@acme.fr"));
            fill(d, "Ajout_fax", QStringLiteral("02"));
            click(d, "BitBtn1");
            QVERIFY(!d.isVisible());
        };
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            click(d, "BitBtn1");
            QCOMPARE(items(child<QListWidget>(&d, "listeContacts")),
                     QStringList({"Bernard", "durand", "Martin"}));
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.messages.count(), 0);
        // The directory page is the active one: its button counts the new contact.
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("3 contacts"));
        TContactRec expected = person(3, 1, "durand", "Mme", "DRH");
        expected.tel = QStringLiteral("01");
        expected.gsm = QStringLiteral("06");
        expected.email = QStringLiteral("d@acme.fr");
        expected.fax = QStringLiteral("02");
        QCOMPARE(p.contactsFile().mid(2 * 236), recordBytes(expected));
    }

    void aCompanyWithoutContactOffersToAddOne()
    {
        Program p({person(1, 2, "Autre")});
        p.chooseCompany("Gamma");
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("Pas de contact"));
        p.answers["FormAjoutContact"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Ajouter un contact"));
            click(d, "BitBtn1"); // no name yet
            QVERIFY(d.isVisible());
            QCOMPARE(p.messages.texts().last(), QStringLiteral("Le nom doit être renseigné."));
            fill(d, "Ajout_nom", QStringLiteral("Petit"));
            click(d, "BitBtn1");
        };
        p.messages.answers = {false}; // declines to add one
        p.page()->Bt_AnnuContacts->click();
        QVERIFY(p.opened.isEmpty());
        p.messages.answers = {true};
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("1 contact"));
        QCOMPARE(p.contactsFile().mid(236), recordBytes(person(2, 3, "Petit")));

        // From the list the caption names the company; from the directory's
        // button the caption of the last showing stays.
        p.answers["FormListeContacts"] = [&](QDialog& d) { click(d, "BitBtn1"); };
        p.answers["FormAjoutContact"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Gamma: Ajout d'un contact"));
            QVERIFY(child<QLineEdit>(&d, "Ajout_nom")->text().isEmpty());
            fill(d, "Ajout_nom", QStringLiteral("Annulé"));
            click(d, "BitBtn2"); // cancel
        };
        p.page()->Bt_AnnuContacts->click();
        p.chooseCompany("ACME");
        p.messages.answers = {true};
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.opened, QStringList({"FormAjoutContact", "FormListeContacts", "FormAjoutContact",
                                        "FormAjoutContact"}));
        QCOMPARE(p.contactsFile().size(), 2 * 236);
    }
};

QTEST_MAIN(TestContactDialogs)
#include "tst_contactdialogs.moc"
