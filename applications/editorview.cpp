#include "applications/editorview.h"

#include "platform/panels.h"
#include "store/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

template <class W> W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* label(QWidget* parent, const char* name)
{
    auto* l = named(new QLabel(parent), name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QGroupBox* group(QWidget* parent, const char* name)
{
    return named(new QGroupBox(parent), name);
}

QPushButton* button(QWidget* parent, const QString& caption, const QString& name)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

ZoneCandidature::ZoneCandidature(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ZoneCandidature"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    // Company, read-only.
    GroupSociete = group(this, "GroupSociete");
    auto* soc = new QVBoxLayout(GroupSociete);
    soc->setSpacing(1);
    for (QLabel** l : {&nom_soc, &addra, &addrb, &bp, &cpville, &pays, &tel, &fax}) {
        *l = new QLabel(GroupSociete);
        (*l)->setTextFormat(Qt::PlainText);
        soc->addWidget(*l);
    }
    nom_soc->setObjectName(QStringLiteral("nom_soc"));
    QFont bold = nom_soc->font();
    bold.setBold(true);
    nom_soc->setFont(bold);
    addra->setObjectName(QStringLiteral("addra"));
    addrb->setObjectName(QStringLiteral("addrb"));
    bp->setObjectName(QStringLiteral("bp"));
    cpville->setObjectName(QStringLiteral("cpville"));
    pays->setObjectName(QStringLiteral("pays"));
    tel->setObjectName(QStringLiteral("tel"));
    fax->setObjectName(QStringLiteral("fax"));
    soc->addStretch(1);

    // Contact, read-only, with its two buttons.
    GroupContact = group(this, "GroupContact");
    auto* ct = new QVBoxLayout(GroupContact);
    ct->setSpacing(1);
    Ctnom = label(GroupContact, "Ctnom");
    Ctnom->setFont(bold);
    Ctfonction = label(GroupContact, "Ctfonction");
    Ctemail = new LinkLabel(QStringLiteral("Ctemail"), QString(), GroupContact);
    Ctemail->setToolTip(QStringLiteral("Cliquez pour envoyer un mail à cette personne"));
    Cttel = label(GroupContact, "Cttel");
    Ctfax = label(GroupContact, "Ctfax");
    Ctportable = label(GroupContact, "Ctportable");
    for (QWidget* w :
         std::initializer_list<QWidget*>{Ctnom, Ctfonction, Ctemail, Cttel, Ctfax, Ctportable})
        ct->addWidget(w);
    ct->addStretch(1);
    auto* ctButtons = new QHBoxLayout;
    Ctajout = button(GroupContact, QString(), QStringLiteral("Ctajout"));
    Ctsupprimer = button(GroupContact, QString(), QStringLiteral("Ctsupprimer"));
    ctButtons->addStretch(1);
    ctButtons->addWidget(Ctajout);
    ctButtons->addWidget(Ctsupprimer);
    ct->addLayout(ctButtons);

    // Key figures of the company.
    GroupStats = group(this, "GroupStats");
    auto* st = new QVBoxLayout(GroupStats);
    NbCandidatures = label(GroupStats, "NbCandidatures");
    NbReponses = label(GroupStats, "NbReponses");
    NbEntretiens = label(GroupStats, "NbEntretiens");
    NbTempsMoyen = label(GroupStats, "NbTempsMoyen");
    for (QLabel* l : {NbCandidatures, NbReponses, NbEntretiens, NbTempsMoyen})
        st->addWidget(l);
    st->addStretch(1);

    // Title and source.
    GroupCandidature = group(this, "GroupCandidature");
    auto* ti = new QHBoxLayout(GroupCandidature);
    Edit_intitule = named(new QLineEdit(GroupCandidature), "Edit_intitule");
    Edit_intitule->setMaxLength(255);
    ti->addWidget(Edit_intitule);
    GroupSource = group(this, "GroupSource");
    auto* so = new QHBoxLayout(GroupSource);
    ListeSources = named(new QComboBox(GroupSource), "ListeSources");
    ListeSources->setEditable(true);
    ListeSources->setInsertPolicy(QComboBox::NoInsert);
    ListeSources->lineEdit()->setMaxLength(20);
    ListeSources->completer()->setCompletionMode(QCompleter::PopupCompletion);
    ListeSources->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    so->addWidget(ListeSources);

    // Type and method.
    GroupType = group(this, "GroupType");
    auto* ty = new QVBoxLayout(GroupType);
    RadioTypeReponse = named(new QRadioButton(GroupType), "RadioTypeReponse");
    RadioTypeSpontane = named(new QRadioButton(GroupType), "RadioTypeSpontane");
    ty->addWidget(RadioTypeReponse);
    ty->addWidget(RadioTypeSpontane);
    ty->addStretch(1);
    GroupMethode = group(this, "GroupMethode");
    auto* me = new QVBoxLayout(GroupMethode);
    RadioMethodeInternet = named(new QRadioButton(GroupMethode), "RadioMethodeInternet");
    RadioMethodeEmail = named(new QRadioButton(GroupMethode), "RadioMethodeEmail");
    RadioMethodePapier = named(new QRadioButton(GroupMethode), "RadioMethodePapier");
    for (QRadioButton* r : {RadioMethodeInternet, RadioMethodeEmail, RadioMethodePapier})
        me->addWidget(r);

    // Appointment.
    GroupRDV = group(this, "GroupRDV");
    auto* rdv = new QGridLayout(GroupRDV);
    Img_VoyantRDV = label(GroupRDV, "Img_VoyantRDV");
    Label_RDV = label(GroupRDV, "Label_RDV");
    Label_RDV->setText(QStringLiteral("Rendez-vous fixé le 00/00/0000"));
    CheckBoxAlerte = named(new QCheckBox(QStringLiteral("M'alerter"), GroupRDV), "CheckBoxAlerte");
    ComboAlerteRDV = named(new QComboBox(GroupRDV), "ComboAlerteRDV");
    ComboAlerteRDV->addItem(QStringLiteral("1 jour avant"));
    for (int i = 2; i <= 15; ++i)
        ComboAlerteRDV->addItem(QStringLiteral("%1 jours avant").arg(i));
    DefinirDate = button(GroupRDV, QString(), QStringLiteral("DefinirDate"));
    RDVsupprimer = button(GroupRDV, QString(), QStringLiteral("RDVsupprimer"));
    rdv->addWidget(Img_VoyantRDV, 0, 0);
    rdv->addWidget(Label_RDV, 0, 1, 1, 3);
    // The box is never narrower than its caption; it starts under the light.
    CheckBoxAlerte->setMinimumWidth(CheckBoxAlerte->sizeHint().width());
    rdv->addWidget(CheckBoxAlerte, 1, 0, 1, 2);
    rdv->addWidget(ComboAlerteRDV, 1, 2, 1, 2);
    rdv->addWidget(DefinirDate, 2, 2);
    rdv->addWidget(RDVsupprimer, 2, 3);
    rdv->setColumnStretch(1, 1);

    // The five document slots.
    const char* groups[5] = {"GroupOffre", "GroupCV", "GroupLettre", "GroupAccuse", "GroupSuite"};
    const char* prefixes[5] = {"Offre", "CV", "Lettre", "Accuse", "Suite"};
    const char* lights[5] = {"Img_VoyantOffre", "Img_VoyantCV", "Img_VoyantLettreMotivation",
                             "Img_VoyantAR", "Img_VoyantSuite"};
    const char* descriptions[5] = {"Label_Offre", "Label_CV", "Label_Lettre", "Label_accuse",
                                   "Label_suite"};
    const char* dates[5] = {"LabelDateOffre", "LabelDateCV", "LabelDateLettre", "LabelDateAccuse",
                            "LabelDateSuite"};
    for (int i = 0; i < 5; ++i) {
        DocumentSlotBox& s = docs[i];
        s.group = group(this, groups[i]);
        auto* l = new QGridLayout(s.group);
        l->setVerticalSpacing(2);
        s.light = label(s.group, lights[i]);
        s.description = label(s.group, descriptions[i]);
        s.date = label(s.group, dates[i]);
        const QString p = QString::fromLatin1(prefixes[i]);
        s.voir = button(s.group, QStringLiteral("Voir"), p + QStringLiteral("voir"));
        s.ajout = button(s.group, QString(), p + QStringLiteral("ajout"));
        s.supprimer = button(s.group, QString(), p + QStringLiteral("supprimer"));
        l->addWidget(s.light, 0, 0);
        l->addWidget(s.description, 0, 1, 1, 3);
        l->addWidget(s.date, 1, 1, 1, 3);
        l->addWidget(s.voir, 2, 1);
        l->addWidget(s.ajout, 2, 2);
        l->addWidget(s.supprimer, 2, 3);
        l->setColumnStretch(1, 1);
        // Every slot keeps the height of its contents, whatever its row holds.
        s.group->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    }

    // Notes.
    GroupNotes = group(this, "GroupNotes");
    auto* no = new QVBoxLayout(GroupNotes);
    BlocNotes = named(new QPlainTextEdit(GroupNotes), "BlocNotes");
    BlocNotes->setTabChangesFocus(false);
    BlocNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    no->addWidget(BlocNotes);

    // Finished flag.
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    CheckBox1 = named(new QCheckBox(this), "CheckBox1");
    Label_TerminerCandidature = label(this, "Label_TerminerCandidature");
    QFont red = Label_TerminerCandidature->font();
    red.setBold(true);
    Label_TerminerCandidature->setFont(red);
    Label_TerminerCandidature->setStyleSheet(QStringLiteral("color: #C00000;"));
    Label_TerminerCandidature->setBuddy(CheckBox1);
    bottom->addWidget(CheckBox1);
    bottom->addWidget(Label_TerminerCandidature);
    bottom->addStretch(1);

    grid->addWidget(GroupSociete, 0, 0);
    grid->addWidget(GroupContact, 0, 1);
    grid->addWidget(GroupStats, 0, 2);
    grid->addWidget(GroupCandidature, 1, 0, 1, 2);
    grid->addWidget(GroupSource, 1, 2);
    grid->addWidget(GroupType, 2, 0);
    grid->addWidget(GroupMethode, 2, 1);
    grid->addWidget(GroupRDV, 2, 2);
    grid->addWidget(docs[0].group, 3, 0);
    grid->addWidget(docs[1].group, 3, 1);
    grid->addWidget(docs[2].group, 3, 2);
    grid->addWidget(docs[3].group, 4, 0, Qt::AlignTop);
    grid->addWidget(docs[4].group, 4, 1, Qt::AlignTop);
    grid->addWidget(GroupNotes, 4, 2);
    grid->addLayout(bottom, 5, 0, 1, 3);
    for (int c = 0; c < 3; ++c)
        grid->setColumnStretch(c, 1);
}

void ZoneCandidature::SetLang()
{
    QGroupBox* groups[14] = {GroupType,        GroupMethode,  GroupSociete,  GroupContact,
                             GroupCandidature, GroupSource,   docs[0].group, docs[1].group,
                             docs[2].group,    docs[3].group, GroupRDV,      docs[4].group,
                             GroupNotes,       GroupStats};
    for (int i = 0; i < 14; ++i)
        groups[i]->setTitle(GetTxt(150 + i));
    Label_TerminerCandidature->setText(GetTxt(164));
    RadioTypeReponse->setText(GetTxt(165));
    RadioTypeSpontane->setText(GetTxt(166));
    RadioMethodeInternet->setText(GetTxt(167));
    RadioMethodeEmail->setText(GetTxt(168));
    RadioMethodePapier->setText(GetTxt(169));
    Ctajout->setText(GetTxt(170));
    for (const DocumentSlotBox& s : docs) {
        s.ajout->setText(GetTxt(170));
        s.supprimer->setText(GetTxt(172));
    }
    Ctsupprimer->setText(GetTxt(172));
    RDVsupprimer->setText(GetTxt(172));
    DefinirDate->setText(GetTxt(180));
}
