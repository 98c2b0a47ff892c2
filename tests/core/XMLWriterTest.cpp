#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "core/FatalError.h"
#include "core/XMLElementWriter.h"
#include "core/XMLRootWriter.h"

using namespace OKU;

namespace {

// Writes a small document without indentation and returns it.
template <class Fill> std::string unindented(Fill fill)
{
    std::ostringstream out;
    XMLRootWriter root(out, false);
    fill(root);
    root.close();
    return out.str();
}

const std::string c_declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

} // namespace

TEST(XMLWriter, EmptyElementsAndAttributes)
{
    EXPECT_EQ(c_declaration + "<name/>", unindented([](XMLRootWriter& root) { XMLElementWriter e(root, "name"); }));
    EXPECT_EQ(c_declaration + "<name a=\"1\"/>", unindented([](XMLRootWriter& root) {
                  XMLElementWriter e(root, "name");
                  e.writeAttr("a", "1");
              }));
    EXPECT_EQ(c_declaration + "<n a=\"x\" b=\"&quot;&apos;&lt;\">text</n>", unindented([](XMLRootWriter& root) {
                  XMLElementWriter e(root, "n");
                  e.writeAttr("a", std::wstring(L"x"));
                  e.writeAttr("b", "\"'<");
                  e.writeText("text");
              }));
}

TEST(XMLWriter, IndentsNestedElements)
{
    std::ostringstream out;
    XMLRootWriter root(out, true);
    {
        XMLElementWriter top(root, "root");
        XMLElementWriter{top, "a"};
        {
            XMLElementWriter b(top, "b");
            XMLElementWriter c(b, "c");
            c.writeText("x");
        }
    }
    root.close();
    EXPECT_EQ(c_declaration + "\n<root>\n  <a/>\n  <b>\n    <c>x</c>\n  </b>\n</root>\n", out.str());
}

TEST(XMLWriter, EscapesTextAndDropsInvalidCharacters)
{
    EXPECT_EQ(c_declaration + "<t>&lt;&amp;&gt;ab\t\n\r\xE2\x82\xAC\xF0\x9F\x98\x80</t>",
              unindented([](XMLRootWriter& root) {
                  XMLElementWriter t(root, "t");
                  t.writeText(std::wstring(L"<&>a\x0001" L"b\t\n\r\x20AC\x1F600\xFFFE\xD800\x110000"));
              }));
    // The narrow form decodes UTF-8 first: the stray byte and the control
    // character vanish, the euro sign survives.
    EXPECT_EQ(c_declaration + "<t>a\xE2\x82\xAC&quot;b</t>", unindented([](XMLRootWriter& root) {
                  XMLElementWriter t(root, "t");
                  t.writeText(std::string("a\x80\xE2\x82\xAC\"\x1F" "b"));
              }));
}

TEST(XMLWriter, TextSwitchesIndentationOffForTheElement)
{
    std::ostringstream out;
    XMLRootWriter root(out, true);
    {
        XMLElementWriter top(root, "root");
        XMLElementWriter p(top, "p");
        p.writeText("Hello ");
        {
            XMLElementWriter b(p, "b");
            XMLElementWriter i(b, "i");
            i.writeText("big");
        }
        p.writeText(" world");
    }
    root.close();
    EXPECT_EQ(c_declaration + "\n<root>\n  <p>Hello <b><i>big</i></b> world</p>\n</root>\n", out.str());
}

TEST(XMLWriter, IndentationCanBeSwitchedOff)
{
    std::ostringstream out;
    XMLRootWriter root(out, true);
    {
        XMLElementWriter top(root, "root");
        {
            XMLElementWriter flat(top, "flat", true);
            XMLElementWriter{flat, "x"};
        }
        XMLElementWriter deep(top, "deep");
        deep.disableIndent();
        XMLElementWriter{deep, "y"};
    }
    root.close();
    EXPECT_EQ(c_declaration + "\n<root>\n  <flat><x/></flat>\n  <deep><y/></deep>\n</root>\n", out.str());

    std::ostringstream flatOut;
    XMLRootWriter flatRoot(flatOut, true);
    flatRoot.disableIndent();
    {
        XMLElementWriter top(flatRoot, "root");
        XMLElementWriter{top, "a"};
    }
    flatRoot.close();
    EXPECT_EQ(c_declaration + "<root><a/></root>", flatOut.str());
}

