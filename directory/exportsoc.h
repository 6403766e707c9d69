#pragma once
// TExportSoc: writes the whole directory, with or without the contacts, as
// a delimited text file that the import reads back, or as a spreadsheet.

#include <QDialog>

class ProgramState;
class QGroupBox;
class QRadioButton;

class TExportSoc : public QDialog
{
    Q_OBJECT
public:
    TExportSoc(ProgramState& state, QWidget* parent);

    // Shows the dialog with its choices reset; the export runs from its button.
    void open();
    void FormShow();
    void BitBtn1Click();

    QRadioButton *RadioSocOnly = nullptr, *RadioSocContact = nullptr;
    QRadioButton *RadioExcel = nullptr, *RadioCSV = nullptr;
    QGroupBox *GroupSeparateur = nullptr, *GroupDelimiteur = nullptr;
    QRadioButton *RadioVirgule = nullptr, *RadioPointVirgule = nullptr;
    QRadioButton *RadioGuillemets = nullptr, *RadioApostrophe = nullptr;

private:
    void exportTo(const QString& file);

    ProgramState& s_;
};
