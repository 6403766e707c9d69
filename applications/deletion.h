#pragma once
// Deleting an application for good: its record, after a safety copy of the
// file, then its notes, pasted texts and the PDFs imported for it. Files of
// the user's own that its documents point to are never touched.

#include "store/store.h"

#include <QStringList>

struct [[nodiscard]] ApplicationDeletion {
    // Done: candidatures.dat was rewritten without the application.
    // Unchanged: nothing changed; Failed: the caller ends the program.
    // Both after the message of `rewrite.error`.
    RewriteResult rewrite;
    // The files of the application that could not be deleted, one message
    // each, shown after a Done.
    QStringList fileErrors;
};

// `position` is the application's place in store.Candidatures; a position
// outside the table changes nothing (Unchanged, without a message).
ApplicationDeletion DelCandidature(Store& store, int position);
