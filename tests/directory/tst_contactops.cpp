// The contacts of a company on real files: how they are listed and counted,
// created, changed in place, deleted with the links of the applications,
// and what a failed safety copy or rewrite leaves behind.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "directory/contactops.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

class RecordingUi : public StoreUi {
public:
    int ended = 0;
    void endProgram() override { ++ended; }
};

// A program folder whose files hold exactly what the tables hold.
struct Folder {
    QTemporaryDir dir;
    TestStore store{dir.path()};
    RecordingUi ui;

    Folder(const QList<TContactRec>& contacts, const QList<TCandidatureRec>& apps = {})
    {
        store.setUi(&ui);
        QDir(dir.path()).mkdir("backup");
        QByteArray ks, cs;
        for (const TContactRec& k : contacts) {
            ks += recordBytes(k);
            store.MaxIdContact = std::max(store.MaxIdContact, qint32(k.id));
        }
        for (const TCandidatureRec& c : apps) {
            cs += recordBytes(c);
            store.MaxIdCandidature = std::max(store.MaxIdCandidature, qint32(c.id));
        }
        writeBytes(contactsPath(), ks);
        writeBytes(store.path("candidatures.dat"), cs);
        store.Contacts = contacts;
        store.Candidatures = apps;
    }
    QString contactsPath() const { return store.path("contacts.dat"); }
    QByteArray contactsBytes() const { return readBytes(contactsPath()); }
    QByteArray applicationsBytes() const { return readBytes(store.path("candidatures.dat")); }
    TCandidatureRec applicationOnDisk(int position) const
    {
        TCandidatureRec c;
        const QByteArray b = applicationsBytes().mid(position * 1644, 1644);
        std::memcpy(&c, b.constData(), sizeof c);
        return c;
    }
};

TContactRec contact(qint32 id, qint32 societe, const QString& nom, const QString& fonction = {})
{
    TContactRec k = makeContact(id, societe, nom);
    k.fonction = fonction;
    return k;
}

// A contact with a name, perhaps a function, and nothing else.
ContactFields named(const QString& civilite, const QString& nom, const QString& fonction = {})
{
    ContactFields k;
    k.civilite = civilite;
    k.nom = nom;
    k.fonction = fonction;
    return k;
}

TCandidatureRec linkedTo(qint32 id, qint32 contactId)
{
    TCandidatureRec c = makeCandidature(id, 1, QStringLiteral("Poste %1").arg(id));
    c.id_contact = contactId;
    return c;
}

template <class T>
QByteArray tableBytes(const QList<T>& t)
{
    QByteArray b;
    for (const T& r : t) b += recordBytes(r);
    return b;
}

} // namespace

