#pragma once
// TFormAjoutFournisseur: adds one company. Modeless and above the program's
// other windows; opened from the directory and from the new-application wizard.

#include <QDialog>

class CompanyFields;
class QRadioButton;
class TFormGeneral;

class TFormAjoutFournisseur : public QDialog
{
    Q_OBJECT
public:
    explicit TFormAjoutFournisseur(TFormGeneral& form);

    // Shows the dialog emptied, "Société" checked, the focus in the name.
    void showAdd();

private:
    struct Parts {
        CompanyFields* fields = nullptr;
        QRadioButton* societe = nullptr;
    } parts_;
};
