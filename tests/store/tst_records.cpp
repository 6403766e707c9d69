// Record layouts and the Windows-1252 texts they hold.
#include "store/records.h"

#include <QtTest>

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void textsAreCutToTheirMaximum()
    {
        TSocieteRec s{};
        s.nom = QString(60, QLatin1Char('A'));
        QCOMPARE(s.nom.text(), QString(50, QLatin1Char('A')));
        TCandidatureRec c{};
        c.intitule = QString(300, QLatin1Char('x'));
        QCOMPARE(c.intitule.length(), 255);
        QCOMPARE(int(reinterpret_cast<unsigned char*>(&c)[7]), 255);
    }

    void storedBytesAreWindows1252()
    {
        TContactRec r{};
        r.nom = QStringLiteral("Gaëlle Lefèvre – RH €");
        const auto* b = reinterpret_cast<const unsigned char*>(&r);
        QCOMPARE(int(b[7]), 21);
        QCOMPARE(int(b[8 + 2]), 0xEB);  // ë
        QCOMPARE(int(b[8 + 15]), 0x96); // en dash
        QCOMPARE(int(b[8 + 20]), 0x80); // euro sign
        QCOMPARE(r.nom.text(), QStringLiteral("Gaëlle Lefèvre – RH €"));
    }

    void readersTakeOnlyTheLengthByte()
    {
        TFavoriRec f;
        std::memset(&f, 'Z', sizeof f);
        f.nom.len = 3;
        std::memcpy(f.nom.chars, "abc", 3);
        QCOMPARE(f.nom.text(), QStringLiteral("abc"));
        // A length byte above the maximum of the field reads as the maximum.
        TSocieteRec s;
        std::memset(&s, 'k', sizeof s);
        s.cp.len = 200;
        QCOMPARE(s.cp.text(), QStringLiteral("kkkkkk"));
    }

    void clearingAFieldLeavesOnlyZeros()
    {
        // Under the sanitizers, clearing once copied from no address at all.
        TContactRec c;
        std::memset(&c, 'k', sizeof c);
        c.nom.clear();
        QCOMPARE(int(c.nom.len), 0);
        QCOMPARE(c.nom.text(), QString());
        QCOMPARE(QByteArray(c.nom.chars, 50), QByteArray(50, '\0'));
        QCOMPARE(c.fonction.text(), QString(50, QLatin1Char('k'))); // the next field is untouched
    }

    void writingZeroesTailsAndPadsAndSetsTheTag()
    {
        TCandidatureRec c;
        std::memset(&c, 0x5A, sizeof c);
        c.intitule.len = 4;
        c.source.len = 250; // damaged
        c.terminee = 7;
        prepareForWrite(c);
        const auto* b = reinterpret_cast<const unsigned char*>(&c);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b), 7), QByteArray("\x04"
                                                                             "cnd2\0\0",
                                                                             7));
        for (int i = 7 + 1 + 4; i < 263; ++i)
            QCOMPARE(int(b[i]), 0);
        QCOMPARE(c.source.length(), 20);
        QCOMPARE(int(b[329]) | b[330] | b[331], 0);
        QCOMPARE(int(b[1642]) | b[1643], 0);
        QCOMPARE(int(c.terminee), 1);

        TSocieteRec s;
        std::memset(&s, 1, sizeof s);
        prepareForWrite(s);
        QVERIFY(s.version.equals("soc1"));
        const auto* sb = reinterpret_cast<const unsigned char*>(&s);
        QCOMPARE(int(sb[593]) | sb[594] | sb[595] | sb[602] | sb[603], 0);
        TContactRec k{};
        prepareForWrite(k);
        QVERIFY(k.version.equals("cnt1"));
    }

    void liveByte()
    {
        TCandidatureRec c = newCandidature();
        QVERIFY(!isLive(c));
        c.intitule = QStringLiteral("Comptable");
        QVERIFY(isLive(c));
        TFavoriRec f{};
        f.url = QStringLiteral("https://exemple.fr");
        QVERIFY(!isLive(f));
        f.nom = QStringLiteral("x");
        QVERIFY(isLive(f));
    }

    void newApplicationDefaults()
    {
        const TCandidatureRec c = newCandidature();
        QCOMPARE(c.type.text(), QStringLiteral("R"));
        QCOMPARE(c.methode.text(), QStringLiteral("I"));
        QCOMPARE(qint32(c.id_contact), 0);
        QVERIFY(c.cv.isEmpty() && c.date_rdv.isEmpty() && c.alerte.isEmpty());
        QVERIFY(!c.terminee && !c.marqueur);
    }

    void intsAreLittleEndian()
    {
        TContactRec k{};
        k.id = 0x01020304;
        k.id_societe = -2;
        const auto* b = reinterpret_cast<const unsigned char*>(&k);
        QCOMPARE(int(b[228]), 4);
        QCOMPARE(int(b[231]), 1);
        QCOMPARE(int(b[232]), 0xFE);
        QCOMPARE(int(b[235]), 0xFF);
    }

    void codecRoundTripsEveryByte()
    {
        QByteArray all(256, 0);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = cp1252::decode(all);
        bool lossless = false;
        QCOMPARE(cp1252::encode(text, &lossless), all);
        QVERIFY(lossless);
        QVERIFY(!cp1252::canEncode(QStringLiteral("日本")));
        QCOMPARE(cp1252::encode(QStringLiteral("a日"), &lossless), QByteArray("a?"));
        QVERIFY(!lossless);
    }

    // A refused text names its field (the first one at fault) and the
    // characters it cannot hold, each once, five at most.
    void unstorableTextsNameTheirField()
    {
        QCOMPARE(cp1252::unstorableText({{"Nom", "Émile"}, {"Ville", "Zürich"}}), QString());
        QCOMPARE(cp1252::unstorableText({{"Nom", "Émile"},
                                         {"Ville", QStringLiteral("東京 東京")},
                                         {"Pays", QStringLiteral("日本")}}),
                 QStringLiteral("Le champ « Ville » contient des caractères que le programme ne "
                                "peut pas enregistrer : 東 京\rRemplacez-les, puis recommencez."));
        QCOMPARE(cp1252::unencodableCharacters(QStringLiteral("a一二三四五六b")),
                 QStringLiteral("一 二 三 四 五 …"));
        // Beyond the 16 bits of one code unit, still one character.
        QCOMPARE(cp1252::unencodableCharacters(QStringLiteral("x😀y")), QStringLiteral("😀"));
    }
};

QTEST_APPLESS_MAIN(TestRecords)
#include "tst_records.moc"
