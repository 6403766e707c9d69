#include "platform/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstring>

namespace pictures
{

namespace
{
const QColor kDeep(0x1F, 0x4E, 0x79);
const QColor kMid(0x3A, 0x7B, 0xB5);
const QColor kLight(0xE8, 0xF0, 0xF8);
} // namespace

QPixmap product()
{
    QPixmap p(357, 400);
    p.fill(Qt::white);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, 260);
    band.setColorAt(0, kDeep);
    band.setColorAt(1, kMid);
    g.fillRect(0, 0, 357, 260, band);
    // A folder of applications with a check mark: what the program keeps.
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 255, 255, 235));
    g.drawRoundedRect(QRectF(108, 52, 142, 112), 10, 10);
    g.setBrush(kLight);
    g.drawRoundedRect(QRectF(120, 40, 60, 24), 6, 6);
    g.setPen(QPen(kMid, 5));
    for (int i = 0; i < 3; ++i)
        g.drawLine(128, 84 + i * 24, 200, 84 + i * 24);
    g.setPen(QPen(QColor(0x2E, 0xA0, 0x4F), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPolyline(QPolygonF({QPointF(206, 120), QPointF(222, 138), QPointF(258, 92)}));
    QFont title(QStringLiteral("DejaVu Sans"), 30, QFont::Bold);
    g.setFont(title);
    g.setPen(Qt::white);
    g.drawText(QRect(0, 180, 357, 50), Qt::AlignCenter, QStringLiteral("ORVALDIS"));
    QFont sub(QStringLiteral("DejaVu Sans"), 11);
    g.setFont(sub);
    g.setPen(kDeep);
    g.drawText(QRect(0, 280, 357, 30), Qt::AlignCenter,
               QStringLiteral("Votre recherche d'emploi,"));
    g.drawText(QRect(0, 305, 357, 30), Qt::AlignCenter,
               QStringLiteral("candidature après candidature"));
    g.setPen(QPen(kLight, 2));
    g.drawLine(40, 360, 317, 360);
    return p;
}

QPixmap panelHeader(int width)
{
    QPixmap p(width, 26);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient grad(0, 0, 0, 26);
    grad.setColorAt(0, kMid);
    grad.setColorAt(1, kDeep);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width, 34), 7, 7);
    g.setClipRect(0, 0, width, 26);
    g.fillPath(path, grad);
    return p;
}

QPixmap panelBody()
{
    QPixmap p(8, 64);
    QPainter g(&p);
    QLinearGradient grad(0, 0, 8, 0);
    grad.setColorAt(0, kLight);
    grad.setColorAt(1, QColor(0xF6, 0xF9, 0xFC));
    g.fillRect(p.rect(), grad);
    return p;
}

QPixmap panelFooter(int width)
{
    QPixmap p(width, 10);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, -10, width, 20), 7, 7);
    g.setClipRect(0, 0, width, 10);
    g.fillPath(path, kLight);
    g.setPen(QPen(kMid, 1));
    g.drawLine(8, 9, width - 8, 9);
    return p;
}

QPixmap linkIcon(const char* kind)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(kDeep, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (!std::strcmp(kind, "new")) {
        g.drawRect(QRectF(3, 2, 10, 12));
        g.drawLine(QPointF(8, 5), QPointF(8, 11));
        g.drawLine(QPointF(5, 8), QPointF(11, 8));
    } else if (!std::strcmp(kind, "preview")) {
        g.drawEllipse(QRectF(2, 2, 8, 8));
        g.drawLine(QPointF(9, 9), QPointF(14, 14));
    } else if (!std::strcmp(kind, "print")) {
        g.drawRect(QRectF(2, 6, 12, 6));
        g.drawRect(QRectF(5, 2, 6, 4));
        g.drawRect(QRectF(5, 10, 6, 4));
    } else if (!std::strcmp(kind, "export")) {
        g.drawRect(QRectF(2, 2, 9, 12));
        g.drawLine(QPointF(7, 8), QPointF(14, 8));
        g.drawLine(QPointF(11, 5), QPointF(14, 8));
        g.drawLine(QPointF(11, 11), QPointF(14, 8));
    } else if (!std::strcmp(kind, "quit")) {
        g.drawArc(QRectF(2, 3, 12, 12), 120 * 16, 300 * 16);
        g.drawLine(QPointF(8, 1.5), QPointF(8, 8));
    } else if (!std::strcmp(kind, "delete")) {
        g.drawLine(QPointF(3, 3), QPointF(13, 13));
        g.drawLine(QPointF(13, 3), QPointF(3, 13));
    } else {
        g.drawLine(QPointF(3, 8), QPointF(13, 8));
        g.drawLine(QPointF(3, 8), QPointF(7, 4));
        g.drawLine(QPointF(3, 8), QPointF(7, 12));
    }
    return p;
}

