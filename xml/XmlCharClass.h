#pragma once

#include <cstdint>
#include <initializer_list>

// Character classes of the XML reader, one table lookup per test in the hot
// loops. Everything from U+0080 up is outside the table and handled by the
// callers (it is a name character wherever names are read). The narrow
// overloads read a byte of an all-ASCII text as the code unit it stands for.
namespace XmlCharClass {

enum : std::uint8_t {
    Space = 1,     // space, tab, line feed, carriage return
    NameStart = 2, // letter, '_', ':' (and U+007B up, checked apart)
    NameStop = 4,  // ends a tag name in the scanner: space, '/', '>'
    MatchStop = 8, // ends a tag name when matching: space, '<', '>', '=', '\\', '/', '?', '!'
    Quote = 16,    // '"' or '\''
    NameTail = 32, // may follow a matched name inside a search name: end, space, '=', '/', '[', ']'
};

struct Table
{
    std::uint8_t bits[128] = {};
    constexpr Table()
    {
        for (char16_t c : {u' ', u'\t', u'\n', u'\r'})
            bits[c] |= Space | NameStop | MatchStop;
        for (int c = 'a'; c <= 'z'; ++c)
            bits[c] |= NameStart;
        for (int c = 'A'; c <= 'Z'; ++c)
            bits[c] |= NameStart;
        bits[u'_'] |= NameStart;
        bits[u':'] |= NameStart;
        bits[u'/'] |= NameStop | MatchStop;
        bits[u'>'] |= NameStop | MatchStop;
        for (char16_t c : {u'<', u'=', u'\\', u'?', u'!'})
            bits[c] |= MatchStop;
        bits[u'"'] |= Quote;
        bits[u'\''] |= Quote;
        for (char16_t c : {u' ', u'=', u'/', u'[', u']'})
            bits[c] |= NameTail;
    }
};

inline constexpr Table kTable{};

inline bool Is(char16_t c, std::uint8_t cls)
{
    return c < 128 && (kTable.bits[c] & cls) != 0;
}
inline bool IsSpace(char16_t c)
{
    return Is(c, Space);
}
inline bool IsNameStart(char16_t c)
{
    return c >= 0x7B || Is(c, NameStart);
}
inline bool Is(char c, std::uint8_t cls)
{
    return Is(char16_t(static_cast<unsigned char>(c)), cls);
}
inline bool IsSpace(char c)
{
    return IsSpace(char16_t(static_cast<unsigned char>(c)));
}
inline bool IsNameStart(char c)
{
    return IsNameStart(char16_t(static_cast<unsigned char>(c)));
}

} // namespace XmlCharClass
