#pragma once
// Texts by id, from the language module chosen at start-up.

#include <QString>
#include <functional>

using TextSource = std::function<QString(int id)>;

// Installs the source of the texts (the loaded language module).
void setTextSource(TextSource source);

// The text of an id; empty until a source is installed.
QString GetTxt(int id);

// The line break inside the program's messages.
inline const QString CR = QStringLiteral("\r");
