#include "directory/ajoutcontact.h"
#include "platform/widgets.h"

#include "directory/contactops.h"
#include "platform/dialogs.h"
#include "platform/showresult.h"
#include "store/programstate.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

TFormAjoutContact::TFormAjoutContact(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      s_(state)
{
    setObjectName(QStringLiteral("FormAjoutContact"));
    setWindowTitle(QStringLiteral("Ajouter un contact"));

    auto* denomination = new QGroupBox(QStringLiteral("Dénomination"), this);
    Ajout_Mr = namedRadio(QStringLiteral("Monsieur"), "Ajout_Mr", denomination);
    Ajout_Mme = namedRadio(QStringLiteral("Madame"), "Ajout_Mme", denomination);
    Ajout_Mlle = namedRadio(QStringLiteral("Mademoiselle"), "Ajout_Mlle", denomination);
    Ajout_Mr->setChecked(true);
    auto* radios = new QHBoxLayout;
    for (QRadioButton* r : {Ajout_Mr, Ajout_Mme, Ajout_Mlle})
        radios->addWidget(r);
    radios->addStretch();
    auto* names = new QGridLayout;
    Ajout_nom =
        labelledField(names, 0, QStringLiteral("Nom/Prénom"), "Ajout_nom", 50, denomination);
    Ajout_fonction =
        labelledField(names, 1, QStringLiteral("Fonction"), "Ajout_fonction", 50, denomination);
    auto* denominationLayout = new QVBoxLayout(denomination);
    denominationLayout->addLayout(radios);
    denominationLayout->addLayout(names);

    auto* coordonnees = new QGroupBox(QStringLiteral("Coordonnées"), this);
    auto* grid = new QGridLayout(coordonnees);
    Ajout_tel = labelledField(grid, 0, QStringLiteral("Téléphone"), "Ajout_tel", 20, coordonnees);
    Ajout_gsm = labelledField(grid, 1, QStringLiteral("Portable"), "Ajout_gsm", 20, coordonnees);
    Ajout_email = labelledField(grid, 2, QStringLiteral("Email"), "Ajout_email", 50, coordonnees);
    Ajout_fax = labelledField(grid, 3, QStringLiteral("Télécopie"), "Ajout_fax", 20, coordonnees);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(denomination);
    layout->addWidget(coordonnees);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &TFormAjoutContact::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormAjoutContact::centre()
{
    adjustSize();
    centreOnScreen(this);
}

void TFormAjoutContact::openModal(const QString& caption, qint32 societe)
{
    societe_ = societe;
    if (!caption.isEmpty()) setWindowTitle(caption);
    FormShow();
    centre();
    dialogs::exec(*this);
}

void TFormAjoutContact::openModeless(const QString& caption, qint32 societe)
{
    societe_ = societe;
    setWindowTitle(caption);
    if (!isVisible()) {
        FormShow();
        setModal(false);
        centre();
        show();
    }
    raise();
    activateWindow();
}

void TFormAjoutContact::FormShow()
{
    Ajout_Mr->setChecked(true);
    for (QLineEdit* e : {Ajout_nom, Ajout_fonction, Ajout_tel, Ajout_gsm, Ajout_email, Ajout_fax})
        e->clear();
    Ajout_nom->setFocus();
}

QString TFormAjoutContact::civilite() const
{
    if (Ajout_Mme->isChecked()) return QStringLiteral("Mme");
    if (Ajout_Mlle->isChecked()) return QStringLiteral("Mlle");
    return QStringLiteral("Mr");
}

void TFormAjoutContact::BitBtn1Click()
{
    const qint32 societe = societe_;
    const ContactFields k{civilite(),          Ajout_nom->text(), Ajout_fonction->text(),
                          Ajout_email->text(), Ajout_tel->text(), Ajout_fax->text(),
                          Ajout_gsm->text()};
    TContactRec created{};
    if (!reported(createContact(s_.store(), societe, k, &created))) return;
    accept();
    s_.contactAdded(societe, created.nom.text());
}
