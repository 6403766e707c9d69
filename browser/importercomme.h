#pragma once
// TImporterComme: the document slot an imported page fills, in a new
// application (the wizard then creates it) or in the application chosen.

#include "browser/importdialog.h"
#include "browser/pageimport.h"

class QRadioButton;

class TImporterComme : public ImportDialog
{
    Q_OBJECT
public:
    TImporterComme(ProgramState& state, QWidget* parent);

    // For a new application.
    void openNew();
    // For the application of `row`.
    void openJoin(const ImportRow& row);

    // "NEW" or "JOIN".
    QString ModeImport;
    QRadioButton *RadioOffre = nullptr, *RadioCV = nullptr, *RadioLettre = nullptr,
                 *RadioAccuse = nullptr, *RadioSuite = nullptr;

    DocSlot chosenSlot() const;

signals:
    // The wizard is to create the application that receives the page.
    void newApplicationRequested();
    // The page went into this application, to be shown in the editor.
    void applicationJoined(qint32 id);

protected:
    void BitBtn1Click() override;

private:
    void FormShow();

    ImportRow row_;
};
