#pragma once
// TFormContacts: chooses the contact of the open application among the
// contacts of its company.

#include <QDialog>

class QListWidget;
class QPushButton;
class TFormGeneral;

class TFormContacts : public QDialog
{
    Q_OBJECT
public:
    explicit TFormContacts(TFormGeneral& form);

    void showChooser();
    // Refills the list (a contact was just added).
    void fillContacts();

protected:
    bool event(QEvent* e) override;

private:
    void FormActivate();
    void BtListeOKClick();
    void BitBtn2Click();

    TFormGeneral& f_;
    qint32 societe_ = 0; // the company whose contacts are listed
    QListWidget* ListBoxContacts = nullptr;
    QPushButton *BtListeOK = nullptr, *BitBtn2 = nullptr;
};
