#include "text/LString.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/StringCompare.h"
#include "core/TempDir.h"
#include "gui/tree/Widget.h"

using namespace OKU;

namespace {

LString withArgs(const std::wstring& format, const std::vector<std::wstring>& args)
{
    LString s(format);
    for (const std::wstring& a : args)
        s.arg(a);
    return s;
}

} // namespace

TEST(LString, ExpandsOnlyMarkersThatNameAnArgument)
{
    const std::tuple<const wchar_t*, std::vector<std::wstring>, const wchar_t*> cases[] = {
        {L"%1%2", {L"x"}, L"x%2"},
        {L"%0 and %", {L"x"}, L"%0 and %"},
        {L"100%", {L"x"}, L"100%"},
        {L"%%1", {L"x"}, L"%x"},
        {L"%2 before %1, %1%1!", {L"a", L"b"}, L"b before a, aa!"},
        // All digits belong to the marker, however many there are.
        {L"%10", {L"a"}, L"%10"},
        {L"%01", {L"a"}, L"a"},
        {L"%18446744073709551617", {L"a"}, L"%18446744073709551617"},
        {L"%10|%9", {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}, L"10|9"},
        // An argument's own markers are not expanded again.
        {L"%1", {L"%1"}, L"%1"},
        {L"%1 of %2", {}, L"%1 of %2"},
    };
    for (const auto& [format, args, expected] : cases)
        EXPECT_EQ(expected, withArgs(format, args).str()) << format;
}

TEST(LString, ArgumentsReferringToArgumentsRenderInBoundedSizeAndTime)
{
    // Each level shows the one below four times: 4^40 characters unbounded.
    LString nested(L"x");
    for (int level = 0; level < 40; ++level)
        nested = LString(L"%1%1%1%1").arg(nested);
    EXPECT_EQ(std::wstring(65536, L'x'), nested.orig());
    EXPECT_EQ(65536u, nested.str().size());
}

TEST(LString, ArgumentsRenderByKind)
{
    // No language is loaded: translation only cuts "|" tags, digits stay.
    LString nested(LString1(L"Page %1|title"));
    nested.arg(LString::Number(7, 3, L'0'));
    LString s(L"%1 %2 %3 %4 %5 %6 %7 %8.");
    s.arg(L"Open|plain")
        .arg(L"Open|tag", LString::ARG_TRANSLATABLE)
        .arg(LString::Number(3.5, 1))
        .arg(nested)
        .arg(LString::Arg(static_cast<LString::ArgType>(7), L"odd"))
        .arg(LString::Arg())
        .arg(LString1(L"2.5"), LString::ARG_NUMBER)
        .arg(LString1(L"Yes|answer"));
    EXPECT_EQ(L"Open|plain Open 3.5 Page 007   2.5 Yes.", s.str());
    EXPECT_EQ(L"Open|plain Open|tag 3.5 Page 007|title odd  2.5 Yes|answer.", s.orig());

    const LString translatable(LString1(L"Save|button"));
    EXPECT_TRUE(translatable.isTranslatable());
    EXPECT_EQ(L"Save", translatable.str());
    EXPECT_EQ(L"Save|button", translatable.orig());
    EXPECT_EQ(L"Save|button", LString(std::string("Save|button")).str());
}

// A translatable text written as a UTF-8 literal is the text of its wide
// literal, so that both find the same table entry; bytes that are no UTF-8
// are read as LString's narrow constructors read them.
TEST(LString, Utf8LiteralsAreTheirWideLiterals)
{
    const std::pair<LString1, LString1> cases[] = {
        {LString1("Größe"), LString1(L"Größe")},
        {LString1("حجم الملف: %1"), LString1(L"حجم الملف: %1")},
        {LString1(std::string("日本語\n\"%2\"")), LString1(L"日本語\n\"%2\"")},
        {LString1(translatable("Tab\t€")), LString1(translatable(L"Tab\t€"))},
        {LString1(std::string("a\0b", 3)), LString1(std::wstring(L"a\0b", 3))},
        {LString1(""), LString1(L"")},
    };
    for (const auto& [narrow, wide] : cases) {
        EXPECT_EQ(wide.getText(), narrow.getText());
        EXPECT_EQ(LString(wide), LString(narrow));
        EXPECT_TRUE(LString(narrow).isTranslatable());
    }
    EXPECT_EQ(LString("\xff" "a\xc3").getText(), LString1("\xff" "a\xc3").getText());
    EXPECT_EQ(L"Größe: حجم|x", LString(LString1("Größe: %1")).arg(LString1("حجم|x")).orig());
    EXPECT_EQ(L"Größe: حجم", LString(LString1("Größe: %1")).arg(LString1("حجم|x")).str());
}

