#include "core/SafeBasename.h"

#include <gtest/gtest.h>

using namespace OKU;

TEST(SafeBasename, EncodesOnlyUnsafeCharactersAndDecodingKeepsStrayPercents)
{
    EXPECT_EQ("%25%3C%3E%3A%22%2F%5C%7C%3F%2A", safeEncodeBasename(std::string("%<>:\"/\\|?*")));
    EXPECT_EQ("a%00b", safeEncodeBasename(std::string("a\0b", 3)));
    EXPECT_EQ("plain name-1.txt\xE2\x82\xAC",
              safeEncodeBasename(std::string("plain name-1.txt\xE2\x82\xAC")));
    EXPECT_EQ(L"\u20AC%2F%00", safeEncodeBasename(std::wstring(L"\u20AC/") + L'\0'));
    // Characters whose low byte looks like "/" or "*" are not themselves unsafe.
    EXPECT_EQ(L"\u012F\u022A", safeEncodeBasename(std::wstring(L"\u012F\u022A")));

    const std::pair<std::string, std::string> cases[] = {
        {"100%", "100%"}, {"%2f%2F", "//"},  {"%4", "%4"},       {"%zz%", "%zz%"},
        {"%%41", "%A"},   {"%g1x", "%g1x"}, {"%00", std::string(1, '\0')}, {"%ff", "\xFF"},
    };
    for (const auto& [encoded, decoded] : cases)
        EXPECT_EQ(decoded, safeDecodeBasename(encoded)) << encoded;
    EXPECT_EQ(L"\u20AC?", safeDecodeBasename(std::wstring(L"\u20AC%3f")));
    EXPECT_EQ(L"%\u0661\u0662", safeDecodeBasename(std::wstring(L"%\u0661\u0662")));

    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    EXPECT_EQ(bytes, safeDecodeBasename(safeEncodeBasename(bytes)));
    const std::wstring text = std::wstring(L"a%2F/\u20AC?%") + L'\0' + L"\U0001F600*";
    EXPECT_EQ(text, safeDecodeBasename(safeEncodeBasename(text)));
}
