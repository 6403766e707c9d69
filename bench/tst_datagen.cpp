// The generated data look like the files of a real job search: the links
// between records hold, the codes are those the program writes, and the
// same inputs give the same bytes.

#include "bench/datagen.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace
{

datagen::Sizes smallSizes()
{
    datagen::Sizes s;
    s.candidatures = 20000;
    s.societes = 2000;
    s.contacts = 6000;
    s.favoris = 200;
    s.reference = QDate(2024, 6, 14);
    return s;
}

template <class T> QByteArray bytesOf(const QList<T>& table)
{
    return QByteArray(reinterpret_cast<const char*>(table.constData()),
                      qsizetype(table.size()) * qsizetype(sizeof(T)));
}

template <class T> int notLiveCount(const QList<T>& table)
{
    int n = 0;
    for (const T& r : table)
        n += isLive(r) ? 0 : 1;
    return n;
}

QDate dateOf(const Date& d)
{
    return QDate::fromString(d.text(), QStringLiteral("yyyyMMdd"));
}

bool isDocument(const QString& field)
{
    return field.isEmpty() || field == QLatin1String("<TEXTE>") ||
           field.startsWith(QLatin1Char('/'));
}

} // namespace

class TestDataGen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { data = datagen::generate(smallSizes()); }

    void tablesHaveTheRequestedSizes()
    {
        QCOMPARE(data.societes.size(), 2000);
        QCOMPARE(data.contacts.size(), 6000);
        QCOMPARE(data.candidatures.size(), 20000);
        QCOMPARE(data.favoris.size(), 200);
    }

    void sameInputsGiveTheSameBytes()
    {
        const datagen::GeneratedData again = datagen::generate(smallSizes());
        QCOMPARE(bytesOf(again.societes), bytesOf(data.societes));
        QCOMPARE(bytesOf(again.contacts), bytesOf(data.contacts));
        QCOMPARE(bytesOf(again.candidatures), bytesOf(data.candidatures));
        QCOMPARE(bytesOf(again.favoris), bytesOf(data.favoris));

        datagen::Sizes other = smallSizes();
        other.seed += 1;
        QVERIFY(bytesOf(datagen::generate(other).candidatures) != bytesOf(data.candidatures));
    }

    void aboutOnePercentIsNotLive()
    {
        const int c = notLiveCount(data.candidatures);
        QVERIFY2(c >= 100 && c <= 300, qPrintable(QString::number(c)));
        const int s = notLiveCount(data.societes);
        QVERIFY2(s >= 5 && s <= 40, qPrintable(QString::number(s)));
        const int k = notLiveCount(data.contacts);
        QVERIFY2(k >= 20 && k <= 110, qPrintable(QString::number(k)));
    }

    void liveRecordsAreStoredAsTheProgramWritesThem()
    {
        for (const TSocieteRec& r : data.societes) {
            if (!isLive(r)) continue;
            TSocieteRec copy = r;
            prepareForWrite(copy);
            QVERIFY(std::memcmp(&copy, &r, sizeof r) == 0);
        }
        for (const TCandidatureRec& r : data.candidatures) {
            if (!isLive(r)) continue;
            TCandidatureRec copy = r;
            prepareForWrite(copy);
            QVERIFY(std::memcmp(&copy, &r, sizeof r) == 0);
        }
    }

    void linksGoToLiveRecordsOfTheRightCompany()
    {
        QSet<qint32> liveCompanies, companyIds;
        for (const TSocieteRec& r : data.societes) {
            QVERIFY(r.id > 0);
            QVERIFY(!companyIds.contains(r.id));
            companyIds.insert(r.id);
            if (isLive(r)) liveCompanies.insert(r.id);
        }
        QHash<qint32, qint32> companyOfLiveContact;
        QSet<qint32> contactIds;
        for (const TContactRec& r : data.contacts) {
            QVERIFY(r.id > 0 && !contactIds.contains(r.id));
            contactIds.insert(r.id);
            QVERIFY(liveCompanies.contains(r.id_societe));
            if (isLive(r)) companyOfLiveContact.insert(r.id, r.id_societe);
        }
        QSet<qint32> ids;
        int withContact = 0;
        for (const TCandidatureRec& r : data.candidatures) {
            QVERIFY(r.id > 0 && !ids.contains(r.id));
            ids.insert(r.id);
            QVERIFY(liveCompanies.contains(r.id_societe));
            if (r.id_contact != 0) {
                ++withContact;
                QVERIFY(companyOfLiveContact.contains(r.id_contact));
                QCOMPARE(companyOfLiveContact.value(r.id_contact), qint32(r.id_societe));
            }
        }
        // Some applications have a contact, most do not.
        QVERIFY(withContact > data.candidatures.size() / 10);
        QVERIFY(withContact < data.candidatures.size() / 2);
    }

    void companiesAndContactsUseTheProgramsCodes()
    {
        QSet<QString> categories, names;
        bool accented = false;
        for (const TSocieteRec& r : data.societes) {
            QVERIFY(r.version.equals("soc1"));
            categories.insert(r.categorie.text());
            if (!isLive(r)) continue;
            QVERIFY(!names.contains(r.nom.text()));
            names.insert(r.nom.text());
            accented = accented || r.nom.text().contains(QChar(0xC9)) ||
                       r.nom.text().contains(QChar(0xE9));
            QVERIFY(!r.ville.isEmpty() && !r.cp.isEmpty() && !r.tela.isEmpty());
        }
        QCOMPARE(categories, (QSet<QString>{"S", "C", "I"}));
        QVERIFY(accented);

        QSet<QString> civilites;
        for (const TContactRec& r : data.contacts) {
            QVERIFY(r.version.equals("cnt1"));
            civilites.insert(r.civilite.text());
        }
        QCOMPARE(civilites, (QSet<QString>{"Mr", "Mme", "Mlle"}));
    }

    void applicationsLookLikeRealOnes()
    {
        const QDate reference = smallSizes().reference;
        QSet<QString> sources, types, methods;
        int withAppointment = 0, withAlarm = 0, finished = 0, marked = 0, pasted = 0, paths = 0;
        for (const TCandidatureRec& r : data.candidatures) {
            QVERIFY(r.version.equals("cnd2"));
            if (!r.source.isEmpty()) sources.insert(r.source.text());
            types.insert(r.type.text());
            methods.insert(r.methode.text());
            const QDate date = dateOf(r.date);
            QVERIFY2(date.isValid(), r.date.bytes().constData());
            QVERIFY(date <= reference && date >= reference.addYears(-3));
            for (const Date* d : {&r.date_cv, &r.date_lettre, &r.date_suite, &r.date_accuse}) {
                if (d->isEmpty()) continue;
                QVERIFY(dateOf(*d) >= date && dateOf(*d) <= reference);
            }
            QCOMPARE(r.date_cv.isEmpty(), r.cv.isEmpty());
            if (!r.date_rdv.isEmpty()) {
                ++withAppointment;
                QVERIFY(dateOf(r.date_rdv) > date);
            }
            if (!r.alerte.isEmpty()) {
                ++withAlarm;
                QVERIFY(!r.date_rdv.isEmpty());
                const int days = r.alerte.text().toInt();
                QVERIFY(days >= 1 && days <= 15);
            }
            for (const auto* doc : {&r.cv, &r.lettre, &r.accuse, &r.suite, &r.offre}) {
                QVERIFY(isDocument(doc->text()));
                pasted += doc->equals("<TEXTE>") ? 1 : 0;
                paths += doc->text().startsWith(QLatin1Char('/')) ? 1 : 0;
            }
            finished += r.terminee;
            marked += r.marqueur;
        }
        QVERIFY(sources.size() >= 12 && sources.size() <= 20);
        QVERIFY(sources.contains(QStringLiteral("Pôle emploi")));
        QCOMPARE(types, (QSet<QString>{"R", "S"}));
        QCOMPARE(methods, (QSet<QString>{"I", "P", "E"}));
        QVERIFY(withAppointment > 0 && withAlarm > 0 && withAlarm < withAppointment);
        QVERIFY(finished > 0 && finished < data.candidatures.size());
        QVERIFY(marked > 0 && marked < finished);
        QVERIFY(pasted > 0 && paths > 0);
    }

    void favouritesHaveUniqueNamesAndAddresses()
    {
        QSet<QString> names;
        for (const TFavoriRec& r : data.favoris) {
            if (!isLive(r)) continue;
            QVERIFY(!names.contains(r.nom.text()));
            names.insert(r.nom.text());
            QVERIFY(r.url.text().startsWith(QLatin1String("https://")));
        }
        QVERIFY(names.size() >= 190);
    }

    void filesHoldTheTablesByteForByte()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString error;
        QVERIFY2(datagen::writeDataFiles(dir.path(), data, &error), qPrintable(error));
        const QByteArray expected[4] = {bytesOf(data.societes), bytesOf(data.contacts),
                                        bytesOf(data.candidatures), bytesOf(data.favoris)};
        const char* files[4] = {"societes.dat", "contacts.dat", "candidatures.dat", "favoris.dat"};
        for (int k = 0; k < 4; ++k) {
            QFile f(dir.filePath(QString::fromLatin1(files[k])));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), expected[k]);
        }
    }

    void writingIntoAMissingDirectoryFails()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!datagen::writeDataFiles(dir.filePath(QStringLiteral("absent")), data, &error));
        QVERIFY(error.contains(QLatin1String("societes.dat")));
    }

private:
    datagen::GeneratedData data;
};

QTEST_GUILESS_MAIN(TestDataGen)
#include "tst_datagen.moc"
