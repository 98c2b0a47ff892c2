#include <functional>
#include <sstream>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/Base64.h"
#include "core/XMLElementWriter.h"
#include "core/XMLRootWriter.h"

using namespace OKU;

namespace {

const std::string c_declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::string document(bool indent, const std::function<void(XMLRootWriter&)>& fill)
{
    std::ostringstream out;
    XMLRootWriter root(out, indent);
    fill(root);
    root.close();
    root.close();
    return out.str();
}

} // namespace

TEST(XMLWriter, EscapesAndIndentsUntilTextOrWhenSwitchedOff)
{
    EXPECT_EQ(c_declaration + "<n a=\"x\" b=\"&quot;&apos;&lt;\">"
                              "<t>&lt;&amp;&gt;ab\t\n\r\xE2\x82\xAC\xF0\x9F\x98\x80</t>"
                              "<t>a\xE2\x82\xAC&quot;b</t><d>AAH/YQ==</d></n>",
              document(false, [](XMLRootWriter& root) {
                  XMLElementWriter n(root, "n");
                  n.writeAttr("a", std::wstring(L"x"));
                  n.writeAttr("b", "\"'<");
                  XMLElementWriter(n, "t").writeText(
                      std::wstring(L"<&>a\x0001" L"b\t\n\r\x20AC\x1F600\xFFFE\xD800\x110000"));
                  // The narrow form decodes UTF-8 first: the stray byte and
                  // the control character vanish, the euro sign survives.
                  XMLElementWriter(n, "t").writeText(std::string("a\x80\xE2\x82\xAC\"\x1F" "b"));
                  XMLElementWriter(n, "d").writeBinary(std::string("\0\x01\xFF" "a", 4));
              }));
    EXPECT_EQ("", document(false, [](XMLRootWriter&) {}));
    EXPECT_EQ("\n", document(true, [](XMLRootWriter&) {}));
    // Binary data stays on one line.
    std::istringstream in(std::string(5000, 'x'));
    EXPECT_EQ(c_declaration + "\n<root>\n  <a/>\n  <b>\n    <c>x</c>\n  </b>\n"
                              "  <p>Hello <b><i>big</i></b> world</p>\n"
                              "  <flat><x/></flat>\n  <deep><y/></deep>\n  <bin>" +
                  base64Encode(std::string(5000, 'x')) + "</bin>\n</root>\n",
              document(true, [&in](XMLRootWriter& root) {
                  XMLElementWriter top(root, "root");
                  XMLElementWriter{top, "a"};
                  {
                      XMLElementWriter b(top, "b");
                      XMLElementWriter(b, "c").writeText("x");
                  }
                  {
                      XMLElementWriter p(top, "p");
                      p.writeText("Hello ");
                      {
                          XMLElementWriter b(p, "b");
                          XMLElementWriter(b, "i").writeText("big");
                      }
                      p.writeText(" world");
                  }
                  {
                      XMLElementWriter flat(top, "flat", true);
                      XMLElementWriter{flat, "x"};
                  }
                  {
                      XMLElementWriter deep(top, "deep");
                      deep.disableIndent();
                      XMLElementWriter{deep, "y"};
                  }
                  XMLElementWriter(top, "bin").writeBinary(in);
              }));

}

// Misuse ends the program; each statement runs in a child process.
TEST(XMLWriterDeathTest, MisuseIsFatal)
{
    std::ostringstream out;
    XMLRootWriter root(out, true);
    XMLElementWriter e(root, "e");
    // Each misuse and its message.
    const std::pair<std::function<void()>, const char*> misuses[] = {
        {[&] { e.close(); XMLElementWriter second(root, "b"); }, "XMLRootWriter opened element when closed"},
        {[&] { XMLElementWriter second(root, "b"); }, "XMLRootWriter opened element while in element"},
        {[&] { root.writeText("x"); }, "XMLRootWriter cannot write text"},
        {[&] { root.close(); }, "XMLRootWriter closed while in element"},
        {[&] { e.close(); e.startAttr("a"); }, "XMLElementWriter set attibute when closed"},
        {[&] { e.writeText("x"); e.startAttr("a"); }, "XMLElementWriter set attibute when not empty"},
        {[&] { e.close(); XMLElementWriter child(e, "c"); }, "XMLElementWriter opened element when closed"},
        {[&] { XMLElementWriter first(e, "a"); XMLElementWriter second(e, "b"); },
         "XMLElementWriter opened element while in element"},
        {[&] { e.close(); e.writeText("x"); }, "XMLElementWriter wrote text when closed"},
        {[&] { XMLElementWriter child(e, "c"); e.writeBinary(std::string("x")); },
         "XMLElementWriter wrote data while in element"},
        {[&] { XMLElementWriter child(e, "c"); e.close(); }, "XMLElementWriter closed while in element"},
    };
    for (const auto& [misuse, message] : misuses)
        expectFatal(misuse, message, "fast");
}
