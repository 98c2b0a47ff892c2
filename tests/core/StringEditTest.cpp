#include "core/StringEdit.h"

#include <gtest/gtest.h>

using namespace OKU;

namespace {

using Pieces = std::vector<std::string>;
using WPieces = std::vector<std::wstring>;

} // namespace

TEST(StringEdit, PadsInsertExactlyNCharacters)
{
    std::string s = "42";
    charPadString(s, '*', 3);
    EXPECT_EQ("***42", s);
    zeroPadString(s, 1);
    EXPECT_EQ("0***42", s);
    charPadString(s, '*', 0);
    zeroPadString(s, -4);
    EXPECT_EQ("0***42", s);

    std::wstring w = L"\u20AC";
    charPadWString(w, L'\u00B7', 2);
    EXPECT_EQ(L"\u00B7\u00B7\u20AC", w);
    zeroPadWString(w, 2);
    EXPECT_EQ(L"00\u00B7\u00B7\u20AC", w);
    zeroPadWString(w, -1);
    EXPECT_EQ(L"00\u00B7\u00B7\u20AC", w);
}

TEST(StringEdit, TrimRemovesSetCharactersAtTheEnds)
{
    const std::string s = " \t a b \t\n";
    EXPECT_EQ("a b", trim(s, " \t\n"));
    EXPECT_EQ("a b \t\n", ltrim(s, " \t"));
    EXPECT_EQ(" \t a b", rtrim(s, " \t\n"));
    EXPECT_EQ("", trim(" \t ", " \t"));
    EXPECT_EQ("", ltrim("xx", "x"));
    EXPECT_EQ("", rtrim("xx", "x"));
    EXPECT_EQ(s, trim(s, ""));
    EXPECT_EQ("", trim("", " "));

    EXPECT_EQ(L"\u20ACx\u20AC", trim(L"..\u20ACx\u20AC..", L"."));
    EXPECT_EQ(L"x--", ltrim(L"--x--", L"-"));
    EXPECT_EQ(L"--x", rtrim(L"--x--", L"-"));
    EXPECT_EQ(L"", trim(L"\u00A0\u00A0", L"\u00A0"));
}

TEST(StringEdit, SplitKeepsEmptyPieces)
{
    EXPECT_EQ(Pieces{}, split("", ','));
    EXPECT_EQ((Pieces{"", ""}), split(",", ','));
    EXPECT_EQ((Pieces{"a", "b", ""}), split("a,b,", ','));
    EXPECT_EQ((Pieces{"", "a", "", "b"}), split(",a,,b", ','));
    EXPECT_EQ(Pieces{"abc"}, split("abc", ','));
}

TEST(StringEdit, SplitHonoursMaxParts)
{
    EXPECT_EQ((Pieces{"a", "b,c"}), split("a,b,c", ',', 2));
    EXPECT_EQ((Pieces{"a", "b", "c"}), split("a,b,c", ',', 3));
    EXPECT_EQ((Pieces{"a", "b", "c"}), split("a,b,c", ',', 10));
    EXPECT_EQ(Pieces{"a,b,c"}, split("a,b,c", ',', 1));
    EXPECT_EQ(Pieces{"a,b,c"}, split("a,b,c", ',', 0));
    EXPECT_EQ((Pieces{"a", "b", "c"}), split("a,b,c", ',', -7));
    EXPECT_EQ(Pieces{}, split("", ',', 0));
}

TEST(StringEdit, SplitOnStringSeparators)
{
    EXPECT_EQ((Pieces{"a", "b", ":c"}), split("a::b:::c", "::"));
    EXPECT_EQ((Pieces{"a", "b:::c"}), split("a::b:::c", "::", 2));
    EXPECT_EQ((Pieces{"", ""}), split("::", "::"));
    // An empty separator cannot split anything.
    EXPECT_EQ(Pieces{"abc"}, split("abc", ""));

    EXPECT_EQ((WPieces{L"\u20AC", L"", L"x"}), split(L"\u20AC;;x", L';'));
    EXPECT_EQ((WPieces{L"\u20AC", L";x"}), split(L"\u20AC;;x", L';', 2));
    EXPECT_EQ((WPieces{L"a", L"b"}), split(L"a\u2192b", L"\u2192"));
    EXPECT_EQ(WPieces{}, split(L"", L"->"));
    EXPECT_EQ(WPieces{L"ab"}, split(L"ab", L""));
}

TEST(StringEdit, PrefixAndSuffixTestsAreExact)
{
    EXPECT_TRUE(startsWith("file.png", "file"));
    EXPECT_TRUE(startsWith("file.png", ""));
    EXPECT_TRUE(startsWith("file", "file"));
    EXPECT_FALSE(startsWith("file", "file.png"));
    EXPECT_FALSE(startsWith("File.png", "file"));
    EXPECT_TRUE(endsWith("file.png", ".png"));
    EXPECT_TRUE(endsWith("file.png", ""));
    EXPECT_FALSE(endsWith("png", ".png"));
    EXPECT_FALSE(endsWith("file.PNG", ".png"));

    EXPECT_TRUE(startsWith(L"\u20AC12", L"\u20AC"));
    EXPECT_FALSE(startsWith(L"12", L"\u20AC"));
    EXPECT_TRUE(endsWith(L"12\u20AC", L"2\u20AC"));
    EXPECT_FALSE(endsWith(L"\u20AC", L"1\u20AC"));
}
