// Entry point of the benchmarks. Every benchmark file registers its own
// benchmarks; they all run with a QCoreApplication, so that threads, event
// loops and queued calls behave as they do in the program.

#include <QCoreApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
