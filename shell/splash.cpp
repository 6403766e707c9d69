#include "shell/splash.h"

#include "platform/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TSplashScreen::TSplashScreen()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TSplashScreen"));
    setFixedSize(357, 400);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void TSplashScreen::paintEvent(QPaintEvent*)
{
    QPainter g(this);
    g.fillRect(rect(), Qt::white);
    g.drawPixmap(0, 0, pictures::product());
}
