#include "directory/contactops.h"

#include "store/cp1252.h"
#include "store/journal.h"
#include "store/recordfile.h"
#include "store/tables.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace
{

const QCollator& frenchCollator()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

bool ofCompany(const TContactRec& c, qint32 societe)
{
    return isLive(c) && qint32(c.id_societe) == societe;
}

void setFields(TContactRec& r, const ContactFields& k)
{
    r.nom = k.nom;
    r.fonction = k.fonction;
    r.email = k.email;
    r.tel = k.tel;
    r.fax = k.fax;
    r.gsm = k.gsm;
    r.civilite = k.civilite;
}

} // namespace

QString contacttexts::rewriteFailed(const QString& error)
{
    return QStringLiteral("Le fichier \"contacts.dat\" n'a pas pu être réécrit : aucun contact "
                          "n'a été supprimé.") +
           CR + CR + error;
}

ContactFields fieldsOf(const TContactRec& c)
{
    return {c.civilite.text(), c.nom.text(), c.fonction.text(), c.email.text(),
            c.tel.text(),      c.fax.text(), c.gsm.text()};
}

QString contactDisplayText(const TContactRec& c)
{
    if (c.fonction.isEmpty()) return c.nom.text();
    return c.nom.text() + QStringLiteral(" (") + c.fonction.text() + QLatin1Char(')');
}

bool lessFrench(const QString& a, const QString& b)
{
    return frenchCollator().compare(a, b) < 0;
}

void sortFrench(QStringList& names)
{
    std::stable_sort(names.begin(), names.end(), lessFrench);
}

int sortedPosition(const QStringList& sortedNames, const QString& name)
{
    return int(std::upper_bound(sortedNames.begin(), sortedNames.end(), name, lessFrench) -
               sortedNames.begin());
}

QList<int> companyContacts(const QList<TContactRec>& contacts, qint32 societe)
{
    QList<int> positions;
    for (int i = 0; i < contacts.size(); ++i)
        if (ofCompany(contacts[i], societe)) positions.append(i);
    return positions;
}

int countContacts(const QList<TContactRec>& contacts, qint32 societe)
{
    return int(companyContacts(contacts, societe).size());
}

QStringList contactNames(const QList<TContactRec>& contacts, qint32 societe)
{
    QStringList names;
    for (int i : companyContacts(contacts, societe))
        names.append(contacts[i].nom.text());
    sortFrench(names);
    return names;
}

QStringList contactDisplayTexts(const QList<TContactRec>& contacts, qint32 societe)
{
    QStringList names;
    for (int i : companyContacts(contacts, societe))
        names.append(contactDisplayText(contacts[i]));
    sortFrench(names);
    return names;
}

int findContactByName(const QList<TContactRec>& contacts, qint32 societe, const QString& nom)
{
    for (int i : companyContacts(contacts, societe))
        if (contacts[i].nom.text() == nom) return i;
    return -1;
}

qint32 contactByDisplayText(const QList<TContactRec>& contacts, qint32 societe, const QString& text)
{
    qint32 id = 0;
    for (int i : companyContacts(contacts, societe))
        if (contactDisplayText(contacts[i]) == text) id = contacts[i].id;
    return id;
}

QString contactsCaption(int count)
{
    if (count < 1) return QStringLiteral("Pas de contact");
    if (count == 1) return QStringLiteral("1 contact");
    return QString::number(count) + QStringLiteral(" contacts");
}

// The contact's texts, with the names of their fields for the messages.
Result acceptContactTexts(const ContactFields& k)
{
    const QString problem = cp1252::unstorableText({{QStringLiteral("Civilité"), k.civilite},
                                                    {QStringLiteral("Nom/Prénom"), k.nom},
                                                    {QStringLiteral("Fonction"), k.fonction},
                                                    {QStringLiteral("Email"), k.email},
                                                    {QStringLiteral("Téléphone"), k.tel},
                                                    {QStringLiteral("Télécopie"), k.fax},
                                                    {QStringLiteral("Portable"), k.gsm}});
    return problem.isEmpty() ? Result::success() : Result::failure(problem);
}

