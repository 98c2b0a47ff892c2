#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <vector>

#include "core/XMLChars.h"
#include "core/XMLElementWriter.h"
#include "core/XMLError.h"
#include "core/XMLParser.h"
#include "core/XMLRootWriter.h"

using namespace OKU;

namespace {

struct Output {
    std::string type;
    bool flush;
    long long maxBytes;
    std::vector<std::pair<std::string, std::string>> categories;
};

struct Settings {
    int version;
    std::string device;
    std::vector<Output> outputs;
    std::string title;
    std::string icon;
};

// Reads the small configuration format of the documents under
// tests/data/core/xml/broken the way an application would.
Settings readSettings(std::istream& in)
{
    XMLParser parser(in);
    parser.setExceptionPI("abort");
    Settings settings;
    XMLAttributes attributes;
    parser.parseStartElement("settings", attributes);
    settings.version = attributes.getInt("version");
    parser.parseEmptyElement("device", attributes);
    settings.device = attributes.getString("name");
    settings.title = parser.parseStringElement("title");
    parser.parseStartElement("icon", attributes);
    settings.icon = parser.parseBinary();
    parser.parseEndElement("icon");
    while (parser.parseStartElementOrNone("output", attributes)) {
        Output output{attributes.getString("type", "file"), attributes.getBool("flush", false),
                      attributes.getLongLong("maxBytes", 0), {}};
        XMLAttributes category;
        while (parser.parseStartElementOrNone("category", category)) {
            output.categories.emplace_back(category.getString("name"), category.getString("limit"));
            parser.parseWhitespace();
            parser.parseEndElement("category");
        }
        parser.parseEndElement("output");
        settings.outputs.push_back(output);
    }
    parser.parseEndElement("settings");
    return settings;
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

// Like a pipe: one byte per read and nothing reported as available, so the
// reader gets the input one byte at a time.
class TrickleBuffer : public std::streambuf {
public:
    explicit TrickleBuffer(const std::string& data) : m_data(data) {}
    size_t consumed() const { return m_position; }

protected:
    int_type underflow() override
    {
        if (m_position >= m_data.size())
            return traits_type::eof();
        m_char = m_data[m_position++];
        setg(&m_char, &m_char, &m_char + 1);
        return traits_type::to_int_type(m_char);
    }

private:
    std::string m_data;
    size_t m_position = 0;
    char m_char = 0;
};

} // namespace

TEST(XMLParser, ReadsNestedDocument)
{
    std::istringstream in(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE settings>
<settings version="3">
  <device name="panel"></device>
  <title>Lifeboat &amp; &#x20AC;</title>
  <icon>
    AAH/
    YQ==
  </icon>
  <!-- outputs -->
  <output type="file" flush="Yes" maxBytes="5000000000">
    <category name="OKU::RootWidget" limit="debug"/>
    <category name="OKU::Widget" limit="info">  </category>
  </output>
  <output type="stderr"/>
</settings>
)");
    const Settings settings = readSettings(in);
    EXPECT_EQ(3, settings.version);
    EXPECT_EQ("panel", settings.device);
    ASSERT_EQ(2u, settings.outputs.size());
    EXPECT_EQ("file", settings.outputs[0].type);
    EXPECT_TRUE(settings.outputs[0].flush);
    EXPECT_EQ(5000000000LL, settings.outputs[0].maxBytes);
    const std::vector<std::pair<std::string, std::string>> categories{{"OKU::RootWidget", "debug"},
                                                                      {"OKU::Widget", "info"}};
    EXPECT_EQ(categories, settings.outputs[0].categories);
    EXPECT_EQ("stderr", settings.outputs[1].type);
    EXPECT_FALSE(settings.outputs[1].flush);
    EXPECT_TRUE(settings.outputs[1].categories.empty());
    EXPECT_EQ("Lifeboat & \xE2\x82\xAC", settings.title);
    EXPECT_EQ(std::string("\0\x01\xFF" "a", 4), settings.icon);
}

TEST(XMLParser, BrokenDocumentsReportTheirFault)
{
    // Each document states the expected message in its first line.
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(OKU_TEST_DATA_DIR "/core/xml/broken")) {
        std::ifstream in(entry.path());
        std::string firstLine;
        std::getline(in, firstLine);
        ASSERT_EQ(0u, firstLine.find("<!-- ")) << entry.path();
        const std::string expected = firstLine.substr(5, firstLine.size() - 9);
        in.seekg(0);
        EXPECT_EQ(expected, errorOf([&in] { readSettings(in); })) << entry.path();
        ++checked;
    }
    EXPECT_EQ(22, checked);
}

