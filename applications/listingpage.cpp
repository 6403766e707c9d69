#include "applications/listingpage.h"

#include "applications/editor.h"
#include "applications/listinggrid.h"
#include "platform/messages.h"
#include "reports/legende.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "shell/panels.h"
#include "store/settings.h"
#include "store/texts.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>

ListingPage::ListingPage(TFormGeneral& form) : QObject(&form), today(&todayDayNumber), f_(form)
{
    model_ = new ListingModel(form.store(), this);
    delegate_ = new ListingDelegate(*model_, form.PhaseClignotement, form.LigneSelectionnee, this);
    ListingGrid* grid = form.StringGrid1;
    grid->setModel(model_);
    grid->setItemDelegate(delegate_);
    connect(grid, &ListingGrid::cellClicked, this, [this](int column, int row) {
        StringGrid1SelectCell(column, row);
        StringGrid1Click();
    });
    connect(grid, &ListingGrid::cellDoubleClicked, this, [this] { StringGrid1DblClick(); });
    connect(grid, &ListingGrid::popupRequested, this, &ListingPage::StringGrid1MouseUp);
    connect(form.Label_ShowHide, &LinkLabel::clicked, this, &ListingPage::Label_ShowHideClick);
    connect(form.Label_AlarmeOnly, &LinkLabel::clicked, this, &ListingPage::Label_AlarmeOnlyClick);
    connect(form.Label_RelancesOnly, &LinkLabel::clicked, this,
            &ListingPage::Label_RelancesOnlyClick);
    connect(form.Label_Legende, &LinkLabel::clicked, this, &ListingPage::Label_LegendeClick);
    buildMenus();

    blinkTimer_.setInterval(600);
    connect(&blinkTimer_, &QTimer::timeout, this, &ListingPage::blink);
    blinkTimer_.start();
}

ListingPage::~ListingPage()
{
    stop();
}

void ListingPage::stop()
{
    blinkTimer_.stop();
    if (stats_) stats_->wait();
}

// ---- Sort menus -----------------------------------------------------------------

void ListingPage::buildMenus()
{
    PopupMenu1 = new QMenu(&f_);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const char* names[7] = {"rierpardate1",     "riparsocit1",  "riparcatgorie1", "riparintitul1",
                            "riparrendezvous1", "riparstatut1", "riparmarqueur1"};
    const char* captions[7] = {"Tri par date",     "Tri par société",     "Tri par catégorie",
                               "Tri par intitulé", "Tri par rendez-vous", "Tri par statut",
                               "Tri par marqueur"};
    auto* sorts = new QActionGroup(this);
    for (int i = 0; i < 7; ++i) {
        popupTri[i] = PopupMenu1->addAction(QString::fromUtf8(captions[i]));
        popupTri[i]->setObjectName(QString::fromLatin1(names[i]));
        popupTri[i]->setCheckable(true);
        sorts->addAction(popupTri[i]);
        connect(popupTri[i], &QAction::triggered, this, [this, i] { popupSortClick(i); });
        connect(f_.frame()->MenuTri[i], &QAction::triggered, this,
                [this, i] { frameSortExecute(i); });
    }
    PopupMenu1->addSeparator();
    auto* order = new QActionGroup(this);
    Ordrecroissant1 = PopupMenu1->addAction(QStringLiteral("Ordre croissant"));
    Ordredcroissant1 = PopupMenu1->addAction(QStringLiteral("Ordre décroissant"));
    Ordrecroissant1->setObjectName(QStringLiteral("Ordrecroissant1"));
    Ordredcroissant1->setObjectName(QStringLiteral("Ordredcroissant1"));
    for (QAction* a : {Ordrecroissant1, Ordredcroissant1}) {
        a->setCheckable(true);
        order->addAction(a);
    }
    connect(Ordrecroissant1, &QAction::triggered, this, [this] { popupDirectionClick(false); });
    connect(Ordredcroissant1, &QAction::triggered, this, [this] { popupDirectionClick(true); });
    connect(f_.frame()->MenuCroissant, &QAction::triggered, this,
            [this] { frameDirectionExecute(false); });
    connect(f_.frame()->MenuDecroissant, &QAction::triggered, this,
            [this] { frameDirectionExecute(true); });

    // As the menus come before any choice: by date, descending.
    popupTri[0]->setChecked(true);
    f_.frame()->DeSelectMenu(f_.frame()->MenuTri[0]);
    Ordredcroissant1->setChecked(true);
    f_.frame()->MenuDecroissant->setChecked(true);
}

void ListingPage::setSort(int position)
{
    f_.Tri = QString(QLatin1Char(SortLetters[position]));
    WriteRegistry(RegistryKey, QStringLiteral("tri"), f_.Tri);
    AfficheCandidatures();
}

