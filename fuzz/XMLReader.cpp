// Documents for the pull reader: the first byte chooses, level by level, how
// the content of each element is read (child elements, text, Base64 data, or
// skipped), the rest is the document. Every attribute is also read through
// every typed getter. XMLError is the reader's only allowed complaint.

#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "core/XMLError.h"
#include "core/XMLParser.h"

namespace {

void readAttributes(const OKU::XMLAttributes& attributes)
{
    for (const auto& entry : attributes.getAll()) {
        const std::string& name = entry.first;
        FUZZ_CHECK(attributes.has(name) && attributes.getString(name) == entry.second);
        try {
            attributes.getBool(name);
        } catch (const OKU::XMLError&) {
        }
        try {
            attributes.getLongLong(name);
            attributes.getInt(name);
        } catch (const OKU::XMLError&) {
        }
        try {
            attributes.getDouble(name);
        } catch (const OKU::XMLError&) {
        }
    }
}

// Reads the element whose start tag was just read, up to and with its end tag.
void readElement(OKU::XMLParser& parser, const OKU::XMLAttributes& start, unsigned ways,
                 int depth)
{
    readAttributes(start);
    const std::string name = start.getElement();
    FUZZ_CHECK(parser.currentElement() == name);
    switch ((ways >> (2 * (depth % 4))) & 3) {
    case 0: {
        OKU::XMLAttributes child;
        while (parser.parseStartElementOrNone(child))
            readElement(parser, child, ways, depth + 1);
        break;
    }
    case 1:
        parser.parseString();
        parser.parseWhitespace();
        break;
    case 2: {
        std::ostringstream data;
        parser.parseBinary(data);
        break;
    }
    default:
        parser.parseContent();
        break;
    }
    parser.parseEndElement(name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const unsigned ways = input.byte();
    std::istringstream document(input.rest());
    try {
        OKU::XMLParser parser(document);
        parser.setExceptionPI("abort");
        OKU::XMLAttributes root;
        parser.parseStartElement(root);
        // Handing the start tag back must give it again.
        parser.pushStartElement(root.getElement(), root);
        OKU::XMLAttributes again;
        parser.parseStartElement(root.getElement(), again);
        FUZZ_CHECK(again.getAll() == root.getAll());
        readElement(parser, again, ways, 0);
    } catch (const OKU::XMLError&) {
    }
    return 0;
}
