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
