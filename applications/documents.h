#pragma once
// The five document slots of an application: the job offer, the CV, the
// covering letter, the acknowledgement of receipt and the reply.
//
// A slot's path field is empty (no document), the marker "<TEXTE>" (a text
// pasted by the user, kept in txt/<Kind>_<id>.txt) or the path of a file of
// the user's. PDFs made from imported web pages live in the Import directory
// and are the only linked files this program ever deletes.

#include "store/records.h"
#include "store/result.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class Store;

enum class DocSlot { Offre, CV, Lettre, Accuse, Suite };

// The five slots in the order the editor shows them.
inline constexpr DocSlot AllDocSlots[] = {DocSlot::Offre, DocSlot::CV, DocSlot::Lettre,
                                          DocSlot::Accuse, DocSlot::Suite};

struct DocSlotInfo {
    const char* kind;         // in file names: txt/<kind>_<id>.txt
    int noDocumentText;       // description when the slot is empty
    int pastedText;           // description when it holds a pasted text
    int datePrefix;           // before the slot's date; 0 for the offer (no date of its own)
    int unlinkQuestion;       // asked before "Supprimer"
    const char* radioCaption; // UTF-8, caption of RadioFichier in the link dialog
    ShortString<255> TCandidatureRec::*pathField;
    Date TCandidatureRec::*dateField; // the offer's is the application's own date
};

const DocSlotInfo& slotInfo(DocSlot slot);
QString kindName(DocSlot slot);
QString radioCaption(DocSlot slot);
// The slot of a kind name ("Offre", "CV", ...); false when there is none.
bool slotFromKind(const QString& kind, DocSlot* slot);

ShortString<255>& pathField(TCandidatureRec& r, DocSlot slot);
const ShortString<255>& pathField(const TCandidatureRec& r, DocSlot slot);
Date& dateField(TCandidatureRec& r, DocSlot slot);
const Date& dateField(const TCandidatureRec& r, DocSlot slot);

// The path field value of a slot holding a pasted text.
inline const QString MarqueurTexte = QStringLiteral("<TEXTE>");

// Text the editor shows for a slot: text id 186 + " '" + file name + "'" for a
// file, the slot's pasted-text id for "<TEXTE>", its no-document id when empty.
QString slotDescription(const TCandidatureRec& r, DocSlot slot);

// The date the link dialog opens on: the slot's date when set, else the
// application's date (offer, CV, letter) or today (acknowledgement, reply).
// A stored date that is not a valid "yyyymmdd" counts as unset.
QDate initialLinkDate(const TCandidatureRec& r, DocSlot slot, const QDate& today);

// Full path of a slot's pasted-text file.
QString pastedTextPath(const Store& store, DocSlot slot, qint32 id);
// Full path of any text file of an application: txt/<kind>_<id>.txt ("BN" = notes).
QString applicationTextPath(const Store& store, const QString& kind, qint32 id);

// True when a path field designates a PDF of an imported web page: the path
// contains the program directory followed by "/import" (any letter case),
// the file exists, its name has 19 characters with "_" as the 9th, and its
// extension is ".pdf" in any letter case.
bool isImportedPdf(const QString& programDir, const QString& path);

// Whether a live application other than `skipId` links to the file `path`
// from one of its slots.
bool stillLinked(const Store& store, const QString& path, std::optional<qint32> skipId);

// Text files of the program (pasted texts, notes): one line per line of the
// text, each ended by CR LF, in Windows-1252.
QByteArray textFileBytes(const QString& text);
// Lines read from such a file (CR LF, LF or CR), joined with "\n".
QString textFromFileBytes(const QByteArray& bytes);
// `limit`: at most that many bytes are read (-1: the whole file).
bool readTextFile(const QString& path, QString* text, QString* error, qint64 limit = -1);
// Replaces the whole file through store.saveFile(): on failure the previous
// file stays whole. The text must be encodable (see choiceProblem). The error
// of a failure is the system's reason alone: the caller's message names the
// file for what it is (the notes, a pasted text).
Result writeTextFile(Store& store, const QString& path, const QString& text);

// What the user chose in the link dialog.
struct LinkChoice {
    bool file = true; // "Je souhaite attacher un fichier..." checked
    QString path;     // FichierDoc
    QString text;     // Bloc
    QDate date;       // DateTimePicker1
};

// Why a choice cannot be stored, in a message for the user; empty when it can.
// A path must fit the 255 characters of its field and Windows-1252, and so
// must a pasted text (its file is Windows-1252).
QString choiceProblem(const LinkChoice& choice);

// What a change of a slot did. `result` says whether the record now holds
// the choice; when it failed, its error is shown first. `furtherErrors` are
// the failures met on the way that did not decide the outcome (a file that
// could not be deleted, a record that could not be put back), each shown in
// a box of its own after it, in this order.
struct [[nodiscard]] DocumentResult {
    Result result;
    QStringList furtherErrors;
};

// The operations on the application `id` of store.Candidatures, at
// `position` when it holds that id (see findChosen). None shows a message:
// each gives back the messages for the window. Nothing is written or deleted
// before the choice has been found storable and the application found.

// The message when the application is no longer in the table.
QString applicationNotFoundText(qint32 id);

// Writes the slot's path field (empty, "<TEXTE>" or the path) and date field
// (the offer's: the application date), and creates, replaces or deletes the
// pasted-text file to match. Succeeds when the record holds the choice and
// its pasted text is in place.
DocumentResult linkDocument(Store& store, qint32 id, DocSlot slot, const LinkChoice& choice,
                            int position = -1);

// Empties the slot's path field and, except for the offer, its date field;
// then deletes the imported PDF it pointed to and its pasted-text file.
DocumentResult unlinkDocument(Store& store, qint32 id, DocSlot slot, int position = -1);

// After an application has been removed from candidatures.dat: deletes the
// imported PDFs its five slots point to (DeleteFichier), then its text files
// CV, Lettre, Accuse, Suite, BN and Offre. A failure does not stop the rest;
// gives the message of each, in order (none when every file is gone).
QStringList deleteApplicationFiles(Store& store, const TCandidatureRec& deleted);
// The files that deleteApplicationFiles deletes (those that exist).
QStringList applicationFiles(const Store& store, const TCandidatureRec& deleted);
