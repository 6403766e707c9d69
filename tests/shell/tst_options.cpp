// The options dialog and the about box in a running program: what they show
// from the stored settings, what OK writes or refuses, the listing rebuilt on
// closing, and where the about box's links lead.
#include "applications/applicationspage.h"
#include "applications/listingmodel.h"
#include "applications/listingpage.h"
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "platform/dialogs.h"
#include "platform/mailsender.h"
#include "platform/panels.h"
#include "platform/pictures.h"
#include "platform/shellopen.h"
#include "shell/apropos.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "shell/personnalisation.h"
#include "shell/version.h"
#include "store/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

namespace
{

QString daysFromToday(int days)
{
    return QDate::currentDate().addDays(days).toString("yyyyMMdd");
}

struct Settings {
    QString lang, defaultSource, relance;
};

// A program folder with both language modules, two applications whose
// sources fill the editor's list, and the given settings.
struct Program {
    QTemporaryDir dir;
    FakeMessages messages;
    std::unique_ptr<TMDIParent> frame;

    explicit Program(const Settings& settings)
    {
        QDir(dir.path()).mkdir("Lang");
        for (const char* m : {"Francais", "English"})
            QFile::copy(QStringLiteral(LANG_DIR "/") + m + ".so",
                        dir.filePath(QStringLiteral("Lang/") + m + ".so"));
        setRegistryFile(dir.filePath("ORVALDIS.ini"));
        if (!settings.lang.isNull()) WriteRegistry(RegistryKey, "lang", settings.lang);
        if (!settings.defaultSource.isNull())
            WriteRegistry(RegistryKey, "DefaultSource", settings.defaultSource);
        if (!settings.relance.isNull()) WriteRegistry(RegistryKey, "Relance", settings.relance);
        writeBytes(dir.filePath("societes.dat"), recordBytes(makeSociete(1, "ACME")));
        // One application old enough to be followed up, one recent.
        TCandidatureRec old = makeCandidature(1, 1, "Comptable", daysFromToday(-40));
        old.source = QStringLiteral("APEC");
        TCandidatureRec recent = makeCandidature(2, 1, "Juriste", daysFromToday(-2));
        recent.source = QStringLiteral("Indeed");
        writeBytes(dir.filePath("candidatures.dat"), recordBytes(old) + recordBytes(recent));
        frame = std::make_unique<TMDIParent>(dir.path());
        frame->FormCreate();
        frame->createMainWindow();
        QSignalSpy loaded(f(), &TFormGeneral::loaded);
        loaded.wait(10000);
        frame->show();
        messages.clear();
    }
    ~Program()
    {
        dialogs::setExecHook({});
        setExecuteFileHook({});
        frame->close();
    }
    TFormGeneral* f() const { return frame->formGeneral(); }
    int listedRows() const { return f()->listing()->model()->rowCount(); }
    QByteArray settingsBytes() const { return readBytes(dir.filePath("ORVALDIS.ini")); }
    bool stored(const QString& name) const
    {
        return QSettings(dir.filePath("ORVALDIS.ini"), QSettings::IniFormat)
            .contains("SOFTWARE/ORVALDIS/" + name);
    }
};

// The controls of the options dialog, found as the user sees them.
struct Options {
    QDialog& d;
    explicit Options(QDialog& dialog) : d(dialog) {}
    template <class W> W* get(const char* name) const
    {
        W* w = d.findChild<W*>(QString::fromLatin1(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QComboBox* langue() const { return get<QComboBox>("ComboBox1"); }
    QComboBox* sources() const { return get<QComboBox>("Sources"); }
    QCheckBox* relances() const { return get<QCheckBox>("Relances"); }
    QLineEdit* delai() const { return get<QLineEdit>("Edit1"); }
    QLabel* label1() const { return get<QLabel>("Label1"); }
    QLabel* label2() const { return get<QLabel>("Label2"); }
    void ok() const { QTest::mouseClick(get<QPushButton>("BitBtn1"), Qt::LeftButton); }
    void cancel() const { QTest::mouseClick(get<QPushButton>("BitBtn2"), Qt::LeftButton); }
    QStringList items(QComboBox* c) const
    {
        QStringList s;
        for (int i = 0; i < c->count(); ++i)
            s.append(c->itemText(i));
        return s;
    }
};

// Opens the options dialog; `user` acts on it while it is on screen.
int openOptions(Program& p, const std::function<void(Options&)>& user)
{
    dialogs::setExecHook([&](QDialog& d) {
        d.show();
        Options o(d);
        user(o);
        if (d.isVisible()) d.reject(); // left open by a failed check
        return d.result();
    });
    p.f()->personnalisation()->openModal();
    dialogs::setExecHook({});
    return p.f()->personnalisation()->result();
}

int errorCount(const FakeMessages& m, const QString& text)
{
    int n = 0;
    for (const FakeMessages::Shown& s : m.shown)
        if (s.kind == msg::Kind::Error && s.text == text) ++n;
    return n;
}

const QString kEmptyDelay =
    QStringLiteral("Veuillez renseigner le nombre de jours à prendre en compte pour les relances.");
const QString kZeroDelay = QStringLiteral("La valeur doit être supérieure à 0.");
const QString kRestart =
    QStringLiteral("Vous devez relancer ORVALDIS pour appliquer le changement de langue.");

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        // As the program's start does: settings that cannot be written are said in a box.
        setRegistryFailureHandler([](const QString& text) { msg::error(text); });
    }

    // ---- Showing the options ------------------------------------------------------

    void theDialogShowsTheStoredSettings()
    {
        Program p({"English", "Indeed", "15"});
        QDialog* dialog = p.f()->personnalisation();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Options de personnalisation"));
        QVERIFY(dialog->isModal());
        QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(p.f()->personnalisation(), dialog); // made once, kept
        const QByteArray before = p.settingsBytes();
        openOptions(p, [&](Options& o) {
            QStringList modules = o.items(o.langue());
            modules.sort();
            QCOMPARE(modules, QStringList({"English", "Francais"}));
            QCOMPARE(o.langue()->currentText(), QStringLiteral("English"));
            QVERIFY(!o.langue()->isEditable() && !o.sources()->isEditable());
            QCOMPARE(o.items(o.sources()), QStringList({"APEC", "Indeed"}));
            QCOMPARE(o.sources()->currentText(), QStringLiteral("Indeed"));
            QVERIFY(o.relances()->isChecked());
            QCOMPARE(o.delai()->text(), QStringLiteral("15"));
            QVERIFY(o.delai()->isEnabled() && o.label1()->isEnabled() && o.label2()->isEnabled());
            // The check box enables and disables the delay with its labels.
            o.relances()->click();
            QVERIFY(!o.delai()->isEnabled() && !o.label1()->isEnabled() &&
                    !o.label2()->isEnabled());
            o.relances()->click();
            QVERIFY(o.delai()->isEnabled() && o.label1()->isEnabled() && o.label2()->isEnabled());
            o.cancel();
        });
        QCOMPARE(p.settingsBytes(), before); // cancel writes nothing
        QCOMPARE(p.messages.count(), 0);
    }

    void followUpsOffWhenTheDelayIsZeroOrMissing()
    {
        for (const QString& relance : {QStringLiteral("0"), QString()}) {
            Program p({"Francais", "APEC", relance});
            openOptions(p, [&](Options& o) {
                QVERIFY2(!o.relances()->isChecked(), qPrintable(relance));
                QCOMPARE(o.delai()->text(), QString());
                QVERIFY(!o.delai()->isEnabled() && !o.label1()->isEnabled() &&
                        !o.label2()->isEnabled());
                // Checking it gives an empty field to fill in.
                o.relances()->click();
                QVERIFY(o.delai()->isEnabled());
                QCOMPARE(o.delai()->text(), QString());
                o.cancel();
            });
        }
    }

    void eachShowingStartsFromTheStoredSettings()
    {
        Program p({"Francais", "APEC", "10"});
        openOptions(p, [&](Options& o) {
            o.relances()->click();
            o.sources()->setCurrentIndex(1);
            o.cancel();
        });
        // Changed behind the dialog, as another copy of the settings would.
        WriteRegistry(RegistryKey, "Relance", "20");
        openOptions(p, [&](Options& o) {
            QVERIFY(o.relances()->isChecked());
            QCOMPARE(o.delai()->text(), QStringLiteral("20"));
            QCOMPARE(o.sources()->currentText(), QStringLiteral("APEC"));
            QCOMPARE(o.items(o.sources()), QStringList({"APEC", "Indeed"})); // not doubled
            o.cancel();
        });
    }

    // ---- The delay ----------------------------------------------------------------

    void theDelayFieldTakesTwoDigitsOnly()
    {
        Program p({"Francais", QString(), "5"});
        openOptions(p, [&](Options& o) {
            QLineEdit* e = o.delai();
            e->clear();
            QTest::keyClicks(e, "a1-b ,.");
            QCOMPARE(e->text(), QStringLiteral("1"));
            QTest::keyClicks(e, "x2");
            QCOMPARE(e->text(), QStringLiteral("12"));
            QTest::keyClicks(e, "3");
            QCOMPARE(e->text(), QStringLiteral("12")); // two characters at most
            QTest::keyClick(e, Qt::Key_Backspace);
            QCOMPARE(e->text(), QStringLiteral("1"));
            QTest::keyClicks(e, "7");
            o.ok();
        });
        QCOMPARE(Readregistry(RegistryKey, "Relance"), QStringLiteral("17"));
    }

    void anEmptyOrZeroDelayIsRefused()
    {
        Program p({"Francais", "APEC", "0"});
        const QByteArray before = p.settingsBytes();
        bool stayedOpen = false;
        const int result = openOptions(p, [&](Options& o) {
            o.relances()->click();
            o.ok(); // nothing typed
            QCOMPARE(p.messages.texts(), QStringList(kEmptyDelay));
            QVERIFY(p.messages.shown[0].kind == msg::Kind::Error);
            QCOMPARE(o.d.focusWidget(), o.delai());
            QVERIFY(o.d.isVisible());
            QCOMPARE(p.settingsBytes(), before);

            p.messages.clear();
            QTest::keyClicks(o.delai(), "00");
            o.ok();
            QCOMPARE(p.messages.texts(), QStringList(kZeroDelay));
            QVERIFY(p.messages.shown[0].kind == msg::Kind::Error);
            QCOMPARE(o.d.focusWidget(), o.delai());
            QCOMPARE(p.settingsBytes(), before);

            p.messages.clear();
            o.delai()->clear();
            QTest::keyClicks(o.delai(), "0");
            o.ok();
            QCOMPARE(p.messages.texts(), QStringList(kZeroDelay));
            stayedOpen = o.d.isVisible();

            // The refused value is selected: what is typed next replaces it.
            p.messages.clear();
            QTest::keyClicks(o.delai(), "08"); // eight days
            QCOMPARE(o.delai()->text(), QStringLiteral("08"));
            o.ok();
        });
        QVERIFY(stayedOpen);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(Readregistry(RegistryKey, "Relance"), QStringLiteral("08"));
        // The new delay is used by the listing at once.
        QVERIFY(p.f()->page()->Label_RelancesOnly->isVisible());
    }

    void turningFollowUpsOffStoresZeroAndShowsEverything()
    {
        Program p({"Francais", "APEC", "15"});
        p.f()->listing()->Label_RelancesOnlyClick();
        QVERIFY(p.f()->state().RelancesSeules);
        QCOMPARE(p.listedRows(), 1); // only the old one is to be followed up
        openOptions(p, [&](Options& o) {
            o.relances()->click();
            o.ok();
        });
        QCOMPARE(Readregistry(RegistryKey, "Relance"), QStringLiteral("0"));
        QVERIFY(!p.f()->state().RelancesSeules);
        QCOMPARE(p.listedRows(), 2);
        QVERIFY(p.f()->page()->Label_RelancesOnly->isHidden());
        QCOMPARE(p.f()->page()->Label_RelancesOnly->caption(), p.frame->language().text(217));
        QCOMPARE(p.messages.count(), 0);
    }

    void closingRebuildsTheListingEvenOnCancel()
    {
        Program p({"Francais", "APEC", "0"});
        QVERIFY(p.f()->page()->Label_RelancesOnly->isHidden());
        WriteRegistry(RegistryKey, "Relance", "30");
        const QByteArray before = p.settingsBytes();
        openOptions(p, [&](Options& o) { o.cancel(); });
        QCOMPARE(p.settingsBytes(), before);
        QVERIFY(p.f()->page()->Label_RelancesOnly->isVisible());
        QCOMPARE(p.frame->StatusBar1->text(),
                 QStringLiteral("2 candidatures en cours - 0 candidature terminée - "
                                "1 candidature à relancer"));
    }

    // ---- Language -----------------------------------------------------------------

    void okWithoutChoosingALanguageLeavesItAlone()
    {
        Program p({QString(), "APEC", "15"});
        openOptions(p, [&](Options& o) {
            QCOMPARE(o.langue()->currentIndex(), -1); // no setting, no selection
            o.ok();
        });
        QVERIFY(!p.stored("lang"));
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(Readregistry(RegistryKey, "Relance"), QStringLiteral("15"));
        QCOMPARE(Readregistry(RegistryKey, "DefaultSource"), QStringLiteral("APEC"));
    }

    void choosingALanguageStoresItForTheNextStart()
    {
        Program p({"Francais", QString(), "0"});
        QString chosen;
        openOptions(p, [&](Options& o) {
            QComboBox* c = o.langue();
            QCOMPARE(c->currentText(), QStringLiteral("Francais"));
            QTest::keyClick(c, c->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
            chosen = c->currentText();
            o.ok();
        });
        QCOMPARE(chosen, QStringLiteral("English"));
        QCOMPARE(Readregistry(RegistryKey, "lang"), QStringLiteral("English"));
        QCOMPARE(p.messages.texts(), QStringList(kRestart));
        QVERIFY(p.messages.shown[0].kind == msg::Kind::Information);
        QCOMPARE(p.frame->language().name(), QStringLiteral("Francais")); // until the restart

        // Shown again, the choice is not a change until the user makes one.
        p.messages.clear();
        const QByteArray before = p.settingsBytes();
        openOptions(p, [&](Options& o) {
            QCOMPARE(o.langue()->currentText(), QStringLiteral("English"));
            o.ok();
        });
        QCOMPARE(p.messages.count(), 0);
        QCOMPARE(Readregistry(RegistryKey, "lang"), QStringLiteral("English"));
        QCOMPARE(p.settingsBytes(), before); // the same values written again
    }

    void withoutModuleFilesTheListIsEmptyAndTheLanguageKept()
    {
        Program p({"English", "APEC", "0"});
        // The modules disappear before the dialog is first made.
        for (const char* m : {"Lang/Francais.so", "Lang/English.so"})
            QVERIFY(QFile::remove(p.dir.filePath(m)));
        openOptions(p, [&](Options& o) {
            QCOMPARE(o.langue()->count(), 0);
            QCOMPARE(o.langue()->currentText(), QString());
            o.ok();
        });
        QCOMPARE(Readregistry(RegistryKey, "lang"), QStringLiteral("English"));
        QCOMPARE(p.messages.count(), 0);
    }

    // ---- Default source -----------------------------------------------------------

    void anUnknownDefaultSourceIsStoredEmpty()
    {
        Program p({"Francais", "Pôle Emploi", "0"});
        openOptions(p, [&](Options& o) {
            QCOMPARE(o.sources()->currentIndex(), -1);
            o.ok();
        });
        QVERIFY(p.stored("DefaultSource"));
        QCOMPARE(Readregistry(RegistryKey, "DefaultSource"), QString());

        openOptions(p, [&](Options& o) {
            QCOMPARE(o.sources()->currentIndex(), -1);
            o.sources()->setCurrentIndex(o.sources()->findText("Indeed"));
            o.ok();
        });
        QCOMPARE(Readregistry(RegistryKey, "DefaultSource"), QStringLiteral("Indeed"));
        QCOMPARE(p.messages.count(), 0);
    }

    void unwritableSettingsAreReportedAndTheDialogStillCloses()
    {
        Program p({"Francais", "APEC", "0"});
        // Something that is not a file stands where the settings were.
        QVERIFY(QFile::remove(p.dir.filePath("ORVALDIS.ini")));
        QVERIFY(QDir(p.dir.path()).mkdir("ORVALDIS.ini"));
        const int result = openOptions(p, [&](Options& o) {
            p.messages.clear(); // the unreadable settings, already reported
            o.ok();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        // "Relance" and "DefaultSource" could not be written; "lang" was not touched.
        QCOMPARE(
            errorCount(p.messages,
                       QStringLiteral("Erreur lors de la mise à jour de la base de registres")),
            2);
    }

    // ---- About box ----------------------------------------------------------------

    void theAboutBoxShowsTheVersion()
    {
        Program p({"Francais", QString(), QString()});
        TAboutBox* box = p.f()->aboutBox();
        QCOMPARE(p.f()->aboutBox(), box);
        QCOMPARE(box->windowTitle(), QStringLiteral("A propos"));
        QVERIFY(box->isModal());
        QCOMPARE(box->palette().color(QPalette::Window), QColor(Qt::white));
        const QStringList numbers = FileVersion().split('.');
        QCOMPARE(numbers.size(), 4);
        auto* version = box->findChild<QLabel*>("Version");
        QVERIFY(version);
        QCOMPARE(version->text(),
                 "v." + numbers.mid(0, 3).join('.') + " (Build " + numbers[3] + ")");
        auto* picture = box->findChild<QLabel*>("Image1");
        QVERIFY(picture);
        QCOMPARE(picture->pixmap().size(), pictures::product().size());

        dialogs::setExecHook([](QDialog& d) {
            d.show();
            QTest::mouseClick(d.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
            return d.result();
        });
        box->openModal();
        QCOMPARE(box->result(), int(QDialog::Accepted));
        QVERIFY(!box->isVisible());
    }

    void theAboutBoxLinks()
    {
        Program p({"Francais", QString(), QString()});
        QString program;
        QStringList args;
        p.f()->EnvoiMail().setRunner([&](const QString& prog, const QStringList& a) {
            program = prog;
            args = a;
            return mail::ProcessOutcome{mail::ProcessOutcome::Finished, 0};
        });
        QStringList opened;
        setExecuteFileHook([&](const QString& target) { opened.append(target); });
        // Something left in the sender by an earlier message is not sent again.
        p.f()->EnvoiMail().setTo({"ancien@exemple.fr"});
        p.f()->EnvoiMail().setAttachments({p.dir.filePath("societes.dat")});

        TAboutBox* box = p.f()->aboutBox();
        auto click = [box](const char* name) {
            auto* link = box->findChild<LinkLabel*>(name);
            QVERIFY2(link, name);
            QTest::mouseClick(link, Qt::LeftButton);
        };
        dialogs::setExecHook([&](QDialog& d) {
            d.show();
            click("LienContact");
            click("LienSite");
            click("LienLogo");
            d.accept();
            return d.result();
        });
        box->openModal();
        dialogs::setExecHook({});

        QCOMPARE(program, QStringLiteral("xdg-email"));
        QVERIFY(!args.isEmpty());
        QVERIFY(!args.contains("--attach"));
        const QUrl mailto(args.last());
        QCOMPARE(mailto.scheme(), QStringLiteral("mailto"));
        QCOMPARE(mailto.path(), TAboutBox::SupportAddress);
        QVERIFY(TAboutBox::SupportAddress.contains('@'));
        QCOMPARE(QUrlQuery(mailto).queryItemValue("subject", QUrl::FullyDecoded),
                 "ORVALDIS " + box->findChild<QLabel*>("Version")->text());
        QCOMPARE(opened, QStringList({TAboutBox::SiteAddress, TAboutBox::LogoAddress}));
        for (const QString& address : opened)
            QVERIFY(address.startsWith("https://"));
        QCOMPARE(p.messages.count(), 0);

        // The support address is shown to the user as well as linked.
        QVERIFY(box->findChild<LinkLabel*>("LienContact")
                    ->caption()
                    .contains(TAboutBox::SupportAddress));
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
