// Shaping is checked against Unicode's own data (Debian package unicode-data):
// the presentation forms come from the compatibility decompositions in
// UnicodeData.txt.

#include <gtest/gtest.h>

#include "text/TextTestUtil.h"

using OKU::Bidi;

namespace {

const wchar_t c_beh = 0x0628;
const wchar_t c_behIsolated = 0xFE8F, c_behFinal = 0xFE90, c_behInitial = 0xFE91;
const wchar_t c_lam = 0x0644;

// Letter -> forms, from every character that decomposes to one letter of
// U+0621..U+06D3 with the tag <isolated>, <final>, <medial> or <initial>.
const std::map<wchar_t, Bidi::Shape>& unicodeShapes() {
    static const std::map<wchar_t, Bidi::Shape> shapes = [] {
        const std::map<std::string, Bidi::Form> tags = {
            {"<isolated>", Bidi::ISOLATED}, {"<final>", Bidi::FINAL},
            {"<medial>", Bidi::MEDIAL},     {"<initial>", Bidi::INITIAL}};
        std::map<wchar_t, Bidi::Shape> result;
        for (const auto& fields : TextTest::unicodeRecords("UnicodeData.txt")) {
            std::istringstream decomposition(fields.at(5));
            std::string tag;
            unsigned letter = 0;
            if (!(decomposition >> tag >> std::hex >> letter) || !tags.count(tag) ||
                letter < 0x0621 || letter > 0x06D3 || decomposition >> tag)
                continue;
            result[static_cast<wchar_t>(letter)][tags.at(tag)] =
                static_cast<wchar_t>(std::stoul(fields[0], nullptr, 16));
        }
        return result;
    }();
    return shapes;
}

} // namespace

TEST(ArabicShaping, ShapeTableMatchesUnicodeDecompositions) {
    const std::map<wchar_t, Bidi::Shape>& expected = unicodeShapes();
    ASSERT_EQ(76u, expected.size());
    for (wchar_t c = 0; c < 0x20000; ++c) {
        const Bidi::Shape* shape = Bidi::getArabicShape(c);
        const auto entry = expected.find(c);
        if (entry == expected.end()) {
            EXPECT_EQ(nullptr, shape) << std::hex << "U+" << c;
        } else {
            ASSERT_NE(nullptr, shape) << std::hex << "U+" << c;
            EXPECT_EQ(entry->second, *shape) << std::hex << "U+" << c;
        }
    }
    EXPECT_EQ(nullptr, Bidi::getArabicShape(static_cast<wchar_t>(-1)));
}

TEST(ArabicShaping, EveryLetterTakesItsFormByPosition) {
    for (const auto& entry : unicodeShapes()) {
        const wchar_t x = entry.first;
        const Bidi::Shape& f = entry.second;
        const wchar_t iso = f[Bidi::ISOLATED], fin = f[Bidi::FINAL], med = f[Bidi::MEDIAL],
                      ini = f[Bidi::INITIAL];
        const std::wstring alone{iso};
        const std::wstring afterBeh =
            fin ? std::wstring{c_behInitial, fin} : std::wstring{c_behIsolated, iso};
        const std::wstring beforeBeh =
            ini ? std::wstring{ini, c_behFinal} : std::wstring{iso, c_behIsolated};
        const std::wstring betweenBehs = med   ? std::wstring{c_behInitial, med, c_behFinal}
                                         : fin ? std::wstring{c_behInitial, fin, c_behIsolated}
                                               : std::wstring{c_behIsolated, iso, c_behIsolated};
        EXPECT_EQ(alone, Bidi::shape({x})) << std::hex << "U+" << x;
        EXPECT_EQ(afterBeh, Bidi::shape({c_beh, x})) << std::hex << "U+" << x;
        EXPECT_EQ(beforeBeh, Bidi::shape({x, c_beh})) << std::hex << "U+" << x;
        EXPECT_EQ(betweenBehs, Bidi::shape({c_beh, x, c_beh})) << std::hex << "U+" << x;
    }
}

TEST(ArabicShaping, LamAlefLigaturesInBothPositions) {
    const std::tuple<wchar_t, wchar_t, wchar_t> cases[] = {
        {0x0622, 0xFEF5, 0xFEF6}, {0x0623, 0xFEF7, 0xFEF8}, {0x0625, 0xFEF9, 0xFEFA}, {0x0627, 0xFEFB, 0xFEFC}};
    for (const auto& [alef, isolated, final] : cases) {
        EXPECT_EQ(std::wstring{isolated}, Bidi::shape({c_lam, alef}));
        EXPECT_EQ((std::wstring{c_behInitial, final}), Bidi::shape({c_beh, c_lam, alef}));
        // Alef never joins what follows it.
        EXPECT_EQ((std::wstring{isolated, c_behIsolated}), Bidi::shape({c_lam, alef, c_beh}));
    }
    // A mark written between them keeps lam and alef apart.
    EXPECT_EQ(L"\uFEDF\u064E\uFE8E", Bidi::shape(L"\u0644\u064E\u0627"));
    // Only a final alef after an initial or medial lam merges.
    wchar_t previous = 0xFEDD;
    EXPECT_FALSE(Bidi::mergeLigature(previous, 0xFE8E));
    EXPECT_EQ(0xFEDD, previous);
    previous = 0xFEDF;
    EXPECT_FALSE(Bidi::mergeLigature(previous, 0xFE8D));
    EXPECT_FALSE(Bidi::mergeLigature(previous, 0xFE90));
    EXPECT_EQ(0xFEDF, previous);
}

TEST(ArabicShaping, MarksAreTransparentAndOtherCharactersBreakJoining) {
    const std::tuple<std::wstring, std::wstring> cases[] = {
        {L"\u0628\u0651\u064E\u064A\u0670\u062A", L"\uFE91\u0651\u064E\uFEF4\u0670\uFE96"},
        {L"\u0628\u05B8\u0628", L"\uFE91\u05B8\uFE90"},
        {L"\u064E\u0628", L"\u064E\uFE8F"},
        {L"\u0628\u0651\u064E", L"\uFE8F\u0651\u064E"},
        {L"\u0627\u064E\u0628", L"\uFE8D\u064E\uFE8F"},
        {L"\u0628 \u0628", L"\uFE8F \uFE8F"},
        {L"\u0628\u200C\u0628", L"\uFE8F\u200C\uFE8F"},
        {L"", L""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(expected, Bidi::shape(text));
}

TEST(ArabicShaping, ClassifiesTheShapedText) {
    const std::wstring text = L"\u0644\u0627!";
    std::wstring shaped = L"stale";
    std::vector<Bidi::Char> chars(3, Bidi::Char{Bidi::L, Bidi::R, 7});
    Bidi::shapeAndClassify(text.data(), text.data() + text.size(), shaped, chars);
    EXPECT_EQ(L"\uFEFB!", shaped);
    ASSERT_EQ(2u, chars.size());
    for (const auto& [c, type] :
         {std::make_pair(chars[0], Bidi::AL), std::make_pair(chars[1], Bidi::ON)}) {
        EXPECT_EQ(type, c.initial);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(0, c.level);
    }
    EXPECT_EQ(3u, sizeof(Bidi::Char));
}
