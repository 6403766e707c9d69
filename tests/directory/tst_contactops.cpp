// The contacts of a company on real files: listing and counting, creating,
// deleting with the links of the applications, and what a failed safety
// copy or rewrite leaves behind.
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "directory/contactops.h"
#include "store/journal.h"
#include "store/texts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

// A program folder whose files hold exactly what the tables hold.
struct Folder {
    QTemporaryDir dir;
    TestStore store{dir.path()};

    Folder(const QList<TContactRec>& contacts, const QList<TCandidatureRec>& apps = {})
    {
        QDir(dir.path()).mkdir("backup");
        for (const TContactRec& k : contacts)
            store.MaxIdContact = std::max(store.MaxIdContact, qint32(k.id));
        writeBytes(contactsPath(), bytesOf(contacts));
        writeBytes(store.path("candidatures.dat"), bytesOf(apps));
        store.Contacts = contacts;
        store.Candidatures = apps;
    }
    template <class T> static QByteArray bytesOf(const QList<T>& t)
    {
        QByteArray b;
        for (const T& r : t)
            b += recordBytes(r);
        return b;
    }
    QString contactsPath() const { return store.path("contacts.dat"); }
    QByteArray contactsBytes() const { return readBytes(contactsPath()); }
    QByteArray applicationsBytes() const { return readBytes(store.path("candidatures.dat")); }
    qint32 linkOnDisk(int position) const
    {
        TCandidatureRec c;
        std::memcpy(&c, applicationsBytes().mid(position * 1644, 1644).constData(), sizeof c);
        return c.id_contact;
    }
};

TContactRec contact(qint32 id, qint32 societe, const QString& nom, const QString& fonction = {})
{
    TContactRec k = makeContact(id, societe, nom);
    k.fonction = fonction;
    return k;
}

ContactFields named(const QString& civilite, const QString& nom)
{
    ContactFields k;
    k.civilite = civilite;
    k.nom = nom;
    return k;
}

TCandidatureRec linkedTo(qint32 id, qint32 contactId)
{
    TCandidatureRec c = makeCandidature(id, 1, QStringLiteral("Poste %1").arg(id));
    c.id_contact = contactId;
    return c;
}

} // namespace

