// The page copy: which resources a page names, where they are fetched from,
// the local names they get, and the page rewritten to name them.

#include "browser/pagecopy.h"
#include "common/testfiles.h"

#include <QElapsedTimer>
#include <QSet>
#include <QtTest>

using namespace pagecopy;

namespace
{
// The addresses of a list of files, in order, and how many local names they have.
QStringList urlsOf(const QList<Resource>& list, int* names = nullptr)
{
    QStringList urls;
    QSet<QString> local;
    for (const Resource& r : list) {
        urls.append(r.url.toString());
        local.insert(r.localName);
    }
    if (names) *names = int(local.size());
    return urls;
}
} // namespace

class TestPageCopy : public QObject
{
    Q_OBJECT
private slots:
    void siteRoot_data();
    void siteRoot();
    void tagsAndAttributes();
    void addresses_data();
    void addresses();
    void localNames();
    void plan();
    void rewriting();
    void styleUrls_data();
    void styleUrls();
    void imagesOfPageStyles();
    void imagesOfStyleSheets();
    void hostileTexts();
};

void TestPageCopy::siteRoot_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("root");
    QTest::newRow("page in a directory") << "http://www.site.fr/d/e/page.html"
                                         << "http://www.site.fr/";
    QTest::newRow("query with slashes") << " http://www.site.fr/page?x=/a/b "
                                        << "http://www.site.fr/";
    QTest::newRow("host only") << "http://www.site.fr"
                               << "http://www.site.fr/";
    QTest::newRow("no scheme") << "www.site.fr/a/b"
                               << "www.site.fr/";
}

void TestPageCopy::siteRoot()
{
    QFETCH(QString, address);
    QFETCH(QString, root);
    QCOMPARE(RacineSite(address), root);
}

void TestPageCopy::tagsAndAttributes()
{
    const QString html = QStringLiteral(
        "<html><head><link rel=\"stylesheet\" href=\"a.css\">\n"
        "<LINK REL='stylesheet'\n  HREF='b/c.css'>\n"
        "<link rel=\"icon\" href=\"fav.ico\">\n"
        "<script type=\"text/javascript\" src=\"s.js\"></script><script>var x = 1;</script>\n"
        "</head><body><img src=\"one.png\" alt=\"1\"><img\n alt='two'\n src='two.png'>\n"
        "<img src=\"low.gif\" lowsrc=\"lower.gif\"><p>text</p></body></html>");
    const PageLinks l = findLinks(html);
    QCOMPARE(l.imageTags.size(), 3); // the tag over three lines included
    QCOMPARE(l.imageSrc,
             QStringList({QStringLiteral("src=\"one.png\""), QStringLiteral("src='two.png'"),
                          QStringLiteral("src=\"low.gif\""), QStringLiteral("src=\"lower.gif\"")}));
    QCOMPARE(l.linkTags.size(), 2); // the icon is no style sheet
    QCOMPARE(l.linkHref,
             QStringList({QStringLiteral("href=\"a.css\""), QStringLiteral("HREF='b/c.css'")}));
    QCOMPARE(l.scriptSrc, QStringList({QStringLiteral("src=\"s.js\"")}));
    QCOMPARE(attributeValue(QStringLiteral("HREF='b/c.css'")), QStringLiteral("b/c.css"));
    QCOMPARE(attributeValue(QStringLiteral("src=\"a.php?x=1&amp;y=2\"")),
             QStringLiteral("a.php?x=1&y=2"));
}

void TestPageCopy::addresses_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("relative, page's directory") << "a.css"
                                                << "http://site.fr/d/a.css";
    QTest::newRow("sub-directory") << "css/a.css"
                                   << "http://site.fr/d/css/a.css";
    QTest::newRow("parent") << "../img/a.png"
                            << "http://site.fr/img/a.png";
    QTest::newRow("from the root") << "/a.css"
                                   << "http://site.fr/a.css";
    QTest::newRow("https is absolute") << "HTTPS://cdn.fr/x.css"
                                       << "https://cdn.fr/x.css";
    QTest::newRow("//host") << "//cdn.fr/x.js"
                            << "http://cdn.fr/x.js";
    QTest::newRow("fragment dropped") << "i.svg#part"
                                      << "http://site.fr/d/i.svg";
    QTest::newRow("file refused") << "file:///etc/passwd"
                                  << "";
    QTest::newRow("data refused") << "data:image/png;base64,AAAA"
                                  << "";
    QTest::newRow("script refused") << "javascript:alert(1)"
                                    << "";
    QTest::newRow("ftp refused") << "ftp://site.fr/a.png"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPageCopy::addresses()
{
    QFETCH(QString, value);
    QFETCH(QString, resolved);
    const QUrl page(QStringLiteral("http://site.fr/d/page.html?q=1"));
    QCOMPARE(resolveAddress(value, page).toString(), resolved);

    // <base href> moves relative addresses, but only to a web address.
    const QUrl base = baseAddress(QStringLiteral("<head><BASE target=_top href=\"/x/y/\">"), page);
    QCOMPARE(base, QUrl(QStringLiteral("http://site.fr/x/y/")));
    QCOMPARE(baseAddress(QStringLiteral("<base href=\"file:///etc/\">"), page), page);
}

