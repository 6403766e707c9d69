// Start-up of the program to its listing, for timing from outside the
// process (so that loading the shared libraries is counted too).
//
//   orvaldis_startup --prepare DIR LANGDIR   writes the data of a job search of
//                                            100,000 applications into DIR
//   orvaldis_startup DIR                     starts the program in DIR as main
//                                            does (no splash), ends once the
//                                            listing is built and prints the
//                                            milliseconds spent in main
//
// Run it under `time`, or in a loop measuring wall time, several times.

#include "bench/datagen.h"
#include "shell/application.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && QByteArray(argv[1]) == "--prepare") {
        QCoreApplication core(argc, argv);
        const QString dir = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(dir + QStringLiteral("/Lang"));
        QString error;
        if (!datagen::writeDataFiles(dir, datagen::generate(), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        QFile::remove(dir + QStringLiteral("/Lang/Francais.so"));
        QFile::copy(QString::fromLocal8Bit(argv[3]) + QStringLiteral("/Francais.so"),
                    dir + QStringLiteral("/Lang/Francais.so"));
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s --prepare DIR LANGDIR | %s DIR\n", argv[0], argv[0]);
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    OrvaldisApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    setRegistryFile(dir + QStringLiteral("/ORVALDIS.ini"));
    TMDIParent frame(dir);
    if (!frame.FormCreate()) return 1;
    installQtTranslations(frame.language().name());
    if (!frame.createMainWindow()) return 1;
    QObject::connect(frame.formGeneral(), &TFormGeneral::loaded, &app, [&] {
        std::printf("%lld ms in main\n", static_cast<long long>(timer.elapsed()));
        QCoreApplication::exit(0);
    });
    frame.show();
    return app.exec();
}
