// The directory page and the adding of companies, on real files.
#include "common/programfolder.h"
#include "directory/ajoutfournisseur.h"
#include "directory/companyfields.h"
#include "directory/companysheet.h"
#include "directory/directorypage.h"
#include "platform/mailsender.h"
#include "platform/panels.h"
#include "platform/shellopen.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

struct Program : ProgramFolder {
    Program(const QList<TSocieteRec>& socs, const QList<TCandidatureRec>& apps = {},
            const QList<TContactRec>& contacts = {})
        : ProgramFolder(socs, contacts, apps)
    {
        f()->Tabulations->setCurrentIndex(1);
    }
    DirectoryPage* d() const { return f()->directory(); }
    QStringList listed() const { return items(d()->ListeSocietes); }
    void select(int row)
    {
        d()->ListeSocietes->setCurrentRow(row);
        d()->ListeSocietesClick();
    }
    QLineEdit* field(CompanyFields::Field f) const { return d()->fields->field(f); }
};

} // namespace

class TestDirectoryPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void everyCompanyFieldIsNamedAfterItsLabel()
    {
        Program p({});
        const QList<QWidget*> forms{p.d(), p.f()->ajoutFournisseur()};
        for (QWidget* form : forms) {
            const auto* nom = form->findChild<QLineEdit*>("Annu_nom");
            QVERIFY(nom);
            QCOMPARE(nom->accessibleName(), QStringLiteral("Nom"));
            QCOMPARE(form->findChild<QLineEdit*>("Annu_cp")->accessibleName(),
                     QStringLiteral("Code postal"));
            QCOMPARE(form->findChild<QLineEdit*>("Annu_addrb")->accessibleName(),
                     QStringLiteral("Adresse (suite)"));
            for (const QLineEdit* e : form->findChildren<QLineEdit*>())
                if (e->objectName().startsWith(QLatin1String("Annu_")))
                    QVERIFY2(!e->accessibleName().isEmpty(), qPrintable(e->objectName()));
        }
    }

    void groupsAndSelection()
    {
        TSocieteRec acme = makeSociete(1, "ACME", "C");
        acme.service = QString(45, QLatin1Char('s')); // longer than what can be typed
        acme.email = QStringLiteral("rh@acme.fr");
        Program p({acme, makeSociete(2, "ÉCOLE DES MINES"), makeSociete(3, "ACME", "I"),
                   makeSociete(4, "3M FRANCE")},
                  {makeCandidature(1, 1, "A"), makeCandidature(2, 1, "B")},
                  {makeContact(1, 1, "Durand")});
        QVERIFY(p.listed().isEmpty()); // nothing before a group is chosen
        QVERIFY(!p.d()->Annu_save->isEnabled());
        p.d()->AnnuSelect(QLatin1Char('b'));
        QCOMPARE(p.listed(), QStringList({"ACME", "ACME"}));
        p.d()->AnnuSelect(QLatin1Char('f'));
        QCOMPARE(p.listed(), QStringList("ÉCOLE DES MINES"));
        p.d()->AnnuSelect(QLatin1Char('_'));
        QCOMPARE(p.listed().size(), 4);

        p.d()->AnnuSelect(QLatin1Char('b'));
        p.select(1); // either ACME shows the first of them
        QCOMPARE(p.f()->state().IdSocieteAnnuaire, 1);
        QVERIFY(p.d()->RadioAnnuCabinet->isChecked());
        QCOMPARE(p.field(CompanyFields::Service)->text().size(), 45);
        QCOMPARE(p.d()->Bt_AnnuContacts->text(), QStringLiteral("1 contact"));
        QVERIFY(p.d()->Bt_AnnuContacts->isVisibleTo(p.f()));
        QCOMPARE(p.d()->LabelAnnuStatCandidatures->text(), QStringLiteral("Candidatures: 2"));
        QCOMPARE(p.d()->LabelAnnuTempsReponses->text(),
                 QStringLiteral("Temps de réponse moyen non disponible"));
        QVERIFY(p.d()->Annu_save->isEnabled() && p.d()->Annu_delete->isEnabled());

        // The address opens a compose window; the site goes to the browser.
        QStringList args;
        p.f()->EnvoiMail().setRunner([&](const QString&, const QStringList& a) {
            args = a;
            return mail::ProcessOutcome{mail::ProcessOutcome::Finished, 0};
        });
        p.d()->Bt_AnnuMailerClick();
        QVERIFY(args.join(' ').contains("rh@acme.fr"));
        QStringList opened;
        setExecuteFileHook([&](const QString& t) { opened.append(t); });
        p.d()->Bt_AnnuVoirClick(); // empty site: nothing
        p.field(CompanyFields::Url)->setText("www.acme.fr");
        p.d()->Bt_AnnuVoirClick();
        setExecuteFileHook({});
        QCOMPARE(opened, QStringList("www.acme.fr"));
    }

    void savingAsksPerCompanyOfTheSameName()
    {
        Program p({makeSociete(1, "ACME"), makeSociete(2, "ACME")});
        p.d()->AnnuSelect(QLatin1Char('b'));
        p.select(0);
        p.field(CompanyFields::Ville)->setText("Lyon");
        p.messages.answers = {false, true}; // not the first, the second
        p.d()->Annu_saveClick();
        QCOMPARE(p.messages.count(), 3);
        QCOMPARE(p.messages.shown[2].text, QStringLiteral("Modifications enregistrées."));
        QVERIFY(p.f()->store().Societes[0].ville.isEmpty());
        QCOMPARE(p.f()->store().Societes[1].ville.text(), QStringLiteral("Lyon"));
        QCOMPARE(readBytes(p.dir.filePath("societes.dat")).mid(604, 604),
                 recordBytes(p.f()->store().Societes[1]));
        QVERIFY(p.f()->state().RafraichirListing);

        // Renamed in place in the list; an empty name is refused.
        p.field(CompanyFields::Nom)->setText("ZETA");
        p.messages.answers = {true};
        p.d()->Annu_saveClick();
        QCOMPARE(p.listed(), QStringList({"ZETA", "ACME"}));
        p.select(0);
        p.field(CompanyFields::Nom)->clear();
        p.messages.clear();
        p.d()->Annu_saveClick();
        QCOMPARE(p.messages.count(), 1);
        QCOMPARE(p.messages.shown[0].kind, msg::Kind::Error);
        QCOMPARE(p.f()->store().Societes[0].nom.text(), QStringLiteral("ZETA"));
    }

    void addingACompany()
    {
        Program p({});
        TFormAjoutFournisseur* add = p.f()->ajoutFournisseur();
        add->showAdd();
        QVERIFY(add->isVisible());
        auto* nom = add->findChild<QLineEdit*>("Annu_nom");
        auto* ok = add->findChild<QPushButton*>("Annu_save");
        QVERIFY(add->findChild<QRadioButton*>("RadioSociete")->isChecked());
        ok->click();
        QCOMPARE(p.messages.texts(), QStringList("Impossible d'ajouter cette société: Nom vide"));
        QVERIFY(add->isVisible());
        // Typed letters become capitals.
        QTest::sendKeyEvent(QTest::Click, nom, Qt::Key_unknown, QStringLiteral("é"),
                            Qt::NoModifier);
        QTest::keyClicks(nom, "ditions du sud");
        QCOMPARE(nom->text(), QStringLiteral("ÉDITIONS DU SUD"));
        add->findChild<QRadioButton*>("RadioCabinet")->setChecked(true);
        ok->click();
        QVERIFY(!add->isVisible());
        QCOMPARE(p.f()->store().Societes.size(), 1);
        QCOMPARE(qint32(p.f()->store().Societes[0].id), 1);
        QCOMPARE(p.f()->store().Societes[0].categorie.text(), QStringLiteral("C"));
        QCOMPARE(readBytes(p.dir.filePath("societes.dat")),
                 recordBytes(p.f()->store().Societes[0]));
        QCOMPARE(p.listed(), QStringList("ÉDITIONS DU SUD")); // the E-F group is shown
        // The same name again is refused; another case is a new company.
        add->showAdd();
        QCOMPARE(nom->text(), QString());
        nom->setText("ÉDITIONS DU SUD");
        p.messages.clear();
        ok->click();
        QCOMPARE(p.messages.texts(), QStringList("Une société portant ce nom existe déjà"));
        nom->setText("Éditions du sud");
        ok->click();
        QCOMPARE(p.f()->store().Societes.size(), 2);
        QCOMPARE(qint32(p.f()->store().Societes[1].id), 2);
        // Added while another page is shown: the directory list stays as it was.
        p.f()->Tabulations->setCurrentIndex(0);
        add->showAdd();
        nom->setText("3M FRANCE");
        ok->click();
        QCOMPARE(p.listed().size(), 2);
    }

    void afterARefusalTheAddDialogKeepsTheFocus()
    {
        Program p({makeSociete(1, "ACME")});
        TFormAjoutFournisseur* add = p.f()->ajoutFournisseur();
        add->showAdd();
        QVERIFY(QTest::qWaitForWindowActive(add));
        auto* nom = add->findChild<QLineEdit*>("Annu_nom");
        auto* ville = add->findChild<QLineEdit*>("Annu_ville");
        QVERIFY(nom && ville);
        // A real message box takes the activation; closing it hands it to
        // the main window.
        p.messages.whileShown = [&p] {
            p.frame->activateWindow();
            (void)QTest::qWaitForWindowActive(p.frame.get());
        };
        nom->setText(QStringLiteral("ACME"));
        ville->setFocus();
        add->findChild<QPushButton*>("Annu_save")->click();
        QCOMPARE(p.messages.texts(), QStringList("Une société portant ce nom existe déjà"));
        QVERIFY(QTest::qWaitForWindowActive(add));
        QCOMPARE(QApplication::activeWindow(), add);
        QCOMPARE(add->focusWidget(), ville); // the user goes on where they were
        p.messages.whileShown = {};
    }

    void theSaveAndDeleteButtonsStayInPlaceWhenTheContactsButtonAppears()
    {
        Program p({makeSociete(1, "ACME"), makeSociete(2, "BETA")});
        p.d()->AnnuSelect(QLatin1Char('_'));
        QApplication::processEvents();
        const QRect save = p.d()->Annu_save->geometry(), del = p.d()->Annu_delete->geometry();
        QVERIFY(p.d()->Bt_AnnuContacts->isHidden());
        p.select(0);
        QApplication::processEvents();
        QVERIFY(p.d()->Bt_AnnuContacts->isVisible());
        QCOMPARE(p.d()->Annu_save->geometry(), save);
        QCOMPARE(p.d()->Annu_delete->geometry(), del);
        QVERIFY(save.right() + 4 <= del.left()); // the two buttons do not touch
    }

    void theSheetPlacesTwoContactsPerRowOverAsManyPagesAsNeeded()
    {
        auto contacts = [](int n) {
            QList<TContactRec> l{person(100, 2, "Ailleurs")};
            for (int i = 1; i <= n; ++i)
                l.append(person(i, 1, QStringLiteral("Contact %1").arg(i), "Mme"));
            return l;
        };
        auto boxes = [](const report::Page& page) {
            QList<QPointF> at;
            QStringList texts;
            for (const report::Object& o : page.objects)
                if (const auto* t = std::get_if<report::TextBox>(&o)) {
                    texts.append(t->text);
                    if (t->rect.size() == QSizeF(300, 135)) at.append(t->rect.topLeft());
                }
            return std::make_pair(at, texts);
        };
        const TSocieteRec acme = makeSociete(1, "ACME");
        const report::Page templ;
        auto make = [&](int n) {
            return CreationReport(templ, companyVariables(acme), contacts(n), 1, "Fiche de ACME",
                                  QDate(2026, 12, 9))
                .pages;
        };
        const auto none = make(0);
        QCOMPARE(none.size(), 1);
        QVERIFY(boxes(none[0]).second.contains(QStringLiteral("Page 1/1")));
        QVERIFY(boxes(none[0]).second.contains(QStringLiteral("09/12/2026")));

        const auto nine = make(9);
        QCOMPARE(nine.size(), 2);
        QCOMPARE(boxes(nine[0]).first.size(), 8);
        QCOMPARE(boxes(nine[0]).first.value(7), QPointF(400, 850));
        QCOMPARE(boxes(nine[1]).first, QList<QPointF>{QPointF(56, 90)});
        QVERIFY(boxes(nine[0]).second.contains(QStringLiteral("Page 1/2")));
        QVERIFY(boxes(nine[1]).second.contains(QStringLiteral("Page 2/2")));
        QVERIFY(boxes(nine[0]).second.contains(QStringLiteral("Mme Contact 1")));

        const auto many = make(21);
        QCOMPARE(many.size(), 3);
        QCOMPARE(boxes(many[1]).first.size(), 12);
        QCOMPARE(boxes(many[1]).first.last(), QPointF(400, 840));
        QCOMPARE(boxes(many[2]).first.size(), 1);
    }

    void theSheetShowsTheFieldsAsTypedAndTheMailGivesThem()
    {
        TSocieteRec acme = makeSociete(1, "ACME");
        acme.cp = QStringLiteral("69001");
        acme.ville = QStringLiteral("Lyon");
        acme.tela = QStringLiteral("04 00 00 00 01");
        Program p({acme});
        p.d()->AnnuSelect(QLatin1Char('_'));
        p.select(0);
        for (LinkLabel* l :
             {p.d()->lien_ApercuSociete, p.d()->lien_ImprimerSociete, p.d()->lien_MailerSociete})
            QVERIFY(l->isEnabled());
        p.field(CompanyFields::Ville)->setText(QStringLiteral("Villeurbanne")); // not saved
        const report::Report r = p.d()->shownSheet();
        QCOMPARE(r.title, QStringLiteral("Fiche de ACME"));
        QCOMPARE(r.variables.value("ville"), QStringLiteral("Villeurbanne"));
        QCOMPARE(companyMailBody(r.variables),
                 QStringList({"", "Coordonnées de la société sélectionnée:",
                              "---------------------------------------", "", "  ACME", "  ",
                              "  69001 Villeurbanne", "  Tél: 04 00 00 00 01", "  Fax: "}));
        // Printing every sheet without a printer says so and changes nothing.
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            p.answers["FormImpressionSociete"] = [](QDialog& d) {
                d.findChild<QRadioButton*>("RadioTout")->setChecked(true);
                d.accept();
            };
            const qint32 shown = p.f()->state().IdSocieteAnnuaire;
            p.d()->lien_ImprimerSocieteClick();
            QCOMPARE(p.messages.texts().last(),
                     QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur."));
            QCOMPARE(p.f()->state().IdSocieteAnnuaire, shown);
        }
    }

    void deletingTheCompanyShown()
    {
        Program p({makeSociete(1, "ACME"), makeSociete(2, "AZUR")}, {},
                  {makeContact(1, 1, "Durand")});
        p.d()->AnnuSelect(QLatin1Char('b'));
        p.select(0);
        p.messages.answers = {true};
        p.d()->Annu_deleteClick();
        QCOMPARE(p.listed(), QStringList("AZUR"));
        QCOMPARE(p.f()->state().IdSocieteAnnuaire, 0);
        QVERIFY(!p.d()->Annu_save->isEnabled());
        QVERIFY(p.f()->store().Contacts.isEmpty());
        QCOMPARE(p.f()->store().Societes.size(), 1);
    }
};

QTEST_MAIN(TestDirectoryPage)
#include "tst_directorypage.moc"
