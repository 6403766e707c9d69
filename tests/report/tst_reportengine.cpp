// The report engine: templates, variables, flowing text, page numbers, and
// the PDF file read back as a reader would see it.
#include "common/testfiles.h"
#include "platform/report/output.h"
#include "platform/report/pdf.h"
#include "platform/report/prepare.h"
#include "platform/report/spreadsheet.h"
#include "platform/report/templatereader.h"

#include <QPdfDocument>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace report;

namespace
{

const char* kTemplate = R"json({"objects": [
  {"type": "text", "x": 40, "y": 30, "w": 700, "h": 30, "text": "[Titre]", "size": 20,
   "bold": true, "align": "center", "frame": "LTRB", "fill": "#dde6f4"},
  {"type": "text", "x": 40, "y": 80, "w": 700, "h": 20, "text": "Société : [societe] ([cp])"},
  {"type": "line", "x1": 40, "y1": 110, "x2": 740, "y2": 110},
  {"type": "text", "x": 40, "y": 120, "w": 700, "h": 200, "text": "[Memo]", "flow": true,
   "flowTop": 40},
  {"type": "text", "x": 40, "y": 1090, "w": 700, "h": 16, "text": "Page [PAGE#]/[TOTALPAGES]",
   "align": "right", "footer": true},
  {"type": "picture", "x": 0, "y": 0, "w": 10, "h": 10, "file": "../../etc/passwd"}
]})json";

Page sample(QTemporaryDir& dir)
{
    writeBytes(dir.filePath("Candidature.frf"), kTemplate);
    Page page;
    QString error;
    if (!readTemplate(dir.filePath("Candidature.frf"), &page, &error)) qWarning() << error;
    return page;
}

QString textOf(const Page& page)
{
    QStringList t;
    for (const Object& o : page.objects)
        if (const auto* box = std::get_if<TextBox>(&o)) t.append(box->text);
    return t.join(QLatin1Char('|'));
}

