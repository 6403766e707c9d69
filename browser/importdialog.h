#pragma once
// What the three dialogs that place an imported page have in common: "OK"
// and "Annuler", no close button, and "Annuler" (or Escape) deleting the
// page waiting for its application, which ends the import.

#include <QDialog>

class ProgramState;
class QPushButton;

class ImportDialog : public QDialog
{
    Q_OBJECT
public:
    ImportDialog(ProgramState& state, QWidget* parent);

    QPushButton* BitBtn1 = nullptr; // "OK"
    QPushButton* BitBtn2 = nullptr; // "Annuler"

protected:
    // Runs the dialog modally after `prepare`, centred on the screen.
    int openModal();
    // "OK": each dialog goes on with the import its way.
    virtual void BitBtn1Click() = 0;
    // Deletes the pending PDF and closes; when it cannot be deleted the
    // message says why and the dialog stays.
    void BitBtn2Click();

    // Escape is "Annuler"; the window manager cannot close the dialog.
    void reject() override { BitBtn2Click(); }
    void closeEvent(QCloseEvent* e) override;

    ProgramState& s_;
};
