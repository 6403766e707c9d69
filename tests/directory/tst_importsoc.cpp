// The import dialog of the directory on a started program: its field lists,
// the preview of a file, an import through it and a file that is not there.
#include "common/programfolder.h"
#include "directory/companyfields.h"
#include "directory/importrules.h"
#include "directory/importsoc.h"
#include "directory/previsualisation.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace
{
void press(QDialog& d, const char* name)
{
    child<QPushButton>(&d, name)->click();
}

// Moves the named fields from the available list to the imported one, in order.
void addFields(TImportSoc* e, const QStringList& names)
{
    for (const QString& n : names) {
        select(e->ListeDispo, n);
        e->Button1Click();
    }
}

QString cell(const QAbstractItemModel* m, int row, int column)
{
    return m->index(row, column).data().toString();
}
} // namespace

class TestImportSoc : public QObject
{
    Q_OBJECT
private slots:
    void fieldLists()
    {
        ProgramFolder p({makeSociete(1, "ALPHA")}, {}, {});
        QVERIFY(p.page()->findChild<QWidget*>("lien_importSoc")->isEnabled());
        QStringList before, afterRefusal, afterMoves, all, reset;
        QString importSelected;
        p.answers["TImportSoc"] = [&](QDialog& d) {
            auto* e = static_cast<TImportSoc*>(&d);
            before = items(e->ListeImport) + items(e->ListeDispo);
            QVERIFY(e->RadioPointVirgule->isChecked() && e->RadioGuillemets->isChecked());
            QVERIFY(e->ImportFile->text().isEmpty());
            select(e->ListeImport, QStringLiteral("Société"));
            press(d, "Button2");
            afterRefusal = items(e->ListeImport);
            addFields(e, {"Contact_Nom", "Société_Ville"});
            select(e->ListeImport, QStringLiteral("Société_Ville"));
            press(d, "Button6"); // Monter
            if (QListWidgetItem* c = e->ListeImport->currentItem()) importSelected = c->text();
            press(d, "Button6"); // Monter again: now first
            press(d, "Button6"); // first already: nothing
            select(e->ListeImport, QStringLiteral("Contact_Nom"));
            press(d, "Button5"); // last already: nothing
            select(e->ListeImport, QStringLiteral("Société"));
            press(d, "Button5"); // Descendre
            select(e->ListeImport, QStringLiteral("Contact_Nom"));
            press(d, "Button2"); // back to the end of the available fields
            afterMoves = items(e->ListeImport) +
                         QStringList{e->ListeDispo->item(e->ListeDispo->count() - 1)->text()};
            press(d, "Button3");
            all = items(e->ListeImport) + items(e->ListeDispo);
            press(d, "Button4");
            reset = items(e->ListeImport);
            e->ImportFile->setText("x");
            e->RadioVirgule->setChecked(true);
        };
        p.page()->lien_importSocClick();
        const QStringList& names = importFieldNames();
        QCOMPARE(before, names);
        QCOMPARE(p.messages.texts(), QStringList{"Vous ne pouvez pas retirer le champ Société"});
        QCOMPARE(p.messages.shown.first().kind, msg::Kind::Error);
        QCOMPARE(afterRefusal, QStringList{"Société"});
        QCOMPARE(importSelected, QStringLiteral("Société_Ville"));
        QCOMPARE(afterMoves, (QStringList{"Société_Ville", "Société", "Contact_Nom"}));
        QCOMPARE(all, names);
        QCOMPARE(reset, QStringList{"Société"});

        // Shown again: everything as at first.
        bool resetSeen = false;
        p.answers["TImportSoc"] = [&](QDialog& d) {
            auto* e = static_cast<TImportSoc*>(&d);
            resetSeen = e->ImportFile->text().isEmpty() && e->RadioPointVirgule->isChecked() &&
                        items(e->ListeImport) == QStringList{"Société"} &&
                        e->ListeDispo->count() == 21;
        };
        p.page()->lien_importSocClick();
        QVERIFY(resetSeen);
    }

    void preview()
    {
        ProgramFolder p({}, {}, {});
        const QString file = p.dir.filePath("liste.csv");
        writeBytes(file, "# Soci\xC3\xA9t\xC3\xA9;Nom\r\n"
                         "\"Alpha et fils\";Lyon;\"Exemple Un\r\n"
                         "\r\n"
                         "\"Rue; Place\";;\n"
                         "'B\xC3\xAAta','Orl\xC3\xA9"
                         "ans'\n");
        p.answers["TImportSoc"] = [&](QDialog& d) {
            auto* e = static_cast<TImportSoc*>(&d);
            addFields(e, {"Société_Ville", "Contact_Nom"});
            e->ImportFile->setText(file);
            press(d, "BitBtn4");
        };
        p.page()->lien_importSocClick();
        QCOMPARE(p.messages.count(), 0);
        TPrevisualisation* w = p.page()->importDialog()->previsualisation();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Previsualisation"));
        const QAbstractItemModel* m = w->StringGrid1->model();
        QCOMPARE(m->rowCount(), 3); // comment and empty line left out
        QCOMPARE(m->columnCount(), 3);
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Société_Ville"));
        QCOMPARE(cell(m, 0, 0), QStringLiteral("Alpha et fils"));
        QCOMPARE(cell(m, 0, 1), QStringLiteral("Lyon"));
        // One delimiter at either end is enough to lose both end characters.
        QCOMPARE(cell(m, 0, 2), QStringLiteral("Exemple U"));
        QCOMPARE(cell(m, 1, 0), QStringLiteral("Rue; Place"));
        QCOMPARE(cell(m, 1, 1), QString());
        // With the default separator, this line is one field.
        QCOMPARE(cell(m, 2, 0), QStringLiteral("'Bêta','Orléans'"));
        QCOMPARE(w->StringGrid1->columnWidth(2), 100);

        // A new preview refills the same window.
        p.answers["TImportSoc"] = [&](QDialog& d) {
            auto* e = static_cast<TImportSoc*>(&d);
            e->RadioVirgule->setChecked(true);
            e->RadioApostrophe->setChecked(true);
            addFields(e, {"Société_Ville"});
            e->ImportFile->setText(file);
            press(d, "BitBtn4");
        };
        p.page()->lien_importSocClick();
        QCOMPARE(p.page()->importDialog()->previsualisation(), w);
        QCOMPARE(m->columnCount(), 2);
        QCOMPARE(cell(m, 2, 0), QStringLiteral("Bêta"));
        QCOMPARE(cell(m, 2, 1), QStringLiteral("Orléans"));

        // A missing file: the message, and the dialog stays open.
        bool stillOpen = false;
        p.answers["TImportSoc"] = [&](QDialog& d) {
            static_cast<TImportSoc*>(&d)->ImportFile->setText(p.dir.filePath("absent.csv"));
            press(d, "BitBtn4");
            stillOpen = d.isVisible() && d.result() == QDialog::Rejected;
        };
        p.page()->lien_importSocClick();
        QVERIFY(stillOpen);
        QCOMPARE(p.messages.texts(),
                 QStringList{"Veuillez sélectionner un fichier à importer valide"});
    }

