// The application editor on real files in a program folder: opening,
// saving, returning, the appointment, the contact, the notes, the company
// figures, the deletion and the mail to the contact.
#include "applications/editor.h"
#include "applications/editorview.h"
#include "applications/listinggrid.h"
#include "applications/listingpage.h"
#include "common/programfolder.h"
#include "platform/dialogs.h"
#include "platform/mailsender.h"
#include "platform/panels.h"
#include "platform/report/output.h"
#include "reports/calendrier.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QList<TSocieteRec> companies()
{
    TSocieteRec acme = makeSociete(1, "ACME & Fils", "S");
    acme.adresse_a = QStringLiteral("3 rue des Lilas");
    acme.cp = QStringLiteral("69001");
    acme.ville = QStringLiteral("Lyon");
    acme.telb = QStringLiteral("04 11 22 33 44");
    return {acme, makeSociete(2, "BETA")};
}

struct Program : ProgramFolder {
    explicit Program(const QList<TCandidatureRec>& apps, const QList<TContactRec>& contacts = {})
        : ProgramFolder(companies(), contacts, apps)
    {
    }
    ApplicationEditor* editor() const { return f()->editor(); }
    ZoneCandidature* z() const { return f()->page()->Zone; }
    const TCandidatureRec& stored(int position) const
    {
        return f()->store().Candidatures[position];
    }
};

