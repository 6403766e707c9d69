#pragma once
// TFormAjoutContact: adds one contact person to a company.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class TFormGeneral;

class TFormAjoutContact : public QDialog
{
    Q_OBJECT
public:
    explicit TFormAjoutContact(TFormGeneral& form);

    // Modal, from the contact list ("<company>: Ajout d'un contact") or from
    // the directory's contacts button (an empty caption keeps the last one).
    void openModal(const QString& caption);
    // Modeless, from the contact chooser of the editor ("Ajout d'un contact").
    void openModeless(const QString& caption);

private:
    void FormShow();
    void BitBtn1Click();
    QString civilite() const;
    void centre();

    TFormGeneral& f_;
    QRadioButton *Ajout_Mr = nullptr, *Ajout_Mme = nullptr, *Ajout_Mlle = nullptr;
    QLineEdit *Ajout_nom = nullptr, *Ajout_fonction = nullptr, *Ajout_tel = nullptr,
              *Ajout_gsm = nullptr, *Ajout_email = nullptr, *Ajout_fax = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn2 = nullptr;
};
