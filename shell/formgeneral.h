#pragma once
// TFormGeneral: the main window, child of the frame. It carries the three
// pages of the program and owns the data tables and the state around them.

#include "store/loader.h"
#include "store/store.h"

#include <QCursor>
#include <QWidget>
#include <memory>

class ApplicationEditor;
class DirectoryPage;
class TAboutBox;
class TFormAjoutContact;
class TFormAjoutFournisseur;
class TFormContacts;
class TFormListeContacts;
class TFournisseurs;
class TPersonnalisation;
class LinkLabel;
class MailSender;
class ZoneCandidature;
class ListingGrid;
class ListingPage;
class QLabel;
class QTabWidget;
class SidePanel;
class TMDIParent;

class TFormGeneral : public QWidget, public LoaderTarget, public StoreUi
{
    Q_OBJECT
public:
    explicit TFormGeneral(TMDIParent* frame);
    ~TFormGeneral() override;

    // Main window set-up; false when the check of the data files ended the program.
    bool FormCreate();
    // Starts the loader (and the other long-lived workers).
    void startThreads();
    // Asks to close: refused while a data file is being written.
    bool FormCloseQuery();
    // At shutdown: saves what the editor holds, stops the workers.
    void KillThread();

    void SetLang();
    void DessinePanels();
    void PositionnePanelApplication();
    void PositionneLabels();

    Store& store() { return *store_; }
    TMDIParent* frame() const { return frame_; }
    TExeThread* loader() const { return loader_.get(); }
    bool loadingDone() const { return loadingDone_; }
    ListingPage* listing() const { return listing_; }
    ApplicationEditor* editor() const { return editor_; }
    DirectoryPage* directory() const { return directory_; }

    // The dialogs, each made the first time it is needed and kept until the
    // end; each is defined beside its dialog.
    TFormAjoutFournisseur* ajoutFournisseur();
    TFormAjoutContact* ajoutContact();
    TFormListeContacts* listeContacts();
    TFournisseurs* fournisseurs();
    TFormContacts* formContacts();
    TPersonnalisation* personnalisation();
    TAboutBox* aboutBox();
    // True when that dialog exists and is on screen.
    template <class D> static bool onScreen(const D* dialog)
    {
        return dialog && dialog->isVisible();
    }
    TFormAjoutFournisseur* ajoutFournisseur_ = nullptr;
    TFormAjoutContact* ajoutContact_ = nullptr;
    TFormListeContacts* listeContacts_ = nullptr;
    TFournisseurs* fournisseurs_ = nullptr;
    TFormContacts* formContacts_ = nullptr;
    TPersonnalisation* personnalisation_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;

    // The one mail sender of the program.
    MailSender& EnvoiMail();
    // Shows the editor in the place of the listing, or the listing again.
    void showEditor(bool on);

    // Rebuilds the application listing.
    void AfficheCandidatures();

    // State of the main window.
    qint32 IdCandidature = 0;
    qint32 IdSociete = 0;
    qint32 IdSocieteAnnuaire = 0;
    bool CandidatureModifiee = false;
    bool RafraichirListing = false;
    QString Tri, Sens;
    bool PremierAffichage = true;
    bool MasquerTerminees = false, AlarmesSeules = false, RelancesSeules = false;
    bool MenuAffichageVisible = true;
    int LigneSelectionnee = -1;
    bool PhaseClignotement = false;
    QString FichierImport; // a page made into a PDF, waiting for its application
    QString TypeImport;
    QCursor CurseurNormal;

    // Widgets, named as the rest of the program refers to them.
    QTabWidget* Tabulations = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    SidePanel* Panel_Assistant = nullptr;
    SidePanel* Panel_Candidatures = nullptr;
    SidePanel* Panel_Chiffres = nullptr;
    SidePanel* Panel_Societes = nullptr;
    SidePanel* Panel_Application = nullptr;
    QLabel* Label_ChoixCandidature = nullptr;
    LinkLabel* lien_QuitterApplication = nullptr;
    LinkLabel* lien_NouvelleCandidature = nullptr;
    LinkLabel* LienApercuListing = nullptr;
    LinkLabel* LienImprimerListing = nullptr;
    LinkLabel* LienExportListing = nullptr;
    LinkLabel* lien_apercuRapport = nullptr;
    LinkLabel* lien_printRapport = nullptr;
    LinkLabel* lien_saveRapport = nullptr;
    LinkLabel* lien_SupprimerCandidature = nullptr;
    LinkLabel* lien_RetourListing = nullptr;
    LinkLabel* lien_NouvelleSociete = nullptr;
    LinkLabel* lien_ApercuSociete = nullptr;
    LinkLabel* lien_ImprimerSociete = nullptr;
    LinkLabel* lien_MailerSociete = nullptr;
    LinkLabel* lien_exportSoc = nullptr;
    LinkLabel* lien_importSoc = nullptr;
    ListingGrid* StringGrid1 = nullptr;
    LinkLabel* Label_Legende = nullptr;
    ZoneCandidature* Zone = nullptr; // the editor, ZoneCandidature
    LinkLabel* Label_ShowHide = nullptr;
    QLabel* Label_Separateur = nullptr;
    LinkLabel* Label_AlarmeOnly = nullptr;
    QLabel* Label_Separateur2 = nullptr;
    LinkLabel* Label_RelancesOnly = nullptr;
    QLabel* LabelChiffres[7] = {};

    // LoaderTarget
    void loaderStatus(const QString& text) override;
    void loaderBegin(qint64 total) override;
    void loaderStep(qint64 records) override;
    void loaderEnd() override;

    // StoreUi
    void progressStart(qint64 maximum) override;
    void progressStep(qint64 steps) override;
    void progressHide() override;
    void busyCursor(bool on) override;
    void endProgram() override;

signals:
    // The four tables are loaded.
    void loaded();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildPages();
    void buildApplicationsPage();
    void buildDirectoryPage();
    void pageChanged(int index);
    void reportLoadFailures();

    TMDIParent* frame_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<TExeThread> loader_;
    QWidget* filterRow_ = nullptr;
    ListingPage* listing_ = nullptr;
    ApplicationEditor* editor_ = nullptr;
    DirectoryPage* directory_ = nullptr;
    QWidget* listingArea_ = nullptr;
    std::unique_ptr<MailSender> mail_;
    bool loadingDone_ = false;
};
