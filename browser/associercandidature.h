#pragma once
// TAssocierCandidature: the applications of the chosen company, newest
// first, one of which receives the imported page.

#include "browser/importdialog.h"
#include "browser/pageimport.h"

class QTableView;
class TImporterComme;

class TAssocierCandidature : public ImportDialog
{
    Q_OBJECT
public:
    TAssocierCandidature(ProgramState& state, TImporterComme& importerComme, QWidget* parent);

    // Lists the applications of the companies named `societe` and runs the
    // dialog modally.
    void openModal(const QString& societe);

    QTableView* Listing = nullptr;

    // The row that receives the page; the first when none was chosen.
    int chosenRow() const { return chosen_; }
    const QList<ImportRow>& rows() const { return rows_; }

protected:
    void BitBtn1Click() override;

private:
    void FormShow();
    void ListingSelectCell(int row);

    TImporterComme& importerComme_;
    QString societe_;
    QList<ImportRow> rows_;
    int chosen_ = -1;
};