TEST(XMLWriter, WritesBinaryAsBase64)
{
    EXPECT_EQ(c_declaration + "<d>AAH/YQ==</d>", unindented([](XMLRootWriter& root) {
                  XMLElementWriter d(root, "d");
                  d.writeBinary(std::string("\0\x01\xFF" "a", 4));
              }));
    std::istringstream in(std::string(1000, 'x'));
    const std::string stream = unindented([&in](XMLRootWriter& root) {
        XMLElementWriter d(root, "d");
        d.writeAttr("n", "1");
        d.writeBinary(in);
    });
    EXPECT_EQ(c_declaration.size() + std::string("<d n=\"1\">").size() + 1336 + 4, stream.size());
    EXPECT_EQ(std::string::npos, stream.find('\n'));
}

TEST(XMLWriter, FlushEndsTheStartTag)
{
    std::ostringstream out;
    XMLRootWriter root(out, true);
    XMLElementWriter top(root, "root");
    top.flush();
    EXPECT_EQ(c_declaration + "\n<root>", out.str());
    top.close();
    top.close();
    root.close();
    EXPECT_EQ(c_declaration + "\n<root>\n</root>\n", out.str());
}

TEST(XMLWriter, RootWithoutElement)
{
    std::ostringstream indented;
    XMLRootWriter root(indented, true);
    root.close();
    root.close();
    EXPECT_EQ("\n", indented.str());
    EXPECT_EQ("", unindented([](XMLRootWriter&) {}));
}

namespace {

void printFatalError(const char* message)
{
    fprintf(stderr, "%s\n", message);
}

// Misuse ends the program; each statement runs in a child process.
class XMLWriterDeathTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_previous = getFatalErrorHandler();
        setFatalErrorHandler(&printFatalError);
    }
    void TearDown() override { setFatalErrorHandler(m_previous); }

    std::ostringstream m_out;
    XMLRootWriter m_root{m_out, true};

private:
    FatalErrorHandler m_previous = nullptr;
};

} // namespace

TEST_F(XMLWriterDeathTest, ElementMisuse)
{
    using testing::ExitedWithCode;
    XMLElementWriter e(m_root, "e");
    EXPECT_EXIT({ e.close(); e.startAttr("a"); }, ExitedWithCode(1), "XMLElementWriter set attibute when closed");
    EXPECT_EXIT({ e.writeText("x"); e.startAttr("a"); }, ExitedWithCode(1),
                "XMLElementWriter set attibute when not empty");
    EXPECT_EXIT({ e.close(); XMLElementWriter child(e, "c"); }, ExitedWithCode(1),
                "XMLElementWriter opened element when closed");
    EXPECT_EXIT({ XMLElementWriter first(e, "a"); XMLElementWriter second(e, "b"); }, ExitedWithCode(1),
                "XMLElementWriter opened element while in element");
    EXPECT_EXIT({ e.close(); e.writeText("x"); }, ExitedWithCode(1), "XMLElementWriter wrote text when closed");
    EXPECT_EXIT({ XMLElementWriter child(e, "c"); e.writeBinary(std::string("x")); }, ExitedWithCode(1),
                "XMLElementWriter wrote data while in element");
    EXPECT_EXIT({ XMLElementWriter child(e, "c"); e.close(); }, ExitedWithCode(1),
                "XMLElementWriter closed while in element");
    EXPECT_EXIT(e.onElementClose(), ExitedWithCode(1), "m_state == STATE_IN_ELEMENT");
}

TEST_F(XMLWriterDeathTest, RootMisuse)
{
    using testing::ExitedWithCode;
    EXPECT_EXIT({ { XMLElementWriter first(m_root, "a"); } XMLElementWriter second(m_root, "b"); }, ExitedWithCode(1),
                "XMLRootWriter opened element when closed");
    EXPECT_EXIT({ XMLElementWriter first(m_root, "a"); XMLElementWriter second(m_root, "b"); }, ExitedWithCode(1),
                "XMLRootWriter opened element while in element");
    EXPECT_EXIT(m_root.writeText("x"), ExitedWithCode(1), "XMLRootWriter cannot write text");
    EXPECT_EXIT({ XMLElementWriter e(m_root, "e"); m_root.close(); }, ExitedWithCode(1),
                "XMLRootWriter closed while in element");
    EXPECT_EXIT(m_root.onElementClose(), ExitedWithCode(1), "m_state == STATE_IN_ELEMENT");
}
