// The built language modules, loaded as the program loads them: by path with
// QLibrary, then their GetTxt looked up by name. Texts are read back as the
// Windows-1252 bytes the program receives.

#include <QByteArray>
#include <QLibrary>
#include <QList>
#include <QSet>
#include <QString>
#include <QTest>

namespace
{

using GetTxtFunction = const char* (*)(int);

// Every id the program looks up.
QList<int> programIds()
{
    QList<int> ids;
    const auto addRange = [&ids](int first, int last) {
        for (int id = first; id <= last; ++id)
            ids << id;
    };
    addRange(1, 16);
    ids << 50;
    addRange(100, 121);
    addRange(150, 176);
    ids << 179 << 180;
    addRange(182, 229);
    return ids;
}

// Windows-1252 decoding written out here rather than taken from the modules'
// own converter, so that a wrong table there cannot pass unnoticed.
QString fromCp1252(const QByteArray& bytes)
{
    static const char16_t high[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x80 && byte <= 0x9F) ? QChar(high[byte - 0x80]) : QChar(byte);
    }
    return text;
}

struct Module {
    QLibrary library;
    GetTxtFunction getTxt = nullptr;
};

} // namespace

class TestLangModules : public QObject
{
    Q_OBJECT

    Module french;
    Module english;

    Module& module(const QString& name) { return name == "Francais" ? french : english; }

    // The text of an id as the program would copy it.
    QByteArray text(const QString& name, int id)
    {
        const char* raw = module(name).getTxt(id);
        return raw ? QByteArray(raw) : QByteArray();
    }

    static void addModuleRows()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Francais") << QStringLiteral("Francais");
        QTest::newRow("English") << QStringLiteral("English");
    }

