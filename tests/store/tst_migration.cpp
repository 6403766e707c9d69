// Files of earlier versions at start-up: which ones are refused, which are
// converted after asking, what the converted files hold, and that a failed
// conversion leaves the old file byte for byte as it was.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "store/migration.h"
#include "store/store.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString Question = QStringLiteral(
    "Une migration des fichiers de données doit être effectuée.\rPar mesure de précaution, "
    "veuillez sauvegarder vos fichiers de données (societes.dat,contacts.dat et "
    "candidatures.dat) qui se trouvent dans le répertoire d'installation.\r\rAucun retour en "
    "arrière n'est possible ! Voulez-vous continuer ?");
const QString Newer = QStringLiteral(
    "Les fichiers de données ont été créés avec une version plus récente d'ORVALDIS.\r\r"
    "Mettez à jour ORVALDIS. Impossible de poursuivre.");
const QString Cancelled =
    QStringLiteral("Migration des données annulée.\rImpossible de continuer.");
const QString Done = QStringLiteral(
    "Migration des données terminée.\r\rSi vous rencontrez des problèmes avec les données, "
    "recopiez manuellement vos sauvegardes de societes.dat,candidatures.dat et contacts.dat dans "
    "le répertoire d'installation d'ORVALDIS");

// The dialogue of the start-up as the window holds it: message boxes, and a
// trace of the busy phase among them when asked.
BaseCheckDialogue boxes(QStringList* trace = nullptr)
{
    BaseCheckDialogue d;
    d.error = [trace](const QString& t) {
        if (trace) trace->append("error");
        msg::error(t);
    };
    d.information = [trace](const QString& t) {
        if (trace) trace->append("information");
        msg::information(t);
    };
    d.warningYesNo = [](const QString& t) { return msg::warningYesNo(t); };
    if (trace) d.busy = [trace](bool on) { trace->append(on ? "busy" : "idle"); };
    return d;
}

// Old files hold arbitrary bytes in pads and after the characters of texts.
template <class T> T dirty()
{
    T r;
    std::memset(&r, 0xA5, sizeof r);
    return r;
}

// The fields that every application layout shares, with values drawn from n.
template <class R> void fillApplication(R& r, int n, bool live = true)
{
    r.intitule = live ? QStringLiteral("Comptable n°%1").arg(n) : QString();
    r.date = QStringLiteral("202501%1").arg(n, 2, 10, QLatin1Char('0'));
    r.date_cv = QStringLiteral("202502%1").arg(n, 2, 10, QLatin1Char('0'));
    r.date_lettre = QString();
    r.date_suite = QStringLiteral("202504%1").arg(n, 2, 10, QLatin1Char('0'));
    r.date_accuse = QStringLiteral("202505%1").arg(n, 2, 10, QLatin1Char('0'));
    r.id_contact = n * 3;
    r.id = 100 + n;
    r.id_societe = -n;
    r.cv = QStringLiteral("<TEXTE>");
    r.lettre = QStringLiteral("/home/léa/lettre%1.odt").arg(n);
    r.accuse = QString();
    r.suite = QStringLiteral("Refus");
    r.offre = QString(255, QLatin1Char('o'));
    r.terminee = n % 2;
    r.marqueur = n > 1;
}

template <class T> QByteArray bytesOf(const QList<T>& records)
{
    QByteArray b;
    for (const T& r : records)
        b += recordBytes(r);
    return b;
}

template <class T> T recordAt(const QByteArray& file, int i)
{
    T r;
    std::memcpy(&r, file.constData() + i * sizeof(T), sizeof(T));
    return r;
}

