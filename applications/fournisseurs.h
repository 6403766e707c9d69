#pragma once
// TFournisseurs: the new-application wizard (company, date, title).

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class ProgramState;
class QPushButton;

class TFournisseurs : public QDialog
{
    Q_OBJECT
public:
    TFournisseurs(ProgramState& state, QWidget* parent);

    void showWizard();
    // Refills the company list; selects `select` when given (a company just added).
    void fillCompanies(const QString& select = QString());

signals:
    // The window came to the front: the company being added stays above it.
    void activated();
    void newCompanyRequested();
    // The application `id` was written: it opens in the editor.
    void applicationCreated(qint32 id);

protected:
    bool event(QEvent* e) override;

private:
    void FormShow();
    void FormActivate();
    void BitBtn1Click();
    void BitBtn2Click();

    ProgramState& s_;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QLineEdit* intitule = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn3 = nullptr;
};
