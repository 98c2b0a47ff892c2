#include "core/NumberConversion.h"

#include <climits>
#include <limits>
#include <gtest/gtest.h>

using namespace OKU;

namespace {

// A locale with a decimal comma and digit grouping, which conversions must
// not pick up from the global locale.
template <class C>
struct CommaPunct : std::numpunct<C> {
    C do_decimal_point() const override { return ','; }
    C do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Whether a conversion with an output argument succeeds, and the value that
// argument then holds.
template <class T, class S, class... Base>
std::pair<bool, T> parse(bool (*function)(const S&, T&, Base...), const std::decay_t<S>& text,
                         std::decay_t<T> value, Base... base)
{
    const bool ok = function(text, value, base...);
    return {ok, value};
}

template <class T, class S>
std::pair<bool, T> from(const S& text, T value)
{
    const bool ok = fromString(text, value);
    return {ok, value};
}

} // namespace

TEST(NumberConversion, ParsingTakesTheLongestPrefixAndFormattingPadsInFrontOfTheSign)
{
    // Text, whether an int is read, and the value then stored.
    const std::tuple<std::string, bool, int> ints[] = {
        {"  42abc", true, 42}, {"-17", true, -17}, {"abc", false, 0}, {"99999999999", false, INT_MAX}};
    for (const auto& [text, ok, value] : ints) {
        const std::wstring wide(text.begin(), text.end());
        EXPECT_EQ(std::make_pair(ok, value), parse(stringtoi, text, -1)) << text;
        EXPECT_EQ(std::make_pair(ok, value), parse(wstringtoi, wide, -1, std::ios_base::dec))
            << text;
        EXPECT_EQ(ok ? value : 0, stringtoi(text)) << text;
        EXPECT_EQ(ok ? value : 0, wstringtoi(wide)) << text;
    }
    EXPECT_EQ(std::make_pair(true, 15), parse(wstringtoi, L"17", 0, std::ios_base::oct));
    EXPECT_EQ(std::make_pair(true, 9000000000LL), parse(stringtoll, "9000000000 bytes", 0));
    EXPECT_EQ(std::make_pair(true, 0x100000000LL),
              parse(wstringtoll, L"100000000", 0, std::ios_base::hex));
    EXPECT_EQ(0, stringtoll("-"));
    EXPECT_EQ(4096LL, wstringtoll(L"1000", std::ios_base::hex));
    EXPECT_EQ(std::make_pair(true, 350.0f), parse<float>(stringtof, "3.5e2x", 0));
    EXPECT_EQ(std::make_pair(true, -2.5f), parse<float>(wstringtof, L"-2.5", 0));
    EXPECT_EQ(std::make_pair(false, 0.0), parse<double>(wstringtof, L".", 1));
    EXPECT_EQ(std::make_pair(true, 0xDEADBEEFu), parse(hexstringtoi, "DEADbeef!", 0));
    EXPECT_EQ(std::make_pair(true, 0xABu), parse(hexwstringtoi, L"Ab", 0));
    EXPECT_EQ(0u, hexwstringtoi(L"?"));
    // Neither parsing nor formatting follows the global locale.
    const std::locale comma(std::locale(std::locale::classic(), new CommaPunct<char>),
                            new CommaPunct<wchar_t>);
    const std::locale previous = std::locale::global(comma);
    EXPECT_EQ(std::make_pair(true, 1.0), parse<double>(stringtof, "1,5", 0));
    EXPECT_EQ(1.5, wstringtof(L"1.5"));
    EXPECT_EQ(std::make_pair(true, 2.25), from(std::string("2.25"), 0.0));
    EXPECT_EQ("1.5 1234567", ftostring(1.5, 1) + " " + itostring(1234567));
    EXPECT_EQ(L"1.5 1234567", ftowstring(1.5, 1) + L" " + itowstring(1234567));
    std::locale::global(previous);

    typedef std::vector<std::string> Texts;
    typedef std::vector<std::wstring> WTexts;
    EXPECT_EQ(
        (Texts{"00-5", "123", "**-9000000000", "1.000", "1", "10000000000.5"}),
        (Texts{itostring(-5, 4, '0'), itostring(123, 2, '0'), lltostring(-9000000000LL, 13, '*'),
               ftostring(1.0, 3), ftostring(1.4, -2), ftostring(1e10 + 0.5, 1)}));
    EXPECT_EQ((WTexts{L"\u00B7\u00B7-1", L"0010", L"100000000", L"0000ff", L"-0.50"}),
              (WTexts{itowstring(-1, 4, L'\u00B7'), itowstring(8, 4, L'0', std::ios_base::oct),
                      lltowstring(0x100000000LL, std::ios_base::hex),
                      lltowstring(255, 6, L'0', std::ios_base::hex), ftowstring(-0.5, 2)}));
    const std::tuple<double, int, int> decimals[] = {
        {0.05, 2, 3}, {-0.05, 2, 3}, {123.4, 2, 2}, {1.0, 3, 3},     {0.001234, 3, 5},
        {0.0, 4, 4},  {0.001, 0, 0}, {1e300, 1, 1}, {0.001, -2, -2}, {std::numeric_limits<double>::quiet_NaN(), 2, 2}};
    for (const auto& [value, digits, expected] : decimals)
        EXPECT_EQ(expected, calcDecimals(value, digits)) << value << " " << digits;
}

TEST(NumberConversion, FromStringNeedsTheWholeValue)
{
    // Word, whether it is accepted, and the value then held: any other word
    // leaves the value alone.
    const std::tuple<const char*, bool, bool> words[] = {
        {"1", true, true},     {"on", true, true},   {"YES", true, true},  {"tRUE", true, true}, {"0", true, false},
        {"off", true, false},  {"No", true, false},  {"FaLsE", true, false}, {"2", false, true}, {"", false, true},
        {" yes", false, true}, {"yes ", false, true}, {"01", false, true}, {"truee", false, true}};
    for (const auto& [word, accepted, expected] : words)
        EXPECT_EQ(std::make_pair(accepted, expected),
                  from<bool>(std::string(word), accepted ? !expected : expected))
            << word;
    EXPECT_EQ(std::make_pair(true, true), from(std::wstring(L"TRUE"), false));
    EXPECT_EQ(std::make_pair(false, true), from(std::wstring(L"\u00FCbel"), true));
    EXPECT_EQ(std::make_pair(true, std::string("a\xE2\x82\xAC")),
              from<std::string>(std::wstring(L"a\u20AC"), ""));
    EXPECT_EQ(std::make_pair(true, std::wstring(1, wchar_t(0x1F600)) + L"!"),
              from<std::wstring>(std::string("\xF0\x9F\x98\x80!"), L""));

    const std::tuple<std::string, bool, int> ints[] = {
        {" 42 ", true, 42}, {"\t-8\n", true, -8}, {"42x", false, 7},
        {"", false, 7},     {"8 8", false, 7},    {"99999999999", false, 7}};
    for (const auto& [text, ok, expected] : ints) {
        EXPECT_EQ(std::make_pair(ok, expected), from(text, 7)) << text;
        EXPECT_EQ(std::make_pair(ok, expected), from(std::wstring(text.begin(), text.end()), 7));
    }
    EXPECT_EQ(std::make_pair(true, -9000000000LL), from(std::string("-9000000000"), 0LL));
    EXPECT_EQ(std::make_pair(false, 1.0), from(std::string("2.5.1"), 1.0));
}
