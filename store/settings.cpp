#include "store/settings.h"

#include <QFileInfo>
#include <QSettings>
#include <utility>

namespace
{

QString& file()
{
    static QString f;
    return f;
}

void warnOnStandardError(const QString& text)
{
    qWarning("%s", qUtf8Printable(text));
}

std::function<void(const QString&)>& failureHandler()
{
    static std::function<void(const QString&)> handler = warnOnStandardError;
    return handler;
}

void reportFailure(const QString& text)
{
    failureHandler()(text);
}

QString settingName(const QString& key, const QString& name)
{
    QString k = key;
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return k + QLatin1Char('/') + name;
}

} // namespace

void setRegistryFailureHandler(std::function<void(const QString&)> handler)
{
    failureHandler() = handler ? std::move(handler) : warnOnStandardError;
}

void setRegistryFile(const QString& path)
{
    file() = path;
}
QString registryFile()
{
    return file();
}

QString Readregistry(const QString& key, const QString& name)
{
    const QFileInfo info(file());
    if (info.exists() && (!info.isFile() || !info.isReadable())) {
        reportFailure(QStringLiteral("Impossible de lire la base de registres"));
        return QString();
    }
    QSettings s(file(), QSettings::IniFormat);
    if (s.status() != QSettings::NoError) {
        reportFailure(QStringLiteral("Impossible de lire la base de registres"));
        return QString();
    }
    return s.value(settingName(key, name)).toString();
}

bool WriteRegistry(const QString& key, const QString& name, const QString& value)
{
    return WriteRegistry(key, {{name, value}});
}

bool WriteRegistry(const QString& key, const QList<std::pair<QString, QString>>& values)
{
    const QFileInfo info(file());
    bool ok = !info.exists() || (info.isFile() && info.isWritable());
    if (ok) {
        QSettings s(file(), QSettings::IniFormat);
        for (const auto& [name, value] : values)
            s.setValue(settingName(key, name), value);
        s.sync();
        ok = s.status() == QSettings::NoError;
    }
    if (!ok) reportFailure(QStringLiteral("Erreur lors de la mise à jour de la base de registres"));
    return ok;
}
