// The company import and export without windows: the cutting of a line, the
// reading of import files, the adding of companies and contacts on real
// files, the text file written byte for byte and the spreadsheet grid.
#include "common/testfiles.h"
#include "directory/exportrules.h"
#include "directory/importrules.h"
#include "store/cp1252.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

QStringList texts(const QList<QStringView>& views)
{
    QStringList s;
    for (QStringView v : views)
        s.append(v.toString());
    return s;
}

QStringList cut(const QString& line, int n, QChar s = u';', QChar d = u'"',
                DelimiterRemoval r = DelimiterRemoval::BothEnds)
{
    return texts(cutLine(line, n, s, d, r));
}

// An empty program folder whose tables hold what its files hold.
struct Folder {
    QTemporaryDir dir;
    TestStore store{dir.path()};
    Folder() { QVERIFY(store.Initialisation().isEmpty()); }

    template <class T> static QByteArray bytesOf(const QList<T>& t)
    {
        return QByteArray(reinterpret_cast<const char*>(t.constData()),
                          qsizetype(t.size()) * qsizetype(sizeof(T)));
    }
    bool tablesMatchFiles() const
    {
        return readBytes(store.path("societes.dat")) == bytesOf(store.Societes) &&
               readBytes(store.path("contacts.dat")) == bytesOf(store.Contacts);
    }
    ImportOutcome import(const QByteArray& file, const QList<int>& columns, QChar separator = u';',
                         QChar delimiter = u'"')
    {
        const ImportText t = decodeImportFile(file, QStringLiteral("import.csv"));
        if (!t.error.isEmpty()) qWarning("%s", qPrintable(t.error));
        ImportSettings s;
        s.separator = separator;
        s.delimiter = delimiter;
        s.columns = columns;
        return importDirectory(store, readLines(t.text), s);
    }
    QStringList companyNames() const
    {
        QStringList n;
        for (const TSocieteRec& s : store.Societes)
            n.append(s.nom.text());
        return n;
    }
    QStringList contactNames() const
    {
        QStringList n;
        for (const TContactRec& c : store.Contacts)
            n.append(c.nom.text());
        return n;
    }
};

QList<int> allColumns()
{
    QList<int> c;
    for (int i = 0; i < ImportFieldCount; ++i)
        c.append(i);
    return c;
}

const QList<int> kNomVilleContact{0, 7, 16};

// A store whose appends to contacts.dat fail from the given one on.
class FailingContacts : public TestStore
{
public:
    using TestStore::TestStore;
    int appendsLeft = 0;
    std::unique_ptr<QFile> openFile(const QString& path) override
    {
        if (path.endsWith(QLatin1String("contacts.dat")) && appendsLeft-- <= 0)
            return std::make_unique<FailingFile>(path, 100); // a disk that fills
        return Store::openFile(path);
    }
};

} // namespace

class TestImportRules : public QObject
{
    Q_OBJECT
private slots:
    void fieldNamesAndSlots()
    {
        QCOMPARE(importFieldNames().size(), ImportFieldCount);
        QCOMPARE(MonChamp(QStringLiteral("Société")), 0);
        QCOMPARE(MonChamp(QStringLiteral("Société_Ville")), 7);
        QCOMPARE(MonChamp(QStringLiteral("Contact_Dénomination")), 15);
        QCOMPARE(MonChamp(QStringLiteral("Contact_Email")), 21);
        QCOMPARE(MonChamp(QStringLiteral("Société_Email")), 14);
        QCOMPARE(MonChamp(QStringLiteral("societe")), -1);
    }

