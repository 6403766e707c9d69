#pragma once
// TFormGeneral: the main window, child of the frame. It makes the three
// pages and the dialogs, hands them the program's state and the frame's
// services, and connects them: it is the one place that knows them all.

#include "platform/frameservices.h"
#include "store/loader.h"
#include "store/programstate.h"

#include <QWidget>
#include <memory>

class ApplicationEditor;
class ApplicationsPage;
class DirectoryPage;
class LinkLabel;
class ListingPage;
class MailSender;
class QTabWidget;
class SidePanel;
class TAboutBox;
class TAjoutFavori;
class THTML2PDF;
class TImportChoice;
class TNavigateur;
class TFormAjoutContact;
class TFormAjoutFournisseur;
class TFormContacts;
class TFormListeContacts;
class TFournisseurs;
class TMDIParent;
class TPersonnalisation;

class TFormGeneral : public QWidget, public LoaderTarget, public StoreUi, public FrameServices
{
    Q_OBJECT
public:
    explicit TFormGeneral(TMDIParent* frame);
    ~TFormGeneral() override;

    // Main window set-up; false when the check of the data files ended the program.
    bool FormCreate();
    // Starts the loader.
    void startThreads();
    // Asks to close: refused while a data file is being written, and while
    // the open application holds changes that cannot be written.
    bool FormCloseQuery();
    // At shutdown: stops the workers. Nothing is saved or shown from here.
    void KillThread();

    void SetLang();
    void DessinePanels();
    void PositionnePanelApplication();

    ProgramState& state() { return *state_; }
    Store& store() { return state_->store(); }
    TMDIParent* frame() const { return frame_; }
    TExeThread* loader() const { return loader_.get(); }
    bool loadingDone() const { return loadingDone_; }
    ApplicationsPage* page() const { return applications_; }
    ListingPage* listing() const { return listing_; }
    ApplicationEditor* editor() const { return editor_; }
    DirectoryPage* directory() const { return directory_; }
    MailSender& EnvoiMail() { return *mail_; }

    // The dialogs, each made the first time it is needed and kept until the end.
    TFormAjoutFournisseur* ajoutFournisseur();
    TFormAjoutContact* ajoutContact();
    TFormListeContacts* listeContacts();
    TFournisseurs* fournisseurs();
    TFormContacts* formContacts();
    TPersonnalisation* personnalisation();
    TAboutBox* aboutBox();
    THTML2PDF* html2pdf();
    TAjoutFavori* ajoutFavori();
    // The dialogs that place an imported page, made together.
    TImportChoice* importChoice();
    // The browser page, made the first time "Navigateur" is shown (null before).
    TNavigateur* navigateur() const { return navigateur_; }
    // True when that dialog exists and is on screen.
    template <class D> static bool onScreen(const D* dialog)
    {
        return dialog && dialog->isVisible();
    }

    QTabWidget* Tabulations = nullptr;
    QWidget* TabSheet3 = nullptr;
    SidePanel* Panel_Application = nullptr;
    LinkLabel* lien_QuitterApplication = nullptr;

    // LoaderTarget
    void loaderStatus(const QString& text) override;
    void loaderBegin(qint64 total) override;
    void loaderStep(qint64 records) override;
    void loaderEnd() override;

    // StoreUi and FrameServices
    void progressStart(qint64 maximum) override;
    void progressStep(qint64 steps) override;
    void progressHide() override;
    void setStatusText(const QString& text) override;
    QString statusText() const override;
    void setSortMenuVisible(bool visible) override;
    void checkSort(int position) override;
    void checkDirection(bool descending) override;
    void placePanels() override;

signals:
    // The four tables are loaded.
    void loaded();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildPages();
    void connectPages();
    void pageChanged(int index);
    void reportLoadFailures();
    void openCreatedApplication(qint32 id);
    void companiesChanged(const QString& added);
    void contactsChanged(const QString& added);
    // After a data file could not be rewritten: the workers stop and the
    // program leaves its event loop with a failure code.
    void endAfterFailure();

    TMDIParent* frame_;
    ProgramState* state_;
    std::unique_ptr<MailSender> mail_;
    std::unique_ptr<TExeThread> loader_;
    ApplicationsPage* applications_ = nullptr;
    DirectoryPage* directory_ = nullptr;
    ListingPage* listing_ = nullptr;
    ApplicationEditor* editor_ = nullptr;
    TFormAjoutFournisseur* ajoutFournisseur_ = nullptr;
    TFormAjoutContact* ajoutContact_ = nullptr;
    TFormListeContacts* listeContacts_ = nullptr;
    TFournisseurs* fournisseurs_ = nullptr;
    TFormContacts* formContacts_ = nullptr;
    TPersonnalisation* personnalisation_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    THTML2PDF* html2pdf_ = nullptr;
    TAjoutFavori* ajoutFavori_ = nullptr;
    TImportChoice* importChoice_ = nullptr;
    TNavigateur* navigateur_ = nullptr;
    int page_ = 0; // the page on screen
    bool loadingDone_ = false;
    bool ending_ = false;
};