TEST(XMLParser, StartElementOrNoneStopsAtTheEndOfTheEnclosingElement)
{
    std::istringstream in("<traceconfig>\n <output type='stderr'/>\n</traceconfig>\n");
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("traceconfig", attributes);
    ASSERT_TRUE(parser.parseStartElementOrNone("output", attributes));
    EXPECT_EQ("output", attributes.getElement());
    EXPECT_EQ("stderr", attributes.getString("type"));
    EXPECT_EQ("output", parser.currentElement());
    EXPECT_FALSE(parser.parseStartElementOrNone("category", attributes));
    EXPECT_FALSE(parser.parseStartElementOrNone(attributes));
    parser.parseEndElement("output");
    EXPECT_FALSE(parser.parseStartElementOrNone("output", attributes));
    parser.parseEndElement("traceconfig");
    EXPECT_EQ("", parser.currentElement());
    EXPECT_FALSE(parser.parseStartElementOrNone(attributes));
    EXPECT_EQ("Expected <output>, found no element",
              errorOf([&] { parser.parseStartElement("output", attributes); }));
    EXPECT_EQ("Expected an element, found no element", errorOf([&] { parser.parseStartElement(attributes); }));
}

TEST(XMLParser, TextIsJoinedAndContentSkipped)
{
    std::istringstream in("<a>one &amp; <![CDATA[<two>]]><!-- c --><?pi x?>three<b x='1'><c/>text</b>tail</a>");
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("a", attributes);
    EXPECT_EQ("one & <two>three", parser.parseString());
    EXPECT_EQ("", parser.parseString());
    parser.parseContent();
    parser.parseContent();
    parser.parseEndElement("a");
}

TEST(XMLParser, EntitiesExpandInPlace)
{
    std::istringstream in("<!DOCTYPE d [\n"
                          "<!ENTITY e '<x a=\"1\">one</x>two'>\n"
                          "<!ENTITY c '<![CDATA[&raw;]]>'>\n"
                          "<!ENTITY % p '<!ENTITY q \"pe\">'> %p;\n"
                          "]>\n"
                          "<d>&e;&c;&q;<y/></d>");
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("d", attributes);
    parser.parseStartElement("x", attributes);
    EXPECT_EQ("1", attributes.getString("a"));
    EXPECT_EQ("one", parser.parseString());
    parser.parseEndElement("x");
    EXPECT_EQ("two&raw;pe", parser.parseString());
    parser.parseEmptyElement("y", attributes);
    parser.parseEndElement("d");

    std::istringstream unbalanced("<!DOCTYPE d [<!ENTITY e '<x>'>]>\n<d>&e;</x></d>");
    XMLParser unbalancedParser(unbalanced);
    EXPECT_EQ("asynchronous entity at line 2", errorOf([&] {
                  unbalancedParser.parseStartElement("d", attributes);
                  unbalancedParser.parseContent();
              }));
}

TEST(XMLParser, EndElementMustCloseTheCurrentElement)
{
    std::istringstream in("<a><b></b></a>");
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("a", attributes);
    parser.parseStartElement("b", attributes);
    EXPECT_EQ("Expected end element </a>, got </b>", errorOf([&] { parser.parseEndElement("a"); }));
}

TEST(XMLParser, ReadsOnlyAsFarAsNeeded)
{
    // A document whose end has not arrived yet is read up to where it stops.
    std::istringstream open("<root><item/>");
    XMLParser parser(open);
    XMLAttributes attributes;
    parser.parseStartElement("root", attributes);
    parser.parseEmptyElement("item", attributes);
    EXPECT_EQ("Unexpected end of file", errorOf([&] { parser.parseEndElement("root"); }));

    const std::string document = "<root><first/><big>" + std::string(20000, 'x') + "</big></root>";
    TrickleBuffer trickle(document);
    std::istream in(&trickle);
    XMLParser trickleParser(in);
    trickleParser.parseStartElement("root", attributes);
    trickleParser.parseEmptyElement("first", attributes);
    EXPECT_LT(trickle.consumed(), 40u);
    EXPECT_EQ(std::string(20000, 'x'), trickleParser.parseStringElement("big"));
    trickleParser.parseEndElement("root");
    EXPECT_EQ(document.size(), trickle.consumed());

    std::istringstream empty("");
    XMLParser emptyParser(empty);
    EXPECT_EQ("Unexpected end of file", errorOf([&] { emptyParser.parseStartElement(attributes); }));
}

