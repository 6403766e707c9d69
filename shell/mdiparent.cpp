#include "shell/mdiparent.h"

#include "platform/messages.h"
#include "platform/pictures.h"
#include "platform/shellopen.h"
#include "shell/apropos.h"
#include "shell/formgeneral.h"
#include "shell/personnalisation.h"
#include "shell/version.h"
#include "store/settings.h"
#include "store/texts.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyleOptionMenuItem>

namespace
{

// Menu-bar items as wide as their caption plus 10 pixels.
class MenuBarStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem) {
            if (const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QString text = mi->text;
                text.remove(QLatin1Char('&'));
                s.setWidth(mi->fontMetrics.horizontalAdvance(text) + 10);
            }
        }
        return s;
    }
};

} // namespace

TMDIParent::TMDIParent(const QString& programDir) : programDir_(programDir)
{
    setObjectName(QStringLiteral("TMDIParent"));
    setWindowIcon(QIcon(pictures::product()));
}

TMDIParent::~TMDIParent()
{
    // The workers stop while every window is still whole.
    if (form_) form_->KillThread();
    language_.release();
}

void TMDIParent::Gestion_Erreur(const QString& text)
{
    msg::error(text);
}

bool TMDIParent::FormCreate()
{
    helpFile_ = programDir_ + QStringLiteral("/Help/ORVALDIS.html");
    // F1 opens the help in the browser.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] {
        if (QFileInfo::exists(helpFile_)) ExecuteFile(helpFile_);
    });
    applySize();
    if (!language_.load(programDir_, Readregistry(RegistryKey, QStringLiteral("lang"))))
        return false;
    setTextSource([this](int id) { return language_.text(id); });
    buildMenus();
    setWindowTitle(caption());
    SetLang();

    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedWidth(220);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    statusBar()->addWidget(StatusBar1, 1);
    statusBar()->addPermanentWidget(ProgressBar1);
    return true;
}

void TMDIParent::applySize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QSize full = screen ? screen->size() : area.size();
    const FrameSize size = frameSizeFor(full);
    resize(size.inner);
    if (size.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

TMDIParent::FrameSize TMDIParent::frameSizeFor(const QSize& screen)
{
    if (screen.width() > 1024 && screen.height() > 768) return {QSize(1020, 720), false};
    return {QSize(800, 600), true};
}

QString TMDIParent::caption() const
{
    return QStringLiteral("ORVALDIS ") + RaccourciVersion(FileVersion()) + QStringLiteral(" :: ") +
           GetTxt(50) + QStringLiteral(" ::");
}

void TMDIParent::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("Menu_Barre"));
    // A widget does not own the style it is given: the bar does here.
    auto* style = new MenuBarStyle(QApplication::style()->name());
    style->setParent(bar);
    bar->setStyle(style);

    MenuFichier = bar->addMenu(QString());
    MenuQuitter = MenuFichier->addAction(QString(), this, &QWidget::close);

    MenuAffichage = bar->addMenu(QString());
    auto* sorts = new QActionGroup(this);
    for (QAction*& a : MenuTri) {
        a = MenuAffichage->addAction(QString());
        a->setCheckable(true);
        sorts->addAction(a);
    }
    MenuAffichage->addSeparator();
    auto* order = new QActionGroup(this);
    MenuCroissant = MenuAffichage->addAction(QString());
    MenuDecroissant = MenuAffichage->addAction(QString());
    for (QAction* a : {MenuCroissant, MenuDecroissant}) {
        a->setCheckable(true);
        order->addAction(a);
    }

    MenuOptions = bar->addMenu(QString());
    MenuPersonnaliser = MenuOptions->addAction(QString(), this, [this] {
        if (form_) form_->personnalisation()->openModal();
    });
    MenuAide = bar->addMenu(QString());
    MenuAPropos = MenuAide->addAction(QString(), this, [this] {
        if (form_) form_->aboutBox()->openModal();
    });

    const char* names[] = {"MenuTriDate", "MenuTriSociete", "MenuTriCategorie", "MenuTriIntitule",
                           "MenuTriRDV",  "MenuTriStatut",  "MenuTriMarqueur"};
    for (int i = 0; i < 7; ++i)
        MenuTri[i]->setObjectName(QString::fromLatin1(names[i]));
    MenuFichier->setObjectName(QStringLiteral("MenuFichier"));
    MenuQuitter->setObjectName(QStringLiteral("MenuQuitter"));
    MenuAffichage->setObjectName(QStringLiteral("MenuAffichage"));
    MenuCroissant->setObjectName(QStringLiteral("MenuCroissant"));
    MenuDecroissant->setObjectName(QStringLiteral("MenuDecroissant"));
    MenuOptions->setObjectName(QStringLiteral("MenuOptions"));
    MenuPersonnaliser->setObjectName(QStringLiteral("MenuPersonnaliser"));
    MenuAide->setObjectName(QStringLiteral("MenuAide"));
    MenuAPropos->setObjectName(QStringLiteral("MenuAPropos"));
}

void TMDIParent::SetLang()
{
    MenuFichier->setTitle(GetTxt(1));
    MenuQuitter->setText(GetTxt(2));
    MenuAffichage->setTitle(GetTxt(3));
    for (int i = 0; i < 7; ++i)
        MenuTri[i]->setText(GetTxt(4 + i));
    MenuCroissant->setText(GetTxt(11));
    MenuDecroissant->setText(GetTxt(12));
    MenuOptions->setTitle(GetTxt(13));
    MenuPersonnaliser->setText(GetTxt(14));
    MenuAide->setTitle(GetTxt(15));
    MenuAPropos->setText(GetTxt(16));
}

void TMDIParent::DeSelectMenu(QAction* sortCommand)
{
    for (QAction* a : MenuTri)
        a->setChecked(a == sortCommand);
}

bool TMDIParent::createMainWindow()
{
    form_ = new TFormGeneral(this);
    if (!form_->FormCreate()) return false;
    setCentralWidget(form_);
    form_->startThreads();
    return true;
}

void TMDIParent::bringToFront()
{
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TMDIParent::closeEvent(QCloseEvent* e)
{
    if (form_ && !form_->FormCloseQuery()) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

void TMDIParent::FormClose()
{
    if (closed_) return;
    closed_ = true;
    if (form_) form_->KillThread();
    setTextSource({});
    language_.release();
}
