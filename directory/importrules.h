#pragma once
// The company import without its windows: the import fields and their slots,
// the reading of the file, the cutting of a line into fields, and the adding
// of the companies and contacts that are not known yet.

#include "store/store.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

// The twenty-two import fields, in slot order: "Société" ... "Contact_Email".
inline constexpr int ImportFieldCount = 22;
const QStringList& importFieldNames();

// Slot of an import field name, by exact comparison; -1 for any other text.
int MonChamp(const QString& name);

// How the delimiters around a field are taken away: the import removes them
// only when the field begins and ends with one; the preview removes the
// first and last character as soon as either end is a delimiter.
enum class DelimiterRemoval { BothEnds, EitherEnd };

// Cuts a line into `n` fields. A delimiter flips an inside-delimiters flag
// and stays in the field; a separator outside delimiters ends the field.
// What follows the n-th separator is ignored; fields the line does not reach
// are empty. There is no escape and no trimming. The fields point into `line`.
QList<QStringView> cutLine(QStringView line, int n, QChar separator, QChar delimiter,
                           DelimiterRemoval removal);

// The text of an import file, or why it cannot be imported.
struct ImportText {
    QString text; // carriage returns removed
    QString error;
};

// The longest line that an import file may hold.
inline constexpr int ImportMaxLineLength = 65536;

// Bytes of an import file → text: valid UTF-8 is read as UTF-8, anything
// else as Windows-1252; a byte-order mark is skipped. A file holding a zero
// byte (not a text file) or a line longer than ImportMaxLineLength is refused.
ImportText decodeImportFile(const QByteArray& bytes, const QString& fileName);
// The same, reading the file first.
ImportText readImportFile(const QString& path);

// The lines of the text that are read: empty lines and lines beginning with
// "#" are left out.
QList<QStringView> readLines(QStringView text);

// What an import added.
struct ImportCounts {
    int societes = 0;
    int contacts = 0;
    // Lines of which a character could not be stored and became "?".
    int replacedLines = 0;
};

// "2 sociétés ajoutées et 1 contact ajouté.", with the lines whose
// characters were replaced when there are any.
QString importSummary(const ImportCounts& counts);

// What the user chose: separator, delimiter, and the slot of each column.
struct ImportSettings {
    QChar separator = QLatin1Char(';');
    QChar delimiter = QLatin1Char('"');
    QList<int> columns;
};

// Adds the lines of a file to the store. Companies are known by name and
// contacts by name through hashes built once; new records wait in groups
// that are appended to their files in one write each.
class SocieteImport
{
public:
    SocieteImport(Store& store, const ImportSettings& settings, int groupSize = 2048);

    // One line read from the file. Fails when a group had to be written and
    // could not; the records of that group are then in neither file nor table.
    Result addLine(QStringView line);
    // Writes the records still waiting.
    Result flush();

    // Queues a company unless one already has its name (upper-cased, letters
    // a to z only); true when it was added. No id left: false, and the next
    // addLine() or flush() fails with the message.
    bool AjoutSociete(TSocieteRec r);
    // Queues a contact of the last company with that name (upper-cased as
    // above) unless a contact already has its name; true when it was added.
    bool AjoutContact(TContactRec r, QByteArray societeNom);

    // What reached the files so far.
    const ImportCounts& counts() const { return counts_; }

private:
    Result flushQueued();

    Store& store_;
    // Set when no id was left for a record; the import stops with it.
    Result idFailure_;
    ImportSettings settings_;
    int groupSize_;
    QHash<QByteArray, qint32> societes_; // name → id of the last company with it
    QSet<QByteArray> contacts_;
    QList<TSocieteRec> newSocietes_;
    QList<TContactRec> newContacts_;
    int replacedPending_ = 0;
    // The highest ids before the records waiting were given theirs.
    qint32 maxSociete_ = 0;
    qint32 maxContact_ = 0;
    ImportCounts counts_;
};

// The whole import of the lines read: every line, then the last group.
// `step` is told of every line done. The result fails at the first write
// that failed; the counts say what was added before.
struct ImportOutcome {
    ImportCounts counts;
    Result result;
};
ImportOutcome importDirectory(Store& store, const QList<QStringView>& lines,
                              const ImportSettings& settings,
                              const std::function<void()>& step = {});