TCandidatureRec sample(qint32 id, qint32 societe, const QString& title)
{
    TCandidatureRec c = makeCandidature(id, societe, title, "20260110");
    c.source = QStringLiteral("APEC");
    return c;
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void openingShowsTheApplicationAndLeavingSavesIt()
    {
        TCandidatureRec c = sample(1, 1, "Comptable");
        c.methode = QStringLiteral("E");
        Program p({c, sample(2, 2, "Juriste")});
        const QByteArray before = p.record(0);
        p.open(1);
        QVERIFY(p.editor()->isOpen());
        QVERIFY(!p.f()->page()->StringGrid1->isVisible());
        QVERIFY(p.f()->page()->Panel_Candidatures->isVisible() &&
                !p.f()->page()->Panel_Assistant->isVisible());
        QVERIFY(!p.frame->MenuAffichage->menuAction()->isVisible());
        QCOMPARE(p.f()->Panel_Application->y(), p.f()->page()->Panel_Candidatures->height() + 85);
        QCOMPARE(p.z()->nom_soc->text(), QStringLiteral("ACME & Fils")); // shown as typed
        QCOMPARE(p.z()->cpville->text(), QStringLiteral("69001 Lyon"));
        QCOMPARE(p.z()->tel->text(), QStringLiteral("Tél:  / 04 11 22 33 44"));
        QCOMPARE(p.z()->fax->text(), QString());
        QCOMPARE(p.z()->Edit_intitule->text(), QStringLiteral("Comptable"));
        QVERIFY(p.z()->RadioMethodeEmail->isChecked());
        QVERIFY(!p.z()->Ctsupprimer->isEnabled());
        QCOMPARE(p.z()->Ctajout->text(), p.frame->language().text(170));
        QCOMPARE(p.z()->Label_RDV->text(), p.frame->language().text(191));
        QVERIFY(p.z()->CheckBoxAlerte->isHidden());
        QVERIFY(p.f()->state().CandidatureModifiee && p.f()->state().RafraichirListing);
        // Leaving untouched writes the same record back and rebuilds the listing.
        p.editor()->lien_RetourListingClick();
        QVERIFY(!p.editor()->isOpen());
        QVERIFY(p.f()->page()->StringGrid1->isVisible());
        QVERIFY(p.frame->MenuAffichage->menuAction()->isVisible());
        QCOMPARE(p.record(0), before);
        QCOMPARE(p.messages.count(), 0);
    }

    void editsAreSavedAndAnEmptyTitleIsRefused()
    {
        Program p({sample(1, 1, "Comptable"), sample(2, 1, "Juriste")});
        p.open(2);
        p.z()->Edit_intitule->clear();
        p.editor()->lien_RetourListingClick();
        QVERIFY(p.editor()->isOpen()); // stays
        QCOMPARE(p.messages.texts(), QStringList(p.frame->language().text(224) + "."));
        QCOMPARE(p.stored(1).intitule.text(), QStringLiteral("Juriste"));

        p.z()->Edit_intitule->setText(QStringLiteral("Juriste d'affaires"));
        p.z()->RadioTypeSpontane->setChecked(true);
        p.z()->RadioMethodePapier->setChecked(true);
        p.z()->CheckBox1->setChecked(true);
        p.z()->ListeSources->setEditText(QStringLiteral("apec"));
        p.editor()->lien_RetourListingClick();
        QVERIFY(!p.editor()->isOpen());
        TCandidatureRec onDisk;
        std::memcpy(&onDisk, p.record(1).constData(), 1644);
        QCOMPARE(onDisk.intitule.text(), QStringLiteral("Juriste d'affaires"));
        QCOMPARE(onDisk.type.text(), QStringLiteral("S"));
        QCOMPARE(onDisk.methode.text(), QStringLiteral("P"));
        QCOMPARE(int(onDisk.terminee), 1);
        QCOMPARE(onDisk.source.text(), QStringLiteral("apec"));
        QCOMPARE(onDisk.date.text(), QStringLiteral("20260110")); // untouched by the save
        // A source differing only in letter case is a new one; the list stays sorted.
        QCOMPARE(p.editor()->sources(), QStringList({"APEC", "apec"}));
        p.open(1);
        p.z()->ListeSources->setEditText(QStringLiteral("Indeed"));
        p.editor()->SauveCandidature();
        QCOMPARE(p.editor()->sources(), QStringList({"APEC", "apec", "Indeed"}));
        // Text the data file cannot hold is refused before anything is written.
        p.z()->Edit_intitule->setText(QStringLiteral("Ingénieur 日本"));
        QVERIFY(!p.editor()->SauveCandidature());
        QCOMPARE(p.stored(0).intitule.text(), QStringLiteral("Comptable"));
    }

    void notesLiveInTheirFileWhileNotEmpty()
    {
        Program p({sample(7, 1, "Comptable")});
        const QString notes = p.dir.filePath("txt/BN_7.txt");
        p.open(7);
        p.z()->BlocNotes->setPlainText(QStringLiteral("Appeler M. Dupré\nlundi"));
        p.editor()->lien_RetourListingClick();
        QCOMPARE(readBytes(notes), QByteArray("Appeler M. Dupr\xE9\r\nlundi\r\n"));
        p.open(7);
        QCOMPARE(p.z()->BlocNotes->toPlainText(), QStringLiteral("Appeler M. Dupré\nlundi"));
        p.z()->BlocNotes->clear();
        p.editor()->lien_RetourListingClick();
        QVERIFY(!QFile::exists(notes));
    }

    void notesTheUserDidNotChangeStayByteForByte()
    {
        Program p({sample(1, 1, "Comptable"), sample(2, 1, "Juriste")});
        // A non-breaking space, a lone CR, a lone LF and bytes of a binary file.
        const char raw[] = "Appeler\xA0lundi\rpuis\nmardi\0\x81\xFF\x01"
                           "fin";
        const QByteArray odd(raw, sizeof raw - 1);
        const QString notes = p.dir.filePath("txt/BN_1.txt");
        writeBytes(notes, odd);
        p.open(1);
        QVERIFY(p.z()->BlocNotes->toPlainText().startsWith(QStringLiteral("Appeler")));
        p.z()->Edit_intitule->setText(QStringLiteral("Comptable senior"));
        p.editor()->lien_RetourListingClick();
        QVERIFY(!p.editor()->isOpen());
        QCOMPARE(p.stored(0).intitule.text(), QStringLiteral("Comptable senior"));
        QCOMPARE(readBytes(notes), odd);
        // Notes the user changes are written.
        p.open(1);
        p.z()->BlocNotes->setPlainText(QStringLiteral("Relancer"));
        p.editor()->lien_RetourListingClick();
        QCOMPARE(readBytes(notes), QByteArray("Relancer\r\n"));
        QCOMPARE(p.messages.count(), 0);
    }

    void aHugeNotesFileOpensAtOnceCutAndReadOnly()
    {
        Program p({sample(1, 1, "Comptable")});
        const QString notes = p.dir.filePath("txt/BN_1.txt");
        QByteArray line("Relancer le service du personnel la semaine prochaine.\r\n");
        QByteArray big;
        big.reserve(60 << 20);
        while (big.size() < (60 << 20))
            big += line;
        writeBytes(notes, big);
        QElapsedTimer clock;
        clock.start();
        p.open(1);
        QApplication::processEvents();
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed) + " ms"));
        QVERIFY(p.z()->BlocNotes->isReadOnly());
        const QString shown = p.z()->BlocNotes->toPlainText();
        QVERIFY(shown.startsWith(QStringLiteral("Relancer le service")));
        QVERIFY(shown.size() < 2 * ApplicationEditor::NotesShownMax);
        QVERIFY(shown.contains(QStringLiteral("fait 60 Mo")));
        p.editor()->lien_RetourListingClick();
        QVERIFY(!p.editor()->isOpen());
        QCOMPARE(QFileInfo(notes).size(), big.size());
        QVERIFY(readBytes(notes) == big);
        // The next application opened may be typed in again.
        p.open(1);
        QVERIFY(p.z()->BlocNotes->isReadOnly());
        writeBytes(notes, "court\r\n");
        p.editor()->lien_RetourListingClick();
        p.open(1);
        QVERIFY(!p.z()->BlocNotes->isReadOnly());
        QCOMPARE(p.messages.count(), 0);
    }

    void alarmDaysAndAppointment()
    {
        TCandidatureRec c = sample(1, 1, "Comptable");
        c.date_rdv = QStringLiteral("20260301");
        Program p({c});
        p.open(1);
        QVERIFY(p.z()->CheckBoxAlerte->isVisible());
        QVERIFY(!p.z()->ComboAlerteRDV->isEnabled());
        p.z()->CheckBoxAlerte->setChecked(true);
        QVERIFY(p.z()->ComboAlerteRDV->isEnabled());
        p.z()->ComboAlerteRDV->setCurrentIndex(6);
        p.editor()->SauveCandidature();
        QCOMPARE(p.stored(0).alerte.text(), QStringLiteral("7"));
        p.open(1);
        QCOMPARE(p.z()->ComboAlerteRDV->currentIndex(), 6);
        QVERIFY(p.z()->CheckBoxAlerte->isChecked());

        // Clearing the appointment clears the alarm with it, on disk too.
        p.editor()->RDVsupprimerClick();
        QVERIFY(p.stored(0).date_rdv.isEmpty() && p.stored(0).alerte.isEmpty());
        QCOMPARE(p.record(0).mid(1626, 1), QByteArray(1, '\0'));
        QVERIFY(!p.z()->RDVsupprimer->isEnabled());

        // "Définir": the calendar opens on today and its closing sets the date.
        dialogs::setExecHook([](QDialog& d) {
            d.show();
            d.close(); // the window's close button
            return int(QDialog::Rejected);
        });
        p.editor()->DefinirDateClick();
        const QString today = QDate::currentDate().toString("yyyyMMdd");
        QCOMPARE(p.stored(0).date_rdv.text(), today);
        QCOMPARE(p.z()->Label_RDV->text(),
                 p.frame->language().text(192) + " " + QDate::currentDate().toString("dd/MM/yyyy"));
        QVERIFY(p.z()->CheckBoxAlerte->isVisible() && !p.z()->CheckBoxAlerte->isChecked());
    }

    void companyFiguresUseTheCountingRules()
    {
        TCandidatureRec a = sample(1, 1, "A"), b = sample(2, 1, "B"), c = sample(3, 1, "C");
        b.suite = QStringLiteral("<TEXTE>");
        b.date_suite = QStringLiteral("20260113");
        c.date_rdv = QStringLiteral("20260120");
        Program p({a, b, c, sample(4, 2, "Ailleurs")});
        p.open(2);
        const LanguageModule& lang = p.frame->language();
        QCOMPARE(p.z()->NbCandidatures->text(), lang.text(119) + ": 3");
        QCOMPARE(p.z()->NbReponses->text(), lang.text(196) + ": 1 (Taux: 33,33%)");
        QCOMPARE(p.z()->NbEntretiens->text(),
                 lang.text(198) + ": 1 (" + lang.text(200) + ": 33,33%)");
        QCOMPARE(p.z()->NbTempsMoyen->text(), lang.text(201) + ": 6,5 " + lang.text(203));
        p.open(4);
        QCOMPARE(p.z()->NbCandidatures->text(), lang.text(108) + ": 1");
        QCOMPARE(p.z()->NbTempsMoyen->text(), lang.text(204));

        // The English module sets English texts, not the user's number
        // format: the session here is French, and so are the numbers.
        QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        p.open(2);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        QCOMPARE(p.z()->NbReponses->text(), lang.text(196) + ": 1 (Taux: 33,33%)");
        QCOMPARE(p.z()->NbTempsMoyen->text(), lang.text(201) + ": 6,5 " + lang.text(203));
    }

    void contactShownAndUnlinked()
    {
        TCandidatureRec c = sample(1, 1, "Comptable");
        c.id_contact = 5;
        TContactRec k = makeContact(5, 1, "Durand");
        k.civilite = QStringLiteral("Mme");
        k.email = QStringLiteral("durand@acme.fr");
        k.gsm = QStringLiteral("06 00 00 00 00");
        Program p({c}, {k});
        p.open(1);
        QCOMPARE(p.z()->Ctnom->text(), QStringLiteral("Mme Durand"));
        QCOMPARE(p.z()->Cttel->text(), QString()); // no number, no prefix
        QCOMPARE(p.z()->Ctportable->text(), p.frame->language().text(184) + " 06 00 00 00 00");
        QCOMPARE(p.z()->Ctajout->text(), p.frame->language().text(171));
        QVERIFY(p.z()->Ctsupprimer->isEnabled());

        // A click on the address opens a compose window addressed to the contact.
        QStringList args;
        p.f()->EnvoiMail().setRunner([&](const QString&, const QStringList& a) {
            args = a;
            return mail::ProcessOutcome{mail::ProcessOutcome::Finished, 0};
        });
        p.editor()->CtemailClick();
        QVERIFY(args.join(' ').contains("durand@acme.fr"));
        QCOMPARE(p.messages.count(), 0);

        p.editor()->CtsupprimerClick();
        QCOMPARE(qint32(p.stored(0).id_contact), 0);
        TCandidatureRec onDisk;
        std::memcpy(&onDisk, p.record(0).constData(), 1644);
        QCOMPARE(qint32(onDisk.id_contact), 0);
        QCOMPARE(p.z()->Ctnom->text(), QString());
        QVERIFY(!p.z()->Ctsupprimer->isEnabled());
        QCOMPARE(p.f()->store().Contacts.size(), 1); // the person stays in the directory
    }

    void deletionTakesTheApplicationsOwnFilesOnly()
    {
        Program* pp = nullptr;
        TCandidatureRec c = sample(2, 1, "Comptable");
        c.cv = QStringLiteral("<TEXTE>");
        Program p({sample(1, 1, "Reste"), c});
        pp = &p;
        const QString userFile = p.dir.filePath("mon_offre.pdf");
        writeBytes(userFile, "%PDF user");
        const QString imported = p.dir.filePath("Import/20260110_101500.pdf");
        writeBytes(imported, "%PDF web");
        TCandidatureRec withDocs = p.stored(1);
        withDocs.offre = userFile;
        withDocs.lettre = imported;
        QVERIFY(p.f()->store().UpdateCandidature(1, withDocs).ok);
        writeBytes(p.dir.filePath("txt/CV_2.txt"), "texte\r\n");
        writeBytes(p.dir.filePath("txt/BN_2.txt"), "notes\r\n");
        const QByteArray before = readBytes(p.dir.filePath("candidatures.dat"));

        p.open(2);
        p.messages.answers = {false};
        p.editor()->lien_SupprimerCandidatureClick(); // No: nothing changes
        QVERIFY(p.editor()->isOpen());
        QCOMPARE(readBytes(p.dir.filePath("candidatures.dat")), before);

        p.messages.answers = {true};
        p.editor()->lien_SupprimerCandidatureClick();
        QVERIFY(!p.editor()->isOpen());
        QCOMPARE(readBytes(p.dir.filePath("backup/candidatures.dat")), before);
        QCOMPARE(readBytes(p.dir.filePath("candidatures.dat")), before.left(1644));
        QCOMPARE(p.f()->store().Candidatures.size(), 1);
        QVERIFY(!QFile::exists(p.dir.filePath("txt/CV_2.txt")));
        QVERIFY(!QFile::exists(p.dir.filePath("txt/BN_2.txt")));
        QVERIFY(!QFile::exists(imported));
        QVERIFY(QFile::exists(userFile));
        QCOMPARE(p.frame->StatusBar1->text(),
                 QStringLiteral("1 candidature en cours - 0 candidature terminée"));
        QCOMPARE(p.f()->page()->StringGrid1->selectedRow(), -1);
        Q_UNUSED(pp);
    }

    void aSafetyCopyThatCannotBeMadeDeletesNothing()
    {
        Program p({sample(1, 1, "Comptable")});
        const QByteArray before = readBytes(p.dir.filePath("candidatures.dat"));
        QDir(p.dir.path()).rmdir("backup");
        writeBytes(p.dir.filePath("backup"), "a file where the folder should be");
        p.open(1);
        p.messages.answers = {true};
        p.editor()->lien_SupprimerCandidatureClick();
        QVERIFY(p.editor()->isOpen());
        QCOMPARE(readBytes(p.dir.filePath("candidatures.dat")), before);
        QCOMPARE(p.f()->store().Candidatures.size(), 1);
        QCOMPARE(p.messages.count(), 2); // the question, then the failed copy
        QVERIFY(p.messages.shown[1].text.startsWith(p.frame->language().text(223)));
    }

    // The open application cannot be written: one message, whole, and the
    // program stays open on the edit.
    void closingKeepsTheEditWhenItCannotBeWritten()
    {
        auto p = std::make_unique<Program>(QList<TCandidatureRec>{sample(1, 1, "Comptable")});
        p->open(1);
        p->z()->Edit_intitule->setText(QStringLiteral("Comptable senior"));
        p->z()->BlocNotes->setPlainText(QStringLiteral("Rappeler lundi"));
        QFile::remove(p->dir.filePath("candidatures.dat"));
        QDir(p->dir.path()).mkdir("candidatures.dat");
        QDir(p->dir.path()).rmdir("txt");
        writeBytes(p->dir.filePath("txt"), "a file where the folder should be");
        QVERIFY(!p->frame->close());
        QCOMPARE(p->messages.count(), 1);
        QVERIFY2(p->messages.shown[0].text.contains(QStringLiteral("candidatures.dat")),
                 qPrintable(p->messages.shown[0].text));
        QVERIFY(p->editor()->isOpen());
        QCOMPARE(p->z()->Edit_intitule->text(), QStringLiteral("Comptable senior"));
        QVERIFY(p->f()->state().CandidatureModifiee);
    }

    void closingTheProgramSavesTheOpenApplication()
    {
        auto p = std::make_unique<Program>(QList<TCandidatureRec>{sample(1, 1, "Comptable")});
        p->open(1);
        p->z()->Edit_intitule->setText(QStringLiteral("Comptable senior"));
        QVERIFY(p->frame->close());
        TCandidatureRec onDisk;
        std::memcpy(&onDisk, p->record(0).constData(), 1644);
        QCOMPARE(onDisk.intitule.text(), QStringLiteral("Comptable senior"));
    }

    void anApplicationThatCannotBeSavedKeepsTheProgramOpen()
    {
        auto p = std::make_unique<Program>(QList<TCandidatureRec>{sample(1, 1, "Comptable")});
        const QByteArray before = p->applications();
        p->open(1);
        p->z()->BlocNotes->setPlainText(QStringLiteral("Rappeler lundi"));
        p->z()->Edit_intitule->clear();
        QVERIFY(!p->frame->close());
        QVERIFY(p->frame->isVisible());
        QVERIFY(p->editor()->isOpen());
        QCOMPARE(p->z()->BlocNotes->toPlainText(), QStringLiteral("Rappeler lundi"));
        QCOMPARE(p->messages.texts(), QStringList{p->frame->language().text(224) + "."});
        QCOMPARE(p->applications(), before);

        // With a title the close goes through and writes everything.
        p->z()->Edit_intitule->setText(QStringLiteral("Comptable senior"));
        QVERIFY(p->frame->close());
        QCOMPARE(p->onDisk(0).intitule.text(), QStringLiteral("Comptable senior"));
        QCOMPARE(readBytes(p->dir.filePath("txt/BN_1.txt")), QByteArray("Rappeler lundi\r\n"));
    }

    void theEditorsGroupsAreLaidOutWithoutClippingOrGaps()
    {
        TCandidatureRec c = sample(1, 1, "Comptable");
        c.date_rdv = QStringLiteral("20260120");
        c.alerte = QStringLiteral("2");
        Program p({c});
        p.frame->resize(1020, 720);
        p.open(1);
        QVERIFY(QTest::qWaitForWindowExposed(p.frame.get()));
        QApplication::processEvents();
        const ZoneCandidature* z = p.z();
        QVERIFY(z->CheckBoxAlerte->isVisible());
        QVERIFY(z->CheckBoxAlerte->width() >= z->CheckBoxAlerte->sizeHint().width());
        // The reply slots are as tall as the slots above them.
        QCOMPARE(z->docs[3].group->height(), z->docs[0].group->height());
        QCOMPARE(z->docs[4].group->height(), z->docs[1].group->height());
        QCOMPARE(z->docs[3].group->y() - z->docs[0].group->geometry().bottom(),
                 z->docs[0].group->y() - z->GroupType->geometry().bottom());
        // The "finished" box does not touch its caption.
        QVERIFY(z->Label_TerminerCandidature->x() - z->CheckBox1->geometry().right() >= 4);
    }

    void theReportIsPreviewedAndSavedAsPdfAfterTheApplication()
    {
        Program p({sample(1, 1, "Comptable")});
        QDir(p.dir.path()).mkdir("Reports");
        QVERIFY(QFile::copy(QStringLiteral(RESOURCES_DIR "/Reports/Candidature.frf"),
                            p.dir.filePath("Reports/Candidature.frf")));
        writeBytes(p.dir.filePath("txt/BN_1.txt"),
                   QByteArray("Une ligne de notes\r\n").repeated(400));
        p.open(1);
        for (const char* link : {"lien_apercuRapport", "lien_printRapport", "lien_saveRapport"})
            QVERIFY(child<LinkLabel>(p.f(), link)->isEnabled());

        // The preview opens on one whole page and paints only what is in sight.
        int painted = -1;
        bool whole = false;
        p.answers["ReportPreview"] = [&](QDialog& d) {
            auto& preview = static_cast<report::ReportPreview&>(d);
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            QApplication::processEvents();
            whole = qAbs(preview.zoom() - preview.wholePageZoom()) < 1e-6;
            painted = preview.paintedPages();
        };
        p.editor()->lien_apercuRapportClick();
        QVERIFY(whole);
        QVERIFY(painted >= 1 && painted <= 2);

        // Saving asks for the file first, then writes the application, then the report.
        const QString pdf = p.dir.filePath("rapport");
        QString asked;
        dialogs::setFileHook([&](const QString& title) {
            asked = title;
            return pdf;
        });
        p.z()->Edit_intitule->setText(QStringLiteral("Comptable senior"));
        p.editor()->lien_saveRapportClick();
        dialogs::setFileHook({});
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(p.onDisk(0).intitule.text(), QStringLiteral("Comptable senior"));
        const QByteArray bytes = readBytes(pdf + ".pdf");
        QVERIFY(bytes.startsWith("%PDF"));
        // 400 lines of notes go over further pages.
        QVERIFY(bytes.count("/Type /Page") - bytes.count("/Type /Pages") >= 2);

        // An application that cannot be saved gives no report.
        QFile::remove(pdf + ".pdf");
        p.z()->Edit_intitule->clear();
        dialogs::setFileHook([&](const QString&) { return pdf + ".pdf"; });
        p.editor()->lien_saveRapportClick();
        dialogs::setFileHook({});
        QVERIFY(!QFile::exists(pdf + ".pdf"));
        QCOMPARE(p.messages.count(), 1);
    }

    void aFailedRewriteEndsTheProgramThroughItsEventLoop()
    {
        Program p({sample(1, 1, "Comptable")});
        // The end asked from a dialog's own loop leaves that loop and the
        // program's, with the failure code; nothing exits under the caller.
        QEventLoop dialogLoop;
        QTimer::singleShot(0, p.f(), [&p] { p.f()->state().requestEnd(); });
        QCOMPARE(dialogLoop.exec(), EXIT_FAILURE);
        QVERIFY(p.f()->loader() == nullptr); // the workers were stopped first
        // Closing now writes nothing more and asks nothing.
        p.open(1);
        p.z()->Edit_intitule->clear();
        p.messages.clear();
        QVERIFY(p.frame->close());
        QCOMPARE(p.messages.count(), 0);
    }

    void destroyingTheWindowsNeitherSavesNorShowsAnything()
    {
        Program p({sample(1, 1, "Comptable")});
        const QByteArray before = p.applications();
        p.open(1);
        p.z()->Edit_intitule->clear();
        p.frame.reset();
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(p.applications(), before);
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