void ListingPage::setDirection(bool descending)
{
    f_.Sens = descending ? QStringLiteral("desc") : QString();
    WriteRegistry(RegistryKey, QStringLiteral("sens"), f_.Sens);
    AfficheCandidatures();
}

void ListingPage::popupSortClick(int position)
{
    popupTri[position]->setChecked(true);
    f_.frame()->DeSelectMenu(f_.frame()->MenuTri[position]);
    setSort(position);
}

void ListingPage::frameSortExecute(int position)
{
    f_.frame()->DeSelectMenu(f_.frame()->MenuTri[position]);
    popupTri[position]->setChecked(true);
    setSort(position);
}

void ListingPage::popupDirectionClick(bool descending)
{
    (descending ? Ordredcroissant1 : Ordrecroissant1)->setChecked(true);
    f_.frame()->MenuDecroissant->setChecked(descending);
    f_.frame()->MenuCroissant->setChecked(!descending);
    setDirection(descending);
}

void ListingPage::frameDirectionExecute(bool descending)
{
    f_.frame()->MenuDecroissant->setChecked(descending);
    f_.frame()->MenuCroissant->setChecked(!descending);
    (descending ? Ordredcroissant1 : Ordrecroissant1)->setChecked(true);
    setDirection(descending);
}

void ListingPage::afterLoading()
{
    AfficheCandidatures();
    const int position = sortPosition(f_.Tri);
    if (position >= 0) popupTri[position]->trigger();
    if (f_.Sens.isEmpty())
        Ordrecroissant1->trigger();
    else if (f_.Sens == QLatin1String("desc"))
        Ordredcroissant1->trigger();
}

// ---- Build ------------------------------------------------------------------------

void ListingPage::startStats()
{
    if (stats_) stats_->wait();
    TFormGeneral* form = &f_;
    stats_ = std::make_unique<TStatsThread>(f_.store().Candidatures, f_.store().Societes, QLocale(),
                                            &f_, [form](const QStringList& t) {
                                                for (int i = 0; i < 7 && i < t.size(); ++i)
                                                    form->LabelChiffres[i]->setText(t[i]);
                                                form->Panel_Chiffres->fitHeight();
                                            });
    stats_->start();
}

