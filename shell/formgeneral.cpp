#include "shell/formgeneral.h"

#include "applications/editor.h"
#include "applications/editorview.h"
#include "applications/fournisseurs.h"
#include "applications/listinggrid.h"
#include "applications/listingpage.h"
#include "directory/directorypage.h"
#include "platform/mailsender.h"
#include "platform/messages.h"
#include "reports/legende.h"
#include "shell/mdiparent.h"
#include "shell/panels.h"
#include "shell/pictures.h"
#include "store/migration.h"
#include "store/settings.h"
#include "store/texts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdlib>

namespace
{
constexpr int kLeft = 8; // left column of the pages
constexpr int kGap = 85; // Panel_Application below the page's panel
} // namespace

TFormGeneral::TFormGeneral(TMDIParent* frame)
    : QWidget(frame), frame_(frame), store_(std::make_unique<Store>(frame->programDir()))
{
    setObjectName(QStringLiteral("TFormGeneral"));
    store_->setUi(this);
}

TFormGeneral::~TFormGeneral()
{
    KillThread();
}

bool TFormGeneral::FormCreate()
{
    CurseurNormal = cursor();
    store_->Initialisation();
    if (CheckBaseVersion(*store_) == VersionCheck::Stop) return false;

    setWindowTitle(QString());
    FichierImport.clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    buildPages();
    DessinePanels();
    for (QWidget* w : std::initializer_list<QWidget*>{Panel_Assistant, Panel_Societes,
                                                      Panel_Candidatures, TabSheet1, TabSheet2})
        w->installEventFilter(this);

    RafraichirListing = false;
    store_->MaxIdSociete = store_->MaxIdContact = 0;
    IdSocieteAnnuaire = IdCandidature = 0;
    store_->Societes.clear();
    store_->Contacts.clear();
    PremierAffichage = true;
    MasquerTerminees = AlarmesSeules = RelancesSeules = false;
    CandidatureModifiee = false;
    store_->Occupe = false;
    MenuAffichageVisible = true;
    LigneSelectionnee = -1;
    PhaseClignotement = 0;

    Tri = Readregistry(RegistryKey, QStringLiteral("tri"));
    if (Tri.isEmpty()) Tri = QStringLiteral("d");
    Sens = Readregistry(RegistryKey, QStringLiteral("sens"));

    Tabulations->setCurrentIndex(0);
    SetLang();
    Label_ShowHide->setCaption(GetTxt(210));
    Label_AlarmeOnly->setCaption(GetTxt(216));
    PositionneLabels();
    listing_ = new ListingPage(*this);
    editor_ = new ApplicationEditor(*this, Zone);
    directory_ = new DirectoryPage(*this);
    connect(lien_NouvelleCandidature, &LinkLabel::clicked, this, [this] {
        if (listing_->legende()) listing_->legende()->hide();
        CandidatureModifiee = false;
        fournisseurs()->showWizard();
    });
    QApplication::restoreOverrideCursor();
    return true;
}

void TFormGeneral::startThreads()
{
    loader_ = std::make_unique<TExeThread>(store_.get(), this, this);
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
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet3 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    Tabulations->addTab(TabSheet1, QString());
    Tabulations->addTab(TabSheet2, QString());
    Tabulations->addTab(TabSheet3, QString());
    buildApplicationsPage();
    buildDirectoryPage();

    // One panel for two pages: it lies over the left column of the window.
    Panel_Application = new SidePanel(QStringLiteral("Panel_Application"),
                                      QStringLiteral("Titre_PanelApplication"), this);
    lien_QuitterApplication =
        Panel_Application->addLink(QStringLiteral("lien_QuitterApplication"), QString(), "quit");
    connect(lien_QuitterApplication, &LinkLabel::clicked, frame_, &QWidget::close);
    Panel_Application->move(kLeft, 0);
    Panel_Application->raise();

    connect(Tabulations, &QTabWidget::currentChanged, this, &TFormGeneral::pageChanged);
}