TEST(LString, EqualityEmptinessAndSharing)
{
    EXPECT_EQ(LString(L"ab"), LString(L"a%1").arg(L"b"));
    EXPECT_EQ(LString(L"x"), LString(LString1(L"x")));
    EXPECT_EQ(LString(L'\u00e9'), LString("\xc3\xa9"));
    EXPECT_NE(LString(L"a%1").arg(L"b"), LString(L"a%1").arg(L"c"));
    EXPECT_NE(LString(L"a%1"), LString(L"a%1").arg(L"b"));

    LString s(L"");
    s.arg(L"not looked at");
    EXPECT_TRUE(s.empty());
    LString t(LString1(L"%1"));
    t.arg(L"a");
    EXPECT_FALSE(t.empty());
    t.clear();
    EXPECT_TRUE(t.empty());
    EXPECT_FALSE(t.isTranslatable());
    EXPECT_TRUE(t.getArgs().empty());

    // Copies share their arguments instead of duplicating them.
    LString original(L"%1 %2");
    original.arg(L"text").arg(LString(L"nested"));
    const LString copy = original;
    EXPECT_EQ(original.getArgs()[0].getText().get(), copy.getArgs()[0].getText().get());
    EXPECT_EQ(original.getArgs()[1].getNested().get(), copy.getArgs()[1].getNested().get());
}

TEST(LString, NumbersAreFormattedInWesternDigits)
{
    const std::tuple<LString::Number, const wchar_t*> cases[] = {
        {LString::Number(42, 5, L' '), L"   42"},
        {LString::Number(-5, 4, L'0'), L"00-5"},
        {LString::Number(12345, 2, L'0'), L"12345"},
        {LString::Number(18446744073709551615ull, 0, L' '), L"18446744073709551615"},
        {LString::Number(-9223372036854775807ll - 1, 0, L' '), L"-9223372036854775808"},
        {LString::Number(static_cast<unsigned char>(200), 4, L'*'), L"*200"},
        {LString::Number(2.345f, 2), L"2.35"},
        {LString::Number(-0.5, 3), L"-0.500"},
        {LString::Number(1.5l, 0), L"2"},
        {LString::Number(std::string("\xd9\xa3")), L"\u0663"},
        {LString::Number(std::wstring(L"1e3")), L"1e3"},
    };
    for (const auto& [number, expected] : cases)
        EXPECT_EQ(expected, number.getText());
}

TEST(LString, PackWritesMarksEscapesAndEnclosuresThatUnpackReadsBack)
{
    LString copy(L"Copy %1 of %2");
    copy.arg(L"a|b").arg(LString::Number(3, 0, L' '));
    EXPECT_EQ("-Copy %1 of %2|-a$|b|#3", copy.pack('|'));
    EXPECT_EQ("-Copy %1 of %2,-a|b,#3", copy.pack(','));

    LString inner(LString1(L"<%1>"));
    inner.arg(L"$");
    LString outer(LString1(L"\u00e9 %1 %2 %3 %4"));
    outer.arg(inner).arg(LString(L"bare")).arg(LString::Arg()).arg(L"x", LString::ARG_TRANSLATABLE);
    EXPECT_EQ("+\xc3\xa9 %1 %2 %3 %4|<+$[%1$]|-$$>|-bare|-|+x", outer.pack('|'));

    // Every character the packed form escapes, next to each other and at the
    // ends, in texts and arguments nested twice, with every separator.
    const std::wstring escaped = L"$[a$<>]|,\t\u20ac$";
    LString deep(LString1(escaped + L"%1%2"));
    deep.arg(outer).arg(escaped, LString::ARG_NUMBER);
    for (const char separator : {'|', ',', '\t', '\0'}) {
        for (const LString& original : {copy, outer, deep}) {
            const std::string packed = original.pack(separator);
            LString read(L"stale");
            read.arg(L"stale");
            ASSERT_TRUE(read.unpack(packed, separator)) << packed;
            EXPECT_EQ(original, read) << packed;
            EXPECT_EQ(original.str(), read.str()) << packed;
            EXPECT_EQ(packed, read.pack(separator));
        }
    }
}

