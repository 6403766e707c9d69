// Start-up loading of the four data files, against the plain read of the
// same bytes.
//
//  BM_RawRead    reads each file whole into a buffer allocated and touched
//                beforehand: the floor set by the file system and the page
//                cache.
//  BM_RawReadFreshMemory
//                the same into buffers allocated for each run, as the tables
//                are: adds what the kernel spends handing out new pages.
//  BM_RawReadFreshLargePages
//                the same with the large-page advice the loader gives its
//                tables: the floor the loader is held to.
//  BM_Load       runs the start-up loader thread as the program does: the
//                tables are filled on the loader thread and handed to the
//                interface thread, which spins its event loop meanwhile.
//
// All read files that are already in the page cache (each runs once before
// it is timed). The buffers start on a 64-byte boundary: the kernel was
// measured copying into a destination aligned on only 8 or 16 bytes two to
// four times more slowly (a table's storage starts 32 bytes past one, which
// copies as fast as 64).
// BM_Load reports its time as a multiple of BM_RawRead's in the counter
// "x_raw", of BM_RawReadFreshMemory's in "x_fresh" and of
// BM_RawReadFreshLargePages's in "x_large", when those ran; the reads into
// new memory and BM_Load also give the median of their single runs
// ("median_ms"), and BM_Load the ratio of the medians ("x_large_median").

#include "bench/datagen.h"
#include "store/loader.h"
#include "store/recordfile.h"
#include "store/store.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

const char* const FileNames[4] = {"societes.dat", "contacts.dat", "candidatures.dat",
                                  "favoris.dat"};

// The four files, generated once for every benchmark of this file.
struct LoadFiles {
    QTemporaryDir dir;
    qint64 records[4] = {};
    qint64 bytes[4] = {};
    QString error;

    QString path(int k) const { return dir.filePath(QString::fromLatin1(FileNames[k])); }
    qint64 totalBytes() const { return bytes[0] + bytes[1] + bytes[2] + bytes[3]; }
    qint64 totalRecords() const { return records[0] + records[1] + records[2] + records[3]; }
};

const LoadFiles& loadFiles()
{
    static const std::unique_ptr<LoadFiles> files = [] {
        auto f = std::make_unique<LoadFiles>();
        if (!f->dir.isValid()) {
            f->error = QStringLiteral("no temporary directory");
            return f;
        }
        // Generated with a fixed day so that every run loads the same bytes.
        datagen::Sizes sizes;
        sizes.reference = QDate(2024, 6, 14);
        const datagen::GeneratedData data = datagen::generate(sizes);
        if (!datagen::writeDataFiles(f->dir.path(), data, &f->error)) return f;
        f->records[0] = data.societes.size();
        f->records[1] = data.contacts.size();
        f->records[2] = data.candidatures.size();
        f->records[3] = data.favoris.size();
        const qint64 sizesOf[4] = {sizeof(TSocieteRec), sizeof(TContactRec),
                                   sizeof(TCandidatureRec), sizeof(TFavoriRec)};
        for (int k = 0; k < 4; ++k)
            f->bytes[k] = f->records[k] * sizesOf[k];
        return f;
    }();
    return *files;
}

} // namespace

// Mean seconds per iteration of the last run of each raw read, 0 before it
// ran; the start-up benchmark compares itself with the read into new memory.
double rawReadSeconds = 0;
double freshReadSeconds = 0;
double largeReadSeconds = 0;
double largeReadMedian = 0;

