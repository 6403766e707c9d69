#include "applications/deletion.h"

#include "applications/documents.h"
#include "store/tables.h"

ApplicationDeletion DelCandidature(Store& store, int position)
{
    ApplicationDeletion d;
    if (position < 0 || position >= store.Candidatures.size()) {
        d.rewrite = {Rewrite::Unchanged, QString()};
        return d;
    }
    // Only the record at that position goes, even when another one of a
    // damaged file shares its id.
    const TCandidatureRec deleted = store.Candidatures[position];
    const TCandidatureRec* chosen = store.Candidatures.constData() + position;
    d.rewrite = store.rewriteWithout<TCandidatureRec>(
        [chosen](const TCandidatureRec& c) { return &c == chosen; });
    if (d.rewrite.outcome != Rewrite::Done) return d;
    const Store::Busy busy(store);
    // Text files named by an id that another record still holds are its own.
    if (findById(store.Candidatures, deleted.id) < 0)
        d.fileErrors = deleteApplicationFiles(store, deleted);
    return d;
}
