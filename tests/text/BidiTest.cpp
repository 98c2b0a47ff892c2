#include <gtest/gtest.h>

#include <cstdint>

#include "text/L10n.h"
#include "text/TextTestUtil.h"

using OKU::Bidi;

namespace {

std::vector<Bidi::Char> classify(const std::wstring& text) {
    std::wstring shaped;
    std::vector<Bidi::Char> chars;
    Bidi::shapeAndClassify(text.data(), text.data() + text.size(), shaped, chars);
    return chars;
}

std::vector<Bidi::Type> typesOf(const std::vector<Bidi::Char>& chars) {
    std::vector<Bidi::Type> types;
    for (const Bidi::Char& c : chars)
        types.push_back(c.type);
    return types;
}

std::vector<int> levelsOf(const std::vector<Bidi::Char>& chars) {
    std::vector<int> levels;
    for (const Bidi::Char& c : chars)
        levels.push_back(c.level);
    return levels;
}

} // namespace

TEST(BidiString, DisplayOrderByModeAndContent) {
    const std::wstring alef = L"\u05D0", bet = L"\u05D1", gimel = L"\u05D2";
    const std::tuple<std::wstring, Bidi::Mode, std::wstring> cases[] = {
        {L"abc", 0, L"abc"},
        {L"", 0, L""},
        {alef + bet + gimel, 0, gimel + bet + alef},
        {alef + bet + gimel, 2, gimel + bet + alef},
        // W7 makes the digits L, so they stay in order even right to left.
        {L"abc 123", 1, L"abc 123"},
        {L"1 2", 1, L"2 1"},
        {L"1 2", 0, L"1 2"},
        {L"a " + alef, 0, L"a " + alef},
        {L"a " + alef, 1, alef + L" a"},
        {L"a " + alef, 3, alef + L" a"},
        {L"a " + alef, 4, L"a " + alef},
        {L"a " + alef, -1, L"a " + alef},
        {L"a " + alef + bet + L" b", 2, L"a " + bet + alef + L" b"},
        {alef + L" 12", 0, L"12 " + alef},
        {alef + L" 1.5%", 0, L"1.5% " + alef},
        // Mirrored inside right-to-left text, not in left-to-right text.
        {alef + L"(" + bet + L")", 0, L"(" + bet + L")" + alef},
        {L"a<b>", 2, L"a<b>"},
        // Marks stay after their base at odd levels.
        {alef + L"\u05B8" + bet, 0, bet + alef + L"\u05B8"},
        // A tab falls back to the paragraph level and splits the runs.
        {L"a\tb", 1, L"b\ta"},
        // Each paragraph finds its own direction.
        {alef + bet + L"\nab", 0, L"\n" + bet + alef + L"ab"},
        {L"ab\n" + alef + bet, 0, L"ab\n" + bet + alef},
        // Shaped first (lam-alef ligature, initial, medial, final), then reversed.
        {L"\u0644\u0627 \u0628\u064A\u062A", 0, L"\uFE96\uFEF4\uFE91 \uFEFB"},
        // An Arabic number keeps its order and its digits stay together.
        {L"\u0627 12", 0, L"12 \uFE8D"},
    };
    for (const auto& [text, mode, expected] : cases)
        EXPECT_EQ(expected, Bidi::string(text, mode)) << "mode " << mode;
}

// Converting into a buffer that longer texts used before, and texts longer
// than lines usually are, must give what the steps give one by one.
TEST(BidiString, IntoAReusedBufferLikeTheSteps) {
    const std::wstring piece = L"\u0627\u0644\u0628\u064E abc 12 (\u05D0\u05D1) \u0644\u0627\n";
    std::wstring visual(500, L'x');
    for (std::size_t length : {0, 1, 9, 159, 160, 161, 170, 400}) {
        std::wstring text;
        while (text.size() < length)
            text += piece;
        text.resize(length);
        for (Bidi::Mode mode : {0, 1, 2}) {
            std::wstring expected;
            std::vector<Bidi::Char> chars;
            Bidi::shapeAndClassify(text.data(), text.data() + text.size(), expected, chars);
            Bidi::Char* const first = chars.data();
            for (const Bidi::Paragraph& p :
                 Bidi::resolveParagraphs(first, first + chars.size(), mode))
                Bidi::mirrorAndReorder(&expected[p.begin - first], p.begin, p.end);

            Bidi::string(text.data(), text.data() + text.size(), mode, visual);
            EXPECT_EQ(expected, visual) << "length " << length << ", mode " << mode;
        }
    }
}

TEST(BidiString, OverridesForceDirectionAndStayInTheText) {
    const std::wstring alef = L"\u05D0", bet = L"\u05D1", gimel = L"\u05D2";
    EXPECT_EQ(L"\u202D" + bet + L"\u202C", Bidi::lro(bet));
    EXPECT_EQ(L"\u202Eab\u202C", Bidi::rlo(std::wstring(L"ab")));
    EXPECT_EQ("\xE2\x80\xAD" "ab" "\xE2\x80\xAC", Bidi::lro(std::string("ab")));
    EXPECT_EQ("\xE2\x80\xAE" "ab" "\xE2\x80\xAC", Bidi::rlo(std::string("ab")));

    EXPECT_EQ(L"\u202E\u202Cba", Bidi::string(Bidi::rlo(std::wstring(L"ab")), 2));
    EXPECT_EQ(bet + gimel + L"\u202C\u202D " + alef,
              Bidi::string(alef + L" " + Bidi::lro(bet + gimel), 1));
    // An embedding without override keeps the types inside it.
    EXPECT_EQ(L"x\u202B\u202C" + bet + L"a", Bidi::string(L"x\u202Ba" + bet + L"\u202C", 2));
}

