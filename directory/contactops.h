#pragma once
// The contacts of a company without their windows: how they are listed and
// counted, created, changed in place, deleted with their links, and linked
// to an application.

#include "store/store.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the contact dialogs edit, as typed.
struct ContactFields {
    QString civilite; // "Mr", "Mme" or "Mlle"
    QString nom, fonction, email, tel, fax, gsm;
};

ContactFields fieldsOf(const TContactRec& c);

// "Dupont (Directeur)"; the name alone for a contact without function.
QString contactDisplayText(const TContactRec& c);

// The order of the program's sorted lists: case-insensitive, French.
bool lessFrench(const QString& a, const QString& b);
// Sorts in that order; equal names keep their order.
void sortFrench(QStringList& names);
// Where a name goes in a list kept in that order: after its equals.
int sortedPosition(const QStringList& sortedNames, const QString& name);

// The live contacts of a company, in table order.
QList<int> companyContacts(const QList<TContactRec>& contacts, qint32 societe);
int countContacts(const QList<TContactRec>& contacts, qint32 societe);
// Their names, sorted as the contact list shows them.
QStringList contactNames(const QList<TContactRec>& contacts, qint32 societe);
// Their display texts, sorted as the contact chooser shows them.
QStringList contactDisplayTexts(const QList<TContactRec>& contacts, qint32 societe);
// Position of the first contact of the company with exactly this name; -1 when none.
int findContactByName(const QList<TContactRec>& contacts, qint32 societe, const QString& nom);
// Id of the last contact of the company with this display text; 0 when none.
qint32 contactByDisplayText(const QList<TContactRec>& contacts, qint32 societe,
                            const QString& text);

// Caption of the directory's contacts button: "Pas de contact", "1 contact", "3 contacts".
QString contactsCaption(int count);

// Succeeds when every text of the contact can be stored; otherwise the
// failure names the field and the characters it cannot hold.
Result acceptContactTexts(const ContactFields& fields);

// Creates a contact of the company: fields cut to their capacities, the next
// contact id, appended to contacts.dat and the table. An empty name is
// refused with "Le nom doit être renseigné.". The record written is given
// back in `created`.
Result createContact(Store& store, qint32 societe, const ContactFields& fields,
                     TContactRec* created = nullptr);

// Writes the fields over the contact at table position i, in place; its
// version, id and company are kept. A position outside the table fails
// without a message.
Result updateContactAt(Store& store, int position, const ContactFields& fields);

enum class ContactDeletion {
    Done,          // the contacts are gone and no application refers to them
    Unchanged,     // nothing was deleted (result.error says why)
    LinksRemaining // the contacts are gone; clearing the links stopped at a failed write
};

struct [[nodiscard]] ContactDeletionResult {
    ContactDeletion outcome = ContactDeletion::Done;
    // Fails with Unchanged and LinksRemaining; its error is the message.
    Result result;
    // The ids of the contacts deleted (with Done and LinksRemaining).
    QList<qint32> removedIds;
};

// Deletes every contact of the company with exactly this name: safety copy
// backup/contacts.dat, then contacts.dat written again without them, then
// id_contact cleared in every application that referred to one of them.
ContactDeletionResult deleteContactsNamed(Store& store, qint32 societe, const QString& nom);

// Clears id_contact of every application referring to one of these
// contacts, one write in place each; stops at the first failed write.
Result clearContactLinks(Store& store, const QList<qint32>& contactIds);

// Links the application `candidature` (at `position` when it holds that id,
// see findChosen) to the contact `contact`, in place. An application that
// is not in the table fails without a message.
Result linkContact(Store& store, qint32 candidature, qint32 contact, int position = -1);

// Messages of the contacts, as the user reads them.
namespace contacttexts
{
inline const QString NomVide = QStringLiteral("Le nom ne peut pas être vide.");
inline const QString NomARenseigner = QStringLiteral("Le nom doit être renseigné.");
inline const QString Confirmation =
    QStringLiteral("Etes-vous sûr de vouloir supprimer ce contact ?");
inline const QString SauvegardeImpossible =
    QStringLiteral("Impossible de créer la sauvegarde.") + CR + QStringLiteral("Erreur disque.");
QString rewriteFailed(const QString& error);
} // namespace contacttexts
