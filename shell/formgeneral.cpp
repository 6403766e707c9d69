#include "shell/formgeneral.h"

#include "applications/applicationspage.h"
#include "applications/choixcontacts.h"
#include "applications/editor.h"
#include "applications/fournisseurs.h"
#include "applications/listingpage.h"
#include "browser/ajoutfavori.h"
#include "browser/associercandidature.h"
#include "browser/html2pdf.h"
#include "browser/importchoice.h"
#include "browser/importercomme.h"
#include "browser/navigateur.h"
#include "directory/ajoutcontact.h"
#include "directory/ajoutfournisseur.h"
#include "directory/directorypage.h"
#include "directory/directoryrules.h"
#include "directory/listecontacts.h"
#include "platform/busycursor.h"
#include "platform/mailsender.h"
#include "platform/messages.h"
#include "platform/panels.h"
#include "platform/pictures.h"
#include "platform/showresult.h"
#include "reports/legende.h"
#include "shell/apropos.h"
#include "shell/mdiparent.h"
#include "shell/personnalisation.h"
#include "store/migration.h"
#include "store/settings.h"
#include "store/texts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <climits>

namespace
{
constexpr int kGap = 85; // the shared panel lies this far below the page's panel
} // namespace

TFormGeneral::TFormGeneral(TMDIParent* frame)
    : QWidget(frame), frame_(frame), state_(new ProgramState(frame->programDir(), this)),
      mail_(std::make_unique<MailSender>())
{
    setObjectName(QStringLiteral("TFormGeneral"));
    state_->store().setUi(this);
}

TFormGeneral::~TFormGeneral()
{
    KillThread();
}

bool TFormGeneral::FormCreate()
{
    Store& store = state_->store();
    showErrors(store.Initialisation());
    BaseCheckDialogue dialogue;
    dialogue.error = msg::error;
    dialogue.information = msg::information;
    dialogue.warningYesNo = msg::warningYesNo;
    dialogue.busy = [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    if (CheckBaseVersion(store, dialogue) == VersionCheck::Stop) return false;

    const BusyCursor busy;
    store.MaxIdSociete = store.MaxIdContact = 0;
    store.table<TSocieteRec>().clear();
    store.table<TContactRec>().clear();
    store.Occupe = false;
    state_->Tri = Readregistry(RegistryKey, QStringLiteral("tri"));
    if (state_->Tri.isEmpty()) state_->Tri = QStringLiteral("d");
    state_->Sens = Readregistry(RegistryKey, QStringLiteral("sens"));

    buildPages();
    connectPages();
    DessinePanels();
    Tabulations->setCurrentIndex(0);
    SetLang();
    return true;
}

void TFormGeneral::startThreads()
{
    loader_ = std::make_unique<TExeThread>(&state_->store(), this, this);
    loader_->start();
}

// ---- Pages -----------------------------------------------------------------

void TFormGeneral::buildPages()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Tabulations = new QTabWidget(this);
    Tabulations->setObjectName(QStringLiteral("Tabulations"));
    layout->addWidget(Tabulations);
    applications_ = new ApplicationsPage;
    directory_ = new DirectoryPage(*state_, *this, *mail_);
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    Tabulations->addTab(applications_, QString());
    Tabulations->addTab(directory_, QString());
    Tabulations->addTab(TabSheet3, QString());
    listing_ = new ListingPage(*applications_, *state_, *this);
    editor_ = new ApplicationEditor(*applications_, *state_, *this, *mail_);

    // One panel for two pages: it lies over the left column of the window.
    Panel_Application = new SidePanel(QStringLiteral("Panel_Application"),
                                      QStringLiteral("Titre_PanelApplication"), this);
    lien_QuitterApplication =
        Panel_Application->addLink(QStringLiteral("lien_QuitterApplication"), QString(), "quit");
    Panel_Application->raise();
}

