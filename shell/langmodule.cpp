#include "shell/langmodule.h"

#include "platform/messages.h"
#include "store/cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace
{
const char* kSuffix = ".so";
}

QString LanguageModule::choose(const QString& programDir, const QString& settingName)
{
    const QString dir = programDir + QStringLiteral("/Lang/");
    if (!settingName.isEmpty() && !settingName.contains(QLatin1Char('/')) &&
        QFileInfo(dir + settingName + QLatin1String(kSuffix)).isFile())
        return dir + settingName + QLatin1String(kSuffix);
    return dir + QStringLiteral("Francais") + QLatin1String(kSuffix);
}

bool LanguageModule::load(const QString& programDir, const QString& settingName)
{
    const QString file = choose(programDir, settingName);
    library_.setFileName(file);
    const bool loaded = library_.load();
    if (!loaded) msg::plain(QStringLiteral("Erreur au chargement de la DLL de langue"));
    getTxt_ = loaded ? reinterpret_cast<GetTxtFn>(library_.resolve("GetTxt")) : nullptr;
    if (!getTxt_) {
        msg::plain(QStringLiteral("Erreur lors du chargement. Veuillez réinstaller le produit"));
        if (loaded) library_.unload();
        return false;
    }
    name_ = QFileInfo(file).completeBaseName();
    return true;
}

QString LanguageModule::text(int id) const
{
    if (!getTxt_) return QString();
    const char* t = getTxt_(id);
    return t ? cp1252::decode(t, int(std::strlen(t))) : QString();
}

void LanguageModule::release()
{
    getTxt_ = nullptr;
    if (library_.isLoaded()) library_.unload();
}

QStringList availableLanguages(const QString& programDir)
{
    QStringList names;
    const QDir dir(programDir + QStringLiteral("/Lang"));
    for (const QFileInfo& f :
         dir.entryInfoList({QStringLiteral("*.so")}, QDir::Files, QDir::Unsorted))
        names.append(f.completeBaseName());
    return names;
}
