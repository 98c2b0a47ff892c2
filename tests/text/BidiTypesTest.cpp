#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "text/Bidi.h"
#include "text/L10n.h"

using OKU::Bidi;

namespace {

struct Run {
    std::uint32_t first;
    std::uint32_t last;
    Bidi::Type type;
};

// Checks every code point of each run, so that neighbouring runs also pin
// down the boundary between them.
void expectRuns(std::initializer_list<Run> runs) {
    for (const Run& run : runs) {
        for (std::uint32_t c = run.first; c <= run.last; ++c)
            EXPECT_EQ(run.type, Bidi::getType(static_cast<wchar_t>(c))) << std::hex << "U+" << c;
    }
}

} // namespace

TEST(BidiTypes, LatinOneControlsPunctuationAndLetters) {
    expectRuns({
        {0x0000, 0x0008, Bidi::BN}, {0x0009, 0x0009, Bidi::S},  {0x000A, 0x000A, Bidi::B},
        {0x000B, 0x000B, Bidi::S},  {0x000C, 0x000C, Bidi::WS}, {0x000D, 0x000D, Bidi::B},
        {0x000E, 0x001B, Bidi::BN}, {0x001C, 0x001E, Bidi::B},  {0x001F, 0x001F, Bidi::S},
        {0x0020, 0x0020, Bidi::WS}, {0x0021, 0x0022, Bidi::ON}, {0x0023, 0x0025, Bidi::ET},
        {0x002B, 0x002B, Bidi::ES}, {0x002C, 0x002C, Bidi::CS}, {0x002D, 0x002D, Bidi::ES},
        {0x002E, 0x002F, Bidi::CS}, {0x0030, 0x0039, Bidi::EN}, {0x003A, 0x003A, Bidi::CS},
        {0x003B, 0x0040, Bidi::ON}, {0x0041, 0x005A, Bidi::L},  {0x005B, 0x0060, Bidi::ON},
        {0x0061, 0x007A, Bidi::L},  {0x007B, 0x007E, Bidi::ON}, {0x007F, 0x0084, Bidi::BN},
        {0x0085, 0x0085, Bidi::B},  {0x0086, 0x009F, Bidi::BN}, {0x00A0, 0x00A0, Bidi::CS},
        {0x00AA, 0x00AA, Bidi::L},  {0x00AD, 0x00AD, Bidi::BN}, {0x00B0, 0x00B1, Bidi::ET},
        {0x00B2, 0x00B3, Bidi::EN}, {0x00B4, 0x00B4, Bidi::ON}, {0x00B5, 0x00B5, Bidi::L},
        {0x00B9, 0x00B9, Bidi::EN}, {0x00BA, 0x00BA, Bidi::L},  {0x00BB, 0x00BF, Bidi::ON},
        {0x00C0, 0x00D6, Bidi::L},  {0x00D7, 0x00D7, Bidi::ON}, {0x00D8, 0x00F6, Bidi::L},
        {0x00F7, 0x00F7, Bidi::ON}, {0x00F8, 0x00FF, Bidi::L},
    });
}

TEST(BidiTypes, HebrewLettersMarksAndGaps) {
    expectRuns({
        {0x0590, 0x0590, Bidi::BN}, {0x0591, 0x05BD, Bidi::NSM}, {0x05BE, 0x05BE, Bidi::R},
        {0x05BF, 0x05BF, Bidi::NSM}, {0x05C0, 0x05C0, Bidi::R}, {0x05C1, 0x05C2, Bidi::NSM},
        {0x05C7, 0x05C7, Bidi::NSM}, {0x05C8, 0x05CF, Bidi::BN}, {0x05D0, 0x05EA, Bidi::R},
        {0x05EB, 0x05EF, Bidi::BN}, {0x05F0, 0x05F4, Bidi::R},  {0x05F5, 0x05FF, Bidi::BN},
    });
}

TEST(BidiTypes, ArabicLettersDigitsAndMarks) {
    expectRuns({
        {0x0600, 0x0603, Bidi::AN}, {0x0604, 0x0605, Bidi::BN},  {0x0606, 0x0607, Bidi::ON},
        {0x0608, 0x0608, Bidi::AL}, {0x0609, 0x060A, Bidi::ET},  {0x060C, 0x060C, Bidi::CS},
        {0x0610, 0x061A, Bidi::NSM}, {0x061B, 0x061B, Bidi::AL}, {0x0620, 0x0620, Bidi::BN},
        {0x0621, 0x064A, Bidi::AL}, {0x064B, 0x065E, Bidi::NSM}, {0x065F, 0x065F, Bidi::BN},
        {0x0660, 0x0669, Bidi::AN}, {0x066A, 0x066A, Bidi::ET},  {0x066B, 0x066C, Bidi::AN},
        {0x066D, 0x066F, Bidi::AL}, {0x0670, 0x0670, Bidi::NSM}, {0x0671, 0x06D5, Bidi::AL},
        {0x06D6, 0x06DC, Bidi::NSM}, {0x06DD, 0x06DD, Bidi::AN}, {0x06E9, 0x06E9, Bidi::ON},
        {0x06EA, 0x06ED, Bidi::NSM}, {0x06EE, 0x06EF, Bidi::AL}, {0x06F0, 0x06F9, Bidi::EN},
        {0x06FA, 0x06FF, Bidi::AL},
    });
}

