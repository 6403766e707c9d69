#include "bench/datagen.h"

#include "store/recordfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QVector>

namespace datagen
{

namespace
{

// splitmix64: small, fast, and the same sequence on every platform and
// compiler, which the standard distributions do not promise.
class Rng
{
public:
    explicit Rng(quint64 seed) : s_(seed) {}

    quint64 next()
    {
        quint64 z = (s_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1.
    int below(int n) { return n <= 1 ? 0 : int((next() >> 11) % quint64(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return double(next() >> 11) * (1.0 / 9007199254740992.0) < p; }
    // Skewed towards the first entries: the usual sources and towns come first.
    int skewed(int n) { return std::min(below(n), below(n)); }

    template <size_t N> QString pick(const char* const (&list)[N])
    {
        return QString::fromUtf8(list[below(int(N))]);
    }
    template <size_t N> QString pickSkewed(const char* const (&list)[N])
    {
        return QString::fromUtf8(list[skewed(int(N))]);
    }

private:
    quint64 s_;
};

// ----- Word lists ---------------------------------------------------------

const char* const CompanyPrefixes[] = {"Société",    "Groupe",      "Établissements",
                                       "Compagnie",  "Atelier",     "Laboratoires",
                                       "Industries", "Manufacture", "Union"};
// Feminine nouns, which "Générale" agrees with.
const char* const GeneralPrefixes[] = {"Société", "Compagnie", "Union", "Manufacture"};
const char* const CompanyRoots[] = {
    "Lefèvre",   "Dubois",   "Moreau",    "Girard",    "Rousseau",  "Fournier",   "Mercier",
    "Bonnet",    "Lambert",  "Fontaine",  "Chevalier", "Garnier",   "Faure",      "Roussel",
    "Blanchard", "Gauthier", "Perrin",    "Morel",     "Lemaire",   "Renaud",     "Aubert",
    "Brunet",    "Picard",   "Caron",     "Vasseur",   "Marchand",  "Duval",      "Hébert",
    "Bérard",    "Châtelet", "Delacroix", "Armor",     "Provence",  "Atlantique", "Rhône",
    "Alpes",     "Loire",    "Garonne",   "Bretagne",  "Normandie", "Vercors",    "Méditerranée"};
const char* const Activities[] = {
    "Informatique", "Ingénierie", "Conseil",      "Logiciels",  "Électronique", "Télécom",
    "Systèmes",     "Bâtiment",   "Logistique",   "Énergie",    "Aéronautique", "Automobile",
    "Services",     "Banque",     "Assurances",   "Santé",      "Données",      "Réseaux",
    "Robotique",    "Mécanique",  "Distribution", "Transports", "Imprimerie",   "Chimie"};
const char* const LegalForms[] = {"SA", "SARL", "SAS", "SASU", "EURL", "", ""};
const char* const Services[] = {"Ressources humaines",  "Direction des ressources humaines",
                                "Service recrutement",  "Direction technique",
                                "Service du personnel", "Direction générale",
                                "Recrutement cadres",   "Service informatique",
                                "Relations écoles",     "Direction financière"};
const char* const StreetKinds[] = {"rue",   "avenue", "boulevard", "place",
                                   "allée", "chemin", "impasse",   "quai"};
const char* const StreetNames[] = {
    "de la République", "Victor-Hugo",  "Jean-Jaurès",        "du Général-de-Gaulle",
    "Pasteur",          "des Lilas",    "de la Gare",         "du Moulin",
    "Gambetta",         "Voltaire",     "de Verdun",          "des Écoles",
    "de l'Église",      "Émile-Zola",   "du Château",         "Saint-Michel",
    "de la Liberté",    "de la Paix",   "des Frères-Lumière", "Anatole-France",
    "des Tanneurs",     "du 8-Mai-1945"};
const char* const SecondLines[] = {"Bâtiment B",
                                   "ZI des Chênes",
                                   "Parc d'activités du Moulin",
                                   "Immeuble Le Méridien",
                                   "3e étage",
                                   "Tour Horizon",
                                   "Zone artisanale",
                                   "Espace Européen",
                                   "Le Carré des Pins",
                                   "Centre d'affaires Saint-Éloi"};

struct Town {
    const char* name;
    const char* cp;   // postcode; Paris, Lyon and Marseille get an arrondissement
    int phoneZone;    // 1 to 5 in France
    const char* pays; // empty: France
};
const Town Towns[] = {{"Paris", "750", 1, ""},
                      {"Lyon", "6900", 4, ""},
                      {"Toulouse", "31000", 5, ""},
                      {"Nantes", "44000", 2, ""},
                      {"Marseille", "130", 4, ""},
                      {"Bordeaux", "33000", 5, ""},
                      {"Lille", "59000", 3, ""},
                      {"Rennes", "35000", 2, ""},
                      {"Strasbourg", "67000", 3, ""},
                      {"Montpellier", "34000", 4, ""},
                      {"Nice", "06000", 4, ""},
                      {"Grenoble", "38000", 4, ""},
                      {"Boulogne-Billancourt", "92100", 1, ""},
                      {"Courbevoie", "92400", 1, ""},
                      {"Versailles", "78000", 1, ""},
                      {"Saint-Étienne", "42000", 4, ""},
                      {"Toulon", "83000", 4, ""},
                      {"Dijon", "21000", 3, ""},
                      {"Angers", "49000", 2, ""},
                      {"Nîmes", "30000", 4, ""},
                      {"Villeurbanne", "69100", 4, ""},
                      {"Clermont-Ferrand", "63000", 4, ""},
                      {"Le Mans", "72000", 2, ""},
                      {"Aix-en-Provence", "13100", 4, ""},
                      {"Brest", "29200", 2, ""},
                      {"Tours", "37000", 2, ""},
                      {"Amiens", "80000", 3, ""},
                      {"Limoges", "87000", 5, ""},
                      {"Annecy", "74000", 4, ""},
                      {"Perpignan", "66000", 4, ""},
                      {"Metz", "57000", 3, ""},
                      {"Besançon", "25000", 3, ""},
                      {"Orléans", "45000", 2, ""},
                      {"Rouen", "76000", 2, ""},
                      {"Mulhouse", "68100", 3, ""},
                      {"Caen", "14000", 2, ""},
                      {"Nancy", "54000", 3, ""},
                      {"Montreuil", "93100", 1, ""},
                      {"Le Havre", "76600", 2, ""},
                      {"Reims", "51100", 3, ""},
                      {"Valbonne", "06560", 4, ""},
                      {"Pau", "64000", 5, ""},
                      {"Bruxelles", "1000", 0, "Belgique"},
                      {"Liège", "4000", 0, "Belgique"},
                      {"Genève", "1201", 0, "Suisse"},
                      {"Lausanne", "1003", 0, "Suisse"},
                      {"Luxembourg", "1110", 0, "Luxembourg"}};

const char* const MaleFirstNames[] = {
    "Jean",    "Pierre",     "Michel",    "Philippe", "Alain",  "Nicolas",   "François",
    "Laurent", "Stéphane",   "Sébastien", "Julien",   "Thomas", "Olivier",   "Frédéric",
    "Jérôme",  "Christophe", "Éric",      "Antoine",  "Benoît", "Guillaume", "Hervé",
    "Mathieu", "Cédric",     "Loïc",      "Gaël",     "Rémi"};
const char* const FemaleFirstNames[] = {
    "Marie",     "Nathalie", "Isabelle", "Sylvie",    "Catherine", "Sophie",  "Valérie",
    "Christine", "Sandrine", "Céline",   "Aurélie",   "Émilie",    "Hélène",  "Véronique",
    "Camille",   "Julie",    "Chloé",    "Léa",       "Anaïs",     "Mélanie", "Béatrice",
    "Agnès",     "Maëlle",   "Zoé",      "Françoise", "Gaëlle"};
const char* const LastNames[] = {
    "Martin",   "Bernard", "Petit",     "Durand",    "Leroy",    "Moreau",  "Simon",   "Laurent",
    "Lefèbvre", "Michel",  "Garcia",    "David",     "Bertrand", "Roux",    "Vincent", "Fournier",
    "Morel",    "Girard",  "André",     "Mercier",   "Dupont",   "Lambert", "Bonnet",  "François",
    "Martinez", "Legrand", "Garnier",   "Faure",     "Rousseau", "Blanc",   "Guérin",  "Muller",
    "Henry",    "Roussel", "Nicolas",   "Perrin",    "Morin",    "Mathieu", "Clément", "Gauthier",
    "Dumont",   "Lopez",   "Fontaine",  "Chevalier", "Robin",    "Masson",  "Sanchez", "Gérard",
    "Nguyen",   "Boyer",   "Denis",     "Lemaire",   "Duval",    "Joly",    "Gautier", "Roger",
    "Roche",    "Roy",     "Noël",      "Meyer",     "Lucas",    "Meunier", "Jean",    "Pérez",
    "Marchand", "Dufour",  "Blanchard", "Ménard",    "Le Gall",  "Lévêque", "Prévost", "Barthélemy",
    "Da Silva", "Le Goff", "Hoarau",    "Étienne"};

struct Job {
    const char* male;
    const char* female;
};
const Job Functions[] = {
    {"Responsable des ressources humaines", "Responsable des ressources humaines"},
    {"Chargé de recrutement", "Chargée de recrutement"},
    {"Directeur technique", "Directrice technique"},
    {"Consultant en recrutement", "Consultante en recrutement"},
    {"Directeur des ressources humaines", "Directrice des ressources humaines"},
    {"Chef de projet", "Cheffe de projet"},
    {"Gérant", "Gérante"},
    {"Assistant RH", "Assistante RH"},
    {"Responsable d'agence", "Responsable d'agence"},
    {"Directeur général", "Directrice générale"},
    {"Chef du service informatique", "Cheffe du service informatique"},
    {"Responsable du recrutement", "Responsable du recrutement"},
    {"Ingénieur d'affaires", "Ingénieure d'affaires"}};

const char* const Posts[] = {"Développeur C++",
                             "Développeur Java",
                             "Développeur web",
                             "Ingénieur logiciel",
                             "Ingénieur systèmes embarqués",
                             "Ingénieur d'études",
                             "Chef de projet informatique",
                             "Administrateur systèmes et réseaux",
                             "Analyste programmeur",
                             "Architecte logiciel",
                             "Technicien support",
                             "Consultant SAP",
                             "Testeur logiciel",
                             "Ingénieur DevOps",
                             "Data scientist",
                             "Responsable informatique",
                             "Développeur Delphi",
                             "Ingénieur qualité",
                             "Technicien de maintenance",
                             "Comptable",
                             "Assistant de direction",
                             "Commercial sédentaire",
                             "Chargé de clientèle",
                             "Responsable logistique",
                             "Acheteur",
                             "Contrôleur de gestion"};
const char* const Levels[] = {"confirmé", "junior", "senior", "débutant", "expérimenté", ""};
const char* const TitleEnds[] = {" (H/F)",
                                 " – CDI",
                                 " – CDD 6 mois",
                                 " – mission d'intérim",
                                 " – région parisienne",
                                 " en alternance",
                                 " – télétravail partiel",
                                 " – poste basé à Lyon"};

// Where offers are found; the first ones are the most used.
const char* const Sources[] = {"Indeed",
                               "LinkedIn",
                               "Pôle emploi",
                               "APEC",
                               "Site de la société",
                               "Cadremploi",
                               "Hellowork",
                               "Monster",
                               "Réseau personnel",
                               "RegionsJob",
                               "Keljob",
                               "Le Figaro Emploi",
                               "Ouest-France",
                               "Salon de l'emploi",
                               "Cooptation"};
// The search page of each source of the favourites.
const char* const SourceSites[] = {"https://fr.indeed.com/emplois",
                                   "https://www.linkedin.com/jobs/search",
                                   "https://candidat.pole-emploi.fr/offres/recherche",
                                   "https://www.apec.fr/candidat/recherche-emploi.html",
                                   "",
                                   "https://www.cadremploi.fr/emploi/liste_offres",
                                   "https://www.hellowork.com/fr-fr/emploi/recherche.html",
                                   "https://www.monster.fr/emploi/recherche",
                                   "",
                                   "https://www.regionsjob.com/emploi/recherche",
                                   "https://www.keljob.com/recherche",
                                   "https://emploi.lefigaro.fr/recherche/offres-emploi",
                                   "https://www.ouestfrance-emploi.com/recherche-emploi",
                                   "",
                                   ""};
static_assert(std::size(Sources) == std::size(SourceSites));

const char* const DocumentsDir = "/home/utilisateur/Documents/Emploi/";
const char* const ImportDir = "/home/utilisateur/ORVALDIS/Import/";
const char* const DocExtensions[] = {".pdf", ".pdf", ".odt", ".doc", ".docx"};

// ----- Text helpers -------------------------------------------------------

bool startsWithVowel(const QString& s)
{
    if (s.isEmpty()) return false;
    const QChar c = s.normalized(QString::NormalizationForm_D).at(0).toLower();
    return QStringLiteral("aeiouy").contains(c);
}

// "de Logistique", "d'Informatique".
QString de(const QString& word)
{
    return startsWithVowel(word) ? QStringLiteral("d'") + word : QStringLiteral("de ") + word;
}

// Lower-case ASCII form for addresses: "Établissements Hébert" → "etablissements-hebert",
// "Société Générale d'Énergie" → "societe-generale-denergie".
QString slug(const QString& text, int maxLength)
{
    const QString d = text.normalized(QString::NormalizationForm_D).toLower();
    QString out;
    out.reserve(d.size());
    for (QChar c : d) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            out += c;
        else if ((c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('&')) &&
                 !out.isEmpty() && !out.endsWith(QLatin1Char('-')))
            out += QLatin1Char('-');
    }
    if (out.size() > maxLength) {
        // Cut between words when there is one to cut at.
        const qsizetype cut = out.lastIndexOf(QLatin1Char('-'), maxLength);
        out.truncate(cut > 0 ? cut : maxLength);
    }
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

QString twoDigits(Rng& rng)
{
    return QString::number(rng.below(100)).rightJustified(2, u'0');
}

// "04 72 13 58 06" in France, "+32 2 514 27 30" elsewhere.
QString phone(Rng& rng, const Town& town, bool mobile = false)
{
    if (mobile)
        return QStringLiteral("0%1 %2 %3 %4 %5")
            .arg(rng.chance(0.8) ? 6 : 7)
            .arg(twoDigits(rng), twoDigits(rng), twoDigits(rng), twoDigits(rng));
    if (town.phoneZone == 0) {
        const QString pays = QString::fromUtf8(town.pays);
        const QString code = pays == QLatin1String("Belgique") ? QStringLiteral("+32 ")
                             : pays == QLatin1String("Suisse") ? QStringLiteral("+41 ")
                                                               : QStringLiteral("+352 ");
        return code + QString::number(rng.between(2, 9)) + QLatin1Char(' ') +
               QString::number(rng.between(100, 999)) + QLatin1Char(' ') + twoDigits(rng) +
               QLatin1Char(' ') + twoDigits(rng);
    }
    return QStringLiteral("0%1 %2 %3 %4 %5")
        .arg(town.phoneZone)
        .arg(twoDigits(rng), twoDigits(rng), twoDigits(rng), twoDigits(rng));
}

QString postcode(Rng& rng, const Town& town)
{
    const QString cp = QString::fromLatin1(town.cp);
    if (cp.size() == 3) // Paris, Marseille: 75001 to 75020, 13001 to 13016
        return cp + QString::number(rng.between(1, cp == QLatin1String("750") ? 20 : 16))
                        .rightJustified(2, u'0');
    if (cp.size() == 4 && town.phoneZone != 0) // Lyon: 69001 to 69009
        return cp + QString::number(rng.between(1, 9));
    return cp;
}

const Town& pickTown(Rng& rng)
{
    // A quarter of the companies are in Paris, a few abroad.
    if (rng.chance(0.25)) return Towns[0];
    return Towns[1 + rng.skewed(int(std::size(Towns)) - 1)];
}

void setDate(Date& field, const QDate& date)
{
    field.setBytes(date.toString(QStringLiteral("yyyyMMdd")).toLatin1());
}

template <class T> void markNotLive(T& r)
{
    reinterpret_cast<unsigned char*>(&r)[RecordInfo<T>::liveOffset] = 0;
}

// Ids go up by one, with the occasional gap left by a deleted record.
qint32 nextId(Rng& rng, qint32 previous)
{
    return previous + 1 + (rng.chance(0.03) ? rng.between(1, 4) : 0);
}

// ----- Companies ----------------------------------------------------------

struct CompanyInfo {
    qint32 id = 0;
    bool live = false;
    int town = 0;
    QString name;
    QString slug;   // short form of the name, for file names
    QString domain; // of its e-mail addresses and web site
};

QString companyName(Rng& rng, char categorie)
{
    const QString root = rng.pick(CompanyRoots);
    const QString activity = rng.pick(Activities);
    QString name;
    if (categorie == 'C') {
        switch (rng.below(3)) {
        case 0:
            name = QStringLiteral("Cabinet ") + root + QStringLiteral(" Recrutement");
            break;
        case 1:
            name = root + QStringLiteral(" Conseil RH");
            break;
        default:
            name = QStringLiteral("Cabinet ") + root + QStringLiteral(" & Associés");
            break;
        }
    } else if (categorie == 'I') {
        switch (rng.below(3)) {
        case 0:
            name = root + QStringLiteral(" Intérim");
            break;
        case 1:
            name = QStringLiteral("Intérim ") + root + QLatin1Char(' ') + activity;
            break;
        default:
            name = QStringLiteral("Travail Temporaire ") + root;
            break;
        }
    } else {
        switch (rng.below(4)) {
        case 0:
            name = rng.pick(CompanyPrefixes) + QLatin1Char(' ') + root;
            break;
        case 1:
            name = root + QLatin1Char(' ') + activity;
            break;
        case 2:
            name = rng.pick(GeneralPrefixes) + QStringLiteral(" Générale ") + de(activity);
            break;
        default:
            name = activity + QLatin1Char(' ') + root;
            break;
        }
        const QString form = rng.pick(LegalForms);
        if (!form.isEmpty()) name += QLatin1Char(' ') + form;
    }
    // Many companies are typed in capitals, as on their letterhead.
    if (rng.chance(0.3)) name = name.toUpper();
    return name;
}

QString withoutLegalForm(QString name)
{
    static const QRegularExpression form(QStringLiteral(" (SA|SARL|SAS|SASU|EURL)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return name.remove(form);
}

void generateSocietes(Rng& rng, const Sizes& sizes, QList<TSocieteRec>& out,
                      QVector<CompanyInfo>& info)
{
    out.resize(sizes.societes);
    info.resize(sizes.societes);
    QSet<QString> names;
    qint32 id = 0;
    for (int i = 0; i < sizes.societes; ++i) {
        TSocieteRec& r = out[i];
        r = TSocieteRec{};
        const int c = rng.below(100);
        const char categorie = c < 70 ? 'S' : (c < 88 ? 'C' : 'I');
        QString name = companyName(rng, categorie);
        const int townIndex =
            int(&pickTown(rng) - Towns); // index into Towns, kept for the contacts
        const Town& town = Towns[townIndex];
        // Names are unique, as adding a company requires: a second company of
        // the same name gets its town, then a number.
        if (names.contains(name)) name += QLatin1Char(' ') + QString::fromUtf8(town.name);
        for (int n = 2; names.contains(name.left(50)); ++n)
            name = name.left(44) + QLatin1Char(' ') + QString::number(n);
        name = name.left(50);
        names.insert(name);

        id = nextId(rng, id);
        // Addresses leave out the legal form: "Dubois Informatique SARL" → dubois-informatique.
        const QString s = slug(withoutLegalForm(name), 30);
        const QString domain =
            s + (rng.chance(0.7) ? QStringLiteral(".fr") : QStringLiteral(".com"));
        r.nom = name;
        if (rng.chance(0.5)) r.service = rng.pick(Services);
        if (rng.chance(0.8)) {
            static const char* const boxes[] = {"recrutement", "rh", "contact", "emploi", "jobs"};
            r.email = rng.pick(boxes) + QLatin1Char('@') + domain;
        }
        r.adresse_a = QString::number(rng.between(1, 180)) +
                      (rng.chance(0.08) ? QStringLiteral(" bis") : QString()) +
                      QStringLiteral(", ") + rng.pick(StreetKinds) + QLatin1Char(' ') +
                      rng.pick(StreetNames);
        if (rng.chance(0.35)) r.adresse_b = rng.pick(SecondLines);
        if (rng.chance(0.15)) r.bp = QString::number(rng.between(1, 99999));
        r.cp = postcode(rng, town);
        r.ville = QString::fromUtf8(town.name);
        r.pays = town.pays[0] ? QString::fromUtf8(town.pays) : QStringLiteral("France");
        r.tela = phone(rng, town);
        if (rng.chance(0.25)) r.telb = phone(rng, town);
        if (rng.chance(0.4)) r.faxa = phone(rng, town);
        if (rng.chance(0.05)) r.faxb = phone(rng, town);
        if (rng.chance(0.7))
            r.url = (rng.chance(0.5) ? QStringLiteral("https://www.") : QStringLiteral("www.")) +
                    domain;
        r.id = id;
        r.categorie.setBytes(&categorie, 1);
        prepareForWrite(r);

        info[i].id = id;
        info[i].town = townIndex;
        info[i].name = name;
        info[i].slug = slug(withoutLegalForm(name), 20);
        info[i].domain = domain;
        info[i].live = !rng.chance(sizes.notLive);
        if (!info[i].live) markNotLive(r);
    }
}

// ----- Contacts -----------------------------------------------------------

struct ContactInfo {
    qint32 id = 0;
};

void generateContacts(Rng& rng, const Sizes& sizes, const QVector<CompanyInfo>& companies,
                      const QVector<int>& liveCompanies, QList<TContactRec>& out,
                      QVector<QVector<qint32>>& liveContactsOf)
{
    out.resize(sizes.contacts);
    liveContactsOf = QVector<QVector<qint32>>(companies.size());
    qint32 id = 0;
    for (int i = 0; i < sizes.contacts; ++i) {
        TContactRec& r = out[i];
        r = TContactRec{};
        const int company = liveCompanies[rng.below(int(liveCompanies.size()))];
        const CompanyInfo& c = companies[company];
        const Town& town = Towns[c.town];
        const bool female = rng.chance(0.55);
        const QString first = female ? rng.pick(FemaleFirstNames) : rng.pick(MaleFirstNames);
        const QString last = rng.pick(LastNames);
        id = nextId(rng, id);
        r.nom = rng.chance(0.15) ? last.toUpper() + QLatin1Char(' ') + first
                                 : first + QLatin1Char(' ') + last;
        const Job& job = Functions[rng.below(int(std::size(Functions)))];
        if (rng.chance(0.85)) r.fonction = QString::fromUtf8(female ? job.female : job.male);
        if (rng.chance(0.75)) {
            // prenom.nom@ the company's domain, p.nom@ when that is too long.
            const QString at = QLatin1Char('@') + c.domain;
            const QString f = slug(first, 20).replace(u'-', u'.');
            const QString l = slug(last, 20).replace(u'-', u'.');
            QString local = f + QLatin1Char('.') + l;
            if (local.size() + at.size() > 50) local = f.left(1) + QLatin1Char('.') + l;
            if (local.size() + at.size() <= 50) r.email = local + at;
        }
        if (rng.chance(0.85)) r.tel = phone(rng, town);
        if (rng.chance(0.2)) r.fax = phone(rng, town);
        if (rng.chance(0.5)) r.gsm = phone(rng, town, true);
        r.civilite = female ? (rng.chance(0.75) ? QStringLiteral("Mme") : QStringLiteral("Mlle"))
                            : QStringLiteral("Mr");
        r.id = id;
        r.id_societe = c.id;
        prepareForWrite(r);
        if (rng.chance(sizes.notLive))
            markNotLive(r);
        else
            liveContactsOf[company].append(id);
    }
}

// ----- Applications -------------------------------------------------------

// A document field: a path, "<TEXTE>" for a pasted text, or empty.
QString document(Rng& rng, double path, double pasted, const QString& fileName)
{
    const double u = double(rng.next() >> 11) * (1.0 / 9007199254740992.0);
    if (u < path) return fileName + rng.pick(DocExtensions);
    if (u < path + pasted) return QStringLiteral("<TEXTE>");
    return QString();
}

void generateCandidatures(Rng& rng, const Sizes& sizes, const QDate& today,
                          const QVector<CompanyInfo>& companies, const QVector<int>& liveCompanies,
                          const QVector<QVector<qint32>>& liveContactsOf,
                          QList<TCandidatureRec>& out)
{
    out.resize(sizes.candidatures);
    const int span = int(today.addYears(-3).daysTo(today));
    // A few companies get a good share of the applications.
    const int popular = std::max(1, int(liveCompanies.size()) / 30);
    qint32 id = 0;
    const QString docs = QString::fromUtf8(DocumentsDir);
    for (int i = 0; i < sizes.candidatures; ++i) {
        TCandidatureRec& r = out[i];
        r = newCandidature();
        const int company = rng.chance(0.3) ? liveCompanies[rng.below(popular)]
                                            : liveCompanies[rng.below(int(liveCompanies.size()))];
        const CompanyInfo& c = companies[company];
        id = nextId(rng, id);
        const QDate date = today.addDays(-rng.below(span + 1));
        const auto upToToday = [&](const QDate& d) { return d > today ? today : d; };

        QString title = rng.pick(Posts);
        const QString level = rng.pick(Levels);
        if (!level.isEmpty()) title += QLatin1Char(' ') + level;
        if (rng.chance(0.3)) title += rng.pick(TitleEnds);
        r.intitule = title;
        const bool spontaneous = rng.chance(0.25);
        r.type.setBytes(spontaneous ? "S" : "R", 1);
        const int m = rng.below(100);
        r.methode.setBytes(m < 55 ? "I" : (m < 90 ? "E" : "P"), 1);
        if (rng.chance(0.97)) {
            if (spontaneous)
                r.source = rng.chance(0.6) ? QStringLiteral("Site de la société")
                                           : QStringLiteral("Réseau personnel");
            else
                r.source = rng.pickSkewed(Sources);
        }
        setDate(r.date, date);
        r.id = id;
        r.id_societe = c.id;
        const QVector<qint32>& contacts = liveContactsOf[company];
        if (!contacts.isEmpty() && rng.chance(0.45))
            r.id_contact = contacts[rng.below(int(contacts.size()))];

        const QString year = QString::number(date.year());
        r.cv = document(rng, 0.55, 0.25, docs + QStringLiteral("CV/CV_") + year);
        if (!r.cv.isEmpty()) setDate(r.date_cv, date);
        r.lettre = document(rng, 0.45, 0.2,
                            docs + QStringLiteral("Lettres/Lettre_") + c.slug + QLatin1Char('_') +
                                QString::number(id));
        if (!r.lettre.isEmpty()) setDate(r.date_lettre, date);
        if (!spontaneous)
            r.offre = document(rng, 0.4, 0.3,
                               QString::fromUtf8(ImportDir) + QStringLiteral("Offre_") +
                                   QString::number(id));
        r.accuse = document(rng, 0.05, 0.1,
                            docs + QStringLiteral("Courrier/Accuse_") + QString::number(id));
        if (!r.accuse.isEmpty())
            setDate(r.date_accuse, upToToday(date.addDays(rng.between(1, 15))));
        r.suite = document(rng, 0.1, 0.15,
                           docs + QStringLiteral("Courrier/Reponse_") + QString::number(id));
        const bool answered = !r.suite.isEmpty();
        if (answered) setDate(r.date_suite, upToToday(date.addDays(rng.between(5, 90))));

        const bool old = date.daysTo(today) > 180;
        r.terminee = rng.chance(answered ? 0.8 : (old ? 0.5 : 0.1)) ? 1 : 0;
        r.marqueur = rng.chance(0.04) ? 1 : 0;
        if (rng.chance(0.12)) {
            // Appointments may lie ahead for the latest applications.
            setDate(r.date_rdv, date.addDays(rng.between(3, 40)));
            if (rng.chance(0.6)) r.alerte = QString::number(rng.between(1, 15));
        }
        prepareForWrite(r);
        if (rng.chance(sizes.notLive)) markNotLive(r);
    }
}

// ----- Favourites ---------------------------------------------------------

void generateFavoris(Rng& rng, const Sizes& sizes, const QVector<CompanyInfo>& companies,
                     const QVector<int>& liveCompanies, QList<TFavoriRec>& out)
{
    out.resize(sizes.favoris);
    QSet<QString> names;
    for (int i = 0; i < sizes.favoris; ++i) {
        TFavoriRec& r = out[i];
        r = TFavoriRec{};
        const int s = rng.skewed(int(std::size(Sources)));
        const QString site = QString::fromUtf8(SourceSites[s]);
        const QString post = rng.pick(Posts);
        const Town& town = Towns[rng.skewed(int(std::size(Towns)))];
        QString name, url;
        if (site.isEmpty() && !liveCompanies.isEmpty()) {
            // The careers page of a company.
            const CompanyInfo& c = companies[liveCompanies[rng.below(int(liveCompanies.size()))]];
            name = QStringLiteral("Carrières – ") + c.name;
            url = QStringLiteral("https://www.") + c.domain + QStringLiteral("/carrieres");
        } else {
            name = QString::fromUtf8(Sources[s]) + QStringLiteral(" – ") + post +
                   QStringLiteral(" à ") + QString::fromUtf8(town.name);
            url = (site.isEmpty() ? QStringLiteral("https://www.emploi-regions.fr/offres") : site) +
                  QStringLiteral("?q=") + slug(post, 60).replace(u'-', u'+') +
                  QStringLiteral("&l=") + slug(QString::fromUtf8(town.name), 40);
        }
        // Names are unique, as adding a favourite requires.
        const QString base = name;
        for (int n = 2; names.contains(name); ++n)
            name = base + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
        names.insert(name);
        r.nom = name;
        r.url = url;
        prepareForWrite(r);
        if (rng.chance(sizes.notLive)) markNotLive(r);
    }
}

template <class T> bool writeTable(const QString& dir, const QList<T>& table, QString* error)
{
    const QString path = dir + QLatin1Char('/') + QString::fromLatin1(RecordInfo<T>::file);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error) *error = path + QStringLiteral(" : ") + file.errorString();
        return false;
    }
    QString e;
    if (!recordfile::writeAll(file, reinterpret_cast<const char*>(table.constData()),
                              qint64(table.size()) * qint64(sizeof(T)), &e)) {
        if (error) *error = path + QStringLiteral(" : ") + e;
        return false;
    }
    return true;
}

} // namespace

GeneratedData generate(const Sizes& sizes)
{
    GeneratedData data;
    Rng rng(sizes.seed);
    const QDate today = sizes.reference.isValid() ? sizes.reference : QDate::currentDate();

    QVector<CompanyInfo> companies;
    generateSocietes(rng, sizes, data.societes, companies);
    QVector<int> liveCompanies;
    for (int i = 0; i < companies.size(); ++i)
        if (companies[i].live) liveCompanies.append(i);
    if (liveCompanies.isEmpty()) {
        // Nothing can refer to a company: only the favourites remain.
        generateFavoris(rng, sizes, companies, liveCompanies, data.favoris);
        return data;
    }
    QVector<QVector<qint32>> liveContactsOf;
    generateContacts(rng, sizes, companies, liveCompanies, data.contacts, liveContactsOf);
    generateCandidatures(rng, sizes, today, companies, liveCompanies, liveContactsOf,
                         data.candidatures);
    generateFavoris(rng, sizes, companies, liveCompanies, data.favoris);
    return data;
}

bool writeDataFiles(const QString& dir, const GeneratedData& data, QString* error)
{
    return writeTable(dir, data.societes, error) && writeTable(dir, data.contacts, error) &&
           writeTable(dir, data.candidatures, error) && writeTable(dir, data.favoris, error);
}

} // namespace datagen
