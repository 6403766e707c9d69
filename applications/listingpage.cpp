#include "applications/listingpage.h"

#include "applications/applicationspage.h"
#include "applications/listinggrid.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/frameservices.h"
#include "platform/messages.h"
#include "platform/panels.h"
#include "platform/report/output.h"
#include "platform/report/spreadsheet.h"
#include "platform/shellopen.h"
#include "platform/showresult.h"
#include "reports/legende.h"
#include "reports/listingreport.h"
#include "reports/reportwindows.h"
#include "store/programstate.h"
#include "store/settings.h"
#include "store/systemerror.h"
#include "store/texts.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <optional>

ListingPage::ListingPage(ApplicationsPage& page, ProgramState& state, FrameServices& frame)
    : QObject(&page), today(&todayDayNumber), page_(page), s_(state), frame_(frame)
{
    model_ = new ListingModel(state.store(), this);
    delegate_ = new ListingDelegate(this);
    ListingGrid* grid = page.StringGrid1;
    grid->setModel(model_);
    grid->setItemDelegate(delegate_);
    connect(grid, &ListingGrid::cellClicked, this, [this](int column, int row) {
        StringGrid1SelectCell(column, row);
        StringGrid1Click();
    });
    connect(grid, &ListingGrid::cellDoubleClicked, this, [this] { StringGrid1DblClick(); });
    connect(grid, &ListingGrid::popupRequested, this, &ListingPage::StringGrid1MouseUp);
    connect(page.Label_ShowHide, &LinkLabel::clicked, this, &ListingPage::Label_ShowHideClick);
    connect(page.Label_AlarmeOnly, &LinkLabel::clicked, this, &ListingPage::Label_AlarmeOnlyClick);
    connect(page.Label_RelancesOnly, &LinkLabel::clicked, this,
            &ListingPage::Label_RelancesOnlyClick);
    connect(page.Label_Legende, &LinkLabel::clicked, this, &ListingPage::Label_LegendeClick);
    connect(page.LienApercuListing, &LinkLabel::clicked, this,
            &ListingPage::LienApercuListingClick);
    connect(page.LienImprimerListing, &LinkLabel::clicked, this,
            &ListingPage::LienImprimerListingClick);
    connect(page.LienExportListing, &LinkLabel::clicked, this,
            &ListingPage::LienExportListingClick);
    connect(&state, &ProgramState::filtersChanged, this, &ListingPage::showFilters);
    connect(&state, &ProgramState::listingRequested, this, &ListingPage::AfficheCandidatures);
    buildMenus();
    showFilters();

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
    ++statsGeneration_;
    for (const auto& worker : stats_)
        worker->wait();
    stats_.clear();
}

// ---- Sort menus -----------------------------------------------------------------

void ListingPage::buildMenus()
{
    PopupMenu1 = new QMenu(&page_);
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

    // As the menus come before any choice: by date, descending.
    popupTri[0]->setChecked(true);
    frame_.checkSort(0);
    Ordredcroissant1->setChecked(true);
    frame_.checkDirection(true);
}

void ListingPage::setSort(int position)
{
    s_.setSort(QString(QLatin1Char(SortLetters[position])), s_.Sens);
    WriteRegistry(RegistryKey, QStringLiteral("tri"), s_.Tri);
    rebuild(Step::Sort);
}

void ListingPage::setDirection(bool descending)
{
    s_.setSort(s_.Tri, descending ? QStringLiteral("desc") : QString());
    WriteRegistry(RegistryKey, QStringLiteral("sens"), s_.Sens);
    rebuild(Step::List);
}

void ListingPage::popupSortClick(int position)
{
    popupTri[position]->setChecked(true);
    frame_.checkSort(position);
    setSort(position);
}

void ListingPage::frameSortExecute(int position)
{
    frame_.checkSort(position);
    popupTri[position]->setChecked(true);
    setSort(position);
}

void ListingPage::popupDirectionClick(bool descending)
{
    (descending ? Ordredcroissant1 : Ordrecroissant1)->setChecked(true);
    frame_.checkDirection(descending);
    setDirection(descending);
}

void ListingPage::frameDirectionExecute(bool descending)
{
    frame_.checkDirection(descending);
    (descending ? Ordredcroissant1 : Ordrecroissant1)->setChecked(true);
    setDirection(descending);
}

void ListingPage::afterLoading()
{
    // The stored order is checked in both menus, then the listing is built
    // once in that order.
    const int position = sortPosition(s_.Tri);
    if (position >= 0) {
        popupTri[position]->setChecked(true);
        frame_.checkSort(position);
    }
    if (s_.Sens.isEmpty() || s_.Sens == QLatin1String("desc")) {
        const bool descending = !s_.Sens.isEmpty();
        (descending ? Ordredcroissant1 : Ordrecroissant1)->setChecked(true);
        frame_.checkDirection(descending);
    }
    AfficheCandidatures();
}

// ---- Build ------------------------------------------------------------------------

