#pragma once
// The outcome of an operation of the data layer. A failure carries the whole
// message the window shows for it; nothing below the windows shows it, so
// every operation can also run on a worker.

#include <QString>

struct [[nodiscard]] Result {
    bool ok = true;
    // The message of a failure, as the user reads it. Empty for a refusal
    // that the user is not told about (an operation given a record that is
    // no longer there).
    QString error;

    static Result success() { return {}; }
    static Result failure(const QString& text) { return {false, text}; }
};
