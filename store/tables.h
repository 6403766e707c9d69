#pragma once
// Looking up a record of a table by its id.

#include "store/records.h"

#include <QList>

// Position of the live record with that id, or -1.
template <class T> int findById(const QList<T>& table, qint32 id)
{
    for (int i = 0; i < table.size(); ++i)
        if (isLive(table[i]) && qint32(table[i].id) == id) return i;
    return -1;
}