void TestPageCopy::localNames()
{
    LocalNames n(QStringLiteral("20260115_093000"));
    const QString a = n.nameFor(QUrl(QStringLiteral("http://s.fr/a/logo.png")));
    const QString b = n.nameFor(QUrl(QStringLiteral("http://s.fr/b/logo.png")));
    QCOMPARE(a, QStringLiteral("20260115_093000_logo.png"));
    QVERIFY(b != a); // same last segment, two files
    QVERIFY(b.endsWith(QStringLiteral(".png")));
    QCOMPARE(n.nameFor(QUrl(QStringLiteral("http://s.fr/a/logo.png"))), a);
    // Names that could leave the folder or hide there are made plain.
    for (const char* hostile : {"http://s.fr/%2e%2e%2f%2e%2e%2fetc%2fpasswd", "http://s.fr/..",
                                "http://s.fr/a\\..\\..\\b.css", "http://s.fr/.hidden",
                                "http://s.fr/", "http://s.fr/x.php?f=../../a"}) {
        const QString name = n.nameFor(QUrl(QString::fromLatin1(hostile)));
        QVERIFY2(name.startsWith(QStringLiteral("20260115_093000_")), qPrintable(name));
        QVERIFY2(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
                     !name.contains(QLatin1String("..")) && !name.contains(QLatin1Char('?')),
                 qPrintable(name));
    }
    QVERIFY(n.nameFor(QUrl(QStringLiteral("http://s.fr/style.php")), QStringLiteral(".css"))
                .endsWith(QStringLiteral(".css")));
    // A last segment ending in dots gets the extension once, with no "..".
    QCOMPARE(n.nameFor(QUrl(QStringLiteral("http://s.fr/x/a.")), QStringLiteral(".css")),
             QStringLiteral("20260115_093000_a.css"));
    QCOMPARE(n.nameFor(QUrl(QStringLiteral("http://s.fr/x/b...")), QStringLiteral(".css")),
             QStringLiteral("20260115_093000_b.css"));
}

void TestPageCopy::plan()
{
    const QString html = QStringLiteral(
        "<link href=\"a.css\" rel=stylesheet><img src='/i/logo.png'><img src=\"logo.png\">"
        "<img src=\"//cdn.fr/logo.png\"><img src=\"data:image/gif;base64,R0lGOD\">"
        "<script src=\"https://cdn.fr/s.js\"></script><img src='/i/logo.png'>");
    const CopyPlan p =
        planCopy(html, QUrl(QStringLiteral("http://site.fr/d/page.html")), QStringLiteral("S"));
    int names = 0;
    QCOMPARE(urlsOf(p.images, &names), QStringList({QStringLiteral("http://site.fr/i/logo.png"),
                                                    QStringLiteral("http://site.fr/d/logo.png"),
                                                    QStringLiteral("http://cdn.fr/logo.png")}));
    QCOMPARE(names, 3);
    QCOMPARE(p.styles.value(0).url.toString(), QStringLiteral("http://site.fr/d/a.css"));
    QCOMPARE(p.scripts.value(0).url.toString(), QStringLiteral("https://cdn.fr/s.js"));

    // The cap on files: images first, the rest left as it is.
    const CopyPlan capped =
        planCopy(html, QUrl(QStringLiteral("http://site.fr/d/page.html")), QStringLiteral("S"), 2);
    QCOMPARE(capped.images.size() + capped.styles.size() + capped.scripts.size(), 2);
    QVERIFY(
        rewriteLinks(html, capped.replacements).contains(QStringLiteral("https://cdn.fr/s.js")));
}

