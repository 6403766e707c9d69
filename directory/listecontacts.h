#pragma once
// TFormListeContacts: the contacts of the company shown in the directory,
// with their details, edited in place and deleted.

#include <QDialog>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class ProgramState;
class QRadioButton;

class TFormListeContacts : public QDialog
{
    Q_OBJECT
public:
    TFormListeContacts(ProgramState& state, QWidget* parent);

    void openModal();
    // A contact was just added to the company shown.
    void addName(const QString& name);

signals:
    // "Créer contact": a contact is to be added to the company shown.
    void addContactRequested();

private:
    void FormShow();
    void listeContactsClick();
    void BitBtn1Click();
    void BtSaveClick();
    void BtSupprClick();
    QListWidgetItem* selected() const;
    QString civilite() const;

    ProgramState& s_;
    QListWidget* listeContacts = nullptr;
    QRadioButton *Liste_Mr = nullptr, *Liste_Mme = nullptr, *Liste_Mlle = nullptr;
    QLineEdit *Liste_nom = nullptr, *Liste_fonction = nullptr, *Liste_tel = nullptr,
              *Liste_fax = nullptr, *Liste_gsm = nullptr, *Liste_email = nullptr;
    QPushButton *BitBtn1 = nullptr, *BtSave = nullptr, *BtSuppr = nullptr;
};
