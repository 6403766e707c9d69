#pragma once
// Data files written by earlier versions of the program: their record
// layouts, the conversion of one old record to the current layout, and the
// check run at every start that recognises each file by the tag at its head,
// refuses files of a newer version and converts older ones after asking.

#include "store/records.h"
#include "store/result.h"

#include <QString>
#include <functional>

class Store;

// Applications, version 0: no tag, 1600 bytes.
struct TCandidatureRecV0 {
    ShortString<255> intitule;
    Date date;
    Date date_cv;
    Date date_lettre;
    Date date_suite;
    Date date_accuse;
    char pad1[3];
    Int32 id_contact;
    Int32 id;
    Int32 id_societe;
    ShortString<255> cv;
    ShortString<255> lettre;
    ShortString<255> accuse;
    ShortString<255> suite;
    ShortString<255> offre;
    quint8 terminee;
    quint8 marqueur;
    char pad2[2];
};

// Applications, version 1: the current layout without `source` and without
// the pad before `id_contact`, 1620 bytes.
struct TCandidatureRecV1 {
    ShortString<6> version;
    ShortString<255> intitule;
    Date date;
    Date date_cv;
    Date date_lettre;
    Date date_suite;
    Date date_accuse;
    Int32 id_contact;
    Int32 id;
    Int32 id_societe;
    ShortString<255> cv;
    ShortString<255> lettre;
    ShortString<255> accuse;
    ShortString<255> suite;
    ShortString<255> offre;
    quint8 terminee;
    quint8 marqueur;
    Date date_rdv;
    ShortString<2> alerte;
    Letter type;
    Letter methode;
    char pad2[2];
};

// Companies, version 0: no tag and no category, 592 bytes.
struct TSocieteRecV0 {
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
    char pad1[2];
    Int32 id;
};

// Contacts, version 0: no tag, 232 bytes.
struct TContactRecV0 {
    ShortString<50> nom;
    ShortString<50> fonction;
    ShortString<50> email;
    ShortString<20> tel;
    ShortString<20> fax;
    ShortString<20> gsm;
    ShortString<4> civilite;
    char pad1[3];
    Int32 id;
    Int32 id_societe;
};

static_assert(sizeof(TCandidatureRecV0) == 1600 && sizeof(TCandidatureRecV1) == 1620 &&
                  sizeof(TSocieteRecV0) == 592 && sizeof(TContactRecV0) == 232,
              "record sizes are those of the old data files");
static_assert(
    offsetof(TCandidatureRecV0, date) == 256 && offsetof(TCandidatureRecV0, date_cv) == 265 &&
    offsetof(TCandidatureRecV0, date_lettre) == 274 &&
    offsetof(TCandidatureRecV0, date_suite) == 283 &&
    offsetof(TCandidatureRecV0, date_accuse) == 292 &&
    offsetof(TCandidatureRecV0, id_contact) == 304 && offsetof(TCandidatureRecV0, id) == 308 &&
    offsetof(TCandidatureRecV0, id_societe) == 312 && offsetof(TCandidatureRecV0, cv) == 316 &&
    offsetof(TCandidatureRecV0, lettre) == 572 && offsetof(TCandidatureRecV0, accuse) == 828 &&
    offsetof(TCandidatureRecV0, suite) == 1084 && offsetof(TCandidatureRecV0, offre) == 1340 &&
    offsetof(TCandidatureRecV0, terminee) == 1596 && offsetof(TCandidatureRecV0, marqueur) == 1597);
static_assert(
    offsetof(TCandidatureRecV1, intitule) == 7 && offsetof(TCandidatureRecV1, date) == 263 &&
    offsetof(TCandidatureRecV1, date_cv) == 272 &&
    offsetof(TCandidatureRecV1, date_lettre) == 281 &&
    offsetof(TCandidatureRecV1, date_suite) == 290 &&
    offsetof(TCandidatureRecV1, date_accuse) == 299 &&
    offsetof(TCandidatureRecV1, id_contact) == 308 && offsetof(TCandidatureRecV1, id) == 312 &&
    offsetof(TCandidatureRecV1, id_societe) == 316 && offsetof(TCandidatureRecV1, cv) == 320 &&
    offsetof(TCandidatureRecV1, lettre) == 576 && offsetof(TCandidatureRecV1, accuse) == 832 &&
    offsetof(TCandidatureRecV1, suite) == 1088 && offsetof(TCandidatureRecV1, offre) == 1344 &&
    offsetof(TCandidatureRecV1, terminee) == 1600 &&
    offsetof(TCandidatureRecV1, marqueur) == 1601 &&
    offsetof(TCandidatureRecV1, date_rdv) == 1602 && offsetof(TCandidatureRecV1, alerte) == 1611 &&
    offsetof(TCandidatureRecV1, type) == 1614 && offsetof(TCandidatureRecV1, methode) == 1616);
