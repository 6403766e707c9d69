#include "applications/editor.h"

#include "applications/applicationspage.h"
#include "applications/deletion.h"
#include "applications/documents.h"
#include "applications/editorview.h"
#include "applications/formlierdoc.h"
#include "applications/formvoir.h"
#include "platform/busycursor.h"
#include "platform/cutstring.h"
#include "platform/dialogs.h"
#include "platform/frameservices.h"
#include "platform/mailsender.h"
#include "platform/messages.h"
#include "platform/panels.h"
#include "platform/pictures.h"
#include "platform/report/output.h"
#include "platform/report/pdf.h"
#include "platform/report/prepare.h"
#include "platform/report/templatereader.h"
#include "platform/showresult.h"
#include "reports/applicationreport.h"
#include "reports/calendrier.h"
#include "reports/reportwindows.h"
#include "reports/statistics.h"
#include "store/cp1252.h"
#include "store/helpers.h"
#include "store/programstate.h"
#include "store/systemerror.h"
#include "store/tables.h"
#include "store/texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

ApplicationEditor::ApplicationEditor(ApplicationsPage& page, ProgramState& state,
                                     FrameServices& frame, MailSender& mail)
    : QObject(&page), page_(page), s_(state), frame_(frame), mail_(mail), z_(page.Zone)
{
    auto modified = [this] { s_.CandidatureModifiee = true; };
    auto modifiedAndListing = [this] {
        s_.CandidatureModifiee = true;
        s_.RafraichirListing = true;
    };
    connect(z_->Edit_intitule, &QLineEdit::textChanged, this, modifiedAndListing);
    connect(z_->ComboAlerteRDV, &QComboBox::currentIndexChanged, this, modifiedAndListing);
    connect(z_->CheckBoxAlerte, &QCheckBox::toggled, this, [this, modifiedAndListing] {
        CheckBoxAlerteClick();
        modifiedAndListing();
    });
    connect(z_->BlocNotes, &QPlainTextEdit::textChanged, this, [this] {
        s_.CandidatureModifiee = true;
        if (!settingNotes_) notesChanged_ = true;
    });
    for (QRadioButton* r : {z_->RadioTypeReponse, z_->RadioTypeSpontane, z_->RadioMethodeInternet,
                            z_->RadioMethodeEmail, z_->RadioMethodePapier})
        connect(r, &QRadioButton::toggled, this, [modified](bool on) {
            if (on) modified();
        });
    connect(z_->DefinirDate, &QPushButton::clicked, this, &ApplicationEditor::DefinirDateClick);
    connect(z_->RDVsupprimer, &QPushButton::clicked, this, &ApplicationEditor::RDVsupprimerClick);
    connect(z_->Ctajout, &QPushButton::clicked, this, &ApplicationEditor::CtajoutClick);
    connect(z_->Ctsupprimer, &QPushButton::clicked, this, &ApplicationEditor::CtsupprimerClick);
    connect(z_->Ctemail, &LinkLabel::clicked, this, &ApplicationEditor::CtemailClick);
    for (int i = 0; i < 5; ++i) {
        connect(z_->docs[i].voir, &QPushButton::clicked, this, [this, i] { voirClick(i); });
        connect(z_->docs[i].ajout, &QPushButton::clicked, this, [this, i] { ajoutClick(i); });
        connect(z_->docs[i].supprimer, &QPushButton::clicked, this,
                [this, i] { supprimerClick(i); });
    }
    connect(page.lien_RetourListing, &LinkLabel::clicked, this,
            &ApplicationEditor::lien_RetourListingClick);
    connect(page.lien_apercuRapport, &LinkLabel::clicked, this,
            &ApplicationEditor::lien_apercuRapportClick);
    connect(page.lien_printRapport, &LinkLabel::clicked, this,
            &ApplicationEditor::lien_printRapportClick);
    connect(page.lien_saveRapport, &LinkLabel::clicked, this,
            &ApplicationEditor::lien_saveRapportClick);
    connect(page.lien_SupprimerCandidature, &LinkLabel::clicked, this,
            &ApplicationEditor::lien_SupprimerCandidatureClick);
}

