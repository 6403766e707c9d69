#pragma once
// The in-memory tables and the operations that change the data files.
//
// Element i of a table is a copy of record i of its file. Records that are
// not live stay in their table so that this stays true; views skip them.
// Every change is written to its file first and reaches the table only when
// the write succeeded.

#include "store/filestamp.h"
#include "store/records.h"
#include "store/result.h"
#include "store/texts.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

// The progress the store reports while it walks a table. The defaults do
// nothing; a worker may report through here as well.
class StoreUi
{
public:
    virtual ~StoreUi() = default;
    virtual void progressStart(qint64 maximum) { Q_UNUSED(maximum); }
    virtual void progressStep(qint64 steps) { Q_UNUSED(steps); }
    virtual void progressHide() {}
};

enum class FileKind { Societes = 0, Contacts, Candidatures, Favoris };

// Outcome of a rewrite without some records.
enum class Rewrite {
    Done,      // file and table hold the records kept
    Unchanged, // the file may not be written or its safety copy failed: nothing was changed
    Failed     // the rewrite failed: after its message the caller ends the program
};

// How a rewrite uses the progress bar: a deletion that rewrites two files
// shows one bar over both.
struct RewriteProgress {
    bool start = true;   // show the bar from 0
    qint64 maximum = -1; // its maximum; -1: the records walked
    bool hide = true;    // hide it at the end
};

struct [[nodiscard]] RewriteResult {
    Rewrite outcome = Rewrite::Done;
    QString error; // the message of Unchanged and Failed
};

class Store
{
public:
    explicit Store(const QString& programDir);
    virtual ~Store() = default;

    QString programDir() const { return dir_; }
    // Full path of a file or directory of the program directory.
    QString path(const QString& name) const;

    void setUi(StoreUi* ui) { ui_ = ui ? ui : &noUi_; }
    StoreUi& ui() const { return *ui_; }

    // Creates the missing data files and the directories txt, backup and
    // Import, and finishes a step of several files left half done (see
    // journal.h). Gives the message of each thing that could not be done.
    QStringList Initialisation();

    // Tables and what goes with them.
    QList<TSocieteRec> Societes;
    QList<TContactRec> Contacts;
    QList<TCandidatureRec> Candidatures;
    QList<TFavoriRec> Favoris;
    qint32 MaxIdSociete = 0;
    qint32 MaxIdContact = 0;
    qint32 MaxIdCandidature = 0;
    QStringList SourcesConnues;
    bool Occupe = false;

    // Sets Occupe for its lifetime and puts the previous value back however
    // the scope is left, an exception included.
    class Busy
    {
    public:
        explicit Busy(Store& store) : store_(store), was_(store.Occupe) { store.Occupe = true; }
        ~Busy() { store_.Occupe = was_; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        Store& store_;
        bool was_;
    };

    // A table to change: every change to the tables goes through here, so
    // that changes() tells whoever read them that they may have changed.
    template <class T> QList<T>& table();
    quint64 changes() const
    {
        return tableChanges_[0] + tableChanges_[1] + tableChanges_[2] + tableChanges_[3];
    }
    // The same for one table alone.
    quint64 changes(FileKind kind) const { return tableChanges_[int(kind)]; }

    // A file whose loading failed is never written: what it holds on disk
    // would otherwise be replaced by the part that could be read.
    void setLoadFailure(FileKind kind, const QString& error);
    bool loadFailed(FileKind kind) const { return !loadErrors_[int(kind)].isEmpty(); }
    QString loadError(FileKind kind) const { return loadErrors_[int(kind)]; }
    // What the loading found in files it could read: damaged records, ids
    // held by more than one record. One line per file, shown once.
    void addLoadWarning(const QString& text) { loadWarnings_.append(text); }
    const QStringList& loadWarnings() const { return loadWarnings_; }
    // Fails, with the message that says why, when that file must not be written.
    Result writable(FileKind kind, const QString& fileName) const;

