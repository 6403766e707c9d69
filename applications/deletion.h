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

ApplicationDeletion DelCandidature(Store& store, qint32 id);
