#pragma once
// A message sink for tests: records every message and answers Yes/No
// questions from a script (No when the script is empty).

#include "platform/messages.h"

#include <QList>
#include <QStringList>
#include <functional>

class FakeMessages : public msg::Sink
{
public:
    struct Shown {
        msg::Kind kind;
        QString text;
        bool yesNo;
    };

    FakeMessages() { msg::install(this); }
    ~FakeMessages() override { msg::install(nullptr); }

    bool show(msg::Kind kind, const QString& text, bool yesNo) override;

    QList<Shown> shown;
    QList<bool> answers; // taken in order by the Yes/No questions
    // Runs while a message is "on screen": what a real box does to the
    // other windows (taking the activation, for one) can be played here.
    std::function<void()> whileShown;

    QStringList texts() const;
    int count() const { return int(shown.size()); }
    void clear() { shown.clear(); }
};
