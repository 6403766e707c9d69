// The version check and the conversion of old layouts on arbitrary files:
// the first byte picks which data file holds the bytes. Whatever happens,
// the files that come out load as whole records.

#include "store/migration.h"
#include "store/recordfile.h"
#include "store/store.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    static const char* const names[3] = {"societes.dat", "contacts.dat", "candidatures.dat"};
    const QTemporaryDir dir;
    Store store(dir.path());
    store.Initialisation();
    {
        QFile f(store.path(QString::fromLatin1(names[data[0] % 3])));
        if (!f.open(QIODevice::WriteOnly)) return 0;
        f.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
    }
    if (baseState(store) != BaseState::NeedsConversion) return 0;
    if (!convertOldFiles(store).ok) return 0;
    // Converted: every file now holds whole current records.
    const qint64 sizes[3] = {sizeof(TSocieteRec), sizeof(TContactRec), sizeof(TCandidatureRec)};
    for (int k = 0; k < 3; ++k)
        if (QFile(store.path(QString::fromLatin1(names[k]))).size() % sizes[k] != 0) std::abort();
    return 0;
}
