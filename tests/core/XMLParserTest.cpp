#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <gtest/gtest.h>

#include "core/Base64.h"
#include "core/XMLError.h"
#include "core/XMLParser.h"
#include "core/detail/XMLChars.h"

#include "TrickleBuffer.h"

using namespace OKU;

namespace {

// Reads the configuration format of the broken documents the way an
// application would, and sums up what it read.
std::string readSettings(std::istream& in)
{
    XMLParser parser(in);
    parser.setExceptionPI("abort");
    XMLAttributes attributes;
    std::ostringstream out;
    parser.parseStartElement("settings", attributes);
    out << attributes.getInt("version");
    parser.parseEmptyElement("device", attributes);
    out << " " << attributes.getString("name") << " " << parser.parseStringElement("title");
    parser.parseStartElement("icon", attributes);
    out << " " << base64Encode(parser.parseBinary());
    parser.parseEndElement("icon");
    while (parser.parseStartElementOrNone("output", attributes)) {
        out << " " << attributes.getString("type", "file") << ","
            << attributes.getBool("flush", false) << "," << attributes.getLongLong("maxBytes", 0);
        XMLAttributes category;
        while (parser.parseStartElementOrNone("category", category)) {
            out << "," << category.getString("name") << "=" << category.getString("limit");
            parser.parseWhitespace();
            parser.parseEndElement("category");
        }
        parser.parseEndElement("output");
    }
    parser.parseEndElement("settings");
    return out.str();
}

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const XMLError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(XMLParser, ReadsNestedDocumentAndReportsTheFaultsOfBrokenOnes)
{
    std::ifstream in(OKU_TEST_DATA_DIR "/core/xml/settings.xml");
    EXPECT_EQ("3 panel Lifeboat & \xE2\x82\xAC AAH/YQ== "
              "file,1,5000000000,OKU::RootWidget=debug,OKU::Widget=info "
              "stderr,0,0",
              readSettings(in));
    // Each broken document states the expected message in its first line.
    int checked = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(OKU_TEST_DATA_DIR "/core/xml/broken")) {
        std::ifstream in(entry.path());
        std::string firstLine;
        std::getline(in, firstLine);
        ASSERT_EQ(0u, firstLine.find("<!-- ")) << entry.path();
        in.seekg(0);
        EXPECT_EQ(firstLine.substr(5, firstLine.size() - 9), errorOf([&in] { readSettings(in); }))
            << entry.path();
        ++checked;
    }
    EXPECT_EQ(24, checked);
}