    void importAndMissingFile()
    {
        ProgramFolder p({makeSociete(1, "ALPHA")}, {}, {});
        const QByteArray societesBefore = readBytes(p.dir.filePath("societes.dat"));
        p.chooseCompany(QStringLiteral("ALPHA"));
        // An edit under way in the company's fields outlives the import.
        p.page()->fields->field(CompanyFields::Adresse_a)->setText(QStringLiteral("12 rue Neuve"));
        QSignalSpy contacts(&p.f()->state(), &ProgramState::contactsChanged);
        const QString file = p.dir.filePath("import.txt");
        writeBytes(file, "#Soci\xC3\xA9t\xC3\xA9;Ville;Nom\n"
                         "\"Beta\";\"Orl\xC3\xA9"
                         "ans\";\"Exemple Un\"\n"
                         "\"Beta\";\"\";\"Exemple Deux\"\n"
                         "\"Alpha\";\"Lyon\";\"\"\n"
                         "\"gamma\";;\n");
        p.answers["TImportSoc"] = [&](QDialog& d) {
            auto* e = static_cast<TImportSoc*>(&d);
            addFields(e, {"Société_Ville", "Contact_Nom"});
            e->ImportFile->setText(file);
            press(d, "BitBtn1");
        };
        p.page()->lien_importSocClick();
        QCOMPARE(p.messages.texts(), QStringList{"2 sociétés ajoutées et 2 contacts ajoutés."});
        QCOMPARE(p.messages.shown.first().kind, msg::Kind::Information);
        QCOMPARE(items(p.page()->ListeSocietes), (QStringList{"ALPHA", "BETA", "GAMMA"}));
        QCOMPARE(p.page()->fields->field(CompanyFields::Adresse_a)->text(),
                 QStringLiteral("12 rue Neuve"));
        QVERIFY(p.page()->Annu_save->isEnabled());
        QVERIFY(contacts.count() >= 1);

        const QByteArray societes = readBytes(p.dir.filePath("societes.dat"));
        QCOMPARE(societes.size(), 3 * 604);
        QVERIFY(societes.startsWith(societesBefore));
        QVERIFY(societes.mid(604).contains("BETA"));
        QVERIFY(societes.mid(604, 604).contains("Orl\xE9"
                                                "ans"));
        QVERIFY(societes.mid(2 * 604).contains("GAMMA"));
        const QByteArray contactsFile = p.contactsFile();
        QCOMPARE(contactsFile.size(), 2 * 236);
        QVERIFY(contactsFile.left(236).contains("Exemple Un"));
        QVERIFY(contactsFile.mid(236).contains("Exemple Deux"));
        const Store& store = p.f()->state().store();
        QCOMPARE(store.Contacts.size(), 2);
        QCOMPARE(qint32(store.Contacts[1].id_societe), qint32(store.Societes[1].id));

        // Imported again: nothing more.
        p.messages.clear();
        p.page()->lien_importSocClick();
        QCOMPARE(p.messages.texts(), QStringList{"0 société ajoutée et 0 contact ajouté."});
        QCOMPARE(readBytes(p.dir.filePath("societes.dat")), societes);

        // A file that is not there: said, nothing added, the dialog closed.
        p.messages.clear();
        QFile::remove(file);
        bool closed = false;
        p.answers["TImportSoc"] = [&](QDialog& d) {
            static_cast<TImportSoc*>(&d)->ImportFile->setText(file);
            press(d, "BitBtn1");
            closed = d.result() == QDialog::Accepted;
        };
        p.page()->lien_importSocClick();
        QVERIFY(closed);
        QCOMPARE(p.messages.texts(),
                 QStringList{"Veuillez sélectionner un fichier à importer valide"});
        QCOMPARE(p.messages.shown.first().kind, msg::Kind::Error);
        QCOMPARE(readBytes(p.dir.filePath("societes.dat")), societes);
        QCOMPARE(p.contactsFile(), contactsFile);
        QCOMPARE(items(p.page()->ListeSocietes), (QStringList{"ALPHA", "BETA", "GAMMA"}));
    }
};

QTEST_MAIN(TestImportSoc)
#include "tst_importsoc.moc"
