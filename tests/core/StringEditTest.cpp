#include "core/StringEdit.h"

#include <tuple>
#include <gtest/gtest.h>

#include "core/Utf8.h"

using namespace OKU;

using Pieces = std::vector<std::string>;
using WPieces = std::vector<std::wstring>;

TEST(StringEdit, PadTrimAndMatchPrefixesAndSuffixesExactly)
{
    std::string s = "42";
    charPadString(s, '*', 3);
    zeroPadString(s, 1);
    charPadString(s, '*', 0);
    zeroPadString(s, -4);
    EXPECT_EQ("0***42", s);
    std::wstring w = L"\u20AC";
    charPadWString(w, L'\u00B7', 2);
    zeroPadWString(w, 2);
    charPadWString(w, L'x', -1);
    EXPECT_EQ(L"00\u00B7\u00B7\u20AC", w);

    const std::string text = " \t a b \t\n";
    EXPECT_EQ("a b", trim(text, " \t\n"));
    EXPECT_EQ("a b \t\n", ltrim(text, " \t"));
    EXPECT_EQ(" \t a b", rtrim(text, " \t\n"));
    EXPECT_EQ(text, trim(text, ""));
    EXPECT_EQ("", trim(" \t ", " \t") + ltrim("xx", "x") + rtrim("xx", "x"));
    EXPECT_EQ(L"\u20ACx\u20AC", trim(L"..\u20ACx\u20AC..", L"."));
    EXPECT_EQ(L"x--", ltrim(L"--x--", L"-"));
    EXPECT_EQ(L"", rtrim(L"\u00A0\u00A0", L"\u00A0"));

    // Text, piece, whether the text starts and ends with it: narrow and wide alike.
    const std::tuple<const wchar_t*, const wchar_t*, bool, bool> pieces[] = {
        {L"file.png", L"file", true, false}, {L"file", L"file", true, true},  {L"file.png", L"", true, true},
        {L"file", L"file.png", false, false}, {L"File.png", L"file", false, false}, {L"file.png", L".png", false, true},
        {L"png", L".png", false, false},     {L"file.PNG", L".png", false, false}, {L"\u20AC12", L"\u20AC", true, false},
        {L"12\u20AC", L"2\u20AC", false, true}, {L"\u20AC", L"1\u20AC", false, false}};
    for (const auto& [text, piece, starts, ends] : pieces) {
        const std::string narrow = utf8Encode(text), narrowPiece = utf8Encode(piece);
        EXPECT_EQ(std::make_pair(starts, ends),
                  std::make_pair(startsWith(text, piece), endsWith(text, piece)));
        EXPECT_EQ(std::make_pair(starts, ends),
                  std::make_pair(startsWith(narrow, narrowPiece), endsWith(narrow, narrowPiece)))
            << narrow;
    }
}

TEST(StringEdit, SplitKeepsEmptyPiecesAndHonoursMaxParts)
{
    const std::tuple<std::string, int, Pieces> cases[] = {
        {"", -1, {}},           {",", -1, {"", ""}},        {"a,b,", -1, {"a", "b", ""}},
        {",a,,b", -1, {"", "a", "", "b"}}, {"abc", -1, {"abc"}}, {"a,b,c", 2, {"a", "b,c"}},
        {"a,b,c", 3, {"a", "b", "c"}}, {"a,b,c", 10, {"a", "b", "c"}}, {"a,b,c", 1, {"a,b,c"}},
        {"a,b,c", 0, {"a,b,c"}}, {"a,b,c", -7, {"a", "b", "c"}}, {"", 0, {}},
    };
    for (const auto& [s, maxParts, expected] : cases) {
        EXPECT_EQ(expected, split(s, ',', maxParts)) << s << " " << maxParts;
        EXPECT_EQ(expected, split(s, std::string(","), maxParts)) << s << " " << maxParts;
    }
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
