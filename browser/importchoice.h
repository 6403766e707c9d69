#pragma once
// TImportChoice: the first question after a page was made into a PDF: a
// new application, or an existing one of a chosen company. Choosing the
// second unrolls the company list below the question.

#include "browser/importdialog.h"

#include <QTimer>

class QComboBox;
class QGroupBox;
class QRadioButton;
class TAssocierCandidature;
class TImporterComme;

class TImportChoice : public ImportDialog
{
    Q_OBJECT
public:
    TImportChoice(ProgramState& state, TAssocierCandidature& associer,
                  TImporterComme& importerComme, QWidget* parent);

    // Runs the import chain from here, modally.
    void openModal();

    // The heights of the dialog without and with the company list.
    static constexpr int HauteurReduite = 170;
    static constexpr int HauteurComplete = 245;

    QRadioButton* RadioNew = nullptr;
    QRadioButton* RadioAdd = nullptr;
    QGroupBox* GroupeSociete = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QTimer* Timer1 = nullptr; // unrolls
    QTimer* Timer2 = nullptr; // rolls up

    // The company chosen last ("SocieteImport").
    QString SocieteImport;

protected:
    void BitBtn1Click() override;

private:
    void FormShow();
    void RadioNewClick();
    void RadioAddClick();
    void Timer1Timer();
    void Timer2Timer();

    TAssocierCandidature& associer_;
    TImporterComme& importerComme_;
};
