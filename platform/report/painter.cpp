#include "platform/report/painter.h"

#include "platform/report/prepare.h"

#include <QPainter>

namespace report
{
namespace
{

void paintText(QPainter& p, const TextBox& t)
{
    if (t.fill.isValid()) p.fillRect(t.rect, t.fill);
    if (t.frame != NoSide) {
        p.setPen(QPen(t.frameColor, 1));
        const QRectF r = t.rect;
        if (t.frame & Left) p.drawLine(r.topLeft(), r.bottomLeft());
        if (t.frame & Top) p.drawLine(r.topLeft(), r.topRight());
        if (t.frame & Right) p.drawLine(r.topRight(), r.bottomRight());
        if (t.frame & Bottom) p.drawLine(r.bottomLeft(), r.bottomRight());
    }
    if (t.text.isEmpty()) return;
    p.setFont(fontOf(t));
    p.setPen(t.color);
    const QRectF inner = t.rect.adjusted(t.gapLeft, t.gapTop, -t.gapLeft, 0);
    // A flowing text was cut into lines when the report was prepared: it
    // is drawn as cut, so that every line lands where it was counted.
    if (!t.wrap) {
        p.save();
        p.setClipRect(t.rect);
        p.drawText(inner, int(t.align), t.text);
        p.restore();
        return;
    }
    const int flags = int(t.align) | (t.flows ? 0 : int(Qt::TextWordWrap));
    p.drawText(inner, flags, t.text);
}

void paintPicture(QPainter& p, const Picture& pic)
{
    if (pic.image.isNull()) return;
    const QSizeF size = QSizeF(pic.image.size()).scaled(pic.rect.size(), Qt::KeepAspectRatio);
    QRectF target(pic.rect.topLeft(), size);
    if (pic.centred) target.moveCenter(pic.rect.center());
    p.drawImage(target, pic.image);
}

} // namespace

void paintPage(QPainter& painter, const Page& page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Object& o : page.objects) {
        if (const auto* t = std::get_if<TextBox>(&o))
            paintText(painter, *t);
        else if (const auto* pic = std::get_if<Picture>(&o))
            paintPicture(painter, *pic);
        else if (const auto* l = std::get_if<Line>(&o)) {
            painter.setPen(QPen(l->color, l->width));
            painter.drawLine(l->line);
        }
    }
    painter.restore();
}

} // namespace report