TSocieteRecV0 oldSociete(qint32 id, const QString& nom)
{
    auto r = dirty<TSocieteRecV0>();
    r.nom = nom;
    for (auto* s : {&r.service, &r.email})
        s->set(QStringLiteral("svc%1").arg(id));
    r.adresse_a = QStringLiteral("12 rue de la Paix");
    r.adresse_b = QString();
    r.bp = QStringLiteral("BP 7");
    r.cp = QStringLiteral("75002");
    r.ville = QStringLiteral("Paris");
    r.pays = QStringLiteral("France");
    for (auto* s : {&r.tela, &r.telb, &r.faxa, &r.faxb})
        s->set(QStringLiteral("01 23 45 67 8%1").arg(id));
    r.url = QStringLiteral("https://exemple.fr/%1").arg(id);
    r.id = id;
    return r;
}

TContactRecV0 oldContact(qint32 id, qint32 societe, const QString& nom)
{
    auto r = dirty<TContactRecV0>();
    r.nom = nom;
    r.fonction = QStringLiteral("DRH");
    r.email = QStringLiteral("rh@exemple.fr");
    r.tel = QStringLiteral("0102030405");
    r.fax = QString();
    r.gsm = QStringLiteral("0607080910");
    r.civilite = QStringLiteral("Mme");
    r.id = id;
    r.id_societe = societe;
    return r;
}

template <class T> T tagged(T r, const char* tag)
{
    r.version.setBytes(tag, int(std::strlen(tag)));
    return r;
}

} // namespace

class TestMigration : public QObject
{
    Q_OBJECT
    QTemporaryDir* dir = nullptr;
    TestStore* store = nullptr;

    QString p(const QString& name) const { return store->path(name); }