class TestContactOps : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("T%1").arg(id); });
    }

    void listsCountsAndCaptions()
    {
        QCOMPARE(contactDisplayText(contact(1, 1, "Dupont", "Directeur")),
                 QStringLiteral("Dupont (Directeur)"));
        QCOMPARE(contactDisplayText(contact(2, 1, "Martin")), QStringLiteral("Martin"));

        QStringList names{"Zoé", "éric", "daniel", "Étienne", "Arnaud", "eric", "dupont", "Dupont"};
        sortFrench(names); // case aside, French order; equals keep their order
        QCOMPARE(names, QStringList({"Arnaud", "daniel", "dupont", "Dupont", "eric", "éric",
                                     "Étienne", "Zoé"}));
        QCOMPARE(sortedPosition({"Arnaud", "dupont", "Martin"}, "Dupont"), 2);
        QCOMPARE(sortedPosition({"Arnaud", "dupont", "Martin"}, "aaron"), 0);

        const QList<TContactRec> ks{contact(1, 1, "Martin", "DRH"),
                                    contact(2, 2, "Autre"),
                                    contact(9, 1, QString()), // not live: never shown
                                    contact(3, 1, "dupont"),
                                    contact(4, 1, "Dupont", "Directeur"),
                                    contact(5, 1, "Dupont", "Directeur")};
        QCOMPARE(countContacts(ks, 1), 4);
        QCOMPARE(countContacts(ks, 7), 0);
        QCOMPARE(contactNames(ks, 1), QStringList({"dupont", "Dupont", "Dupont", "Martin"}));
        QCOMPARE(contactDisplayTexts(ks, 1), QStringList({"dupont", "Dupont (Directeur)",
                                                          "Dupont (Directeur)", "Martin (DRH)"}));
        QCOMPARE(findContactByName(ks, 1, "Dupont"), 4); // exact, first in table order
        QCOMPARE(findContactByName(ks, 1, "Autre"), -1);
        QCOMPARE(contactByDisplayText(ks, 1, "Dupont (Directeur)"), 5); // the last one
        QCOMPARE(contactByDisplayText(ks, 1, "Durand"), 0);

        QCOMPARE(contactsCaption(0), QStringLiteral("Pas de contact"));
        QCOMPARE(contactsCaption(1), QStringLiteral("1 contact"));
        QCOMPARE(contactsCaption(12), QStringLiteral("12 contacts"));
    }

    void aNewContactIsAppendedWithTheNextId()
    {
        FakeMessages m;
        Folder f({contact(4, 1, "Martin")});
        ContactFields k{"Mme",           "Durand Sophie",  "Responsable du recrutement",
                        "s.durand@x.fr", "01 02 03 04 05", "01 02 03 04 06",
                        "06 07 08 09 10"};
        QVERIFY(createContact(f.store, 3, k).ok);
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

        // The same name again is allowed; texts are cut to the capacities.
        const QString phone = QStringLiteral("0123456789012345678901234");
        QVERIFY(
            createContact(f.store, 3, {"Mr", "Durand Sophie", QString(70, 'f'), {}, phone, {}, {}})
                .ok);
        const QByteArray b = f.contactsBytes().mid(2 * 236);
        QCOMPARE(quint8(b[58]), quint8(50));
        QCOMPARE(b.mid(160, 21), "\x14" + phone.left(20).toLatin1());
        QCOMPARE(contactNames(f.store.Contacts, 3),
                 QStringList({"Durand Sophie", "Durand Sophie"}));
        QCOMPARE(m.count(), 0);
    }

    void refusedContactsWriteNothing()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin")});
        const QByteArray before = f.contactsBytes();
        QCOMPARE(createContact(f.store, 1, named("Mr", QString())).error,
                 QStringLiteral("Le nom doit être renseigné."));
        const QString unstorable =
            QStringLiteral("Le champ « Nom/Prénom » contient des caractères que le programme ne "
                           "peut pas enregistrer : 王\rRemplacez-les, puis recommencez.");
        QCOMPARE(createContact(f.store, 1, named("Mr", QStringLiteral("Wang 王"))).error,
                 unstorable);
        QCOMPARE(updateContactAt(f.store, 0, named("Mr", QStringLiteral("王 Wang"))).error,
                 unstorable);
        QCOMPARE(f.contactsBytes(), before);
        QCOMPARE(f.store.MaxIdContact, 1);
        QCOMPARE(f.store.Contacts[0].nom.text(), QStringLiteral("Martin"));
        // A position that is no longer in the table: refused, nothing to tell.
        const Result outside = updateContactAt(f.store, 1, named("Mr", "Petit"));
        QVERIFY(!outside.ok);
        QVERIFY(outside.error.isEmpty());
        QCOMPARE(m.count(), 0);
    }

    void deletingANameRemovesEveryNamesakeAndClearsTheirLinks()
    {
        FakeMessages m;
        const QList<TContactRec> ks{contact(1, 1, "Martin"), contact(2, 1, "Durand"),
                                    contact(3, 2, "Durand"), contact(4, 1, "Durand", "DRH"),
                                    contact(5, 1, "durand")};
        const QList<TCandidatureRec> apps{linkedTo(10, 2), linkedTo(11, 1), linkedTo(12, 4),
                                          linkedTo(13, 3), linkedTo(14, 0), linkedTo(15, 2)};
        Folder f(ks, apps);
        const QByteArray before = f.contactsBytes();
        const ContactDeletionResult d = deleteContactsNamed(f.store, 1, "Durand");
        QCOMPARE(d.outcome, ContactDeletion::Done);
        QVERIFY(d.result.ok);
        QCOMPARE(d.removedIds, QList<qint32>({2, 4}));
        QCOMPARE(readBytes(f.store.path("backup/contacts.dat")), before);
        const QList<TContactRec> kept{ks[0], ks[2], ks[4]};
        QCOMPARE(f.contactsBytes(), Folder::bytesOf(kept));
        QCOMPARE(Folder::bytesOf(f.store.Contacts), Folder::bytesOf(kept));
        // Applications linked to a removed contact have none, on disk and in memory.
        const qint32 links[] = {0, 1, 0, 3, 0, 0};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(f.linkOnDisk(i), links[i]);
            QCOMPARE(qint32(f.store.Candidatures[i].id_contact), links[i]);
        }
        TCandidatureRec first = apps[0];
        first.id_contact = 0; // and nothing else changed
        QCOMPARE(f.applicationsBytes().left(1644), recordBytes(first));
        QCOMPARE(m.count(), 0);
        QVERIFY(!f.store.Occupe);
    }

    void aFailedSafetyCopyChangesNothing()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin"), contact(2, 1, "Durand")}, {linkedTo(10, 2)});
        writeBytes(f.store.path("backup/contacts.dat"), "older copy");
        const QByteArray contactsBefore = f.contactsBytes(), appsBefore = f.applicationsBytes();
        f.store.failingSuffix = QStringLiteral("backup/contacts.dat");
        f.store.saveBudget = 0;
        const ContactDeletionResult d = deleteContactsNamed(f.store, 1, "Durand");
        QCOMPARE(d.outcome, ContactDeletion::Unchanged);
        // The message says why, after its own words.
        QCOMPARE(d.result.error,
                 QStringLiteral("Impossible de créer la sauvegarde.\rErreur disque.\r\r"
                                "Espace disque insuffisant"));
        QVERIFY(d.removedIds.isEmpty());
        QCOMPARE(m.count(), 0);
        QCOMPARE(f.contactsBytes(), contactsBefore);
        QCOMPARE(f.applicationsBytes(), appsBefore);
        QCOMPARE(readBytes(f.store.path("backup/contacts.dat")), QByteArray("older copy"));
        QCOMPARE(f.store.Contacts.size(), 2);
        QCOMPARE(qint32(f.store.Candidatures[0].id_contact), 2);
        QVERIFY(!f.store.Occupe);
    }

    void aFailedRewriteChangesNothingAndTheProgramGoesOn()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin"), contact(2, 1, "Durand"), contact(3, 1, "Petit")},
                 {linkedTo(10, 2)});
        const QByteArray contactsBefore = f.contactsBytes(), appsBefore = f.applicationsBytes();
        // The new content of the file, not its safety copy.
        f.store.failingSuffix = f.store.path(journal::preparedName("contacts.dat"));
        f.store.saveBudget = 300; // the disk fills after one record and a bit
        const ContactDeletionResult d = deleteContactsNamed(f.store, 1, "Durand");
        QCOMPARE(d.outcome, ContactDeletion::Unchanged);
        QCOMPARE(m.count(), 0);
        QVERIFY(d.result.error.startsWith(
            QStringLiteral("Le fichier \"contacts.dat\" n'a pas pu être réécrit : aucun contact "
                           "n'a été supprimé.\r\r")));
        QCOMPARE(f.contactsBytes(), contactsBefore);
        QCOMPARE(Folder::bytesOf(f.store.Contacts), contactsBefore);
        QCOMPARE(f.applicationsBytes(), appsBefore);
        QCOMPARE(qint32(f.store.Candidatures[0].id_contact), 2);
        QVERIFY(!f.store.Occupe);
    }

    void aFailedLinkWriteLeavesTheContactsDeletedAndSaysWhy()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin"), contact(2, 1, "Durand")},
                 {linkedTo(10, 2), linkedTo(11, 2)});
        f.store.failingSuffix = QStringLiteral("candidatures.dat");
        f.store.fileBudget = 0;
        const ContactDeletionResult d = deleteContactsNamed(f.store, 1, "Durand");
        QCOMPARE(d.outcome, ContactDeletion::LinksRemaining);
        QCOMPARE(d.removedIds, QList<qint32>{2});
        QVERIFY(d.result.error.startsWith(QStringLiteral("T229 \"candidatures.dat\"\r\r")));
        QCOMPARE(f.contactsBytes(), recordBytes(contact(1, 1, "Martin")));
        QCOMPARE(f.linkOnDisk(0), 2);
        QVERIFY(!f.store.Occupe);
        QCOMPARE(m.count(), 0);
    }

    void aContactIsLinkedToALiveApplicationOnly()
    {
        FakeMessages m;
        TCandidatureRec hidden = linkedTo(12, 0);
        hidden.intitule = QString(); // not live
        Folder f({contact(1, 1, "Martin")}, {linkedTo(10, 0), hidden});
        QVERIFY(linkContact(f.store, 10, 1).ok);
        QCOMPARE(f.linkOnDisk(0), 1);
        const Result r = linkContact(f.store, 12, 1);
        QVERIFY(!r.ok && r.error.isEmpty());
        QCOMPARE(f.linkOnDisk(1), 0);
        f.store.failingSuffix = QStringLiteral("candidatures.dat");
        f.store.fileBudget = 0;
        QVERIFY(linkContact(f.store, 10, 0).error.startsWith("T229 \"candidatures.dat\"\r\r"));
        QCOMPARE(f.linkOnDisk(0), 1);
        QCOMPARE(m.count(), 0);
    }

    void ofTwoApplicationsWithOneIdTheChosenOneIsLinked()
    {
        FakeMessages m;
        Folder f({contact(1, 1, "Martin")}, {linkedTo(10, 0), linkedTo(10, 0)});
        QVERIFY(linkContact(f.store, 10, 1, 1).ok);
        QCOMPARE(f.linkOnDisk(1), 1);
        QCOMPARE(f.linkOnDisk(0), 0);
        QCOMPARE(m.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestContactOps)
#include "tst_contactops.moc"
