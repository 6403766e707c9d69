// The contact list and the adding dialog, opened from the directory page of
// a program folder: listing, showing, changing, deleting and adding
// contacts, with what reaches contacts.dat and candidatures.dat.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "directory/ajoutcontact.h"
#include "directory/directorypage.h"
#include "directory/listecontacts.h"
#include "platform/dialogs.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

using Answer = std::function<void(QDialog&)>;

struct Program {
    QTemporaryDir dir;
    FakeMessages messages;
    std::unique_ptr<TMDIParent> frame;
    // How each modal dialog is answered, by object name: it is shown as exec
    // would show it, and its result is what the answer left.
    QMap<QString, Answer> answers;
    QStringList opened;

    Program(const QList<TContactRec>& contacts, const QList<TCandidatureRec>& apps = {})
    {
        QDir(dir.path()).mkdir("Lang");
        QFile::copy(QStringLiteral(LANG_DIR "/Francais.so"), dir.filePath("Lang/Francais.so"));
        setRegistryFile(dir.filePath("ORVALDIS.ini"));
        writeBytes(dir.filePath("societes.dat"), recordBytes(makeSociete(1, "ACME")) +
                                                     recordBytes(makeSociete(2, "BETA")) +
                                                     recordBytes(makeSociete(3, "Gamma")));
        QByteArray ks, cs;
        for (const TContactRec& k : contacts) ks += recordBytes(k);
        for (const TCandidatureRec& c : apps) cs += recordBytes(c);
        writeBytes(dir.filePath("contacts.dat"), ks);
        writeBytes(dir.filePath("candidatures.dat"), cs);
        frame = std::make_unique<TMDIParent>(dir.path());
        frame->FormCreate();
        frame->createMainWindow();
        QSignalSpy loaded(f(), &TFormGeneral::loaded);
        loaded.wait(10000);
        frame->show();
        messages.clear();
        dialogs::setExecHook([this](QDialog& d) {
            opened.append(d.objectName() + QLatin1Char('|') + d.windowTitle());
            auto a = answers.find(d.objectName());
            if (a == answers.end()) return int(QDialog::Rejected);
            d.setResult(QDialog::Rejected);
            d.show();
            a.value()(d);
            d.hide();
            return d.result();
        });
    }
    ~Program()
    {
        dialogs::setExecHook({});
        frame->close();
    }
    TFormGeneral* f() const { return frame->formGeneral(); }
    DirectoryPage* page() const { return f()->directory(); }

    // The user picks a company in the directory.
    void chooseCompany(const QString& name)
    {
        f()->Tabulations->setCurrentIndex(1);
        page()->AnnuSelect(QLatin1Char('_'));
        const auto items = page()->ListeSocietes->findItems(name, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        page()->ListeSocietes->setCurrentItem(items.first());
        page()->ListeSocietesClick();
    }
    QByteArray contactsFile() const { return readBytes(dir.filePath("contacts.dat")); }
    QByteArray applicationsFile() const { return readBytes(dir.filePath("candidatures.dat")); }
    TContactRec contactOnDisk(int position) const
    {
        TContactRec k;
        std::memcpy(&k, contactsFile().mid(position * 236, 236).constData(), sizeof k);
        return k;
    }
    qint32 linkOnDisk(int position) const
    {
        TCandidatureRec c;
        std::memcpy(&c, applicationsFile().mid(position * 1644, 1644).constData(), sizeof c);
        return c.id_contact;
    }
};

template <class W>
W* child(QWidget& d, const char* name)
{
    W* w = d.findChild<W*>(QString::fromLatin1(name));
    if (!w) qWarning("no control %s", name);
    return w;
}

QStringList items(QListWidget* list)
{
    QStringList s;
    for (int i = 0; i < list->count(); ++i) s.append(list->item(i)->text());
    return s;
}

void select(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list->setCurrentItem(found.first());
}

TContactRec person(qint32 id, qint32 societe, const QString& nom, const char* civilite = "Mr",
                   const QString& fonction = {})
{
    TContactRec k = makeContact(id, societe, nom);
    k.civilite = QString::fromLatin1(civilite);
    k.fonction = fonction;
    return k;
}

TCandidatureRec application(qint32 id, qint32 contact)
{
    TCandidatureRec c = makeCandidature(id, 1, QStringLiteral("Poste %1").arg(id));
    c.id_contact = contact;
    return c;
}

void fill(QWidget& d, const char* name, const QString& text)
{
    if (auto* e = child<QLineEdit>(d, name)) e->setText(text);
}

} // namespace

class TestContactDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void theListShowsTheCompanysContactsAndTheOneClicked()
    {
        TContactRec durand = person(2, 1, "Durand Léa", "Mme", "Assistante");
        durand.tel = QStringLiteral("01 02");
        durand.fax = QStringLiteral("01 03");
        durand.gsm = QStringLiteral("06 04");
        durand.email = QStringLiteral("lea@acme.fr");
        Program p({person(1, 1, "martin"), durand, person(3, 2, "Autre"), person(4, 1, "Bernard")});
        p.chooseCompany("ACME");
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("3 contacts"));
        bool checked = false;
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Contacts"));
            auto* list = child<QListWidget>(d, "listeContacts");
            QCOMPARE(items(list), QStringList({"Bernard", "Durand Léa", "martin"}));
            QVERIFY(!child<QPushButton>(d, "BtSuppr")->isEnabled());
            QVERIFY(child<QRadioButton>(d, "Liste_Mr")->isChecked());
            QVERIFY(child<QLineEdit>(d, "Liste_nom")->text().isEmpty());
            select(list, "Durand Léa");
            QVERIFY(child<QPushButton>(d, "BtSuppr")->isEnabled());
            QVERIFY(child<QRadioButton>(d, "Liste_Mme")->isChecked());
            QCOMPARE(child<QLineEdit>(d, "Liste_nom")->text(), QStringLiteral("Durand Léa"));
            QCOMPARE(child<QLineEdit>(d, "Liste_fonction")->text(), QStringLiteral("Assistante"));
            QCOMPARE(child<QLineEdit>(d, "Liste_tel")->text(), QStringLiteral("01 02"));
            QCOMPARE(child<QLineEdit>(d, "Liste_fax")->text(), QStringLiteral("01 03"));
            QCOMPARE(child<QLineEdit>(d, "Liste_gsm")->text(), QStringLiteral("06 04"));
            QCOMPARE(child<QLineEdit>(d, "Liste_email")->text(), QStringLiteral("lea@acme.fr"));
            QCOMPARE(child<QLineEdit>(d, "Liste_nom")->maxLength(), 50);
            QCOMPARE(child<QLineEdit>(d, "Liste_tel")->maxLength(), 20);
            checked = true;
        };
        p.page()->Bt_AnnuContacts->click();
        QVERIFY(checked);
        // Shown again: nothing selected, fields empty.
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            QVERIFY(child<QLineEdit>(d, "Liste_nom")->text().isEmpty());
            QVERIFY(child<QRadioButton>(d, "Liste_Mr")->isChecked());
            QVERIFY(!child<QPushButton>(d, "BtSuppr")->isEnabled());
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.opened.size(), 2);
    }

    void okWritesTheShownContactInPlace()
    {
        Program p({person(1, 1, "Martin"), person(2, 1, "Durand", "Mme"), person(3, 1, "Durand")});
        p.chooseCompany("ACME");
        p.f()->RafraichirListing = false;
        const QByteArray before = p.contactsFile();
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            select(child<QListWidget>(d, "listeContacts"), "Durand");
            child<QRadioButton>(d, "Liste_Mlle")->setChecked(true);
            fill(d, "Liste_nom", "Durand Zoé");
            fill(d, "Liste_fonction", "Juriste");
            fill(d, "Liste_email", "zoe@acme.fr");
            child<QPushButton>(d, "BtSave")->click();
            QVERIFY(!d.isVisible());
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.messages.count(), 0);
        // The first of the two namesakes is the one changed.
        TContactRec expected = person(2, 1, "Durand Zoé", "Mlle", "Juriste");
        expected.email = QStringLiteral("zoe@acme.fr");
        QCOMPARE(p.contactsFile().mid(236, 236), recordBytes(expected));
        QCOMPARE(recordBytes(p.f()->store().Contacts[1]), recordBytes(expected));
        QCOMPARE(p.contactsFile().left(236), before.left(236));
        QCOMPARE(p.contactsFile().mid(472), before.mid(472));
        QVERIFY(p.f()->RafraichirListing);
    }

    void anEmptyNameIsRefusedOnlyWithASelection()
    {
        Program p({person(1, 1, "Martin")});
        p.chooseCompany("ACME");
        const QByteArray before = p.contactsFile();
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            select(child<QListWidget>(d, "listeContacts"), "Martin");
            fill(d, "Liste_nom", QString());
            child<QPushButton>(d, "BtSave")->click();
            QVERIFY(d.isVisible()); // stays open
            QCOMPARE(p.messages.texts(), QStringList(QStringLiteral("Le nom ne peut pas être vide.")));
            QCOMPARE(p.messages.shown[0].kind, msg::Kind::Error);
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.contactsFile(), before);

        // Without a selection, OK closes and writes nothing.
        p.messages.clear();
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            fill(d, "Liste_nom", QString());
            child<QPushButton>(d, "BtSave")->click();
            QVERIFY(!d.isVisible());
            fill(d, "Liste_nom", QStringLiteral("Quelqu'un"));
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(p.contactsFile(), before);
    }

    void deletingANameRemovesNamesakesAndClearsTheirApplications()
    {
        Program p({person(1, 1, "Martin"), person(2, 1, "Durand"), person(3, 1, "Durand", "Mme"),
                   person(4, 2, "Durand")},
                  {application(10, 2), application(11, 3), application(12, 4), application(13, 1)});
        p.chooseCompany("ACME");
        p.f()->RafraichirListing = false;
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            auto* list = child<QListWidget>(d, "listeContacts");
            QCOMPARE(items(list), QStringList({"Durand", "Durand", "Martin"}));
            select(list, "Durand");
            p.messages.answers = {false};
            child<QPushButton>(d, "BtSuppr")->click();
            QCOMPARE(p.messages.texts(),
                     QStringList(QStringLiteral("Etes-vous sûr de vouloir supprimer ce contact ?")));
            QCOMPARE(p.messages.shown[0].kind, msg::Kind::Confirmation);
            QCOMPARE(p.f()->store().Contacts.size(), 4); // No: nothing deleted
            p.messages.answers = {true};
            child<QPushButton>(d, "BtSuppr")->click();
            QCOMPARE(items(list), QStringList({"Martin"}));
            QVERIFY(!child<QPushButton>(d, "BtSuppr")->isEnabled());
            QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("1 contact"));
            QVERIFY(d.isVisible());
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.contactsFile(),
                 recordBytes(person(1, 1, "Martin")) + recordBytes(person(4, 2, "Durand")));
        const qint32 links[] = {0, 0, 4, 1};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(p.linkOnDisk(i), links[i]);
            QCOMPARE(qint32(p.f()->store().Candidatures[i].id_contact), links[i]);
        }
        QVERIFY(p.f()->RafraichirListing);
    }

    void deletingTheLastContactEmptiesTheList()
    {
        Program p({person(1, 1, "Martin"), person(2, 2, "Autre")});
        p.chooseCompany("ACME");
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            auto* list = child<QListWidget>(d, "listeContacts");
            select(list, "Martin");
            p.messages.answers = {true};
            child<QPushButton>(d, "BtSuppr")->click();
            QCOMPARE(list->count(), 0);
            QVERIFY(!child<QPushButton>(d, "BtSuppr")->isEnabled());
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("Pas de contact"));
        QCOMPARE(p.contactsFile(), recordBytes(person(2, 2, "Autre")));
    }

    void aDeletionWhoseSafetyCopyFailsChangesNothing()
    {
        Program p({person(1, 1, "Martin")}, {application(10, 1)});
        p.chooseCompany("ACME");
        const QByteArray before = p.contactsFile();
        // A directory where the safety copy should go: it cannot be written.
        QDir(p.dir.path()).mkpath("backup/contacts.dat/x");
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            auto* list = child<QListWidget>(d, "listeContacts");
            select(list, "Martin");
            p.messages.answers = {true};
            child<QPushButton>(d, "BtSuppr")->click();
            QCOMPARE(p.messages.texts().last(),
                     QStringLiteral("Impossible de créer la sauvegarde.\rErreur disque."));
            QCOMPARE(items(list), QStringList({"Martin"}));
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.contactsFile(), before);
        QCOMPARE(p.linkOnDisk(0), 1);
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("1 contact"));
    }

    void creatingFromTheListAddsTheNameInItsPlace()
    {
        Program p({person(1, 1, "Martin"), person(2, 1, "Bernard")});
        p.chooseCompany("ACME");
        p.answers["FormAjoutContact"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("ACME: Ajout d'un contact"));
            QVERIFY(child<QRadioButton>(d, "Ajout_Mr")->isChecked());
            child<QRadioButton>(d, "Ajout_Mme")->setChecked(true);
            fill(d, "Ajout_nom", QStringLiteral("durand"));
            fill(d, "Ajout_fonction", QStringLiteral("DRH"));
            fill(d, "Ajout_tel", QStringLiteral("01"));
            fill(d, "Ajout_gsm", QStringLiteral("06"));
            fill(d, "Ajout_email", QStringLiteral("d@acme.fr"));
            fill(d, "Ajout_fax", QStringLiteral("02"));
            child<QPushButton>(d, "BitBtn1")->click();
            QVERIFY(!d.isVisible());
        };
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            child<QPushButton>(d, "BitBtn1")->click();
            QCOMPARE(items(child<QListWidget>(d, "listeContacts")),
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
        QCOMPARE(recordBytes(p.f()->store().Contacts.last()), recordBytes(expected));
    }

    void aCompanyWithoutContactOffersToAddOne()
    {
        Program p({person(1, 2, "Autre")});
        p.chooseCompany("Gamma");
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("Pas de contact"));
        p.answers["FormAjoutContact"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Ajouter un contact"));
            child<QPushButton>(d, "BitBtn1")->click(); // no name yet
            QVERIFY(d.isVisible());
            QCOMPARE(p.messages.texts().last(), QStringLiteral("Le nom doit être renseigné."));
            fill(d, "Ajout_nom", QStringLiteral("Petit"));
            child<QPushButton>(d, "BitBtn1")->click();
            QVERIFY(!d.isVisible());
        };
        p.messages.answers = {false}; // declines to add one
        p.page()->Bt_AnnuContacts->click();
        QVERIFY(p.opened.isEmpty());
        p.messages.answers = {true};
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("1 contact"));
        QCOMPARE(p.contactsFile().mid(236), recordBytes(person(2, 3, "Petit")));

        // From the list, the caption names the company.
        p.answers["FormAjoutContact"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Gamma: Ajout d'un contact"));
            child<QPushButton>(d, "BitBtn2")->click(); // cancel
        };
        p.answers["FormListeContacts"] = [&](QDialog& d) {
            child<QPushButton>(d, "BitBtn1")->click();
        };
        p.page()->Bt_AnnuContacts->click();
        QCOMPARE(p.contactsFile().size(), 2 * 236);

        // From the directory's button the caption of the last showing stays;
        // the fields are emptied all the same.
        p.chooseCompany("ACME");
        bool shown = false;
        p.answers["FormAjoutContact"] = [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Gamma: Ajout d'un contact"));
            QVERIFY(child<QLineEdit>(d, "Ajout_nom")->text().isEmpty());
            QVERIFY(child<QRadioButton>(d, "Ajout_Mr")->isChecked());
            shown = true;
        };
        p.messages.answers = {true};
        p.page()->Bt_AnnuContacts->click();
        QVERIFY(shown);
        QCOMPARE(p.contactsFile().size(), 2 * 236);
        QCOMPARE(p.page()->Bt_AnnuContacts->text(), QStringLiteral("Pas de contact"));
    }
};

QTEST_MAIN(TestContactDialogs)
#include "tst_contactdialogs.moc"
