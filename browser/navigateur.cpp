#include "browser/navigateur.h"

#include "browser/ajoutfavori.h"
#include "browser/favoris.h"
#include "browser/html2pdf.h"
#include "platform/dialogs.h"
#include "platform/frameservices.h"
#include "platform/messages.h"
#include "platform/showresult.h"
#include "store/programstate.h"
#include "store/texts.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace
{

constexpr int ColumnWidth = 176;

// The page of the browser: a new window asked by a page opens in the same
// view, and script errors stay silent.
class NavPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage* createWindow(WebWindowType) override { return this; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override
    {
    }
};

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// A button of the tool row as wide as its caption: the address bar takes
// the rest of the row.
QPushButton* toolButton(const QString& caption, const char* name, QWidget* parent)
{
    QPushButton* b = button(caption, name, parent);
    const QFontMetrics metrics = b->fontMetrics();
    b->setFixedWidth(metrics.horizontalAdvance(caption) + metrics.averageCharWidth() + 8);
    return b;
}

// Files a page offers for download are saved where the user chooses.
void saveDownload(QWidget* parent, QWebEngineDownloadRequest* download)
{
    if (download->isSavePageDownload()) {
        download->cancel();
        return;
    }
    const QString file =
        dialogs::saveFile(parent, QStringLiteral("Enregistrer sous"),
                          QStringLiteral("Tous les fichiers (*)"), download->downloadFileName());
    if (file.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo info(file);
    download->setDownloadDirectory(info.absolutePath());
    download->setDownloadFileName(info.fileName());
    download->accept();
}

} // namespace

TNavigateur::TNavigateur(ProgramState& state, FrameServices& frame, THTML2PDF& conversion,
                         TAjoutFavori& ajoutFavori, QWidget* parent)
    : QWidget(parent), s_(state), frame_(frame), conversion_(conversion), ajoutFavori_(ajoutFavori)
{
    setObjectName(QStringLiteral("Navigateur"));
    Nav_Precedent = toolButton(QStringLiteral("Précédent"), "Nav_Precedent", this);
    Nav_Suivant = toolButton(QStringLiteral("Suivant"), "Nav_Suivant", this);
    Nav_Refresh = toolButton(QStringLiteral("Actualiser"), "Nav_Refresh", this);
    Nav_Stop = toolButton(QStringLiteral("Arrêter"), "Nav_Stop", this);
    Nav_URL = new QLineEdit(defaultAddress(), this);
    Nav_URL->setObjectName(QStringLiteral("Nav_URL"));
    Nav_URL->setMinimumWidth(Nav_URL->fontMetrics().averageCharWidth() * 30);
    Nav_URL->installEventFilter(this);
    Nav_Go = toolButton(QStringLiteral("Go"), "Nav_Go", this);
    Nav_Favoris = toolButton(QStringLiteral("Favoris"), "Nav_Favoris", this);
    Nav_Import = toolButton(QStringLiteral("Importer cette page"), "Nav_Import", this);
    Nav_Enregistrer = toolButton(QStringLiteral("Enregistrer cette page"), "Nav_Enregistrer", this);
    Nav_Refresh->setEnabled(false);
    Nav_Stop->setEnabled(false);
    Nav_Enregistrer->setEnabled(false);
    Nav_Import->setEnabled(false);

    ColonneFavoris = new QWidget(this);
    ColonneFavoris->setObjectName(QStringLiteral("ColonneFavoris"));
    ColonneFavoris->setFixedWidth(ColumnWidth);
    ListBoxFavoris = new QListWidget(ColonneFavoris);
    ListBoxFavoris->setObjectName(QStringLiteral("ListBoxFavoris"));
    Nav_AddFavori = button(QStringLiteral("Ajouter"), "Nav_AddFavori", ColonneFavoris);
    Nav_SupprFavori = button(QStringLiteral("Supprimer"), "Nav_SupprFavori", ColonneFavoris);
    Nav_HideFavoris = button(QStringLiteral("Masquer"), "Nav_HideFavoris", ColonneFavoris);
    auto* column = new QVBoxLayout(ColonneFavoris);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ListBoxFavoris, 1);
    for (QPushButton* b : {Nav_AddFavori, Nav_SupprFavori, Nav_HideFavoris})
        column->addWidget(b);
    ColonneFavoris->hide();

    Nav_Web = new QWebEngineView(this);
    Nav_Web->setObjectName(QStringLiteral("Nav_Web"));
    auto* page = new NavPage(QWebEngineProfile::defaultProfile(), Nav_Web);
    Nav_Web->setPage(page);
    QWebEngineProfile* profile = page->profile();
    const QString agent = QStringLiteral(" ORVALDIS 2.1");
    if (!profile->httpUserAgent().endsWith(agent))
        profile->setHttpUserAgent(profile->httpUserAgent() + agent);
    page->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, true);
    page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* d) { saveDownload(this, d); });
    // "Précédent" and "Suivant" stay enabled; without history they do nothing.

    auto* bar = new QHBoxLayout;
    bar->setSpacing(4);
    for (QWidget* w : {static_cast<QWidget*>(Nav_Precedent), static_cast<QWidget*>(Nav_Suivant),
                       static_cast<QWidget*>(Nav_Refresh), static_cast<QWidget*>(Nav_Stop)})
        bar->addWidget(w);
    bar->addWidget(Nav_URL, 1);
    for (QWidget* w : {Nav_Go, Nav_Favoris, Nav_Import, Nav_Enregistrer})
        bar->addWidget(w);
    auto* body = new QHBoxLayout;
    body->addWidget(ColonneFavoris);
    body->addWidget(Nav_Web, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(bar);
    layout->addLayout(body, 1);

    connect(Nav_Precedent, &QPushButton::clicked, this, &TNavigateur::Nav_PrecedentClick);
    connect(Nav_Suivant, &QPushButton::clicked, this, &TNavigateur::Nav_SuivantClick);
    connect(Nav_Refresh, &QPushButton::clicked, this, &TNavigateur::Nav_RefreshClick);
    connect(Nav_Stop, &QPushButton::clicked, this, &TNavigateur::Nav_StopClick);
    connect(Nav_Go, &QPushButton::clicked, this, &TNavigateur::Nav_GoClick);
    connect(Nav_Favoris, &QPushButton::clicked, this, &TNavigateur::Nav_FavorisClick);
    connect(Nav_HideFavoris, &QPushButton::clicked, this, &TNavigateur::Nav_FavorisClick);
    connect(Nav_Import, &QPushButton::clicked, this, &TNavigateur::Nav_ImportClick);
    connect(Nav_Enregistrer, &QPushButton::clicked, this, &TNavigateur::Nav_EnregistrerClick);
    connect(Nav_AddFavori, &QPushButton::clicked, this, &TNavigateur::Nav_AddFavoriClick);
    connect(Nav_SupprFavori, &QPushButton::clicked, this, &TNavigateur::Nav_SupprFavoriClick);
    connect(ListBoxFavoris, &QListWidget::itemClicked, this, &TNavigateur::ListBoxFavorisClick);

    connect(page, &QWebEnginePage::loadStarted, this, &TNavigateur::Nav_WebBeforeNavigate2);
    connect(page, &QWebEnginePage::loadProgress, this, &TNavigateur::Nav_WebProgressChange);
    connect(page, &QWebEnginePage::loadFinished, this, &TNavigateur::Nav_WebDocumentComplete);
    connect(page, &QWebEnginePage::linkHovered, this,
            [this](const QString& url) { frame_.setStatusText(url); });
    // The address bar follows links and redirections.
    connect(page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (!url.isEmpty() && url != QUrl(QStringLiteral("about:blank")))
            Nav_URL->setText(url.toString());
    });
}

