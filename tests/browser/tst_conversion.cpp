// The conversion of a page into a self-contained PDF, on pages served from
// 127.0.0.1: what is fetched, what is refused, the PDF read back, and
// "Annuler" at each phase.

#include "browser/conversion.h"
#include "browser/html2pdf.h"
#include "common/fakemessages.h"
#include "common/httpserver.h"
#include "common/testfiles.h"
#include "store/programstate.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPdfDocument>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

namespace
{

QByteArray png(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, QColor((x * 7 + c.red()) % 256, (y * 5) % 256, c.blue()));
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return b;
}

QString pdfText(const QString& file, int* pages = nullptr, QSizeF* size = nullptr)
{
    QPdfDocument doc;
    if (doc.load(file) != QPdfDocument::Error::None) return QString();
    if (pages) *pages = doc.pageCount();
    if (size) *size = doc.pagePointSize(0);
    QString text;
    for (int i = 0; i < doc.pageCount(); ++i)
        text += doc.getAllText(i).text() + QLatin1Char('\n');
    return text;
}

} // namespace

class TestConversion : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void selfContainedCopy();
    void fetchedOrRefused();
    void framesAndHostileLinks();
    void imagesOfStyles();
    void speed();
    void cancelAtEachPhase_data();
    void cancelAtEachPhase();
    void failure();

private:
    // Loads a page of the server; false when it did not finish in `ms`.
    bool load(const QString& path, int ms = 20000);
    // Runs a conversion to its end: the PDF, or empty.
    QString convert(PageConversion::Options o, PageConversion** kept = nullptr);
    PageConversion::Options options();

    TestHttpServer server;
    QTemporaryDir dir;
    std::unique_ptr<QWebEnginePage> page;
    std::unique_ptr<PageConversion> last;
};

void TestConversion::initTestCase()
{
    QDir(dir.path()).mkpath(QStringLiteral("Import"));
    QDir(dir.path()).mkpath(QStringLiteral("tmp"));
    page = std::make_unique<QWebEnginePage>(QWebEngineProfile::defaultProfile());
    const QByteArray text = "<h1>Offre : Comptable confirm\xc3\xa9(e)</h1><p>Poste bas\xc3\xa9 "
                            "\xc3\xa0 Lyon, contrat \"CDI\" & 'temps plein'.</p>";
    server.serve("/d/offre.html",
                 "<!DOCTYPE html><html><head><meta charset=\"iso-8859-1\">"
                 "<link rel=\"stylesheet\" href=\"a.css\">\n<LINK REL='stylesheet'\n"
                 "  HREF='css/b.css'>\n<script src=\"s.js\"></script></head><body>" +
                     text +
                     "<img src=\"/a/logo.png\" width=200><img\n alt=\"second\"\n"
                     " src='/b/logo.png' width=200><table><tr><td>Salaire</td>"
                     "<td>32 000 \xe2\x82\xac</td></tr></table></body></html>");
    server.serve("/d/plain.html", "<!DOCTYPE html><html><body>" + text + "</body></html>");
    server.serve("/d/a.css",
                 "body { font-family: sans-serif; margin: 0; }"
                 "h1 { color: #1a4d8f; border-bottom: 3px solid #e87722; }"
                 "img { display: block; margin: 8px 0; }",
                 "text/css");
    server.serve("/d/css/b.css", "td { border: 1px solid black; padding: 4px; }", "text/css");
    server.serve("/d/s.js", "document.title = 'x';", "application/javascript");
    server.serve("/a/logo.png", png(400, 300, Qt::red), "image/png");
    server.serve("/b/logo.png", png(300, 400, Qt::blue), "image/png");
}

bool TestConversion::load(const QString& path, int ms)
{
    QSignalSpy done(page.get(), &QWebEnginePage::loadFinished);
    page->load(QUrl(server.url(path)));
    return done.wait(ms) && done.value(0).value(0).toBool();
}

