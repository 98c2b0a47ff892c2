#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PoCatalog.h"
#include "SourceTexts.h"
#include "TableCheck.h"
#include "core/FileFinder.h"
#include "core/TempDir.h"
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

// UTF-8 literals are found as the wide ones are, in the same order, with
// the same escapes; "\x" is a byte of the UTF-8 text in a narrow literal and
// a character in a wide one (also when a wide literal is joined to it).
TEST(LngTool, FindsUtf8LiteralsAsWideOnes)
{
    EXPECT_EQ(std::vector<std::wstring>({L"Größe", L"حجم الملف: %1", L"Wide", L"u8 text",
                                         L"Two lines\nand \"quotes\" \\ 'q'?\r",
                                         L"\u00f6\u00f6\u00f6\u20ac", L"a\u00e9\u20ac",
                                         L"\U0001F600", L"Kept for later"}),
              textsOf("LString1(\"Größe\");\n"
                      "LString(LString1(\"حجم الملف: %1\")).arg(n);\n"
                      "LString1(L\"Wide\"); LString1(u8\"u8 text\");\n"
                      "LString1(\"Two lines\\n\"\n  \"and \\\"quotes\\\" \\\\ \\'q\\'\\?\\r\")\n"
                      "LString1(\"\\xc3\\xb6\\u00f6\\xC3\\xB6\\xe2\\x82\\xac\")\n"
                      "LString1(\"a\\xe9\" L\"\\x20ac\")\n"
                      "LString1(\"\\U0001F600\")\n"
                      "LString1(std::string(\"built\")); LString1(\"a\" + b); xLString1(\"x\");\n"
                      "// LString1(\"in a comment\")\n"
                      "const char* c = translatable(\"Kept for later\");\n"));
    for (const char* broken : {"LString1(\"open\n\")", "LString1(\"\\x1ff\")",
                               "LString1(\"\\q\")", "translatable(\"\\U00110000\")"})
        EXPECT_THROW(findTexts(broken, "f.cpp"), std::runtime_error) << broken;
}

// A program's own source folder, anywhere: the template holds its texts only,
// reads back as a language source, and a source translating those texts
// passes the check without the toolkit's words.
TEST(LngTool, TemplateAndCheckOfAProgramOutsideTheToolkit)
{
    TempDir program;
    std::filesystem::create_directories(program / "src/pages");
    program.write("src/pages/Settings.cpp",
                  "#include <oku/gui/windows/MessageWindow.h>\n"
                  "void show(OKU::Widget* top)\n{\n"
                  "    msgBoxYesNo(top, LString(LString1(\"Einstellungen|title\")),\n"
                  "                LString(LString1(L\"Save \\\"%1\\\"?\\n\")));\n}\n");
    program.write("src/Main.cpp", "auto t = OKU::LString1(\"حجم\");\n");
    const std::vector<SourceText> texts = collectTexts({program / "src"});
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ(program / "src/Main.cpp:1", texts[0].where);
    EXPECT_EQ(program / "src/pages/Settings.cpp:4", texts[1].where);

    writePoTemplate(program / "program.pot", texts);
    std::vector<PoEntry> entries = readPoFile(program / "program.pot");
    ASSERT_EQ(3u, entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(texts[i].text, entries[i].id);
        EXPECT_EQ(L"", entries[i].text);
    }
    EXPECT_EQ(L"Save \"%1\"?\n", entries[2].id);

    entries[0].text = L"Größe";
    entries[1].text = L"Settings";
    entries[2].text = L"\"%1\" speichern?\n";
    EXPECT_EQ(std::vector<std::string>(), checkCatalog(texts, entries, "de.po"));
    entries.push_back({L"Yes", L"Ja", 20});
    EXPECT_EQ(std::vector<std::string>({"de.po:20: no longer used: \"Yes\""}),
              checkCatalog(texts, entries, "de.po"));
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

// Every shipped table, the toolkit's and lifeboat's, loads and translates
// every text its source gives, for the same languages; and every
// translation can be drawn: the default font's fallback chain has a glyph
// for each character the shaped text needs, in regular and bold.
TEST(LngTool, ShippedTablesTranslateEveryTextOfTheirSourceWithoutMissingGlyphs)
{
    const OKU::FileFinder fonts(OKU_FONT_DIR);
    OKU::Cache cache(fonts);
    const std::set<wchar_t> charsets[] = {cache.getFont(16, false, false)->getCharset(),
                                          cache.getFont(16, true, false)->getCharset()};
    const std::string sources = OKU_LNG_SOURCE_DIR, tables = OKU_LNG_DIR;
    std::set<std::string> codes;
    for (const auto& entry : std::filesystem::directory_iterator(sources))
        if (entry.path().extension() == ".po")
            codes.insert(entry.path().stem().string());
    ASSERT_GE(codes.size(), 17u);
    std::set<std::string> toolkitCodes;
    for (const auto& entry : std::filesystem::directory_iterator(sources + "/oku"))
        toolkitCodes.insert(entry.path().stem().string());
    EXPECT_EQ(codes, toolkitCodes);

    for (const std::string& code : codes) {
        ASSERT_TRUE(OKU::l10nLoadToolkitLanguage(tables + "/" + OKU::l10nToolkitTableName(code)))
            << code;
        ASSERT_TRUE(OKU::l10nLoadLanguage(tables + "/" + code + ".lng",
                                          OKU::L10n_Language::WESTERN))
            << code;
        for (const std::string& source :
             {sources + "/" + code + ".po", sources + "/oku/" + code + ".po"}) {
            for (const PoEntry& entry : readPoFile(source)) {
                EXPECT_EQ(entry.text, OKU::l10nTranslate(entry.id)) << source << ":" << entry.line;
                for (const wchar_t c : OKU::Bidi::shape(entry.text))
                    for (const bool bold : {false, true})
                        EXPECT_TRUE(c == L'\n' || charsets[bold].count(c))
                            << source << ":" << entry.line << " U+" << std::hex << unsigned(c)
                            << (bold ? " bold" : "");
            }
        }
    }
    OKU::l10nLoadLanguage("", OKU::L10n_Language::WESTERN);
    OKU::l10nLoadToolkitLanguage("");
}