TNavigateur::~TNavigateur()
{
    if (loading_) frame_.progressHide();
}

QString TNavigateur::defaultAddress()
{
    return QStringLiteral("https://candidat.francetravail.fr/offres/emploi");
}

QWebEnginePage* TNavigateur::page() const
{
    return Nav_Web->page();
}

bool TNavigateur::favorisShown() const
{
    return !ColonneFavoris->isHidden();
}

void TNavigateur::TabSheet3Show()
{
    savedStatus_ = frame_.statusText();
    frame_.setStatusText(QString());
    frame_.setSortMenuVisible(false);
    if (loading_) {
        frame_.progressStart(100);
        frame_.progressStep(progress_);
    }
}

void TNavigateur::TabSheet3Hide()
{
    frame_.setStatusText(savedStatus_);
    // The progress bar belongs to the page on screen.
    if (loading_) frame_.progressHide();
}

void TNavigateur::NavCtrls(bool enabled)
{
    for (QWidget* w :
         {static_cast<QWidget*>(Nav_URL), static_cast<QWidget*>(Nav_Go),
          static_cast<QWidget*>(Nav_Refresh), static_cast<QWidget*>(Nav_Import),
          static_cast<QWidget*>(Nav_Enregistrer), static_cast<QWidget*>(ListBoxFavoris)})
        w->setEnabled(enabled);
}

