// Runs the resolution over Unicode's own conformance data (Debian package
// unicode-data), restricted to what the compact algorithm covers: no isolates,
// no bracket pairs, and for the character test only code points that the type
// tables describe. The compact algorithm differs from the full one on purpose
// (see Bidi.h): most disagreements are trailing white space, which keeps its
// resolved level, and text next to embeddings, whose neutrals and numbers are
// resolved against the paragraph's direction rather than the embedding's; a
// few come from boundary neutrals that are kept rather than removed, and from
// U+061C, which the type table classes as BN. Agreement is therefore held
// above floors; a drop below one means a rule broke. Wherever the levels
// agree, the display order must agree too.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>

#include "text/TextTestUtil.h"

using OKU::Bidi;

namespace {

// Shares of cases whose levels all agree, as reached with Unicode 15.0
// (26 of 39 character cases, 316696 of 352098 class sequence cases).
const double c_characterTestFloor = 0.66;
const double c_classTestFloor = 0.899;

// Levels in the data files; -1 stands for "x", a character the full algorithm
// removes (explicit codes and BN), whose level is not compared.
typedef std::vector<int> Levels;

// Cases whose levels all agree, and among those the ones whose display
// order agrees too.
struct Tally {
    long cases = 0;
    long levelsAgree = 0;
    long orderCases = 0;
    long orderAgrees = 0;

    double levelShare() const { return cases ? double(levelsAgree) / double(cases) : 0; }
};

// The numbers of a field, "x" read as -1.
Levels numbers(const std::string& text) {
    Levels values;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        values.push_back(word == "x" ? -1 : std::stoi(word));
    return values;
}

// Resolves chars and compares with the expected levels and, where the levels
// agree and no mark is grouped with its base (which the data files do not
// do), the expected display order of the characters that are not "x".
void check(std::vector<Bidi::Char> chars, Bidi::Mode mode, const Levels& expected,
           const Levels& expectedOrder, Tally& tally) {
    Bidi::resolve(chars.data(), chars.data() + chars.size(), mode);
    ++tally.cases;
    bool hasMark = false;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (expected[i] >= 0 && expected[i] != chars[i].level)
            return;
        hasMark = hasMark || chars[i].initial == Bidi::NSM;
    }
    ++tally.levelsAgree;
    if (hasMark)
        return;
    ++tally.orderCases;
    Levels order;
    for (std::size_t index : Bidi::visualOrder(chars.data(), chars.data() + chars.size())) {
        if (expected[index] >= 0)
            order.push_back(static_cast<int>(index));
    }
    if (order == expectedOrder)
        ++tally.orderAgrees;
}

void expectAboveFloor(const char* file, const Tally& tally, double floor) {
    std::printf("%s: levels agree in %ld of %ld cases (%.2f%%), display order in %ld of %ld\n",
                file, tally.levelsAgree, tally.cases, 100.0 * tally.levelShare(), tally.orderAgrees,
                tally.orderCases);
    EXPECT_GE(tally.levelShare(), floor);
    EXPECT_EQ(tally.orderCases, tally.orderAgrees);
}

} // namespace

TEST(BidiConformance, CharacterTestCasesWithinTheCompactAlgorithm) {
    std::set<std::uint32_t> brackets;
    for (const auto& fields : TextTest::unicodeRecords("BidiBrackets.txt"))
        brackets.insert(std::stoul(fields[0], nullptr, 16));
    ASSERT_FALSE(brackets.empty());
    // Only code points the type tables describe: Latin-1, Hebrew, Arabic,
    // Thai, general punctuation but the isolates, the Arabic presentation forms.
    static const std::uint32_t ranges[][2] = {{0x0000, 0x00FF}, {0x0590, 0x06FF}, {0x0E00, 0x0E7F},
                                              {0x2000, 0x2065}, {0x206A, 0x206F}, {0xFB50, 0xFDFF},
                                              {0xFE70, 0xFEFF}};
    Tally tally;
    for (const auto& fields : TextTest::unicodeRecords("BidiCharacterTest.txt")) {
        ASSERT_EQ(5u, fields.size()) << fields[0];
        std::vector<Bidi::Char> chars;
        bool covered = true;
        std::istringstream codes(fields[0]);
        for (std::uint32_t c; covered && codes >> std::hex >> c;) {
            covered = false;
            for (const auto& range : ranges)
                covered = covered || (c >= range[0] && c <= range[1] && !brackets.count(c));
            const Bidi::Type type = Bidi::getType(static_cast<wchar_t>(c));
            chars.push_back(Bidi::Char{type, type, 0});
        }
        if (!covered)
            continue;
        // The file's directions 0, 1 and 2 are left to right, right to left
        // and automatic.
        static const Bidi::Mode modes[] = {2, 1, 0};
        const Levels levels = numbers(fields[3]);
        ASSERT_EQ(chars.size(), levels.size()) << fields[0];
        check(chars, modes[std::stoi(fields[1])], levels, numbers(fields[4]), tally);
    }
    expectAboveFloor("BidiCharacterTest.txt", tally, c_characterTestFloor);
}

TEST(BidiConformance, ClassSequencesWithinTheCompactAlgorithm) {
    std::ifstream in(TextTest::c_unicodeDir + "BidiTest.txt");
    ASSERT_TRUE(in.good()) << "BidiTest.txt is missing: install the unicode-data package";
    Tally tally;
    Levels levels;
    Levels order;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("@Levels:", 0) == 0)
            levels = numbers(line.substr(8));
        else if (line.rfind("@Reorder:", 0) == 0)
            order = numbers(line.substr(9));
        if (line.empty() || line[0] == '#' || line[0] == '@')
            continue;
        const std::vector<std::string> fields = TextTest::split(line, ';');
        ASSERT_EQ(2u, fields.size()) << line;
        std::vector<Bidi::Char> chars;
        bool covered = true;
        std::istringstream names(fields[0]);
        for (std::string name; covered && names >> name;) {
            const auto type = TextTest::bidiTypes().find(name);
            covered = type != TextTest::bidiTypes().end(); // isolates are not covered
            if (covered)
                chars.push_back(Bidi::Char{type->second, type->second, 0});
        }
        if (!covered)
            continue;
        ASSERT_EQ(chars.size(), levels.size()) << line;
        // Bit 1 is automatic, 2 left to right, 4 right to left.
        const int paragraphs = std::stoi(fields[1], nullptr, 16);
        static const std::pair<int, Bidi::Mode> modes[] = {{1, 0}, {2, 2}, {4, 1}};
        for (const auto& mode : modes) {
            if (paragraphs & mode.first)
                check(chars, mode.second, levels, order, tally);
        }
    }
    expectAboveFloor("BidiTest.txt", tally, c_classTestFloor);
}