    void cuttingALine()
    {
        // The two examples: delimiters removed, a separator between
        // delimiters belongs to the value.
        QCOMPARE(cut("\"Alpha et fils\";Lyon;\"Exemple Un\"", 3),
                 QStringList({"Alpha et fils", "Lyon", "Exemple Un"}));
        QCOMPARE(cut("\"Rue; Place\";;", 3), QStringList({"Rue; Place", "", ""}));
        // Text after the n-th separator is ignored; missing fields are empty.
        QCOMPARE(cut("a;b;c;d", 2), QStringList({"a", "b"}));
        QCOMPARE(cut("a", 3), QStringList({"a", "", ""}));
        // No escape, no trimming; a lone delimiter is an empty value.
        QCOMPARE(cut("\"say \"\"hi\"\"\";x", 2), QStringList({"say \"\"hi\"\"", "x"}));
        QCOMPARE(cut(" \"a\" ;\"", 2), QStringList({" \"a\" ", ""}));
        // The import needs a delimiter at both ends; the preview either.
        QCOMPARE(cut("\"open;close\"", 2), QStringList({"open;close", ""}));
        QCOMPARE(cut("\"abc;d\"", 2), QStringList({"abc;d", ""}));
        QCOMPARE(cut("\"abc,d", 2, u','), QStringList({"\"abc,d", ""}));
        QCOMPARE(cut("\"abc,d", 2, u',', u'"', DelimiterRemoval::EitherEnd),
                 QStringList({"abc,", ""}));
        QCOMPARE(cut("xy\"", 2, u',', u'"', DelimiterRemoval::EitherEnd), QStringList({"y", ""}));
        // The apostrophe as delimiter, the comma as separator.
        QCOMPARE(cut("'Alpha';'Lyon'", 2, u';', u'\''), QStringList({"Alpha", "Lyon"}));
        QCOMPARE(cut("\"A,B\",C", 2, u','), QStringList({"A,B", "C"}));
        QCOMPARE(cut("x", 0), QStringList());
    }

    void readingFiles()
    {
        // UTF-8 (what spreadsheet programs on Linux write), with its mark.
        ImportText t = decodeImportFile("\xEF\xBB\xBF\"\xC3\x89"
                                        "cole\";Orl\xC3\xA9"
                                        "ans\r\n",
                                        "a.csv");
        QVERIFY(t.error.isEmpty());
        QCOMPARE(t.text, QStringLiteral("\"École\";Orléans\n"));
        // Anything else is Windows-1252; a lone carriage return is dropped.
        t = decodeImportFile("\"\xC9"
                             "cole\";Orl\xE9"
                             "ans \x80\r\nB\rC\n",
                             "a.csv");
        QCOMPARE(t.text, QStringLiteral("\"École\";Orléans €\nBC\n"));
        // UTF-16 with its mark.
        const QString sixteen = QStringLiteral("Été;Nîmes\r\n");
        QByteArray le("\xFF\xFE");
        le.append(reinterpret_cast<const char*>(sixteen.utf16()), sixteen.size() * 2);
        QCOMPARE(decodeImportFile(le, "a.csv").text, QStringLiteral("Été;Nîmes\n"));
        // Comments and empty lines are not read.
        QCOMPARE(texts(readLines(u"#Société;Ville\n\nA;B\n  \n#x\nC")),
                 QStringList({"A;B", "  ", "C"}));

        // Not text: refused with a message, nothing to import.
        t = decodeImportFile(QByteArray("PK\x03\x04\x00\x00binary", 12), "a.xlsx");
        QVERIFY(t.text.isEmpty());
        QCOMPARE(t.error, QStringLiteral("Le fichier \"a.xlsx\" n'est pas un fichier texte : il ne "
                                         "peut pas être importé."));
        // One line of 10 MB.
        t = decodeImportFile("A;B\n" + QByteArray(10 << 20, 'x') + "\n", "big.csv");
        QVERIFY(t.text.isEmpty());
        QVERIFY(
            t.error.startsWith(QStringLiteral("La ligne 2 du fichier \"big.csv\" compte plus de")));
        QVERIFY(decodeImportFile(QByteArray(ImportMaxLineLength, 'x'), "a").error.isEmpty());

        QTemporaryDir dir;
        // Each reason in French: a missing file, a folder.
        t = readImportFile(dir.filePath("absent.csv"));
        QVERIFY(t.error.startsWith(QStringLiteral("Impossible de lire le fichier")));
        QVERIFY(t.error.endsWith(QStringLiteral("ce fichier n'existe pas.")));
        t = readImportFile(dir.path());
        QVERIFY(t.error.startsWith(QStringLiteral("Impossible de lire le fichier")));
        QVERIFY(t.error.endsWith(QStringLiteral("ce n'est pas un fichier.")));
        writeBytes(dir.filePath("locked.csv"), "A\n");
        QFile::setPermissions(dir.filePath("locked.csv"), QFileDevice::WriteOwner);
        if (QFile(dir.filePath("locked.csv")).open(QIODevice::ReadOnly)) return; // root reads all
        t = readImportFile(dir.filePath("locked.csv"));
        QVERIFY(t.error.startsWith("Impossible de lire"));
        QVERIFY2(t.error.endsWith(QStringLiteral("Accès refusé")), qPrintable(t.error));
    }

