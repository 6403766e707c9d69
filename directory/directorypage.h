#pragma once
// The company directory page: companies by letter group, the details of the
// one chosen, saved back; its e-mail, its web site, its contacts, its figures.

#include <QObject>

class CompanyFields;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class TFormGeneral;

class DirectoryPage : public QObject
{
    Q_OBJECT
public:
    explicit DirectoryPage(TFormGeneral& form);

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

    // Recounts the contacts of the company shown, for the contacts button.
    void updateContactsButton();
    // The name field of the editor, as typed.
    QString annuNom() const;

    QListWidget* ListeSocietes = nullptr;
    CompanyFields* fields = nullptr; // Annu_nom ... Annu_url
    QRadioButton *RadioAnnuSociete = nullptr, *RadioAnnuCabinet = nullptr,
                 *RadioAnnuInterim = nullptr;
    QPushButton *Bt_AnnuContacts = nullptr, *Bt_AnnuMailer = nullptr, *Bt_AnnuVoir = nullptr;
    QPushButton *Annu_save = nullptr, *Annu_delete = nullptr;
    QLabel *LabelAnnuStatCandidatures = nullptr, *LabelAnnuStatsReponses = nullptr,
           *LabelAnnuEntretiens = nullptr, *LabelAnnuTempsReponses = nullptr;

private:
    void build();
    void showFigures(qint32 societeId);

    TFormGeneral& f_;
    QButtonGroup* categories_ = nullptr;
};
