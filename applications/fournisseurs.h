#pragma once
// TFournisseurs: the new-application wizard (company, date, title).

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class TFormGeneral;

class TFournisseurs : public QDialog
{
    Q_OBJECT
public:
    explicit TFournisseurs(TFormGeneral& form);

    void showWizard();
    // Refills the company list; selects `select` when given (a company just added).
    void fillCompanies(const QString& select = QString());

protected:
    bool event(QEvent* e) override;

private:
    void FormShow();
    void FormActivate();
    void BitBtn1Click();
    void BitBtn2Click();

    TFormGeneral& f_;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QLineEdit* intitule = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn3 = nullptr;
};
