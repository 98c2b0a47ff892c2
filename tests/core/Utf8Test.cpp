#include "core/Utf8.h"

#include <gtest/gtest.h>

using namespace OKU;

namespace {

struct Encoding {
    uint32_t codePoint;
    std::string bytes;
};

// One entry on each side of every length boundary.
const Encoding c_encodings[] = {
    {0x00, std::string(1, '\0')},
    {0x41, "A"},
    {0x7F, "\x7F"},
    {0x80, "\xC2\x80"},
    {0xE9, "\xC3\xA9"},
    {0x7FF, "\xDF\xBF"},
    {0x800, "\xE0\xA0\x80"},
    {0x20AC, "\xE2\x82\xAC"},
    {0xFFFF, "\xEF\xBF\xBF"},
    {0x10000, "\xF0\x90\x80\x80"},
    {0x1F600, "\xF0\x9F\x98\x80"},
    {0x1FFFFF, "\xF7\xBF\xBF\xBF"},
    {0x200000, "\xF8\x88\x80\x80\x80"},
    {0x3FFFFFF, "\xFB\xBF\xBF\xBF\xBF"},
    {0x4000000, "\xFC\x84\x80\x80\x80\x80"},
    {0x7FFFFFFF, "\xFD\xBF\xBF\xBF\xBF\xBF"},
};

std::wstring wide(uint32_t c)
{
    return std::wstring(1, static_cast<wchar_t>(c));
}

} // namespace

TEST(Utf8, EncodesAndDecodesEveryLengthUpTo31Bits)
{
    std::wstring all;
    std::string allBytes;
    for (const Encoding& e : c_encodings) {
        SCOPED_TRACE(e.codePoint);
        EXPECT_EQ(e.bytes, utf8Encode(wide(e.codePoint)));
        EXPECT_EQ(wide(e.codePoint), utf8Decode(e.bytes));
        all += wide(e.codePoint);
        allBytes += e.bytes;
    }
    EXPECT_EQ(allBytes, utf8Encode(all));
    EXPECT_EQ(all, utf8Decode(allBytes));
    EXPECT_EQ("", utf8Encode(L""));
    EXPECT_EQ(L"", utf8Decode(""));
}

TEST(Utf8, IteratorFormsWorkOnARange)
{
    const std::wstring text = L"x\u20ACy";
    EXPECT_EQ("\xE2\x82\xAC", utf8Encode(text.begin() + 1, text.end() - 1));
    const std::string bytes = "x\xE2\x82\xACy";
    EXPECT_EQ(L"\u20ACy", utf8Decode(bytes.begin() + 1, bytes.end()));
    // A range that cuts a sequence short drops it.
    EXPECT_EQ(L"x", utf8Decode(bytes.begin(), bytes.end() - 2));
}

TEST(Utf8, SkipsStrayAndTruncatedBytes)
{
    EXPECT_EQ(L"AB", utf8Decode("A\x80" "B"));
    EXPECT_EQ(L"A", utf8Decode("A\xE2\x82"));
    EXPECT_EQ(L"A", utf8Decode("A\xF0\x9F\x98"));
    EXPECT_EQ(L"AB", utf8Decode("\xFE" "A\xFF" "B"));
    // A five-byte lead with too few bytes left is skipped alone; what follows
    // is decoded on its own.
    EXPECT_EQ(L"A\u00E9", utf8Decode("\xF8" "A\xC3\xA9"));
    EXPECT_EQ(L"", utf8Decode("\xBF\xBF\xBF"));
}

TEST(Utf8, AcceptsOverlongFormsAndAnyFollowingBytes)
{
    EXPECT_EQ(wide(0), utf8Decode("\xC0\x80"));
    EXPECT_EQ(L"A", utf8Decode("\xC1\x81"));
    EXPECT_EQ(L"A", utf8Decode("\xE0\x81\x81"));
    // The byte after a lead is taken whatever it is: "A" supplies its low six
    // bits and is consumed.
    EXPECT_EQ(wide((0x03 << 6) | 0x01) + L"B", utf8Decode("\xC3" "AB"));
}