QString memo(int lines)
{
    QStringList l;
    for (int i = 1; i <= lines; ++i)
        l.append(QStringLiteral("Ligne %1 du bloc-notes").arg(i));
    return l.join(QStringLiteral("\r\n"));
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void aTemplateIsReadWithItsObjects()
    {
        QTemporaryDir dir;
        const Page page = sample(dir);
        QCOMPARE(page.objects.size(), 6);
        const auto& title = std::get<TextBox>(page.objects[0]);
        QCOMPARE(title.rect, QRectF(40, 30, 700, 30));
        QCOMPARE(title.fontSize, 20);
        QVERIFY(title.bold);
        QCOMPARE(title.align, Qt::AlignHCenter | Qt::AlignTop);
        QCOMPARE(title.frame, int(AllSides));
        QCOMPARE(title.fill, QColor("#dde6f4"));
        QVERIFY(std::get<TextBox>(page.objects[3]).flows);
        QVERIFY(std::get<TextBox>(page.objects[4]).footer);
        // A picture never reaches outside the template's folder.
        QVERIFY(std::get<Picture>(page.objects[5]).image.isNull());
    }

    void aMissingOrDamagedTemplateIsNoTemplate()
    {
        QTemporaryDir dir;
        Page page;
        QString error;
        QVERIFY(!readTemplate(dir.filePath("absent.frf"), &page, &error));
        QVERIFY(!error.isEmpty());
        writeBytes(dir.filePath("bad.frf"), "{\"objects\": [ {\"type\": \"text\", ");
        error.clear();
        QVERIFY(!readTemplate(dir.filePath("bad.frf"), &page, &error));
        QVERIFY(!error.isEmpty());
        writeBytes(dir.filePath("array.frf"), "[1, 2, 3]");
        QVERIFY(!readTemplate(dir.filePath("array.frf"), &page, &error));
        // The report is then made without it.
        QVERIFY(templateOrEmpty(dir.filePath("bad.frf")).objects.isEmpty());
    }

    void variablesAreFilledInAndTheirBracketsNameNothing()
    {
        QTemporaryDir dir;
        const QList<Page> pages = prepare(sample(dir), {{"Titre", "Candidature du 05/03/2026"},
                                                        {"societe", "ACME [PAGE#] [Titre]"},
                                                        {"Memo", "court"}});
        QCOMPARE(pages.size(), 1);
        QCOMPARE(textOf(pages[0]), QStringLiteral("Candidature du 05/03/2026|"
                                                  "Société : ACME [PAGE#] [Titre] ()|court|"
                                                  "Page 1/1"));
    }

    void aLongTextFlowsOverFurtherPagesWithTheFooter()
    {
        QTemporaryDir dir;
        const Page templ = sample(dir);
        const QList<Page> pages = prepare(templ, {{"Memo", memo(200)}});
        QVERIFY(pages.size() >= 3);
        QString all;
        for (int i = 0; i < pages.size(); ++i) {
            const QString text = textOf(pages[i]);
            QVERIFY2(text.endsWith(QStringLiteral("Page %1/%2").arg(i + 1).arg(pages.size())),
                     qPrintable(text));
            for (const Object& o : pages[i].objects)
                if (const auto* t = std::get_if<TextBox>(&o); t && t->flows) {
                    all += t->text + QLatin1Char('\n');
                    QVERIFY(t->rect.bottom() < 1090);
                    if (i > 0) QCOMPARE(t->rect.top(), 40.0);
                }
        }
        // Every line once, in order, none lost at a page break.
        const QStringList lines = all.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 200);
        QCOMPARE(lines.first(), QStringLiteral("Ligne 1 du bloc-notes"));
        QCOMPARE(lines.last(), QStringLiteral("Ligne 200 du bloc-notes"));
        // Only the flowing text and the footer come on the further pages.
        QCOMPARE(pages[1].objects.size(), 2);
    }

    void wrappingKeepsIndentationAndCutsWordsWiderThanTheBox()
    {
        TextBox box;
        const QFontMetricsF fm(fontOf(box));
        const qreal width = fm.horizontalAdvance(QStringLiteral("0123456789"));
        const QStringList lines = wrapLines(
            box, QStringLiteral("    abc\r\n\r\n") + QString(25, QLatin1Char('x')), width);
        QCOMPARE(lines.first(), QStringLiteral("    abc"));
        QCOMPARE(lines.at(1), QString());
        QCOMPARE(lines.mid(2).join(QString()), QString(25, QLatin1Char('x')));
        for (const QString& l : lines)
            QVERIFY(fm.horizontalAdvance(l) <= width);
        // A text of one huge word is cut in linear time, not quadratic.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(wrapLines(box, QString(200000, QLatin1Char('y')), width).size() > 1000);
        QVERIFY(clock.elapsed() < timeLimitMs(5000));
    }

    void thePdfHasThePagesTheSizeAndTheTextOfTheReport()
    {
        QTemporaryDir dir;
        Report r;
        r.title = QStringLiteral("Rapport de candidature");
        r.pages = prepare(
            sample(dir),
            {{"Titre", "Candidature du 05/03/2026"}, {"societe", "ACME"}, {"Memo", memo(120)}});
        const QString path = dir.filePath("rapport.pdf");
        QString error;
        QVERIFY2(writePdf(r, path, QStringLiteral("ORVALDIS"), &error), qPrintable(error));
        QPdfDocument pdf;
        QCOMPARE(pdf.load(path), QPdfDocument::Error::None);
        QCOMPARE(pdf.pageCount(), int(r.pages.size()));
        const QSizeF points = pdf.pagePointSize(0);
        QVERIFY(qAbs(points.width() - 212 / 25.4 * 72) < 0.5);
        QVERIFY(qAbs(points.height() - 299.8273 / 25.4 * 72) < 0.5);
        const QString first = pdf.getAllText(0).text();
        QVERIFY2(first.contains(QStringLiteral("Candidature du 05/03/2026")), qPrintable(first));
        QVERIFY(first.contains(QStringLiteral("Société : ACME")));
        QVERIFY(first.contains(QStringLiteral("Page 1/%1").arg(pdf.pageCount())));
        QCOMPARE(pdf.metaData(QPdfDocument::MetaDataField::Title).toString(), r.title);
        QCOMPARE(pdf.metaData(QPdfDocument::MetaDataField::Creator).toString(),
                 QStringLiteral("ORVALDIS"));
        QVERIFY(readBytes(path).contains("<pdf:Keywords>ORVALDIS</pdf:Keywords>"));
    }

    void printingPaintsEveryPageAndSaysWhenThereIsNoPrinter()
    {
        QTemporaryDir dir;
        Report r;
        r.title = QStringLiteral("Rapport de candidature");
        r.pages = prepare(sample(dir), {{"Titre", "Titre imprimé"}, {"Memo", memo(150)}});
        QPrinter printer(QPrinter::HighResolution);
        preparePrinter(printer, r);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("imprime.pdf"));
        QVERIFY(paintOn(printer, r));
        QPdfDocument pdf;
        QCOMPARE(pdf.load(dir.filePath("imprime.pdf")), QPdfDocument::Error::None);
        QCOMPARE(pdf.pageCount(), int(r.pages.size()));
        QVERIFY(qAbs(pdf.pagePointSize(0).width() - 212 / 25.4 * 72) < 0.5);
        QVERIFY(pdf.getAllText(0).text().contains(QStringLiteral("Titre imprimé")));

        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        QString error;
        QVERIFY(!printReport(r, nullptr, false, &error));
        QCOMPARE(error, QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur."));
    }

    void theSpreadsheetGridFollowsThePositionsOfTheTexts()
    {
        Page page;
        auto at = [&page](qreal x, qreal y, const QString& t) {
            TextBox b;
            b.rect = QRectF(x, y, 10, 10);
            b.text = t;
            page.objects.append(b);
        };
        at(134, 15, "BETA");
        at(51, 0, "05/01/2026");
        at(134, 0, "ACME");
        at(51, 15, "07/01/2026");
        Picture pic;
        pic.rect = QRectF(36, 0, 15, 15);
        page.objects.append(pic);
        at(637, 15, "C");
        const QList<QStringList> grid = pageGrid(page);
        QCOMPARE(grid.size(), 2);
        QCOMPARE(grid[0], QStringList({"05/01/2026", "ACME", ""}));
        QCOMPARE(grid[1], QStringList({"07/01/2026", "BETA", "C"}));

        QTemporaryDir dir;
        QString error;
        QVERIFY2(writeXlsx(grid, dir.filePath("a.xlsx"), &error), qPrintable(error));
        QVERIFY(readBytes(dir.filePath("a.xlsx")).startsWith("PK"));
        // Nowhere to write: the reason is given and the previous file stays.
        writeBytes(dir.filePath("b.xlsx"), "ancien");
        QVERIFY(!writeXlsx(grid, dir.filePath("absent/b.xlsx"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(dir.filePath("b.xlsx")), QByteArray("ancien"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void pagesMadeOnDemandGiveOneSheetAndOnePdfPagePerPage()
    {
        // Page i holds "r<i>" at the top and, on page 1 only, a third column.
        Report r;
        r.title = QStringLiteral("Parties");
        r.madePageCount = 3;
        QList<int> made;
        r.makePage = [&made](int i) {
            made.append(i);
            Page page;
            for (int row = 0; row < 2; ++row) {
                TextBox b;
                b.rect = QRectF(50, 15 * row, 40, 15);
                b.text = QStringLiteral("r%1.%2").arg(i).arg(row);
                page.objects.append(b);
            }
            if (i == 1) {
                TextBox extra;
                extra.rect = QRectF(300, 15, 40, 15);
                extra.text = QStringLiteral("x");
                page.objects.append(extra);
            }
            return page;
        };
        QCOMPARE(r.pageCount(), 3);
        const QList<QStringList> grid = reportGrid(r);
        QCOMPARE(made, QList<int>({0, 1, 2}));
        // Same tops on different pages stay different rows, in page order.
        QCOMPARE(grid.size(), 6);
        QCOMPARE(grid[0], QStringList({"r0.0", ""}));
        QCOMPARE(grid[3], QStringList({"r1.1", "x"}));
        QCOMPARE(grid[5], QStringList({"r2.1", ""}));

        QTemporaryDir dir;
        QString error;
        QVERIFY2(writePdf(r, dir.filePath("p.pdf"), QStringLiteral("ORVALDIS"), &error),
                 qPrintable(error));
        QPdfDocument pdf;
        QCOMPARE(pdf.load(dir.filePath("p.pdf")), QPdfDocument::Error::None);
        QCOMPARE(pdf.pageCount(), 3);
        QVERIFY(pdf.getAllText(2).text().contains(QStringLiteral("r2.1")));
    }

    void aFailedWriteLeavesTheFileThatWasThere()
    {
        QTemporaryDir dir;
        Report r;
        r.pages = {Page{}};
        QString error;
        // A folder where the file should go.
        QVERIFY(QDir(dir.path()).mkdir("rapport.pdf"));
        QVERIFY(!writePdf(r, dir.filePath("rapport.pdf"), QStringLiteral("ORVALDIS"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(QFileInfo(dir.filePath("rapport.pdf")).isDir());
        // A folder that cannot be written to: the previous file stays whole.
        writeBytes(dir.filePath("ancien.pdf"), "%PDF ancien");
        QVERIFY(
            !writePdf(r, dir.filePath("absent/ancien.pdf"), QStringLiteral("ORVALDIS"), &error));
        QCOMPARE(readBytes(dir.filePath("ancien.pdf")), QByteArray("%PDF ancien"));
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
