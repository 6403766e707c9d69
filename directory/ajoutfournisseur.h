#pragma once
// TFormAjoutFournisseur: adds one company. Modeless and above the program's
// other windows; opened from the directory and from the new-application wizard.

#include <QDialog>

class CompanyFields;
class ProgramState;
class QRadioButton;

class TFormAjoutFournisseur : public QDialog
{
    Q_OBJECT
public:
    TFormAjoutFournisseur(ProgramState& state, QWidget* parent);

    // Shows the dialog emptied, "Société" checked, the focus in the name.
    void showAdd();

private:
    void Annu_saveClick();
    // Shows why the company cannot be added, then gives the focus back to
    // this window, where the user goes on typing.
    void refuse(const QString& text);

    ProgramState& s_;
    QRadioButton* cabinet_ = nullptr;
    QRadioButton* interim_ = nullptr;
    struct Parts {
        CompanyFields* fields = nullptr;
        QRadioButton* societe = nullptr;
    } parts_;
};
