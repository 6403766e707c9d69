#pragma once
// The four record types of the data files, byte for byte as they are stored.
// Loading a file is one read into a list of these; writing one is the reverse.

#include "store/shortstring.h"

#include <QtEndian>
#include <cstddef>
#include <type_traits>

using Int32 = qint32_le;
using Date = ShortString<8>;   // "yyyymmdd", empty when unset
using Letter = ShortString<1>; // one-letter code, empty when unset

// One company, societes.dat.
struct TSocieteRec {
    ShortString<6> version;
    ShortString<50> nom;
    ShortString<50> service;
    ShortString<50> email;
    ShortString<100> adresse_a;
    ShortString<100> adresse_b;
    ShortString<6> bp;
    ShortString<6> cp;
    ShortString<40> ville;
    ShortString<20> pays;
    ShortString<20> tela;
    ShortString<20> telb;
    ShortString<20> faxa;
    ShortString<20> faxb;
    ShortString<70> url;
    char pad1[3];
    Int32 id;
    Letter categorie; // "S" company, "C" recruitment agency, "I" temporary-work agency
    char pad2[2];
};

// One contact person of a company, contacts.dat.
struct TContactRec {
    ShortString<6> version;
    ShortString<50> nom;
    ShortString<50> fonction;
    ShortString<50> email;
    ShortString<20> tel;
    ShortString<20> fax;
    ShortString<20> gsm;
    ShortString<4> civilite; // "Mr", "Mme" or "Mlle"
    Int32 id;
    Int32 id_societe;
};

// One job application, candidatures.dat.
struct TCandidatureRec {
    ShortString<6> version;
    ShortString<255> intitule;
    ShortString<20> source;
    Date date;
    Date date_cv;
    Date date_lettre;
    Date date_suite;
    Date date_accuse;
    char pad1[3];
    Int32 id_contact; // 0 = no contact
    Int32 id;
    Int32 id_societe;
    ShortString<255> cv; // empty, "<TEXTE>" (pasted text in txt/) or a file path
    ShortString<255> lettre;
    ShortString<255> accuse;
    ShortString<255> suite;
    ShortString<255> offre;
    quint8 terminee;
    quint8 marqueur;
    Date date_rdv;
    ShortString<2> alerte; // days before date_rdv, "1" to "15"; empty = no alarm
    Letter type;           // "R" answer to an offer, "S" unsolicited
    Letter methode;        // "I" web site, "P" paper, "E" e-mail
    char pad2[2];
};

// One favourite of the web browser, favoris.dat.
struct TFavoriRec {
    ShortString<255> nom;
    ShortString<255> url;
};

static_assert(sizeof(TSocieteRec) == 604 && sizeof(TContactRec) == 236 &&
                  sizeof(TCandidatureRec) == 1644 && sizeof(TFavoriRec) == 512,
              "record sizes are those of the data files");
static_assert(offsetof(TSocieteRec, nom) == 7 && offsetof(TSocieteRec, service) == 58 &&
              offsetof(TSocieteRec, email) == 109 && offsetof(TSocieteRec, adresse_a) == 160 &&
              offsetof(TSocieteRec, adresse_b) == 261 && offsetof(TSocieteRec, bp) == 362 &&
              offsetof(TSocieteRec, cp) == 369 && offsetof(TSocieteRec, ville) == 376 &&
              offsetof(TSocieteRec, pays) == 417 && offsetof(TSocieteRec, tela) == 438 &&
              offsetof(TSocieteRec, telb) == 459 && offsetof(TSocieteRec, faxa) == 480 &&
              offsetof(TSocieteRec, faxb) == 501 && offsetof(TSocieteRec, url) == 522 &&
              offsetof(TSocieteRec, id) == 596 && offsetof(TSocieteRec, categorie) == 600);
