#include "platform/messages.h"

#include <cstdio>

namespace msg
{
namespace
{

class StderrSink : public Sink
{
public:
    bool show(Kind, const QString& text, bool) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(displayText(text)));
        return false;
    }
};

StderrSink fallback;
Sink* installed = nullptr;

} // namespace

void install(Sink* sink)
{
    installed = sink;
}
Sink* current()
{
    return installed ? installed : &fallback;
}

QString displayText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

void error(const QString& text)
{
    current()->show(Kind::Error, text, false);
}
void information(const QString& text)
{
    current()->show(Kind::Information, text, false);
}
void plain(const QString& text)
{
    current()->show(Kind::Plain, text, false);
}
void warning(const QString& text)
{
    current()->show(Kind::Warning, text, false);
}
bool warningYesNo(const QString& text)
{
    return current()->show(Kind::Warning, text, true);
}
bool confirm(const QString& text)
{
    return current()->show(Kind::Confirmation, text, true);
}

} // namespace msg
