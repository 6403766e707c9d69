#include "directory/listecontacts.h"

#include "directory/contactops.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/showresult.h"
#include "platform/widgets.h"
#include "store/helpers.h"
#include "store/programstate.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

TFormListeContacts::TFormListeContacts(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      s_(state)
{
    setObjectName(QStringLiteral("FormListeContacts"));
    setWindowTitle(QStringLiteral("Contacts"));
    setModal(true);

    auto* liste = new QGroupBox(QStringLiteral("Liste"), this);
    listeContacts = new QListWidget(liste);
    listeContacts->setObjectName(QStringLiteral("listeContacts"));
    listeContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    listeContacts->setMinimumSize(200, 240);
    auto* listeLayout = new QVBoxLayout(liste);
    listeLayout->addWidget(listeContacts);

    auto* details = new QGroupBox(QStringLiteral("Détails"), this);
    Liste_Mr = namedRadio(QStringLiteral("Monsieur"), "Liste_Mr", details);
    Liste_Mme = namedRadio(QStringLiteral("Madame"), "Liste_Mme", details);
    Liste_Mlle = namedRadio(QStringLiteral("Mademoiselle"), "Liste_Mlle", details);
    Liste_Mr->setChecked(true);
    auto* radios = new QHBoxLayout;
    for (QRadioButton* r : {Liste_Mr, Liste_Mme, Liste_Mlle})
        radios->addWidget(r);
    radios->addStretch();
    auto* grid = new QGridLayout;
    Liste_nom = labelledField(grid, 0, QStringLiteral("Nom/Prénom"), "Liste_nom", 50, details);
    Liste_fonction =
        labelledField(grid, 1, QStringLiteral("Fonction"), "Liste_fonction", 50, details);
    Liste_tel = labelledField(grid, 2, QStringLiteral("Téléphone"), "Liste_tel", 20, details);
    Liste_fax = labelledField(grid, 3, QStringLiteral("Télécopie"), "Liste_fax", 20, details);
    Liste_gsm = labelledField(grid, 4, QStringLiteral("Portable"), "Liste_gsm", 20, details);
    Liste_email = labelledField(grid, 5, QStringLiteral("Email"), "Liste_email", 50, details);
    auto* detailsLayout = new QVBoxLayout(details);
    detailsLayout->addLayout(radios);
    detailsLayout->addLayout(grid);
    detailsLayout->addStretch();

    BitBtn1 = namedButton(QStringLiteral("Créer contact"), "BitBtn1", this);
    BtSave = namedButton(QStringLiteral("OK"), "BtSave", this);
    BtSave->setDefault(true);
    BtSuppr = namedButton(QStringLiteral("Supprimer"), "BtSuppr", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addStretch();
    buttons->addWidget(BtSuppr);
    buttons->addWidget(BtSave);

    auto* groups = new QHBoxLayout;
    groups->addWidget(liste);
    groups->addWidget(details);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(listeContacts, &QListWidget::itemSelectionChanged, this,
            &TFormListeContacts::listeContactsClick);
    connect(listeContacts, &QListWidget::itemClicked, this,
            &TFormListeContacts::listeContactsClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormListeContacts::BitBtn1Click);
    connect(BtSave, &QPushButton::clicked, this, &TFormListeContacts::BtSaveClick);
    connect(BtSuppr, &QPushButton::clicked, this, &TFormListeContacts::BtSupprClick);
}

void TFormListeContacts::openModal()
{
    FormShow();
    adjustSize();
    centreOnScreen(this);
    dialogs::exec(*this);
}

void TFormListeContacts::FormShow()
{
    BtSuppr->setEnabled(false);
    for (QLineEdit* e : {Liste_nom, Liste_fonction, Liste_tel, Liste_fax, Liste_gsm, Liste_email})
        e->clear();
    Liste_Mr->setChecked(true);
    listeContacts->clear();
    listeContacts->addItems(contactNames(s_.store().Contacts, s_.IdSocieteAnnuaire));
    // Nothing is chosen until the user clicks a name.
    listeContacts->setCurrentRow(-1);
}

void TFormListeContacts::addName(const QString& name)
{
    QStringList names;
    for (int i = 0; i < listeContacts->count(); ++i)
        names.append(listeContacts->item(i)->text());
    listeContacts->insertItem(sortedPosition(names, name), name);
}

QListWidgetItem* TFormListeContacts::selected() const
{
    const QList<QListWidgetItem*> items = listeContacts->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

QString TFormListeContacts::civilite() const
{
    if (Liste_Mme->isChecked()) return QStringLiteral("Mme");
    if (Liste_Mlle->isChecked()) return QStringLiteral("Mlle");
    return QStringLiteral("Mr");
}

void TFormListeContacts::listeContactsClick()
{
    const QListWidgetItem* item = selected();
    if (!item) return;
    BtSuppr->setEnabled(true);
    const QList<TContactRec>& contacts = s_.store().Contacts;
    const int i = findContactByName(contacts, s_.IdSocieteAnnuaire, item->text());
    if (i < 0) return;
    const TContactRec& k = contacts[i];
    if (k.civilite.equals("Mr"))
        Liste_Mr->setChecked(true);
    else if (k.civilite.equals("Mme"))
        Liste_Mme->setChecked(true);
    else if (k.civilite.equals("Mlle"))
        Liste_Mlle->setChecked(true);
    Liste_nom->setText(k.nom.text());
    Liste_fonction->setText(k.fonction.text());
    Liste_tel->setText(k.tel.text());
    Liste_fax->setText(k.fax.text());
    Liste_gsm->setText(k.gsm.text());
    Liste_email->setText(k.email.text());
}

void TFormListeContacts::BitBtn1Click()
{
    emit addContactRequested();
}

void TFormListeContacts::BtSaveClick()
{
    const QListWidgetItem* item = selected();
    if (Liste_nom->text().isEmpty()) {
        if (listeContacts->count() > 0 && item) {
            msg::error(contacttexts::NomVide);
            return;
        }
    } else if (item) {
        const int i = findContactByName(s_.store().Contacts, s_.IdSocieteAnnuaire, item->text());
        const ContactFields k{civilite(),          Liste_nom->text(), Liste_fonction->text(),
                              Liste_email->text(), Liste_tel->text(), Liste_fax->text(),
                              Liste_gsm->text()};
        // A write that failed keeps the dialog open with what was typed.
        if (i >= 0 && !reported(updateContactAt(s_.store(), i, k))) return;
    }
    accept();
    s_.RafraichirListing = true;
}

void TFormListeContacts::BtSupprClick()
{
    const QListWidgetItem* item = selected();
    if (!item) return;
    if (!msg::confirm(contacttexts::Confirmation)) return;
    const ContactDeletionResult r =
        deleteContactsNamed(s_.store(), s_.IdSocieteAnnuaire, item->text());
    reported(r.result);
    if (r.outcome == ContactDeletion::Unchanged) return;
    FormShow();
    s_.contactsRemoved(s_.IdSocieteAnnuaire);
    // Applications that showed one of these contacts show none now.
    if (!r.removedIds.isEmpty()) s_.RafraichirListing = true;
}
