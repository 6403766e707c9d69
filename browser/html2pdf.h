#pragma once
// THTML2PDF: the small window that shows the conversion of the page on
// display into a PDF, with its status, its progress and "Annuler".

#include "browser/conversion.h"

#include <QDialog>

class ProgramState;
class QLabel;
class QProgressBar;
class QPushButton;

class THTML2PDF : public QDialog
{
    Q_OBJECT
public:
    THTML2PDF(ProgramState& state, QWidget* parent);
    ~THTML2PDF() override;

    // Converts the page modally. The path of the PDF is returned and left in
    // FichierImport, where the caller takes it (and then empties it); empty
    // when the conversion was cancelled or failed.
    QString convert(QWebEnginePage* page);

    // For tests: the limits and folders of the next conversions.
    PageConversion::Options options;
    // The conversion under way (null between conversions).
    PageConversion* conversion() const { return conversion_; }

    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

signals:
    // A conversion has started (tests follow its phases from here).
    void started(PageConversion* conversion);

protected:
    // Escape and the window's close button do nothing: only "Annuler" stops.
    void reject() override {}
    void closeEvent(QCloseEvent* e) override;

private:
    void BitBtn1Click();
    void HandleTerminate();

    ProgramState& s_;
    PageConversion* conversion_ = nullptr;
    bool Termine = false;
};
