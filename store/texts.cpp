#include "store/texts.h"

namespace
{
TextSource& source()
{
    static TextSource s;
    return s;
}
} // namespace

void setTextSource(TextSource s)
{
    source() = std::move(s);
}

QString GetTxt(int id)
{
    return source() ? source()(id) : QString();
}
