// The export dialog of the directory on a started program: its choices reset
// on every showing, the text file and the spreadsheet it writes, and a
// cancelled file choice.
#include "common/programfolder.h"
#include "directory/exportsoc.h"
#include "platform/shellopen.h"

#include <QGroupBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

class TestExportSoc : public QObject
{
    Q_OBJECT
private slots:
    void choicesFilesAndCancel()
    {
        TSocieteRec a = makeSociete(1, "ALPHA", "C");
        a.ville = QStringLiteral("Lyon");
        ProgramFolder p({a, makeSociete(2, QStringLiteral("ÉCOLE"), "I")},
                        {person(1, 1, "Dupont", "Mme"), person(2, 1, "Martin")}, {});
        QString chosen;
        dialogs::setFileHook([&](const QString&) { return chosen; });
        QStringList opened;
        setExecuteFileHook([&](const QString& f) { opened.append(f); });
        bool csvShown = false, resetSeen = true;
        p.answers["TExportSoc"] = [&](QDialog& d) {
            auto* e = static_cast<TExportSoc*>(&d);
            resetSeen = resetSeen && e->RadioSocOnly->isChecked() && e->RadioExcel->isChecked() &&
                        e->RadioPointVirgule->isChecked() && e->RadioGuillemets->isChecked() &&
                        e->GroupSeparateur->isHidden() && e->GroupDelimiteur->isHidden();
            if (chosen.endsWith(".csv")) {
                e->RadioCSV->click();
                csvShown = e->GroupSeparateur->isVisible() && e->GroupDelimiteur->isVisible();
                e->RadioSocContact->setChecked(true);
                e->RadioVirgule->setChecked(true);
            }
            child<QPushButton>(&d, "BitBtn1")->click();
        };

        // Text: the choices made, then "Exportation terminée.".
        chosen = p.dir.filePath("annuaire.csv");
        QVERIFY(p.page()->findChild<QWidget*>("lien_exportSoc")->isEnabled());
        p.page()->lien_exportSocClick();
        QVERIFY(csvShown);
        QCOMPARE(p.messages.texts(), QStringList{"Exportation terminée."});
        const QList<QByteArray> lines = readBytes(chosen).split('\n');
        QCOMPARE(lines.size(), 5); // header, two contacts of ALPHA, ÉCOLE, end
        QVERIFY(lines[0].startsWith("#Soci\xE9t\xE9,Cat\xE9gorie,"));
        QVERIFY(lines[2].startsWith("\"ALPHA\",\"Cabinet de recrutement\","));
        QVERIFY(lines[2].endsWith(",\"Mr\",\"Martin\",\"\",\"\",\"\",\"\",\"\"\r"));
        QVERIFY(lines[3].startsWith("\"\xC9"
                                    "COLE\",\"Int\xE9rim\","));
        QVERIFY(opened.isEmpty());

        // Spreadsheet, choices reset: companies only, opened afterwards.
        p.messages.clear();
        chosen = p.dir.filePath("annuaire");
        p.page()->lien_exportSocClick();
        QVERIFY(resetSeen);
        QCOMPARE(opened, QStringList{p.dir.filePath("annuaire.xlsx")});
        QCOMPARE(p.messages.count(), 0);
        QProcess x;
        x.start("xlsx2csv", {p.dir.filePath("annuaire.xlsx")});
        QVERIFY(x.waitForFinished(20000));
        const QStringList rows =
            QString::fromUtf8(x.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], QStringLiteral("Société,Catégorie,Service,Adresse1,Adresse2,BP,CP,Ville,"
                                         "Pays,Tel1,Tel2,Fax1,Fax2,URL,Email"));
        QVERIFY(rows[1].startsWith(QStringLiteral("ALPHA,Cabinet de recrutement,,,,,,Lyon")));
        QVERIFY(rows[2].startsWith(QStringLiteral("ÉCOLE,Intérim")));

        // Cancelled: nothing written, the dialog closed.
        chosen.clear();
        QFile::remove(p.dir.filePath("annuaire.xlsx"));
        p.page()->lien_exportSocClick();
        QVERIFY(!QFile::exists(p.dir.filePath("annuaire.xlsx")));
        QCOMPARE(p.messages.count(), 0);
        dialogs::setFileHook({});
        setExecuteFileHook({});
    }
};

QTEST_MAIN(TestExportSoc)
#include "tst_exportsoc.moc"
