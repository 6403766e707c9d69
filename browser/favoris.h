#pragma once
// The browser's favourites, kept in favoris.dat: names are unique (letter
// case counts), the file keeps the order they were added in.

#include "store/result.h"
#include "store/store.h"

#include <QStringList>

namespace favoris
{

// The names to list, sorted alphabetically as a reader expects (letter
// case and accents second).
QStringList noms(const QList<TFavoriRec>& table);

// The first favourite of that exact name, or -1.
int indexOf(const QList<TFavoriRec>& table, const QString& nom);

// Appends a favourite to favoris.dat and the table, name and address cut
// to 255 characters. Refused when the name is taken or cannot be written in
// the file's character set; an address is written in its encoded form.
Result ajoute(Store& store, const QString& nom, const QString& url);

// Removes the favourite of that name: safety copy backup/favoris.dat, then
// favoris.dat rewritten whole without it, in the same order. A failure
// leaves favoris.dat and the table as they were; its message is the one the
// user is shown (the program goes on: favoris.dat is never left half written).
Result supprime(Store& store, const QString& nom);

} // namespace favoris
