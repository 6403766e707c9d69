#pragma once
// TFormAjoutContact: adds one contact person to a company.

#include <QDialog>

class QLineEdit;
class QPushButton;
class ProgramState;
class QRadioButton;

class TFormAjoutContact : public QDialog
{
    Q_OBJECT
public:
    TFormAjoutContact(ProgramState& state, QWidget* parent);

    // Modal, from the contact list ("<company>: Ajout d'un contact") or from
    // the directory's contacts button (an empty caption keeps the last one).
    void openModal(const QString& caption, qint32 societe);
    // Modeless, from the contact chooser of the editor ("Ajout d'un contact").
    void openModeless(const QString& caption, qint32 societe);

private:
    void FormShow();
    void BitBtn1Click();
    QString civilite() const;
    void centre();

    ProgramState& s_;
    qint32 societe_ = 0; // the company the contact is added to
    QRadioButton *Ajout_Mr = nullptr, *Ajout_Mme = nullptr, *Ajout_Mlle = nullptr;
    QLineEdit *Ajout_nom = nullptr, *Ajout_fonction = nullptr, *Ajout_tel = nullptr,
              *Ajout_gsm = nullptr, *Ajout_email = nullptr, *Ajout_fax = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn2 = nullptr;
};
