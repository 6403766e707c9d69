#pragma once
// TFormContacts: chooses the contact of the open application among the
// contacts of its company.

#include <QDialog>

class QListWidget;
class ProgramState;
class QPushButton;

class TFormContacts : public QDialog
{
    Q_OBJECT
public:
    TFormContacts(ProgramState& state, QWidget* parent);

    // Lists the contacts of `societe`.
    void showChooser(qint32 societe);
    // Refills the list (a contact was just added).
    void fillContacts();
    qint32 company() const { return societe_; }

signals:
    // The window came to the front: the contact being added stays above it.
    void activated();
    void addContactRequested();
    // The contact chosen is now the application's.
    void contactLinked();

protected:
    bool event(QEvent* e) override;

private:
    void FormActivate();
    void BtListeOKClick();
    void BitBtn2Click();

    ProgramState& s_;
    qint32 societe_ = 0; // the company whose contacts are listed
    QListWidget* ListBoxContacts = nullptr;
    QPushButton *BtListeOK = nullptr, *BitBtn2 = nullptr;
};
