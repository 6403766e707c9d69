// Rebuilding the application listing and counting the key figures, against
// the plain sort of the elements the listing sorts.
//
//  BM_StdSortElements
//                std::sort of the listing's sort elements, built once before
//                the timing exactly as the listing builds them (every live
//                application whose company is found, no filter), with the
//                listing's comparison. Each run sorts a fresh copy of the
//                unsorted elements; the copy is made with the timers paused
//                and is not in the figure.
//  BM_ListingRebuild
//                the rebuild as the applications page does it after a change
//                to the applications: the reading of the whole table, the
//                sort and the rows, with a fixed day, a follow-up delay of
//                15 days and no filter. The companies' part (CompanyKeys),
//                which the page keeps while the companies are unchanged, is
//                made before the timing. Freeing the result is not timed
//                (the program keeps it until the next rebuild).
//  BM_CompanyKeys
//                that companies' part alone, as the page makes it again
//                after a change to the companies: the index of the ids and
//                the places of the names.
//  BM_KeyFigures countFigures over the applications and the seven label texts.
//
// The data are generated once, with a fixed reference day, and shared by every
// benchmark of this file. BM_ListingRebuild and BM_KeyFigures report their time
// as a multiple of the plain sort under the same keys in the counter "x_sort"
// (BM_KeyFigures: under "d"), when that sort ran before them; the sort's time
// is then its mean over all its runs, repetitions included.

#include "applications/listingrules.h"
#include "applications/sort.h"
#include "bench/datagen.h"
#include "reports/statistics.h"
#include "store/helpers.h"
#include "store/records.h"
#include "store/societeindex.h"

#include <QLocale>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

const QDate ReferenceDay(2024, 6, 14);

const datagen::GeneratedData& data()
{
    static const std::unique_ptr<datagen::GeneratedData> generated = [] {
        datagen::Sizes sizes;
        sizes.reference = ReferenceDay;
        // ORVALDIS_BENCH_APPLICATIONS=N measures another table size.
        bool ok = false;
        const int n = qEnvironmentVariableIntValue("ORVALDIS_BENCH_APPLICATIONS", &ok);
        if (ok && n > 0) sizes.candidatures = n;
        return std::make_unique<datagen::GeneratedData>(datagen::generate(sizes));
    }();
    return *generated;
}

qint64 today()
{
    return dayNumber(ReferenceDay.year(), ReferenceDay.month(), ReferenceDay.day());
}

OrdreCles keysOf(const char* letter)
{
    OrdreCles keys{};
    PrepareTri(QString::fromLatin1(letter), keys);
    return keys;
}

// The sort elements of the listing without filter, in table order, filled as
// buildListing fills them.
std::vector<TElementListing> listedElements(const datagen::GeneratedData& d,
                                            const SocieteIndex& index)
{
    std::vector<TElementListing> list;
    list.reserve(size_t(d.candidatures.size()));
    for (int i = 0; i < d.candidatures.size(); ++i) {
        const TCandidatureRec& c = d.candidatures[i];
        if (!isLive(c)) continue;
        const int s = index.find(c.id_societe);
        if (s < 0) continue;
        const TSocieteRec& societe = d.societes[s];
        list.push_back(listingElement(c, societe, i, qMax(readDate(c.date).number, 0)));
    }
    return list;
}

void sortElements(std::vector<TElementListing>& v, const OrdreCles& keys)
{
    std::sort(v.begin(), v.end(), [&](const TElementListing& a, const TElementListing& b) {
        return compareElements(a, b, keys) < 0;
    });
}

// Positions in the table of the sorted elements, in the order of the sort.
std::vector<int> sortedPositions(const char* letter)
{
    const datagen::GeneratedData& d = data();
    const SocieteIndex index(d.societes);
    std::vector<TElementListing> v = listedElements(d, index);
    sortElements(v, keysOf(letter));
    std::vector<int> positions;
    positions.reserve(v.size());
    for (const TElementListing& e : v)
        positions.push_back(e.index);
    return positions;
}

// Time spent in the plain sort under each sort letter, over every run of it
// so far (its repetitions included), and the iterations it took.
struct SortTotal {
    double seconds = 0;
    qint64 iterations = 0;
    double mean() const { return iterations > 0 ? seconds / double(iterations) : 0; }
};
std::map<std::string, SortTotal> sortTotals;

// Mean seconds of the plain sort under this letter; 0 when it did not run.
double sortMean(const char* letter)
{
    const auto found = sortTotals.find(letter);
    return found == sortTotals.end() ? 0 : found->second.mean();
}

