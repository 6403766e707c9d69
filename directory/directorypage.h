#pragma once
// The company directory page: companies by letter group, the details of the
// one chosen, saved back; its e-mail, its web site, its contacts, its figures.

#include "platform/report/report.h"
#include "store/records.h"

#include <QWidget>

class CompanyFields;
class FrameServices;
class LinkLabel;
class MailSender;
class ProgramState;
class SidePanel;
class TExportSoc;
class TImportSoc;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class DirectoryPage : public QWidget
{
    Q_OBJECT
public:
    DirectoryPage(ProgramState& state, FrameServices& frame, MailSender& mail,
                  QWidget* parent = nullptr);

    void SetLang();
    // The page becomes visible.
    void TabSheet2Show();
    // Lists the group of a key: '9' (not a letter), '_' (all), or the second
    // letter of a pair ('b' for A-B ... 'z' for Y-Z).
    void AnnuSelect(QChar key);
    void ResetAnnuaire();
    void ListeSocietesClick();
    void Annu_saveClick();
    void Annu_deleteClick();
    void Bt_AnnuMailerClick();
    void Bt_AnnuVoirClick();
    void Bt_AnnuContactsClick();
    void lien_NouvelleSocieteClick();
    void lien_exportSocClick();
    void lien_importSocClick();
    // The import dialog, made on first use.
    TImportSoc* importDialog();

    // The company sheet: preview, print (this sheet or all), mail.
    void lien_ApercuSocieteClick();
    void lien_ImprimerSocieteClick();
    void lien_MailerSocieteClick();
    // The sheet of the company shown, from the fields as they are (saved or not).
    report::Report shownSheet() const;
    report::Report sheetOf(const TSocieteRec& s) const;

    // Recounts the contacts of the company shown, for the contacts button.
    void updateContactsButton();
    // The name field of the editor, as typed.
    QString annuNom() const;

    SidePanel* Panel_Societes = nullptr;
    LinkLabel* lien_NouvelleSociete = nullptr;
    LinkLabel* lien_ApercuSociete = nullptr;
    LinkLabel* lien_ImprimerSociete = nullptr;
    LinkLabel* lien_MailerSociete = nullptr;
    LinkLabel* lien_exportSoc = nullptr;
    LinkLabel* lien_importSoc = nullptr;

    QListWidget* ListeSocietes = nullptr;
    CompanyFields* fields = nullptr; // Annu_nom ... Annu_url
    QRadioButton *RadioAnnuSociete = nullptr, *RadioAnnuCabinet = nullptr,
                 *RadioAnnuInterim = nullptr;
    QPushButton *Bt_AnnuContacts = nullptr, *Bt_AnnuMailer = nullptr, *Bt_AnnuVoir = nullptr;
    QPushButton *Annu_save = nullptr, *Annu_delete = nullptr;
    QLabel *LabelAnnuStatCandidatures = nullptr, *LabelAnnuStatsReponses = nullptr,
           *LabelAnnuEntretiens = nullptr, *LabelAnnuTempsReponses = nullptr;

signals:
    void newCompanyRequested();
    // The contacts of the company shown: the list, or the addition of a first one.
    void contactListRequested();
    void firstContactRequested();
    // The side panel moved or changed its size.
    void panelsMoved();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildPanel();
    void build(QWidget* area);
    void showFigures(qint32 societeId);
    report::Report sheet(const QMap<QString, QString>& variables, qint32 societe) const;

    ProgramState& s_;
    FrameServices& frame_;
    MailSender& mail_;
    QButtonGroup* categories_ = nullptr;
    TExportSoc* export_ = nullptr;
    TImportSoc* import_ = nullptr;
    // The key of the group listed, null before the first.
    QChar group_;
};