TEST(BidiResolve, ExplicitLevelsAndNestingBound) {
    std::vector<Bidi::Char> chars = classify(L"a\u202Bb\u202Cc\u202Ad\u202C");
    EXPECT_EQ(0, Bidi::resolve(chars.data(), chars.data() + chars.size(), 2));
    // Codes take the level before them; b is L at odd level 1.
    EXPECT_EQ((std::vector<int>{0, 0, 2, 2, 0, 0, 2, 2}), levelsOf(chars));

    // 62 embeddings fit (levels 2..124); the 8 beyond open nothing and their
    // PDFs are the first to close.
    const std::wstring open(70, L'\u202A'), close8(8, L'\u202C'), close62(62, L'\u202C');
    chars = classify(open + L"a" + close8 + L"b" + close62 + L"c");
    Bidi::resolve(chars.data(), chars.data() + chars.size(), 2);
    EXPECT_EQ(124, chars[70].level);
    EXPECT_EQ(124, chars[79].level);
    EXPECT_EQ(0, chars.back().level);
    for (const Bidi::Char& c : chars)
        EXPECT_LE(c.level, Bidi::c_maxExplicitLevel + 2);

    // A PDF with nothing open is ignored; an override retypes by level parity.
    chars = classify(L"\u202Ca\u202E1b\u202C");
    Bidi::resolveExplicit(chars.data(), chars.data() + chars.size(), 0);
    EXPECT_EQ((std::vector<Bidi::Type>{Bidi::BN, Bidi::L, Bidi::BN, Bidi::R, Bidi::R, Bidi::BN}),
              typesOf(chars));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 1, 0}), levelsOf(chars));
}

TEST(BidiResolve, ParagraphsSplitAfterSeparatorsWithOwnDirection) {
    std::vector<Bidi::Char> chars = classify(L"\u05D0\nab\u2029 1");
    Bidi::Char* const first = chars.data();
    const std::vector<Bidi::Paragraph> paragraphs =
        Bidi::resolveParagraphs(first, first + chars.size(), 0);
    // Begin, end and level of each.
    std::vector<int> found;
    for (const Bidi::Paragraph& p : paragraphs)
        found.insert(found.end(), {int(p.begin - first), int(p.end - first), p.level});
    EXPECT_EQ((std::vector<int>{0, 2, 1, 2, 5, 0, 5, 7, OKU::l10nIsLTR() ? 0 : 1}), found);
    // The separator itself is at the paragraph level.
    EXPECT_EQ(1, chars[1].level);
    EXPECT_TRUE(Bidi::resolveParagraphs(first, first, 0).empty());

    // Forced modes apply to every paragraph; resolving again starts afresh.
    for (const Bidi::Paragraph& paragraph : Bidi::resolveParagraphs(first, first + chars.size(), 3))
        EXPECT_EQ(1, paragraph.level);
    Bidi::resolveParagraphs(first, first + chars.size(), 0);
    EXPECT_EQ((std::vector<int>{1, 1, 0, 0, 0, 0, 0}), levelsOf(chars));
}

TEST(BidiReorder, MirrorExchangesPairsOnlyAtOddLevels) {
    for (unsigned char level : {0, 1, 2, 3}) {
        std::wstring text = L"()[]{}<>\u00AB\u00BBa/";
        const std::vector<Bidi::Char> chars(text.size(), Bidi::Char{Bidi::ON, Bidi::ON, level});
        Bidi::mirror(&text[0], chars.data(), chars.data() + chars.size());
        EXPECT_EQ(level % 2 ? L")(][}{><\u00BB\u00ABa/" : L"()[]{}<>\u00AB\u00BBa/", text)
            << int(level);
    }
}

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
        Bidi::Type expected =
            (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF) ? Bidi::AL : Bidi::L;
        for (const auto& table : tables) {
            if (c >= table[0] && c <= table[1])
                expected = unicode.count(c) ? unicode.at(c) : Bidi::BN;
        }
        ASSERT_EQ(int(expected), int(Bidi::getType(static_cast<wchar_t>(c))))
            << std::hex << "U+" << c;
    }
    // Values that are no code point at all must not index past a table.
    EXPECT_EQ(Bidi::L, Bidi::getType(static_cast<wchar_t>(-1)));
    EXPECT_EQ(Bidi::L, Bidi::getType(static_cast<wchar_t>(0x7FFFFFFF)));
}

TEST(BidiIsLTR, FirstStrongCharacterDecides) {
    EXPECT_TRUE(Bidi::isLTR(L"abc"));
    EXPECT_FALSE(Bidi::isLTR(L"\u05E9\u05DC\u05D5\u05DD"));         // Hebrew
    EXPECT_FALSE(Bidi::isLTR(L"\uFEFB"));                           // lam-alef ligature
    // Neutrals, numbers and marks before the first strong character are skipped.
    EXPECT_TRUE(Bidi::isLTR(L"12, (\u0660) \u064B\u200Bx \u05D0"));
    EXPECT_FALSE(Bidi::isLTR(L"12, (\u0660) \u0E31\u200B\u05D0 x"));
    // The direction marks are strong characters of their own.
    EXPECT_TRUE(Bidi::isLTR(L"\u200E\u05D0"));
    EXPECT_FALSE(Bidi::isLTR(L"\u200Fabc"));

    // Without a strong character the language decides.
    const bool language = OKU::l10nIsLTR();
    EXPECT_EQ(language, Bidi::isLTR(L""));
    EXPECT_EQ(language, Bidi::isLTR(L"\u0661\u0662 %-\u202B\u202E"));
}
