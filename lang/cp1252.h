#pragma once
// UTF-8 to Windows-1252 conversion for the language modules.
//
// The texts of a module are written in its source as UTF-8 literals, which
// are easy to read and edit, but the program expects Windows-1252 bytes from
// GetTxt. The conversion is done by the compiler: a module's table is a
// constexpr object, so the converted texts sit in read-only static storage
// and a returned pointer stays valid for as long as the module is loaded.
// A character that Windows-1252 cannot hold, or a malformed UTF-8 sequence,
// stops the build instead of reaching the user as a wrong character.
//
// Plain C++ on purpose: a language module depends on nothing but itself.

#include <cstddef>

namespace langmodule
{

// One text of a module, as written in its source.
struct Text {
    int id;
    const char* utf8;
};

// Unicode code points of the bytes 0x80 to 0x9F of Windows-1252; 0 marks the
// five bytes that the code page leaves undefined.
constexpr unsigned kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, //
};

// The Windows-1252 byte of a code point, or -1 when the code page has none.
constexpr int cp1252Byte(unsigned codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHighBlock[i] != 0 && kHighBlock[i] == codePoint) return 0x80 + i;
    return -1;
}

// Reads the UTF-8 sequence that starts at s[pos], moves pos past it and gives
// its code point; a malformed or overlong sequence gives -1.
constexpr long decodeUtf8(const char* s, std::size_t& pos)
{
    const unsigned lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80) return static_cast<long>(lead);
    int extra = 0;
    unsigned codePoint = 0;
    unsigned smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        codePoint = lead & 0x07;
        smallest = 0x10000;
    } else {
        return -1;
    }
    for (int k = 0; k < extra; ++k) {
        const unsigned next = static_cast<unsigned char>(s[pos]);
        if ((next & 0xC0) != 0x80) return -1; // also stops at the terminating NUL
        ++pos;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF) return -1;
    return static_cast<long>(codePoint);
}

// Windows-1252 byte of the next character of a UTF-8 text. Evaluated by the
// compiler, the throw turns a character without a Windows-1252 byte into a
// build error that points at this line.
constexpr char nextCp1252Byte(const char* utf8, std::size_t& pos)
{
    const long codePoint = decodeUtf8(utf8, pos);
    if (codePoint < 0) throw "malformed UTF-8 in a language module text";
    const int byte = cp1252Byte(static_cast<unsigned>(codePoint));
    if (byte < 0) throw "character without a Windows-1252 byte in a language module text";
    return static_cast<char>(byte);
}

constexpr std::size_t utf8Length(const char* s)
{
    std::size_t n = 0;
    while (s[n] != '\0')
        ++n;
    return n;
}

// Bytes needed to hold every text of a table converted, terminators included.
// A Windows-1252 text is never longer than its UTF-8 form.
template <std::size_t Count> constexpr std::size_t poolSize(const Text (&texts)[Count])
{
    std::size_t size = 0;
    for (std::size_t i = 0; i < Count; ++i)
        size += utf8Length(texts[i].utf8) + 1;
    return size;
}

// The converted texts of a module: one pool of NUL-terminated Windows-1252
// texts and, for each id, where its text starts.
template <std::size_t Count, std::size_t PoolSize> struct EncodedTable {
    int ids[Count] = {};
    std::size_t offsets[Count] = {};
    char pool[PoolSize] = {};

    // The text of an id, or "" for an id the module does not know.
    const char* find(int id) const
    {
        for (std::size_t i = 0; i < Count; ++i)
            if (ids[i] == id) return pool + offsets[i];
        return "";
    }
};

template <std::size_t Count, std::size_t PoolSize>
constexpr EncodedTable<Count, PoolSize> encode(const Text (&texts)[Count])
{
    EncodedTable<Count, PoolSize> table;
    std::size_t out = 0;
    for (std::size_t i = 0; i < Count; ++i) {
        for (std::size_t j = 0; j < i; ++j)
            if (texts[j].id == texts[i].id) throw "a text id is given twice in a language module";
        table.ids[i] = texts[i].id;
        table.offsets[i] = out;
        const char* utf8 = texts[i].utf8;
        std::size_t pos = 0;
        while (utf8[pos] != '\0')
            table.pool[out++] = nextCp1252Byte(utf8, pos);
        table.pool[out++] = '\0';
    }
    return table;
}

// The ids the program looks up: 1-16, 50, 100-121, 150-176, 179, 180, 182-229.
constexpr bool isProgramId(int id)
{
    return (id >= 1 && id <= 16) || id == 50 || (id >= 100 && id <= 121) ||
           (id >= 150 && id <= 176) || id == 179 || id == 180 || (id >= 182 && id <= 229);
}

constexpr int kProgramIdCount = 116;

// True when a table gives exactly the ids the program looks up, each with a
// non-empty text (ids are known to be distinct once the table is encoded).
template <std::size_t Count> constexpr bool coversProgramIds(const Text (&texts)[Count])
{
    if (Count != static_cast<std::size_t>(kProgramIdCount)) return false;
    for (std::size_t i = 0; i < Count; ++i)
        if (!isProgramId(texts[i].id) || texts[i].utf8[0] == '\0') return false;
    return true;
}

} // namespace langmodule

// Only GetTxt leaves a module: everything else is built with hidden visibility.
#define LANGMODULE_EXPORT extern "C" __attribute__((visibility("default")))
