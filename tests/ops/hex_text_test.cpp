#include "ops/HexText.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

using HexText::DumpText;
using HexText::PreviewText;

namespace {

std::vector<uint8_t> Counting(size_t n)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = uint8_t(i);
    return bytes;
}

TEST(DumpText, LinesOfSixteenBytes)
{
    const auto bytes = Counting(1024);
    struct Case
    {
        uint32_t length;
        QString text;
    };
    const QString line0 = "20000000: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F";
    const Case cases[] = {
        // Length 1 reads a word: four bytes, each followed by a blank.
        {4, "20000000: 00 01 02 03 "},
        {16, line0},
        {20, line0 + "\r\n20000010: 10 11 12 13 "},
        {32, line0 + "\r\n20000010: 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DumpText(bytes.data(), c.length, 0x20000000), c.text) << c.length;
}

TEST(DumpText, FullDumpHasSixtyFourLinesAndWrapsTheAddress)
{
    const auto bytes = Counting(1024);
    const QString text = DumpText(bytes.data(), 1024, 0x20000000);
    const QStringList lines = text.split("\r\n");
    ASSERT_EQ(lines.size(), 64);
    EXPECT_EQ(lines.last(), "200003F0: F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF");
    EXPECT_FALSE(text.endsWith("\r\n"));

    // The printed address is 32-bit: it wraps past the top.
    const QString top = DumpText(bytes.data(), 32, 0xFFFFFFF0);
    EXPECT_TRUE(top.contains("\r\n00000000: 10 11")) << top.toStdString();
}

TEST(PreviewText, WordsOfTheFirstChunk)
{
    std::vector<uint8_t> bytes(4096);
    for (size_t i = 0; i < bytes.size(); i += 4) {
        bytes[i] = uint8_t(i / 4);
        bytes[i + 3] = 0xA0;
    }
    EXPECT_EQ(PreviewText(bytes.data(), 8), "A0000000 A0000001 ");
    EXPECT_EQ(PreviewText(bytes.data(), 16), "A0000000 A0000001 A0000002 A0000003 ");
    EXPECT_EQ(PreviewText(bytes.data(), 20), "A0000000 A0000001 A0000002 A0000003 \r\nA0000004 ");
    const QString full = PreviewText(bytes.data(), 4096);
    EXPECT_EQ(full.count("\r\n"), 4);
    EXPECT_TRUE(full.endsWith("A000000F \r\n"));
    EXPECT_EQ(full.split("\r\n").first(), "A0000000 A0000001 A0000002 A0000003 ");
}

} // namespace