private slots:
    void initTestCase()
    {
        for (const QString name : {QStringLiteral("Francais"), QStringLiteral("English")}) {
            Module& m = module(name);
            m.library.setFileName(QStringLiteral(LANG_DIR "/") + name + QStringLiteral(".so"));
            QVERIFY2(m.library.load(), qPrintable(m.library.errorString()));
            m.getTxt = reinterpret_cast<GetTxtFunction>(m.library.resolve("GetTxt"));
            QVERIFY2(m.getTxt, qPrintable(name + ": GetTxt is not exported"));
        }
    }

    void cleanupTestCase()
    {
        french.library.unload();
        english.library.unload();
    }

    void everyProgramIdHasAText_data() { addModuleRows(); }
    void everyProgramIdHasAText()
    {
        QFETCH(QString, name);
        const QList<int> ids = programIds();
        QCOMPARE(ids.size(), 116);
        for (const int id : ids) {
            const char* raw = module(name).getTxt(id);
            QVERIFY2(raw != nullptr, qPrintable(QStringLiteral("id %1 gives null").arg(id)));
            QVERIFY2(raw[0] != '\0', qPrintable(QStringLiteral("id %1 has no text").arg(id)));
        }
    }

    void unknownIdsGiveAnEmptyText_data() { addModuleRows(); }
    void unknownIdsGiveAnEmptyText()
    {
        QFETCH(QString, name);
        for (const int id : {0, -1, 17, 49, 51, 99, 122, 149, 177, 178, 181, 230, 999}) {
            const char* raw = module(name).getTxt(id);
            QVERIFY2(raw != nullptr, qPrintable(QStringLiteral("id %1 gives null").arg(id)));
            QVERIFY2(raw[0] == '\0',
                     qPrintable(QStringLiteral("id %1 gives \"%2\"").arg(id).arg(fromCp1252(raw))));
        }
    }

    // The captions the windows carry in French, which the French module must
    // give unchanged, as runs of consecutive ids. Id 170 is left out: the
    // window shows two different captions on the buttons that take it.
    void frenchFormTexts_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected");
        // clang-format off
        const QList<QPair<int, QStringList>> runs = {
            {1, {"&Fichier", "&Quitter", "&Affichage", "&Tri par date", "T&ri par société",
                 "Tr&i par catégorie", "Tri &par intitulé", "Tri p&ar rendez-vous",
                 "Tri par &statut", "Tri par &marqueur", "&Ordre croissant", "Or&dre décroissant",
                 "&Options", "&Personnaliser...", "A&ide", "&A Propos"}},
            {100, {"Application", "Quitter le logiciel", "Assistant",
                   "Quelle candidature voulez-vous éditer ?", "Nouvelle candidature",
                   "Aperçu avant impression", "Imprimer le listing", "Exporter vers Excel",
                   "Candidature", "Imprimer le rapport", "Enregistrer le rapport", "Supprimer",
                   "Retour au listing", "Annuaire des sociétés", "Ajouter une société", "Imprimer",
                   "Importer des données", "Exporter les données", "Envoyer fiche par Email",
                   "Candidatures", "Annuaire", "Navigateur"}},
            {150, {"Type", "Méthode", "Société", "Contact", "Intitulé de la candidature",
                   "Source de la candidature", "Offre", "CV", "Lettre de motivation",
                   "Accusé de réception", "RDV/Entretien", "Suite/Refus", "Bloc-notes",
                   "Quelques chiffres sur cette société", "Marquer cette candidature comme terminée",
                   "Réponse à une offre", "Candidature spontanée", "Site Internet", "Email",
                   "Candidature papier"}},
            {172, {"Supprimer", "Pas d'offre liée", "Pas de CV lié",
                   "Pas de lettre de motivation liée", "Pas d'accusé de réception lié"}},
            {179, {"Pas de suite liée", "Définir"}},
            {216, {"Voir les alarmes uniquement", "Voir les candidatures à relancer uniquement"}},
        };
        // clang-format on
        for (const auto& [first, texts] : runs)
            for (int i = 0; i < texts.size(); ++i)
                QTest::addRow("%d", first + i) << first + i << texts.at(i);
    }
    void frenchFormTexts()
    {
        QFETCH(int, id);
        QFETCH(QString, expected);
        QCOMPARE(fromCp1252(text("Francais", id)), expected);
    }

    // The appointment label reads like the window's own caption once a date
    // follows the prefix.
    void frenchAppointmentPrefixMatchesTheFormCaption()
    {
        QCOMPARE(fromCp1252(text("Francais", 192)) + QStringLiteral(" 00/00/0000"),
                 QStringLiteral("Rendez-vous fixé le 00/00/0000"));
    }

    void accentedLettersAreSingleBytes()
    {
        const QByteArray sortByCompany = text("Francais", 5);
        QVERIFY(!sortByCompany.isEmpty());
        QCOMPARE(static_cast<unsigned char>(sortByCompany.back()), 0xE9);
        QCOMPARE(sortByCompany.size(), 16);
        QCOMPARE(static_cast<unsigned char>(text("Francais", 105).at(4)), 0xE7); // "Aperçu"
    }

    // The only control character a message may hold is the line break CR.
    void lineBreaksAreCarriageReturns_data() { addModuleRows(); }
    void lineBreaksAreCarriageReturns()
    {
        QFETCH(QString, name);
        for (const int id : programIds()) {
            for (const char c : text(name, id))
                QVERIFY2(static_cast<unsigned char>(c) >= 0x20 || c == '\r',
                         qPrintable(QStringLiteral("id %1 holds character %2")
                                        .arg(id)
                                        .arg(static_cast<int>(c))));
        }
        // The confirmation before deleting an application is two lines.
        QCOMPARE(text(name, 213).count('\r'), 1);
    }

    void menuCaptionsHaveOneAccelerator_data() { addModuleRows(); }
    void menuCaptionsHaveOneAccelerator()
    {
        QFETCH(QString, name);
        for (int id = 1; id <= 16; ++id) {
            const QByteArray caption = text(name, id);
            QVERIFY2(caption.count('&') == 1,
                     qPrintable(QStringLiteral("id %1: %2").arg(id).arg(fromCp1252(caption))));
            QVERIFY2(!caption.endsWith('&'), qPrintable(QString::number(id)));
        }
    }

    // Two items of one menu with the same letter could not both be reached
    // from the keyboard.
    void acceleratorsAreDistinctWithinEachMenu_data() { addModuleRows(); }
    void acceleratorsAreDistinctWithinEachMenu()
    {
        QFETCH(QString, name);
        const QList<QList<int>> menus = {
            {1, 3, 13, 15},                 // the menu bar
            {4, 5, 6, 7, 8, 9, 10, 11, 12}, // "Affichage"
        };
        for (const QList<int>& menu : menus) {
            QSet<QChar> letters;
            for (const int id : menu) {
                const QString caption = fromCp1252(text(name, id));
                const int amp = caption.indexOf('&');
                QVERIFY(amp >= 0 && amp + 1 < caption.size());
                const QChar letter = caption.at(amp + 1).toLower();
                QVERIFY2(!letters.contains(letter),
                         qPrintable(QStringLiteral("id %1 repeats '%2'").arg(id).arg(letter)));
                letters.insert(letter);
            }
        }
    }

    // Texts are pieces of messages: the program adds the spaces, the colons and
    // the final full stops itself.
    void textsFitTheirPlaceInMessages_data() { addModuleRows(); }
    void textsFitTheirPlaceInMessages()
    {
        QFETCH(QString, name);
        for (const int id : programIds()) {
            const QByteArray t = text(name, id);
            QVERIFY2(!t.startsWith(' ') && !t.endsWith(' '),
                     qPrintable(QStringLiteral("id %1 has an outer space").arg(id)));
        }
        for (const int id : {219, 220, 224}) // followed by "."
            QVERIFY2(!text(name, id).endsWith('.'), qPrintable(QString::number(id)));
        for (const int id : {182, 183, 196, 197, 198, 199, 200, 201, 221}) // followed by ": "
            QVERIFY2(!text(name, id).endsWith(':'), qPrintable(QString::number(id)));
        for (const int id : {205, 206, 207, 208, 211, 213, 218}) // confirmations
            QVERIFY2(text(name, id).contains('?'), qPrintable(QString::number(id)));
    }

    // Texts chosen by a count or a state must change with it.
    void alternativeTextsDiffer_data() { addModuleRows(); }
    void alternativeTextsDiffer()
    {
        QFETCH(QString, name);
        const QList<QList<int>> groups = {
            {108, 119}, {196, 197}, {198, 199}, {202, 203}, {170, 171}, {209, 210, 215, 216, 217},
        };
        for (const QList<int>& group : groups) {
            QSet<QByteArray> seen;
            for (const int id : group) {
                QVERIFY2(!seen.contains(text(name, id)), qPrintable(QString::number(id)));
                seen.insert(text(name, id));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLangModules)
#include "tst_langmodules.moc"
