#include "core/XMLParser.h"

#include <algorithm>
#include <iterator>
#include <new>

#include "core/Base64.h"
#include "core/XMLError.h"
#include "core/detail/XMLChars.h"

namespace OKU {

namespace {

// One blocking byte plus at most this many that the stream already holds.
const int c_chunkSize = 8192;

// expat 2.5 loses track of an internal entity's expansion when it is
// suspended in the middle of it: unbalanced tags inside the entity go
// unnoticed, and a CDATA section in it is misread after resuming. The events
// of an expansion all report the position of its reference, so a "&" there
// tells that the parser must not be stopped yet.
bool insideReference(XML_Parser parser)
{
    int offset = 0;
    int size = 0;
    const char* context = XML_GetInputContext(parser, &offset, &size);
    return context && offset < size && context[offset] == '&';
}

// The errors expat gives at the end of input when the document stops in
// the middle of a token, a section or the document element; after the
// document element, they keep expat's own words.
bool cutOff(XML_Error error)
{
    return error == XML_ERROR_NO_ELEMENTS || error == XML_ERROR_UNCLOSED_TOKEN || error == XML_ERROR_PARTIAL_CHAR
           || error == XML_ERROR_UNCLOSED_CDATA_SECTION;
}

std::string internalError(const char* function)
{
    return std::string("Internal error in XMLParser::") + function;
}

} // namespace

XMLParser::XMLParser(std::istream& in) : m_in(in), m_parser(XML_ParserCreate(nullptr))
{
    if (!m_parser)
        throw std::bad_alloc();
    XML_SetUserData(m_parser, this);
#ifdef OKU_HAVE_XML_REPARSE_DEFERRAL
    // Deferral holds back the tail of each chunk until more arrives; a pull
    // reader must see the events of what it has read, or it would block on
    // input the document does not need.
    XML_SetReparseDeferralEnabled(m_parser, XML_FALSE);
#endif
    // Parameter entities of the internal subset are expanded and checked;
    // external ones are never loaded, as no external entity handler is set.
    XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_UNLESS_STANDALONE);
    XML_SetElementHandler(m_parser, &XMLParser::onStart, &XMLParser::onEnd);
    XML_SetCharacterDataHandler(m_parser, &XMLParser::onText);
    XML_SetProcessingInstructionHandler(m_parser, &XMLParser::onProcessingInstruction);
}

XMLParser::~XMLParser()
{
    XML_ParserFree(m_parser);
}

void XMLParser::onStart(void* userData, const XML_Char* name, const XML_Char** attributes)
{
    XMLParser& self = *static_cast<XMLParser*>(userData);
    Event event{Event::START, name, std::string(), XMLAttributes(name)};
    for (const XML_Char** a = attributes; *a; a += 2)
        event.attributes.set(a[0], a[1]);
    ++self.m_depth;
    self.queue(std::move(event));
}

void XMLParser::onEnd(void* userData, const XML_Char* name)
{
    XMLParser& self = *static_cast<XMLParser*>(userData);
    if (--self.m_depth == 0)
        self.m_rootDone = true;
    self.queue(Event{Event::END, name, std::string(), XMLAttributes()});
}

void XMLParser::onText(void* userData, const XML_Char* text, int length)
{
    XMLParser& self = *static_cast<XMLParser*>(userData);
    // expat splits text at buffer ends, entities and line breaks; the reader
    // hands it out in one piece.
    if (!self.m_events.empty() && self.m_events.back().type == Event::TEXT) {
        self.m_events.back().text.append(text, length);
        return;
    }
    self.queue(Event{Event::TEXT, std::string(), std::string(text, length), XMLAttributes()});
}

void XMLParser::onProcessingInstruction(void* userData, const XML_Char* target, const XML_Char* data)
{
    XMLParser& self = *static_cast<XMLParser*>(userData);
    if (!self.m_exceptionPI.empty() && self.m_exceptionPI == target)
        self.queue(Event{Event::EXCEPTION, std::string(), data, XMLAttributes()});
}

void XMLParser::queue(Event event)
{
    m_events.push_back(std::move(event));
    if (insideReference(m_parser))
        return;
    // expat may still deliver call-backs after a stop (the end of an empty
    // element, for one); stopping twice would set an error code.
    XML_ParsingStatus status;
    XML_GetParsingStatus(m_parser, &status);
    if (status.parsing == XML_PARSING)
        XML_StopParser(m_parser, XML_TRUE);
}

XMLParser::Event& XMLParser::front()
{
    while (m_events.empty()) {
        if (m_suspended)
            checkStatus(XML_ResumeParser(m_parser));
        else if (m_finished)
            m_events.push_back(Event{Event::END_OF_FILE, std::string(), std::string(), XMLAttributes()});
        else
            readMore();
    }
    if (m_events.front().type == Event::EXCEPTION)
        throw XMLError(m_events.front().text);
    return m_events.front();
}

void XMLParser::readMore()
{
    const int c = m_in.get();
    if (c == std::char_traits<char>::eof()) {
        // expat may still hold the last tokens of what it was fed: the final
        // call parses them before the document can be judged cut off.
        m_finalFed = true;
        checkStatus(XML_ParseBuffer(m_parser, 0, XML_TRUE));
        if (m_finished && !m_rootDone)
            throw XMLError("Unexpected end of file");
        return;
    }
    char* buffer = static_cast<char*>(XML_GetBuffer(m_parser, c_chunkSize));
    if (!buffer)
        throw std::bad_alloc();
    buffer[0] = static_cast<char>(c);
    const std::streamsize more = m_in.readsome(buffer + 1, c_chunkSize - 1);
    checkStatus(XML_ParseBuffer(m_parser, static_cast<int>(1 + more), XML_FALSE));
}

