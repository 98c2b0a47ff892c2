#include "text/L10n.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/TempDir.h"
#include "text/LString.h"

using namespace OKU;

namespace {

// Language files are written here in UTF-16 little-endian; the state goes back
// to the untranslated default after every test.
class L10nTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        unsetenv("OKU_L10N_WARNINGS");
        l10nLoadLanguage("", L10n_Language::WESTERN);
        l10nLoadToolkitLanguage("");
    }

    // Each string is written with its zero unit, apart from an unterminated
    // tail appended as it is.
    std::string languageFile(const std::string& name, const std::vector<std::wstring>& strings,
                             const std::string& tail = "")
    {
        std::string bytes;
        for (const std::wstring& s : strings) {
            for (const wchar_t c : s + L'\0') {
                bytes += static_cast<char>(c & 0xff);
                bytes += static_cast<char>((c >> 8) & 0xff);
            }
        }
        m_dir.write(name, bytes + tail);
        return m_dir / name;
    }

    std::string emptyFile() { return languageFile("empty", {}); }

    TempDir m_dir;
};

} // namespace

TEST_F(L10nTest, LoadedTableTranslatesAndContextTagsAreCut)
{
    const std::wstring surrogates = {0xd83d, 0xde00};
    ASSERT_TRUE(l10nLoadLanguage(languageFile("de", {L"OK", L"Ja", L"Open|menu", L"\u00d6ffnen",
                                                     L"OK", L"Gut", surrogates, L"\u05d0"}),
                                 Language::GERMAN));
    const std::tuple<std::wstring, std::wstring> cases[] = {
        {L"OK", L"Gut"}, // the later pair wins
        {L"Open|menu", L"\u00d6ffnen"},
        {L"Open|dialog", L"Open"},
        {L"Open", L"Open"},
        {L"a|b|c", L"a"},
        {L"Close", L"Close"},
        {L"", L""},
        {surrogates, L"\u05d0"}, // units are characters, never paired
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(expected, l10nTranslate(text));
    EXPECT_EQ(L',', l10nDecimalSeparator());

    LString line(LString1(L"%1: %2 (%3)"));
    line.arg(LString1(L"Open|menu")).arg(LString(LString1(L"OK"))).arg(L"OK");
    EXPECT_EQ(L"\u00d6ffnen: Gut (OK)", line.str());
    EXPECT_EQ(L"Open|menu: OK (OK)", line.orig());
}

TEST_F(L10nTest, MissingOrTruncatedFilesLeaveThePreviousLanguage)
{
    ASSERT_TRUE(l10nLoadLanguage(languageFile("good", {L"a", L"b"}), L10n_Language::ARABIC_INDIC));

    // Translations cut off inside a unit and before their terminator, a
    // missing file and one that cannot be read.
    for (const std::string& file :
         {languageFile("cut", {L"x", L"y", L"z"}, "w"), languageFile("cut2", {L"x", L"y", L"z"}),
          m_dir / "missing", m_dir.path()})
        EXPECT_FALSE(l10nLoadLanguage(file, L10n_Language::DECIMAL_COMMA)) << file;
    EXPECT_EQ(L"b", l10nTranslate(L"a"));
    EXPECT_EQ(L"z", l10nTranslate(L"z"));
    EXPECT_EQ(L'\u0660', l10nZero());

    // Only the unterminated source text at the end is lost.
    const std::string tail = std::string("c\0d", 3); // "c", then half a unit
    ASSERT_TRUE(l10nLoadLanguage(languageFile("tail", {L"x", L"y"}, tail), L10n_Language::THAI));
    EXPECT_EQ(L"y", l10nTranslate(L"x"));
    EXPECT_EQ(L"a", l10nTranslate(L"a"));
    EXPECT_EQ(L"c", l10nTranslate(L"c"));
    ASSERT_TRUE(l10nLoadLanguage(languageFile("odd", {L"x", L"z"}, "q"), L10n_Language::THAI));
    EXPECT_EQ(L"z", l10nTranslate(L"x"));

    ASSERT_TRUE(l10nLoadLanguage("", L10n_Language::ARABIC_INDIC));
    EXPECT_EQ(L"x", l10nTranslate(L"x"));
    EXPECT_EQ(L'0', l10nZero());
}

TEST_F(L10nTest, SignalFollowsEverySuccessfulLoad)
{
    std::vector<std::wstring> seen;
    sigc::connection connection = l10nLanguageSignal.connect(
        [&seen] { seen.push_back(l10nTranslate(L"a") + (l10nIsLTR() ? L" ltr" : L" rtl")); });
    ASSERT_TRUE(l10nLoadLanguage(languageFile("he", {L"a", L"\u05d0"}), Language::HEBREW));
    ASSERT_FALSE(l10nLoadLanguage(m_dir / "missing", L10n_Language::WESTERN));
    ASSERT_TRUE(l10nLoadLanguage("", Language::HEBREW));
    connection.disconnect();
    EXPECT_EQ(std::vector<std::wstring>({L"\u05d0 rtl", L"a ltr"}), seen);
}

TEST_F(L10nTest, WarningsFollowTheEnvironmentAtTheLastLoad)
{
    const std::string file = languageFile("en", {L"known", L"Known"});
    const auto warnings = [](const std::wstring& text) {
        ::testing::internal::CaptureStderr();
        l10nTranslate(text);
        return ::testing::internal::GetCapturedStderr();
    };

    ASSERT_TRUE(l10nLoadLanguage(file, L10n_Language::WESTERN));
    EXPECT_EQ("", warnings(L"missing"));

    setenv("OKU_L10N_WARNINGS", "", 1);
    EXPECT_EQ("", warnings(L"missing"));
    ASSERT_TRUE(l10nLoadLanguage(file, L10n_Language::WESTERN));
    EXPECT_EQ("OKU L10n: Cannot lookup 'Gr\xc3\xbc\xc3\x9f""e|tag'\n",
              warnings(L"Gr\u00fc\u00dfe|tag"));
    EXPECT_EQ("", warnings(L"known"));

    unsetenv("OKU_L10N_WARNINGS");
    EXPECT_FALSE(l10nLoadLanguage(m_dir / "missing", L10n_Language::WESTERN));
    EXPECT_EQ("OKU L10n: Cannot lookup 'x'\n", warnings(L"x"));
    ASSERT_TRUE(l10nLoadLanguage(file, L10n_Language::WESTERN));
    EXPECT_EQ("", warnings(L"x"));
}

TEST_F(L10nTest, LanguageDecidesDigitsSeparatorAndDirection)
{
    // Direction, zero (current and by language), separator, "12.5" localised
    // from text and from a number, and back.
    const std::pair<L10n_Language, std::wstring> cases[] = {
        {L10n_Language::WESTERN, L"ltr 00. 12.5 12.5 12.5"},
        {L10n_Language::DECIMAL_COMMA, L"ltr 00, 12,5 12,5 12.5"},
        {L10n_Language::WESTERN_RTL, L"rtl 00. 12.5 12.5 12.5"},
        {L10n_Language::ARABIC_INDIC,
         L"rtl \u0660\u0660\u066b \u0661\u0662\u066b\u0665 \u0661\u0662\u066b\u0665 12.5"},
        {L10n_Language::EXTENDED_ARABIC_INDIC,
         L"rtl \u06f0\u06f0\u066b \u06f1\u06f2\u066b\u06f5 \u06f1\u06f2\u066b\u06f5 12.5"},
        {L10n_Language::THAI, L"ltr \u0e50\u0e50. \u0e51\u0e52.\u0e55 \u0e51\u0e52.\u0e55 12.5"},
    };
    const std::string file = emptyFile();
    for (const auto& [language, expected] : cases) {
        ASSERT_TRUE(l10nLoadLanguage(file, language));
        const std::wstring number = l10nNumber(L"12.5");
        const std::wstring found = (l10nIsLTR() ? L"ltr " : L"rtl ") +
            std::wstring{l10nZero(), l10nZero(language), l10nDecimalSeparator()} + L" " + number +
            L" " + l10nNumber(12.5, 1) + L" " + l10nNumberToNormal(number);
        EXPECT_EQ(expected, found);
    }

    // The separator is the current language's, whatever the digits.
    ASSERT_TRUE(l10nLoadLanguage(file, L10n_Language::DECIMAL_COMMA));
    EXPECT_EQ(L"\u0e50\u0e51\u0e52\u0e53\u0e54\u0e55\u0e56\u0e57\u0e58\u0e59,\u0e55",
              l10nNumber(L10n_Language::THAI, L"0123456789.5"));
    EXPECT_EQ(L"\u0660\u0669,", l10nNumber(L10n_Language::ARABIC_INDIC, L"09."));
    EXPECT_EQ(L"\u06f0\u06f9,", l10nNumber(L10n_Language::EXTENDED_ARABIC_INDIC, L"09."));
    EXPECT_EQ(L"1.5 x", l10nNumber(L10n_Language::WESTERN_RTL, L"1.5 x"));

    // Characters next to the digit ranges are not digits.
    EXPECT_EQ(L"x12.34.5.\u066a\u06fa\u0e5a/:",
              l10nNumberToNormal(L"x\u0661\u0662,\u06f3\u06f4.\u0e55\u066b\u066a\u06fa\u0e5a/:"));
}

TEST_F(L10nTest, NumbersAreFormattedThenLocalised)
{
    EXPECT_EQ(L"00-5", l10nNumber(-5LL, 4, true));
    EXPECT_EQ(L"  ff", l10nNumber(255LL, 4, false, std::ios_base::hex));
    EXPECT_EQ(L"3.14", l10nNumber(3.14159, 2));
    EXPECT_EQ(L"1.23457e+06", l10nFloat(1234567.0));
    EXPECT_EQ(L"0.5", l10nFloat(0.5));
    EXPECT_EQ(L"\u0664\u0662", l10nNumber(L10n_Language::ARABIC_INDIC, 42LL, 0, false));
    EXPECT_EQ(L"\u0e50\u0e50\u0e57", l10nNumber(L10n_Language::THAI, 7LL, 3, true));

    ASSERT_TRUE(l10nLoadLanguage(emptyFile(), Language::ARABIC));
    EXPECT_EQ(L"  \u0664\u0662", l10nNumber(42LL, 4, false));
    EXPECT_EQ(L"\u0661\u066b\u0662\u0663\u0664\u0665\u0667e+\u0660\u0666", l10nFloat(1234567.0));

    LString s(L"%1 / %2");
    s.arg(LString::Number(3.5, 1)).arg(L"3.5");
    EXPECT_EQ(L"\u0663\u066b\u0665 / 3.5", s.str());
    EXPECT_EQ(L"3.5 / 3.5", s.orig());
}

TEST_F(L10nTest, LanguagesMapToTheirBehaviour)
{
    const int classes[] = {0, 3, 1, 0, 1, 1, 1, 1, 1, 1, 1, 2, 1,
                           1, 0, 1, 4, 1, 1, 1, 1, 1, 1, 1, 1, 0};
    for (int value = 0; value < 26; ++value) {
        EXPECT_EQ(classes[value], static_cast<int>(toL10nLanguage(static_cast<Language>(value))))
            << value;
    }
    for (const int value : {-1, 26, 1000})
        EXPECT_EQ(L10n_Language::WESTERN, toL10nLanguage(static_cast<Language>(value))) << value;
}

// A text is the program's table's, else the toolkit's, else as written; a
// miss is one that neither table knows.
TEST_F(L10nTest, ProgramTableComesBeforeTheToolkits)
{
    ASSERT_TRUE(l10nLoadToolkitLanguage(languageFile("oku-de", {L"Cancel", L"Abbrechen", L"Start",
                                                                L"Start (toolkit)", L"Open|menu",
                                                                L"\u00d6ffnen"})));
    ASSERT_TRUE(l10nLoadLanguage(languageFile("de", {L"Start", L"Starten", L"Title", L"Titel"}),
                                 Language::GERMAN));
    const std::tuple<std::wstring, std::wstring> cases[] = {
        {L"Start", L"Starten"},         {L"Title", L"Titel"},
        {L"Cancel", L"Abbrechen"},      {L"Open|menu", L"\u00d6ffnen"},
        {L"Open|dialog", L"Open"},      {L"", L""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(expected, l10nTranslate(text));
    EXPECT_EQ(L"Titel: Abbrechen",
              LString(LString1(L"%1: %2")).arg(LString1(L"Title")).arg(LString1(L"Cancel")).str());

    setenv("OKU_L10N_WARNINGS", "1", 1);
    ASSERT_TRUE(l10nLoadToolkitLanguage(languageFile("oku-de2", {L"Cancel", L"Abbruch"})));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(L"Abbruch", l10nTranslate(L"Cancel"));
    EXPECT_EQ(L"Titel", l10nTranslate(L"Title"));
    EXPECT_EQ(L"Gone", l10nTranslate(L"Gone"));
    EXPECT_EQ("OKU L10n: Cannot lookup 'Gone'\n", ::testing::internal::GetCapturedStderr());
}

// Loading, emptying or failing to load one table leaves the other as it was;
// the behaviour of the language is the program table's to set. Every
// successful load signals once.
TEST_F(L10nTest, EachTableIsReplacedWithoutTheOther)
{
    int signals = 0;
    sigc::connection connection = l10nLanguageSignal.connect([&signals] { ++signals; });
    const std::wstring cancelAr = L"\u0625\u0644\u063a\u0627\u0621";
    const std::wstring titleAr = L"\u0639\u0646\u0648\u0627\u0646";
    const std::string toolkitDe = languageFile("oku-de", {L"Cancel", L"Abbrechen"});
    const std::string toolkitAr = languageFile("oku-ar", {L"Cancel", cancelAr});
    const std::string programDe = languageFile("de", {L"Title", L"Titel"});
    const std::string programAr = languageFile("ar", {L"Title", titleAr});
    const auto shown = [] { return l10nTranslate(L"Title") + L" " + l10nTranslate(L"Cancel"); };

    ASSERT_TRUE(l10nLoadLanguage(programDe, Language::GERMAN));
    ASSERT_TRUE(l10nLoadToolkitLanguage(toolkitDe));
    EXPECT_EQ(L"Titel Abbrechen", shown());
    ASSERT_TRUE(l10nLoadLanguage(programAr, Language::ARABIC));
    EXPECT_EQ(titleAr + L" Abbrechen", shown());
    ASSERT_TRUE(l10nLoadToolkitLanguage(toolkitAr));
    EXPECT_EQ(titleAr + L" " + cancelAr, shown());
    EXPECT_FALSE(l10nIsLTR());
    EXPECT_EQ(4, signals);

    // A missing or truncated table of either kind changes nothing and
    // signals nothing.
    EXPECT_FALSE(l10nLoadToolkitLanguage(m_dir / "missing"));
    EXPECT_FALSE(l10nLoadToolkitLanguage(languageFile("cut", {L"Cancel", L"y", L"z"}, "w")));
    EXPECT_FALSE(l10nLoadLanguage(m_dir / "missing", Language::GERMAN));
    EXPECT_EQ(titleAr + L" " + cancelAr, shown());
    EXPECT_EQ(L'\u0660', l10nZero());
    EXPECT_EQ(4, signals);

    // An empty path empties one table; only the program's resets the digits
    // and the direction.
    ASSERT_TRUE(l10nLoadToolkitLanguage(""));
    EXPECT_EQ(titleAr + L" Cancel", shown());
    EXPECT_EQ(L'\u0660', l10nZero());
    ASSERT_TRUE(l10nLoadToolkitLanguage(toolkitDe));
    ASSERT_TRUE(l10nLoadLanguage("", Language::ARABIC));
    EXPECT_EQ(L"Title Abbrechen", shown());
    EXPECT_TRUE(l10nIsLTR());
    EXPECT_EQ(7, signals);
    connection.disconnect();
}

// Without a toolkit table for the language (none shipped, or none found),
// the toolkit's words stay as written while the program's are translated.
TEST_F(L10nTest, MissingToolkitTableLeavesOnlyItsWordsUntranslated)
{
    const std::wstring titleBg = L"\u0417\u0430\u0433\u043b\u0430\u0432\u0438\u0435";
    ASSERT_TRUE(l10nLoadLanguage(languageFile("bg", {L"Title", titleBg}),
                                 L10n_Language::DECIMAL_COMMA));
    EXPECT_FALSE(l10nLoadToolkitLanguage(m_dir / l10nToolkitTableName("bg")));
    EXPECT_EQ(titleBg, l10nTranslate(L"Title"));
    EXPECT_EQ(L"Cancel", l10nTranslate(L"Cancel"));
    EXPECT_EQ(L',', l10nDecimalSeparator());

    // The toolkit's tables lie in a folder of their own beside the program's.
    EXPECT_EQ("oku/de.lng", l10nToolkitTableName("de"));
}
