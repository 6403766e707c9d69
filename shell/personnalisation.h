#pragma once
// TPersonnalisation: the options dialog (language, default source, follow-ups).

#include <QDialog>

class TFormGeneral;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TPersonnalisation : public QDialog
{
    Q_OBJECT
public:
    explicit TPersonnalisation(TFormGeneral& form);

    void openModal();

protected:
    // Closing, by OK or cancel, rebuilds the listing.
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    // Shows the settings as they are stored.
    void FormShow();
    void RelancesClick(bool checked);
    void ComboBox1Change();
    // Checks the delay, writes the settings and closes.
    void BitBtn1Click();

    TFormGeneral& f_;
    // The user has chosen a language since the dialog was shown.
    bool LangueModifiee = false;

    QGroupBox* GroupBox1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QComboBox* Sources = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QCheckBox* Relances = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};
