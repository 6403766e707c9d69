#include "applications/deletion.h"

#include "applications/documents.h"

bool DelCandidature(Store& store, qint32 id)
{
    TCandidatureRec deleted{};
    bool found = false;
    const Rewrite r = store.rewriteWithout<TCandidatureRec>([&](const TCandidatureRec& c) {
        if (qint32(c.id) != id) return false;
        if (!found) {
            deleted = c;
            found = true;
        }
        return true;
    });
    if (r != Rewrite::Done) return false;
    store.Occupe = true;
    if (found) deleteApplicationFiles(store, deleted);
    store.Occupe = false;
    return true;
}