void TFormGeneral::buildApplicationsPage()
{
    auto* page = new QHBoxLayout(TabSheet1);
    page->setContentsMargins(kLeft, 8, 8, 8);
    page->setSpacing(12);

    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    Panel_Assistant = new SidePanel(QStringLiteral("Panel_Assistant"),
                                    QStringLiteral("Titre_PanelAssistant"), TabSheet1);
    Label_ChoixCandidature = new QLabel(Panel_Assistant);
    Label_ChoixCandidature->setObjectName(QStringLiteral("Label_ChoixCandidature"));
    Label_ChoixCandidature->setWordWrap(true);
    Panel_Assistant->body()->addWidget(Label_ChoixCandidature);
    lien_NouvelleCandidature =
        Panel_Assistant->addLink(QStringLiteral("lien_NouvelleCandidature"), QString(), "new");
    LienApercuListing =
        Panel_Assistant->addLink(QStringLiteral("LienApercuListing"), QString(), "preview");
    LienImprimerListing =
        Panel_Assistant->addLink(QStringLiteral("LienImprimerListing"), QString(), "print");
    LienExportListing =
        Panel_Assistant->addLink(QStringLiteral("LienExportListing"), QString(), "export");
    // The listing reports are not part of this version yet.
    for (LinkLabel* l : {LienApercuListing, LienImprimerListing, LienExportListing})
        l->setEnabled(false);

    Panel_Candidatures = new SidePanel(QStringLiteral("Panel_Candidatures"),
                                       QStringLiteral("Titre_Candidature"), TabSheet1);
    lien_apercuRapport =
        Panel_Candidatures->addLink(QStringLiteral("lien_apercuRapport"), QString(), "preview");
    lien_printRapport =
        Panel_Candidatures->addLink(QStringLiteral("lien_printRapport"), QString(), "print");
    lien_saveRapport =
        Panel_Candidatures->addLink(QStringLiteral("lien_saveRapport"), QString(), "export");
    lien_SupprimerCandidature = Panel_Candidatures->addLink(
        QStringLiteral("lien_SupprimerCandidature"), QString(), "delete");
    lien_RetourListing =
        Panel_Candidatures->addLink(QStringLiteral("lien_RetourListing"), QString(), "back");
    // The application report is not part of this version yet.
    for (LinkLabel* l : {lien_apercuRapport, lien_printRapport, lien_saveRapport})
        l->setEnabled(false);
    Panel_Candidatures->hide();

    Panel_Chiffres = new SidePanel(QStringLiteral("Panel_Chiffres"),
                                   QStringLiteral("Titre_Chiffres"), TabSheet1);
    Panel_Chiffres->title()->setText(QStringLiteral("Chiffres clés"));
    const char* figures[] = {"LabelTotalCandidatures",     "LabelTotalSocietes",
                             "LabelTotalEntretiens",       "LabelTotalReponses",
                             "LabelTauxEntretiensMoyen",   "LabelTotalTauxReponseMoyen",
                             "LabelTotalTempsReponseMoyen"};
    for (int i = 0; i < 7; ++i) {
        LabelChiffres[i] = new QLabel(Panel_Chiffres);
        LabelChiffres[i]->setObjectName(QString::fromLatin1(figures[i]));
        LabelChiffres[i]->setWordWrap(true);
        Panel_Chiffres->body()->addWidget(LabelChiffres[i]);
    }

    column->addWidget(Panel_Assistant);
    column->addWidget(Panel_Candidatures);
    column->addSpacing(kGap + 60);
    column->addWidget(Panel_Chiffres);
    column->addStretch(1);
    page->addLayout(column);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    listingArea_ = new QWidget(TabSheet1);
    auto* area = new QVBoxLayout(listingArea_);
    area->setContentsMargins(0, 0, 0, 0);
    area->setSpacing(4);
    StringGrid1 = new ListingGrid(listingArea_);
    area->addWidget(StringGrid1);

    filterRow_ = new QWidget(listingArea_);
    filterRow_->setFixedHeight(18);
    filterRow_->setFixedWidth(StringGrid1->width());
    Label_Legende = new LinkLabel(QStringLiteral("Label_Legende"),
                                  QStringLiteral("Voir la légende"), filterRow_);
    Label_Legende->move(0, 0);
    filterRow_->installEventFilter(this);
    Label_ShowHide = new LinkLabel(QStringLiteral("Label_ShowHide"), QString(), filterRow_);
    Label_Separateur = new QLabel(QStringLiteral(" / "), filterRow_);
    Label_Separateur->setObjectName(QStringLiteral("Label_Separateur"));
    Label_AlarmeOnly = new LinkLabel(QStringLiteral("Label_AlarmeOnly"), QString(), filterRow_);
    Label_Separateur2 = new QLabel(QStringLiteral(" / "), filterRow_);
    Label_Separateur2->setObjectName(QStringLiteral("Label_Separateur2"));
    Label_RelancesOnly = new LinkLabel(QStringLiteral("Label_RelancesOnly"), QString(), filterRow_);
    area->addWidget(filterRow_);
    area->addStretch(1);
    right->addWidget(listingArea_, 1);
    Zone = new ZoneCandidature(TabSheet1);
    Zone->setFixedWidth(StringGrid1->width());
    Zone->hide();
    right->addWidget(Zone, 1);
    page->addLayout(right);
    page->addStretch(1);
}