void TestPageCopy::rewriting()
{
    const QString html = QStringLiteral(
        "<html><head><base href=\"http://site.fr/x/\"><link rel=stylesheet\nhref='a.css'></head>"
        "<body><IMG SRC=\"a.png\" srcset=\"a2.png 2x, a3.png 3x\" loading=\"lazy\">"
        "<img data-srcset=\"k\" src=\"a.png\"><p>src=\"a.png\" in the text stays</p>"
        "<img src=\"data:image/gif;base64,R0lG\"><img src=\"S_a.png\"></body></html>");
    QHash<QString, QString> r;
    r.insert(QStringLiteral("src=\"a.png\""), QStringLiteral("src=\"S_a.png\""));
    r.insert(QStringLiteral("href='a.css'"), QStringLiteral("href=\"S_a.css\""));
    r.insert(QStringLiteral("src=\"S_a.png\""), QStringLiteral("src=\"S_other.png\""));
    const QString out = rewriteLinks(html, r);
    QVERIFY(!out.contains(QStringLiteral("<base")));
    QVERIFY(out.contains(QStringLiteral("<link rel=stylesheet\nhref=\"S_a.css\">")));
    // Any letter case of the attribute's name; a rewritten link is not rewritten again.
    QCOMPARE(out.count(QStringLiteral("src=\"S_a.png\"")), 2);
    QCOMPARE(out.count(QStringLiteral("src=\"S_other.png\"")), 1);
    QVERIFY(!out.contains(QStringLiteral(" srcset=")));
    QVERIFY(out.contains(QStringLiteral("data-srcset=\"k\"")));
    QVERIFY(!out.contains(QStringLiteral("lazy")));
    QVERIFY(out.contains(QStringLiteral("<p>src=\"a.png\" in the text stays</p>")));
    QVERIFY(out.contains(QStringLiteral("data:image/gif;base64,R0lG")));

    // A whole page through the plan: every attribute names a local file.
    const QString page = QStringLiteral("<img src=\"i/a.png\"><img src=\"j/a.png\">"
                                        "<script src='k.js'></script>");
    const CopyPlan p = planCopy(page, QUrl(QStringLiteral("http://s.fr/")), QStringLiteral("T"));
    const QString copy = rewriteLinks(page, p.replacements);
    QCOMPARE(copy, QStringLiteral("<img src=\"T_a.png\"><img src=\"T_a_2.png\">"
                                  "<script src=\"T_k.js\"></script>"));
}

void TestPageCopy::styleUrls_data()
{
    QTest::addColumn<QString>("css");
    QTest::addColumn<bool>("inPage");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("plain") << "a { background: url(i/a.png) }" << false << QStringList{"i/a.png"};
    QTest::newRow("quotes and spaces")
        << "a{background:URL( \"b c.png\" )} b{list-style:url('d.gif')}" << false
        << QStringList{"b c.png", "d.gif"};
    QTest::newRow("bracket inside quotes")
        << "x{background:url(\"e(1).png\")}" << false << QStringList{"e(1).png"};
    QTest::newRow("longer name") << "x{a:myurl(no.png);b:-x-url(no.png);c:url(yes.png)}" << false
                                 << QStringList{"yes.png"};
    QTest::newRow("references in a page")
        << "background:url(&quot;f.png&quot;)" << true << QStringList{"f.png"};
    QTest::newRow("references in a sheet")
        << "x{a:url(g.png?a=1&amp;b=2)}" << false << QStringList{"g.png?a=1&amp;b=2"};
    QTest::newRow("never closed") << "x{a:url(h.png);b:url(\"i.png)}" << false
                                  << QStringList{"h.png"};
}

void TestPageCopy::styleUrls()
{
    QFETCH(QString, css);
    QFETCH(bool, inPage);
    QFETCH(QStringList, values);
    QStringList found;
    for (const StyleUrl& u : findStyleUrls(css, inPage))
        found.append(u.value);
    QCOMPARE(found, values);
    // Each one rewritten in place, the rest of the text as it was.
    QHash<QString, QString> names;
    for (const QString& v : values)
        names.insert(v, QStringLiteral("S_") + QString::number(names.size()));
    QString expected = css;
    const QList<StyleUrl> urls = findStyleUrls(css, inPage);
    for (qsizetype i = urls.size() - 1; i >= 0; --i)
        expected.replace(urls[i].start, urls[i].length,
                         QStringLiteral("url(") + names.value(urls[i].value) + QLatin1Char(')'));
    QCOMPARE(rewriteStyleUrls(css, names, inPage), expected);
}

