#pragma once
// The widgets of the applications page: on the left the assistant panel (or,
// while an application is open, its own panel) and the key figures; on the
// right the listing with its filter links, or the editor in its place. The
// listing and the editor drive them.

#include <QWidget>

class LinkLabel;
class ListingGrid;
class QLabel;
class SidePanel;
class ZoneCandidature;

class ApplicationsPage : public QWidget
{
    Q_OBJECT
public:
    explicit ApplicationsPage(QWidget* parent = nullptr);

    void SetLang();
    // Lays the filter links from right to left, each ending where the next begins.
    void PositionneLabels();
    // Shows the editor in the place of the listing, or the listing again,
    // with the panel that goes with each.
    void showEditor(bool on);
    bool editorShown() const;

    SidePanel* Panel_Assistant = nullptr;
    QLabel* Label_ChoixCandidature = nullptr;
    LinkLabel* lien_NouvelleCandidature = nullptr;
    LinkLabel* LienApercuListing = nullptr;
    LinkLabel* LienImprimerListing = nullptr;
    LinkLabel* LienExportListing = nullptr;

    SidePanel* Panel_Candidatures = nullptr;
    LinkLabel* lien_apercuRapport = nullptr;
    LinkLabel* lien_printRapport = nullptr;
    LinkLabel* lien_saveRapport = nullptr;
    LinkLabel* lien_SupprimerCandidature = nullptr;
    LinkLabel* lien_RetourListing = nullptr;

    SidePanel* Panel_Chiffres = nullptr;
    QLabel* LabelChiffres[7] = {};

    ListingGrid* StringGrid1 = nullptr;
    LinkLabel* Label_Legende = nullptr;
    LinkLabel* Label_ShowHide = nullptr;
    QLabel* Label_Separateur = nullptr;
    LinkLabel* Label_AlarmeOnly = nullptr;
    QLabel* Label_Separateur2 = nullptr;
    LinkLabel* Label_RelancesOnly = nullptr;

    ZoneCandidature* Zone = nullptr;

    // The panel above which the shared panel of the pages is placed.
    SidePanel* upperPanel() const;

signals:
    // A panel moved or changed its size or visibility.
    void panelsMoved();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* listingArea_ = nullptr;
    QWidget* filterRow_ = nullptr;
};