void TFormGeneral::buildDirectoryPage()
{
    auto* page = new QHBoxLayout(TabSheet2);
    page->setContentsMargins(kLeft, 8, 8, 8);
    auto* column = new QVBoxLayout;
    Panel_Societes = new SidePanel(QStringLiteral("Panel_Societes"),
                                   QStringLiteral("Titre_Societes"), TabSheet2);
    lien_NouvelleSociete =
        Panel_Societes->addLink(QStringLiteral("lien_NouvelleSociete"), QString(), "new");
    lien_ApercuSociete =
        Panel_Societes->addLink(QStringLiteral("lien_ApercuSociete"), QString(), "preview");
    lien_ImprimerSociete =
        Panel_Societes->addLink(QStringLiteral("lien_ImprimerSociete"), QString(), "print");
    lien_MailerSociete =
        Panel_Societes->addLink(QStringLiteral("lien_MailerSociete"), QString(), "export");
    lien_exportSoc = Panel_Societes->addLink(QStringLiteral("lien_exportSoc"), QString(), "export");
    lien_importSoc = Panel_Societes->addLink(QStringLiteral("lien_importSoc"), QString(), "new");
    // The company sheet, the import and the export are not part of this version yet.
    for (LinkLabel* l : {lien_ApercuSociete, lien_ImprimerSociete, lien_MailerSociete,
                         lien_exportSoc, lien_importSoc})
        l->setEnabled(false);
    column->addWidget(Panel_Societes);
    column->addStretch(1);
    page->addLayout(column);
    auto* area = new QWidget(TabSheet2);
    area->setObjectName(QStringLiteral("DirectoryArea"));
    page->addWidget(area, 1);
}

void TFormGeneral::SetLang()
{
    Panel_Application->title()->setText(GetTxt(100));
    lien_QuitterApplication->setCaption(GetTxt(101));
    Panel_Assistant->title()->setText(GetTxt(102));
    Label_ChoixCandidature->setText(GetTxt(103));
    lien_NouvelleCandidature->setCaption(GetTxt(104));
    for (LinkLabel* l : {LienApercuListing, lien_apercuRapport, lien_ApercuSociete})
        l->setCaption(GetTxt(105));
    LienImprimerListing->setCaption(GetTxt(106));
    LienExportListing->setCaption(GetTxt(107));
    Panel_Candidatures->title()->setText(GetTxt(108));
    lien_printRapport->setCaption(GetTxt(109));
    lien_saveRapport->setCaption(GetTxt(110));
    lien_SupprimerCandidature->setCaption(GetTxt(111));
    lien_RetourListing->setCaption(GetTxt(112));
    Panel_Societes->title()->setText(GetTxt(113));
    lien_NouvelleSociete->setCaption(GetTxt(114));
    lien_ImprimerSociete->setCaption(GetTxt(115));
    lien_importSoc->setCaption(GetTxt(116));
    lien_exportSoc->setCaption(GetTxt(117));
    lien_MailerSociete->setCaption(GetTxt(118));
    Tabulations->setTabText(0, GetTxt(119));
    Tabulations->setTabText(1, GetTxt(120));
    Tabulations->setTabText(2, GetTxt(121));
    Label_RelancesOnly->setCaption(GetTxt(217));
    Zone->SetLang();
    for (SidePanel* p :
         {Panel_Assistant, Panel_Candidatures, Panel_Chiffres, Panel_Societes, Panel_Application})
        p->fitHeight();
    PositionnePanelApplication();
}

void TFormGeneral::DessinePanels()
{
    Panel_Assistant->setPictures(pictures::panelHeader(Panel_Assistant->width()),
                                 pictures::panelBody(),
                                 pictures::panelFooter(Panel_Assistant->width()));
    for (SidePanel* p : {Panel_Application, Panel_Candidatures, Panel_Societes, Panel_Chiffres})
        p->setPictures(Panel_Assistant->header(), Panel_Assistant->bodyPicture(),
                       Panel_Assistant->footer());
}

