#include "reports/legende.h"

#include "platform/pictures.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace
{

QPixmap letter(const char* l, const QColor& colour)
{
    QPixmap p(15, 15);
    p.fill(colour);
    QPainter g(&p);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setBold(true);
    g.setFont(f);
    g.setPen(Qt::white);
    g.drawText(p.rect(), Qt::AlignCenter, QString::fromLatin1(l));
    return p;
}

} // namespace

TLegende::TLegende(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TLegende"));
    setWindowTitle(QStringLiteral("Légende"));
    setModal(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    using pictures::ListingIcon;
    const struct {
        QPixmap picture;
        const char* text;
    } rows[] = {
        {pictures::listingIcon(ListingIcon::CandidatureEnCours), "Candidature en cours"},
        {pictures::listingIcon(ListingIcon::CandidatureTerminee), "Candidature terminée"},
        {pictures::listingIcon(ListingIcon::Img_Attention), "Alarme"},
        {pictures::listingIcon(ListingIcon::Img_societe), "Société"},
        {pictures::listingIcon(ListingIcon::Img_cabinet), "Cabinet de recrutement"},
        {pictures::listingIcon(ListingIcon::Img_interim), "Société intérimaire"},
        {pictures::listingIcon(ListingIcon::Img_rdv), "Rendez-vous"},
        {letter("C", QColor(0, 168, 0)), "CV envoyé"},
        {letter("L", QColor(0, 128, 255)), "Lettre de motivation envoyée"},
        {letter("A", QColor(182, 7, 248)), "Accusé de réception reçu"},
        {letter("S", QColor(248, 7, 55)), "Suite ou refus"},
        {pictures::listingIcon(ListingIcon::Marqueur), "Marqueur"},
    };
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 12, 18, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    int r = 0;
    for (const auto& row : rows) {
        auto* icon = new QLabel(this);
        icon->setPixmap(row.picture);
        icon->setFixedSize(15, 15);
        auto* text = new QLabel(QString::fromUtf8(row.text), this);
        text->setObjectName(QStringLiteral("Legende%1").arg(r + 1));
        grid->addWidget(icon, r, 0);
        grid->addWidget(text, r, 1);
        ++r;
    }
    setFixedSize(sizeHint());
}

void TLegende::showLegend()
{
    if (!isVisible()) {
        const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect g = s ? s->geometry() : QRect(0, 0, 1024, 768);
        move((g.width() - width()) / 2, (g.height() - height()) / 2);
        show();
    }
    raise();
    activateWindow();
}
