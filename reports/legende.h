#pragma once
// TLegende: what the pictures and letters of the listing mean. It stays above
// the main window without blocking it.

#include <QDialog>

class TLegende : public QDialog
{
    Q_OBJECT
public:
    explicit TLegende(QWidget* parent = nullptr);

    // Shows the legend, centred on the screen when it was not on screen;
    // brings it to the front when it was.
    void showLegend();
};