PageConversion::Options TestConversion::options()
{
    PageConversion::Options o;
    o.importDir = dir.filePath(QStringLiteral("Import"));
    o.tempRoot = dir.filePath(QStringLiteral("tmp"));
    o.limits.timeoutMs = 1500;
    return o;
}

QString TestConversion::convert(PageConversion::Options o, PageConversion** kept)
{
    last = std::make_unique<PageConversion>(page.get(), o);
    QElapsedTimer t;
    t.start();
    if (qEnvironmentVariableIsSet("PHASES"))
        connect(last.get(), &PageConversion::status, this,
                [t](const QString& s) { qInfo("%lld %s", t.elapsed(), qPrintable(s)); });
    QSignalSpy ok(last.get(), &PageConversion::succeeded);
    QSignalSpy failed(last.get(), &PageConversion::failed);
    last->start();
    // A plain event loop, as in the dialog: the engine's many small tasks
    // run as they come, not once per poll.
    QEventLoop loop;
    connect(last.get(), &PageConversion::succeeded, &loop, &QEventLoop::quit);
    connect(last.get(), &PageConversion::failed, &loop, &QEventLoop::quit);
    QTimer::singleShot(40000, &loop, &QEventLoop::quit);
    if (ok.size() + failed.size() == 0) loop.exec();
    if (ok.size() + failed.size() == 0) return QString();
    if (kept) *kept = last.get();
    return ok.isEmpty() ? QString() : ok.value(0).value(0).toString();
}

