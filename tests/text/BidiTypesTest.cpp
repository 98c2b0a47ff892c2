#include <gtest/gtest.h>

#include <cstdint>

#include "text/L10n.h"
#include "text/TextTestUtil.h"

using OKU::Bidi;

// Inside the tables (Latin-1, Hebrew, Arabic, Thai, general punctuation)
// every character has its class from UnicodeData.txt, and code points the
// tables leave out are BN: unassigned ones and the isolates, which the compact
// algorithm does not know. The tables follow an older Unicode, which had not
// yet assigned a few letters and marks (BN here) and still classed U+06DE as
// a mark. Outside them only the Arabic presentation forms are AL, everything
// else L.
TEST(BidiTypes, EveryCodePointHasItsUnicodeClassInsideTheTables) {
    std::map<std::uint32_t, Bidi::Type> unicode;
    for (const auto& fields : TextTest::unicodeRecords("UnicodeData.txt")) {
        const auto type = TextTest::bidiTypes().find(fields.at(4));
        if (type != TextTest::bidiTypes().end())
            unicode[std::stoul(fields[0], nullptr, 16)] = type->second;
    }
    ASSERT_GT(unicode.size(), 10000u);
    for (const std::uint32_t c : {0x05EF, 0x0604, 0x0605, 0x061C, 0x061D, 0x0620, 0x065F})
        unicode[c] = Bidi::BN;
    unicode[0x06DE] = Bidi::NSM;
    const std::uint32_t tables[][2] = {
        {0x0000, 0x00FF}, {0x0590, 0x05FF}, {0x0600, 0x06FF}, {0x0E00, 0x0E7F}, {0x2000, 0x206F}};
    for (std::uint32_t c = 0; c <= 0x10FFFF; c = c == 0x10000 ? 0x10FFFF : c + 1) {
        Bidi::Type expected = (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF) ? Bidi::AL : Bidi::L;
        for (const auto& table : tables) {
            if (c >= table[0] && c <= table[1])
                expected = unicode.count(c) ? unicode.at(c) : Bidi::BN;
        }
        ASSERT_EQ(int(expected), int(Bidi::getType(static_cast<wchar_t>(c)))) << std::hex << "U+" << c;
    }
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

    // Without a strong character the language decides.
    const bool language = OKU::l10nIsLTR();
    EXPECT_EQ(language, Bidi::isLTR(L""));
    EXPECT_EQ(language, Bidi::isLTR(L"123"));
    EXPECT_EQ(language, Bidi::isLTR(L"\u0661\u0662 %-\u202B\u202E"));
}
