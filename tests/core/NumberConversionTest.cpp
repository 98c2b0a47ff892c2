#include "core/NumberConversion.h"

#include <climits>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace OKU;

namespace {

// A locale with a decimal comma and digit grouping: conversions must not
// pick it up from the global locale.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

struct WideCommaPunct : std::numpunct<wchar_t> {
    wchar_t do_decimal_point() const override { return L','; }
    wchar_t do_thousands_sep() const override { return L'.'; }
    std::string do_grouping() const override { return "\3"; }
};

class GlobalLocale {
public:
    explicit GlobalLocale(const std::locale& locale) : m_previous(std::locale::global(locale)) {}
    ~GlobalLocale() { std::locale::global(m_previous); }
    GlobalLocale(const GlobalLocale&) = delete;
    GlobalLocale& operator=(const GlobalLocale&) = delete;

private:
    std::locale m_previous;
};

} // namespace

TEST(NumberConversion, ParsingTakesTheLongestPrefix)
{
    int i = -1;
    EXPECT_TRUE(stringtoi("  42abc", i));
    EXPECT_EQ(42, i);
    EXPECT_TRUE(stringtoi("-17", i));
    EXPECT_EQ(-17, i);
    EXPECT_FALSE(stringtoi("abc", i));
    EXPECT_EQ(0, i);
    EXPECT_FALSE(stringtoi("", i));
    EXPECT_FALSE(stringtoi("99999999999", i));
    EXPECT_EQ(INT_MAX, i);

    long long ll = 0;
    EXPECT_TRUE(stringtoll("9000000000 bytes", ll));
    EXPECT_EQ(9000000000LL, ll);
    EXPECT_FALSE(stringtoll("-", ll));

    float f = 0;
    EXPECT_TRUE(stringtof("3.5e2x", f));
    EXPECT_FLOAT_EQ(350.0f, f);
    double d = 0;
    EXPECT_TRUE(stringtof("1,5", d));
    EXPECT_DOUBLE_EQ(1.0, d);
    EXPECT_FALSE(stringtof(".", d));

    unsigned int u = 0;
    EXPECT_TRUE(hexstringtoi("fF", u));
    EXPECT_EQ(255u, u);
    EXPECT_TRUE(hexstringtoi("DEADbeef!", u));
    EXPECT_EQ(0xDEADBEEFu, u);
    EXPECT_FALSE(hexstringtoi("xyz", u));
}

TEST(NumberConversion, ValueFormsGiveZeroOnFailure)
{
    EXPECT_EQ(12, stringtoi("12"));
    EXPECT_EQ(0, stringtoi("x12"));
    EXPECT_EQ(-9000000000LL, stringtoll("-9000000000"));
    EXPECT_EQ(0, stringtoll(""));
    EXPECT_DOUBLE_EQ(0.25, stringtof(" 0.25"));
    EXPECT_EQ(0.0, stringtof("e5"));
    EXPECT_EQ(0x1Au, hexstringtoi("1a"));
    EXPECT_EQ(0u, hexstringtoi("g"));
}

TEST(NumberConversion, WideParsingHonoursTheBase)
{
    int i = 0;
    EXPECT_TRUE(wstringtoi(L"ff", i, std::ios_base::hex));
    EXPECT_EQ(255, i);
    EXPECT_TRUE(wstringtoi(L"17", i, std::ios_base::oct));
    EXPECT_EQ(15, i);
    EXPECT_TRUE(wstringtoi(L" 19z", i));
    EXPECT_EQ(19, i);
    EXPECT_FALSE(wstringtoi(L"9", i, std::ios_base::oct));

    long long ll = 0;
    EXPECT_TRUE(wstringtoll(L"100000000", ll, std::ios_base::hex));
    EXPECT_EQ(0x100000000LL, ll);
    EXPECT_FALSE(wstringtoll(L"\u0661", ll));

    float f = 0;
    EXPECT_TRUE(wstringtof(L"-2.5", f));
    EXPECT_FLOAT_EQ(-2.5f, f);
    double d = 0;
    EXPECT_FALSE(wstringtof(L"", d));

    unsigned int u = 0;
    EXPECT_TRUE(hexwstringtoi(L"Ab", u));
    EXPECT_EQ(0xABu, u);

    EXPECT_EQ(8, wstringtoi(L"10", std::ios_base::oct));
    EXPECT_EQ(10, wstringtoi(L"10"));
    EXPECT_EQ(0, wstringtoi(L"-"));
    EXPECT_EQ(4096LL, wstringtoll(L"1000", std::ios_base::hex));
    EXPECT_DOUBLE_EQ(1e-3, wstringtof(L"1e-3"));
    EXPECT_EQ(0.0, wstringtof(L"x"));
    EXPECT_EQ(0xFFu, hexwstringtoi(L"ff"));
    EXPECT_EQ(0u, hexwstringtoi(L"?"));
}

TEST(NumberConversion, FormattingPadsInFrontOfTheSign)
{
    EXPECT_EQ("0", itostring(0));
    EXPECT_EQ("-2147483648", itostring(INT_MIN));
    EXPECT_EQ("-9000000000", lltostring(-9000000000LL));
    EXPECT_EQ("00-5", itostring(-5, 4, '0'));
    EXPECT_EQ("  7", itostring(7, 3, ' '));
    EXPECT_EQ("123", itostring(123, 2, '0'));
    EXPECT_EQ("**9000000000", lltostring(9000000000LL, 12, '*'));

    EXPECT_EQ(L"ff", itowstring(255, std::ios_base::hex));
    EXPECT_EQ(L"10", itowstring(8, std::ios_base::oct));
    EXPECT_EQ(L"-12", itowstring(-12));
    EXPECT_EQ(L"100000000", lltowstring(0x100000000LL, std::ios_base::hex));
    EXPECT_EQ(L"005", itowstring(5, 3, L'0'));
    EXPECT_EQ(L"\u00B7\u00B7-1", itowstring(-1, 4, L'\u00B7'));
    EXPECT_EQ(L"0000ff", lltowstring(255, 6, L'0', std::ios_base::hex));
}