void TFormGeneral::connectPages()
{
    connect(lien_QuitterApplication, &LinkLabel::clicked, frame_, &QWidget::close);
    connect(Tabulations, &QTabWidget::currentChanged, this, &TFormGeneral::pageChanged);
    connect(applications_, &ApplicationsPage::panelsMoved, this, &TFormGeneral::placePanels);
    connect(directory_, &DirectoryPage::panelsMoved, this, &TFormGeneral::placePanels);

    // The frame's sort menu drives the listing as its popup menu does.
    for (int i = 0; i < 7; ++i)
        connect(frame_->MenuTri[i], &QAction::triggered, listing_,
                [this, i] { listing_->frameSortExecute(i); });
    connect(frame_->MenuCroissant, &QAction::triggered, listing_,
            [this] { listing_->frameDirectionExecute(false); });
    connect(frame_->MenuDecroissant, &QAction::triggered, listing_,
            [this] { listing_->frameDirectionExecute(true); });

    connect(applications_->lien_NouvelleCandidature, &LinkLabel::clicked, this, [this] {
        if (listing_->legende()) listing_->legende()->hide();
        state_->CandidatureModifiee = false;
        fournisseurs()->showWizard();
    });
    connect(listing_, &ListingPage::openRequested, editor_,
            &ApplicationEditor::StringGrid1DblClick);
    connect(editor_, &ApplicationEditor::aboutToOpen, this, [this] {
        if (onScreen(ajoutFournisseur_)) ajoutFournisseur_->close();
        if (onScreen(fournisseurs_)) fournisseurs_->close();
        if (listing_->legende()) listing_->legende()->hide();
    });
    connect(editor_, &ApplicationEditor::contactWindowsClosing, this, [this] {
        if (onScreen(formContacts_)) formContacts_->close();
        if (onScreen(ajoutContact_)) ajoutContact_->close();
    });
    connect(editor_, &ApplicationEditor::contactChooserRequested, this, [this] {
        // The application's company on the applications page, the company
        // shown on the directory page.
        formContacts()->showChooser(Tabulations->currentIndex() == 1 ? state_->IdSocieteAnnuaire
                                                                     : state_->IdSociete);
    });

    connect(directory_, &DirectoryPage::newCompanyRequested, this,
            [this] { ajoutFournisseur()->showAdd(); });
    connect(directory_, &DirectoryPage::contactListRequested, this,
            [this] { listeContacts()->openModal(); });
    connect(directory_, &DirectoryPage::firstContactRequested, this,
            [this] { ajoutContact()->openModal(QString(), state_->IdSocieteAnnuaire); });

    connect(state_, &ProgramState::companiesChanged, this, &TFormGeneral::companiesChanged);
    connect(state_, &ProgramState::contactsChanged, this,
            [this](qint32, const QString& added) { contactsChanged(added); });
    connect(state_, &ProgramState::endRequested, this, &TFormGeneral::endAfterFailure);
}

void TFormGeneral::SetLang()
{
    Panel_Application->title()->setText(GetTxt(100));
    lien_QuitterApplication->setCaption(GetTxt(101));
    applications_->SetLang();
    directory_->SetLang();
    Tabulations->setTabText(0, GetTxt(119));
    Tabulations->setTabText(1, GetTxt(120));
    Tabulations->setTabText(2, GetTxt(121));
    Panel_Application->fitHeight();
    PositionnePanelApplication();
}

void TFormGeneral::DessinePanels()
{
    SidePanel* first = applications_->Panel_Assistant;
    first->setPictures(pictures::panelHeader(first->width()), pictures::panelBody(),
                       pictures::panelFooter(first->width()));
    for (SidePanel* p : {Panel_Application, applications_->Panel_Candidatures,
                         directory_->Panel_Societes, applications_->Panel_Chiffres})
        p->setPictures(first->header(), first->bodyPicture(), first->footer());
}

void TFormGeneral::PositionnePanelApplication()
{
    if (!Panel_Application) return;
    const int page = Tabulations->currentIndex();
    if (page == 2) {
        Panel_Application->hide();
        return;
    }
    const SidePanel* above = page == 1 ? directory_->Panel_Societes : applications_->upperPanel();
    Panel_Application->move(above->mapTo(this, QPoint(0, 0)).x(), above->height() + kGap);
    Panel_Application->show();
    Panel_Application->raise();
}

void TFormGeneral::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    PositionnePanelApplication();
}

void TFormGeneral::pageChanged(int index)
{
    if (page_ == 2 && navigateur_) navigateur_->TabSheet3Hide();
    page_ = index;
    if (index == 0) {
        listing_->TabSheet1Show();
        return;
    }
    if (index == 1) {
        directory_->TabSheet2Show();
        return;
    }
    // The browser is made the first time its page is shown: the web
    // engine costs nothing to a session that does not browse.
    if (!navigateur_) {
        const BusyCursor busy;
        navigateur_ = new TNavigateur(*state_, *this, *html2pdf(), *ajoutFavori(), TabSheet3);
        connect(navigateur_, &TNavigateur::importChoiceRequested, this,
                [this] { importChoice()->openModal(); });
        auto* layout = new QVBoxLayout(TabSheet3);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(navigateur_);
    }
    navigateur_->TabSheet3Show();
    PositionnePanelApplication();
}

// ---- Dialogs and what they change -------------------------------------------------