    void summaryAndItsPlurals()
    {
        QCOMPARE(importSummary({}), QStringLiteral("0 société ajoutée et 0 contact ajouté."));
        QCOMPARE(importSummary({1, 2, 0}),
                 QStringLiteral("1 société ajoutée et 2 contacts ajoutés."));
        QCOMPARE(importSummary({12, 1, 1}),
                 QStringLiteral("12 sociétés ajoutées et 1 contact ajouté.\r\r1 ligne contenait "
                                "des caractères que le programme ne peut pas enregistrer : ils "
                                "ont été remplacés par \"?\"."));
        QVERIFY(importSummary({0, 0, 3}).contains(QStringLiteral("3 lignes contenaient")));
    }

    void twoLinesOfOneNewCompanyThenTheSameFileAgain()
    {
        Folder f;
        const QByteArray file = "\"Alpha et fils\";Lyon;\"Exemple Un\"\r\n"
                                "\"Alpha et fils\";Paris;\"Exemple Deux\"\r\n"
                                "\"Rue; Place\";;\r\n";
        ImportOutcome o = f.import(file, kNomVilleContact);
        QVERIFY(o.result.ok);
        QCOMPARE(importSummary(o.counts),
                 QStringLiteral("2 sociétés ajoutées et 2 contacts ajoutés."));
        QCOMPARE(f.companyNames(), QStringList({"ALPHA ET FILS", "RUE; PLACE"}));
        const TSocieteRec& alpha = f.store.Societes[0];
        QCOMPARE(alpha.ville.text(), QStringLiteral("Lyon")); // the first line's values
        QCOMPARE(qint32(alpha.id), 1);
        QCOMPARE(alpha.categorie.text(), QStringLiteral("S"));
        QCOMPARE(f.contactNames(), QStringList({"Exemple Un", "Exemple Deux"}));
        for (const TContactRec& c : f.store.Contacts) {
            QCOMPARE(qint32(c.id_societe), 1);
            QCOMPARE(c.civilite.text(), QStringLiteral("Mr"));
            QCOMPARE(c.version.text(), QStringLiteral("cnt1"));
        }
        QCOMPARE(f.store.MaxIdSociete, 2);
        QCOMPARE(f.store.MaxIdContact, 2);
        QVERIFY(f.tablesMatchFiles());

        o = f.import(file, kNomVilleContact);
        QCOMPARE(importSummary(o.counts), QStringLiteral("0 société ajoutée et 0 contact ajouté."));
        QCOMPARE(f.store.Societes.size(), 2);
        QCOMPARE(f.store.Contacts.size(), 2);
        QVERIFY(f.tablesMatchFiles());
    }

    void knownCompaniesGetTheirNewContacts()
    {
        Folder f;
        TSocieteRec known = makeSociete(7, "BETA");
        f.store.Societes = {known};
        f.store.MaxIdSociete = 7;
        writeBytes(f.store.path("societes.dat"), recordBytes(known));
        // Lower case in the file, the company exists: only the contact is added,
        // and a contact name already present anywhere is never added again.
        const ImportOutcome o =
            f.import("beta;Nantes;Durand\ngamma;;Durand\ngamma;;Martin\n", kNomVilleContact);
        QCOMPARE(o.counts.societes, 1);
        QCOMPARE(o.counts.contacts, 2);
        QCOMPARE(f.store.Societes[0].ville.text(), QString()); // not updated
        QCOMPARE(qint32(f.store.Societes[1].id), 8);
        QCOMPARE(qint32(f.store.Contacts[0].id_societe), 7);
        QCOMPARE(qint32(f.store.Contacts[1].id_societe), 8);
        QCOMPARE(f.contactNames(), QStringList({"Durand", "Martin"}));
        QVERIFY(f.tablesMatchFiles());
    }