void TestConversion::selfContainedCopy()
{
    QVERIFY(load(QStringLiteral("/d/offre.html")));
    server.requested.clear();
    PageConversion* c = nullptr;
    const QString pdf = convert(options(), &c);
    QVERIFY(!pdf.isEmpty());
    // Import/<stamp>.pdf: 19 characters, "_" as 9th.
    const QString name = QFileInfo(pdf).fileName();
    QCOMPARE(name.size(), 19);
    QCOMPARE(name.at(8), QLatin1Char('_'));
    QCOMPARE(QFileInfo(pdf).absolutePath(), QDir(dir.filePath("Import")).absolutePath());
    // Relative addresses from the page's own directory, the tag over three
    // lines found, two files for two addresses ending in logo.png.
    for (const char* p : {"/d/a.css", "/d/css/b.css", "/d/s.js", "/a/logo.png", "/b/logo.png"})
        QVERIFY2(server.requested.contains(QString::fromLatin1(p)), p);
    QCOMPARE(c->fetched(), 5);
    // The temporary files are gone.
    QVERIFY(QDir(dir.filePath("tmp")).isEmpty());

    int pages = 0;
    QSizeF size;
    const QString text = pdfText(pdf, &pages, &size);
    QVERIFY(pages >= 1);
    QVERIFY(qAbs(size.width() - 212 / 25.4 * 72) < 1.5);
    QVERIFY(qAbs(size.height() - 299.8273 / 25.4 * 72) < 1.5);
    QVERIFY2(text.contains(QStringLiteral("Comptable confirmé(e)")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("à Lyon")));
    QVERIFY(text.contains(QStringLiteral("32 000 €")));
    // To look at it: ORVALDIS_KEEP_PDF=<file>.
    if (qEnvironmentVariableIsSet("ORVALDIS_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("ORVALDIS_KEEP_PDF"));

    // The same text without images makes a smaller PDF.
    QVERIFY(load(QStringLiteral("/d/plain.html")));
    const QString plain = convert(options());
    QVERIFY(!plain.isEmpty());
    QVERIFY(pdfText(plain).contains(QStringLiteral("Comptable confirmé(e)")));
    QVERIFY2(
        QFileInfo(pdf).size() > QFileInfo(plain).size() + 20000,
        qPrintable(
            QStringLiteral("%1 / %2").arg(QFileInfo(pdf).size()).arg(QFileInfo(plain).size())));
    // Two conversions in the same second do not share a file.
    QVERIFY(pdf != plain);
}

void TestConversion::fetchedOrRefused()
{
    const QString port = QString::number(server.port());
    server.serve("/big.png", QByteArray(5000, 'x'), "image/png");
    server.serve("/small.png", png(10, 10, Qt::green), "image/png");
    server.redirect("/tofile.png", "file:///etc/passwd");
    server.redirect("/moved.png", server.url("/small.png").toLatin1());
    server.silence("/never.png");
    server.serve("/r.html",
                 ("<html><body><p>Ressources</p><img src=\"/big.png\"><img src=\"/tofile.png\">"
                  "<img src=\"/moved.png\"><img src=\"/never.png\">"
                  "<img src=\"//127.0.0.1:" +
                  port +
                  "/small.png\">"
                  "<img src=\"https://127.0.0.1:1/x.png\"></body></html>")
                     .toLatin1());
    // The image that never comes holds the page's own loading: the
    // conversion starts from what is on display.
    load(QStringLiteral("/r.html"), 2000);
    PageConversion::Options o = options();
    o.limits.perResource = 1000;
    o.limits.timeoutMs = 700;
    QElapsedTimer t;
    t.start();
    PageConversion* c = nullptr;
    QString folder;
    const QString pdf = convert(o, &c);
    QVERIFY(!pdf.isEmpty());
    // The server that never answers holds the conversion for its time-out only.
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(pdfText(pdf).contains(QStringLiteral("Ressources")));
    QCOMPARE(c->plan().images.size(), 6);
    QCOMPARE(c->plan().images.value(5).url.scheme(), QStringLiteral("https"));
    QVERIFY(server.requested.contains(QStringLiteral("/never.png")));
    // Fetched whole: the redirect to a web address and the //host address.
    QCOMPARE(c->fetched(), 2);
}

void TestConversion::framesAndHostileLinks()
{
    QTemporaryDir secret;
    writeBytes(secret.filePath("secret.html"), "<p>MOTDEPASSE-SECRET</p>");
    QFile::copy(secret.filePath("secret.html"), secret.filePath("secret.png"));
    server.serve("/f0.html", "<p>" + QByteArray(10, 'a') + "</p>");
    server.serve("/f1.html", "<p>Cadre deux " + QByteArray(487, 'b') + "</p>");
    server.serve("/f2.html", "<p>Cadre trois " + QByteArray(486, 'c') + "</p>");
    server.serve("/frames.html",
                 "<html><frameset cols=\"10%,45%,45%\"><frame src=\"f0.html\">"
                 "<frame src=\"f1.html\"><frame src=\"f2.html\"></frameset></html>");
    QVERIFY(load(QStringLiteral("/frames.html")));
    QTest::qWait(300); // the frames load after the frame set
    QString pdf = convert(options());
    QVERIFY(!pdf.isEmpty());
    QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("Cadre deux")), qPrintable(text.left(200)));
    QVERIFY(!text.contains(QStringLiteral("Cadre trois")));

    // A page with a small frame is converted as the page itself.
    server.serve("/withframe.html", "<html><body><p>Texte principal de la page " +
                                        QByteArray(600, 'p') +
                                        "</p><iframe src=\"f0.html\"></iframe></body></html>");
    QVERIFY(load(QStringLiteral("/withframe.html")));
    QTest::qWait(200);
    pdf = convert(options());
    QVERIFY(pdfText(pdf).contains(QStringLiteral("Texte principal")));

    // The copy reads no file of the computer, whatever the page names.
    const QString url = QUrl::fromLocalFile(secret.filePath("secret.html")).toString();
    server.serve("/hostile.html",
                 ("<html><body><p>Page hostile</p><iframe src=\"" + url +
                  "\"></iframe>"
                  "<object data=\"" +
                  url + "\"></object><img src=\"" +
                  QUrl::fromLocalFile(secret.filePath("secret.png")).toString() +
                  "\"><link rel=stylesheet href=\"file:///etc/passwd.css\"></body></html>")
                     .toUtf8());
    QVERIFY(load(QStringLiteral("/hostile.html")));
    pdf = convert(options());
    QVERIFY(!pdf.isEmpty());
    text = pdfText(pdf);
    QVERIFY(text.contains(QStringLiteral("Page hostile")));
    QVERIFY2(!text.contains(QStringLiteral("MOTDEPASSE")), qPrintable(text));
}