TEST(XMLParser, ExceptionInstructionOnlyWhenRequested)
{
    XMLAttributes attributes;
    std::istringstream ignored("<a><?abort stop?></a><?abort late?>");
    XMLParser ignoring(ignored);
    ignoring.parseEmptyElement("a", attributes);

    // After the document element the rest of the input is read at once.
    std::istringstream late("<a></a><?abort late?>");
    XMLParser lateParser(late);
    lateParser.setExceptionPI("abort");
    EXPECT_EQ("late", errorOf([&] { lateParser.parseEmptyElement("a", attributes); }));
}

TEST(XMLParser, PushStartElementHandsTheElementBack)
{
    std::istringstream in("<doc><item kind='x'/><other/></doc>");
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("doc", attributes);
    parser.parseStartElement(attributes);
    EXPECT_EQ("item", parser.currentElement());
    parser.pushStartElement(attributes.getElement(), attributes);
    EXPECT_EQ("doc", parser.currentElement());
    XMLAttributes item;
    parser.parseEmptyElement("item", item);
    EXPECT_EQ("x", item.getString("kind"));
    EXPECT_EQ("Expected <item>, found <other>", errorOf([&] { parser.parseStartElement("item", attributes); }));
}

TEST(XMLParser, ElementsThatWereNeverReadAreInternalErrors)
{
    // A pushed element that is not in the document leaves the stack out of
    // step with the events that follow.
    const std::string document = "<doc><item/></doc>";
    XMLAttributes attributes;
    for (int function = 0; function < 2; ++function) {
        std::istringstream in(document);
        XMLParser parser(in);
        parser.parseStartElement("doc", attributes);
        parser.pushStartElement("ghost", XMLAttributes("ghost"));
        parser.parseStartElement("ghost", attributes);
        parser.parseEmptyElement("item", attributes);
        if (function == 0)
            EXPECT_EQ("Internal error in XMLParser::parseEndElement",
                      errorOf([&] { parser.parseEndElement("ghost"); }));
        else
            EXPECT_EQ("Internal error in XMLParser::parseStartElement",
                      errorOf([&] { parser.parseStartElementOrNone("item", attributes); }));
    }
}

TEST(XMLParser, RoundTripThroughTheWriter)
{
    // Every byte value, and more than one input chunk of Base64 text.
    std::string bytes;
    for (int i = 0; i < 256 * 40; ++i)
        bytes += static_cast<char>(i);
    const std::wstring wide = L"\x20AC <&>\"' \x1F600 tab\tline\nreturn\r";
    const std::string narrow = "Gr\xC3\xBC\xC3\x9F" "e & <Tsch\xC3\xBCss>";
    for (bool indent : {true, false}) {
        std::ostringstream out;
        XMLRootWriter root(out, indent);
        {
            XMLElementWriter top(root, "data");
            top.writeAttr("wide", wide);
            top.writeAttr("narrow", narrow);
            {
                XMLElementWriter text(top, "text");
                text.writeText(wide);
            }
            {
                XMLElementWriter binary(top, "binary");
                binary.writeBinary(bytes);
            }
            XMLElementWriter{top, "empty"};
            XMLElementWriter dropped(top, "dropped");
            dropped.writeText(std::wstring(L"a\x0001\xFFFF" L"b"));
        }
        root.close();

        std::istringstream in(out.str());
        XMLParser parser(in);
        XMLAttributes attributes;
        parser.parseStartElement("data", attributes);
        // Attribute values are normalised: tab, line feed and carriage return
        // written literally come back as spaces.
        EXPECT_EQ("\xE2\x82\xAC <&>\"' \xF0\x9F\x98\x80 tab line return ", attributes.getString("wide"));
        EXPECT_EQ(narrow, attributes.getString("narrow"));
        // A carriage return in text is read back as a line feed.
        EXPECT_EQ("\xE2\x82\xAC <&>\"' \xF0\x9F\x98\x80 tab\tline\nreturn\n", parser.parseStringElement("text"));
        parser.parseStartElement("binary", attributes);
        std::ostringstream decoded;
        parser.parseBinary(decoded);
        EXPECT_EQ(bytes, decoded.str());
        parser.parseEndElement("binary");
        parser.parseEmptyElement("empty", attributes);
        EXPECT_EQ("ab", parser.parseStringElement("dropped"));
        parser.parseEndElement("data");
    }
}