bool TNavigateur::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Nav_URL && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Nav_GoClick();
            return true;
        }
        if (key->matches(QKeySequence::SelectAll)) {
            Nav_URL->selectAll();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TNavigateur::Nav_GoClick()
{
    const QString text = Nav_URL->text().trimmed();
    if (text.isEmpty()) return;
    Nav_Web->load(QUrl::fromUserInput(text));
}

void TNavigateur::Nav_PrecedentClick()
{
    Nav_Web->back(); // nothing happens without history
}

void TNavigateur::Nav_SuivantClick()
{
    Nav_Web->forward();
}

void TNavigateur::Nav_RefreshClick()
{
    NavCtrls(false);
    Nav_Web->reload();
}

void TNavigateur::Nav_StopClick()
{
    Nav_Web->stop();
    loading_ = false;
    NavCtrls(true);
    Nav_Stop->setEnabled(false);
    frame_.progressHide();
}

void TNavigateur::Nav_WebBeforeNavigate2()
{
    // The address being opened, until the page names its links.
    if (isVisible()) frame_.setStatusText(page()->requestedUrl().toString());
    loading_ = true;
    progress_ = 0;
    NavCtrls(false);
    frame_.progressStart(100);
    Nav_Stop->setEnabled(true);
}

void TNavigateur::Nav_WebProgressChange(int progress)
{
    if (!loading_ || progress <= progress_) return;
    frame_.progressStep(progress - progress_);
    progress_ = progress;
}

void TNavigateur::Nav_WebDocumentComplete()
{
    loading_ = false;
    if (isVisible()) {
        Nav_Web->setFocus();
        frame_.setStatusText(QString());
    }
    frame_.progressHide();
    NavCtrls(true);
    Nav_Stop->setEnabled(false);
}

void TNavigateur::Nav_ImportClick()
{
    // The PDF waits in FichierImport for the application it goes into.
    conversion_.convert(page());
    if (!s_.FichierImport.isEmpty()) emit importChoiceRequested();
}

void TNavigateur::Nav_EnregistrerClick()
{
    const QString pdf = conversion_.convert(page());
    if (pdf.isEmpty()) return;
    QString file = dialogs::saveFile(this, QStringLiteral("Enregistrer sous"),
                                     GetTxt(186) + QStringLiteral(" PDF (*.pdf)"), QString(),
                                     QStringLiteral("pdf"));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
    // The PDF leaves Import/ either way: moved where the user chose, or deleted.
    if (file.isEmpty() || !reported(s_.store().DeplaceFichier(pdf, file)))
        reported(s_.store().DeleteFichier(pdf));
    s_.FichierImport.clear();
}

void TNavigateur::fillFavoris()
{
    ListBoxFavoris->clear();
    ListBoxFavoris->addItems(favoris::noms(s_.store().Favoris));
}

void TNavigateur::Nav_FavorisClick()
{
    if (favorisShown()) {
        ColonneFavoris->hide();
        ListBoxFavoris->clear();
    } else {
        fillFavoris();
        ColonneFavoris->show();
    }
}

void TNavigateur::ListBoxFavorisClick()
{
    const QListWidgetItem* item = ListBoxFavoris->currentItem();
    if (!item) return;
    const int i = favoris::indexOf(s_.store().Favoris, item->text());
    if (i < 0) return;
    Nav_URL->setText(s_.store().Favoris[i].url.text());
    Nav_GoClick();
}

void TNavigateur::Nav_AddFavoriClick()
{
    if (Nav_URL->text().isEmpty()) return;
    if (ajoutFavori_.openModal(Nav_URL->text())) fillFavoris();
}

void TNavigateur::Nav_SupprFavoriClick()
{
    QListWidgetItem* item = ListBoxFavoris->currentItem();
    if (!item || !item->isSelected()) return;
    if (!msg::confirm(GetTxt(218))) return;
    if (!reported(favoris::supprime(s_.store(), item->text()))) return;
    delete item;
}
