#include "directory/ajoutcontact.h"
#include "platform/widgets.h"

#include "applications/choixcontacts.h"
#include "directory/contactops.h"
#include "directory/directorypage.h"
#include "directory/listecontacts.h"
#include "platform/dialogs.h"
#include "shell/formgeneral.h"

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

TFormAjoutContact* TFormGeneral::ajoutContact()
{
    if (!ajoutContact_) ajoutContact_ = new TFormAjoutContact(*this);
    return ajoutContact_;
}

TFormAjoutContact::TFormAjoutContact(TFormGeneral& form)
    : QDialog(&form, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      f_(form)
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

void TFormAjoutContact::openModal(const QString& caption)
{
    if (!caption.isEmpty()) setWindowTitle(caption);
    FormShow();
    centre();
    dialogs::exec(*this);
}

void TFormAjoutContact::openModeless(const QString& caption)
{
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
    // From the editor's chooser the contact goes to the application's
    // company, otherwise to the company shown in the directory.
    const qint32 societe =
        TFormGeneral::onScreen(f_.formContacts_) ? f_.IdSociete : f_.IdSocieteAnnuaire;
    const ContactFields k{civilite(),          Ajout_nom->text(), Ajout_fonction->text(),
                          Ajout_email->text(), Ajout_tel->text(), Ajout_fax->text(),
                          Ajout_gsm->text()};
    TContactRec created{};
    if (!createContact(f_.store(), societe, k, &created)) return;

    if (f_.Tabulations && f_.Tabulations->currentIndex() == 1 && f_.directory())
        f_.directory()->updateContactsButton();
    if (TFormGeneral::onScreen(f_.listeContacts_)) f_.listeContacts_->addName(created.nom.text());
    const bool chooser = TFormGeneral::onScreen(f_.formContacts_);
    if (chooser) f_.formContacts_->fillContacts();
    accept();
    if (chooser) f_.formContacts_->activateWindow();
}
