#pragma once
// Steps that change several files as one. Deleting a company rewrites the
// companies and the contacts; deleting contacts rewrites the contacts and
// clears the links of the applications to them; deleting an application
// rewrites the applications and deletes its text files. A kill between two
// of those writes would leave files that disagree, so such a step goes:
//
//  1. the new content of each data file is written whole beside it
//     (X.dat.new, flushed to disk); the data files are untouched;
//  2. the journal, naming every change of the step, is written through a
//     temporary file renamed into place: from here the step counts as done;
//  3. each X.dat.new is renamed over X.dat, the links are cleared and the
//     files deleted (every one of these may be made again without harm);
//  4. the journal is removed.
//
// At start-up, before the tables are loaded, recover() finishes a step whose
// journal is there and removes the X.dat.new of a step cut short before its
// journal was written, so that a step is found either whole or not begun.

#include "store/store.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace journal
{
// The journal of the program folder, and the prepared content of a data file.
inline const char* const FileName = "journal.txt";
QString preparedName(const QString& dataFile);

// Finishes or clears away a step left by a stop in its middle. Gives a
// message for each change that could not be made; the data files concerned
// are then not written while the program runs and the journal stays for the
// next start. A damaged journal is moved to the backup directory with the
// prepared files it may have named, and the data files stay as they are.
QStringList recover(Store& store);

// Writes the journal of a step: the data files whose prepared content is to
// be put in place, in order, the contacts whose links are to be cleared, and
// the files to delete.
Result write(Store& store, const QStringList& installs, const QList<qint32>& links,
             const QStringList& deletions);

// Clears id_contact of every application of the table referring to one of
// these contacts, one write in place each; stops at the first failed write.
Result clearLinks(Store& store, const QList<qint32>& contactIds);
} // namespace journal

// One step of several files; see above. Nothing is changed until apply();
// a step dropped before it removes the files it prepared.
class JournalStep
{
public:
    explicit JournalStep(Store& store) : store_(store) {}
    ~JournalStep();
    JournalStep(const JournalStep&) = delete;
    JournalStep& operator=(const JournalStep&) = delete;

    // Fails with its message while the journal of an earlier step is there.
    Result ready() const;

    // Safety copy and new content of a data file without the records that
    // `drop` picks, as Store::rewriteWithout, written to X.dat.new.
    template <class T>
    RewriteResult prepareWithout(const std::function<bool(const T&)>& drop,
                                 Store::Progress progress = {});
    // New content of a data file, given whole; the table takes `records` once
    // the file is in place.
    template <class T> bool prepare(const QList<T>& records, QString* error);

    // The step also clears the links of the applications to these contacts
    // (done by the caller through journal::clearLinks, made again at start-up
    // if cut short), and deletes these files (by the caller likewise).
    void clearLinks(const QList<qint32>& contactIds) { links_ = contactIds; }
    void deleteFiles(const QStringList& paths) { deletions_ = paths; }

    // Writes the journal and puts the prepared files in place, in the order
    // they were prepared, each table taking its records. Unchanged when
    // nothing was changed; Failed when the step stopped half way: the
    // journal stays and the next start finishes it.
    RewriteResult apply();
    // The caller's part is done: removes the journal.
    Result finish();

private:
    struct Prepared {
        QString file;
        std::function<void()> toTable;
    };
    bool writePrepared(const QString& file, const char* data, qint64 size, QString* error);
    // The message of a step stopped at its prepared file `failed`.
    QString stoppedText(qsizetype failed, const QString& error) const;
    void dropPrepared();

    Store& store_;
    QList<Prepared> prepared_;
    QList<qint32> links_;
    QStringList deletions_;
    bool applied_ = false;
};

template <class T>
RewriteResult JournalStep::prepareWithout(const std::function<bool(const T&)>& drop,
                                          Store::Progress progress)
{
    if (Result r = ready(); !r.ok) return {Rewrite::Unchanged, r.error};
    const QString file = QString::fromLatin1(RecordInfo<T>::file);
    QList<T> kept;
    RewriteResult r =
        store_.writeWithout<T>(drop, progress, store_.path(journal::preparedName(file)), &kept);
    if (r.outcome != Rewrite::Done) return r;
    Store& store = store_;
    prepared_.append({file, [&store, kept] { store.table<T>() = kept; }});
    return r;
}

template <class T> bool JournalStep::prepare(const QList<T>& records, QString* error)
{
    if (Result r = ready(); !r.ok) {
        *error = r.error;
        return false;
    }
    const QString file = QString::fromLatin1(RecordInfo<T>::file);
    if (!writePrepared(file, reinterpret_cast<const char*>(records.constData()),
                       qint64(records.size()) * qint64(sizeof(T)), error))
        return false;
    Store& store = store_;
    prepared_.append({file, [&store, records] { store.table<T>() = records; }});
    return true;
}