bool ApplicationEditor::isOpen() const
{
    return page_.editorShown();
}

void ApplicationEditor::SetLang()
{
    z_->SetLang();
}

const TCandidatureRec* ApplicationEditor::current(int* position) const
{
    const QList<TCandidatureRec>& apps = s_.store().Candidatures;
    const int i = s_.chosenCandidature();
    if (position) *position = i;
    return i < 0 ? nullptr : &apps[i];
}

QString ApplicationEditor::notesPath(qint32 id) const
{
    return s_.store().path(QStringLiteral("txt/BN_%1.txt").arg(id));
}

// ---- Sources ---------------------------------------------------------------------

void ApplicationEditor::clearSources()
{
    z_->ListeSources->clear();
}

void ApplicationEditor::setSources(const QStringList& sources)
{
    QStringList sorted = sources;
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(sorted.begin(), sorted.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    const QString text = z_->ListeSources->currentText();
    z_->ListeSources->clear();
    z_->ListeSources->addItems(sorted);
    z_->ListeSources->setEditText(text);
}

QStringList ApplicationEditor::sources() const
{
    QStringList s;
    for (int i = 0; i < z_->ListeSources->count(); ++i)
        s.append(z_->ListeSources->itemText(i));
    return s;
}

void ApplicationEditor::addSource(const QString& source)
{
    if (source.isEmpty()) return;
    QStringList s = sources();
    if (s.contains(source, Qt::CaseSensitive)) return;
    s.append(source);
    setSources(s);
}

// ---- Opening ----------------------------------------------------------------------

void ApplicationEditor::ResetCandidature()
{
    for (QLabel* l : {z_->nom_soc, z_->addra, z_->addrb, z_->bp, z_->cpville, z_->pays, z_->tel,
                      z_->fax, z_->Ctnom, z_->Ctfonction, z_->Cttel, z_->Ctfax, z_->Ctportable})
        l->clear();
    z_->Ctemail->setCaption(QString());
    z_->Edit_intitule->clear();
    setNotesText(QString());
    z_->BlocNotes->setReadOnly(false);
}

void ApplicationEditor::setNotesText(const QString& text)
{
    settingNotes_ = true;
    z_->BlocNotes->setPlainText(text);
    settingNotes_ = false;
    notesChanged_ = false;
}

void ApplicationEditor::showNotes(qint32 id)
{
    const QString notes = notesPath(id);
    const QFileInfo info(notes);
    if (!info.exists()) return;
    // A file this long would hold the window for seconds: its start is shown,
    // and it stays as it is.
    const bool cut = info.size() > NotesShownMax;
    QString text, error;
    if (!readTextFile(notes, &text, &error, cut ? NotesShownMax : -1)) {
        msg::error(QStringLiteral("Impossible de lire le bloc-notes ") + notes + CR + CR + error);
        return;
    }
    if (cut) {
        text += QStringLiteral("\n\n[...] Ce bloc-notes fait %1 Mo : seul son premier Mo est "
                               "affiché, en lecture seule. Le fichier %2 reste tel quel.")
                    .arg(info.size() >> 20)
                    .arg(QDir::toNativeSeparators(notes));
        z_->BlocNotes->setReadOnly(true);
    }
    setNotesText(text);
}

void ApplicationEditor::closeContactWindows()
{
    emit contactWindowsClosing();
}

void ApplicationEditor::StringGrid1DblClick()
{
    emit aboutToOpen();
    frame_.setSortMenuVisible(false);
    s_.MenuAffichageVisible = false;
    if (s_.CandidatureModifiee) SauveCandidature();
    s_.CandidatureModifiee = false;
    if (s_.IdCandidature == 0) return;

    std::optional<BusyCursor> busy(std::in_place);
    ResetCandidature();
    const TCandidatureRec* found = current();
    const TCandidatureRec c = found ? *found : TCandidatureRec{};
    s_.IdSociete = c.id_societe;
    showCompany(c.id_societe);
    showContact(c.id_contact);
    showDocuments(c);

    z_->Edit_intitule->setText(c.intitule.text());
    z_->ListeSources->setEditText(c.source.text());
    showNotes(c.id);
    showAppointment(c);
    z_->CheckBox1->setChecked(c.terminee);
    if (c.type.equals("R"))
        z_->RadioTypeReponse->setChecked(true);
    else if (c.type.equals("S"))
        z_->RadioTypeSpontane->setChecked(true);
    if (c.methode.equals("I"))
        z_->RadioMethodeInternet->setChecked(true);
    else if (c.methode.equals("P"))
        z_->RadioMethodePapier->setChecked(true);
    else if (c.methode.equals("E"))
        z_->RadioMethodeEmail->setChecked(true);
    // An application just opened counts as changed: leaving always saves it.
    s_.CandidatureModifiee = true;
    s_.RafraichirListing = true;
    showFigures();

    page_.showEditor(true);
    busy.reset();
    frame_.placePanels();
}

void ApplicationEditor::showCompany(qint32 societeId)
{
    const QList<TSocieteRec>& socs = s_.store().Societes;
    const int i = findById(socs, societeId);
    if (i < 0) return;
    const TSocieteRec* s = &socs[i];
    z_->nom_soc->setText(CutString(z_->nom_soc->font(), s->nom.text(), 280));
    z_->addra->setText(s->adresse_a.text());
    z_->addrb->setText(s->adresse_b.text());
    z_->bp->setText(s->bp.isEmpty() ? QString() : QStringLiteral("BP ") + s->bp.text());
    z_->cpville->setText(s->cp.text() + QLatin1Char(' ') + s->ville.text());
    z_->pays->setText(s->pays.text());
    auto numbers = [](const char* prefix, const QString& a, const QString& b) {
        if (a.isEmpty() && b.isEmpty()) return QString();
        return QString::fromUtf8(prefix) + a +
               (b.isEmpty() ? QString() : QStringLiteral(" / ") + b);
    };
    z_->tel->setText(numbers("Tél: ", s->tela.text(), s->telb.text()));
    z_->fax->setText(numbers("Fax: ", s->faxa.text(), s->faxb.text()));
}

void ApplicationEditor::showContact(qint32 contactId)
{
    const QList<TContactRec>& contacts = s_.store().Contacts;
    const int i = contactId > 0 ? findById(contacts, contactId) : -1;
    const TContactRec* k = i < 0 ? nullptr : &contacts[i];
    if (k) {
        z_->Ctnom->setText(k->civilite.text() + QLatin1Char(' ') + k->nom.text());
        z_->Ctfonction->setText(k->fonction.text());
        z_->Ctemail->setCaption(k->email.text());
        auto prefixed = [](int id, const QString& v) {
            return v.isEmpty() ? QString() : GetTxt(id) + QLatin1Char(' ') + v;
        };
        z_->Cttel->setText(prefixed(182, k->tel.text()));
        z_->Ctfax->setText(prefixed(183, k->fax.text()));
        z_->Ctportable->setText(prefixed(184, k->gsm.text()));
    }
    const bool linked = k && !k->nom.isEmpty();
    z_->Ctajout->setText(GetTxt(linked ? 171 : 170));
    z_->Ctsupprimer->setEnabled(linked);
}

void ApplicationEditor::showDocuments(const TCandidatureRec& c)
{
    z_->docs[0].date->setText(GetTxt(185) + QLatin1Char(' ') + SQL2Date(c.date.text()));
    for (int i = 0; i < 5; ++i) {
        const auto slot = DocSlot(i);
        const DocSlotInfo& info = slotInfo(slot);
        const DocumentSlotBox& box = z_->docs[i];
        const QString value = pathField(c, slot).text();
        const bool linked = !value.isEmpty();
        box.light->setPixmap(linked ? pictures::Img_VoyantVert() : pictures::Img_VoyantRouge());
        box.voir->setEnabled(linked);
        box.supprimer->setEnabled(linked);
        box.ajout->setText(GetTxt(linked ? 171 : 170));
        if (slot != DocSlot::Offre) {
            box.date->setText(linked ? GetTxt(info.datePrefix) + QLatin1Char(' ') +
                                           SQL2Date(dateField(c, slot).text())
                                     : QString());
        }
        box.description->setText(slotDescription(c, slot));
    }
}

void ApplicationEditor::showAppointment(const TCandidatureRec& c)
{
    if (!c.date_rdv.isEmpty()) {
        z_->Label_RDV->setText(GetTxt(192) + QLatin1Char(' ') + SQL2Date(c.date_rdv.text()));
        z_->Img_VoyantRDV->setPixmap(pictures::Img_VoyantVert());
        z_->ComboAlerteRDV->show();
        z_->CheckBoxAlerte->show();
        z_->RDVsupprimer->setEnabled(true);
        if (!c.alerte.isEmpty()) {
            z_->CheckBoxAlerte->setChecked(true);
            bool ok = false;
            const int days = c.alerte.text().toInt(&ok);
            z_->ComboAlerteRDV->setCurrentIndex(ok && days >= 1 && days <= 15 ? days - 1 : 0);
        } else {
            z_->CheckBoxAlerte->setChecked(false);
            z_->ComboAlerteRDV->setCurrentIndex(0);
        }
    } else {
        z_->Label_RDV->setText(GetTxt(191));
        z_->Img_VoyantRDV->setPixmap(pictures::Img_VoyantRouge());
        z_->ComboAlerteRDV->setCurrentIndex(0);
        z_->ComboAlerteRDV->hide();
        z_->CheckBoxAlerte->setChecked(false);
        z_->CheckBoxAlerte->hide();
        z_->RDVsupprimer->setEnabled(false);
    }
    z_->ComboAlerteRDV->setEnabled(z_->CheckBoxAlerte->isChecked());
}

void ApplicationEditor::showFigures()
{
    const QStringList t = companyFigureTexts(companyFigures(s_.store().Candidatures, s_.IdSociete),
                                             QLocale::system());
    QLabel* labels[4] = {z_->NbCandidatures, z_->NbReponses, z_->NbEntretiens, z_->NbTempsMoyen};
    for (int i = 0; i < 4; ++i)
        labels[i]->setText(t.value(i));
}

void ApplicationEditor::CheckBoxAlerteClick()
{
    z_->ComboAlerteRDV->setCurrentIndex(0);
    z_->ComboAlerteRDV->setEnabled(z_->CheckBoxAlerte->isChecked());
}

// ---- Saving and leaving ------------------------------------------------------------

bool ApplicationEditor::SauveCandidature()
{
    if (!s_.CandidatureModifiee) return true;
    const QString title = z_->Edit_intitule->text();
    if (title.isEmpty()) {
        msg::error(GetTxt(224) + QLatin1Char('.'));
        return false;
    }
    const QString source = z_->ListeSources->currentText().left(20);
    // Notes the user did not change stay as their file holds them.
    const bool notesChanged = notesChanged_;
    const QString notes = notesChanged ? z_->BlocNotes->toPlainText() : QString();
    // Text the data files cannot hold is refused before anything is written.
    const QString problem =
        cp1252::unstorableText({{QStringLiteral("Intitulé de la candidature"), title},
                                {QStringLiteral("Source de la candidature"), source},
                                {QStringLiteral("Bloc-notes"), notes}});
    if (!problem.isEmpty()) {
        msg::error(problem);
        return false;
    }
    addSource(source);

    int position = -1;
    if (const TCandidatureRec* found = current(&position)) {
        TCandidatureRec c = *found;
        if (z_->CheckBoxAlerte->isChecked())
            c.alerte = QString::number(z_->ComboAlerteRDV->currentIndex() + 1);
        else
            c.alerte.clear();
        if (z_->RadioTypeReponse->isChecked())
            c.type = QStringLiteral("R");
        else if (z_->RadioTypeSpontane->isChecked())
            c.type = QStringLiteral("S");
        if (z_->RadioMethodeInternet->isChecked())
            c.methode = QStringLiteral("I");
        else if (z_->RadioMethodePapier->isChecked())
            c.methode = QStringLiteral("P");
        else if (z_->RadioMethodeEmail->isChecked())
            c.methode = QStringLiteral("E");
        c.terminee = z_->CheckBox1->isChecked() ? 1 : 0;
        c.intitule = title;
        c.source = source;
        // A record that cannot be written ends the save with its one
        // message: the user stays on the edit and tries again.
        if (!reported(s_.store().UpdateCandidature(position, c))) return false;
        s_.CandidatureModifiee = false;
    }

    Store& store = s_.store();
    const Store::Busy busy(store);
    const QString path = notesPath(s_.IdCandidature);
    if (notesChanged && !notes.isEmpty()) {
        const Result written = writeTextFile(store, path, notes);
        if (!written.ok) {
            msg::error(QStringLiteral("Impossible d'enregistrer le bloc-notes ") + path + CR + CR +
                       written.error);
            s_.CandidatureModifiee = true;
        } else {
            notesChanged_ = false;
        }
    } else if (notesChanged && (!QFileInfo::exists(path) || reported(store.DeleteFichier(path)))) {
        notesChanged_ = false;
    }
    return !s_.CandidatureModifiee;
}

void ApplicationEditor::closeEditor()
{
    page_.showEditor(false);
    frame_.placePanels();
}

void ApplicationEditor::leaveToListing()
{
    s_.MenuAffichageVisible = true;
    frame_.setSortMenuVisible(true);
}

void ApplicationEditor::lien_RetourListingClick()
{
    SauveCandidature();
    closeContactWindows();
    if (s_.CandidatureModifiee) return;
    closeEditor();
    if (s_.RafraichirListing) s_.requestListing();
    leaveToListing();
}

void ApplicationEditor::lien_SupprimerCandidatureClick()
{
    closeContactWindows();
    if (!msg::confirm(GetTxt(213))) return;
    s_.CandidatureModifiee = false;
    const ApplicationDeletion deleted = DelCandidature(s_.store(), s_.chosenCandidature());
    if (deleted.rewrite.outcome != Rewrite::Done) {
        if (!deleted.rewrite.error.isEmpty()) msg::error(deleted.rewrite.error);
        if (deleted.rewrite.outcome == Rewrite::Failed) s_.requestEnd();
        return;
    }
    showErrors(deleted.fileErrors);
    closeEditor();
    s_.RafraichirListing = true;
    s_.requestListing();
    leaveToListing();
}

// ---- Report -----------------------------------------------------------------------------

bool ApplicationEditor::savedForReport()
{
    SauveCandidature();
    return !s_.CandidatureModifiee;
}

report::Report ApplicationEditor::applicationReport() const
{
    EditorCaptions captions;
    for (int i = 0; i < 5; ++i) {
        captions.description[i] = z_->docs[i].description->text();
        captions.date[i] = z_->docs[i].date->text();
    }
    captions.rdv = z_->Label_RDV->text();
    report::Report r;
    r.title = QStringLiteral("Rapport de candidature");
    r.variables = RapportCandidature(s_.store(), s_.IdCandidature, captions, QDate::currentDate(),
                                     s_.PositionCandidature);
    r.pages = report::prepare(
        report::templateOrEmpty(s_.store().path(QStringLiteral("Reports/Candidature.frf"))),
        r.variables);
    return r;
}

void ApplicationEditor::lien_apercuRapportClick()
{
    if (!savedForReport()) return;
    std::optional<BusyCursor> busy(std::in_place);
    const report::Report r = applicationReport();
    busy.reset();
    previewReport(r, &page_);
}

void ApplicationEditor::lien_printRapportClick()
{
    if (!savedForReport()) return;
    std::optional<BusyCursor> busy(std::in_place);
    const report::Report r = applicationReport();
    busy.reset();
    printReportWithDialog(r, &page_);
}

void ApplicationEditor::lien_saveRapportClick()
{
    QString file = dialogs::saveFile(
        &page_, QStringLiteral("Enregistrer le rapport"), QStringLiteral("Fichier PDF (*.pdf)"),
        z_->nom_soc->text() + QStringLiteral(".pdf"), QStringLiteral("pdf"));
    if (file.isEmpty()) return;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) file += QStringLiteral(".pdf");
    if (!savedForReport()) return;
    const BusyCursor busy;
    QString error;
    if (!report::writePdf(applicationReport(), file, QStringLiteral("ORVALDIS"), &error))
        msg::error(QStringLiteral("Impossible d'enregistrer le rapport \"%1\" :").arg(file) + CR +
                   CR + frenchErrorText(error));
}