class TestContactOps : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    // ---- How contacts are shown -------------------------------------------------------

    void displayTextAddsTheFunctionInBrackets()
    {
        QCOMPARE(contactDisplayText(contact(1, 1, "Dupont", "Directeur")),
                 QStringLiteral("Dupont (Directeur)"));
        QCOMPARE(contactDisplayText(contact(2, 1, "Martin")), QStringLiteral("Martin"));
    }

    void namesSortWithoutRegardToCaseInFrenchOrder()
    {
        QStringList names{"Zoé", "éric", "daniel", "Étienne", "Arnaud", "eric", "Bernard"};
        sortFrench(names);
        QCOMPARE(names, QStringList({"Arnaud", "Bernard", "daniel", "eric", "éric", "Étienne", "Zoé"}));
        // Names equal but for their case keep their order.
        QStringList same{"dupont", "Dupont", "DUPONT"};
        sortFrench(same);
        QCOMPARE(same, QStringList({"dupont", "Dupont", "DUPONT"}));
        QVERIFY(lessFrench("abc", "ABD"));
        QVERIFY(!lessFrench("ABD", "abc"));
        // A name added to a sorted list goes after its equals.
        QCOMPARE(sortedPosition({"Arnaud", "dupont", "Martin"}, "Dupont"), 2);
        QCOMPARE(sortedPosition({"Arnaud", "dupont", "Martin"}, "aaron"), 0);
        QCOMPARE(sortedPosition({"Arnaud", "dupont", "Martin"}, "Zola"), 3);
    }

    void listsHoldTheCompanysLiveContactsOnly()
    {
        TContactRec empty = contact(9, 1, QString()); // not live: kept in place, never shown
        const QList<TContactRec> ks{contact(1, 1, "Martin", "DRH"), contact(2, 2, "Autre"), empty,
                                    contact(3, 1, "dupont"), contact(4, 1, "Dupont", "Directeur")};
        QCOMPARE(companyContacts(ks, 1), QList<int>({0, 3, 4}));
        QCOMPARE(countContacts(ks, 1), 3);
        QCOMPARE(countContacts(ks, 2), 1);
        QCOMPARE(countContacts(ks, 7), 0);
        QCOMPARE(contactNames(ks, 1), QStringList({"dupont", "Dupont", "Martin"}));
        QCOMPARE(contactDisplayTexts(ks, 1),
                 QStringList({"dupont", "Dupont (Directeur)", "Martin (DRH)"}));
        // Names are matched exactly, the first in table order.
        QCOMPARE(findContactByName(ks, 1, "Dupont"), 4);
        QCOMPARE(findContactByName(ks, 1, "dupont"), 3);
        QCOMPARE(findContactByName(ks, 1, "Autre"), -1);
        QCOMPARE(findContactByName(ks, 1, QString()), -1);
    }

    void theLastContactWithADisplayTextIsTheOneChosen()
    {
        const QList<TContactRec> ks{contact(3, 1, "Dupont", "Directeur"), contact(5, 2, "Dupont", "Directeur"),
                                    contact(7, 1, "Dupont", "Directeur"), contact(8, 1, "Dupont")};
        QCOMPARE(contactByDisplayText(ks, 1, "Dupont (Directeur)"), 7);
        QCOMPARE(contactByDisplayText(ks, 1, "Dupont"), 8);
        QCOMPARE(contactByDisplayText(ks, 2, "Dupont (Directeur)"), 5);
        QCOMPARE(contactByDisplayText(ks, 1, "Durand"), 0);
    }

    void buttonCaptionFollowsTheCount()
    {
        QCOMPARE(contactsCaption(0), QStringLiteral("Pas de contact"));
        QCOMPARE(contactsCaption(1), QStringLiteral("1 contact"));
        QCOMPARE(contactsCaption(2), QStringLiteral("2 contacts"));
        QCOMPARE(contactsCaption(12), QStringLiteral("12 contacts"));
    }

    // ---- Creating ----------------------------------------------------------------------

    void aNewContactIsAppendedWithTheNextId()
    {
        FakeMessages m;
        Folder f({contact(4, 1, "Martin")});
        ContactFields k{"Mme",           "Durand Sophie", "Responsable du recrutement",
                        "s.durand@x.fr", "01 02 03 04 05", "01 02 03 04 06", "06 07 08 09 10"};
        TContactRec created{};
        QVERIFY(createContact(f.store, 3, k, &created));
        QCOMPARE(m.count(), 0);

        TContactRec expected{};
        expected.version = QStringLiteral("cnt1");
        expected.nom = k.nom;
        expected.fonction = k.fonction;
        expected.email = k.email;
        expected.tel = k.tel;
        expected.fax = k.fax;
        expected.gsm = k.gsm;
        expected.civilite = k.civilite;
        expected.id = 5;
        expected.id_societe = 3;
        QCOMPARE(f.contactsBytes(), recordBytes(contact(4, 1, "Martin")) + recordBytes(expected));
        QCOMPARE(recordBytes(f.store.Contacts.last()), recordBytes(expected));
        QCOMPARE(recordBytes(created), recordBytes(expected));
        QCOMPARE(f.store.MaxIdContact, 5);
    }

    void fieldsAreCutToWhatTheRecordHolds()
    {
        FakeMessages m;
        Folder f({});
        const QString longName = QString(60, QLatin1Char('n'));
        const QString longPhone = QStringLiteral("0123456789012345678901234");
        QVERIFY(createContact(f.store, 1, {"Mr", longName, QString(70, 'f'), QString(55, 'e'),
                                           longPhone, longPhone, longPhone}));
        const QByteArray b = f.contactsBytes();
        QCOMPARE(b.size(), 236);
        QCOMPARE(quint8(b[7]), quint8(50));
        QCOMPARE(b.mid(8, 50), QByteArray(50, 'n'));
        QCOMPARE(quint8(b[58]), quint8(50));
        QCOMPARE(quint8(b[109]), quint8(50));
        QCOMPARE(quint8(b[160]), quint8(20));
        QCOMPARE(b.mid(161, 20), longPhone.left(20).toLatin1());
        QCOMPARE(quint8(b[181]), quint8(20));
        QCOMPARE(quint8(b[202]), quint8(20));
        QCOMPARE(b.mid(223, 3), QByteArray("\x02Mr", 3));
    }

    void twoContactsMayShareAName()
    {
        FakeMessages m;
        Folder f({});
        QVERIFY(createContact(f.store, 1, named("Mr", "Dupont")));
        QVERIFY(createContact(f.store, 1, named("Mme", "Dupont")));
        QCOMPARE(m.count(), 0);
        QCOMPARE(contactNames(f.store.Contacts, 1), QStringList({"Dupont", "Dupont"}));
        QCOMPARE(f.contactsBytes().size(), 2 * 236);
        QCOMPARE(qint32(f.store.Contacts[0].id), 1);
        QCOMPARE(qint32(f.store.Contacts[1].id), 2);
    }

    void aContactWithoutNameIsRefused()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin")});
        const QByteArray before = f.contactsBytes();
        QVERIFY(!createContact(f.store, 1, named("Mr", QString(), "Directeur")));
        QCOMPARE(m.texts(), QStringList(QStringLiteral("Le nom doit être renseigné.")));
        QCOMPARE(m.shown[0].kind, msg::Kind::Error);
        QCOMPARE(f.contactsBytes(), before);
        QCOMPARE(f.store.Contacts.size(), 1);
        QCOMPARE(f.store.MaxIdContact, 1);
    }

    void textTheFileCannotHoldIsRefusedBeforeWriting()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin")});
        const QByteArray before = f.contactsBytes();
        QVERIFY(!createContact(f.store, 1, named("Mr", QStringLiteral("Wang 王"))));
        QCOMPARE(m.count(), 1);
        QVERIFY(m.shown[0].text.contains(QStringLiteral("王")));
        QCOMPARE(f.contactsBytes(), before);
        QCOMPARE(f.store.MaxIdContact, 1);
        // Accented French letters are fine.
        QVERIFY(createContact(f.store, 1, named("Mlle", QStringLiteral("Hélène Œuvray"))));
        QCOMPARE(f.store.Contacts.last().nom.text(), QStringLiteral("Hélène Œuvray"));
    }

    // ---- Changing in place ---------------------------------------------------------------

    void aChangedContactIsWrittenInPlace()
    {
        FakeMessages m;
        TContactRec first = contact(3, 1, "Martin", "DRH");
        TContactRec second = contact(6, 1, "Durand");
        Folder f({first, second});
        QVERIFY(updateContactAt(f.store, 1, {"Mlle", "Durand Léa", "Assistante", "lea@x.fr", "01",
                                             "02", "06"}));
        QCOMPARE(m.count(), 0);
        const QByteArray b = f.contactsBytes();
        QCOMPARE(b.left(236), recordBytes(first));
        TContactRec expected = second;
        expected.nom = QStringLiteral("Durand Léa");
        expected.fonction = QStringLiteral("Assistante");
        expected.email = QStringLiteral("lea@x.fr");
        expected.tel = QStringLiteral("01");
        expected.fax = QStringLiteral("02");
        expected.gsm = QStringLiteral("06");
        expected.civilite = QStringLiteral("Mlle");
        QCOMPARE(b.mid(236), recordBytes(expected));
        QCOMPARE(recordBytes(f.store.Contacts[1]), recordBytes(expected));
        // Id and company stay.
        QCOMPARE(qint32(f.store.Contacts[1].id), 6);
        QCOMPARE(qint32(f.store.Contacts[1].id_societe), 1);
    }

    void aFailedChangeLeavesFileAndTable()
    {
        FakeMessages m;
        Folder f({contact(3, 1, "Martin"), contact(6, 1, "Durand")});
        const QByteArray before = f.contactsBytes();
        f.store.fileBudget = 10;
        QVERIFY(!updateContactAt(f.store, 1, named("Mr", "Durand Paul")));
        QCOMPARE(m.count(), 1);
        QVERIFY(m.shown[0].text.startsWith(
            QStringLiteral("Une erreur est survenue lors de la mise à jour de \"contacts.dat\"")));
        QCOMPARE(f.contactsBytes(), before);
        QCOMPARE(f.store.Contacts[1].nom.text(), QStringLiteral("Durand"));
        QVERIFY(!f.store.Occupe);
    }

    // ---- Deleting --------------------------------------------------------------------------

    void deletingANameRemovesEveryNamesakeAndClearsTheirLinks()
    {
        FakeMessages m;
        const QList<TContactRec> ks{contact(1, 1, "Martin"), contact(2, 1, "Durand"),
                                    contact(3, 2, "Durand"), contact(4, 1, "Durand", "DRH"),
                                    contact(5, 1, "durand")};
        const QList<TCandidatureRec> apps{linkedTo(10, 2), linkedTo(11, 1), linkedTo(12, 4),
                                          linkedTo(13, 3), linkedTo(14, 0), linkedTo(15, 2)};
        Folder f(ks, apps);
        const QByteArray contactsBefore = f.contactsBytes();
        QList<qint32> removed;
        QCOMPARE(deleteContactsNamed(f.store, 1, "Durand", &removed), ContactDeletion::Done);
        QCOMPARE(m.count(), 0);
        QCOMPARE(removed, QList<qint32>({2, 4}));

        // The safety copy holds the file as it was; the file holds the others, in order.
        QCOMPARE(readBytes(f.store.path("backup/contacts.dat")), contactsBefore);
        const QList<TContactRec> kept{ks[0], ks[2], ks[4]};
        QCOMPARE(f.contactsBytes(), tableBytes(kept));
        QCOMPARE(tableBytes(f.store.Contacts), tableBytes(kept));
        QCOMPARE(contactNames(f.store.Contacts, 1), QStringList({"durand", "Martin"}));

        // Applications linked to a removed contact have none, on disk and in memory.
        const qint32 expectedLinks[] = {0, 1, 0, 3, 0, 0};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(qint32(f.applicationOnDisk(i).id_contact), expectedLinks[i]);
            QCOMPARE(qint32(f.store.Candidatures[i].id_contact), expectedLinks[i]);
        }
        // Nothing else of an application changed.
        TCandidatureRec expected = apps[0];
        expected.id_contact = 0;
        QCOMPARE(f.applicationsBytes().left(1644), recordBytes(expected));
        QCOMPARE(f.applicationsBytes().mid(1644, 1644), recordBytes(apps[1]));
        QVERIFY(!f.store.Occupe);
    }

    void deletingTheLastContactLeavesAnEmptyFile()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin")}, {linkedTo(10, 1)});
        QCOMPARE(deleteContactsNamed(f.store, 1, "Martin"), ContactDeletion::Done);
        QCOMPARE(f.contactsBytes(), QByteArray());
        QVERIFY(f.store.Contacts.isEmpty());
        QCOMPARE(countContacts(f.store.Contacts, 1), 0);
        QCOMPARE(contactsCaption(countContacts(f.store.Contacts, 1)), QStringLiteral("Pas de contact"));
        QCOMPARE(qint32(f.applicationOnDisk(0).id_contact), 0);
    }

    void aFailedSafetyCopyChangesNothing()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin"), contact(2, 1, "Durand")}, {linkedTo(10, 2)});
        writeBytes(f.store.path("backup/contacts.dat"), "older copy");
        const QByteArray contactsBefore = f.contactsBytes();
        const QByteArray appsBefore = f.applicationsBytes();
        f.store.failingSuffix = QStringLiteral("backup/contacts.dat");
        f.store.saveBudget = 0;
        QList<qint32> removed{99};
        QCOMPARE(deleteContactsNamed(f.store, 1, "Durand", &removed), ContactDeletion::Unchanged);
        QCOMPARE(m.texts(), QStringList(QStringLiteral("Impossible de créer la sauvegarde.\rErreur disque.")));
        QCOMPARE(m.shown[0].kind, msg::Kind::Error);
        QVERIFY(removed.isEmpty());
        QCOMPARE(f.contactsBytes(), contactsBefore);
        QCOMPARE(f.applicationsBytes(), appsBefore);
        QCOMPARE(readBytes(f.store.path("backup/contacts.dat")), QByteArray("older copy"));
        QCOMPARE(f.store.Contacts.size(), 2);
        QCOMPARE(qint32(f.store.Candidatures[0].id_contact), 2);
        QVERIFY(!f.store.Occupe);
        QCOMPARE(f.ui.ended, 0);
    }

    void aFailedRewriteChangesNothingAndTheProgramGoesOn()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin"), contact(2, 1, "Durand"), contact(3, 1, "Petit")},
                 {linkedTo(10, 2)});
        const QByteArray contactsBefore = f.contactsBytes();
        const QByteArray appsBefore = f.applicationsBytes();
        f.store.failingSuffix = f.contactsPath(); // not the safety copy
        f.store.saveBudget = 300;                 // the disk fills after one record and a bit
        QCOMPARE(deleteContactsNamed(f.store, 1, "Durand"), ContactDeletion::Unchanged);
        QCOMPARE(m.count(), 1);
        QCOMPARE(m.shown[0].kind, msg::Kind::Error);
        QVERIFY(m.shown[0].text.startsWith(QStringLiteral(
            "Le fichier \"contacts.dat\" n'a pas pu être réécrit : aucun contact n'a été supprimé.\r\r")));
        QCOMPARE(f.contactsBytes(), contactsBefore);
        QCOMPARE(tableBytes(f.store.Contacts), contactsBefore);
        QCOMPARE(f.applicationsBytes(), appsBefore);
        QCOMPARE(qint32(f.store.Candidatures[0].id_contact), 2);
        // The safety copy was taken all the same.
        QCOMPARE(readBytes(f.store.path("backup/contacts.dat")), contactsBefore);
        QVERIFY(!f.store.Occupe);
        QCOMPARE(f.ui.ended, 0);
    }

    void aFailedLinkWriteStopsTheClearing()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin"), contact(2, 1, "Durand")},
                 {linkedTo(10, 2), linkedTo(11, 2)});
        const QByteArray appsBefore = f.applicationsBytes();
        f.store.failingSuffix = QStringLiteral("candidatures.dat");
        f.store.fileBudget = 0;
        QCOMPARE(deleteContactsNamed(f.store, 1, "Durand"), ContactDeletion::LinksRemaining);
        QCOMPARE(m.count(), 1); // the first failed write, not one per application
        QCOMPARE(f.store.Contacts.size(), 1);
        QCOMPARE(f.contactsBytes(), recordBytes(contact(1, 1, "Martin")));
        QCOMPARE(f.applicationsBytes(), appsBefore);
        QCOMPARE(qint32(f.store.Candidatures[0].id_contact), 2);
    }

    void aContactFileNotReadWholeIsNotRewritten()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin"), contact(2, 1, "Durand")});
        const QByteArray before = f.contactsBytes();
        f.store.setLoadFailure(FileKind::Contacts, QStringLiteral("lecture interrompue"));
        QCOMPARE(deleteContactsNamed(f.store, 1, "Durand"), ContactDeletion::Unchanged);
        QCOMPARE(m.count(), 1);
        QVERIFY(m.shown[0].text.endsWith(QStringLiteral("lecture interrompue")));
        QCOMPARE(f.contactsBytes(), before);
        QVERIFY(!QFileInfo::exists(f.store.path("backup/contacts.dat")));
    }

    // ---- Linking ------------------------------------------------------------------------------

    void linkingWritesTheApplicationInPlace()
    {
        FakeMessages m;
        Folder f({contact(7, 1, "Dupont", "Directeur")}, {linkedTo(10, 0), linkedTo(11, 0)});
        QVERIFY(linkContact(f.store, 11, 7));
        QCOMPARE(qint32(f.applicationOnDisk(1).id_contact), 7);
        QCOMPARE(qint32(f.store.Candidatures[1].id_contact), 7);
        QCOMPARE(qint32(f.applicationOnDisk(0).id_contact), 0);
        QVERIFY(!linkContact(f.store, 99, 7)); // no such application
        QCOMPARE(m.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestContactOps)
#include "tst_contactops.moc"
