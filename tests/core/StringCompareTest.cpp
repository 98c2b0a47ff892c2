#include "core/StringCompare.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

using namespace OKU;

TEST(StringCompare, NoCaseOrder)
{
    EXPECT_EQ(0, noCaseStringCmp(L"Hello", L"hELLO"));
    EXPECT_EQ(-1, noCaseStringCmp(L"abc", L"ABD"));
    EXPECT_EQ(1, noCaseStringCmp(L"b", L"A"));
    EXPECT_EQ(-1, noCaseStringCmp(L"ab", L"ABC"));
    EXPECT_EQ(1, noCaseStringCmp(L"abc", L"AB"));
    EXPECT_EQ(-1, noCaseStringCmp(L"", L"a"));
    EXPECT_EQ(0, noCaseStringCmp(L"", L""));
    // Upper-casing puts "_" (5F) behind the letters (41..5A).
    EXPECT_EQ(1, noCaseStringCmp(L"_", L"a"));

    EXPECT_EQ(0, noCaseStringCmp(std::string("MiXeD"), std::string("mixed")));
    EXPECT_EQ(-1, noCaseStringCmp(std::string("a\xC3\xA9"), std::string("a\xE2\x82\xAC")));
    // The narrow form compares decoded text: a stray byte does not count.
    EXPECT_EQ(0, noCaseStringCmp(std::string("a\x80"), std::string("A")));
}

TEST(StringCompare, SmartOrderComparesNumbersByValue)
{
    EXPECT_EQ(-1, smartStringCmp(L"file2", L"file10"));
    EXPECT_EQ(1, smartStringCmp(L"file10", L"file2"));
    EXPECT_EQ(-1, smartStringCmp(L"x9", L"x10"));
    EXPECT_EQ(0, smartStringCmp(L"a01", L"a1"));
    EXPECT_EQ(0, smartStringCmp(L"007", L"7"));
    EXPECT_EQ(0, smartStringCmp(L"a00", L"a0"));
    EXPECT_EQ(1, smartStringCmp(L"a0", L"a"));
    EXPECT_EQ(-1, smartStringCmp(L"a12", L"a13"));
    // Runs longer than any integer type still compare by value.
    EXPECT_EQ(-1, smartStringCmp(L"n12345678901234567890", L"n12345678901234567891"));
    EXPECT_EQ(1, smartStringCmp(L"n100000000000000000000", L"n99999999999999999999"));
    // Equal runs are passed over and the walk goes on behind them.
    EXPECT_EQ(-1, smartStringCmp(L"v1.2.9", L"v01.2.10"));
    EXPECT_EQ(1, smartStringCmp(L"a2c", L"a02b"));
}

TEST(StringCompare, SmartOrderComparesTextWithoutCase)
{
    EXPECT_EQ(0, smartStringCmp(L"B", L"b"));
    EXPECT_EQ(1, smartStringCmp(L"abc", L"ab"));
    EXPECT_EQ(-1, smartStringCmp(L"ab", L"abc"));
    EXPECT_EQ(0, smartStringCmp(L"", L""));
    EXPECT_EQ(-1, smartStringCmp(L"", L"0"));
    // A digit against a letter is an ordinary character comparison.
    EXPECT_EQ(1, smartStringCmp(L"a", L"1"));
    EXPECT_EQ(-1, smartStringCmp(L"1a", L"a"));

    EXPECT_EQ(-1, smartStringCmp(std::string("Img2.png"), std::string("img10.png")));
    EXPECT_EQ(0, smartStringCmp(std::string("\xE2\x82\xAC" "01"), std::string("\xE2\x82\xAC" "1")));

    std::vector<std::wstring> names = {L"img12.png", L"img10.png", L"IMG2.png", L"img1.png", L"img"};
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return smartStringCmp(a, b) < 0; });
    const std::vector<std::wstring> expected = {L"img", L"img1.png", L"IMG2.png", L"img10.png", L"img12.png"};
    EXPECT_EQ(expected, names);
}

TEST(StringCompare, WildcardMatching)
{
    EXPECT_TRUE(wildcardStringCmp(L"Report.TXT", L"*.txt"));
    EXPECT_FALSE(wildcardStringCmp(L"a", L"?*?"));
    EXPECT_TRUE(wildcardStringCmp(L"ab", L"?*?"));
    EXPECT_TRUE(wildcardStringCmp(L"abc", L"a**c"));
    EXPECT_TRUE(wildcardStringCmp(L"abc", L"A?C"));
    EXPECT_FALSE(wildcardStringCmp(L"abc", L"ab"));
    EXPECT_FALSE(wildcardStringCmp(L"ab", L"abc"));
    EXPECT_FALSE(wildcardStringCmp(L"abcd", L"*c"));
    EXPECT_TRUE(wildcardStringCmp(L"mississippi", L"*sip*"));
    EXPECT_TRUE(wildcardStringCmp(L"mississippi", L"m*iss*ppi"));
    EXPECT_FALSE(wildcardStringCmp(L"mississippi", L"m*iss*ppx"));
    EXPECT_TRUE(wildcardStringCmp(L"x.tar.gz", L"*.gz"));
    EXPECT_TRUE(wildcardStringCmp(L"*", L"*"));
    EXPECT_FALSE(wildcardStringCmp(L"a", L"*b*"));

    EXPECT_TRUE(wildcardStringCmp(L"", L""));
    EXPECT_TRUE(wildcardStringCmp(L"", L"***"));
    EXPECT_FALSE(wildcardStringCmp(L"", L"?"));
    EXPECT_FALSE(wildcardStringCmp(L"", L"*a"));
    EXPECT_FALSE(wildcardStringCmp(L"a", L""));

    const std::wstring text = L"[name.png]";
    const std::wstring pattern = L"(*.PNG)";
    EXPECT_TRUE(wildcardStringCmp(text.begin() + 1, text.end() - 1, pattern.begin() + 1, pattern.end() - 1));
    EXPECT_FALSE(wildcardStringCmp(text.begin(), text.end(), pattern.begin() + 1, pattern.end() - 1));
}