// A document arriving a byte at a time and cut off anywhere inside its
// document element is reported as such.
TEST(XMLParser, CutOffDocuments)
{
    std::ifstream file(OKU_TEST_DATA_DIR "/core/xml/settings.xml");
    const std::string document((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    const size_t end = document.rfind("</settings>");
    ASSERT_NE(std::string::npos, end);
    for (size_t length = 1; length < end + 11; ++length) {
        TrickleBuffer cutOff(document.substr(0, length));
        std::istream in(&cutOff);
        EXPECT_EQ("Unexpected end of file", errorOf([&in] { readSettings(in); })) << length;
    }
}

TEST(XMLParser, ElementsAreReadInOrderAndPushedBack)
{
    std::istringstream in("<doc>\n <item kind='x'/>\n</doc>\n");
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("doc", attributes);
    parser.parseStartElement(attributes);
    EXPECT_EQ("item", parser.currentElement());
    parser.pushStartElement(attributes.getElement(), attributes);
    EXPECT_EQ("doc", parser.currentElement());
    ASSERT_TRUE(parser.parseStartElementOrNone("item", attributes));
    EXPECT_EQ("x", attributes.getString("kind"));
    EXPECT_FALSE(parser.parseStartElementOrNone("category", attributes));
    parser.parseEndElement("item");
    parser.parseEndElement("doc");
    EXPECT_EQ("", parser.currentElement());
    EXPECT_FALSE(parser.parseStartElementOrNone(attributes));
    EXPECT_EQ("Expected an element, found no element",
              errorOf([&] { parser.parseStartElement(attributes); }));
    // A pushed element that is not in the document leaves the stack out of
    // step with the events that follow.
    std::istringstream ghost("<doc><item/></doc>");
    XMLParser ghostParser(ghost);
    ghostParser.parseStartElement("doc", attributes);
    ghostParser.pushStartElement("ghost", XMLAttributes("ghost"));
    ghostParser.parseStartElement("ghost", attributes);
    ghostParser.parseEmptyElement("item", attributes);
    EXPECT_EQ("Internal error in XMLParser::parseEndElement",
              errorOf([&] { ghostParser.parseEndElement("ghost"); }));
}

TEST(XMLParser, TextIsJoinedContentSkippedAndInputReadOnlyAsFarAsNeeded)
{
    std::istringstream in(
        "<a>one &amp; <![CDATA[<two>]]><!-- c --><?pi x?>three<b x='1'><c/>text</b>tail<y/></a>");
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("a", attributes);
    EXPECT_EQ("one & <two>three", parser.parseString());
    EXPECT_EQ("", parser.parseString());
    parser.parseStartElement("b", attributes);
    parser.parseContent();
    parser.parseEndElement("b");
    EXPECT_EQ("tail", parser.parseString());
    parser.parseContent();
    parser.parseEndElement("a");

    const std::string document = "<root><first/><big>" + std::string(20000, 'x') + "</big></root>";
    TrickleBuffer trickle(document);
    std::istream trickling(&trickle);
    XMLParser trickleParser(trickling);
    trickleParser.parseStartElement("root", attributes);
    trickleParser.parseEmptyElement("first", attributes);
    EXPECT_LT(trickle.consumed(), 40u);
    EXPECT_EQ(std::string(20000, 'x'), trickleParser.parseStringElement("big"));
    trickleParser.parseEndElement("root");
    EXPECT_EQ(document.size(), trickle.consumed());
}

TEST(XMLAttributes, TypedGettersAndDefaults)
{
    XMLAttributes attributes("output");
    for (const auto& [name, value] : {std::pair<const char*, const char*>{"flush", "on"},
                                      {"count", "42"},
                                      {"size", "-9000000000"},
                                      {"ratio", "0.25"},
                                      {"bad", "4x"},
                                      {"count", "43"}})
        attributes.set(name, value);
    std::ostringstream values;
    values << attributes.getBool("flush") << attributes.getBool("append", false) << " "
           << attributes.getInt("count", 7) << " " << attributes.getLongLong("size") << " "
           << attributes.getDouble("ratio") << " " << attributes.getInt("missing", 7) << " "
           << attributes.getString("type", "file");
    EXPECT_EQ("10 43 -9000000000 0.25 7 file", values.str());
    // Wrong integers and overflows are refused by the documents' and the
    // conversions' tests.
    EXPECT_EQ("Wrong type of attribute bad in <output>",
              errorOf([&] { attributes.getDouble("bad"); }));
    attributes.reset("category");
    EXPECT_FALSE(attributes.has("flush"));
    EXPECT_EQ("Missing attribute \"flush\" in element <category>",
              errorOf([&] { attributes.getBool("flush"); }));
}

TEST(XMLChars, ValidCharactersAndWhitespace)
{
    for (int c : {0x09, 0x0A, 0x0D, 0x20, 0xD7FF, 0xE000, 0xFFFD, 0x10000, 0x10FFFF})
        EXPECT_TRUE(xmlValid(static_cast<wchar_t>(c))) << c;
    for (int c : {0, 0x1F, 0xD800, 0xDFFF, 0xFFFE, 0xFFFF, 0x110000, -1})
        EXPECT_FALSE(xmlValid(static_cast<wchar_t>(c))) << c;
    EXPECT_TRUE(xmlValid(std::wstring(L"a\x20AC\n")) && xmlValid(std::string("a\xE2\x82\xAC\n")));
    // A control character, a stray continuation byte, an overlong space, a
    // code point above U+10FFFF.
    for (const char* bad : {"a\x01", "a\x80", "\xC0\xA0", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(xmlValid(std::string(bad))) << bad;
    EXPECT_TRUE(xmlWhitespace(std::string(" \t\r\n")));
    EXPECT_FALSE(xmlWhitespace(std::string("\v")) || xmlWhitespace(std::string("\xC2\xA0")));
}