    void anImportStopsWhenNoIdIsLeft()
    {
        Folder f;
        f.store.MaxIdSociete = std::numeric_limits<qint32>::max() - 1;
        const ImportOutcome o = f.import("alpha\nbeta\ngamma\n", {0});
        QVERIFY(!o.result.ok);
        QVERIFY(o.result.error.startsWith("Le plus grand numéro de société (2147483647)"));
        // What had an id is written; nothing has an id twice.
        QCOMPARE(o.counts.societes, 1);
        QCOMPARE(f.store.Societes.size(), 1);
        QCOMPARE(qint32(f.store.Societes[0].id), std::numeric_limits<qint32>::max());
        QVERIFY(f.tablesMatchFiles());
    }

    void categoriesCivilitiesShortLinesAndCapacities()
    {
        Folder f;
        const QList<int> columns{0, 1, 15, 16, 7};
        const QByteArray file = "A;Cabinet de recrutement;Mme;K1;Lyon\n"
                                "B;Intérim;Madame;K2\n"
                                "C;cabinet;M.;K3\n"
                                "D;;Mlle\n"
                                "E\n" +
                                QByteArray(60, 'n') + ";Société;Mr;" + QByteArray(55, 'k') + "\n";
        const ImportOutcome o = f.import(file, columns);
        QCOMPARE(o.counts.societes, 6);
        QCOMPARE(o.counts.contacts, 4); // D and E have no contact name
        QStringList categories, towns;
        for (const TSocieteRec& s : f.store.Societes) {
            categories.append(s.categorie.text());
            towns.append(s.ville.text());
        }
        QCOMPARE(categories, QStringList({"C", "I", "S", "S", "S", "S"}));
        // The values of a short line are empty, whatever the line before held.
        QCOMPARE(towns, QStringList({"Lyon", "", "", "", "", ""}));
        QStringList civilities;
        for (const TContactRec& c : f.store.Contacts)
            civilities.append(c.civilite.text());
        QCOMPARE(civilities, QStringList({"Mme", "Mr", "Mr", "Mr"}));
        // A 60-character name keeps its first 50, upper-cased, and its
        // contact (cut as well) still finds it.
        QCOMPARE(f.store.Societes[5].nom.text(), QString(50, QLatin1Char('N')));
        QCOMPARE(f.store.Contacts[3].nom.text(), QString(50, QLatin1Char('k')));
        QCOMPARE(qint32(f.store.Contacts[3].id_societe), qint32(f.store.Societes[5].id));
    }

    void accentsAndCharactersThatCannotBeStored()
    {
        Folder f;
        // UTF-8: the accented letters stay as they are (only a to z are
        // upper-cased); the Greek letter cannot be stored and becomes "?".
        const ImportOutcome o = f.import(
            "\"Société générale\";Orléans;Zoé\n\"Ωmega\";Paris;\nplain;;\n", kNomVilleContact);
        QCOMPARE(f.companyNames(), QStringList({"SOCIéTé GéNéRALE", "?MEGA", "PLAIN"}));
        QCOMPARE(f.store.Societes[0].ville.text(), QStringLiteral("Orléans"));
        QCOMPARE(f.contactNames(), QStringList{"Zoé"});
        QCOMPARE(o.counts.replacedLines, 1);
        QVERIFY(importSummary(o.counts).endsWith("remplacés par \"?\"."));
        // The same letters in a Windows-1252 file.
        Folder g;
        g.import("\"Soci\xE9t\xE9\";Orl\xE9"
                 "ans;Zo\xE9\n",
                 kNomVilleContact);
        QCOMPARE(g.companyNames(), QStringList{"SOCIéTé"});
        QCOMPARE(g.store.Societes[0].nom.bytes(), QByteArray("SOCI\xE9T\xE9"));
    }

