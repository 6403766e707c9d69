#pragma once
// Deleting an application for good: its record, after a safety copy of the
// file, then its notes, pasted texts and the PDFs imported for it. Files of
// the user's own that its documents point to are never touched.

#include "store/store.h"

// True when candidatures.dat was rewritten without the application.
bool DelCandidature(Store& store, qint32 id);
