// The conversion of a page into a PDF, as the user feels it:
//  BM_ConversionClickToPdf
//      from "Enregistrer cette page" to the PDF in Import/, on a page of 50
//      images, 5 style sheets and 5 scripts served from 127.0.0.1, through
//      the conversion window and its own event loop. The counters give the
//      time each phase started at (milliseconds after the click), averaged
//      over the iterations: the phase that costs is the one before the
//      biggest jump.
//
// A program of its own (with the common entry point): the other benchmarks
// do not link the web engine.

#include "browser/html2pdf.h"
#include "common/httpserver.h"
#include "platform/messages.h"
#include "store/programstate.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace
{

class Quiet : public msg::Sink
{
public:
    bool show(msg::Kind, const QString&, bool) override { return true; }
};

QByteArray image(int i)
{
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(QColor(i * 5 % 256, 80, 160));
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return b;
}

// The page of the measure, loaded once in a page of the browser's profile.
struct Source {
    TestHttpServer server;
    QWebEnginePage page{QWebEngineProfile::defaultProfile()};
    bool loaded = false;

    Source()
    {
        QByteArray html = "<!DOCTYPE html><html><head><title>Offre</title>";
        for (int i = 0; i < 5; ++i) {
            const QByteArray n = QByteArray::number(i);
            html += "<link rel=\"stylesheet\" href=\"s" + n + ".css\">";
            html += "<script src=\"j" + n + ".js\"></script>";
            server.serve(QStringLiteral("/v/s%1.css").arg(i),
                         "p.c" + n + " { margin: 2px; color: #333; }", "text/css");
            server.serve(QStringLiteral("/v/j%1.js").arg(i), "var a" + n + " = 1;",
                         "application/javascript");
        }
        html += "</head><body><h1>Offre d'emploi</h1><p>Cinquante images</p>";
        for (int i = 0; i < 50; ++i) {
            html += "<img src=\"i" + QByteArray::number(i) + ".png\">";
            server.serve(QStringLiteral("/v/i%1.png").arg(i), image(i), "image/png");
        }
        server.serve(QStringLiteral("/v/page.html"), html + "</body></html>");
        QEventLoop loop;
        QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
            loaded = ok;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        page.load(QUrl(server.url(QStringLiteral("/v/page.html"))));
        loop.exec();
    }
};

void BM_ConversionClickToPdf(benchmark::State& state)
{
    Quiet quiet;
    msg::install(&quiet);
    static Source* source = new Source; // lives as long as the engine
    if (!source->loaded) {
        msg::install(nullptr);
        state.SkipWithError("the page did not load");
        return;
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Import"));
    QDir(dir.path()).mkpath(QStringLiteral("tmp"));
    ProgramState program(dir.path());
    THTML2PDF dialog(program, nullptr);
    dialog.options.importDir = dir.filePath(QStringLiteral("Import"));
    dialog.options.tempRoot = dir.filePath(QStringLiteral("tmp"));

    std::map<std::string, double> phases;
    QElapsedTimer clock;
    QObject::connect(&dialog, &THTML2PDF::started, &dialog, [&](PageConversion* c) {
        QObject::connect(c, &PageConversion::status, &dialog, [&](const QString& text) {
            phases[text.toStdString()] += double(clock.nsecsElapsed()) / 1e6;
        });
    });
    int made = 0;
    for (auto _ : state) {
        clock.start();
        const QString pdf = dialog.convert(&source->page);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (pdf.isEmpty()) {
            state.SkipWithError("no PDF");
            break;
        }
        ++made;
        QFile::remove(pdf);
    }
    for (const auto& [name, ms] : phases)
        state.counters[name] = made ? ms / made : 0;
    msg::install(nullptr);
}
BENCHMARK(BM_ConversionClickToPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