    // The state of each data file when this program last read or wrote it.
    // A file changed on disk since then (by another copy of the program, a
    // file put back by hand) is not written: a write would undo that change,
    // or put records at other places than in the table.
    void setStamp(FileKind kind, const FileStamp& stamp) { stamps_[int(kind)] = stamp; }
    // After this program wrote the file itself.
    void stampFile(FileKind kind);
    // False when the file changed on disk since (true when never stamped).
    bool unchangedOnDisk(FileKind kind) const;
    // writable(), and fails as well when the file changed on disk: an update
    // in place or a rewrite would overwrite that change. An append adds
    // after whatever whole records the file holds and needs only writable().
    Result overwritable(FileKind kind, const QString& fileName) const;

    // Next id of a file, in `id`; the maximum takes that value at once. An
    // id is never given twice in a folder: the maximum is the highest id ever
    // given there, never lowered by a deletion, and noteIdsInUse() raises it
    // above what an interrupted deletion left behind. Fails, giving nothing,
    // past the largest id.
    Result nextIdSociete(qint32* id);
    Result nextIdContact(qint32* id);
    Result nextIdCandidature(qint32* id);

    // Raises the maxima to ids that the folder still uses outside the
    // records of their own file: companies named by contacts or applications,
    // contacts named by applications, applications named by text files, and
    // the maxima kept in the settings file. Called once, after loading.
    struct IdsInUse {
        qint32 societe = 0, contact = 0, candidature = 0;
    };
    void noteIdsInUse(const IdsInUse& used);

    // The maxima are kept in the settings file ("MaxIdSociete",
    // "MaxIdContact", "MaxIdCandidature") each time they grow, so that a
    // restart after a deletion does not give its id again.
    void saveMaxIds();
    // Keeps in the settings file, in one write, the maxima that giving that
    // many more ids would reach: the ids given within that range then write
    // nothing (an import of thousands of records).
    void reserveIds(qint32 societes, qint32 contacts, qint32 candidatures);

    // Writes a record at the end of its file, then adds it to the table.
    // A failure leaves both as they were.
    template <class T> Result append(T record);
    // The same for several records in one write: a failure leaves the file
    // and the table without any of them.
    template <class T> Result appendAll(QList<T> records);

    // Writes record i in place, then copies it into the table.
    Result UpdateCandidature(int i, const TCandidatureRec& record);
    Result UpdateSociete(int i, const TSocieteRec& record);
    // Same for a contact, with the caller's message before the error text.
    Result updateContact(int i, const TContactRec& record, const QString& failureText);

    // Moves a file to another name, replacing what is there.
    Result DeplaceFichier(const QString& source, const QString& target);
    // Deletes a file; success when it does not exist.
    Result DeleteFichier(const QString& path);

    // Takes the safety copy backup/X.dat of a data file, leaving X.dat in
    // place. A failure has the message of text id 222 or 223.
    Result safetyCopy(const QString& fileName);

    using Progress = RewriteProgress;

    // Safety copy, then rewrite of the file without the records that `drop`
    // picks, in table order.
    template <class T>
    RewriteResult rewriteWithout(const std::function<bool(const T&)>& drop, Progress progress = {});
    // The same, except that the new content goes to `target` and the records
    // kept to `kept`; the file and the table are left as they are.
    template <class T>
    RewriteResult writeWithout(const std::function<bool(const T&)>& drop, Progress progress,
                               const QString& target, QList<T>* kept);
    // The message of a failed rewrite of a file, which ends the program.
    template <class T> QString rewriteFailureText(const QString& error) const;

    // The devices the writes go through; tests return devices that fail.
    virtual std::unique_ptr<QFile> openFile(const QString& path);
    virtual std::unique_ptr<QSaveFile> saveFile(const QString& path);

private:
    Result nextId(qint32& highest, const QString& what, qint32* id);
    void saveMaxIds(const std::array<qint32, 3>& maxima);
    template <class T> Result update(int i, const T& record, const QString& failureText);
    template <class T> static FileKind kindOf();

    QString dir_;
    StoreUi noUi_;
    StoreUi* ui_ = &noUi_;
    QString loadErrors_[4];
    FileStamp stamps_[4];
    quint64 tableChanges_[4] = {};
    QStringList loadWarnings_;
    // The maxima the settings file holds, as last read or written.
    qint32 savedMax_[3] = {0, 0, 0};
};

#include "store/store_impl.h"
