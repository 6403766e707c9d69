#pragma once
// Look-ups in the in-memory tables.

#include "store/records.h"

#include <QList>

// Position of the live record with this id; -1 when there is none. Records
// that are not live keep their place in a table but are never found.
template <class T> int findById(const QList<T>& table, qint32 id)
{
    for (int i = 0; i < table.size(); ++i)
        if (isLive(table[i]) && qint32(table[i].id) == id) return i;
    return -1;
}

// Position of the record the user chose: `position` while it still holds
// the live record `id`, else the first live record with that id. Two
// records of a damaged file may share an id; the position tells them apart.
template <class T> int findChosen(const QList<T>& table, qint32 id, int position)
{
    if (position >= 0 && position < table.size() && isLive(table[position]) &&
        qint32(table[position].id) == id)
        return position;
    return findById(table, id);
}
