// The browser page on pages served from 127.0.0.1: what the address bar,
// the buttons, the status bar and the progress bar show while pages load,
// the history, the favourites column, pages asking for new windows, and
// "Enregistrer cette page".

#include "browser/ajoutfavori.h"
#include "browser/favoris.h"
#include "browser/html2pdf.h"
#include "browser/navigateur.h"
#include "common/fakemessages.h"
#include "common/httpserver.h"
#include "common/testfiles.h"
#include "platform/dialogs.h"
#include "platform/frameservices.h"
#include "store/programstate.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace
{

// The frame around the page: what it was asked to show.
class FakeFrame : public FrameServices
{
public:
    void setStatusText(const QString& text) override
    {
        status = text;
        statuses.append(text);
    }
    QString statusText() const override { return status; }
    void progressStart(qint64 maximum) override
    {
        progressShown = true;
        progressMax = maximum;
        progress = 0;
    }
    void progressStep(qint64 steps) override { progress += steps; }
    void progressHide() override { progressShown = false; }
    void setSortMenuVisible(bool visible) override { sortMenu = visible; }
    void checkSort(int) override {}
    void checkDirection(bool) override {}
    void placePanels() override {}

    QString status;
    QStringList statuses;
    bool progressShown = false;
    qint64 progressMax = 0, progress = 0;
    bool sortMenu = true;
};

} // namespace

class TestNavigateur : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensNoPageByItself();
    void loadingAndIdle();
    void history();
    void addressBarKeys();
    void favouritesColumn();
    void newWindowInTheSameView();
    void savePage();

private:
    // Types the address and presses Enter; false when the page did not load.
    bool go(const QString& path);
    bool waitLoaded(int ms = 20000);

    TestHttpServer server;
    QTemporaryDir dir;
    FakeFrame frame;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<THTML2PDF> conversion;
    std::unique_ptr<TAjoutFavori> ajout;
    std::unique_ptr<TNavigateur> nav;
};

void TestNavigateur::initTestCase()
{
    server.serve(
        "/n/one.html",
        "<html><head><title>Un</title></head><body><p>Page un</p>"
        "<a id=l onmousedown=\"document.title='down'\" href=\"two.html\" target=\"_blank\" "
        "style=\"display:block;width:300px;height:80px\">Deux</a>"
        "</body></html>");
    server.serve("/n/two.html", "<html><body><p>Page deux, offre de comptable</p></body></html>");
    server.redirect("/n/moved.html", server.url("/n/two.html").toLatin1());
}

void TestNavigateur::init()
{
    state = std::make_unique<ProgramState>(dir.path());
    QVERIFY(state->store().Initialisation().isEmpty());
    conversion = std::make_unique<THTML2PDF>(*state, nullptr);
    conversion->options.tempRoot = dir.path();
    ajout = std::make_unique<TAjoutFavori>(*state, nullptr);
    nav = std::make_unique<TNavigateur>(*state, frame, *conversion, *ajout);
    nav->resize(1000, 600);
    nav->show();
    nav->TabSheet3Show();
}

void TestNavigateur::cleanup()
{
    nav.reset();
    ajout.reset();
    conversion.reset();
    state.reset();
    dialogs::setExecHook(nullptr);
    dialogs::setFileHook(nullptr);
}

bool TestNavigateur::waitLoaded(int ms)
{
    QSignalSpy done(nav->page(), &QWebEnginePage::loadFinished);
    return done.wait(ms) && done.value(0).value(0).toBool();
}

bool TestNavigateur::go(const QString& path)
{
    QSignalSpy done(nav->page(), &QWebEnginePage::loadFinished);
    nav->Nav_URL->setText(server.url(path));
    QTest::keyClick(nav->Nav_URL, Qt::Key_Return);
    return done.wait(20000) && done.value(0).value(0).toBool();
}

