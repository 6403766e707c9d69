#include "applications/deletion.h"

#include "applications/documents.h"
#include "store/journal.h"

#include <utility>

ApplicationDeletion DelCandidature(Store& store, int position)
{
    ApplicationDeletion d;
    const QList<TCandidatureRec>& table = std::as_const(store.Candidatures);
    if (position < 0 || position >= table.size()) {
        d.rewrite = {Rewrite::Unchanged, QString()};
        return d;
    }
    const TCandidatureRec deleted = table[position];
    // Text files named by an id that another record of a damaged file still
    // holds are that record's own.
    bool idShared = false;
    for (int i = 0; i < table.size() && !idShared; ++i)
        idShared = i != position && isLive(table[i]) && table[i].id == deleted.id;

    // The record and its files go as one step: a stop in between is
    // finished at the next start. Only the record at that position goes,
    // even when another one shares its id.
    JournalStep step(store);
    d.rewrite = step.prepareWithout<TCandidatureRec>(
        [position, at = 0](const TCandidatureRec&) mutable { return at++ == position; });
    if (d.rewrite.outcome != Rewrite::Done) return d;
    if (!idShared) step.deleteFiles(applicationFiles(store, deleted));
    d.rewrite = step.apply();
    if (d.rewrite.outcome != Rewrite::Done) return d;
    const Store::Busy busy(store);
    if (!idShared) d.fileErrors = deleteApplicationFiles(store, deleted);
    // A file that could not be deleted has its message; the step is over.
    (void)step.finish();
    return d;
}
