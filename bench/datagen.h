#pragma once
// Generated data for the benchmarks: the four data files of a job search of
// realistic size, filled with plausible French texts. The output depends only
// on the sizes, the seed and the reference date, so two runs on the same
// inputs write byte-identical files.

#include "store/records.h"

#include <QDate>
#include <QList>
#include <QString>

namespace datagen
{

struct Sizes {
    int candidatures = 100000;
    int societes = 10000;
    int contacts = 30000;
    int favoris = 200;
    // Share of the records of each file that are not live.
    double notLive = 0.01;
    quint64 seed = 0x4f5256414c444953ull;
    // Application dates fall in the three years before this day; an invalid
    // date stands for today.
    QDate reference;
};

struct GeneratedData {
    QList<TSocieteRec> societes;
    QList<TContactRec> contacts;
    QList<TCandidatureRec> candidatures;
    QList<TFavoriRec> favoris;
};

// Builds the four tables. Every record is prepared as the program writes it;
// the records picked as not live then have their live byte set to 0.
// Applications and contacts refer only to live companies by id, and an
// application's contact, when it has one, is a live contact of its company.
GeneratedData generate(const Sizes& sizes = {});

// Writes societes.dat, contacts.dat, candidatures.dat and favoris.dat into
// `dir` (which must exist), each in one write, replacing what was there.
bool writeDataFiles(const QString& dir, const GeneratedData& data, QString* error = nullptr);

} // namespace datagen
