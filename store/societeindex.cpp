#include "store/societeindex.h"

void SocieteIndex::rebuild(const QList<TSocieteRec>& societes)
{
    positions_.clear();
    positions_.reserve(societes.size());
    for (int i = 0; i < societes.size(); ++i) {
        const TSocieteRec& s = societes[i];
        if (isLive(s) && !positions_.contains(s.id)) positions_.insert(s.id, i);
    }
}