void ListingPage::startStats()
{
    // The count of an earlier build is no longer wanted: its result is
    // dropped when it comes, and the worker is collected once it has ended.
    stats_.erase(std::remove_if(stats_.begin(), stats_.end(),
                                [](const auto& worker) { return worker->isFinished(); }),
                 stats_.end());
    const quint64 generation = ++statsGeneration_;
    ApplicationsPage* page = &page_;
    const Store& store = s_.store();
    stats_.push_back(std::make_unique<TStatsThread>(store.Candidatures, store.Societes,
                                                    QLocale::system(), this,
                                                    [this, page, generation](const QStringList& t) {
                                                        if (generation != statsGeneration_) return;
                                                        for (int i = 0; i < 7 && i < t.size(); ++i)
                                                            page->LabelChiffres[i]->setText(t[i]);
                                                        page->Panel_Chiffres->fitHeight();
                                                    }));
    stats_.back()->start();
}

void ListingPage::AfficheCandidatures()
{
    rebuild(Step::Read);
}

void ListingPage::rebuild(Step from)
{
    ++builds_;
    const Store& store = s_.store();
    ListingGrid* grid = page_.StringGrid1;
    QLabel* filterLabels[5] = {page_.Label_ShowHide, page_.Label_Separateur, page_.Label_AlarmeOnly,
                               page_.Label_Separateur2, page_.Label_RelancesOnly};
    bool anyLive = false;
    for (const TCandidatureRec& c : store.Candidatures)
        if (isLive(c)) {
            anyLive = true;
            break;
        }
    if (!anyLive) {
        base_.reset();
        grid->hide();
        for (QLabel* l : filterLabels)
            l->hide();
        frame_.setStatusText(QString());
        model_->setRows({});
        last_ = {};
        alarmRows_.clear();
        premierAffichage_ = false;
        return;
    }

    std::optional<BusyCursor> busy(std::in_place);
    model_->setBlinkPhase(false);
    frame_.progressStart(4 * qint64(store.Candidatures.size()));

    // The records are read again only when they may have changed; a new
    // order sorts what was read; a filter or the direction only lists it.
    const qint64 day = today();
    QString relance = Readregistry(RegistryKey, QStringLiteral("Relance"));
    if (relance.isEmpty()) relance = QStringLiteral("0");
    if (from == Step::Read || !base_ || baseChanges_ != store.changes() || baseDay_ != day ||
        baseRelance_ != relance) {
        startStats();
        if (!companies_ || companiesChanges_ != store.changes(FileKind::Societes)) {
            companies_.emplace(store.Societes);
            companiesChanges_ = store.changes(FileKind::Societes);
        }
        base_ = readListing(store.Candidatures, store.Societes, *companies_, day, relance);
        baseChanges_ = store.changes();
        baseDay_ = day;
        baseRelance_ = relance;
    }
    PrepareTri(s_.Tri, OrdreCles_);
    if (!base_->sorted || base_->keys != OrdreCles_) sortListing(*base_, OrdreCles_);
    ListingResult result =
        listRows(*base_, {s_.MasquerTerminees, s_.AlarmesSeules, s_.RelancesSeules},
                 s_.Sens == QLatin1String("desc"));
    frame_.progressStep(4 * qint64(store.Candidatures.size()));

    if (result.rows.isEmpty()) {
        grid->hide();
        frame_.progressHide();
        model_->setRows({});
        last_ = result;
        alarmRows_.clear();
        busy.reset();
        reportBadDates(result.badDates);
        return;
    }

    grid->show();
    page_.Label_Separateur->show();
    page_.Label_AlarmeOnly->show();
    alarmRows_.clear();
    for (int r = 0; r < result.rows.size(); ++r)
        if (result.rows[r].alarme) alarmRows_.append(r);
    model_->setRows(result.rows);
    grid->clearSelection();
    grid->setColumnWidths(int(result.rows.size()));
    page_.Label_ShowHide->show();
    frame_.setStatusText(statusText(result));
    page_.Label_RelancesOnly->setVisible(result.relanceOn);
    page_.Label_Separateur2->setVisible(result.relanceOn);
    page_.PositionneLabels();
    grid->setFocus();
    frame_.progressHide();
    last_ = std::move(result);
    busy.reset();

    if (premierAffichage_) {
        premierAffichage_ = false;
        if (last_.alarmes > 0) msg::information(alarmMessage(last_.alarmes));
    }
    reportBadDates(last_.badDates);
}

void ListingPage::reportBadDates(const QList<int>& positions)
{
    if (positions.isEmpty() || badDatesReported_) return;
    badDatesReported_ = true;
    const Store& store = s_.store();
    QStringList titles;
    for (int i = 0; i < positions.size() && i < 5; ++i)
        titles.append(
            QStringLiteral("« %1 »").arg(store.Candidatures[positions[i]].intitule.text()));
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
    frame_.setSortMenuVisible(s_.MenuAffichageVisible);
    if (s_.RafraichirListing) {
        AfficheCandidatures();
        if (page_.editorShown()) emit openRequested();
    }
    s_.RafraichirListing = false;
    frame_.placePanels();
}