TEST(NumberConversion, FixedPointHasExactlyTheDecimals)
{
    EXPECT_EQ("3.14", ftostring(3.14159, 2));
    EXPECT_EQ("1.000", ftostring(1.0, 3));
    EXPECT_EQ("0.667", ftostring(2.0 / 3, 3));
    EXPECT_EQ("-3", ftostring(-2.7, 0));
    EXPECT_EQ("1", ftostring(1.4, -2));
    EXPECT_EQ("10000000000.5", ftostring(1e10 + 0.5, 1));
    EXPECT_EQ(L"-0.50", ftowstring(-0.5, 2));
}

TEST(NumberConversion, IgnoresTheGlobalLocale)
{
    const std::locale comma(std::locale(std::locale::classic(), new CommaPunct), new WideCommaPunct);
    GlobalLocale guard(comma);
    EXPECT_EQ("1.5", ftostring(1.5, 1));
    EXPECT_EQ(L"1.5", ftowstring(1.5, 1));
    EXPECT_EQ("1234567", itostring(1234567));
    EXPECT_EQ(L"1234567", itowstring(1234567));
    EXPECT_DOUBLE_EQ(1.5, stringtof("1.5"));
    EXPECT_DOUBLE_EQ(1.5, wstringtof(L"1.5"));
    double d = 0;
    EXPECT_TRUE(fromString("2.25", d));
    EXPECT_DOUBLE_EQ(2.25, d);
}

TEST(NumberConversion, CalcDecimalsShowsSignificantDigits)
{
    EXPECT_EQ(3, calcDecimals(0.05, 2));
    EXPECT_EQ(3, calcDecimals(-0.05, 2));
    EXPECT_EQ(2, calcDecimals(123.4, 2));
    EXPECT_EQ(3, calcDecimals(1.0, 3));
    EXPECT_EQ(5, calcDecimals(0.001234, 3));
    EXPECT_EQ(4, calcDecimals(0.0, 4));
    EXPECT_EQ(0, calcDecimals(0.001, 0));
    EXPECT_EQ(-2, calcDecimals(0.001, -2));
    EXPECT_EQ(1, calcDecimals(1e300, 1));
    EXPECT_EQ(2, calcDecimals(std::numeric_limits<double>::quiet_NaN(), 2));
}

TEST(NumberConversion, FromStringBoolAcceptsWordsInAnyCase)
{
    const char* trueWords[] = {"1", "on", "On", "YES", "yes", "True", "tRUE"};
    const char* falseWords[] = {"0", "off", "OFF", "No", "no", "false", "FaLsE"};
    for (const char* word : trueWords) {
        bool b = false;
        EXPECT_TRUE(fromString<bool>(word, b)) << word;
        EXPECT_TRUE(b) << word;
    }
    for (const char* word : falseWords) {
        bool b = true;
        EXPECT_TRUE(fromString<bool>(word, b)) << word;
        EXPECT_FALSE(b) << word;
    }
    const char* badWords[] = {"2", "", " yes", "yes ", "01", "y", "truee", "o"};
    for (const char* word : badWords) {
        bool b = true;
        EXPECT_FALSE(fromString<bool>(word, b)) << word;
        EXPECT_TRUE(b) << word;
    }

    bool w = false;
    EXPECT_TRUE(fromString<bool>(std::wstring(L"TRUE"), w));
    EXPECT_TRUE(w);
    EXPECT_TRUE(fromString<bool>(std::wstring(L"Off"), w));
    EXPECT_FALSE(w);
    EXPECT_FALSE(fromString<bool>(std::wstring(L"\u00FCbel"), w));
    EXPECT_FALSE(w);
}

TEST(NumberConversion, FromStringConvertsTextThroughUtf8)
{
    std::string narrow;
    EXPECT_TRUE(fromString<std::string>(std::wstring(L"a\u20AC"), narrow));
    EXPECT_EQ("a\xE2\x82\xAC", narrow);
    std::wstring wide;
    EXPECT_TRUE(fromString<std::wstring>(std::string("\xF0\x9F\x98\x80!"), wide));
    EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(0x1F600)) + L"!", wide);
}

TEST(NumberConversion, FromStringNeedsTheWholeValue)
{
    int i = 7;
    EXPECT_TRUE(fromString(" 42 ", i));
    EXPECT_EQ(42, i);
    EXPECT_FALSE(fromString("42x", i));
    EXPECT_FALSE(fromString("", i));
    EXPECT_FALSE(fromString("99999999999", i));
    EXPECT_EQ(42, i);

    long long ll = 0;
    EXPECT_TRUE(fromString("-9000000000", ll));
    EXPECT_EQ(-9000000000LL, ll);
    unsigned int u = 0;
    EXPECT_TRUE(fromString("4000000000", u));
    EXPECT_EQ(4000000000u, u);
    double d = 0;
    EXPECT_TRUE(fromString("2.5e1", d));
    EXPECT_DOUBLE_EQ(25.0, d);
    EXPECT_FALSE(fromString("2.5.1", d));
    EXPECT_DOUBLE_EQ(25.0, d);

    int w = 0;
    EXPECT_TRUE(fromString(std::wstring(L"\t-8\n"), w));
    EXPECT_EQ(-8, w);
    EXPECT_FALSE(fromString(std::wstring(L"8 8"), w));
    EXPECT_EQ(-8, w);
}
