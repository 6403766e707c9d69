#pragma once
// A short text as the record files hold it: one length byte, then up to N
// Windows-1252 characters. Only the first `len` characters count; the bytes
// after them are kept as zeros by everything this program writes.

#include "store/cp1252.h"

#include <QByteArray>
#include <QString>
#include <cstring>

template <int N> struct ShortString {
    static_assert(N > 0 && N < 256, "a short text holds 1 to 255 characters");
    static constexpr int Max = N;

    unsigned char len;
    char chars[N];

    // Length as readers must take it: a damaged length byte counts as N.
    int length() const { return len > N ? N : len; }
    bool isEmpty() const { return len == 0; }

    QByteArray bytes() const { return QByteArray(chars, length()); }
    QString text() const { return cp1252::decode(chars, length()); }
    operator QString() const { return text(); }

    // Stores the first N characters; the unused bytes become zeros.
    void setBytes(const char* b, int n)
    {
        n = n < 0 ? 0 : (n > N ? N : n);
        len = static_cast<unsigned char>(n);
        // clear() gives no bytes at all: memcpy wants a real address even for none.
        if (n > 0) std::memcpy(chars, b, size_t(n));
        std::memset(chars + n, 0, size_t(N - n));
    }
    void setBytes(const QByteArray& b) { setBytes(b.constData(), int(b.size())); }
    void set(const QString& text) { setBytes(cp1252::encode(text.left(N))); }
    ShortString& operator=(const QString& text)
    {
        set(text);
        return *this;
    }

    void clear() { setBytes(nullptr, 0); }

    // Puts a field read from a file into the form this program writes.
    void normalise()
    {
        if (len > N) len = N;
        std::memset(chars + len, 0, size_t(N - len));
    }

    bool equals(const char* latin) const
    {
        const size_t n = std::strlen(latin);
        return size_t(length()) == n && std::memcmp(chars, latin, n) == 0;
    }
};
