#pragma once
// The browser page "Navigateur": address bar, navigation buttons, the
// favourites column kept in favoris.dat, and "Enregistrer cette page",
// which saves the page on display as a PDF. Made the first time the page
// is shown: nothing of the web engine starts before.

#include <QString>
#include <QWidget>

class FrameServices;
class ProgramState;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QWebEnginePage;
class QWebEngineView;
class TAjoutFavori;
class THTML2PDF;

class TNavigateur : public QWidget
{
    Q_OBJECT
public:
    // The dialogs belong to the main window; the page only opens them.
    TNavigateur(ProgramState& state, FrameServices& frame, THTML2PDF& conversion,
                TAjoutFavori& ajoutFavori, QWidget* parent = nullptr);
    ~TNavigateur() override;

    // The job-offer search of the public employment service.
    static QString defaultAddress();

    void TabSheet3Show();
    void TabSheet3Hide();

    // The page on display, for the conversions of its callers.
    QWebEnginePage* page() const;
    bool favorisShown() const;

    void NavCtrls(bool enabled);
    void Nav_GoClick();
    void Nav_PrecedentClick();
    void Nav_SuivantClick();
    void Nav_RefreshClick();
    void Nav_StopClick();
    void Nav_FavorisClick();
    void Nav_ImportClick();
    void Nav_EnregistrerClick();
    void Nav_AddFavoriClick();
    void Nav_SupprFavoriClick();
    void ListBoxFavorisClick();

    QPushButton *Nav_Precedent = nullptr, *Nav_Suivant = nullptr, *Nav_Refresh = nullptr,
                *Nav_Stop = nullptr, *Nav_Go = nullptr, *Nav_Favoris = nullptr,
                *Nav_Import = nullptr, *Nav_Enregistrer = nullptr, *Nav_AddFavori = nullptr,
                *Nav_SupprFavori = nullptr, *Nav_HideFavoris = nullptr;
    QLineEdit* Nav_URL = nullptr;
    QListWidget* ListBoxFavoris = nullptr;
    QWidget* ColonneFavoris = nullptr;
    QWebEngineView* Nav_Web = nullptr;

signals:
    // A page was made into a PDF for an application: where it goes is asked next.
    void importChoiceRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Nav_WebBeforeNavigate2();
    void Nav_WebProgressChange(int progress);
    void Nav_WebDocumentComplete();
    void fillFavoris();

    ProgramState& s_;
    FrameServices& frame_;
    THTML2PDF& conversion_;
    TAjoutFavori& ajoutFavori_;
    QString savedStatus_;
    int progress_ = 0;
    bool loading_ = false;
};
