#include "applications/applicationspage.h"

#include "applications/editorview.h"
#include "applications/listinggrid.h"
#include "platform/panels.h"
#include "store/texts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace
{
constexpr int kLeft = 8; // left column of the pages
constexpr int kGap = 85; // room left for the shared panel below the page's panel
} // namespace

ApplicationsPage::ApplicationsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet1"));
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(kLeft, 8, 8, 8);
    page->setSpacing(12);

    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    Panel_Assistant = new SidePanel(QStringLiteral("Panel_Assistant"),
                                    QStringLiteral("Titre_PanelAssistant"), this);
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

    Panel_Candidatures = new SidePanel(QStringLiteral("Panel_Candidatures"),
                                       QStringLiteral("Titre_Candidature"), this);
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
    Panel_Candidatures->hide();

    Panel_Chiffres =
        new SidePanel(QStringLiteral("Panel_Chiffres"), QStringLiteral("Titre_Chiffres"), this);
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
    listingArea_ = new QWidget(this);
    auto* area = new QVBoxLayout(listingArea_);
    area->setContentsMargins(0, 0, 0, 0);
    area->setSpacing(4);
    StringGrid1 = new ListingGrid(listingArea_);
    area->addWidget(StringGrid1, 1);

    filterRow_ = new QWidget(listingArea_);
    filterRow_->setFixedHeight(18);
    Label_Legende = new LinkLabel(QStringLiteral("Label_Legende"),
                                  QStringLiteral("Voir la légende"), filterRow_);
    Label_Legende->move(0, 0);
    Label_ShowHide = new LinkLabel(QStringLiteral("Label_ShowHide"), QString(), filterRow_);
    Label_Separateur = new QLabel(QStringLiteral(" / "), filterRow_);
    Label_Separateur->setObjectName(QStringLiteral("Label_Separateur"));
    Label_AlarmeOnly = new LinkLabel(QStringLiteral("Label_AlarmeOnly"), QString(), filterRow_);
    Label_Separateur2 = new QLabel(QStringLiteral(" / "), filterRow_);
    Label_Separateur2->setObjectName(QStringLiteral("Label_Separateur2"));
    Label_RelancesOnly = new LinkLabel(QStringLiteral("Label_RelancesOnly"), QString(), filterRow_);
    area->addWidget(filterRow_);
    // Takes the room of the grid while it is hidden (no application listed).
    area->addStretch(0);
    right->addWidget(listingArea_, 1);
    Zone = new ZoneCandidature(this);
    Zone->setMinimumWidth(StringGrid1->minimumWidth());
    Zone->hide();
    right->addWidget(Zone, 1);
    page->addLayout(right, 1);

    filterRow_->installEventFilter(this);
    for (QWidget* w : std::initializer_list<QWidget*>{this, Panel_Assistant, Panel_Candidatures})
        w->installEventFilter(this);
}

void ApplicationsPage::SetLang()
{
    Panel_Assistant->title()->setText(GetTxt(102));
    Label_ChoixCandidature->setText(GetTxt(103));
    lien_NouvelleCandidature->setCaption(GetTxt(104));
    for (LinkLabel* l : {LienApercuListing, lien_apercuRapport})
        l->setCaption(GetTxt(105));
    LienImprimerListing->setCaption(GetTxt(106));
    LienExportListing->setCaption(GetTxt(107));
    Panel_Candidatures->title()->setText(GetTxt(108));
    lien_printRapport->setCaption(GetTxt(109));
    lien_saveRapport->setCaption(GetTxt(110));
    lien_SupprimerCandidature->setCaption(GetTxt(111));
    lien_RetourListing->setCaption(GetTxt(112));
    Zone->SetLang();
    for (SidePanel* p : {Panel_Assistant, Panel_Candidatures, Panel_Chiffres})
        p->fitHeight();
}

void ApplicationsPage::PositionneLabels()
{
    int right = filterRow_->width();
    for (QLabel* l : {static_cast<QLabel*>(Label_ShowHide), Label_Separateur,
                      static_cast<QLabel*>(Label_AlarmeOnly), Label_Separateur2,
                      static_cast<QLabel*>(Label_RelancesOnly)}) {
        l->adjustSize();
        right -= l->width();
        l->move(right, 0);
    }
}

void ApplicationsPage::showEditor(bool on)
{
    listingArea_->setVisible(!on);
    Zone->setVisible(on);
    Panel_Assistant->setVisible(!on);
    Panel_Candidatures->setVisible(on);
    emit panelsMoved();
}

bool ApplicationsPage::editorShown() const
{
    return !Zone->isHidden();
}

SidePanel* ApplicationsPage::upperPanel() const
{
    return Panel_Candidatures->isHidden() ? Panel_Assistant : Panel_Candidatures;
}

bool ApplicationsPage::eventFilter(QObject* watched, QEvent* e)
{
    const bool geometry = e->type() == QEvent::Move || e->type() == QEvent::Resize;
    if (watched == filterRow_ && e->type() == QEvent::Resize) PositionneLabels();
    if ((watched == this || watched == Panel_Assistant || watched == Panel_Candidatures) &&
        geometry)
        emit panelsMoved();
    return QWidget::eventFilter(watched, e);
}
