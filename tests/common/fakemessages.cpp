#include "common/fakemessages.h"

bool FakeMessages::show(msg::Kind kind, const QString& text, bool yesNo)
{
    shown.append({kind, text, yesNo});
    if (whileShown) whileShown();
    if (!yesNo) return true;
    return answers.isEmpty() ? false : answers.takeFirst();
}

QStringList FakeMessages::texts() const
{
    QStringList t;
    for (const Shown& s : shown)
        t.append(s.text);
    return t;
}
