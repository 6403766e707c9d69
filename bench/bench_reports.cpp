// Benchmarks of the reports on the benchmark data (100,000 applications):
// the listing report beside the listing rebuild of the same rows, every page
// of it made, the first
// page of its preview, the spreadsheet export beside writing the same cells
// as CSV, and the sheet of a company with 500 contacts.

#include "applications/listingrules.h"
#include "bench/datagen.h"
#include "directory/companysheet.h"
#include "platform/report/painter.h"
#include "platform/report/spreadsheet.h"
#include "reports/listingreport.h"
#include "store/helpers.h"
#include "store/societeindex.h"
#include "store/store.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

struct Fixture {
    QTemporaryDir dir;
    Store store{dir.path()};
    ListingResult listing;
    Fixture()
    {
        datagen::Sizes sizes;
        sizes.reference = QDate(2024, 6, 14);
        datagen::GeneratedData d = datagen::generate(sizes);
        store.Societes = d.societes;
        store.Candidatures = d.candidatures;
        listing = build();
    }
    ListingResult build() const
    {
        ListingInput in;
        in.today = dayNumber(2024, 6, 14);
        in.relance = QStringLiteral("10");
        PrepareTri(QStringLiteral("d"), in.keys);
        const SocieteIndex index(store.Societes);
        return buildListing(store.Candidatures, store.Societes, index, in);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

ListingReportInput input(bool exportMode)
{
    return {fixture().listing.rows, QStringList(7, QStringLiteral("100 candidatures")),
            QDateTime::currentDateTime(), exportMode};
}

void BM_ListingRebuildSameRows(benchmark::State& state)
{
    fixture(); // the data are generated before the clock runs
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture().build());
}

void BM_ListingReport(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReportListing(fixture().store, input(false)));
    state.counters["pages"] = double(ReportListing(fixture().store, input(false)).pageCount());
}

// Every page made once, as printing or writing the PDF does.
void BM_ListingReportEveryPageMade(benchmark::State& state)
{
    const report::Report r = ReportListing(fixture().store, input(false));
    for (auto _ : state)
        for (int i = 0; i < r.pageCount(); ++i)
            benchmark::DoNotOptimize(r.page(i));
}

void BM_PreviewFirstPage(benchmark::State& state)
{
    const report::Report r = ReportListing(fixture().store, input(false));
    QImage image(801, 1133, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        report::paintPage(p, r.page(0));
    }
}

void BM_ExportXlsx(benchmark::State& state)
{
    const QTemporaryDir dir;
    for (auto _ : state) {
        const report::Report r = ReportListing(fixture().store, input(true));
        QString error;
        report::writeXlsx(report::reportGrid(r), dir.filePath("l.xlsx"), &error);
    }
}

void BM_ExportCsvSameCells(benchmark::State& state)
{
    const QTemporaryDir dir;
    for (auto _ : state) {
        const report::Report r = ReportListing(fixture().store, input(true));
        QFile f(dir.filePath("l.csv"));
        f.open(QIODevice::WriteOnly);
        for (const QStringList& row : report::reportGrid(r))
            f.write(row.join(QLatin1Char(';')).toUtf8() + '\n');
    }
}

void BM_SheetOf500Contacts(benchmark::State& state)
{
    QList<TContactRec> contacts;
    for (int i = 1; i <= 500; ++i) {
        TContactRec k{};
        k.id = i;
        k.id_societe = 1;
        k.nom = QStringLiteral("Contact %1").arg(i);
        contacts.append(k);
    }
    TSocieteRec s{};
    s.nom = QStringLiteral("ACME");
    for (auto _ : state)
        benchmark::DoNotOptimize(CreationReport(report::Page(), companyVariables(s), contacts, 1,
                                                QStringLiteral("Fiche de ACME"), QDate()));
}

} // namespace

BENCHMARK(BM_ListingRebuildSameRows)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListingReport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListingReportEveryPageMade)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ExportCsvSameCells)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SheetOf500Contacts)->Unit(benchmark::kMillisecond)->UseRealTime();
