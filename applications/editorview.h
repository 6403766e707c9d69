#pragma once
// ZoneCandidature: the controls of the application editor, laid out in the
// place of the listing. The behaviour is in ApplicationEditor.

#include <QGroupBox>
#include <QWidget>

class LinkLabel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// One document slot: light, description, date and its three buttons.
struct DocumentSlotBox {
    QGroupBox* group = nullptr;
    QLabel* light = nullptr;
    QLabel* description = nullptr;
    QLabel* date = nullptr;
    QPushButton* voir = nullptr;
    QPushButton* ajout = nullptr;
    QPushButton* supprimer = nullptr;
};

class ZoneCandidature : public QWidget
{
    Q_OBJECT
public:
    explicit ZoneCandidature(QWidget* parent = nullptr);

    // Captions from the language module.
    void SetLang();

    QGroupBox *GroupType, *GroupMethode, *GroupSociete, *GroupContact, *GroupCandidature,
        *GroupSource, *GroupRDV, *GroupNotes, *GroupStats;
    QRadioButton *RadioTypeReponse, *RadioTypeSpontane;
    QRadioButton *RadioMethodeInternet, *RadioMethodeEmail, *RadioMethodePapier;
    QLabel *nom_soc, *addra, *addrb, *bp, *cpville, *pays, *tel, *fax;
    QLabel *Ctnom, *Ctfonction, *Cttel, *Ctfax, *Ctportable;
    LinkLabel* Ctemail;
    QPushButton *Ctajout, *Ctsupprimer;
    QLineEdit* Edit_intitule;
    QComboBox* ListeSources;
    DocumentSlotBox docs[5]; // offer, CV, letter, acknowledgement, reply
    QLabel *Img_VoyantRDV, *Label_RDV;
    QCheckBox* CheckBoxAlerte;
    QComboBox* ComboAlerteRDV;
    QPushButton *DefinirDate, *RDVsupprimer;
    QPlainTextEdit* BlocNotes;
    QLabel *NbCandidatures, *NbReponses, *NbEntretiens, *NbTempsMoyen;
    QCheckBox* CheckBox1;
    QLabel* Label_TerminerCandidature;
};
