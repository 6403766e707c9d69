// Program entry: title, splash, single instance, the windows, the event loop.

#include "platform/messageboxes.h"
#include "platform/messages.h"
#include "shell/application.h"
#include "shell/mdiparent.h"
#include "shell/singleinstance.h"
#include "shell/splash.h"
#include "store/folderlock.h"
#include "store/settings.h"

#include <QEventLoop>
#include <QTimer>
#include <unistd.h>

int main(int argc, char** argv)
{
    // The web engine of the browser page: its sandbox cannot run as root, and
    // it shares its drawing contexts with the windows. Nothing of it starts here.
    if (::getuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    OrvaldisApplication app(argc, argv);
    MessageBoxes boxes;
    msg::install(&boxes);
    setRegistryFailureHandler([](const QString& text) { msg::error(text); });
    const QString dir = OrvaldisApplication::programDir();
    setRegistryFile(dir + QStringLiteral("/ORVALDIS.ini"));

    SingleInstance instance(OrvaldisApplication::applicationFilePath());
    if (!instance.acquire()) {
        installQtTranslations(Readregistry(RegistryKey, QStringLiteral("lang")));
        msg::error(QStringLiteral("L'application est déjà ouverte"));
        instance.activateRunning();
        return 0;
    }
    // Another path to the same folder (a link, a copy of the executable) is
    // another instance above, but the same data files: they are locked too.
    FolderLock folder(dir);
    if (const Result locked = folder.acquire(); !locked.ok) {
        installQtTranslations(Readregistry(RegistryKey, QStringLiteral("lang")));
        msg::error(locked.error);
        return 0;
    }

    TSplashScreen splash;
    splash.show();
    splash.repaint();
    // The splash stays 3 seconds; ORVALDIS_SPLASH_MS shortens it for automated runs.
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ORVALDIS_SPLASH_MS", &ok);
    QEventLoop wait;
    QTimer::singleShot(ok ? ms : 3000, &wait, &QEventLoop::quit);
    wait.exec();

    TMDIParent frame(dir);
    if (!frame.FormCreate()) return 1;
    installQtTranslations(frame.language().name());
    if (!frame.createMainWindow()) return 1;
    QObject::connect(&instance, &SingleInstance::activationRequested, &frame,
                     &TMDIParent::bringToFront);
    frame.show();
    splash.hide();
    return app.exec();
}