TEST(BidiTypes, ThaiLettersMarksAndCurrency) {
    expectRuns({
        {0x0E00, 0x0E00, Bidi::BN}, {0x0E01, 0x0E30, Bidi::L},   {0x0E31, 0x0E31, Bidi::NSM},
        {0x0E32, 0x0E33, Bidi::L},  {0x0E34, 0x0E3A, Bidi::NSM}, {0x0E3B, 0x0E3E, Bidi::BN},
        {0x0E3F, 0x0E3F, Bidi::ET}, {0x0E40, 0x0E46, Bidi::L},   {0x0E47, 0x0E4E, Bidi::NSM},
        {0x0E4F, 0x0E5B, Bidi::L},  {0x0E5C, 0x0E7F, Bidi::BN},
    });
}

TEST(BidiTypes, GeneralPunctuationAndFormattingCodes) {
    expectRuns({
        {0x2000, 0x200A, Bidi::WS},  {0x200B, 0x200D, Bidi::BN},  {0x200E, 0x200E, Bidi::L},
        {0x200F, 0x200F, Bidi::R},   {0x2010, 0x2027, Bidi::ON},  {0x2028, 0x2028, Bidi::WS},
        {0x2029, 0x2029, Bidi::B},   {0x202A, 0x202A, Bidi::LRE}, {0x202B, 0x202B, Bidi::RLE},
        {0x202C, 0x202C, Bidi::PDF}, {0x202D, 0x202D, Bidi::LRO}, {0x202E, 0x202E, Bidi::RLO},
        {0x202F, 0x202F, Bidi::CS},  {0x2030, 0x2034, Bidi::ET},  {0x2044, 0x2044, Bidi::CS},
        {0x205F, 0x205F, Bidi::WS},  {0x2060, 0x206F, Bidi::BN},
    });
}

TEST(BidiTypes, OutsideTheTablesOnlyPresentationFormsAreArabic) {
    expectRuns({
        {0x0100, 0x058F, Bidi::L},  {0x0700, 0x0DFF, Bidi::L},  {0x0E80, 0x1FFF, Bidi::L},
        {0x2070, 0xFB4F, Bidi::L},  {0xFB50, 0xFDFF, Bidi::AL}, {0xFE00, 0xFE6F, Bidi::L},
        {0xFE70, 0xFEFF, Bidi::AL}, {0xFF00, 0x10000, Bidi::L}, {0x10FFFF, 0x10FFFF, Bidi::L},
    });
    // Values that are no code point at all must not index past a table.
    EXPECT_EQ(Bidi::L, Bidi::getType(static_cast<wchar_t>(-1)));
    EXPECT_EQ(Bidi::L, Bidi::getType(static_cast<wchar_t>(0x7FFFFFFF)));
}

TEST(BidiIsLTR, FirstStrongCharacterDecides) {
    EXPECT_TRUE(Bidi::isLTR(L"abc"));
    EXPECT_FALSE(Bidi::isLTR(L"\u05E9\u05DC\u05D5\u05DD"));         // Hebrew
    EXPECT_FALSE(Bidi::isLTR(L"\u0645\u0631\u062D\u0628\u0627"));   // Arabic
    EXPECT_FALSE(Bidi::isLTR(L"\uFEFB"));                           // lam-alef ligature
    // Neutrals, numbers and marks before the first strong character are skipped.
    EXPECT_TRUE(Bidi::isLTR(L"12, (\u0660) \u064B\u200Bx \u05D0"));
    EXPECT_FALSE(Bidi::isLTR(L"12, (\u0660) \u0E31\u200B\u05D0 x"));
    EXPECT_FALSE(Bidi::isLTR(L"- \u0628 abc"));
    // The direction marks are strong characters of their own.
    EXPECT_TRUE(Bidi::isLTR(L"\u200E\u05D0"));
    EXPECT_FALSE(Bidi::isLTR(L"\u200Fabc"));
}

TEST(BidiIsLTR, TextWithoutStrongCharacterFollowsTheLanguage) {
    const bool language = OKU::l10nIsLTR();
    EXPECT_EQ(language, Bidi::isLTR(L""));
    EXPECT_EQ(language, Bidi::isLTR(L"123"));
    EXPECT_EQ(language, Bidi::isLTR(L"\u0661\u0662 %-\u202B\u202E"));
}