void TestPageCopy::imagesOfPageStyles()
{
    const QString html = QStringLiteral(
        "<html><head><style>\nbody { background: url('img/fond.png') }\n"
        "p > b { background: url(data:image/gif;base64,R0lG) }\n</style>"
        "<style media=print>h1 { background: url(/t/titre.png) }</style></head>"
        "<body><div STYLE=\"background-image: url(&quot;img/fond.png&quot;)\">x</div>"
        "<div style='background:url(\"../haut.png\")'>y</div><img src=\"img/fond.png\">"
        "<p>url(img/texte.png) in the text stays</p></body></html>");
    const CopyPlan p =
        planCopy(html, QUrl(QStringLiteral("http://site.fr/d/page.html")), QStringLiteral("S"));
    // Relative to the page; an image also named by <img> is fetched once.
    QCOMPARE(p.images.size(), 1);
    QCOMPARE(urlsOf(p.styleImages), QStringList({QStringLiteral("http://site.fr/t/titre.png"),
                                                 QStringLiteral("http://site.fr/haut.png")}));
    const QString copy = rewriteLinks(html, p.replacements, p.pageStyleNames);
    QCOMPARE(copy.count(QStringLiteral("url(S_fond.png)")), 2);
    QVERIFY(copy.contains(QStringLiteral("h1 { background: url(S_titre.png) }")));
    // The attribute keeps its own quotes.
    QVERIFY(copy.contains(QStringLiteral("<div style='background:url(S_haut.png)'>")));
    QVERIFY(copy.contains(QStringLiteral("STYLE=\"background-image: url(S_fond.png)\"")));
    QVERIFY(copy.contains(QStringLiteral("url(data:image/gif;base64,R0lG)")));
    QVERIFY(copy.contains(QStringLiteral("<p>url(img/texte.png) in the text stays</p>")));
    QVERIFY(copy.contains(QStringLiteral("p > b {")));
}

void TestPageCopy::imagesOfStyleSheets()
{
    const QString html = QStringLiteral("<link rel=stylesheet href=\"css/a.css\">"
                                        "<img src=\"/img/logo.png\">");
    CopyPlan p =
        planCopy(html, QUrl(QStringLiteral("http://site.fr/d/page.html")), QStringLiteral("S"), 6);
    // Relative to the sheet's address, not the page's.
    const QString sheet = QStringLiteral(
        "body{background:url(../fond.png)} h1{background:url('/img/logo.png')}"
        "h2{background:url(http://cdn.fr/x/fond.png)} h3{background:url(file:///etc/passwd)}"
        "h4{background:url(ftp://site.fr/a.png)}");
    const QHash<QString, QString> names =
        planStyleSheet(p, sheet, QUrl(QStringLiteral("http://site.fr/d/css/a.css")), 6);
    int local = 0;
    QCOMPARE(urlsOf(p.styleImages, &local),
             QStringList({QStringLiteral("http://site.fr/d/fond.png"),
                          QStringLiteral("http://cdn.fr/x/fond.png")}));
    // Two files for two addresses ending in fond.png; the logo of the page
    // is the file already planned.
    QCOMPARE(local, 2);
    QCOMPARE(names.value(QStringLiteral("/img/logo.png")), p.images.value(0).localName);
    QVERIFY(!names.contains(QStringLiteral("file:///etc/passwd")));
    QVERIFY(!names.contains(QStringLiteral("ftp://site.fr/a.png")));
    const QString out = rewriteStyleUrls(sheet, names, false);
    QVERIFY(out.contains(QStringLiteral("url(file:///etc/passwd)")));
    QVERIFY(!out.contains(QStringLiteral("../fond.png")));

    // The cap holds for the files of the sheets too.
    CopyPlan capped =
        planCopy(html, QUrl(QStringLiteral("http://site.fr/d/page.html")), QStringLiteral("S"), 3);
    planStyleSheet(capped, sheet, QUrl(QStringLiteral("http://site.fr/d/css/a.css")), 3);
    QCOMPARE(capped.resources(), 3);
}

void TestPageCopy::hostileTexts()
{
    // Texts that would make a pattern run over the whole text again and
    // again: each is read in a bounded time.
    const QString noEnd = QStringLiteral("<img src=\"a.png\" ").repeated(200000);
    const QString noSrc = QStringLiteral("<img alt=x>").repeated(200000);
    const QString longTag = QStringLiteral("<link ") + QString(1000000, QLatin1Char('a')) +
                            QStringLiteral("><img src=\"b.png\">");
    const QString styles =
        QStringLiteral("<style>") + QStringLiteral("a{b:url(\"").repeated(200000);
    const QString open = QStringLiteral("<p style=\"") +
                         QStringLiteral("url(url(").repeated(200000) + QStringLiteral("\">");
    for (const QString& html : {noEnd, noSrc, longTag, styles, open}) {
        QElapsedTimer t;
        t.start();
        const CopyPlan p =
            planCopy(html, QUrl(QStringLiteral("http://s.fr/")), QStringLiteral("S"));
        rewriteLinks(html, p.replacements);
        QVERIFY2(t.elapsed() < timeLimitMs(3000), qPrintable(QString::number(t.elapsed())));
    }
    QCOMPARE(findLinks(longTag).imageSrc, QStringList(QStringLiteral("src=\"b.png\"")));
    // A worker asked to stop leaves at once.
    std::atomic_bool stop{true};
    QVERIFY(findLinks(noSrc, &stop).imageTags.size() < 2048);
}

QTEST_GUILESS_MAIN(TestPageCopy)
#include "tst_pagecopy.moc"
