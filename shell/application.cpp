#include "shell/application.h"

#include "shell/mdiparent.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

OrvaldisApplication::OrvaldisApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // No display name: Qt would add it to every window title, and each
    // window's title is exactly its own caption.
    setApplicationName(QStringLiteral("ORVALDIS"));
    setStyle(QStringLiteral("Fusion"));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(9);
    setFont(f);
}

bool OrvaldisApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        TMDIParent::Gestion_Erreur(QString::fromUtf8(e.what()));
    } catch (...) {
        TMDIParent::Gestion_Erreur(QStringLiteral("Erreur inattendue"));
    }
    return false;
}

QString OrvaldisApplication::programDir()
{
    return applicationDirPath();
}

void installQtTranslations(const QString& languageModule)
{
    const bool english = languageModule.compare(QLatin1String("English"), Qt::CaseInsensitive) == 0;
    QLocale::setDefault(english ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                : QLocale(QLocale::French, QLocale::France));
    if (english) return;
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}
