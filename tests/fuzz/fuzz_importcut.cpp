// The company import on arbitrary files: the first three bytes choose the
// separator, the delimiter and the columns, the rest is the file. The file
// is decoded, cut into lines and fields, and imported into an empty folder;
// the fields must lie in their line and the files must hold exactly the
// records the import counted.

#include "directory/importrules.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

namespace
{

void check(bool ok)
{
    if (!ok) std::abort();
}

const QChar Separators[] = {u';', u',', u'\t', u'|'};
const QChar Delimiters[] = {u'"', u'\'', u'#', u';'};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) return 0;
    ImportSettings settings;
    settings.separator = Separators[data[0] % 4];
    settings.delimiter = Delimiters[(data[0] / 4) % 4];
    const DelimiterRemoval removal =
        (data[0] & 0x10) ? DelimiterRemoval::EitherEnd : DelimiterRemoval::BothEnds;
    // Up to 24 columns, each a slot or -1 (not imported).
    const int columns = 1 + data[1] % 24;
    for (int c = 0; c < columns; ++c)
        settings.columns.append(int((data[2] + c * 7) % (ImportFieldCount + 1)) - 1);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));

    const ImportText t = decodeImportFile(bytes, QStringLiteral("f.csv"));
    if (!t.error.isEmpty()) return 0;
    const QList<QStringView> lines = readLines(t.text);
    for (QStringView line : lines) {
        const QList<QStringView> fields =
            cutLine(line, columns, settings.separator, settings.delimiter, removal);
        check(fields.size() == columns);
        for (QStringView f : fields)
            check(f.isEmpty() ||
                  (f.data() >= line.data() && f.data() + f.size() <= line.data() + line.size()));
    }

    // An empty folder for each input.
    static const QTemporaryDir dir;
    for (const char* file : {"societes.dat", "contacts.dat"})
        QFile::remove(dir.filePath(QString::fromLatin1(file)));
    Store store(dir.path());
    if (!store.Initialisation().isEmpty()) return 0;
    const ImportOutcome o = importDirectory(store, lines, settings);
    check(o.result.ok);
    check(store.Societes.size() == o.counts.societes);
    check(store.Contacts.size() == o.counts.contacts);
    check(QFileInfo(store.path(QStringLiteral("societes.dat"))).size() ==
          qint64(store.Societes.size() * sizeof(TSocieteRec)));
    check(QFileInfo(store.path(QStringLiteral("contacts.dat"))).size() ==
          qint64(store.Contacts.size() * sizeof(TContactRec)));
    return 0;
}
