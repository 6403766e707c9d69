// The directory's export and import on the benchmark data (10,000 companies,
// 30,000 contacts):
//  BM_ExportText        the directory with its contacts written as delimited text
//  BM_ReadAndCut        the same file read, decoded and every line cut into its
//                       fields, nothing stored
//  BM_ImportIntoEmpty   the same file imported into an empty program folder;
//                       "x_cut" is its time over BM_ReadAndCut's

#include "bench/datagen.h"
#include "directory/exportrules.h"
#include "directory/importrules.h"
#include "store/settings.h"
#include "store/store.h"

#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace
{

struct Directory {
    QTemporaryDir dir;
    QList<TSocieteRec> societes;
    QList<TContactRec> contacts;
    QString file;
    QString error;
};

const Directory& directory()
{
    static const std::unique_ptr<Directory> d = [] {
        auto p = std::make_unique<Directory>();
        datagen::Sizes sizes;
        sizes.reference = QDate(2024, 6, 14);
        const datagen::GeneratedData data = datagen::generate(sizes);
        p->societes = data.societes;
        p->contacts = data.contacts;
        p->file = p->dir.filePath(QStringLiteral("annuaire.csv"));
        QSaveFile out(p->file);
        if (!writeExportText(out, p->societes, p->contacts, {true, ';', '"'}, &p->error) &&
            p->error.isEmpty())
            p->error = QStringLiteral("export failed");
        return p;
    }();
    return *d;
}

ImportSettings allFields()
{
    ImportSettings s;
    for (int i = 0; i < ImportFieldCount; ++i)
        s.columns.append(i);
    return s;
}

double cutSeconds = 0;

void BM_ExportText(benchmark::State& state)
{
    const Directory& d = directory();
    if (!d.error.isEmpty()) return state.SkipWithError(qPrintable(d.error));
    const QString path = d.dir.filePath(QStringLiteral("export.csv"));
    for (auto _ : state) {
        QSaveFile out(path);
        QString error;
        if (!writeExportText(out, d.societes, d.contacts, {true, ';', '"'}, &error))
            return state.SkipWithError(qPrintable(error));
    }
    state.counters["companies"] = double(d.societes.size());
    state.counters["contacts"] = double(d.contacts.size());
}

void BM_ReadAndCut(benchmark::State& state)
{
    const Directory& d = directory();
    if (!d.error.isEmpty()) return state.SkipWithError(qPrintable(d.error));
    const int n = int(ImportFieldCount);
    double spent = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const ImportText text = readImportFile(d.file);
        qsizetype fields = 0;
        for (QStringView line : readLines(text.text))
            fields += cutLine(line, n, u';', u'"', DelimiterRemoval::BothEnds).size();
        benchmark::DoNotOptimize(fields);
        spent += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    cutSeconds = spent / double(state.iterations());
}

void BM_ImportIntoEmpty(benchmark::State& state)
{
    const Directory& d = directory();
    if (!d.error.isEmpty()) return state.SkipWithError(qPrintable(d.error));
    double spent = 0;
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<QTemporaryDir>();
        Store store(folder->path());
        store.Initialisation();
        // The settings file of the folder, as the program has it: the ids
        // given are kept there.
        setRegistryFile(folder->filePath(QStringLiteral("ORVALDIS.ini")));
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        const ImportText text = readImportFile(d.file);
        const ImportOutcome o = importDirectory(store, readLines(text.text), allFields());
        spent += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (!o.result.ok) return state.SkipWithError(qPrintable(o.result.error));
        added = o.counts.societes + o.counts.contacts;
    }
    state.counters["records_added"] = added;
    if (cutSeconds > 0) state.counters["x_cut"] = spent / double(state.iterations()) / cutSeconds;
}

} // namespace

BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadAndCut)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportIntoEmpty)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
