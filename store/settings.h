#pragma once
// The user's settings: string values under a key path, kept in the file
// ORVALDIS.ini of the program directory. The key path becomes the group of
// the file ("SOFTWARE\ORVALDIS" → [SOFTWARE] ORVALDIS/...).

#include <QList>
#include <QString>
#include <functional>
#include <utility>

// The settings file; set once at start-up (tests point it elsewhere).
void setRegistryFile(const QString& path);
QString registryFile();

// The key every value of the program lives under.
inline const QString RegistryKey = QStringLiteral("SOFTWARE\\ORVALDIS");

// What becomes of the message of a settings file that cannot be read or
// written. The windowed program shows it in a box; by default it goes to
// standard error. An empty handler puts the default back.
void setRegistryFailureHandler(std::function<void(const QString&)> handler);

// Value of a setting, empty when it was never written. A settings file that
// cannot be read reports "Impossible de lire la base de registres".
QString Readregistry(const QString& key, const QString& name);

// Writes a setting. A settings file that cannot be written reports "Erreur lors
// de la mise à jour de la base de registres" and gives false.
bool WriteRegistry(const QString& key, const QString& name, const QString& value);
// Several settings in one write of the file.
bool WriteRegistry(const QString& key, const QList<std::pair<QString, QString>>& values);
