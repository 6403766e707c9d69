// Start-up, frame, main window and shutdown, on a program folder made for
// each test with the real language modules.
#include "applications/applicationspage.h"
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "directory/directorypage.h"
#include "platform/panels.h"
#include "platform/shellopen.h"
#include "shell/formgeneral.h"
#include "shell/langmodule.h"
#include "shell/mdiparent.h"
#include "shell/singleinstance.h"
#include "shell/version.h"
#include "store/settings.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// A program folder: Lang/ with the built modules, settings beside them.
struct ProgramFolder {
    QTemporaryDir dir;
    explicit ProgramFolder(bool withModules = true)
    {
        if (withModules) {
            QDir(dir.path()).mkdir("Lang");
            for (const char* m : {"Francais.so", "English.so"})
                QFile::copy(QStringLiteral(LANG_DIR "/") + m,
                            dir.filePath(QStringLiteral("Lang/") + m));
        }
        setRegistryFile(dir.filePath("ORVALDIS.ini"));
    }
    QString path() const { return dir.path(); }
};

// Starts the frame and the main window and waits for the loading to end.
bool start(TMDIParent& frame)
{
    if (!frame.FormCreate() || !frame.createMainWindow()) return false;
    QSignalSpy loaded(frame.formGeneral(), &TFormGeneral::loaded);
    return loaded.wait(10000);
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void versionTexts()
    {
        QCOMPARE(RaccourciVersion("2.1.3.5"), QStringLiteral("2.1.3"));
        QCOMPARE(RaccourciVersion("2.1"), QStringLiteral("2.1"));
        QCOMPARE(VersionLabel("2.1.3.5"), QStringLiteral("v.2.1.3 (Build 5)"));
        QCOMPARE(FileVersion().count(QLatin1Char('.')), 3);
    }

    void sizeRule()
    {
        const auto big = TMDIParent::frameSizeFor(QSize(1280, 1024));
        QCOMPARE(big.inner, QSize(1020, 720));
        QVERIFY(!big.maximised);
        for (QSize s : {QSize(1024, 768), QSize(1280, 768), QSize(1024, 900)}) {
            const auto small = TMDIParent::frameSizeFor(s);
            QCOMPARE(small.inner, QSize(800, 600));
            QVERIFY(small.maximised);
        }
    }

    void frameAndPagesInFrench()
    {
        ProgramFolder folder;
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(start(frame));
        QCOMPARE(m.count(), 0);
        QCOMPARE(frame.language().name(), QStringLiteral("Francais"));
        QCOMPARE(frame.windowTitle(), QStringLiteral("ORVALDIS ") +
                                          RaccourciVersion(FileVersion()) + QStringLiteral(" :: ") +
                                          frame.language().text(50) + QStringLiteral(" ::"));
        const QList<QAction*> menus = frame.menuBar()->actions();
        QCOMPARE(menus.size(), 4);
        QCOMPARE(menus[0]->text(), QStringLiteral("&Fichier"));
        QCOMPARE(menus[1]->text(), QStringLiteral("&Affichage"));
        QCOMPARE(menus[2]->text(), QStringLiteral("&Options"));
        QCOMPARE(menus[3]->text(), QStringLiteral("A&ide"));
        QCOMPARE(frame.MenuTri[1]->text(), QStringLiteral("T&ri par société"));
        QCOMPARE(frame.MenuDecroissant->text(), QStringLiteral("Or&dre décroissant"));
        QCOMPARE(frame.MenuAffichage->actions().size(), 10); // 7 sorts, separator, 2 orders

        TFormGeneral* f = frame.formGeneral();
        QCOMPARE(f->Tabulations->count(), 3);
        QCOMPARE(f->Tabulations->tabText(0), QStringLiteral("Candidatures"));
        QCOMPARE(f->Tabulations->tabText(1), QStringLiteral("Annuaire"));
        QCOMPARE(f->Tabulations->tabText(2), QStringLiteral("Navigateur"));
        QCOMPARE(f->Tabulations->currentIndex(), 0);
        QCOMPARE(f->lien_QuitterApplication->caption(), QStringLiteral("Quitter le logiciel"));
        QCOMPARE(f->page()->Label_AlarmeOnly->caption(),
                 QStringLiteral("Voir les alarmes uniquement"));
        QCOMPARE(f->page()->Label_ShowHide->caption(), frame.language().text(210));
        QCOMPARE(f->state().Tri, QStringLiteral("d"));
        QCOMPARE(f->state().Sens, QString());
        // The wrapped question of the assistant has the room of its lines.
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QLabel* question = f->page()->Label_ChoixCandidature;
        QVERIFY(question->heightForWidth(question->width()) > question->fontMetrics().height());
        QVERIFY2(question->height() >= question->heightForWidth(question->width()),
                 qPrintable(QStringLiteral("%1 < %2")
                                .arg(question->height())
                                .arg(question->heightForWidth(question->width()))));
        // Every page finds its own controls by name.
        QVERIFY(f->findChild<QWidget*>("StringGrid1"));
        QVERIFY(f->findChild<QWidget*>("Panel_Societes"));
        QVERIFY(f->findChild<QLabel*>("Titre_PanelAssistant"));
        // Data files and directories of a first start.
        for (const char* name : {"societes.dat", "contacts.dat", "candidatures.dat", "favoris.dat",
                                 "txt", "backup", "Import"})
            QVERIFY2(QFileInfo::exists(folder.dir.filePath(name)), name);
    }

    void applicationPanelFollowsThePages()
    {
        ProgramFolder folder;
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(start(frame));
        frame.show();
        TFormGeneral* f = frame.formGeneral();
        QCOMPARE(f->Panel_Application->y(), f->page()->Panel_Assistant->height() + 85);
        QCOMPARE(f->Panel_Application->x(), f->page()->Panel_Assistant->mapTo(f, QPoint(0, 0)).x());
        QCOMPARE(f->Panel_Application->width(), f->page()->Panel_Assistant->width());
        QVERIFY(f->Panel_Application->isVisible());
        QVERIFY(frame.MenuAffichage->menuAction()->isVisible());
        f->Tabulations->setCurrentIndex(1);
        QCOMPARE(f->Panel_Application->y(), f->directory()->Panel_Societes->height() + 85);
        QVERIFY(f->Panel_Application->isVisible());
        QVERIFY(!frame.MenuAffichage->menuAction()->isVisible());
        f->Tabulations->setCurrentIndex(2);
        QVERIFY(!f->Panel_Application->isVisible());
        f->Tabulations->setCurrentIndex(0);
        QVERIFY(frame.MenuAffichage->menuAction()->isVisible());
        // The filter links end where the next begins, from the right.
        QCOMPARE(f->page()->Label_ShowHide->geometry().right() + 1,
                 f->page()->Label_ShowHide->parentWidget()->width());
        QCOMPARE(f->page()->Label_Separateur->geometry().right() + 1,
                 f->page()->Label_ShowHide->x());
        QCOMPARE(f->page()->Label_RelancesOnly->geometry().right() + 1,
                 f->page()->Label_Separateur2->x());
    }

    void loadingFillsTheTablesAndHidesTheProgressBar()
    {
        ProgramFolder folder;
        writeBytes(folder.dir.filePath("societes.dat"), recordBytes(makeSociete(7, "ACME")));
        QByteArray apps;
        for (int i = 1; i <= 3; ++i)
            apps += recordBytes(makeCandidature(i, 7, "Poste"));
        writeBytes(folder.dir.filePath("candidatures.dat"), apps);
        WriteRegistry(RegistryKey, "tri", "s");
        WriteRegistry(RegistryKey, "sens", "desc");
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(start(frame));
        TFormGeneral* f = frame.formGeneral();
        QCOMPARE(f->store().Societes.size(), 1);
        QCOMPARE(f->store().Candidatures.size(), 3);
        QCOMPARE(f->store().MaxIdCandidature, 3);
        QVERIFY(frame.ProgressBar1->isHidden());
        QCOMPARE(frame.StatusBar1->text(),
                 QStringLiteral("3 candidatures en cours - 0 candidature terminée"));
        // The stored order is applied through the menus, which show it.
        QCOMPARE(f->state().Tri, QStringLiteral("s"));
        QCOMPARE(f->state().Sens, QStringLiteral("desc"));
        QVERIFY(frame.MenuTri[1]->isChecked() && !frame.MenuTri[0]->isChecked());
        QVERIFY(frame.MenuDecroissant->isChecked() && !frame.MenuCroissant->isChecked());
    }

    void unreadableFileIsReportedOnce()
    {
        ProgramFolder folder;
        QDir(folder.path()).mkdir("favoris.dat");
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(start(frame));
        QCOMPARE(m.count(), 1);
        QCOMPARE(m.shown[0].kind, msg::Kind::Warning);
        QVERIFY(m.shown[0].text.contains("\"favoris.dat\""));
    }

    void closingIsRefusedWhileAFileIsWritten()
    {
        ProgramFolder folder;
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(start(frame));
        frame.show();
        frame.formGeneral()->store().Occupe = true;
        QVERIFY(!frame.close());
        QVERIFY(frame.isVisible());
        QCOMPARE(
            m.texts(),
            QStringList("Veuillez attendre la fin du traitement avant de fermer l'application"));
        QCOMPARE(m.shown[0].kind, msg::Kind::Information);
        frame.formGeneral()->store().Occupe = false;
        QVERIFY(frame.close());
        QVERIFY(frame.formGeneral()->loader() == nullptr);
    }

    void closingDuringTheLoadingStopsTheLoader()
    {
        ProgramFolder folder;
        QByteArray apps;
        for (int i = 1; i <= 20000; ++i)
            apps += recordBytes(makeCandidature(i, 1, "P"));
        writeBytes(folder.dir.filePath("candidatures.dat"), apps);
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(frame.FormCreate() && frame.createMainWindow());
        frame.show();
        QVERIFY(frame.close()); // must not hang on the loader waiting for this thread
        QVERIFY(frame.formGeneral()->loader() == nullptr);
    }

    void languageChoice()
    {
        ProgramFolder folder;
        QCOMPARE(QFileInfo(LanguageModule::choose(folder.path(), "English")).fileName(),
                 QStringLiteral("English.so"));
        QCOMPARE(QFileInfo(LanguageModule::choose(folder.path(), "Klingon")).fileName(),
                 QStringLiteral("Francais.so"));
        QCOMPARE(QFileInfo(LanguageModule::choose(folder.path(), "")).fileName(),
                 QStringLiteral("Francais.so"));
        QCOMPARE(QFileInfo(LanguageModule::choose(folder.path(), "../Lang/English")).fileName(),
                 QStringLiteral("Francais.so"));
        QStringList langs = availableLanguages(folder.path());
        langs.sort();
        QCOMPARE(langs, QStringList({"English", "Francais"}));

        WriteRegistry(RegistryKey, "lang", "English");
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(start(frame));
        QCOMPARE(frame.language().name(), QStringLiteral("English"));
        QCOMPARE(frame.formGeneral()->Tabulations->tabText(1), frame.language().text(120));
        QVERIFY(frame.formGeneral()->Tabulations->tabText(1) != QStringLiteral("Annuaire"));
    }

    void missingLanguageModuleEndsTheProgram()
    {
        ProgramFolder folder(false);
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(!frame.FormCreate());
        QCOMPARE(m.texts(),
                 QStringList({"Erreur au chargement de la DLL de langue",
                              "Erreur lors du chargement. Veuillez réinstaller le produit"}));
        QCOMPARE(m.shown[0].kind, msg::Kind::Plain);

        // A library that is not a language module: only the second message.
        QDir(folder.path()).mkdir("Lang");
        QVERIFY(QFile::copy(QStringLiteral(ZLIB_PATH), folder.dir.filePath("Lang/Francais.so")));
        m.clear();
        TMDIParent again(folder.path());
        QVERIFY(!again.FormCreate());
        QCOMPARE(m.texts(),
                 QStringList("Erreur lors du chargement. Veuillez réinstaller le produit"));
    }

    void newerDataFilesEndTheProgramBeforeTheWindowIsUsed()
    {
        ProgramFolder folder;
        TCandidatureRec c = makeCandidature(1, 1, "x");
        c.version.setBytes("cnd3", 4);
        writeBytes(folder.dir.filePath("candidatures.dat"), recordBytes(c));
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(frame.FormCreate());
        QVERIFY(!frame.createMainWindow());
        QCOMPARE(m.count(), 1);
        QVERIFY(m.shown[0].text.startsWith(
            "Les fichiers de données ont été créés avec une version plus récente"));
    }

    void secondCopyAsksTheFirstToComeToTheFront()
    {
        const QString exe =
            QStringLiteral("/opt/test/orvaldis-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(exe);
        QVERIFY(first.acquire());
        SingleInstance second(exe);
        QVERIFY(!second.acquire());
        SingleInstance elsewhere(exe + QStringLiteral("-copy"));
        QVERIFY(elsewhere.acquire()); // another executable path is another program
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        second.activateRunning();
        QVERIFY(asked.wait(3000) || asked.count() == 1);
    }

    void f1OpensTheHelpBesideTheProgram()
    {
        ProgramFolder folder;
        QDir(folder.path()).mkdir("Help");
        writeBytes(folder.dir.filePath("Help/ORVALDIS.html"), "<html></html>");
        FakeMessages m;
        TMDIParent frame(folder.path());
        QVERIFY(start(frame));
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QStringList opened;
        setExecuteFileHook([&](const QString& t) { opened.append(t); });
        QTest::keyClick(&frame, Qt::Key_F1);
        setExecuteFileHook({});
        QCOMPARE(opened, QStringList(folder.dir.filePath("Help/ORVALDIS.html")));
    }

    void linkLabelsUnderlineUnderTheMouse()
    {
        LinkLabel link("lien_test", "Société & fils <b>");
        QVERIFY(link.text().contains("Société &amp; fils &lt;b&gt;"));
        QVERIFY(!link.text().contains("<u>"));
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(&link, &enter);
        QVERIFY(link.text().contains("<u>"));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&link, &leave);
        QVERIFY(!link.text().contains("<u>"));
        QSignalSpy clicked(&link, &LinkLabel::clicked);
        link.resize(100, 20);
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.count(), 1);
        link.setEnabled(false);
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.count(), 1);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
