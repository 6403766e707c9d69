// Record decoding and the listing rules on arbitrary bytes: the first byte
// picks the file, the rest is read as the loader reads it, then every text
// and date is decoded and the listing is built and sorted over them.

#include "applications/listingrules.h"
#include "store/helpers.h"
#include "store/recordfile.h"
#include "store/societeindex.h"

#include <QBuffer>

namespace
{

template <class T> QList<T> read(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QList<T> records;
    QString error;
    recordfile::readAll<T>(device, records, &error, {}, 7);
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const uint8_t kind = data[0] % 3;
    ++data;
    --size;
    if (kind == 0) {
        for (const TSocieteRec& s : read<TSocieteRec>(data, size))
            (void)(s.nom.text() + s.ville.text() + s.categorie.text());
        return 0;
    }
    if (kind == 1) {
        for (const TContactRec& c : read<TContactRec>(data, size))
            (void)(c.nom.text() + c.email.text());
        return 0;
    }
    const QList<TCandidatureRec> apps = read<TCandidatureRec>(data, size);
    // Every application's company is there, so that every rule runs.
    QList<TSocieteRec> societes;
    for (const TCandidatureRec& c : apps) {
        TSocieteRec s{};
        s.id = c.id_societe;
        s.nom = QStringLiteral("S");
        societes.append(s);
        (void)(c.intitule.text() + SQL2Date(c.date.text()));
        (void)lastActivity(c);
    }
    const SocieteIndex index(societes);
    for (const char* letter : {"d", "s", "r"}) {
        ListingInput in;
        in.today = 46000;
        in.relance = QStringLiteral("10");
        PrepareTri(QString::fromLatin1(letter), in.keys);
        const ListingResult r = buildListing(apps, societes, index, in);
        (void)statusText(r);
    }
    return 0;
}
