#include "shell/apropos.h"
#include "platform/widgets.h"

#include "platform/dialogs.h"
#include "platform/mailsender.h"
#include "platform/panels.h"
#include "platform/pictures.h"
#include "platform/shellopen.h"
#include "shell/formgeneral.h"
#include "shell/version.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

const QString TAboutBox::SupportAddress = QStringLiteral("support@orvaldis.example");
const QString TAboutBox::SiteAddress = QStringLiteral("https://orvaldis.example/");
const QString TAboutBox::LogoAddress = QStringLiteral("https://graphisme.orvaldis.example/");

namespace
{
// French typography: a non-breaking space before ":", "!" and "?".
const QChar nbsp(0x00A0);

QLabel* line(const QString& text, const char* name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}
} // namespace

TAboutBox::TAboutBox(TFormGeneral& form)
    : QDialog(&form, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      f_(form)
{
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("A propos"));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(pictures::product());
    Image1->setFixedSize(Image1->pixmap().size());

    auto* titre = line(QStringLiteral("ORVALDIS"), "Titre", this);
    QFont big = titre->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    titre->setFont(big);

    Version = line(VersionLabel(FileVersion()), "Version", this);

    auto* invitation = line(QStringLiteral("Une question, une suggestion") + nbsp +
                                QStringLiteral("? N'hésitez pas à nous écrire à l'adresse "
                                               "suivante") +
                                nbsp + QLatin1Char(':'),
                            "Label_Contact", this);
    LienContact = new LinkLabel(QStringLiteral("LienContact"), SupportAddress, this);
    LienContact->setToolTip(QStringLiteral("Écrire un message au support"));

    auto* voeux =
        line(QStringLiteral("Bonne chance dans votre recherche d'emploi") + nbsp + QLatin1Char('!'),
             "Label_BonneChance", this);
    QFont italic = voeux->font();
    italic.setItalic(true);
    voeux->setFont(italic);

    auto* avertissement =
        line(QStringLiteral("Ce logiciel est fourni « tel quel », sans garantie d'aucune sorte. "
                            "Ses auteurs ne sauraient être tenus pour responsables des dommages "
                            "liés à son utilisation."),
             "Label_Avertissement", this);
    QFont small = avertissement->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    avertissement->setFont(small);

    auto* credit = line(QStringLiteral("Logo réalisé par l'atelier graphique d'ORVALDIS") + nbsp +
                            QLatin1Char(':'),
                        "Label_Logo", this);
    LienLogo = new LinkLabel(QStringLiteral("LienLogo"), LogoAddress, this);

    auto* site = line(QStringLiteral("Retrouvez ORVALDIS sur son site") + nbsp + QLatin1Char(':'),
                      "Label_Site", this);
    LienSite = new LinkLabel(QStringLiteral("LienSite"), SiteAddress, this);

    for (LinkLabel* l : {LienLogo, LienSite})
        l->setToolTip(QStringLiteral("Ouvrir dans le navigateur"));
    connect(LienContact, &LinkLabel::clicked, this, &TAboutBox::LienContactClick);
    connect(LienLogo, &LinkLabel::clicked, this, &TAboutBox::LienLogoClick);
    connect(LienSite, &LinkLabel::clicked, this, &TAboutBox::LienSiteClick);

    BitBtn1 = new QPushButton(QStringLiteral("Fermer"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* texte = new QVBoxLayout;
    texte->setSpacing(4);
    texte->addWidget(titre);
    texte->addWidget(Version);
    texte->addSpacing(16);
    texte->addWidget(invitation);
    texte->addWidget(LienContact);
    texte->addSpacing(16);
    texte->addWidget(voeux);
    texte->addSpacing(16);
    texte->addWidget(credit);
    texte->addWidget(LienLogo);
    texte->addSpacing(8);
    texte->addWidget(site);
    texte->addWidget(LienSite);
    texte->addStretch();
    texte->addWidget(avertissement);
    texte->addSpacing(8);
    auto* bouton = new QHBoxLayout;
    bouton->addStretch();
    bouton->addWidget(BitBtn1);
    texte->addLayout(bouton);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 12, 12);
    row->setSpacing(16);
    row->addWidget(Image1, 0, Qt::AlignTop);
    auto* right = new QWidget(this);
    right->setFixedWidth(300);
    right->setLayout(texte);
    texte->setContentsMargins(0, 12, 0, 0);
    row->addWidget(right);
    setFixedSize(sizeHint());
}

void TAboutBox::openModal()
{
    dialogs::exec(*this);
}

void TAboutBox::LienContactClick()
{
    MailSender& mail = f_.EnvoiMail();
    mail.clear();
    mail.setTo({SupportAddress});
    mail.setSubject(QStringLiteral("ORVALDIS ") + Version->text());
    mail.sendAndReport();
}

void TAboutBox::LienSiteClick()
{
    ExecuteFile(SiteAddress);
}

void TAboutBox::LienLogoClick()
{
    ExecuteFile(LogoAddress);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
}