namespace
{

QPixmap drawListingIcon(ListingIcon icon)
{
    QPixmap p(15, 15);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case ListingIcon::CandidatureEnCours: // an open folder, green light
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0x2E, 0xA0, 0x4F));
        g.drawEllipse(QRectF(2.5, 2.5, 10, 10));
        g.setBrush(Qt::white);
        g.drawPolygon(QPolygonF({QPointF(6, 5), QPointF(10.5, 7.5), QPointF(6, 10)}));
        break;
    case ListingIcon::CandidatureTerminee: // grey disc with a check mark
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0x8C, 0x99, 0xA6));
        g.drawEllipse(QRectF(2.5, 2.5, 10, 10));
        g.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        g.drawPolyline(QPolygonF({QPointF(5, 7.5), QPointF(7, 9.5), QPointF(10.5, 5.5)}));
        break;
    case ListingIcon::Img_Attention: { // warning triangle
        g.setPen(QPen(QColor(0x9A, 0x5B, 0x00), 1));
        g.setBrush(QColor(0xFF, 0xC1, 0x07));
        g.drawPolygon(QPolygonF({QPointF(7.5, 1), QPointF(14, 13.5), QPointF(1, 13.5)}));
        g.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
        g.drawLine(QPointF(7.5, 5.5), QPointF(7.5, 9));
        g.drawPoint(QPointF(7.5, 11.5));
        break;
    }
    case ListingIcon::Img_societe: // a building
        g.setPen(QPen(kDeep, 1));
        g.setBrush(QColor(0xC9, 0xDA, 0xEE));
        g.drawRect(QRectF(3.5, 1.5, 8, 12));
        g.setPen(Qt::NoPen);
        g.setBrush(kDeep);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 2; ++x)
                g.drawRect(QRectF(5 + x * 3, 3.5 + y * 3, 2, 2));
        break;
    case ListingIcon::Img_cabinet: // a person with a tie
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0x6A, 0x4C, 0x93));
        g.drawEllipse(QRectF(4.5, 1, 6, 6));
        g.drawRoundedRect(QRectF(2.5, 8, 10, 6), 3, 3);
        g.setBrush(Qt::white);
        g.drawPolygon(
            QPolygonF({QPointF(7.5, 8), QPointF(8.7, 10.5), QPointF(7.5, 13), QPointF(6.3, 10.5)}));
        break;
    case ListingIcon::Img_interim: // a clock
        g.setPen(QPen(QColor(0xC2, 0x5B, 0x12), 1.4));
        g.setBrush(QColor(0xFF, 0xE8, 0xD2));
        g.drawEllipse(QRectF(1.5, 1.5, 12, 12));
        g.drawLine(QPointF(7.5, 7.5), QPointF(7.5, 4));
        g.drawLine(QPointF(7.5, 7.5), QPointF(10, 9));
        break;
    case ListingIcon::Img_rdv: // a calendar page
        g.setPen(QPen(QColor(0x33, 0x33, 0x33), 1));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(1.5, 2.5, 12, 11));
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0xD3, 0x2F, 0x2F));
        g.drawRect(QRectF(2, 3, 11, 3));
        g.setBrush(QColor(0x33, 0x33, 0x33));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                g.drawRect(QRectF(3.5 + x * 3, 7.5 + y * 3, 2, 2));
        break;
    case ListingIcon::Marqueur: // a flag
        g.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.2));
        g.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 14));
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0xE5, 0x39, 0x35));
        g.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(13, 4.5), QPointF(4, 8)}));
        break;
    }
    return p;
}

} // namespace

const QPixmap& listingIcon(ListingIcon icon)
{
    static QPixmap cache[8];
    QPixmap& p = cache[int(icon)];
    if (p.isNull()) p = drawListingIcon(icon);
    return p;
}

namespace
{
QPixmap light(const QColor& c)
{
    QPixmap p(14, 14);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QRadialGradient grad(QPointF(5, 5), 8);
    grad.setColorAt(0, c.lighter(170));
    grad.setColorAt(1, c);
    g.setPen(QPen(c.darker(150), 1));
    g.setBrush(grad);
    g.drawEllipse(QRectF(1.5, 1.5, 11, 11));
    return p;
}
} // namespace

const QPixmap& Img_VoyantVert()
{
    static const QPixmap p = light(QColor(0x2E, 0xA0, 0x4F));
    return p;
}

const QPixmap& Img_VoyantRouge()
{
    static const QPixmap p = light(QColor(0xD3, 0x2F, 0x2F));
    return p;
}

} // namespace pictures
