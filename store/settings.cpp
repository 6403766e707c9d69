#include "store/settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
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

// The damaged settings file set aside in this run, empty when none was.
QString& damagedCopy()
{
    static QString path;
    return path;
}

// A settings file whose lines cannot all be read keeps what can be read;
// the rest is lost at the next write. Before that, the file is copied to
// backup/ once, and the user is told once which file it is and where the
// copy is.
void keepDamaged(const QSettings& s)
{
    if (s.status() != QSettings::FormatError || !damagedCopy().isEmpty()) return;
    const QFileInfo info(file());
    const QString folder = info.absolutePath() + QStringLiteral("/backup");
    QDir().mkpath(folder);
    const QString copy = folder + QLatin1Char('/') + info.completeBaseName() +
                         QStringLiteral("-endommagé-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss")) +
                         QLatin1Char('.') + info.suffix();
    damagedCopy() = copy;
    const bool copied = QFile::copy(file(), copy);
    reportFailure(QStringLiteral("Le fichier de réglages ") + QDir::toNativeSeparators(file()) +
                  QStringLiteral(" est endommagé : les réglages qui n'ont pu y être lus "
                                 "reprennent leur valeur par défaut.") +
                  (copied ? QStringLiteral("\nUne copie du fichier est gardée sous ") +
                                QDir::toNativeSeparators(copy) + QLatin1Char('.')
                          : QStringLiteral("\nSa copie n'a pas pu être faite dans ") +
                                QDir::toNativeSeparators(folder) + QLatin1Char('.')));
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
    damagedCopy().clear();
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
    // The file is read at the first value asked; its status follows.
    const QString value = s.value(settingName(key, name)).toString();
    if (s.status() == QSettings::AccessError) {
        reportFailure(QStringLiteral("Impossible de lire la base de registres"));
        return QString();
    }
    keepDamaged(s);
    return value;
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
        s.allKeys(); // reads the file, and with it its status
        keepDamaged(s);
        const bool damaged = s.status() == QSettings::FormatError;
        for (const auto& [name, value] : values)
            s.setValue(settingName(key, name), value);
        s.sync();
        // A damaged file keeps its reading status: read back what was written.
        if (damaged) {
            const QSettings back(file(), QSettings::IniFormat);
            for (const auto& [name, value] : values)
                ok = ok && back.value(settingName(key, name)) == value;
        } else {
            ok = s.status() == QSettings::NoError;
        }
    }
    if (!ok) reportFailure(QStringLiteral("Erreur lors de la mise à jour de la base de registres"));
    return ok;
}
