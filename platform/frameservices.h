#pragma once
// What the pages ask of the frame around them: the status bar, the progress
// bar, the sort menu, and the placement of the side panels. The frame's main
// window implements it; pages never see the frame itself.

#include <QString>

class FrameServices
{
public:
    virtual ~FrameServices() = default;

    virtual void setStatusText(const QString& text) = 0;
    virtual QString statusText() const = 0;

    virtual void progressStart(qint64 maximum) = 0;
    virtual void progressStep(qint64 steps) = 0;
    virtual void progressHide() = 0;

    // The frame's sort menu: shown on the listing only, and its checks kept
    // in step with the listing's own popup menu (position 0-6 as in the menus).
    virtual void setSortMenuVisible(bool visible) = 0;
    virtual void checkSort(int position) = 0;
    virtual void checkDirection(bool descending) = 0;

    // The panels of a page moved, appeared or disappeared: the panel shared
    // by the pages follows.
    virtual void placePanels() = 0;
};
