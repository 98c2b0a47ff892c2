#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PoCatalog.h"
#include "SourceTexts.h"
#include "TableCheck.h"
#include "core/FileFinder.h"
#include "text/Bidi.h"
#include "text/Cache.h"
#include "text/Font.h"
#include "text/L10n.h"

using namespace lng;

namespace {

std::vector<std::wstring> textsOf(const std::string& source)
{
    std::vector<std::wstring> texts;
    for (const SourceText& t : findTexts(source, "f.cpp"))
        texts.push_back(t.text);
    return texts;
}

} // namespace

TEST(LngTool, FindsTheTextsWrappedForTranslation)
{
    EXPECT_EQ(std::vector<std::wstring>({L"One", L"Two lines\nand \"quotes\" \\", L"Größe",
                                         L"http://x", L"Kept for later"}),
              textsOf("LString(LString1(L\"One\"));\n"
                      "LString1(  L\"Two lines\\n\"\n      L\"and \\\"quotes\\\" \\\\\")\n"
                      "LString1(L\"Größe\")\n"
                      "LString1(label); myLString1(L\"not ours\"); LString1(L\"a\" + b);\n"
                      "// LString1(L\"an example\")\n/* LString1(L\"another\") */\n"
                      "LString1(L\"http://x\")\n"
                      "const wchar_t* c = translatable(L\"Kept for later\");\n"));
    EXPECT_THROW(findTexts("LString1(L\"open\n\")", "f.cpp"), std::runtime_error);
}

TEST(LngTool, CheckNamesEveryFaultOfALanguageSource)
{
    const std::vector<SourceText> program = {
        {L"Copy %1 of %2", "a.cpp:1"}, {L"OK", "a.cpp:2"}, {L"Cancel", "a.cpp:3"}};
    const std::vector<PoEntry> catalog = {
        {L"Copy %1 of %2", L"%2: %1 kopieren", 1}, {L"OK", L"OK", 4}, {L"OK", L"Gut", 7}, {L"Gone", L"Weg", 10}};
    EXPECT_EQ(std::vector<std::string>({"de.po:7: given twice: \"OK\"",
                                        "de.po:10: no longer used: \"Gone\"",
                                        "de.po:0: lacks \"Cancel\" (a.cpp:3)"}),
              checkCatalog(program, catalog, "de.po"));
    EXPECT_EQ(std::vector<std::string>(
                  {"de.po:1: the markers differ from the text's: \"%1 von %3 kopieren\""}),
              checkCatalog({program[0]}, {{L"Copy %1 of %2", L"%1 von %3 kopieren", 1}}, "de.po"));
}

// Every shipped table loads and translates every text its source gives; and
// every translation can be drawn: the default font's fallback chain has a
// glyph for each character the shaped text needs, in regular and bold.
TEST(LngTool, ShippedTablesTranslateEveryTextOfTheirSourceWithoutMissingGlyphs)
{
    const OKU::FileFinder fonts(OKU_FONT_DIR);
    OKU::Cache cache(fonts);
    const std::set<wchar_t> charsets[] = {cache.getFont(16, false, false)->getCharset(),
                                          cache.getFont(16, true, false)->getCharset()};
    std::vector<std::string> codes;
    for (const auto& entry : std::filesystem::directory_iterator(OKU_LNG_SOURCE_DIR))
        if (entry.path().extension() == ".po")
            codes.push_back(entry.path().stem().string());
    ASSERT_GE(codes.size(), 17u);
    for (const std::string& code : codes) {
        ASSERT_TRUE(OKU::l10nLoadLanguage(std::string(OKU_LNG_DIR) + "/" + code + ".lng",
                                          OKU::L10n_Language::WESTERN))
            << code;
        for (const PoEntry& entry :
             readPoFile(std::string(OKU_LNG_SOURCE_DIR) + "/" + code + ".po")) {
            EXPECT_EQ(entry.text, OKU::l10nTranslate(entry.id)) << code << ":" << entry.line;
            for (const wchar_t c : OKU::Bidi::shape(entry.text))
                for (const bool bold : {false, true})
                    EXPECT_TRUE(c == L'\n' || charsets[bold].count(c))
                        << code << ":" << entry.line << " U+" << std::hex << unsigned(c)
                        << (bold ? " bold" : "");
        }
    }
    OKU::l10nLoadLanguage("", OKU::L10n_Language::WESTERN);
}