    void apostropheAndCommentsAreNotImported()
    {
        Folder f;
        const ImportOutcome o =
            f.import("#'Gamma';'Lyon'\n\n'Alpha';'Lyon'\n;'Nowhere'\n", {0, 7}, u';', u'\'');
        QCOMPARE(o.counts.societes, 1); // the line without company is skipped
        QCOMPARE(f.companyNames(), QStringList{"ALPHA"});
        QCOMPARE(f.store.Societes[0].ville.text(), QStringLiteral("Lyon"));
    }

    void aFailingAppendLeavesWholeRecordsAndSaysWhatWasAdded()
    {
        QTemporaryDir dir;
        FailingContacts store(dir.path());
        QVERIFY(store.Initialisation().isEmpty());
        QByteArray file;
        for (int i = 0; i < 10; ++i)
            file += "S" + QByteArray::number(i) + ";;K" + QByteArray::number(i) + "\n";
        ImportSettings s;
        s.columns = kNomVilleContact;
        const ImportText t = decodeImportFile(file, "a.csv");
        const QList<QStringView> lines = readLines(t.text);
        SocieteImport import(store, s, 4); // a group of 2 lines: 2 companies, 2 contacts
        store.appendsLeft = 2;
        Result r;
        int line = 0;
        for (; line < lines.size() && r.ok; ++line)
            r = import.addLine(lines[line]);
        QVERIFY(!r.ok);
        QCOMPARE(line, 6); // the third group failed
        QVERIFY(
            r.error.startsWith(QStringLiteral("Impossible d'enregistrer dans \"contacts.dat\"")));
        // Its companies were written, its contacts are in neither file nor table.
        QCOMPARE(import.counts().societes, 6);
        QCOMPARE(import.counts().contacts, 4);
        QCOMPARE(store.Societes.size(), 6);
        QCOMPARE(store.Contacts.size(), 4);
        QCOMPARE(readBytes(store.path("contacts.dat")), Folder::bytesOf(store.Contacts));
        QCOMPARE(readBytes(store.path("societes.dat")), Folder::bytesOf(store.Societes));
        QCOMPARE(store.MaxIdContact, 4); // the ids not written are given back
        QCOMPARE(store.MaxIdSociete, 6);
        QCOMPARE(store.Occupe, false);
    }

    // ---- Export ------------------------------------------------------------------------

    void exportBytes_data()
    {
        QTest::addColumn<bool>("contacts");
        QTest::addColumn<char>("separator");
        QTest::addColumn<char>("delimiter");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray empty7 = QByteArray(";\"\"").repeated(7);
        QTest::newRow("companies only")
            << false << ';' << '"'
            << QByteArray("#Soci\xE9t\xE9;Cat\xE9gorie;Service;Adresse1;"
                          "Adresse2;BP;CP;Ville;Pays;Tel1;Tel2;Fax1;"
                          "Fax2;Url;Email\r\n"
                          "\"ALPHA\";\"Cabinet de recrutement\";\"\";"
                          "\"\";\"\";\"\";\"\";\"Lyon\";\"\";\"\";\"\";"
                          "\"\";\"\";\"\";\"\"\r\n"
                          "\"LE \\\"BON\\\" COIN\";\"Int\xE9rim\";"
                          "\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";"
                          "\"\";\"\";\"\";\"\";\"\"\r\n"
                          "\"ZETA 'Z'\";\"\";\"\";\"\";\"\";\"\";\"\";"
                          "\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\"\r\n");
        QTest::newRow("with contacts, apostrophe, comma")
            << true << ',' << '\''
            << QByteArray("#Soci\xE9t\xE9,Cat\xE9gorie,Service,Adresse1,Adresse2,BP,CP,Ville,"
                          "Pays,Tel1,Tel2,Fax1,Fax2,Url,Email,D\xE9nomination_Contact,"
                          "Nom_Contact,Fonction_Contact,Tel_Contact,Fax_Contact,GSM_Contact,"
                          "Email_Contact\r\n"
                          "'ALPHA','Cabinet de recrutement','','','','','','Lyon','','','','',"
                          "'','','','Mme','Dupont','DRH','01','','','d@a.fr'\r\n"
                          "'ALPHA','Cabinet de recrutement','','','','','','Lyon','','','','',"
                          "'','','','Mr','Martin','','','','',''\r\n"
                          "'ALPHA','Cabinet de recrutement','','','','','','Lyon','','','','',"
                          "'','','','Mr','L\\'Hermite','','','','',''\r\n"
                          "'LE \"BON\" COIN','Int\xE9rim','','','','','','','','','','','','','',"
                          "'','','','','','',''\r\n"
                          "'ZETA \\'Z\\'','','','','','','','','','','','','','','','Mr','Zo\xE9',"
                          "'','','','',''\r\n");
    }

