#pragma once
// TFormLierDoc, "Attacher un document": links a file or a pasted text to one
// document slot of an application.

#include "applications/documents.h"

#include <QDialog>

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class Store;

class TFormLierDoc : public QDialog
{
    Q_OBJECT
public:
    explicit TFormLierDoc(QWidget* parent = nullptr);

    // Opens the dialog on the slot of the application `id` (at `position`
    // when it holds that id); on OK writes the choice (linkDocument). True
    // when the record was written: the caller then reloads the editor.
    // Every change made in the dialog, and a written record, set
    // `rafraichirListing`.
    bool run(Store& store, qint32 id, int position, DocSlot slot, bool& rafraichirListing);

    // The choice as the dialog holds it.
    LinkChoice choice() const;

    // Filter of the file chooser, in Qt's form.
    static QString filtre();

    QGroupBox* GroupDate = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QGroupBox* GroupChoix = nullptr;
    QRadioButton* RadioFichier = nullptr;
    QLineEdit* FichierDoc = nullptr;
    QPushButton* Bt_Parcourir = nullptr;
    QRadioButton* RadioMemo = nullptr;
    QPlainTextEdit* Bloc = nullptr;
    QPushButton* Bt_OK = nullptr;
    QPushButton* Bt_Annuler = nullptr;

private:
    // Fills the dialog from the application's record and its pasted text.
    void FormShow(const TCandidatureRec& rec, DocSlot slot, const QString& pastedText);
    void Bt_ParcourirClick();
    void Bt_OKClick();
    void choiceChanged();
    void changed();

    bool* rafraichir_ = nullptr;
};
