#pragma once
// The application listing on the first page: its build, its filters, its two
// sort menus kept in step, the marker toggle, the key figures started by
// every build, and the blinking of due alarms.

#include "applications/listingmodel.h"
#include "applications/sort.h"
#include "platform/report/report.h"
#include "reports/statsthread.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ApplicationsPage;
class FrameServices;
class ProgramState;
class QAction;
class QMenu;
class TLegende;

class ListingPage : public QObject
{
    Q_OBJECT
public:
    ListingPage(ApplicationsPage& page, ProgramState& state, FrameServices& frame);
    ~ListingPage() override;

    // Rebuilds the listing as a whole.
    void AfficheCandidatures();
    // After the start-up loading: the stored sort checked in the menus, and
    // the first build in that order.
    void afterLoading();
    // The page becomes visible.
    void TabSheet1Show();
    // Stops the blinking and waits for the key-figures counts still running.
    void stop();

    // Grid events.
    void StringGrid1Click();
    void StringGrid1SelectCell(int column, int row);
    void StringGrid1DblClick();
    void StringGrid1MouseUp(const QPoint& globalPos);

    // Filter links.
    void Label_ShowHideClick();
    void Label_AlarmeOnlyClick();
    void Label_RelancesOnlyClick();
    void Label_LegendeClick();

    // The listing report as it stands: preview, print.
    void LienApercuListingClick();
    void LienImprimerListingClick();
    // The listing written as a spreadsheet, then opened.
    void LienExportListingClick();

    // Sort commands: position 0-6 in the order of the menus.
    void popupSortClick(int position);
    void popupDirectionClick(bool descending);
    void frameSortExecute(int position);
    void frameDirectionExecute(bool descending);

    ListingModel* model() const { return model_; }
    const ListingResult& lastBuild() const { return last_; }
    const OrdreCles& keys() const { return OrdreCles_; }
    // How many times the listing was built since the page was made.
    int buildCount() const { return builds_; }
    QMenu* PopupMenu1 = nullptr;
    QAction* popupTri[7] = {};
    QAction* Ordrecroissant1 = nullptr;
    QAction* Ordredcroissant1 = nullptr;
    TLegende* legende() const { return legende_; }

    // Today as a day number; tests fix it.
    std::function<qint64()> today;

    // One phase of the alarm blinking (every 600 ms on a timer).
    void blink();
    // The key-figures worker of the last build (null once it has ended and
    // been collected), for whoever must wait for it.
    TStatsThread* statsWorker() const { return stats_.empty() ? nullptr : stats_.back().get(); }

signals:
    // The user asked to open the chosen application (double click).
    void openRequested();

private:
    // Where a build starts: reading the records, sorting what was read, or
    // listing what was sorted under the filters and the direction.
    enum class Step { Read, Sort, List };
    void rebuild(Step from);
    void buildMenus();
    void setSort(int position);
    void setDirection(bool descending);
    void reportBadDates(const QList<int>& positions);
    void startStats();
    void showFilters();
    // The listing report, or nothing (with the message) when no row is shown.
    bool listingReport(report::Report* r, bool exportMode = false) const;

    ApplicationsPage& page_;
    ProgramState& s_;
    FrameServices& frame_;
    ListingModel* model_;
    ListingDelegate* delegate_;
    OrdreCles OrdreCles_{};
    ListingResult last_;
    // What the last build read, and what it depends on.
    std::optional<ListingBase> base_;
    quint64 baseChanges_ = 0;
    qint64 baseDay_ = 0;
    QString baseRelance_;
    // The companies' part of the reading, kept while that table is unchanged.
    std::optional<CompanyKeys> companies_;
    quint64 companiesChanges_ = 0;
    QList<int> alarmRows_; // rows whose alarm is due, in increasing order
    // Key-figures workers: the last one started, and older ones whose result
    // is no longer wanted but which are still counting.
    std::vector<std::unique_ptr<TStatsThread>> stats_;
    quint64 statsGeneration_ = 0;
    QTimer blinkTimer_;
    TLegende* legende_ = nullptr;
    bool badDatesReported_ = false;
    int builds_ = 0;
    bool premierAffichage_ = true; // the alarm message comes with the first listing only
};
