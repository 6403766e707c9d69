#include "applications/deletion.h"

#include "applications/documents.h"

ApplicationDeletion DelCandidature(Store& store, qint32 id)
{
    TCandidatureRec deleted{};
    bool found = false;
    ApplicationDeletion d;
    d.rewrite = store.rewriteWithout<TCandidatureRec>([&](const TCandidatureRec& c) {
        if (qint32(c.id) != id) return false;
        if (!found) {
            deleted = c;
            found = true;
        }
        return true;
    });
    if (d.rewrite.outcome != Rewrite::Done) return d;
    const Store::Busy busy(store);
    if (found) d.fileErrors = deleteApplicationFiles(store, deleted);
    return d;
}