void TestNavigateur::opensNoPageByItself()
{
    QCOMPARE(nav->Nav_URL->text(), TNavigateur::defaultAddress());
    QVERIFY(nav->Nav_URL->text().startsWith(QStringLiteral("https://")));
    QTest::qWait(300);
    QVERIFY(nav->page()->url().isEmpty());
    QVERIFY(!frame.progressShown);
    // The start state: nothing loaded to save; the history buttons are on.
    QVERIFY(nav->Nav_Precedent->isEnabled());
    QVERIFY(nav->Nav_Suivant->isEnabled());
    QVERIFY(!nav->Nav_Refresh->isEnabled());
    QVERIFY(!nav->Nav_Stop->isEnabled());
    QVERIFY(!nav->Nav_Enregistrer->isEnabled());
    QVERIFY(!nav->Nav_Import->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(nav->Nav_URL), static_cast<QWidget*>(nav->Nav_Go),
                       static_cast<QWidget*>(nav->Nav_Favoris)})
        QVERIFY(w->isEnabled());
    QVERIFY(!nav->favorisShown());
    // The page's entry hides the sort menu and clears the status bar; its
    // exit gives the status back.
    QVERIFY(!frame.sortMenu);
    frame.status = QStringLiteral("12 candidatures");
    nav->TabSheet3Show();
    QVERIFY(frame.status.isEmpty());
    nav->TabSheet3Hide();
    QCOMPARE(frame.status, QStringLiteral("12 candidatures"));
    // Every caption whole, and the address bar takes the free width of the row.
    for (QPushButton* b : nav->findChildren<QPushButton*>())
        QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()),
                 qPrintable(b->text()));
    QVERIFY2(nav->Nav_URL->width() > 300, qPrintable(QString::number(nav->Nav_URL->width())));
    const int width = nav->Nav_URL->width();
    nav->resize(1300, 600);
    QTRY_COMPARE(nav->Nav_URL->width(), width + 300);
}

void TestNavigateur::loadingAndIdle()
{
    // While loading: the controls off, "Arrêter" on, the progress shown,
    // the address in the status bar.
    bool checkedWhileLoading = false;
    connect(nav->page(), &QWebEnginePage::loadStarted, this, [&] {
        QTimer::singleShot(0, this, [&] {
            if (checkedWhileLoading) return;
            checkedWhileLoading = true;
            QVERIFY(!nav->Nav_URL->isEnabled());
            QVERIFY(!nav->Nav_Go->isEnabled());
            QVERIFY(nav->Nav_Stop->isEnabled());
            QVERIFY(nav->Nav_Favoris->isEnabled());
            QVERIFY(frame.progressShown);
            QCOMPARE(frame.progressMax, 100);
        });
    });
    QVERIFY(go(QStringLiteral("/n/moved.html")));
    QVERIFY(checkedWhileLoading);
    QVERIFY(frame.statuses.contains(server.url(QStringLiteral("/n/moved.html"))));
    // Idle: the address bar follows the redirection, the page can be saved.
    QCOMPARE(nav->Nav_URL->text(), server.url(QStringLiteral("/n/two.html")));
    QVERIFY(nav->Nav_URL->isEnabled());
    QVERIFY(nav->Nav_Refresh->isEnabled());
    QVERIFY(nav->Nav_Enregistrer->isEnabled());
    QVERIFY(!nav->Nav_Stop->isEnabled());
    QVERIFY(!frame.progressShown);
    QCOMPARE(frame.progress, 100);
    QVERIFY(frame.status.isEmpty());

    // "Actualiser" goes through the same two states.
    QSignalSpy done(nav->page(), &QWebEnginePage::loadFinished);
    server.requested.clear();
    nav->Nav_Refresh->click();
    QVERIFY(!nav->Nav_Refresh->isEnabled());
    QVERIFY(done.wait(20000));
    QVERIFY(server.requested.contains(QStringLiteral("/n/two.html")));
    QVERIFY(nav->Nav_Refresh->isEnabled());
    QVERIFY(!frame.progressShown);
}