static_assert(offsetof(TContactRec, nom) == 7 && offsetof(TContactRec, fonction) == 58 &&
              offsetof(TContactRec, email) == 109 && offsetof(TContactRec, tel) == 160 &&
              offsetof(TContactRec, fax) == 181 && offsetof(TContactRec, gsm) == 202 &&
              offsetof(TContactRec, civilite) == 223 && offsetof(TContactRec, id) == 228 &&
              offsetof(TContactRec, id_societe) == 232);
static_assert(
    offsetof(TCandidatureRec, intitule) == 7 && offsetof(TCandidatureRec, source) == 263 &&
    offsetof(TCandidatureRec, date) == 284 && offsetof(TCandidatureRec, date_cv) == 293 &&
    offsetof(TCandidatureRec, date_lettre) == 302 && offsetof(TCandidatureRec, date_suite) == 311 &&
    offsetof(TCandidatureRec, date_accuse) == 320 && offsetof(TCandidatureRec, id_contact) == 332 &&
    offsetof(TCandidatureRec, id) == 336 && offsetof(TCandidatureRec, id_societe) == 340 &&
    offsetof(TCandidatureRec, cv) == 344 && offsetof(TCandidatureRec, lettre) == 600 &&
    offsetof(TCandidatureRec, accuse) == 856 && offsetof(TCandidatureRec, suite) == 1112 &&
    offsetof(TCandidatureRec, offre) == 1368 && offsetof(TCandidatureRec, terminee) == 1624 &&
    offsetof(TCandidatureRec, marqueur) == 1625 && offsetof(TCandidatureRec, date_rdv) == 1626 &&
    offsetof(TCandidatureRec, alerte) == 1635 && offsetof(TCandidatureRec, type) == 1638 &&
    offsetof(TCandidatureRec, methode) == 1640);
static_assert(offsetof(TFavoriRec, url) == 256);
static_assert(std::is_trivially_copyable_v<TSocieteRec> &&
              std::is_trivially_copyable_v<TContactRec> &&
              std::is_trivially_copyable_v<TCandidatureRec> &&
              std::is_trivially_copyable_v<TFavoriRec>);

// Current version tags, written at the head of every record the program stores.
inline constexpr const char* VersionSociete = "soc1";
inline constexpr const char* VersionContact = "cnt1";
inline constexpr const char* VersionCandidature = "cnd2";

// What the file layer needs to know of each record type.
template <class T> struct RecordInfo;
template <> struct RecordInfo<TSocieteRec> {
    static constexpr const char* file = "societes.dat";
    static constexpr const char* tag = VersionSociete;
    static constexpr int liveOffset = 7;
};
template <> struct RecordInfo<TContactRec> {
    static constexpr const char* file = "contacts.dat";
    static constexpr const char* tag = VersionContact;
    static constexpr int liveOffset = 7;
};
template <> struct RecordInfo<TCandidatureRec> {
    static constexpr const char* file = "candidatures.dat";
    static constexpr const char* tag = VersionCandidature;
    static constexpr int liveOffset = 7;
};
template <> struct RecordInfo<TFavoriRec> {
    static constexpr const char* file = "favoris.dat";
    static constexpr const char* tag = nullptr;
    static constexpr int liveOffset = 0;
};

// A record is live when its name (or title) is not empty. Records that are
// not live keep their place in the table but every view skips them.
template <class T> bool isLive(const T& r)
{
    return reinterpret_cast<const unsigned char*>(&r)[RecordInfo<T>::liveOffset] != 0;
}

// Record read from a file → the form this program writes: lengths above a
// field's maximum cut, bytes after the characters and pad bytes zero.
void normalise(TSocieteRec& r);
void normalise(TContactRec& r);
void normalise(TCandidatureRec& r);
void normalise(TFavoriRec& r);

// Record about to be written: normalised and tagged with the current version.
template <class T> void prepareForWrite(T& r)
{
    normalise(r);
    if constexpr (RecordInfo<T>::tag != nullptr)
        r.version.setBytes(RecordInfo<T>::tag, int(std::strlen(RecordInfo<T>::tag)));
}

// A new application as the program creates it: type "R", method "I",
// everything else empty, both flags false.
TCandidatureRec newCandidature();
