#include "platform/report/pdf.h"

#include "platform/report/painter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace report
{
namespace
{

QString escaped(const QString& s)
{
    return s.toHtmlEscaped();
}

// Author, subject and keywords go in the XMP metadata of the document.
QByteArray xmp(const QString& title, const QString& producer)
{
    const QString t = escaped(title), p = escaped(producer);
    return QStringLiteral(
               "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
               "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
               "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
               "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
               "xmlns:pdf='http://ns.adobe.com/pdf/1.3/' "
               "xmlns:xmp='http://ns.adobe.com/xap/1.0/'>\n"
               "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
               "<dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
               "<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>%2</rdf:li></rdf:Alt>"
               "</dc:description>\n"
               "<pdf:Keywords>%2</pdf:Keywords>\n"
               "<pdf:Producer>%2</pdf:Producer>\n"
               "<xmp:CreatorTool>%2</xmp:CreatorTool>\n"
               "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>")
        .arg(t, p)
        .toUtf8();
}

} // namespace

bool writePdf(const Report& report, const QString& path, const QString& producer, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(int(Dpi));
        writer.setPageSize(QPageSize(QSizeF(PageWidthMm, PageHeightMm), QPageSize::Millimeter,
                                     QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(report.title);
        writer.setCreator(producer);
        writer.setDocumentXmpMetadata(xmp(report.title, producer));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QStringLiteral("impossible de créer le document PDF");
            file.cancelWriting();
            return false;
        }
        for (int i = 0; i < report.pageCount(); ++i) {
            if (i > 0) writer.newPage();
            paintPage(painter, report.page(i));
        }
        painter.end();
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace report