// ---- Grid events --------------------------------------------------------------------

void ListingPage::StringGrid1Click()
{
    const int row = page_.StringGrid1->selectedRow();
    if (row >= 0 && row < model_->rowCount())
        s_.chooseCandidature(model_->candidature(row).id, model_->row(row).index);
}

void ListingPage::StringGrid1SelectCell(int column, int row)
{
    if (row < 0 || row >= model_->rowCount()) return;
    s_.chooseCandidature(model_->candidature(row).id, model_->row(row).index);
    if (column != 10) return;
    TLigneListing& l = model_->row(row);
    Store& store = s_.store();
    const QList<TCandidatureRec>& table = store.Candidatures;
    if (l.index >= table.size() || qint32(table[l.index].id) != s_.IdCandidature) return;
    TCandidatureRec copy = table[l.index];
    copy.marqueur = quint8(l.marqueur ? 0 : 1);
    if (!reported(store.UpdateCandidature(l.index, copy))) return;
    l.marqueur = copy.marqueur;
    model_->cellsChanged(row, 10);
}

void ListingPage::StringGrid1DblClick()
{
    emit openRequested();
}

void ListingPage::StringGrid1MouseUp(const QPoint& globalPos)
{
    PopupMenu1->popup(globalPos);
}

// ---- Filters -------------------------------------------------------------------------

void ListingPage::showFilters()
{
    page_.Label_ShowHide->setCaption(GetTxt(s_.MasquerTerminees ? 209 : 210));
    page_.Label_AlarmeOnly->setCaption(GetTxt(s_.AlarmesSeules ? 215 : 216));
    page_.Label_RelancesOnly->setCaption(GetTxt(s_.RelancesSeules ? 215 : 217));
    page_.PositionneLabels();
}

void ListingPage::Label_ShowHideClick()
{
    s_.setMasquerTerminees(!s_.MasquerTerminees);
    rebuild(Step::List);
}

void ListingPage::Label_AlarmeOnlyClick()
{
    s_.setAlarmesSeules(!s_.AlarmesSeules);
    rebuild(Step::List);
}

void ListingPage::Label_RelancesOnlyClick()
{
    s_.setRelancesSeules(!s_.RelancesSeules);
    rebuild(Step::List);
}

void ListingPage::Label_LegendeClick()
{
    if (!legende_) legende_ = new TLegende(&page_);
    legende_->showLegend();
}

// ---- Listing report ------------------------------------------------------------------

bool ListingPage::listingReport(report::Report* r, bool exportMode) const
{
    if (page_.StringGrid1->isHidden() || model_->rowCount() == 0) {
        msg::information(QStringLiteral("Veuillez créer au moins une candidature."));
        return false;
    }
    const BusyCursor busy;
    ListingReportInput in;
    in.rows = model_->rows();
    for (const QLabel* l : page_.LabelChiffres)
        in.figures.append(l->text());
    in.now = QDateTime::currentDateTime();
    in.exportMode = exportMode;
    *r = ReportListing(s_.store(), in);
    return true;
}

void ListingPage::LienApercuListingClick()
{
    report::Report r;
    if (!listingReport(&r)) return;
    previewReport(r, &page_);
}

void ListingPage::LienImprimerListingClick()
{
    report::Report r;
    if (!listingReport(&r)) return;
    printReportWithDialog(r, &page_);
}

void ListingPage::LienExportListingClick()
{
    if (page_.StringGrid1->isHidden() || model_->rowCount() == 0) {
        msg::information(QStringLiteral("Veuillez créer au moins une candidature."));
        return;
    }
    QString file = dialogs::saveFile(&page_, QStringLiteral("Exporter vers Excel"),
                                     GetTxt(186) + QStringLiteral(" Excel (*.xlsx)"), QString(),
                                     QStringLiteral("xlsx"));
    if (file.isEmpty()) return;
    if (!file.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        file += QStringLiteral(".xlsx");
    report::Report r;
    if (!listingReport(&r, true)) return;
    QString error;
    {
        const BusyCursor busy;
        if (!report::writeXlsx(report::reportGrid(r), file, &error)) {
            msg::error(QStringLiteral("Impossible d'enregistrer \"%1\" :").arg(file) + CR + CR +
                       frenchErrorText(error));
            return;
        }
    }
    // Opened with the desktop's spreadsheet program, when there is one.
    ExecuteFile(file);
}

// ---- Alarms ----------------------------------------------------------------------------

void ListingPage::blink()
{
    if (alarmRows_.isEmpty()) return;
    model_->setBlinkPhase(!model_->blinkPhase());
    ListingGrid* grid = page_.StringGrid1;
    const int top = grid->topRow();
    // Only the rows on screen are painted.
    auto it = std::lower_bound(alarmRows_.cbegin(), alarmRows_.cend(), top);
    for (; it != alarmRows_.cend() && *it <= top + grid->visibleRows(); ++it)
        grid->viewport()->update(grid->visualRect(model_->index(*it, 0)));
}