void TestNavigateur::history()
{
    QVERIFY(go(QStringLiteral("/n/one.html")));
    QVERIFY(go(QStringLiteral("/n/two.html")));
    nav->Nav_Precedent->click();
    QVERIFY(waitLoaded());
    QCOMPARE(nav->Nav_URL->text(), server.url(QStringLiteral("/n/one.html")));
    // Enabled in both states; without a page to go back to, nothing happens.
    QVERIFY(nav->Nav_Precedent->isEnabled() && nav->Nav_Suivant->isEnabled());
    nav->Nav_PrecedentClick();
    QTest::qWait(200);
    QCOMPARE(nav->page()->url().path(), QStringLiteral("/n/one.html"));

    nav->Nav_Suivant->click();
    QVERIFY(waitLoaded());
    QCOMPARE(nav->Nav_URL->text(), server.url(QStringLiteral("/n/two.html")));
    nav->Nav_SuivantClick();
    QTest::qWait(200);
    QCOMPARE(nav->page()->url().path(), QStringLiteral("/n/two.html"));
}

void TestNavigateur::addressBarKeys()
{
    // Enter opens the address and adds no character to it.
    QVERIFY(go(QStringLiteral("/n/one.html")));
    QCOMPARE(nav->page()->url().path(), QStringLiteral("/n/one.html"));
    QCOMPARE(nav->Nav_URL->text(), server.url(QStringLiteral("/n/one.html")));
    // Ctrl+A selects the whole address.
    nav->Nav_URL->setFocus();
    nav->Nav_URL->setCursorPosition(3);
    QVERIFY(!nav->Nav_URL->hasSelectedText());
    QTest::keyClick(nav->Nav_URL, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(nav->Nav_URL->selectedText(), nav->Nav_URL->text());
    QCOMPARE(nav->Nav_URL->text(), server.url(QStringLiteral("/n/one.html")));
}

void TestNavigateur::favouritesColumn()
{
    // An empty address bar: "Ajouter" opens nothing.
    int dialogsShown = 0;
    dialogs::setExecHook([&](QDialog& d) {
        ++dialogsShown;
        // The name proposed is the address; the user names it.
        if (auto* edit = d.findChild<QLineEdit*>(QStringLiteral("Edit1")))
            edit->setText(QStringLiteral("Zèbre"));
        if (auto* ok = d.findChild<QPushButton*>(QStringLiteral("BitBtn1"))) ok->click();
        return d.result();
    });
    nav->Nav_URL->clear();
    nav->Nav_FavorisClick();
    nav->Nav_AddFavori->click();
    QCOMPARE(dialogsShown, 0);
    QVERIFY(favoris::ajoute(state->store(), QStringLiteral("offres"),
                            server.url(QStringLiteral("/n/two.html")))
                .ok);
    nav->Nav_URL->setText(server.url(QStringLiteral("/n/one.html")));
    nav->Nav_AddFavori->click();
    QCOMPARE(dialogsShown, 1);
    QCOMPARE(state->store().Favoris.size(), 2);

    // Shown: the list sorted, the browser narrower, the two side by side.
    nav->Nav_FavorisClick();
    nav->Nav_FavorisClick();
    QVERIFY(nav->favorisShown());
    QTRY_VERIFY(nav->ColonneFavoris->isVisible());
    const int narrow = nav->Nav_Web->width();
    auto names = [&] {
        QStringList l;
        for (int i = 0; i < nav->ListBoxFavoris->count(); ++i)
            l.append(nav->ListBoxFavoris->item(i)->text());
        return l;
    };
    QCOMPARE(names(), QStringList({"offres", "Zèbre"}));
    QVERIFY(nav->ColonneFavoris->geometry().right() < nav->Nav_Web->geometry().left());
    // "Masquer": the browser takes the whole width, the list is emptied,
    // and shown again it lists each name once.
    nav->Nav_HideFavoris->click();
    QVERIFY(!nav->favorisShown());
    QCOMPARE(nav->ListBoxFavoris->count(), 0);
    QTRY_VERIFY(nav->Nav_Web->width() > narrow + nav->ColonneFavoris->width() - 1);
    nav->Nav_Favoris->click();
    QCOMPARE(names(), QStringList({"offres", "Zèbre"}));

    // A click on a name opens its address.
    QSignalSpy done(nav->page(), &QWebEnginePage::loadFinished);
    nav->ListBoxFavoris->setCurrentRow(0);
    nav->ListBoxFavorisClick();
    QVERIFY(done.wait(20000));
    QCOMPARE(nav->page()->url().path(), QStringLiteral("/n/two.html"));

    // Deleting asks first; "Non" keeps it.
    FakeMessages messages;
    messages.answers = {false, true};
    nav->ListBoxFavoris->setCurrentRow(1);
    nav->Nav_SupprFavori->click();
    QCOMPARE(state->store().Favoris.size(), 2);
    nav->Nav_SupprFavori->click();
    QCOMPARE(messages.count(), 2);
    QCOMPARE(names(), QStringList({"offres"}));
    QCOMPARE(state->store().Favoris.size(), 1);
    QVERIFY(QFile::exists(state->store().path(QStringLiteral("backup/favoris.dat"))));
}

void TestNavigateur::newWindowInTheSameView()
{
    QVERIFY(go(QStringLiteral("/n/one.html")));
    QVERIFY(QTest::qWaitForWindowExposed(nav.get()));
    // A link that asks for a new window. The page clicks it itself: keys
    // sent to the view under the offscreen platform were now and then lost
    // before the page could take them, and the page's own click reaches the
    // same request for a window.
    QSignalSpy done(nav->page(), &QWebEnginePage::loadFinished);
    nav->page()->runJavaScript(QStringLiteral("document.getElementById('l').click();"));
    QVERIFY(done.size() > 0 || done.wait(20000));
    QCOMPARE(nav->page()->url().path(), QStringLiteral("/n/two.html"));
    QCOMPARE(nav->Nav_URL->text(), server.url(QStringLiteral("/n/two.html")));
    QVERIFY(nav->Nav_URL->isEnabled());
    QVERIFY(!nav->Nav_Stop->isEnabled());
    QVERIFY(!frame.progressShown);
}

void TestNavigateur::savePage()
{
    QVERIFY(go(QStringLiteral("/n/two.html")));
    FakeMessages messages;
    const QString chosen = dir.filePath(QStringLiteral("offre"));
    QString title;
    dialogs::setExecHook([](QDialog& d) { return d.exec(); });
    dialogs::setFileHook([&](const QString& t) {
        title = t;
        return chosen;
    });
    nav->Nav_Enregistrer->click();
    // Moved where the user chose, ".pdf" added; nothing left in Import/.
    QVERIFY(QFile::exists(chosen + QStringLiteral(".pdf")));
    QVERIFY(readBytes(chosen + QStringLiteral(".pdf")).startsWith("%PDF"));
    QCOMPARE(title, QStringLiteral("Enregistrer sous"));
    const QDir import(state->store().path(QStringLiteral("Import")));
    QVERIFY(import.entryList(QDir::Files).isEmpty());
    QVERIFY(state->FichierImport.isEmpty());

    // The save dialog cancelled: the PDF made is deleted.
    dialogs::setFileHook([](const QString&) { return QString(); });
    nav->Nav_Enregistrer->click();
    QVERIFY(import.entryList(QDir::Files).isEmpty());
    QVERIFY(state->FichierImport.isEmpty());
    QCOMPARE(messages.count(), 0);
}

QTEST_MAIN(TestNavigateur)
#include "tst_navigateur.moc"