void TFormGeneral::PositionnePanelApplication()
{
    if (!Panel_Application) return;
    const int page = Tabulations->currentIndex();
    if (page == 2) {
        Panel_Application->hide();
        return;
    }
    const SidePanel* above = page == 1                         ? Panel_Societes
                             : Panel_Candidatures->isVisible() ? Panel_Candidatures
                                                               : Panel_Assistant;
    Panel_Application->move(above->mapTo(this, QPoint(0, 0)).x(), above->height() + kGap);
    Panel_Application->show();
    Panel_Application->raise();
}

void TFormGeneral::PositionneLabels()
{
    // From right to left, each link ending where the next one begins.
    int right = filterRow_->width();
    for (QLabel* l : {static_cast<QLabel*>(Label_ShowHide), Label_Separateur,
                      static_cast<QLabel*>(Label_AlarmeOnly), Label_Separateur2,
                      static_cast<QLabel*>(Label_RelancesOnly)}) {
        l->adjustSize();
        right -= l->width();
        l->move(right, 0);
    }
}

void TFormGeneral::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    PositionnePanelApplication();
}

bool TFormGeneral::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == filterRow_ && e->type() == QEvent::Resize) PositionneLabels();
    // The application panel follows the page's own panel wherever the page lays it.
    if ((watched == Panel_Assistant || watched == Panel_Societes || watched == Panel_Candidatures ||
         watched == TabSheet1 || watched == TabSheet2) &&
        (e->type() == QEvent::Move || e->type() == QEvent::Resize))
        PositionnePanelApplication();
    return QWidget::eventFilter(watched, e);
}

void TFormGeneral::pageChanged(int index)
{
    if (index == 0 && listing_) {
        listing_->TabSheet1Show();
        return;
    }
    if (index == 1 && directory_) {
        directory_->TabSheet2Show();
        return;
    }
    // The sort menu belongs to the listing: hidden on the other pages.
    frame_->MenuAffichage->menuAction()->setVisible(false);
    PositionnePanelApplication();
}

void TFormGeneral::AfficheCandidatures()
{
    if (listing_) listing_->AfficheCandidatures();
}

void TFormGeneral::showEditor(bool on)
{
    listingArea_->setVisible(!on);
    Zone->setVisible(on);
}

MailSender& TFormGeneral::EnvoiMail()
{
    if (!mail_) mail_ = std::make_unique<MailSender>();
    return *mail_;
}

// ---- Closing ----------------------------------------------------------------

bool TFormGeneral::FormCloseQuery()
{
    if (!store_->Occupe) return true;
    msg::information(
        QStringLiteral("Veuillez attendre la fin du traitement avant de fermer l'application"));
    return false;
}

void TFormGeneral::KillThread()
{
    if (editor_ && CandidatureModifiee) editor_->SauveCandidature();
    if (listing_) listing_->stop();
    if (!loader_) return;
    // The loader may be waiting for this thread to take a step: keep serving
    // its calls until it has seen the request and ended.
    loader_->requestInterruption();
    while (!loader_->wait(10))
        QCoreApplication::processEvents();
    loader_.reset();
}

// ---- Loading ------------------------------------------------------------------

void TFormGeneral::loaderStatus(const QString& text)
{
    frame_->StatusBar1->setText(text);
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
    editor_->setSources(store_->SourcesConnues);
    progressHide();
    frame_->StatusBar1->clear();
    loadingDone_ = true;
    reportLoadFailures();
    listing_->afterLoading();
    emit loaded();
}

void TFormGeneral::reportLoadFailures()
{
    QStringList failed;
    for (FileKind k :
         {FileKind::Societes, FileKind::Contacts, FileKind::Candidatures, FileKind::Favoris}) {
        if (!store_->loadFailed(k)) continue;
        static const char* names[] = {"societes.dat", "contacts.dat", "candidatures.dat",
                                      "favoris.dat"};
        failed.append(QStringLiteral("\"%1\" : %2")
                          .arg(QString::fromLatin1(names[int(k)]), store_->loadError(k)));
    }
    if (failed.isEmpty()) return;
    msg::warning(QStringLiteral("Certains fichiers de données n'ont pas pu être lus en entier :") +
                 CR + CR + failed.join(CR) + CR + CR +
                 QStringLiteral("Ce qui a pu être lu est affiché ; ces fichiers ne seront pas "
                                "modifiés pendant cette session, afin de ne rien perdre."));
}

// ---- Progress bar and cursor for the store ------------------------------------

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

void TFormGeneral::busyCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFormGeneral::endProgram()
{
    // Everything is on disk: the program ends where it stands.
    std::exit(EXIT_FAILURE);
}