    // Every file under the program directory with its content.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(dir->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            files.insert(QDir(dir->path()).relativeFilePath(f), readBytes(f));
        }
        return files;
    }

    QStringList leftovers(const QString& prefix) const
    {
        return QDir(dir->path()).entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        QVERIFY(dir->isValid());
        store = new TestStore(dir->path());
        QVERIFY(store->Initialisation().isEmpty());
    }
    void cleanup()
    {
        delete store;
        delete dir;
    }

    void versionNumbers()
    {
        QCOMPARE(tagVersion(QStringLiteral("cnd2")), 2);
        QCOMPARE(tagVersion(QStringLiteral("abc123")), 123);
        QCOMPARE(tagVersion(QStringLiteral("abc-12")), -12);
        QCOMPARE(tagVersion(QStringLiteral("soc")), 0);
        QCOMPARE(tagVersion(QStringLiteral("ab")), 0);
        QCOMPARE(tagVersion(QStringLiteral("abc1x")), 0);
        QCOMPARE(tagVersion(QStringLiteral("abc-")), 0);
        QCOMPARE(tagVersion(QStringLiteral("Les 33")), 0);
    }

    void filesThatNeedNoConversion_data()
    {
        QTest::addColumn<QByteArray>("candidatures");
        QTest::addColumn<QByteArray>("societes");
        QTest::addColumn<QByteArray>("contacts");
        QTest::newRow("empty files") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("current files")
            << bytesOf(QList{makeCandidature(1, 1, "Vendeur"), makeCandidature(2, 1, "Caissier")})
            << recordBytes(makeSociete(1, "ACME")) << recordBytes(makeContact(1, 1, "Martin"));
        QTest::newRow("shorter than a tag") << QByteArray("\x04"
                                                          "cn")
                                            << QByteArray("x") << QByteArray();
        // A first company called "ABC-12..." reads as a negative version,
        // which no version of the program wrote: the file is not touched.
        QTest::newRow("negative number")
            << QByteArray() << recordBytes(oldSociete(1, QStringLiteral("ABC-12 Transports")))
            << QByteArray();
    }
    void filesThatNeedNoConversion()
    {
        QFETCH(QByteArray, candidatures);
        QFETCH(QByteArray, societes);
        QFETCH(QByteArray, contacts);
        writeBytes(p("candidatures.dat"), candidatures);
        writeBytes(p("societes.dat"), societes);
        writeBytes(p("contacts.dat"), contacts);
        const auto before = snapshot();
        FakeMessages m;
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::UpToDate);
        QCOMPARE(m.count(), 0);
        QCOMPARE(snapshot(), before);
    }

    void newerDataStopsBeforeAnyQuestion_data()
    {
        QTest::addColumn<QByteArray>("candidatures");
        QTest::addColumn<QByteArray>("societes");
        QTest::addColumn<QByteArray>("contacts");
        const QByteArray oldSoc = recordBytes(oldSociete(1, "Boulangerie"));
        const QByteArray oldCnt = recordBytes(oldContact(1, 1, "Dupont"));
        TCandidatureRecV0 oldApp = dirty<TCandidatureRecV0>();
        fillApplication(oldApp, 1);
        QTest::newRow("applications of version 3")
            << recordBytes(tagged(makeCandidature(1, 1, "Vendeur"), "cnd3")) << oldSoc << oldCnt;
        QTest::newRow("companies of version 2 after old applications")
            << recordBytes(oldApp) << recordBytes(tagged(makeSociete(1, "ACME"), "soc2"))
            << QByteArray();
        QTest::newRow("contacts of version 10")
            << QByteArray() << QByteArray() << recordBytes(tagged(makeContact(1, 1, "X"), "cnt10"));
        // An untagged companies file whose first name has digits as its 4th
        // to 6th characters is taken for a newer version.
        QTest::newRow("untagged company ABC123")
            << QByteArray() << recordBytes(oldSociete(1, QStringLiteral("ABC123 Industrie")))
            << QByteArray();
    }
    void newerDataStopsBeforeAnyQuestion()
    {
        QFETCH(QByteArray, candidatures);
        QFETCH(QByteArray, societes);
        QFETCH(QByteArray, contacts);
        writeBytes(p("candidatures.dat"), candidatures);
        writeBytes(p("societes.dat"), societes);
        writeBytes(p("contacts.dat"), contacts);
        const auto before = snapshot();
        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Stop);
        QCOMPARE(m.count(), 1);
        QCOMPARE(m.shown[0].kind, msg::Kind::Error);
        QCOMPARE(m.shown[0].text, Newer);
        QCOMPARE(snapshot(), before);
    }

    void untaggedApplicationsBecomeCurrentRecords()
    {
        QList<TCandidatureRecV0> old;
        for (int n = 1; n <= 3; ++n) {
            auto r = dirty<TCandidatureRecV0>();
            fillApplication(r, n, n != 2); // the second one is not live
            old.append(r);
        }
        const QByteArray oldBytes = bytesOf(old);
        writeBytes(p("candidatures.dat"), oldBytes);

        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Converted);
        QCOMPARE(m.count(), 2);
        QCOMPARE(m.shown[0].kind, msg::Kind::Warning);
        QVERIFY(m.shown[0].yesNo);
        QCOMPARE(m.shown[0].text, Question);
        QCOMPARE(m.shown[1].kind, msg::Kind::Information);
        QCOMPARE(m.shown[1].text, Done);

        const QByteArray file = readBytes(p("candidatures.dat"));
        QCOMPARE(file.size(), 3 * 1644);
        for (int n = 1; n <= 3; ++n) {
            // What the program itself would write for these fields: tag
            // "cnd2", no source, appointment or alarm, type "R", method "I",
            // zeros in pads and after texts.
            TCandidatureRec expected = newCandidature();
            fillApplication(expected, n, n != 2);
            prepareForWrite(expected);
            QCOMPARE(file.mid((n - 1) * 1644, 1644), recordBytes(expected));
        }
        const auto second = recordAt<TCandidatureRec>(file, 1);
        QVERIFY(!isLive(second));
        QCOMPARE(qint32(second.id), 102);

        QCOMPARE(readBytes(p("backup/candidatures.dat")), oldBytes);
        QVERIFY(leftovers("candidatures.dat.").isEmpty());
        QCOMPARE(readBytes(p("societes.dat")).size(), 0);
        QVERIFY(!QFile::exists(p("backup/societes.dat")));
    }

    void versionOneKeepsAppointmentAlarmTypeAndMethod()
    {
        auto old = dirty<TCandidatureRecV1>();
        old.version.setBytes("cnd1", 4);
        fillApplication(old, 4);
        old.date_rdv = QStringLiteral("20260310");
        old.alerte = QStringLiteral("15");
        old.type = QStringLiteral("S");
        old.methode = QStringLiteral("E");
        writeBytes(p("candidatures.dat"), recordBytes(old));
        // Missing files are not examined, and nothing creates them here.
        QFile::remove(p("societes.dat"));
        QFile::remove(p("contacts.dat"));

        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Converted);
        QVERIFY(!QFile::exists(p("societes.dat")) && !QFile::exists(p("contacts.dat")));
        const QByteArray file = readBytes(p("candidatures.dat"));
        QCOMPARE(file.size(), 1644);
        const auto r = recordAt<TCandidatureRec>(file, 0);
        QVERIFY(r.version.equals("cnd2"));
        QVERIFY(r.source.isEmpty());
        QCOMPARE(r.date_rdv.text(), QStringLiteral("20260310"));
        QCOMPARE(r.alerte.text(), QStringLiteral("15"));
        QCOMPARE(r.type.text(), QStringLiteral("S"));
        QCOMPARE(r.methode.text(), QStringLiteral("E"));
        TCandidatureRec expected = newCandidature();
        fillApplication(expected, 4);
        expected.date_rdv = old.date_rdv;
        expected.alerte = old.alerte;
        expected.type = old.type;
        expected.methode = old.methode;
        prepareForWrite(expected);
        QCOMPARE(file, recordBytes(expected));
    }

    void companiesAndContactsKeepEveryField()
    {
        const TSocieteRecV0 os = oldSociete(7, QStringLiteral("Société Générale"));
        const TSocieteRec s = convertSociete(os);
        TSocieteRec es = makeSociete(7, QStringLiteral("Société Générale"), "S");
        for (auto* f : {&es.service, &es.email})
            f->set(QStringLiteral("svc7"));
        es.adresse_a = QStringLiteral("12 rue de la Paix");
        es.bp = QStringLiteral("BP 7");
        es.cp = QStringLiteral("75002");
        es.ville = QStringLiteral("Paris");
        es.pays = QStringLiteral("France");
        for (auto* f : {&es.tela, &es.telb, &es.faxa, &es.faxb})
            f->set(QStringLiteral("01 23 45 67 87"));
        es.url = QStringLiteral("https://exemple.fr/7");
        QCOMPARE(recordBytes(s), recordBytes(es));

        const TContactRec c = convertContact(oldContact(9, 7, QStringLiteral("Gaëlle Lefèvre")));
        TContactRec ec = makeContact(9, 7, QStringLiteral("Gaëlle Lefèvre"));
        ec.fonction = QStringLiteral("DRH");
        ec.email = QStringLiteral("rh@exemple.fr");
        ec.tel = QStringLiteral("0102030405");
        ec.gsm = QStringLiteral("0607080910");
        ec.civilite = QStringLiteral("Mme");
        QCOMPARE(recordBytes(c), recordBytes(ec));
    }

    void onlyTheOutdatedFileIsConverted()
    {
        const QByteArray apps = recordBytes(makeCandidature(1, 1, "Vendeur"));
        const QByteArray socs = recordBytes(makeSociete(1, "ACME"));
        const QByteArray oldContacts =
            bytesOf(QList{oldContact(1, 1, "Dupont"), oldContact(2, 1, "Durand")});
        writeBytes(p("candidatures.dat"), apps);
        writeBytes(p("societes.dat"), socs);
        writeBytes(p("contacts.dat"), oldContacts);

        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Converted);
        QCOMPARE(m.texts(), (QStringList{Question, Done}));
        QCOMPARE(readBytes(p("candidatures.dat")), apps);
        QCOMPARE(readBytes(p("societes.dat")), socs);
        const QByteArray contacts = readBytes(p("contacts.dat"));
        QCOMPARE(contacts.size(), 2 * 236);
        QCOMPARE(recordAt<TContactRec>(contacts, 1).nom.text(), QStringLiteral("Durand"));
        QCOMPARE(qint32(recordAt<TContactRec>(contacts, 1).id), 2);
        QVERIFY(recordAt<TContactRec>(contacts, 0).version.equals("cnt1"));
        QCOMPARE(readBytes(p("backup/contacts.dat")), oldContacts);
        QVERIFY(!QFile::exists(p("backup/candidatures.dat")));
        QVERIFY(!QFile::exists(p("backup/societes.dat")));

        // The next start finds nothing to do.
        m.clear();
        const auto after = snapshot();
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::UpToDate);
        QCOMPARE(m.count(), 0);
        QCOMPARE(snapshot(), after);
    }

    void refusingStopsAndWritesNothing()
    {
        auto old = dirty<TCandidatureRecV0>();
        fillApplication(old, 1);
        writeBytes(p("candidatures.dat"), recordBytes(old));
        writeBytes(p("societes.dat"), recordBytes(oldSociete(1, "Boulangerie")));
        const auto before = snapshot();
        FakeMessages m;
        m.answers = {false};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Stop);
        QCOMPARE(m.texts(), (QStringList{Question, Cancelled}));
        QCOMPARE(m.shown[1].kind, msg::Kind::Information);
        QCOMPARE(snapshot(), before);
    }

    void failedConversionKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("applicationsConverted");
        QTest::newRow("applications, mid-file")
            << "candidatures.dat.new" << qint64(2 * 1644 + 100) << "candidatures.dat"
            << "ERREUR candidatures: " << false;
        QTest::newRow("companies, after the applications")
            << "societes.dat.new" << qint64(0) << "societes.dat"
            << "ERREUR sociétés: " << true;
        QTest::newRow("contacts, safety copy")
            << "backup/contacts.dat" << qint64(10) << "contacts.dat"
            << "ERREUR contacts: " << true;
    }
    void failedConversionKeepsTheOldFile()
    {
        QFETCH(QString, failing);
        QFETCH(qint64, budget);
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(bool, applicationsConverted);
        QList<TCandidatureRecV0> apps;
        for (int n = 1; n <= 3; ++n) {
            apps.append(dirty<TCandidatureRecV0>());
            fillApplication(apps.last(), n);
        }
        writeBytes(p("candidatures.dat"), bytesOf(apps));
        writeBytes(p("societes.dat"),
                   bytesOf(QList{oldSociete(1, "Boulangerie"), oldSociete(2, "Garage")}));
        writeBytes(p("contacts.dat"), bytesOf(QList{oldContact(1, 1, "Dupont")}));
        const auto before = snapshot();
        store->failingSuffix = failing;
        store->saveBudget = budget;

        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Stop);
        QCOMPARE(m.count(), 2);
        QCOMPARE(m.shown[1].kind, msg::Kind::Error);
        QVERIFY2(m.shown[1].text.startsWith(message) && m.shown[1].text.size() > message.size(),
                 qPrintable(m.shown[1].text));
        QCOMPARE(readBytes(p(file)), before.value(file));
        QVERIFY(leftovers(file + QLatin1Char('.')).isEmpty());
        // What was converted before the failure stays converted; the files
        // after it are not touched.
        QCOMPARE(readBytes(p("candidatures.dat")).size(),
                 applicationsConverted ? 3 * 1644 : 3 * 1600);
        QCOMPARE(readBytes(p("contacts.dat")), before.value("contacts.dat"));
    }

    // Damage is not an old version: nothing is asked, nothing converted,
    // and the loading reports what it cannot read.
    void damagedOrUnreadableFilesAreNeverConverted_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // empty: a folder in the file's place
        QByteArray apps;
        for (int n = 1; n <= 3; ++n)
            apps += recordBytes(makeCandidature(n, 1, QStringLiteral("Poste %1").arg(n)));
        QByteArray digit = apps, letter = apps, length = apps;
        digit[4] = 'x';  // "cndx" read as version 0
        letter[1] = 'a'; // "and2" read as version 2 of another name
        length[0] = 6;   // a tag of six characters
        QTest::newRow("version digit") << "candidatures.dat" << digit;
        QTest::newRow("tag letter") << "candidatures.dat" << letter;
        QTest::newRow("tag length") << "candidatures.dat" << length;
        QByteArray newer = apps;
        newer[4] = '9'; // "cnd9" would refuse to start
        QTest::newRow("version above") << "candidatures.dat" << newer;
        QByteArray one = recordBytes(makeSociete(1, "ACME"));
        one[3] = 'x'; // a single company: "sox1"
        QTest::newRow("single record") << "societes.dat" << one;
        QTest::newRow("folder") << "contacts.dat" << QByteArray();
    }
    void damagedOrUnreadableFilesAreNeverConverted()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        if (bytes.isEmpty()) {
            QVERIFY(QFile::remove(p(file)));
            QVERIFY(QDir(dir->path()).mkdir(file));
        } else {
            writeBytes(p(file), bytes);
        }
        const auto before = snapshot();
        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::UpToDate);
        QCOMPARE(m.count(), 0);
        QCOMPARE(snapshot(), before);
    }

    void aConversionThatGivesNonsenseReplacesNothing()
    {
        // An untagged file whose second application has no id: not what
        // the old program wrote.
        QList<TCandidatureRecV0> old;
        for (int n = 1; n <= 2; ++n) {
            auto r = dirty<TCandidatureRecV0>();
            fillApplication(r, n);
            old.append(r);
        }
        old[1].id = 0;
        writeBytes(p("candidatures.dat"), bytesOf(old));
        const QByteArray before = readBytes(p("candidatures.dat"));
        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Stop);
        QCOMPARE(m.shown.last().kind, msg::Kind::Error);
        QVERIFY2(m.shown.last().text.startsWith(
                     "ERREUR candidatures: candidatures.dat : l'enregistrement 2 ne peut pas"),
                 qPrintable(m.shown.last().text));
        QCOMPARE(readBytes(p("candidatures.dat")), before);
        QVERIFY(leftovers("candidatures.dat.").isEmpty());
    }

    void theOldFileIsKeptUnderANameThatLaterDeletionsLeave()
    {
        const QByteArray old = recordBytes(oldContact(1, 1, "Dupont"));
        writeBytes(p("contacts.dat"), old);
        // A copy from an earlier conversion stays as it is.
        writeBytes(p("backup/contacts-version0.dat"), "earlier");
        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Converted);
        // A deletion takes its safety copy over backup/contacts.dat.
        QVERIFY(store->safetyCopy("contacts.dat").ok);
        QCOMPARE(readBytes(p("backup/contacts.dat")).size(), 236);
        QCOMPARE(readBytes(p("backup/contacts-version0-2.dat")), old);
        QCOMPARE(readBytes(p("backup/contacts-version0.dat")), QByteArray("earlier"));
    }

    void damagedOldRecords()
    {
        // Two companies and the start of a third: only whole records count.
        auto first = oldSociete(1, "Boulangerie");
        first.cp.len = 250; // above the field's maximum of 6
        std::memcpy(first.cp.chars, "750021", 6);
        auto second = oldSociete(2, "Garage");
        second.ville.len = 200;
        QByteArray bytes = bytesOf(QList{first, second});
        bytes += recordBytes(oldSociete(3, "Incomplète")).left(100);
        writeBytes(p("societes.dat"), bytes);
        // The safety copy makes its directory when start-up could not.
        QVERIFY(QDir(p("backup")).removeRecursively());

        auto app = dirty<TCandidatureRecV1>();
        app.version.setBytes("cnd1", 4);
        fillApplication(app, 1);
        app.date_rdv.len = 99;
        app.alerte.len = 0xFF;
        app.type = QStringLiteral("R");
        app.methode = QStringLiteral("P");
        writeBytes(p("candidatures.dat"), recordBytes(app) + QByteArray(1619, 'z'));

        FakeMessages m;
        m.answers = {true};
        QCOMPARE(CheckBaseVersion(*store, boxes()), VersionCheck::Converted);
        const QByteArray socs = readBytes(p("societes.dat"));
        QCOMPARE(socs.size(), 2 * 604);
        const auto s1 = recordAt<TSocieteRec>(socs, 0);
        QCOMPARE(int(s1.cp.len), 6);
        QCOMPARE(s1.cp.text(), QStringLiteral("750021"));
        const auto s2 = recordAt<TSocieteRec>(socs, 1);
        QCOMPARE(int(s2.ville.len), 40);
        QCOMPARE(s2.categorie.text(), QStringLiteral("S"));
        QCOMPARE(readBytes(p("backup/societes.dat")), bytes);

        const QByteArray apps = readBytes(p("candidatures.dat"));
        QCOMPARE(apps.size(), 1644);
        const auto a = recordAt<TCandidatureRec>(apps, 0);
        QCOMPARE(int(a.date_rdv.len), 8);
        QCOMPARE(int(a.alerte.len), 2);
        QCOMPARE(a.methode.text(), QStringLiteral("P"));
    }

    void theStepsShowNothingAndTellTheWindowWhatToSay()
    {
        QCOMPARE(migrationtexts::QuestionText, Question);
        QCOMPARE(migrationtexts::NewerText, Newer);
        QCOMPARE(migrationtexts::CancelledText, Cancelled);
        QCOMPARE(migrationtexts::DoneText, Done);
        FakeMessages m;

        QCOMPARE(baseState(*store), BaseState::UpToDate);
        auto old = dirty<TCandidatureRecV0>();
        fillApplication(old, 1);
        writeBytes(p("candidatures.dat"), recordBytes(old));
        QCOMPARE(baseState(*store), BaseState::NeedsConversion);

        // A newer file anywhere: nothing is converted, not even the older one.
        auto newer = makeContact(1, 1, "Martin");
        newer.version.setBytes("cnt2", 4);
        writeBytes(p("contacts.dat"), recordBytes(newer));
        const auto before = snapshot();
        QCOMPARE(baseState(*store), BaseState::Newer);
        QCOMPARE(convertOldFiles(*store).error, Newer);
        QCOMPARE(snapshot(), before);

        QVERIFY(QFile::remove(p("contacts.dat")));
        QVERIFY(convertOldFiles(*store).ok);
        QCOMPARE(readBytes(p("candidatures.dat")).size(), 1644);
        QCOMPARE(baseState(*store), BaseState::UpToDate);
        QCOMPARE(m.count(), 0);
    }

    void theBusyPhaseEndsBeforeTheLastMessage_data()
    {
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<QStringList>("trace");
        QTest::newRow("converted") << qint64(-1) << QStringList{"busy", "idle", "information"};
        QTest::newRow("failed") << qint64(0) << QStringList{"busy", "idle", "error"};
    }
    void theBusyPhaseEndsBeforeTheLastMessage()
    {
        QFETCH(qint64, budget);
        QFETCH(QStringList, trace);
        writeBytes(p("societes.dat"), recordBytes(oldSociete(1, "Boulangerie")));
        store->failingSuffix = QStringLiteral("societes.dat.new");
        store->saveBudget = budget;
        FakeMessages m;
        m.answers = {true};
        QStringList seen;
        QCOMPARE(CheckBaseVersion(*store, boxes(&seen)),
                 budget < 0 ? VersionCheck::Converted : VersionCheck::Stop);
        QCOMPARE(seen, trace);
        if (budget >= 0)
            QVERIFY(m.shown.last().text.startsWith(migrationtexts::SocietesErrorHead +
                                                   "societes.dat.new : "));
    }
};

QTEST_GUILESS_MAIN(TestMigration)
#include "tst_migration.moc"
