#pragma once
// The windows show what an operation of the data layer reports.

#include "platform/messages.h"
#include "store/result.h"

#include <QStringList>

// Shows the message of a failed operation (a failure without text was
// already made plain to the user); true when the operation succeeded.
inline bool reported(const Result& r)
{
    if (!r.ok && !r.error.isEmpty()) msg::error(r.error);
    return r.ok;
}

// One error box for each message, in order.
inline void showErrors(const QStringList& errors)
{
    for (const QString& e : errors)
        msg::error(e);
}