TEST(LString, UnpackRejectsMalformedInputAndKeepsWhatItRead)
{
    // kept: the result packed again
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"", true, "-"},
        {"-", true, "-"},
        {"+a", true, "+a"},
        {"<-a|-b>", true, "-a|-b"},
        {"-a>b<", true, "-a$]b$["},
        {"-$x$", true, "-"},
        {"-a|<+b|#1>|-c", true, "-a|<+b|#1>|-c"},
        {"-a|<-b|<-c|+d>>", true, "-a|<-b|<-c|+d>>"},
        {"-a|", false, "-a"},
        {"xa", false, "-"},
        {"<", false, "-"},
        {"<-a", false, "-a"},
        {"<-a|-b", false, "-a|-b"},
        {"<-a>x", false, "-a"},
        {"-a|x", false, "-a"},
        {"-a|-b|<-c|-d", false, "-a|-b"},
        {"-a|<xb>", false, "-a"},
        {"-a|<-b>c", false, "-a|-b"},
        {"-a|<", false, "-a"},
    };
    for (const auto& [input, ok, kept] : cases) {
        LString s(LString1(L"stale"));
        s.arg(L"stale");
        EXPECT_EQ(ok, s.unpack(input, '|')) << input;
        EXPECT_EQ(kept, s.pack('|')) << input;
    }

    LString s;
    ASSERT_TRUE(s.unpack("-a$|b", '|'));
    EXPECT_EQ(L"a|b", s.str());
    ASSERT_TRUE(s.unpack("-a$|b", ','));
    EXPECT_EQ(L"a,b", s.str());

    // Reading from an iterator stops behind the enclosed string, or at the
    // end of a plain one.
    const std::string input = "<-%1|+b>rest";
    std::string::const_iterator position = input.begin();
    ASSERT_TRUE(s.unpack(position, input.end(), '|'));
    EXPECT_EQ("rest", std::string(position, input.end()));
    EXPECT_EQ(L"b", s.str());
    const std::string plain = "-a|-b";
    position = plain.begin();
    ASSERT_TRUE(s.unpack(position, plain.end(), '|'));
    EXPECT_TRUE(position == plain.end());
}

TEST(LString, ComparisonsAndDirectionUseTheShownText)
{
    // "file%1" sorts before "file10" as written, but shows as "file20".
    LString file20(L"file%1");
    file20.arg(LString::Number(20, 0, L' '));
    EXPECT_EQ(1, smartStringCmp(file20, LString(L"FILE10")));
    EXPECT_EQ(1, noCaseStringCmp(file20, LString(L"FILE10")));
    EXPECT_EQ(0, noCaseStringCmp(file20, LString(L"FILE20")));
    EXPECT_EQ(-1, smartStringCmp(LString(LString1(L"b2|tag")), LString(L"b10")));

    // The format text alone has no strong character; the argument is Hebrew.
    LString hebrew(L"%1");
    hebrew.arg(L"\u05d0");
    EXPECT_FALSE(isLTR(Layout::AUTO, hebrew));
    EXPECT_TRUE(isLTR(Layout::LTR, hebrew));
    EXPECT_EQ(HAlign::RIGHT, layoutAlign(Layout::AUTO, HAlign::LEFT, hebrew));
    EXPECT_EQ(HAlign::LEFT, layoutAlign(Layout::AUTO, HAlign::LEFT, LString(L"a")));
}

TEST(LString, FileListsAsStrings)
{
    TempDir tmp;
    tmp.write("icon.png", "");
    tmp.write(u8"Gr\u00fc\u00dfe.png", "");
    tmp.write("notes.txt", "");

    std::vector<LString> names = {LString(L"stale")};
    ASSERT_TRUE(getFileList(names, tmp.path(), ".png"));
    std::sort(names.begin(), names.end(),
              [](const LString& a, const LString& b) { return a.str() < b.str(); });
    ASSERT_EQ(std::vector<LString>({LString(L"Gr\u00fc\u00dfe"), LString(L"icon")}), names);
    EXPECT_FALSE(names[0].isTranslatable());

    ASSERT_TRUE(getFileList(names, tmp.path()));
    EXPECT_EQ(3u, names.size());
    EXPECT_FALSE(getFileList(names, tmp / "missing"));
    EXPECT_TRUE(names.empty());
}