void BM_StdSortElements(benchmark::State& state, const char* letter)
{
    const datagen::GeneratedData& d = data();
    const SocieteIndex index(d.societes);
    const std::vector<TElementListing> unsorted = listedElements(d, index);
    if (unsorted.empty()) {
        state.SkipWithError("no listed application in the generated data");
        return;
    }
    const OrdreCles keys = keysOf(letter);
    std::vector<TElementListing> work;
    work.reserve(unsorted.size());
    Clock::duration spent{};
    for (auto _ : state) {
        state.PauseTiming();
        work.assign(unsorted.begin(), unsorted.end());
        state.ResumeTiming();
        const auto t0 = Clock::now();
        sortElements(work, keys);
        spent += Clock::now() - t0;
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    // The result is a sorted order, or the figure measured something else.
    for (size_t k = 1; k < work.size(); ++k)
        if (compareElements(work[k - 1], work[k], keys) > 0) {
            state.SkipWithError("the elements did not come out sorted");
            return;
        }
    state.SetItemsProcessed(state.iterations() * qint64(unsorted.size()));
    state.counters["elements"] = double(unsorted.size());
    SortTotal& total = sortTotals[letter];
    total.seconds += seconds(spent);
    total.iterations += qint64(state.iterations());
}

ListingInput inputFor(const char* letter, bool descending)
{
    ListingInput in;
    in.today = today();
    in.relance = QStringLiteral("15");
    in.keys = keysOf(letter);
    in.descending = descending;
    return in;
}

void BM_ListingRebuild(benchmark::State& state, const char* letter, bool descending)
{
    const datagen::GeneratedData& d = data();
    const ListingInput in = inputFor(letter, descending);

    // Outside the timing: the listing lists the elements the plain sort sorts,
    // in an order the plain sort's comparison agrees with (elements that
    // compare equal may come in another order).
    {
        const SocieteIndex index(d.societes);
        const ListingResult r = buildListing(d.candidatures, d.societes, index, in);
        if (r.rows.isEmpty()) {
            state.SkipWithError("the listing has no row");
            return;
        }
        const std::vector<int> expected = sortedPositions(letter);
        std::vector<int> listed;
        for (const TLigneListing& l : r.rows)
            listed.push_back(l.index);
        std::vector<int> a = expected, b = listed;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        if (a != b) {
            state.SkipWithError("the listing and the plain sort do not hold the same elements");
            return;
        }
        const std::vector<TElementListing> all = listedElements(d, index);
        std::vector<const TElementListing*> byIndex(size_t(d.candidatures.size()), nullptr);
        for (const TElementListing& e : all)
            byIndex[size_t(e.index)] = &e;
        const OrdreCles keys = keysOf(letter);
        for (size_t k = 1; k < listed.size(); ++k) {
            const int c =
                compareElements(*byIndex[size_t(listed[k - 1])], *byIndex[size_t(listed[k])], keys);
            if (descending ? c < 0 : c > 0) {
                state.SkipWithError("the listing's order differs from the plain sort's");
                return;
            }
        }
    }

    const CompanyKeys companies(d.societes);
    Clock::duration spent{};
    qint64 rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ListingBase base = readListing(d.candidatures, d.societes, companies, in.today, in.relance);
        sortListing(base, in.keys);
        ListingResult r = listRows(base, in.filters, in.descending);
        spent += Clock::now() - t0;
        benchmark::DoNotOptimize(r.rows.constData());
        rows = r.rows.size();
        state.PauseTiming();
        r = {};
        state.ResumeTiming();
    }
    if (rows == 0) {
        state.SkipWithError("the listing has no row");
        return;
    }
    state.SetItemsProcessed(state.iterations() * qint64(d.candidatures.size()));
    state.counters["rows"] = double(rows);
    const double mean = seconds(spent) / double(state.iterations());
    if (const double sorted = sortMean(letter); sorted > 0)
        state.counters["x_sort"] = mean / sorted;
}

void BM_CompanyKeys(benchmark::State& state)
{
    const datagen::GeneratedData& d = data();
    qint64 ranked = 0;
    for (auto _ : state) {
        const CompanyKeys keys(d.societes);
        benchmark::DoNotOptimize(keys.ranks.constData());
        ranked = keys.ranks.size();
    }
    if (ranked != d.societes.size()) {
        state.SkipWithError("not every company has its place");
        return;
    }
    state.SetItemsProcessed(state.iterations() * qint64(d.societes.size()));
    state.counters["companies"] = double(d.societes.size());
}

void BM_KeyFigures(benchmark::State& state)
{
    const datagen::GeneratedData& d = data();
    int societes = 0;
    for (const TSocieteRec& s : d.societes)
        if (isLive(s)) ++societes;
    const QLocale locale(QLocale::French, QLocale::France);

    KeyFigures figures;
    try {
        figures = countFigures(d.candidatures, societes);
    } catch (const DateError& e) {
        state.SkipWithError(e.what());
        return;
    }
    if (figures.candidatures == 0 || figures.entretiens == 0 || figures.delays == 0) {
        state.SkipWithError("the generated data give no figure to count");
        return;
    }

    Clock::duration spent{};
    QStringList texts;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const KeyFigures f = countFigures(d.candidatures, societes);
        texts = keyFigureTexts(f, locale);
        spent += Clock::now() - t0;
        benchmark::DoNotOptimize(texts.constData());
    }
    if (texts.size() != 7) {
        state.SkipWithError("the key figures do not have seven labels");
        return;
    }
    state.SetItemsProcessed(state.iterations() * qint64(d.candidatures.size()));
    state.counters["candidatures"] = double(figures.candidatures);
    const double mean = seconds(spent) / double(state.iterations());
    if (const double sorted = sortMean("d"); sorted > 0) state.counters["x_sort"] = mean / sorted;
}

BENCHMARK_CAPTURE(BM_StdSortElements, d, "d")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_StdSortElements, s, "s")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ListingRebuild, d_asc, "d", false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ListingRebuild, s_desc, "s", true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CompanyKeys)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KeyFigures)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
