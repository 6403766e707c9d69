#pragma once
// The rules of the company directory: the letter groups, the sorted names of
// a group, the caption of the contacts button, the figures of a company and
// the deletion of a company with its contacts.

#include "reports/statistics.h"
#include "store/store.h"

#include <QList>
#include <QLocale>
#include <QStringList>

// A name as the letter groups see it: A-Z in lower case, then the French
// accents folded (É → e, ç → c); other characters unchanged.
QString foldName(const QString& nom);

// Whether a folded name is in the group of a key: '9' for names not
// starting with a to z, '_' for every non-empty name, and a letter for the
// names starting with it or the letter before it ('b': a or b).
bool inGroup(const QString& folded, QChar key);

// The key of the group a name falls in ('9' or 'b', 'd', ... 'z').
QChar groupKeyOf(const QString& nom);

// The names of a group, sorted without regard to letter case in the way of
// the user's language; names shared by several companies appear as often.
QStringList companiesOfGroup(const QList<TSocieteRec>& societes, QChar key);
// Every live company name, sorted the same way.
QStringList allCompanyNames(const QList<TSocieteRec>& societes);
// Sorts names as the directory lists do.
void sortNames(QStringList& names);

// The four figure lines of the directory for one company.
QStringList directoryFigureTexts(const KeyFigures& f, const QLocale& locale);

// Why the company `id` may not be deleted: the message that counts the live
// applications about it; empty when it may be.
QString companyDeletionRefusal(const QList<TCandidatureRec>& candidatures, qint32 id);

// The question the window asks before DelSociete.
inline const QString CompanyDeletionQuestion =
    QStringLiteral("Etes-vous sûr de vouloir supprimer cette société ?");

// Deletes the company `id` and all its contacts; the window has checked
// companyDeletionRefusal and asked first. The two files are rewritten after
// their safety copies, under one progress bar. Done when the company and
// its contacts are gone; otherwise the message of `error` is shown, and with
// Failed the caller ends the program. An Unchanged from contacts.dat (its
// safety copy failed) comes after societes.dat was rewritten: the company
// is gone, its contacts stay.
RewriteResult DelSociete(Store& store, qint32 id);
