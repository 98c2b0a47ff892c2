#include "core/Utf8.h"

#include <gtest/gtest.h>

using namespace OKU;

namespace {

std::wstring wide(uint32_t c)
{
    return std::wstring(1, static_cast<wchar_t>(c));
}

} // namespace

TEST(Utf8, EncodesEveryLengthUpTo31BitsAndDecodingSkipsBrokenSequences)
{
    // One entry on each side of every length boundary.
    const std::pair<uint32_t, std::string> encodings[] = {
        {0x00, std::string(1, '\0')}, {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},           {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},      {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"}, {0x1FFFFF, "\xF7\xBF\xBF\xBF"},
        {0x200000, "\xF8\x88\x80\x80\x80"}, {0x3FFFFFF, "\xFB\xBF\xBF\xBF\xBF"},
        {0x4000000, "\xFC\x84\x80\x80\x80\x80"}, {0x7FFFFFFF, "\xFD\xBF\xBF\xBF\xBF\xBF"},
    };
    std::wstring all;
    std::string allBytes;
    for (const auto& [codePoint, bytes] : encodings) {
        SCOPED_TRACE(codePoint);
        EXPECT_EQ(bytes, utf8Encode(wide(codePoint)));
        EXPECT_EQ(wide(codePoint), utf8Decode(bytes));
        all += wide(codePoint);
        allBytes += bytes;
    }
    EXPECT_EQ(allBytes, utf8Encode(all));
    EXPECT_EQ(all, utf8Decode(allBytes));

    const std::wstring text = L"x\u20ACy";
    EXPECT_EQ("\xE2\x82\xAC", utf8Encode(text.begin() + 1, text.end() - 1));
    // A range that cuts a sequence short drops it.
    const std::string bytes = "x\xE2\x82\xACy";
    EXPECT_EQ(L"x", utf8Decode(bytes.begin(), bytes.end() - 2));

    const std::pair<std::string, std::wstring> cases[] = {
        {"A\x80" "B", L"AB"}, {"A\xE2\x82", L"A"}, {"A\xF0\x9F\x98", L"A"}, {"\xFE" "A\xFF" "B", L"AB"},
        {"\xBF\xBF\xBF", L""},
        // A five-byte lead with too few bytes left is skipped alone.
        {"\xF8" "A\xC3\xA9", L"A\u00E9"},
        {"\xC0\x80", wide(0)}, {"\xC1\x81", L"A"}, {"\xE0\x81\x81", L"A"},
        // The byte after a lead is taken whatever it is: "A" gives its low six bits.
        {"\xC3" "AB", wide((0x03 << 6) | 0x01) + L"B"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(text, utf8Decode(bytes)) << testing::PrintToString(bytes);
}
