#pragma once
// Message boxes on screen, the sink the windowed program installs.

#include "platform/messages.h"

class QWidget;

class MessageBoxes : public msg::Sink
{
public:
    bool show(msg::Kind kind, const QString& text, bool yesNo) override;
};
