#pragma once
// TAjoutFavori: names the page on display and adds it to the favourites.

#include <QDialog>

class ProgramState;
class QLineEdit;
class QPushButton;

class TAjoutFavori : public QDialog
{
    Q_OBJECT
public:
    TAjoutFavori(ProgramState& state, QWidget* parent);

    // Proposes the address as the name; true when a favourite was added.
    bool openModal(const QString& url);

    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    void FormShow();
    void BitBtn1Click();

    ProgramState& s_;
    QString url_;
};