    void exportBytes()
    {
        QFETCH(bool, contacts);
        QFETCH(char, separator);
        QFETCH(char, delimiter);
        QFETCH(QByteArray, expected);
        // Companies in file order (not sorted), a deleted one left out, a
        // letter that is no category, contacts in table order.
        TSocieteRec alpha = makeSociete(1, "ALPHA", "C");
        alpha.ville = QStringLiteral("Lyon");
        TSocieteRec gone = makeSociete(4, "GONE");
        gone.nom.clear();
        const QList<TSocieteRec> socs{alpha, makeSociete(2, "LE \"BON\" COIN", "I"), gone,
                                      makeSociete(3, "ZETA 'Z'", "X")};
        TContactRec dupont = makeContact(1, 1, "Dupont");
        dupont.civilite = QStringLiteral("Mme");
        dupont.fonction = QStringLiteral("DRH");
        dupont.tel = QStringLiteral("01");
        dupont.email = QStringLiteral("d@a.fr");
        TContactRec martin = makeContact(2, 1, "Martin");
        martin.civilite = QStringLiteral("Mr");
        TContactRec zoe = makeContact(3, 3, QStringLiteral("Zoé"));
        zoe.civilite = QStringLiteral("Mr");
        TContactRec hermite = makeContact(4, 1, "L'Hermite");
        hermite.civilite = QStringLiteral("Mr");
        const QList<TContactRec> cnts{dupont, martin, zoe, hermite};

        QTemporaryDir dir;
        QSaveFile out(dir.filePath("export.csv"));
        QString error;
        QVERIFY(writeExportText(out, socs, cnts, {contacts, separator, delimiter}, &error));
        QCOMPARE(readBytes(dir.filePath("export.csv")), expected);
    }

    void exportOfAnEmptyDirectoryAndAFailedWrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("vide.csv");
        QSaveFile out(path);
        QString error;
        QVERIFY(writeExportText(out, {}, {}, {}, &error));
        QCOMPARE(readBytes(path), QByteArray("#Soci\xE9t\xE9;Cat\xE9gorie;Service;Adresse1;"
                                             "Adresse2;BP;CP;Ville;Pays;Tel1;Tel2;Fax1;Fax2;Url;"
                                             "Email\r\n"));
        QCOMPARE(exportGrid({}, {}, true).size(), 1);
        // A disk that fills: the file of that name stays as it was.
        QList<TSocieteRec> many;
        for (int i = 1; i <= 20000; ++i)
            many.append(makeSociete(i, QStringLiteral("SOCIETE %1").arg(i)));
        const QByteArray before = readBytes(path);
        FailingSaveFile failing(path, 1 << 20);
        QVERIFY(!writeExportText(failing, many, {}, {}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(path), before);
    }

