// The variables of the application report, from real files.
#include "applications/documents.h"
#include "common/testfiles.h"
#include "reports/applicationreport.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString CRLF = QStringLiteral("\r\n");
const QString Rule = QString(156, QLatin1Char('-'));

struct Folder {
    QTemporaryDir dir;
    Store store{dir.path()};
    Folder()
    {
        QDir(dir.path()).mkdir("txt");
        TSocieteRec s = makeSociete(1, "ACME");
        s.cp = QStringLiteral("69001");
        s.ville = QStringLiteral("Lyon");
        store.Societes = {s};
        store.Contacts = {makeContact(4, 1, "Dupont")};
        store.Candidatures = {makeCandidature(7, 1, "Comptable", "20260305")};
    }
    void text(const char* kind, const QByteArray& bytes)
    {
        writeBytes(dir.filePath(QStringLiteral("txt/%1_7.txt").arg(QLatin1String(kind))), bytes);
    }
    QMap<QString, QString> vars() const
    {
        return RapportCandidature(store, 7, {}, QDate(2026, 12, 9));
    }
};

} // namespace

class TestApplicationReport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    void withoutTextsTheMemoIsEmptyAndEverySlotSaysNon()
    {
        Folder f;
        const auto v = f.vars();
        QCOMPARE(v["Memo"], QString());
        for (const char* slot : {"Offre", "CV", "Lettre", "Accuse", "Suite"})
            QCOMPARE(v[slot], QStringLiteral("Non"));
        QCOMPARE(v["madate"], QStringLiteral("09/12/2026")); // today, not the application's date
        QCOMPARE(v["Titre"], QStringLiteral("T212 05/03/2026"));
        QCOMPARE(v["cpville"], QStringLiteral("69001 Lyon"));
        QCOMPARE(v["bp"], QString());
        // No contact linked: the six contact variables are empty.
        for (const char* k : {"Contact_nom", "Contact_fonction", "Contact_email", "Contact_tel",
                              "Contact_fax", "Contact_gsm"})
            QCOMPARE(v[k], QString());
    }

    void notesWithATabBecomeTheirSection()
    {
        Folder f;
        f.text("BN", "a\r\n\tb\r\n");
        QCOMPARE(f.vars()["Memo"],
                 CRLF + CRLF + "Bloc-Notes" + CRLF + Rule + CRLF + "a" + CRLF + "    b" + CRLF);
    }

    void pastedDocumentsComeInTheirOrderOnlyWhenTheSlotHoldsText()
    {
        Folder f;
        TCandidatureRec& c = f.store.Candidatures[0];
        pathField(c, DocSlot::Suite) = MarqueurTexte;
        pathField(c, DocSlot::CV) = MarqueurTexte;
        pathField(c, DocSlot::Lettre) = QStringLiteral("/home/moi/lettre.pdf");
        f.text("Suite", "Refus poli\r\n");
        f.text("CV", "Mon CV\r\n");
        f.text("Lettre", "ignorée\r\n");
        const auto v = f.vars();
        QCOMPARE(v["Memo"], CRLF + CRLF + "CV envoyé pour cette candidature" + CRLF + Rule + CRLF +
                                "Mon CV" + CRLF + CRLF + CRLF + "Suite ou refus" + CRLF + Rule +
                                CRLF + "Refus poli" + CRLF);
        QCOMPARE(v["CV"], QStringLiteral("Oui"));
        QCOMPARE(v["Lettre"], QStringLiteral("Non")); // a file, not a pasted text
        QCOMPARE(v["Suite"], QStringLiteral("Oui"));
    }

    void telephoneFaxAndPostBox()
    {
        Folder f;
        TSocieteRec& s = f.store.Societes[0];
        s.telb = QStringLiteral("04 00 00 00 02");
        s.faxa = QStringLiteral("04 00 00 00 03");
        s.faxb = QStringLiteral("04 00 00 00 04");
        s.bp = QStringLiteral("123");
        const auto v = f.vars();
        QCOMPARE(v["tel"], QStringLiteral(" / 04 00 00 00 02"));
        QCOMPARE(v["fax"], QStringLiteral("T183: 04 00 00 00 03 / 04 00 00 00 04"));
        QCOMPARE(v["bp"], QStringLiteral("BP 123"));
    }

    void aLinkedContactAndMissingRecordsNeverFail()
    {
        Folder f;
        f.store.Candidatures[0].id_contact = 4;
        f.store.Contacts[0].civilite = QStringLiteral("Mr");
        QCOMPARE(f.vars()["Contact_nom"], QStringLiteral("Mr Dupont"));
        f.store.Candidatures[0].id_contact = 99; // gone
        f.store.Candidatures[0].id_societe = 42;
        const auto v = f.vars();
        QCOMPARE(v["Contact_nom"], QString());
        QCOMPARE(v["societe"], QString());
        QCOMPARE(v["Intitule"], QStringLiteral("Comptable"));
        QCOMPARE(RapportCandidature(f.store, 12345, {}, QDate(2026, 1, 1))["Intitule"], QString());
    }

    void ofTwoApplicationsWithOneIdTheChosenOneIsReported()
    {
        Folder f;
        f.store.Candidatures.append(makeCandidature(7, 1, "Juriste", "20260306"));
        QCOMPARE(RapportCandidature(f.store, 7, {}, QDate(2026, 1, 1), 1)["Intitule"],
                 QStringLiteral("Juriste"));
        QCOMPARE(RapportCandidature(f.store, 7, {}, QDate(2026, 1, 1), 0)["Intitule"],
                 QStringLiteral("Comptable"));
    }
};

QTEST_GUILESS_MAIN(TestApplicationReport)
#include "tst_applicationreport.moc"
