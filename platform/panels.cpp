#include "platform/panels.h"

#include "platform/pictures.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

LinkLabel::LinkLabel(const QString& objectName, const QString& caption, QWidget* parent)
    : QLabel(parent), caption_(caption)
{
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::RichText);
    render();
}

void LinkLabel::setIcon(const QPixmap& icon)
{
    icon_ = icon;
    render();
}

void LinkLabel::setCaption(const QString& caption)
{
    caption_ = caption;
    render();
}

void LinkLabel::LienIN()
{
    hover_ = true;
    render();
}

void LinkLabel::LienOUT()
{
    hover_ = false;
    render();
}

void LinkLabel::render()
{
    // The caption is plain text: a company name with "&" or "<" shows as typed.
    const QString color = isEnabled() ? QStringLiteral("#1F4E79") : QStringLiteral("#8C99A6");
    QString html = caption_.toHtmlEscaped();
    if (hover_ && isEnabled()) html = QStringLiteral("<u>") + html + QStringLiteral("</u>");
    html = QStringLiteral("<span style=\"color:%1\">%2</span>").arg(color, html);
    if (!icon_.isNull()) setContentsMargins(20, 0, 0, 0);
    setText(html);
}

void LinkLabel::enterEvent(QEnterEvent* e)
{
    LienIN();
    QLabel::enterEvent(e);
}

void LinkLabel::leaveEvent(QEvent* e)
{
    LienOUT();
    QLabel::leaveEvent(e);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && isEnabled())
        emit clicked();
    QLabel::mouseReleaseEvent(e);
}

void LinkLabel::paintEvent(QPaintEvent* e)
{
    QLabel::paintEvent(e);
    if (icon_.isNull()) return;
    QPainter g(this);
    g.setOpacity(isEnabled() ? 1.0 : 0.4);
    g.drawPixmap(0, (height() - icon_.height()) / 2, icon_);
}

void LinkLabel::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) {
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        render();
    }
    QLabel::changeEvent(e);
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::PaletteChange) update();
}

SidePanel::SidePanel(const QString& objectName, const QString& titleName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setFixedWidth(200);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 4, 8, 14);
    outer->setSpacing(6);
    title_ = new QLabel(this);
    title_->setObjectName(titleName);
    title_->setFixedHeight(20);
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);
    title_->setStyleSheet(QStringLiteral("color: white;"));
    outer->addWidget(title_);
    body_ = new QVBoxLayout;
    body_->setSpacing(5);
    body_->setContentsMargins(0, 4, 0, 0);
    outer->addLayout(body_);
}

LinkLabel* SidePanel::addLink(const QString& objectName, const QString& caption, const char* icon)
{
    auto* link = new LinkLabel(objectName, caption, this);
    if (icon) link->setIcon(pictures::linkIcon(icon));
    body_->addWidget(link);
    return link;
}

void SidePanel::setPictures(const QPixmap& header, const QPixmap& bodyPicture,
                            const QPixmap& footer)
{
    header_ = header;
    bodyPicture_ = bodyPicture;
    footer_ = footer;
    update();
}

void SidePanel::fitHeight()
{
    // Wrapped texts need the height they take at the panel's own width.
    QLayout* l = layout();
    setFixedHeight(l->hasHeightForWidth() ? l->totalHeightForWidth(width())
                                          : l->sizeHint().height());
}

void SidePanel::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    fitHeight();
}

void SidePanel::paintEvent(QPaintEvent*)
{
    QPainter g(this);
    const int w = width();
    const int hh = header_.isNull() ? 0 : header_.height();
    const int fh = footer_.isNull() ? 0 : footer_.height();
    if (!bodyPicture_.isNull()) g.drawPixmap(QRect(0, hh, w, height() - hh - fh), bodyPicture_);
    if (!header_.isNull()) g.drawPixmap(QRect(0, 0, w, hh), header_);
    if (!footer_.isNull()) g.drawPixmap(QRect(0, height() - fh, w, fh), footer_);
}