namespace
{

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The middle one of the times of single runs. On a virtual machine, a run
// now and then takes ten times the others while the host hands out memory;
// the median shows the usual run, the mean counts those as well.
double median(std::vector<double> times)
{
    if (times.empty()) return 0;
    std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
    return times[times.size() / 2];
}

// A buffer of `size` bytes starting on a 64-byte boundary, not yet touched.
struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<char, FreeDeleter>;
Buffer newBuffer(qint64 size)
{
    const size_t rounded = (size_t(size) + 63) / 64 * 64;
    return Buffer(static_cast<char*>(std::aligned_alloc(64, rounded ? rounded : 64)));
}

std::vector<Buffer> newBuffers(const LoadFiles& f, bool largePages = false)
{
    std::vector<Buffer> buffers;
    for (int k = 0; k < 4; ++k) {
        buffers.push_back(newBuffer(f.bytes[k]));
        if (largePages) recordfile::adviseLargePages(buffers.back().get(), f.bytes[k]);
    }
    return buffers;
}

bool readRaw(const LoadFiles& f, std::vector<Buffer>& buffers)
{
    for (int k = 0; k < 4; ++k) {
        if (!buffers[k]) return false;
        QFile file(f.path(k));
        if (!file.open(QIODevice::ReadOnly)) return false;
        if (file.read(buffers[k].get(), f.bytes[k]) != f.bytes[k]) return false;
    }
    return true;
}

void BM_RawRead(benchmark::State& state)
{
    const LoadFiles& f = loadFiles();
    if (!f.error.isEmpty()) {
        state.SkipWithError(qPrintable(f.error));
        return;
    }
    std::vector<Buffer> buffers = newBuffers(f);
    if (!readRaw(f, buffers)) {
        state.SkipWithError("reading the data files failed");
        return;
    }
    Clock::duration spent{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const bool ok = readRaw(f, buffers);
        spent += Clock::now() - t0;
        if (!ok) {
            state.SkipWithError("reading the data files failed");
            return;
        }
        benchmark::DoNotOptimize(buffers.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * f.totalBytes());
    state.counters["records"] = double(f.totalRecords());
    rawReadSeconds = seconds(spent) / double(state.iterations());
}

void rawReadFresh(benchmark::State& state, bool largePages)
{
    const LoadFiles& f = loadFiles();
    if (!f.error.isEmpty()) {
        state.SkipWithError(qPrintable(f.error));
        return;
    }
    {
        std::vector<Buffer> warm = newBuffers(f);
        if (!readRaw(f, warm)) {
            state.SkipWithError("reading the data files failed");
            return;
        }
    }
    Clock::duration spent{};
    std::vector<double> times;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::vector<Buffer> buffers = newBuffers(f, largePages);
        const bool ok = readRaw(f, buffers);
        spent += Clock::now() - t0;
        times.push_back(seconds(Clock::now() - t0));
        benchmark::DoNotOptimize(buffers.data());
        benchmark::ClobberMemory();
        // Giving the memory back is not part of the start-up.
        state.PauseTiming();
        buffers.clear();
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("reading the data files failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * f.totalBytes());
    state.counters["records"] = double(f.totalRecords());
    (largePages ? largeReadSeconds : freshReadSeconds) =
        seconds(spent) / double(state.iterations());
    if (largePages) largeReadMedian = median(times);
    state.counters["median_ms"] = median(times) * 1e3;
}

void BM_RawReadFreshMemory(benchmark::State& state)
{
    rawReadFresh(state, false);
}

void BM_RawReadFreshLargePages(benchmark::State& state)
{
    rawReadFresh(state, true);
}

// Counts what the loader tells the interface and ends the event loop.
class CountingTarget : public LoaderTarget
{
public:
    explicit CountingTarget(QEventLoop* loop) : loop_(loop) {}

    void loaderStatus(const QString&) override { ++statuses; }
    void loaderBegin(qint64 total) override { announced = total; }
    void loaderStep(qint64 records) override
    {
        ++stepCalls;
        stepped += records;
    }
    void loaderEnd() override
    {
        ended = true;
        loop_->quit();
    }

    int statuses = 0;
    qint64 announced = -1;
    int stepCalls = 0;
    qint64 stepped = 0;
    bool ended = false;

private:
    QEventLoop* loop_;
};

struct LoadResult {
    std::unique_ptr<Store> store;
    int stepCalls = 0;
};

// One start-up loading into a new store; an empty text when the tables came
// out as the files hold them.
QString loadOnce(const LoadFiles& f, LoadResult& result)
{
    result.store = std::make_unique<Store>(f.dir.path());
    QEventLoop loop;
    CountingTarget target(&loop);
    QObject context; // on this thread, which plays the interface thread
    TExeThread thread(result.store.get(), &target, &context);
    // Ends the loop as well when the thread stops without its last call.
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread.start();
    loop.exec();
    thread.wait();
    result.stepCalls = target.stepCalls;

    const Store& s = *result.store;
    if (!target.ended) return QStringLiteral("the loader stopped before its end");
    const qint64 got[4] = {s.Societes.size(), s.Contacts.size(), s.Candidatures.size(),
                           s.Favoris.size()};
    for (int k = 0; k < 4; ++k) {
        if (s.loadFailed(FileKind(k)))
            return QString::fromLatin1(FileNames[k]) + QStringLiteral(": ") +
                   s.loadError(FileKind(k));
        if (got[k] != f.records[k])
            return QStringLiteral("%1: %2 records loaded, %3 in the file")
                .arg(QString::fromLatin1(FileNames[k]))
                .arg(got[k])
                .arg(f.records[k]);
    }
    if (target.announced != f.records[0] + f.records[1] + f.records[2])
        return QStringLiteral("loading announced %1 records").arg(target.announced);
    if (target.stepped != f.totalRecords())
        return QStringLiteral("progress went through %1 records").arg(target.stepped);
    return QString();
}

// The tables hold exactly the bytes of the files.
QString compareWithFiles(const LoadFiles& f, const Store& s)
{
    const void* tables[4] = {s.Societes.constData(), s.Contacts.constData(),
                             s.Candidatures.constData(), s.Favoris.constData()};
    for (int k = 0; k < 4; ++k) {
        QFile file(f.path(k));
        if (!file.open(QIODevice::ReadOnly)) return file.errorString();
        const QByteArray bytes = file.readAll();
        if (bytes.size() != f.bytes[k] ||
            std::memcmp(bytes.constData(), tables[k], size_t(bytes.size())) != 0)
            return QString::fromLatin1(FileNames[k]) + QStringLiteral(": table differs from file");
    }
    return QString();
}

void BM_Load(benchmark::State& state)
{
    const LoadFiles& f = loadFiles();
    if (!f.error.isEmpty()) {
        state.SkipWithError(qPrintable(f.error));
        return;
    }
    LoadResult warm;
    QString problem = loadOnce(f, warm);
    if (problem.isEmpty()) problem = compareWithFiles(f, *warm.store);
    warm.store.reset();
    if (!problem.isEmpty()) {
        state.SkipWithError(qPrintable(problem));
        return;
    }
    Clock::duration spent{};
    std::vector<double> times;
    int stepCalls = 0;
    for (auto _ : state) {
        LoadResult result;
        const auto t0 = Clock::now();
        problem = loadOnce(f, result);
        spent += Clock::now() - t0;
        times.push_back(seconds(Clock::now() - t0));
        stepCalls = result.stepCalls;
        // Freeing the tables is not part of the start-up.
        state.PauseTiming();
        result.store.reset();
        state.ResumeTiming();
        if (!problem.isEmpty()) {
            state.SkipWithError(qPrintable(problem));
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * f.totalBytes());
    state.counters["records"] = double(f.totalRecords());
    state.counters["steps"] = double(stepCalls);
    const double mean = seconds(spent) / double(state.iterations());
    if (rawReadSeconds > 0) state.counters["x_raw"] = mean / rawReadSeconds;
    if (freshReadSeconds > 0) state.counters["x_fresh"] = mean / freshReadSeconds;
    if (largeReadSeconds > 0) state.counters["x_large"] = mean / largeReadSeconds;
    state.counters["median_ms"] = median(times) * 1e3;
    if (largeReadMedian > 0) state.counters["x_large_median"] = median(times) / largeReadMedian;
}

BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawReadFreshMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawReadFreshLargePages)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
