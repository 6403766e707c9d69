#pragma once
// Windows-1252, the character set of every text stored in the record files.

#include <QByteArray>
#include <QString>
#include <initializer_list>

namespace cp1252
{

// Decodes n bytes. Never fails: the five bytes the code page leaves undefined
// decode to the control characters of the same value, as Windows does.
QString decode(const char* bytes, int n);
inline QString decode(const QByteArray& b)
{
    return decode(b.constData(), int(b.size()));
}

// Encodes a text. A character that has no Windows-1252 form becomes '?'
// and sets *lossless to false when given.
QByteArray encode(const QString& text, bool* lossless = nullptr);

// Encodes at most `max` characters of a text into `out`, which has room for
// them; returns how many were written. Same replacement as encode.
int encodeInto(QStringView text, char* out, int max, bool* lossless = nullptr);

// True when every character of the text can be written in Windows-1252.
bool canEncode(const QString& text);

// The distinct characters of a text that Windows-1252 has no code for, in
// the order they first appear, at most five, for a message.
QString unencodableCharacters(const QString& text);

// A text the user typed and the name of its field, for the messages.
struct FieldText {
    QString field;
    QString text;
};
// Empty when every text can be stored; otherwise the message that names the
// first field holding characters the data files cannot hold, and those
// characters.
QString unstorableText(std::initializer_list<FieldText> texts);

} // namespace cp1252
