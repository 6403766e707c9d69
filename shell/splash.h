#pragma once
// TSplashScreen: the product picture, borderless on white, while the program starts.

#include <QWidget>

class TSplashScreen : public QWidget
{
public:
    TSplashScreen();

protected:
    void paintEvent(QPaintEvent* e) override;
};
