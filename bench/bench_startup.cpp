// What the user feels, on the benchmark data (100,000 applications):
//  BM_StartupToRowsPainted
//      from the main window's creation to its first paint with the listing's
//      rows, through the loading of the four files and the first listing
//      build. The splash is not part of it. The counter "x_read" gives the
//      time as a multiple of reading the same files into new memory
//      with the large-page advice the tables get (BM_RawReadFreshLargePages),
//      when that ran before.
//  BM_SortChange, BM_DirectionChange, BM_FilterToggle
//      from the command to the repainted window, in the started program.

#include "applications/listingmodel.h"
#include "applications/listingpage.h"
#include "bench/datagen.h"
#include "platform/messages.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

extern double largeReadSeconds;

namespace
{

using Clock = std::chrono::steady_clock;

// Messages (the alarm message at start-up) are answered at once.
class Quiet : public msg::Sink
{
public:
    bool show(msg::Kind, const QString&, bool) override
    {
        ++shown;
        return true;
    }
    int shown = 0;
};

struct ProgramFolder {
    QTemporaryDir dir;
    QString error;
};

const ProgramFolder& programFolder()
{
    static const std::unique_ptr<ProgramFolder> folder = [] {
        auto f = std::make_unique<ProgramFolder>();
        datagen::Sizes sizes;
        sizes.reference = QDate::currentDate();
        if (!datagen::writeDataFiles(f->dir.path(), datagen::generate(sizes), &f->error)) return f;
        // The language modules of the build, as beside the program.
        if (!QFile::link(QStringLiteral(ORVALDIS_LANG_DIR),
                         f->dir.filePath(QStringLiteral("Lang"))))
            f->error = QStringLiteral("no language modules at " ORVALDIS_LANG_DIR);
        return f;
    }();
    return *folder;
}

void BM_StartupToRowsPainted(benchmark::State& state)
{
    const ProgramFolder& f = programFolder();
    if (!f.error.isEmpty()) {
        state.SkipWithError(qPrintable(f.error));
        return;
    }
    Quiet quiet;
    msg::install(&quiet);
    setRegistryFile(f.dir.filePath(QStringLiteral("ORVALDIS.ini")));
    double spent = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        auto frame = std::make_unique<TMDIParent>(f.dir.path());
        if (!frame->FormCreate() || !frame->createMainWindow()) {
            state.SkipWithError("the main window could not be made");
            break;
        }
        QEventLoop loop;
        QObject::connect(frame->formGeneral(), &TFormGeneral::loaded, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        frame->show();
        loop.exec();
        frame->repaint();
        spent += std::chrono::duration<double>(Clock::now() - t0).count();
        state.PauseTiming();
        rows = frame->formGeneral()->listing()->model()->rowCount();
        frame->close();
        frame.reset();
        state.ResumeTiming();
    }
    msg::install(nullptr);
    state.counters["rows"] = rows;
    if (largeReadSeconds > 0 && state.iterations() > 0)
        state.counters["x_read"] = spent / double(state.iterations()) / largeReadSeconds;
}

// The program started once for the commands that follow.
struct Started {
    Quiet quiet;
    std::unique_ptr<TMDIParent> frame;
    ListingPage* listing = nullptr;
    QString error;
};

std::unique_ptr<Started> startedProgram;

Started& started()
{
    if (!startedProgram) {
        // Closed while the application object still exists.
        qAddPostRoutine([] {
            if (startedProgram && startedProgram->frame) startedProgram->frame->close();
            startedProgram.reset();
            msg::install(nullptr);
        });
        startedProgram = [] {
            auto p = std::make_unique<Started>();
            const ProgramFolder& f = programFolder();
            p->error = f.error;
            if (!p->error.isEmpty()) return p;
            msg::install(&p->quiet);
            setRegistryFile(f.dir.filePath(QStringLiteral("ORVALDIS.ini")));
            p->frame = std::make_unique<TMDIParent>(f.dir.path());
            p->frame->FormCreate();
            p->frame->createMainWindow();
            QEventLoop loop;
            QObject::connect(p->frame->formGeneral(), &TFormGeneral::loaded, &loop,
                             &QEventLoop::quit);
            p->frame->show();
            loop.exec();
            p->listing = p->frame->formGeneral()->listing();
            return p;
        }();
    }
    return *startedProgram;
}

template <class Command> void timeCommand(benchmark::State& state, Command command)
{
    Started& s = started();
    if (!s.error.isEmpty()) {
        state.SkipWithError(qPrintable(s.error));
        return;
    }
    int k = 0;
    for (auto _ : state) {
        command(s.listing, k++);
        s.frame->repaint();
    }
    state.counters["rows"] = s.listing->model()->rowCount();
}

void BM_SortChange(benchmark::State& state)
{
    // Date, company, title, in turn.
    timeCommand(state, [](ListingPage* l, int k) {
        l->popupSortClick(k % 3 == 0 ? 0 : k % 3 == 1 ? 1 : 3);
    });
}

void BM_DirectionChange(benchmark::State& state)
{
    timeCommand(state, [](ListingPage* l, int k) { l->popupDirectionClick(k % 2 == 0); });
}

void BM_FilterToggle(benchmark::State& state)
{
    timeCommand(state, [](ListingPage* l, int) { l->Label_ShowHideClick(); });
}

} // namespace

BENCHMARK(BM_StartupToRowsPainted)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SortChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_DirectionChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_FilterToggle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