TEST(XMLAttributes, TypedGettersAndDefaults)
{
    XMLAttributes attributes("output");
    attributes.set("flush", "on");
    attributes.set("count", "42");
    attributes.set("size", "-9000000000");
    attributes.set("ratio", "0.25");
    attributes.set("bad", "4x");
    attributes.set("count", "43");
    EXPECT_EQ("output", attributes.getElement());
    EXPECT_TRUE(attributes.getBool("flush"));
    EXPECT_EQ(43, attributes.getInt("count"));
    EXPECT_EQ(-9000000000LL, attributes.getLongLong("size"));
    EXPECT_DOUBLE_EQ(0.25, attributes.getDouble("ratio"));
    EXPECT_EQ(5u, attributes.getAll().size());

    EXPECT_FALSE(attributes.getBool("append", false));
    EXPECT_EQ(7, attributes.getInt("missing", 7));
    EXPECT_EQ(8, attributes.getLongLong("missing", 8));
    EXPECT_DOUBLE_EQ(1.5, attributes.getDouble("missing", 1.5));
    EXPECT_EQ("file", attributes.getString("type", "file"));
    EXPECT_EQ(43, attributes.getInt("count", 7));

    EXPECT_EQ("Wrong type of attribute bad in <output>", errorOf([&] { attributes.getInt("bad", 1); }));
    EXPECT_EQ("Wrong type of attribute bad in <output>", errorOf([&] { attributes.getBool("bad"); }));
    EXPECT_EQ("Wrong type of attribute size in <output>", errorOf([&] { attributes.getInt("size"); }));
    EXPECT_EQ("Wrong type of attribute bad in <output>", errorOf([&] { attributes.getDouble("bad"); }));
    EXPECT_EQ("Missing attribute \"type\" in element <output>", errorOf([&] { attributes.getString("type"); }));
    EXPECT_EQ("Missing attribute \"n\" in element <output>", errorOf([&] { attributes.getLongLong("n"); }));

    attributes.reset("category");
    EXPECT_FALSE(attributes.has("flush"));
    EXPECT_EQ("Missing attribute \"flush\" in element <category>", errorOf([&] { attributes.getBool("flush"); }));
}

TEST(XMLChars, ValidCharactersAndWhitespace)
{
    for (wchar_t c : {L'\t', L'\n', L'\r', L' ', wchar_t(0xD7FF), wchar_t(0xE000), wchar_t(0xFFFD),
                      wchar_t(0x10000), wchar_t(0x10FFFF)})
        EXPECT_TRUE(xmlValid(c)) << std::hex << c;
    for (wchar_t c : {wchar_t(0), wchar_t(0x1F), wchar_t(0xD800), wchar_t(0xDFFF), wchar_t(0xFFFE),
                      wchar_t(0xFFFF), wchar_t(0x110000), wchar_t(-1)})
        EXPECT_FALSE(xmlValid(c)) << std::hex << c;
    EXPECT_TRUE(xmlValid(std::wstring(L"a\x20AC\n")));
    EXPECT_FALSE(xmlValid(std::wstring(L"a\x0001")));
    EXPECT_TRUE(xmlValid(std::string("a\xE2\x82\xAC\n")));
    EXPECT_FALSE(xmlValid(std::string("a\x01")));
    EXPECT_FALSE(xmlValid(std::string("a\x80")));          // stray continuation byte
    EXPECT_FALSE(xmlValid(std::string("\xC0\xA0")));        // overlong space
    EXPECT_FALSE(xmlValid(std::string("\xF4\x90\x80\x80"))); // above U+10FFFF

    EXPECT_TRUE(xmlWhitespace(std::string()));
    EXPECT_TRUE(xmlWhitespace(std::string(" \t\r\n")));
    EXPECT_FALSE(xmlWhitespace(std::string(" x ")));
    EXPECT_FALSE(xmlWhitespace(std::string("\v")));
    EXPECT_FALSE(xmlWhitespace(std::string("\xC2\xA0")));
}