    void exportGridRows()
    {
        TSocieteRec a = makeSociete(1, "ALPHA", "C");
        a.url = QStringLiteral("a.fr");
        TContactRec k1 = makeContact(1, 1, "Un"), k2 = makeContact(2, 1, "Deux"),
                    k3 = makeContact(3, 1, "Trois");
        const QList<QStringList> grid =
            exportGrid({a, makeSociete(2, "BETA", "S")}, {k1, k2, k3}, true);
        QCOMPARE(grid.size(), 5);
        QCOMPARE(grid[0].size(), 22);
        QCOMPARE(grid[0][13], QStringLiteral("URL"));
        QCOMPARE(grid[0][18], QStringLiteral("Tél_Contact"));
        for (int r = 1; r <= 3; ++r) {
            QCOMPARE(grid[r].mid(0, 2), QStringList({"ALPHA", "Cabinet de recrutement"}));
            QCOMPARE(grid[r][13], QStringLiteral("a.fr"));
        }
        QCOMPARE(grid[3][16], QStringLiteral("Trois"));
        QCOMPARE(grid[4].size(), 15); // no contact cells
        QCOMPARE(exportGrid({a}, {k1}, false),
                 QList<QStringList>({grid[0].mid(0, 15), grid[1].mid(0, 15)}));
    }

    void roundTrip()
    {
        // A directory exported with its contacts comes back through the import.
        TSocieteRec a = makeSociete(10, "alpha \"vieux\" port", "I");
        a.adresse_a = QStringLiteral("3, rue Nationale");
        a.ville = QStringLiteral("Saint-Étienne");
        a.email = QStringLiteral("rh@alpha.fr");
        TSocieteRec b = makeSociete(11, "BETA", "C");
        TSocieteRec c = makeSociete(12, "GAMMA", "S");
        TContactRec k1 = makeContact(1, 10, "Dupont"), k2 = makeContact(2, 10, "Martin"),
                    k3 = makeContact(3, 11, "Dupont"), k4 = makeContact(4, 11, "Zoé");
        k1.civilite = QStringLiteral("Mlle");
        k2.civilite = QStringLiteral("Mme");
        k2.gsm = QStringLiteral("06 12");
        k3.civilite = k4.civilite = QStringLiteral("Mr");
        QTemporaryDir dir;
        QSaveFile out(dir.filePath("annuaire.csv"));
        QString error;
        QVERIFY(writeExportText(out, {a, b, c}, {k1, k2, k3, k4}, {true, ',', '"'}, &error));

        Folder f;
        const ImportOutcome o =
            f.import(readBytes(dir.filePath("annuaire.csv")), allColumns(), u',', u'"');
        QVERIFY(o.result.ok);
        QCOMPARE(importSummary(o.counts),
                 QStringLiteral("3 sociétés ajoutées et 3 contacts ajoutés."));
        // Names upper-cased, the backslash the export put before the delimiter kept.
        QCOMPARE(f.companyNames(), QStringList({"ALPHA \\\"VIEUX\\\" PORT", "BETA", "GAMMA"}));
        const TSocieteRec& back = f.store.Societes[0];
        QCOMPARE(back.categorie.text(), QStringLiteral("I"));
        QCOMPARE(back.adresse_a.text(), QStringLiteral("3, rue Nationale"));
        QCOMPARE(back.ville.text(), QStringLiteral("Saint-Étienne"));
        QCOMPARE(back.email.text(), QStringLiteral("rh@alpha.fr"));
        QCOMPARE(f.store.Societes[1].categorie.text(), QStringLiteral("C"));
        // Dupont of BETA is the same name as Dupont of ALPHA: imported once.
        QCOMPARE(f.contactNames(), QStringList({"Dupont", "Martin", "Zoé"}));
        QCOMPARE(f.store.Contacts[0].civilite.text(), QStringLiteral("Mlle"));
        QCOMPARE(f.store.Contacts[1].gsm.text(), QStringLiteral("06 12"));
        QCOMPARE(qint32(f.store.Contacts[2].id_societe), qint32(f.store.Societes[1].id));
        QVERIFY(f.tablesMatchFiles());
    }
};

QTEST_GUILESS_MAIN(TestImportRules)
#include "tst_importrules.moc"