void TestConversion::imagesOfStyles()
{
    // A background from a style sheet in a sub-directory (relative to the
    // sheet), one from a <style> block and one from a style attribute.
    server.serve("/st/css/fond.css",
                 "#a { width: 500px; height: 300px; background: url('../img/fond.png'); }",
                 "text/css");
    server.serve("/st/img/fond.png", png(500, 300, Qt::red), "image/png");
    server.serve("/st/bloc.png", png(400, 250, Qt::green), "image/png");
    server.serve("/st/attr.png", png(300, 200, Qt::blue), "image/png");
    const QByteArray body =
        "<p>Offre avec fonds</p><div id=a></div><div id=b></div>"
        "<div style=\"width:300px;height:200px;background:url(&quot;attr.png&quot;)\"></div>"
        "</body></html>";
    server.serve("/st/page.html", "<html><head><link rel=stylesheet href=\"css/fond.css\">"
                                  "<style>#b { width: 400px; height: 250px; "
                                  "background: url(bloc.png) }</style></head><body>" +
                                      body);
    // The same page, its backgrounds gone.
    server.serve("/st/bare.html", "<html><head><style>#a, #b { height: 250px }</style></head>"
                                  "<body>" +
                                      QByteArray(body).replace("attr.png", "none.png"));
    QVERIFY(load(QStringLiteral("/st/page.html")));
    server.requested.clear();
    PageConversion* c = nullptr;
    const QString pdf = convert(options(), &c);
    QVERIFY(!pdf.isEmpty());
    for (const char* p : {"/st/css/fond.css", "/st/img/fond.png", "/st/bloc.png", "/st/attr.png"})
        QVERIFY2(server.requested.contains(QString::fromLatin1(p)), p);
    QCOMPARE(c->fetched(), 4);
    QVERIFY(QDir(dir.filePath("tmp")).isEmpty());
    QVERIFY(load(QStringLiteral("/st/bare.html")));
    const QString bare = convert(options());
    QVERIFY(pdfText(bare).contains(QStringLiteral("Offre avec fonds")));
    // Three images of some 60 kB each are in the PDF.
    QVERIFY2(QFileInfo(pdf).size() > QFileInfo(bare).size() + 60000,
             qPrintable(
                 QStringLiteral("%1 / %2").arg(QFileInfo(pdf).size()).arg(QFileInfo(bare).size())));
}

void TestConversion::speed()
{
    QByteArray html = "<html><head>";
    for (int i = 0; i < 5; ++i) {
        html += "<link rel=stylesheet href=\"s" + QByteArray::number(i) + ".css\">";
        html += "<script src=\"j" + QByteArray::number(i) + ".js\"></script>";
        server.serve(QStringLiteral("/v/s%1.css").arg(i), "p { margin: 2px; }", "text/css");
        server.serve(QStringLiteral("/v/j%1.js").arg(i), "var a = 1;", "application/javascript");
    }
    html += "</head><body><p>Cinquante images</p>";
    for (int i = 0; i < 50; ++i) {
        html += "<img src=\"i" + QByteArray::number(i) + ".png\">";
        server.serve(QStringLiteral("/v/i%1.png").arg(i), png(60, 40, QColor(i * 5, 0, 0)),
                     "image/png");
    }
    server.serve("/v/page.html", html + "</body></html>");
    QVERIFY(load(QStringLiteral("/v/page.html")));
    QElapsedTimer t;
    t.start();
    PageConversion* c = nullptr;
    QVERIFY(!convert(options(), &c).isEmpty());
    const qint64 ms = t.elapsed();
    qInfo("50 images, 5 style sheets, 5 scripts: %lld ms", ms);
    QCOMPARE(c->fetched(), 60);
    // From the start to the PDF in Import/, on a machine shared with builds.
    QVERIFY2(ms < 3000, qPrintable(QString::number(ms)));
}

