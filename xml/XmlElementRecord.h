#pragma once

#include <cstdint>

// One element of a parsed document. Records live in one table and refer to
// each other and into the text by index only, since the table moves as it
// grows.
struct XmlElementRecord
{
    // Tag lengths share one word: start tag in the low 22 bits, end tag in the
    // high 10. A tag too long for its bits stores all ones there and keeps its
    // true lengths in the document's overflow table (flag LongTags).
    static constexpr std::uint32_t kStartTagBits = 22;
    static constexpr std::uint32_t kStartTagMax = (1u << kStartTagBits) - 1;
    static constexpr std::uint32_t kEndTagMax = (1u << (32 - kStartTagBits)) - 1;

    enum Flag : std::uint32_t {
        LevelMask = 0xFFFF, // nesting level: root element 0, its children 1, ...
        FirstChild = 1u << 16,
        NotEnded = 1u << 17,
        BadMarkup = 1u << 18, // an error was met directly inside this element
        IllFormed = 1u << 19, // record 0 only: the document has an error
        LongTags = 1u << 20,  // tag lengths did not fit the packed word
    };

    std::int32_t start = 0;  // offset of the '<' of the start tag
    std::int32_t length = 0; // '<' through the end tag's '>', or the start tag alone
    std::uint32_t tagLengths = 0;
    std::uint32_t flags = 0;
    std::uint32_t parent = 0;
    std::uint32_t firstChild = 0;
    std::uint32_t nextSibling = 0;
    std::uint32_t previousSibling = 0; // for the first child: the parent's last child

    std::uint32_t PackedStartTagLength() const { return tagLengths & kStartTagMax; }
    std::uint32_t PackedEndTagLength() const { return tagLengths >> kStartTagBits; }
    std::uint32_t Level() const { return flags & LevelMask; }
};

static_assert(sizeof(XmlElementRecord) == 32, "element records are fixed 32-byte entries");
