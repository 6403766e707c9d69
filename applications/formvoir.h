#pragma once
// TFormVoir, "Voir le document": shows a pasted text, and VoirPJ, which opens
// the document of a slot.

#include "applications/documents.h"

#include <QDialog>

class QPlainTextEdit;
class Store;

class TFormVoir : public QDialog
{
    Q_OBJECT
public:
    explicit TFormVoir(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
};

// Opens the document of a slot whose path field is `value`: a file with the
// program the desktop associates with it, a pasted text ("<TEXTE>") in the
// viewer. A missing document is reported with "Impossible de trouver ".
void VoirPJ(QWidget* parent, const Store& store, DocSlot slot, const QString& value, qint32 id);