TFournisseurs* TFormGeneral::fournisseurs()
{
    if (fournisseurs_) return fournisseurs_;
    fournisseurs_ = new TFournisseurs(*state_, this);
    connect(fournisseurs_, &TFournisseurs::activated, this, [this] {
        if (onScreen(ajoutFournisseur_)) ajoutFournisseur_->raise();
    });
    connect(fournisseurs_, &TFournisseurs::newCompanyRequested, this,
            [this] { ajoutFournisseur()->showAdd(); });
    connect(fournisseurs_, &TFournisseurs::applicationCreated, this,
            &TFormGeneral::openCreatedApplication);
    return fournisseurs_;
}

void TFormGeneral::openCreatedApplication(qint32 id)
{
    Tabulations->setCurrentIndex(0);
    if (editor_->isOpen()) editor_->lien_RetourListingClick();
    listing_->AfficheCandidatures();
    // The application just created is the last record of its table.
    state_->chooseCandidature(id, int(state_->store().Candidatures.size()) - 1);
    editor_->StringGrid1DblClick();
}

TFormAjoutFournisseur* TFormGeneral::ajoutFournisseur()
{
    if (!ajoutFournisseur_) ajoutFournisseur_ = new TFormAjoutFournisseur(*state_, this);
    return ajoutFournisseur_;
}

void TFormGeneral::companiesChanged(const QString& added)
{
    if (added.isEmpty()) return;
    if (Tabulations->currentIndex() == 1) directory_->AnnuSelect(groupKeyOf(added));
    if (onScreen(fournisseurs_)) fournisseurs_->fillCompanies(added);
}

TFormContacts* TFormGeneral::formContacts()
{
    if (formContacts_) return formContacts_;
    formContacts_ = new TFormContacts(*state_, this);
    connect(formContacts_, &TFormContacts::activated, this, [this] {
        if (onScreen(ajoutContact_)) ajoutContact_->raise();
    });
    connect(formContacts_, &TFormContacts::addContactRequested, this, [this] {
        ajoutContact()->openModeless(QStringLiteral("Ajout d'un contact"),
                                     formContacts_->company());
    });
    connect(formContacts_, &TFormContacts::contactLinked, this, [this] {
        Tabulations->setCurrentIndex(0);
        editor_->StringGrid1DblClick();
    });
    return formContacts_;
}

TFormAjoutContact* TFormGeneral::ajoutContact()
{
    if (!ajoutContact_) ajoutContact_ = new TFormAjoutContact(*state_, this);
    return ajoutContact_;
}

TFormListeContacts* TFormGeneral::listeContacts()
{
    if (listeContacts_) return listeContacts_;
    listeContacts_ = new TFormListeContacts(*state_, this);
    connect(listeContacts_, &TFormListeContacts::addContactRequested, this, [this] {
        ajoutContact()->openModal(directory_->annuNom() + QStringLiteral(": Ajout d'un contact"),
                                  state_->IdSocieteAnnuaire);
    });
    return listeContacts_;
}

void TFormGeneral::contactsChanged(const QString& added)
{
    // A contact added while another page is shown leaves the directory's
    // button as it is; one deleted was deleted from the directory itself.
    if (added.isEmpty() || Tabulations->currentIndex() == 1) directory_->updateContactsButton();
    if (added.isEmpty()) return;
    if (onScreen(listeContacts_)) listeContacts_->addName(added);
    if (onScreen(formContacts_)) {
        formContacts_->fillContacts();
        formContacts_->activateWindow();
    }
}

TPersonnalisation* TFormGeneral::personnalisation()
{
    if (!personnalisation_) personnalisation_ = new TPersonnalisation(*this);
    return personnalisation_;
}

TAboutBox* TFormGeneral::aboutBox()
{
    if (!aboutBox_) aboutBox_ = new TAboutBox(*this);
    return aboutBox_;
}

THTML2PDF* TFormGeneral::html2pdf()
{
    if (!html2pdf_) html2pdf_ = new THTML2PDF(*state_, this);
    return html2pdf_;
}

TAjoutFavori* TFormGeneral::ajoutFavori()
{
    if (!ajoutFavori_) ajoutFavori_ = new TAjoutFavori(*state_, this);
    return ajoutFavori_;
}

TImportChoice* TFormGeneral::importChoice()
{
    if (importChoice_) return importChoice_;
    auto* importerComme = new TImporterComme(*state_, this);
    auto* associer = new TAssocierCandidature(*state_, *importerComme, this);
    importChoice_ = new TImportChoice(*state_, *associer, *importerComme, this);
    // A new application: the wizard creates it with the page in its slot.
    connect(importerComme, &TImporterComme::newApplicationRequested, this,
            [this] { fournisseurs()->showWizard(); });
    connect(importerComme, &TImporterComme::applicationJoined, this,
            &TFormGeneral::openCreatedApplication);
    return importChoice_;
}

