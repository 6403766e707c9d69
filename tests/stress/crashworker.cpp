// A program folder worked on as the program works on it, for the crash test:
// `orvaldis_crashworker DIR SEED [STOP]` performs a series of store
// operations chosen by SEED from what the folder holds, and writes "B k"
// before operation k and "E k" once it is complete on standard output. With
// STOP it ends before operation STOP, so that the state after any number of
// operations can be made again from the same starting folder.
//
// The operations: a conversion of old-layout files when the folder has
// some, appends of companies, contacts and applications, updates in place,
// deletions of applications (with their text files), of companies (with
// their contacts), and of contacts (clearing the links of applications).

#include "applications/deletion.h"
#include "common/testfiles.h"
#include "directory/contactops.h"
#include "directory/directoryrules.h"
#include "store/migration.h"
#include "store/recordfile.h"
#include "store/store.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <unistd.h>

namespace
{

void say(const char* what, int k)
{
    char line[32];
    const int n = std::snprintf(line, sizeof line, "%s %d\n", what, k);
    // Unbuffered: the line is out before the next step, whatever kills us.
    if (::write(1, line, size_t(n)) != n) std::_Exit(3);
}

template <class T> bool load(Store& store)
{
    QFile f(store.path(QString::fromLatin1(RecordInfo<T>::file)));
    if (!f.open(QIODevice::ReadOnly)) return false;
    QString error;
    return recordfile::readAll<T>(f, store.table<T>(), &error);
}

template <class T> qint32 highest(const QList<T>& t)
{
    qint32 m = 0;
    for (const T& r : t)
        m = qMax(m, qint32(r.id));
    return m;
}

bool loadAll(Store& store)
{
    if (!load<TSocieteRec>(store) || !load<TContactRec>(store) || !load<TCandidatureRec>(store))
        return false;
    store.MaxIdSociete = highest(store.Societes);
    store.MaxIdContact = highest(store.Contacts);
    store.MaxIdCandidature = highest(store.Candidatures);
    return true;
}

// One operation; false when it failed (the worker then ends with code 2).
bool operate(Store& store, QRandomGenerator& rng, int k)
{
    const int kind = int(rng.bounded(8));
    auto any = [&rng](qsizetype n) { return n > 0 ? int(rng.bounded(int(n))) : -1; };
    switch (kind) {
    case 0: {
        qint32 id = 0;
        if (!store.nextIdSociete(&id).ok) return false;
        return store.append(makeSociete(id, QStringLiteral("SOCIETE %1").arg(k))).ok;
    }
    case 1: {
        const int s = any(store.Societes.size());
        if (s < 0) return true;
        qint32 id = 0;
        if (!store.nextIdContact(&id).ok) return false;
        return store
            .append(makeContact(id, store.Societes[s].id, QStringLiteral("Contact %1").arg(k)))
            .ok;
    }
    case 2: {
        const int s = any(store.Societes.size());
        if (s < 0) return true;
        qint32 id = 0;
        if (!store.nextIdCandidature(&id).ok) return false;
        return store
            .append(makeCandidature(id, store.Societes[s].id, QStringLiteral("Poste %1").arg(k),
                                    "20260105"))
            .ok;
    }
    case 3: {
        const int i = any(store.Candidatures.size());
        if (i < 0) return true;
        TCandidatureRec c = std::as_const(store.Candidatures)[i];
        c.intitule = QStringLiteral("Poste revu %1").arg(k);
        c.marqueur = quint8(!c.marqueur);
        return store.UpdateCandidature(i, c).ok;
    }
    case 4: {
        const int i = any(store.Societes.size());
        if (i < 0) return true;
        TSocieteRec s = std::as_const(store.Societes)[i];
        s.ville = QStringLiteral("Ville %1").arg(k);
        return store.UpdateSociete(i, s).ok;
    }
    case 5: {
        const int i = any(store.Candidatures.size());
        if (i < 0) return true;
        return DelCandidature(store, i).rewrite.outcome == Rewrite::Done;
    }
    case 6: {
        // A company without application, as the program allows.
        const int i = any(store.Societes.size());
        if (i < 0) return true;
        const qint32 id = store.Societes[i].id;
        for (const TCandidatureRec& c : std::as_const(store.Candidatures))
            if (qint32(c.id_societe) == id) return true;
        return DelSociete(store, id).outcome == Rewrite::Done;
    }
    default: {
        const int i = any(store.Contacts.size());
        if (i < 0) return true;
        const TContactRec c = store.Contacts[i];
        return deleteContactsNamed(store, c.id_societe, c.nom.text()).result.ok;
    }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) return 1;
    Store store(QString::fromLocal8Bit(argv[1]));
    const quint32 seed = quint32(QByteArray(argv[2]).toUInt());
    const int stop = argc > 3 ? QByteArray(argv[3]).toInt() : -1;
    QRandomGenerator rng(seed);
    int k = 0;
    // As the program starts: a step cut short by the last kill is finished.
    if (!store.Initialisation().isEmpty()) return 2;
    if (baseState(store) == BaseState::NeedsConversion) {
        if (k == stop) return 0;
        say("B", k);
        if (!convertOldFiles(store).ok) return 2;
        say("E", k++);
    }
    if (!loadAll(store)) return 2;
    for (; k < 40; ++k) {
        if (k == stop) return 0;
        say("B", k);
        if (!operate(store, rng, k)) return 2;
        say("E", k);
    }
    return 0;
}