// ---- Appointment ------------------------------------------------------------------------

void ApplicationEditor::DefinirDateClick()
{
    s_.RafraichirListing = true;
    if (!calendrier_) {
        calendrier_ = new TCalendrier(&page_);
        connect(calendrier_, &TCalendrier::dateChosen, this, [this](const QDate& d) {
            int position = -1;
            const TCandidatureRec* found = current(&position);
            if (!found) return;
            TCandidatureRec c = *found;
            c.date_rdv = d.toString(QStringLiteral("yyyyMMdd"));
            if (reported(s_.store().UpdateCandidature(position, c))) StringGrid1DblClick();
        });
    }
    dialogs::exec(*calendrier_);
}

void ApplicationEditor::RDVsupprimerClick()
{
    int position = -1;
    const TCandidatureRec* found = current(&position);
    if (!found) return;
    TCandidatureRec c = *found;
    c.date_rdv.clear();
    c.alerte.clear();
    if (!reported(s_.store().UpdateCandidature(position, c))) return;
    s_.CandidatureModifiee = true;
    // The reload saves the editor first: with the box still checked, that
    // save would give the cleared appointment its alarm back.
    z_->CheckBoxAlerte->setChecked(false);
    StringGrid1DblClick();
}

// ---- Contact ---------------------------------------------------------------------------------