// ---- Closing ----------------------------------------------------------------

bool TFormGeneral::FormCloseQuery()
{
    if (ending_) return true;
    if (state_->store().Occupe) {
        msg::information(
            QStringLiteral("Veuillez attendre la fin du traitement avant de fermer l'application"));
        return false;
    }
    // The open application is written first; when it cannot be, the user
    // stays in the editor with the message and nothing is lost.
    if (state_->CandidatureModifiee && editor_ && !editor_->SauveCandidature()) return false;
    return true;
}

void TFormGeneral::KillThread()
{
    if (listing_) listing_->stop();
    if (!loader_) return;
    // The loader may be waiting for this thread to take a step: keep serving
    // its calls until it has seen the request and ended.
    loader_->requestInterruption();
    while (!loader_->wait(10))
        QCoreApplication::processEvents();
    loader_.reset();
}

void TFormGeneral::endAfterFailure()
{
    if (ending_) return;
    ending_ = true;
    KillThread();
    // Every event loop is left, a dialog's included; main returns the code.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(EXIT_FAILURE); }, Qt::QueuedConnection);
}

// ---- Loading ------------------------------------------------------------------

void TFormGeneral::loaderStatus(const QString& text)
{
    setStatusText(text);
}

void TFormGeneral::loaderBegin(qint64 total)
{
    progressStart(total);
    editor_->clearSources();
}

void TFormGeneral::loaderStep(qint64 records)
{
    progressStep(records);
}

void TFormGeneral::loaderEnd()
{
    editor_->setSources(state_->store().SourcesConnues);
    progressHide();
    setStatusText(QString());
    loadingDone_ = true;
    reportLoadFailures();
    listing_->afterLoading();
    emit loaded();
}

void TFormGeneral::reportLoadFailures()
{
    const Store& store = state_->store();
    QStringList failed;
    for (FileKind k :
         {FileKind::Societes, FileKind::Contacts, FileKind::Candidatures, FileKind::Favoris}) {
        if (!store.loadFailed(k)) continue;
        static const char* names[] = {"societes.dat", "contacts.dat", "candidatures.dat",
                                      "favoris.dat"};
        failed.append(QStringLiteral("\"%1\" : %2")
                          .arg(QString::fromLatin1(names[int(k)]), store.loadError(k)));
    }
    if (!store.loadWarnings().isEmpty())
        msg::warning(QStringLiteral("Certains fichiers de données sont endommagés :") + CR + CR +
                     store.loadWarnings().join(CR) + CR + CR +
                     QStringLiteral("Une copie de ces fichiers peut se trouver dans le "
                                    "répertoire \"backup\"."));
    if (failed.isEmpty()) return;
    msg::warning(QStringLiteral("Certains fichiers de données n'ont pas pu être lus en entier :") +
                 CR + CR + failed.join(CR) + CR + CR +
                 QStringLiteral("Ce qui a pu être lu est affiché ; ces fichiers ne seront pas "
                                "modifiés pendant cette session, afin de ne rien perdre."));
}

// ---- Frame services -------------------------------------------------------------

void TFormGeneral::setStatusText(const QString& text)
{
    frame_->StatusBar1->setText(text);
}

QString TFormGeneral::statusText() const
{
    return frame_->StatusBar1->text();
}

void TFormGeneral::progressStart(qint64 maximum)
{
    QProgressBar* bar = frame_->ProgressBar1;
    bar->setMaximum(int(std::min<qint64>(maximum, INT_MAX)));
    bar->setValue(0);
    bar->show();
}

void TFormGeneral::progressStep(qint64 steps)
{
    QProgressBar* bar = frame_->ProgressBar1;
    bar->setValue(int(std::min<qint64>(qint64(bar->value()) + steps, bar->maximum())));
}

void TFormGeneral::progressHide()
{
    frame_->ProgressBar1->hide();
}

void TFormGeneral::setSortMenuVisible(bool visible)
{
    frame_->MenuAffichage->menuAction()->setVisible(visible);
}

void TFormGeneral::checkSort(int position)
{
    frame_->DeSelectMenu(frame_->MenuTri[position]);
}

void TFormGeneral::checkDirection(bool descending)
{
    frame_->MenuDecroissant->setChecked(descending);
    frame_->MenuCroissant->setChecked(!descending);
}

void TFormGeneral::placePanels()
{
    PositionnePanelApplication();
}
