// The report templates on arbitrary text: read, then prepared with
// variables as a report is, flowing text and page markers included.

#include "platform/report/prepare.h"
#include "platform/report/templatereader.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Texts are measured in real fonts, which needs the application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.frf"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    report::Page page;
    QString error;
    if (!report::readTemplate(path, &page, &error)) return 0;
    const QMap<QString, QString> variables{{QStringLiteral("Titre"), QStringLiteral("Titre")},
                                           {QStringLiteral("Memo"), QString(3000, QLatin1Char('m'))}};
    (void)report::prepare(page, variables);
    return 0;
}
