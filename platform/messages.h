#pragma once
// Every message box of the program goes through here. The windowed program
// installs boxes on screen; tests install a fake that records each message
// and answers from a script.

#include <QString>

namespace msg
{

enum class Kind { Error, Information, Warning, Confirmation, Plain };

class Sink
{
public:
    virtual ~Sink() = default;
    // Shows one message. With yesNo the box has Yes and No buttons and the
    // result is true for Yes; otherwise it has OK and the result is true.
    virtual bool show(Kind kind, const QString& text, bool yesNo) = 0;
};

// The sink in force; without one installed, messages go to standard error.
void install(Sink* sink);
Sink* current();

// Texts of the program mark a line break with CR (character 13).
QString displayText(const QString& text);

void error(const QString& text);
void information(const QString& text);
void plain(const QString& text);
void warning(const QString& text);
bool warningYesNo(const QString& text);
bool confirm(const QString& text);

} // namespace msg