void TestConversion::cancelAtEachPhase_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<int>("occurrence"); // of the phase's status text
    QTest::addColumn<QString>("path");
    for (const char* p :
         {"Conversion en cours...", "Sauvegarde de la source HTML", "Lecture de la source HTML",
          "Mise en cache des images", "Mise en cache des feuilles de styles et des scripts",
          "Conversion des liens des images", "Ecriture des nouveaux liens", "printing"})
        QTest::newRow(p) << QString::fromUtf8(p) << 1 << QStringLiteral("/d/offre.html");
    // While the images of the style sheets come (one never does).
    QTest::newRow("images of the style sheets")
        << QStringLiteral("Mise en cache des images") << 2 << QStringLiteral("/cs/page.html");
}

void TestConversion::cancelAtEachPhase()
{
    QFETCH(QString, phase);
    QFETCH(int, occurrence);
    QFETCH(QString, path);
    server.serve("/cs/a.css", "body { background: url(never.png) }", "text/css");
    server.silence("/cs/never.png");
    server.serve("/cs/page.html", "<html><head><link rel=stylesheet href=\"a.css\"></head>"
                                  "<body><p>Annuler</p></body></html>");
    // The image that never comes holds the page's own loading too.
    const bool loaded = load(path, path == QLatin1String("/cs/page.html") ? 1500 : 20000);
    QVERIFY(loaded || path == QLatin1String("/cs/page.html"));
    FakeMessages messages;
    ProgramState state(dir.path());
    THTML2PDF dialog(state, nullptr);
    dialog.options = options();
    bool clicked = false;
    auto click = [&] {
        if (!clicked)
            QMetaObject::invokeMethod(dialog.BitBtn1, &QPushButton::click, Qt::QueuedConnection);
        clicked = true;
    };
    int seen = 0;
    connect(&dialog, &THTML2PDF::started, this, [&](PageConversion* c) {
        if (phase == QLatin1String("Conversion en cours...")) click();
        connect(c, &PageConversion::status, this, [&, c](const QString& text) {
            if (text == phase && ++seen == occurrence) click();
            // While the copy is being printed.
            if (text == QLatin1String("Ecriture des nouveaux liens") &&
                phase == QLatin1String("printing"))
                QTimer::singleShot(150, c, click);
        });
    });
    const QString pdf = dialog.convert(page.get());
    QVERIFY(clicked);
    QVERIFY(pdf.isEmpty());
    QVERIFY(state.FichierImport.isEmpty());
    QCOMPARE(messages.count(), 0);
    // Nothing is written afterwards: no PDF, no temporary file.
    const QStringList earlier = QDir(dir.filePath("Import")).entryList({"*.pdf"});
    QTest::qWait(700);
    QCOMPARE(QDir(dir.filePath("Import")).entryList({"*.pdf"}), earlier);
    QVERIFY2(QDir(dir.filePath("tmp")).isEmpty(),
             qPrintable(QDir(dir.filePath("tmp")).entryList().join(",")));
}

void TestConversion::failure()
{
    // A page gone before the conversion reads it: the failure message, no PDF.
    FakeMessages messages;
    ProgramState state(dir.path());
    THTML2PDF dialog(state, nullptr);
    dialog.options = options();
    QWebEnginePage* gone = new QWebEnginePage(QWebEngineProfile::defaultProfile());
    connect(&dialog, &THTML2PDF::started, this, [&] { delete gone; });
    QVERIFY(dialog.convert(gone).isEmpty());
    QCOMPARE(messages.texts(),
             QStringList(QStringLiteral("Cette page ne peut pas être convertie.\rThread arrêté.")));
    QVERIFY(QDir(dir.filePath("tmp")).isEmpty());
}

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"
