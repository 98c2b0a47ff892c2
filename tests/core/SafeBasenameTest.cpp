#include "core/SafeBasename.h"

#include <gtest/gtest.h>

using namespace OKU;

TEST(SafeBasename, EncodesOnlyUnsafeCharacters)
{
    EXPECT_EQ("a%2Fb%3F", safeEncodeBasename(std::string("a/b?")));
    EXPECT_EQ("%25%3C%3E%3A%22%2F%5C%7C%3F%2A", safeEncodeBasename(std::string("%<>:\"/\\|?*")));
    EXPECT_EQ("a%00b", safeEncodeBasename(std::string("a\0b", 3)));
    EXPECT_EQ("plain name-1.txt", safeEncodeBasename(std::string("plain name-1.txt")));
    EXPECT_EQ("\xE2\x82\xAC%2A", safeEncodeBasename(std::string("\xE2\x82\xAC*")));
    EXPECT_EQ("", safeEncodeBasename(std::string()));

    EXPECT_EQ(L"\u20AC%2F%00", safeEncodeBasename(std::wstring(L"\u20AC/") + L'\0'));
    // Characters whose low byte looks like "/" or "*" are not themselves unsafe.
    EXPECT_EQ(L"\u012F\u022A", safeEncodeBasename(std::wstring(L"\u012F\u022A")));
}

TEST(SafeBasename, DecodesHexEscapesAndKeepsStrayPercents)
{
    EXPECT_EQ("100%", safeDecodeBasename(std::string("100%")));
    EXPECT_EQ("//", safeDecodeBasename(std::string("%2f%2F")));
    EXPECT_EQ("%4", safeDecodeBasename(std::string("%4")));
    EXPECT_EQ("%zz%", safeDecodeBasename(std::string("%zz%")));
    EXPECT_EQ("%A", safeDecodeBasename(std::string("%%41")));
    EXPECT_EQ("%g1x", safeDecodeBasename(std::string("%g1x")));
    EXPECT_EQ(std::string("\0", 1), safeDecodeBasename(std::string("%00")));
    EXPECT_EQ("\xFF", safeDecodeBasename(std::string("%ff")));

    EXPECT_EQ(L"\u20AC?", safeDecodeBasename(std::wstring(L"\u20AC%3f")));
    EXPECT_EQ(L"%\u0661\u0662", safeDecodeBasename(std::wstring(L"%\u0661\u0662")));
}

TEST(SafeBasename, RoundTripsEveryByteAndCharacter)
{
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    const std::string encoded = safeEncodeBasename(bytes);
    EXPECT_EQ(std::string::npos, encoded.find_first_of(std::string("<>:\"/\\|?*\0", 10)));
    EXPECT_EQ(bytes, safeDecodeBasename(encoded));

    const std::wstring text = std::wstring(L"a%2F/\u20AC?%") + L'\0' + L"\U0001F600*";
    EXPECT_EQ(text, safeDecodeBasename(safeEncodeBasename(text)));
}