void XMLParser::checkStatus(XML_Status status)
{
    if (status == XML_STATUS_ERROR) {
        if (m_finalFed && !m_rootDone && cutOff(XML_GetErrorCode(m_parser)))
            throw XMLError("Unexpected end of file");
        throw XMLError(std::string(XML_ErrorString(XML_GetErrorCode(m_parser))) + " at line "
                       + std::to_string(XML_GetCurrentLineNumber(m_parser)));
    }
    m_suspended = status == XML_STATUS_SUSPENDED;
    m_finished = !m_suspended && m_finalFed;
}

XMLParser::Event& XMLParser::frontSkippingWhitespace()
{
    for (;;) {
        Event& event = front();
        if (event.type != Event::TEXT)
            return event;
        if (!xmlWhitespace(event.text))
            throw XMLError("Unexpected data in <" + currentElement() + ">");
        m_events.pop_front();
    }
}

bool XMLParser::startElement(const std::string* name, XMLAttributes& attributes, bool noneAllowed)
{
    Event& event = frontSkippingWhitespace();
    if (event.type == Event::START) {
        if (name && event.name != *name)
            throw XMLError("Expected <" + *name + ">, found <" + event.name + ">");
        attributes = event.attributes;
        m_stack.emplace_back(event.name, event.attributes);
        m_events.pop_front();
        return true;
    }
    const bool explained = event.type == Event::END
                               ? !m_stack.empty() && m_stack.back().first == event.name
                               : m_stack.empty();
    if (!explained)
        throw XMLError(internalError("parseStartElement"));
    if (noneAllowed)
        return false;
    throw XMLError(name ? "Expected <" + *name + ">, found no element"
                        : std::string("Expected an element, found no element"));
}

void XMLParser::consumeEnd()
{
    const Event& event = m_events.front();
    if (event.type != Event::END || m_stack.empty() || m_stack.back().first != event.name)
        throw XMLError(internalError("parseEndElement"));
    m_stack.pop_back();
    m_events.pop_front();
    // After the document element only the end of input may come; reading it
    // now reports junk behind the document instead of ignoring it.
    if (m_stack.empty() && m_rootDone)
        front();
}

void XMLParser::parseEndElement(const std::string& name)
{
    const Event& event = frontSkippingWhitespace();
    if (event.type == Event::START)
        throw XMLError("Expected end element </" + name + ">, got <" + event.name + ">");
    if (event.type == Event::END && event.name != name && !m_stack.empty()
        && m_stack.back().first == event.name)
        throw XMLError("Expected end element </" + name + ">, got </" + event.name + ">");
    consumeEnd();
}

std::string XMLParser::parseStringElement(const std::string& name, XMLAttributes& attributes)
{
    parseStartElement(name, attributes);
    std::string text = parseString();
    const Event& event = front();
    if (event.type == Event::START)
        throw XMLError("Unexpected element <" + event.name + "> in <" + name + ">");
    parseEndElement(name);
    return text;
}

std::string XMLParser::parseString()
{
    std::string text;
    while (front().type == Event::TEXT) {
        text += m_events.front().text;
        m_events.pop_front();
    }
    return text;
}

void XMLParser::parseWhitespace()
{
    for (;;) {
        const Event& event = front();
        if (event.type == Event::START)
            throw XMLError("Unexpected element <" + event.name + "> in <" + currentElement() + ">");
        if (event.type != Event::TEXT)
            return;
        if (!xmlWhitespace(event.text))
            throw XMLError("Expected whitespace in <" + currentElement() + ">");
        m_events.pop_front();
    }
}

void XMLParser::parseContent()
{
    XMLAttributes child;
    int depth = 0;
    for (;;) {
        switch (front().type) {
        case Event::TEXT:
            m_events.pop_front();
            break;
        case Event::START:
            parseStartElement(child);
            ++depth;
            break;
        case Event::END:
            if (depth == 0)
                return;
            consumeEnd();
            --depth;
            break;
        default:
            return;
        }
    }
}

void XMLParser::collectBase64(std::string& text)
{
    for (;;) {
        const Event& event = front();
        if (event.type == Event::START)
            throw XMLError("Unexpected element <" + event.name + "> in <" + currentElement() + ">");
        if (event.type != Event::TEXT)
            return;
        std::remove_copy_if(event.text.begin(), event.text.end(), std::back_inserter(text),
                            [](char c) { return xmlWhitespace(c); });
        m_events.pop_front();
    }
}

void XMLParser::parseBinary(std::ostream& out)
{
    std::string encoded;
    collectBase64(encoded);
    std::string decoded;
    if (!base64Decode(decoded, encoded))
        throw XMLError("Invalid BASE64 encoded binary data");
    out << decoded;
}

void XMLParser::pushStartElement(const std::string& name, const XMLAttributes& attributes)
{
    if (!m_stack.empty() && m_stack.back().first == name)
        m_stack.pop_back();
    m_events.push_front(Event{Event::START, name, std::string(), attributes});
}

} // namespace OKU
