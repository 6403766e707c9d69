#pragma once
// Finds a company by id without walking the table: the position of the first
// live company with each id, as a walk in table order would find it.

#include "store/records.h"

#include <QHash>
#include <QList>

class SocieteIndex
{
public:
    SocieteIndex() = default;
    explicit SocieteIndex(const QList<TSocieteRec>& societes) { rebuild(societes); }

    void rebuild(const QList<TSocieteRec>& societes);

    // Position in the table of the first live company with this id; -1 when none.
    int find(qint32 id) const { return positions_.value(id, -1); }

private:
    QHash<qint32, int> positions_;
};