static_assert(offsetof(TSocieteRecV0, service) == 51 && offsetof(TSocieteRecV0, email) == 102 &&
              offsetof(TSocieteRecV0, adresse_a) == 153 &&
              offsetof(TSocieteRecV0, adresse_b) == 254 && offsetof(TSocieteRecV0, bp) == 355 &&
              offsetof(TSocieteRecV0, cp) == 362 && offsetof(TSocieteRecV0, ville) == 369 &&
              offsetof(TSocieteRecV0, pays) == 410 && offsetof(TSocieteRecV0, tela) == 431 &&
              offsetof(TSocieteRecV0, telb) == 452 && offsetof(TSocieteRecV0, faxa) == 473 &&
              offsetof(TSocieteRecV0, faxb) == 494 && offsetof(TSocieteRecV0, url) == 515 &&
              offsetof(TSocieteRecV0, id) == 588);
static_assert(offsetof(TContactRecV0, fonction) == 51 && offsetof(TContactRecV0, email) == 102 &&
              offsetof(TContactRecV0, tel) == 153 && offsetof(TContactRecV0, fax) == 174 &&
              offsetof(TContactRecV0, gsm) == 195 && offsetof(TContactRecV0, civilite) == 216 &&
              offsetof(TContactRecV0, id) == 224 && offsetof(TContactRecV0, id_societe) == 228);
static_assert(std::is_trivially_copyable_v<TCandidatureRecV0> &&
              std::is_trivially_copyable_v<TCandidatureRecV1> &&
              std::is_trivially_copyable_v<TSocieteRecV0> &&
              std::is_trivially_copyable_v<TContactRecV0>);

// One old record → the record this program writes (current tag, texts cut
// to their maximum, zeros after the characters and in the pads).
// Applications of version 0 get no source, no appointment, no alarm, type
// "R" and method "I"; version 1 keeps its appointment, alarm, type and
// method. Companies get the category "S".
TCandidatureRec convertCandidature(const TCandidatureRecV0& old);
TCandidatureRec convertCandidature(const TCandidatureRecV1& old);
TSocieteRec convertSociete(const TSocieteRecV0& old);
TContactRec convertContact(const TContactRecV0& old);

// Version number of a tag: the integer written after its first three
// characters ("cnd2" → 2); 0 when they are not an integer.
int tagVersion(const QString& tag);

// What the check at start-up says to the user.
namespace migrationtexts
{
// Error: a data file was written by a newer version.
inline const QString NewerText = QStringLiteral(
    "Les fichiers de données ont été créés avec une version plus récente d'ORVALDIS.\r\r"
    "Mettez à jour ORVALDIS. Impossible de poursuivre.");
// Warning with Yes and No, before any conversion.
inline const QString QuestionText = QStringLiteral(
    "Une migration des fichiers de données doit être effectuée.\r"
    "Par mesure de précaution, veuillez sauvegarder vos fichiers de données "
    "(societes.dat,contacts.dat et candidatures.dat) qui se trouvent dans le répertoire "
    "d'installation.\r\r"
    "Aucun retour en arrière n'est possible ! Voulez-vous continuer ?");
// Information after No.
inline const QString CancelledText =
    QStringLiteral("Migration des données annulée.\rImpossible de continuer.");
// Information after every file was converted.
inline const QString DoneText = QStringLiteral(
    "Migration des données terminée.\r\r"
    "Si vous rencontrez des problèmes avec les données, recopiez manuellement vos sauvegardes "
    "de societes.dat,candidatures.dat et contacts.dat dans le répertoire d'installation "
    "d'ORVALDIS");
// Start of the error of a failed conversion, followed by its reason.
inline const QString CandidaturesErrorHead = QStringLiteral("ERREUR candidatures: ");
inline const QString SocietesErrorHead = QStringLiteral("ERREUR sociétés: ");
inline const QString ContactsErrorHead = QStringLiteral("ERREUR contacts: ");
} // namespace migrationtexts

// What candidatures.dat, societes.dat and contacts.dat hold, by their tags.
enum class BaseState {
    UpToDate,       // nothing to convert
    Newer,          // one of them was written by a newer version
    NeedsConversion // one of them or more has an older layout
};
BaseState baseState(const Store& store);

// Converts every file of an older layout, in the order above. Before a
// file is converted, its old content is kept as backup/X.dat; the converted
// records go to X.dat.new, which replaces X.dat only once it is complete. A
// failure leaves X.dat as it was and stops there: its message is the file's
// error head followed by the reason. Fails with NewerText, converting
// nothing, when a file is of a newer version.
Result convertOldFiles(Store& store);

enum class VersionCheck {
    UpToDate,  // nothing to convert, nothing written
    Converted, // the user agreed and every old file was converted
    Stop       // newer data, a refusal or a failed conversion: the program ends
};

// How the check speaks to the user; the window gives its message boxes.
struct BaseCheckDialogue {
    std::function<void(const QString&)> error;
    std::function<void(const QString&)> information;
    std::function<bool(const QString&)> warningYesNo; // true for Yes
    // Around the conversion (the busy cursor); may be left empty.
    std::function<void(bool)> busy;
};

// The check at start-up: newer data is refused with NewerText; older data
// is converted after QuestionText is answered Yes (No: CancelledText), and
// then DoneText or the failure's message is shown. With Stop the caller ends
// the program.
VersionCheck CheckBaseVersion(Store& store, const BaseCheckDialogue& dialogue);
