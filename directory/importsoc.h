#pragma once
// TImportSoc: reads a delimited text file of companies (and one contact per
// line, if wanted) into the directory. The user names the file, the
// separator, the delimiter and the fields its columns hold, in order.

#include <QDialog>

class FrameServices;
class ProgramState;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class TPrevisualisation;
struct ImportSettings;

class TImportSoc : public QDialog
{
    Q_OBJECT
public:
    TImportSoc(ProgramState& state, FrameServices& frame, QWidget* parent);

    // Shows the dialog with its choices reset; the import runs from its button.
    void open();
    void FormShow();
    void BitBtn2Click(); // browse
    void Button1Click(); // >
    void Button2Click(); // <
    void Button3Click(); // >>
    void Button4Click(); // <<
    void Button5Click(); // Descendre
    void Button6Click(); // Monter
    void BitBtn4Click(); // preview
    void BitBtn1Click(); // import

    // The preview window, made on the first preview; it outlives the dialog's showing.
    TPrevisualisation* previsualisation() const { return preview_; }

    QLineEdit* ImportFile = nullptr;
    QRadioButton *RadioVirgule = nullptr, *RadioPointVirgule = nullptr;
    QRadioButton *RadioGuillemets = nullptr, *RadioApostrophe = nullptr;
    QListWidget *ListeDispo = nullptr, *ListeImport = nullptr;

signals:
    // An import added companies or contacts.
    void imported();

private:
    ImportSettings settings() const;
    QStringList importNames() const;
    // The file named is a file; otherwise says so.
    bool fileChosen();
    void moveImportItem(int by);

    ProgramState& s_;
    FrameServices& frame_;
    TPrevisualisation* preview_ = nullptr;
};
