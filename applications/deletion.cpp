#include "applications/deletion.h"

#include "applications/documents.h"
#include "store/journal.h"

ApplicationDeletion DelCandidature(Store& store, qint32 id)
{
    TCandidatureRec deleted{};
    bool found = false;
    ApplicationDeletion d;
    // The record and its files go as one step: a stop in between is
    // finished at the next start.
    JournalStep step(store);
    d.rewrite = step.prepareWithout<TCandidatureRec>([&](const TCandidatureRec& c) {
        if (qint32(c.id) != id) return false;
        if (!found) {
            deleted = c;
            found = true;
        }
        return true;
    });
    if (d.rewrite.outcome != Rewrite::Done) return d;
    if (found) step.deleteFiles(applicationFiles(store, deleted));
    d.rewrite = step.apply();
    if (d.rewrite.outcome != Rewrite::Done) return d;
    const Store::Busy busy(store);
    if (found) d.fileErrors = deleteApplicationFiles(store, deleted);
    // A file that could not be deleted has its message; the step is over.
    (void)step.finish();
    return d;
}
