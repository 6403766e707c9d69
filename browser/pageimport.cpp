#include "browser/pageimport.h"

#include "applications/sort.h"
#include "directory/contactops.h"
#include "store/helpers.h"
#include "store/store.h"
#include "store/tables.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <utility>

QStringList importCompanies(const Store& store)
{
    // The first live company of each id names it, as everywhere else.
    QHash<qint32, int> companyOf;
    for (int i = 0; i < store.Societes.size(); ++i)
        if (isLive(store.Societes[i])) companyOf.insert(store.Societes[i].id, i);

    QSet<qint32> seenIds;
    QSet<QString> seenNames;
    QStringList names;
    for (const TCandidatureRec& c : store.Candidatures) {
        if (!isLive(c) || seenIds.contains(c.id_societe)) continue;
        seenIds.insert(c.id_societe);
        const auto found = companyOf.constFind(c.id_societe);
        if (found == companyOf.cend()) continue; // company deleted: nothing to show
        const QString nom = store.Societes[*found].nom.text();
        if (!seenNames.contains(nom)) {
            seenNames.insert(nom);
            names.append(nom);
        }
    }
    sortFrench(names);
    return names;
}

QList<ImportRow> importApplications(const Store& store, const QString& nom)
{
    // The companies of that name, by id: the first of each id in table order.
    QHash<qint32, const TSocieteRec*> named;
    for (const TSocieteRec& s : store.Societes)
        if (isLive(s) && s.nom.text() == nom && !named.contains(s.id)) named.insert(s.id, &s);

    TListingMaListe list;
    for (int i = 0; i < store.Candidatures.size(); ++i) {
        const TCandidatureRec& c = store.Candidatures[i];
        if (!isLive(c)) continue;
        const TSocieteRec* s = named.value(c.id_societe);
        if (!s) continue;
        TElementListing e;
        e.date = c.date.text().toInt();
        e.categorie = &s->categorie;
        e.societe = &s->nom;
        e.intitule = &c.intitule;
        e.index = i;
        list.add(e);
    }
    // Date, then title, company, status, marker, category.
    list.sort({TElementListing::DateKey, TElementListing::Intitule, TElementListing::Societe,
               TElementListing::Statut, TElementListing::Marqueur, TElementListing::Categorie,
               TElementListing::Rdv});

    QList<ImportRow> rows;
    rows.reserve(list.size());
    for (int k = list.size() - 1; k >= 0; --k) {
        const TElementListing& e = list.at(k);
        const TCandidatureRec& c = store.Candidatures[e.index];
        rows.append({c.id, e.index, SQL2Date(QString::number(e.date)), c.intitule.text()});
    }
    return rows;
}

DocumentResult joinImport(Store& store, const ImportRow& row, DocSlot slot, const QString& pdf,
                          const QDate& today)
{
    const QList<TCandidatureRec>& table = std::as_const(store).Candidatures;
    // The row's own application, even when another one has the same date and title.
    const int pos = findChosen(table, row.id, row.position);
    if (pos < 0) return {Result::failure(applicationNotFoundText(row.id)), {}};

    // A path cut to fit its field would link to no file: refuse it instead.
    LinkChoice choice;
    choice.path = pdf;
    if (const QString problem = choiceProblem(choice); !problem.isEmpty())
        return {Result::failure(problem), {}};

    TCandidatureRec rec = table[pos];
    const QString old = pathField(rec, slot).text();
    const bool oldImported = old != pdf && isImportedPdf(store.programDir(), old);
    pathField(rec, slot) = pdf;
    // The offer has no date of its own: its date is the application's.
    if (slot != DocSlot::Offre) dateField(rec, slot) = today.toString(QStringLiteral("yyyyMMdd"));
    if (Result written = store.UpdateCandidature(pos, rec); !written.ok) return {written, {}};

    // Files go only once the record no longer points to them.
    DocumentResult done;
    if (oldImported && !stillLinked(store, old, std::nullopt))
        if (Result gone = store.DeleteFichier(old); !gone.ok) done.furtherErrors.append(gone.error);
    // The text pasted into the slot is replaced by the page; a file that
    // cannot be deleted stays unused.
    QFile::remove(pastedTextPath(store, slot, rec.id));
    return done;
}
