#include "core/StringCompare.h"

#include <gtest/gtest.h>

using namespace OKU;

namespace {

struct Order {
    const wchar_t* a;
    const wchar_t* b;
    int order;
};

// Each case is also checked the other way round.
template <class Compare>
void expectOrders(Compare compare, std::initializer_list<Order> cases)
{
    for (const Order& c : cases) {
        EXPECT_EQ(c.order, compare(c.a, c.b)) << testing::PrintToString(std::wstring(c.a)) << " vs "
                                               << testing::PrintToString(std::wstring(c.b));
        EXPECT_EQ(-c.order, compare(c.b, c.a));
    }
}

} // namespace

TEST(StringCompare, NoCaseAndSmartOrders)
{
    expectOrders([](const std::wstring& a, const std::wstring& b) { return noCaseStringCmp(a, b); },
                 {{L"Hello", L"hELLO", 0}, {L"abc", L"ABD", -1}, {L"ab", L"ABC", -1}, {L"", L"a", -1},
                  {L"", L"", 0},
                  // Upper-casing puts "_" (5F) behind the letters (41..5A).
                  {L"_", L"a", 1}});
    EXPECT_EQ(-1, noCaseStringCmp(std::string("A\xC3\xA9"), std::string("a\xE2\x82\xAC")));
    // The narrow form compares decoded text: a stray byte does not count.
    EXPECT_EQ(0, noCaseStringCmp(std::string("a\x80"), std::string("A")));

    expectOrders([](const std::wstring& a, const std::wstring& b) { return smartStringCmp(a, b); },
                 {{L"file2", L"file10", -1}, {L"x9", L"x10", -1}, {L"a12", L"a13", -1},
                  {L"a01", L"a1", 0}, {L"007", L"7", 0}, {L"a00", L"a0", 0}, {L"a0", L"a", 1},
                  // Runs longer than any integer type still compare by value.
                  {L"n12345678901234567890", L"n12345678901234567891", -1},
                  {L"n100000000000000000000", L"n99999999999999999999", 1},
                  // Equal runs are passed over and the walk goes on behind them.
                  {L"v1.2.9", L"v01.2.10", -1}, {L"a2c", L"a02b", 1},
                  {L"B", L"b", 0}, {L"abc", L"ab", 1}, {L"", L"", 0}, {L"", L"0", -1},
                  // A digit against a letter is an ordinary character comparison.
                  {L"a", L"1", 1}, {L"1a", L"a", -1}});

    EXPECT_EQ(-1, smartStringCmp(std::string("Img2.png"), std::string("img10.png")));
    EXPECT_EQ(0, smartStringCmp(std::string("\xE2\x82\xAC" "01"), std::string("\xE2\x82\xAC" "1")));
}

TEST(StringCompare, WildcardMatching)
{
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"Report.TXT", L"*.txt", true}, {L"a", L"?*?", false},        {L"ab", L"?*?", true},
        {L"abc", L"a**c", true},         {L"abc", L"A?C", true},        {L"abc", L"ab", false},
        {L"ab", L"abc", false},          {L"abcd", L"*c", false},       {L"mississippi", L"*sip*", true},
        {L"mississippi", L"m*iss*ppi", true}, {L"mississippi", L"m*iss*ppx", false},
        {L"x.tar.gz", L"*.gz", true},    {L"*", L"*", true},            {L"a", L"*b*", false},
        {L"", L"", true},                {L"", L"***", true},           {L"", L"?", false},
        {L"", L"*a", false},             {L"a", L"", false},
    };
    for (const auto& [text, pattern, matches] : cases)
        EXPECT_EQ(matches, wildcardStringCmp(text, pattern))
            << testing::PrintToString(std::wstring(text)) << " "
            << testing::PrintToString(std::wstring(pattern));

    const std::wstring text = L"[name.png]";
    const std::wstring pattern = L"(*.PNG)";
    EXPECT_TRUE(wildcardStringCmp(text.begin() + 1, text.end() - 1, pattern.begin() + 1,
                                  pattern.end() - 1));
    EXPECT_FALSE(
        wildcardStringCmp(text.begin(), text.end(), pattern.begin() + 1, pattern.end() - 1));
}