void ListingPage::AfficheCandidatures()
{
    startStats();
    Store& store = f_.store();
    ListingGrid* grid = f_.StringGrid1;
    TMDIParent* frame = f_.frame();
    QLabel* filterLabels[5] = {f_.Label_ShowHide, f_.Label_Separateur, f_.Label_AlarmeOnly,
                               f_.Label_Separateur2, f_.Label_RelancesOnly};
    bool anyLive = false;
    for (const TCandidatureRec& c : store.Candidatures)
        if (isLive(c)) {
            anyLive = true;
            break;
        }
    if (!anyLive) {
        grid->hide();
        for (QLabel* l : filterLabels)
            l->hide();
        frame->StatusBar1->clear();
        model_->setRows({});
        last_ = {};
        alarmRows_.clear();
        f_.PremierAffichage = false;
        return;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    f_.PhaseClignotement = false;
    f_.progressStart(4 * qint64(store.Candidatures.size()));

    PrepareTri(f_.Tri, OrdreCles_);
    ListingInput in;
    in.today = today();
    in.relance = Readregistry(RegistryKey, QStringLiteral("Relance"));
    if (in.relance.isEmpty()) in.relance = QStringLiteral("0");
    in.filters = {f_.MasquerTerminees, f_.AlarmesSeules, f_.RelancesSeules};
    in.keys = OrdreCles_;
    in.descending = f_.Sens == QLatin1String("desc");
    const SocieteIndex index(store.Societes);
    ListingResult result = buildListing(store.Candidatures, store.Societes, index, in);
    f_.progressStep(4 * qint64(store.Candidatures.size()));

    if (result.rows.isEmpty()) {
        grid->hide();
        f_.progressHide();
        QApplication::restoreOverrideCursor();
        model_->setRows({});
        last_ = result;
        alarmRows_.clear();
        reportBadDates(result.badDates);
        return;
    }

    grid->show();
    f_.Label_Separateur->show();
    f_.Label_AlarmeOnly->show();
    alarmRows_.clear();
    for (int r = 0; r < result.rows.size(); ++r)
        if (result.rows[r].alarme) alarmRows_.append(r);
    model_->setRows(result.rows);
    grid->clearSelection();
    grid->setColumnWidths(int(result.rows.size()));
    f_.Label_ShowHide->show();
    frame->StatusBar1->setText(statusText(result));
    f_.Label_RelancesOnly->setVisible(result.relanceOn);
    f_.Label_Separateur2->setVisible(result.relanceOn);
    f_.PositionneLabels();
    grid->setFocus();
    f_.progressHide();
    QApplication::restoreOverrideCursor();
    last_ = std::move(result);

    if (f_.PremierAffichage) {
        f_.PremierAffichage = false;
        if (last_.alarmes > 0) msg::information(alarmMessage(last_.alarmes));
    }
    reportBadDates(last_.badDates);
}

void ListingPage::reportBadDates(const QList<int>& positions)
{
    if (positions.isEmpty() || badDatesReported_) return;
    badDatesReported_ = true;
    QStringList titles;
    for (int i = 0; i < positions.size() && i < 5; ++i)
        titles.append(
            QStringLiteral("« %1 »").arg(f_.store().Candidatures[positions[i]].intitule.text()));
    if (positions.size() > 5) titles.append(QStringLiteral("..."));
    const QString list = titles.join(QStringLiteral(", "));
    msg::warning(
        positions.size() == 1
            ? QStringLiteral("La candidature %1 contient une date illisible : elle apparaît "
                             "dans le listing, sans relance ni alarme.")
                  .arg(list)
            : QStringLiteral("%1 candidatures contiennent une date illisible (%2) : elles "
                             "apparaissent dans le listing, sans relance ni alarme.")
                  .arg(positions.size())
                  .arg(list));
}

void ListingPage::TabSheet1Show()
{
    f_.frame()->MenuAffichage->menuAction()->setVisible(f_.MenuAffichageVisible);
    if (f_.RafraichirListing) {
        AfficheCandidatures();
        if (f_.editor()->isOpen()) f_.editor()->StringGrid1DblClick();
    }
    f_.RafraichirListing = false;
    f_.PositionnePanelApplication();
}

// ---- Grid events --------------------------------------------------------------------

void ListingPage::StringGrid1Click()
{
    const int row = f_.StringGrid1->selectedRow();
    if (row >= 0 && row < model_->rowCount()) f_.IdCandidature = model_->candidature(row).id;
}

void ListingPage::StringGrid1SelectCell(int column, int row)
{
    if (row < 0 || row >= model_->rowCount()) return;
    f_.IdCandidature = model_->candidature(row).id;
    if (column != 10) return;
    TLigneListing& l = model_->row(row);
    Store& store = f_.store();
    if (l.index >= store.Candidatures.size() ||
        qint32(store.Candidatures[l.index].id) != f_.IdCandidature)
        return;
    l.marqueur = l.marqueur ? 0 : 1;
    TCandidatureRec copy = store.Candidatures[l.index];
    copy.marqueur = quint8(l.marqueur);
    if (!store.UpdateCandidature(l.index, copy)) l.marqueur = l.marqueur ? 0 : 1;
    model_->cellsChanged(row, 10);
}

void ListingPage::StringGrid1DblClick()
{
    f_.editor()->StringGrid1DblClick();
}

void ListingPage::StringGrid1MouseUp(const QPoint& globalPos)
{
    PopupMenu1->popup(globalPos);
}

// ---- Filters -------------------------------------------------------------------------

void ListingPage::Label_ShowHideClick()
{
    f_.MasquerTerminees = !f_.MasquerTerminees;
    f_.Label_ShowHide->setCaption(GetTxt(f_.MasquerTerminees ? 209 : 210));
    AfficheCandidatures();
    f_.PositionneLabels();
}

void ListingPage::Label_AlarmeOnlyClick()
{
    f_.AlarmesSeules = !f_.AlarmesSeules;
    f_.Label_AlarmeOnly->setCaption(GetTxt(f_.AlarmesSeules ? 215 : 216));
    f_.RelancesSeules = false;
    f_.Label_RelancesOnly->setCaption(GetTxt(217));
    f_.PositionneLabels();
    AfficheCandidatures();
}

void ListingPage::Label_RelancesOnlyClick()
{
    f_.RelancesSeules = !f_.RelancesSeules;
    f_.Label_RelancesOnly->setCaption(GetTxt(f_.RelancesSeules ? 215 : 217));
    f_.AlarmesSeules = false;
    f_.Label_AlarmeOnly->setCaption(GetTxt(216));
    f_.PositionneLabels();
    AfficheCandidatures();
}

void ListingPage::Label_LegendeClick()
{
    if (!legende_) legende_ = new TLegende(&f_);
    legende_->showLegend();
}

// ---- Alarms ----------------------------------------------------------------------------

void ListingPage::blink()
{
    if (alarmRows_.isEmpty()) return;
    f_.PhaseClignotement = !f_.PhaseClignotement;
    ListingGrid* grid = f_.StringGrid1;
    const int top = grid->topRow();
    // Only the rows on screen are painted.
    auto it = std::lower_bound(alarmRows_.cbegin(), alarmRows_.cend(), top);
    for (; it != alarmRows_.cend() && *it <= top + ListingGrid::VisibleRows; ++it)
        grid->viewport()->update(grid->visualRect(model_->index(*it, 0)));
}