void ApplicationEditor::CtajoutClick()
{
    emit contactChooserRequested();
}

void ApplicationEditor::CtsupprimerClick()
{
    int position = -1;
    const TCandidatureRec* found = current(&position);
    if (!found) return;
    TCandidatureRec c = *found;
    c.id_contact = 0;
    if (reported(s_.store().UpdateCandidature(position, c))) StringGrid1DblClick();
}

void ApplicationEditor::CtemailClick()
{
    mail_.clear();
    mail_.setTo({z_->Ctemail->caption()});
    mail_.sendAndReport();
}

// ---- Documents ---------------------------------------------------------------------------------

void ApplicationEditor::voirClick(int slot)
{
    const TCandidatureRec* c = current();
    if (!c) return;
    VoirPJ(&page_, s_.store(), DocSlot(slot), pathField(*c, DocSlot(slot)).text(), c->id);
}

void ApplicationEditor::ajoutClick(int slot)
{
    TFormLierDoc dialog(&page_);
    if (dialog.run(s_.store(), s_.IdCandidature, s_.PositionCandidature, DocSlot(slot),
                   s_.RafraichirListing))
        StringGrid1DblClick();
}

void ApplicationEditor::supprimerClick(int slot)
{
    const auto s = DocSlot(slot);
    if (!msg::confirm(GetTxt(slotInfo(s).unlinkQuestion))) return;
    const DocumentResult unlinked =
        unlinkDocument(s_.store(), s_.IdCandidature, s, s_.PositionCandidature);
    reported(unlinked.result);
    showErrors(unlinked.furtherErrors);
    if (!unlinked.result.ok) return;
    z_->docs[slot].description->setText(GetTxt(slotInfo(s).noDocumentText));
    StringGrid1DblClick();
}