Result createContact(Store& store, qint32 societe, const ContactFields& fields,
                     TContactRec* created)
{
    if (fields.nom.isEmpty()) return Result::failure(contacttexts::NomARenseigner);
    if (Result accepted = acceptContactTexts(fields); !accepted.ok) return accepted;
    TContactRec r{};
    setFields(r, fields);
    r.id_societe = societe;
    // The id is taken before the write: a failed write does not give it again.
    qint32 id = 0;
    if (Result given = store.nextIdContact(&id); !given.ok) return given;
    r.id = id;
    if (Result written = store.append(r); !written.ok) return written;
    if (created) *created = store.Contacts.last();
    return Result::success();
}

Result updateContactAt(Store& store, int position, const ContactFields& fields)
{
    if (position < 0 || position >= store.Contacts.size()) return Result::failure(QString());
    if (Result accepted = acceptContactTexts(fields); !accepted.ok) return accepted;
    TContactRec r = store.Contacts[position];
    setFields(r, fields);
    return store.updateContact(
        position, r,
        QStringLiteral("Une erreur est survenue lors de la mise à jour de \"contacts.dat\""));
}

ContactDeletionResult deleteContactsNamed(Store& store, qint32 societe, const QString& nom)
{
    ContactDeletionResult d;
    auto unchanged = [&](const QString& why) {
        d.outcome = ContactDeletion::Unchanged;
        d.result = Result::failure(why);
        return d;
    };
    if (Result w = store.overwritable(FileKind::Contacts, QStringLiteral("contacts.dat")); !w.ok)
        return unchanged(w.error);
    QList<TContactRec> kept;
    QList<qint32> removed;
    kept.reserve(store.Contacts.size());
    for (const TContactRec& c : store.Contacts) {
        if (ofCompany(c, societe) && c.nom.text() == nom)
            removed.append(c.id);
        else
            kept.append(c);
    }
    if (removed.isEmpty()) return d;

    // The contacts and the links to them go as one step: a stop in between
    // is finished at the next start.
    JournalStep step(store);
    if (Result r = step.ready(); !r.ok) return unchanged(r.error);
    {
        const Store::Busy busy(store);
        const QString file = store.path(QStringLiteral("contacts.dat"));
        // The safety copy first; contacts.dat stays in place until its new
        // content is whole on disk.
        auto backup = store.saveFile(store.path(QStringLiteral("backup/contacts.dat")));
        QString sourceError, targetError;
        if (!recordfile::copyFile(file, *backup, &sourceError, &targetError))
            return unchanged(contacttexts::SauvegardeImpossible + CR + CR +
                             (sourceError.isEmpty() ? targetError : sourceError));
        QString error;
        if (!step.prepare(kept, &error)) {
            // The file was not replaced: it still holds every contact, as the table does.
            return unchanged(contacttexts::rewriteFailed(error));
        }
        step.clearLinks(removed);
        const RewriteResult applied = step.apply();
        if (applied.outcome == Rewrite::Unchanged)
            return unchanged(contacttexts::rewriteFailed(applied.error));
        if (applied.outcome == Rewrite::Failed) {
            // Stopped half way: the next start finishes the step.
            d.outcome = ContactDeletion::LinksRemaining;
            d.result = Result::failure(applied.error);
            d.removedIds = removed;
            return d;
        }
    }
    d.removedIds = removed;
    d.result = clearContactLinks(store, removed);
    if (!d.result.ok)
        d.outcome = ContactDeletion::LinksRemaining;
    else
        (void)step.finish();
    return d;
}

Result clearContactLinks(Store& store, const QList<qint32>& contactIds)
{
    return journal::clearLinks(store, contactIds);
}

Result linkContact(Store& store, qint32 candidature, qint32 contact, int position)
{
    const int i = findChosen(std::as_const(store).Candidatures, candidature, position);
    if (i < 0) return Result::failure(QString());
    TCandidatureRec copy = std::as_const(store.Candidatures)[i];
    copy.id_contact = contact;
    return store.UpdateCandidature(i, copy);
}
