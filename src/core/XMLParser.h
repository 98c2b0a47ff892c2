#ifndef OKU_CORE_XMLPARSER_H
#define OKU_CORE_XMLPARSER_H

#include <deque>
#include <expat.h>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/Visibility.h"
#include "core/XMLAttributes.h"

namespace OKU {

/// Pull-style reader: the caller walks the document element by element,
/// stating what it expects next, and gets an XMLError when the document says
/// otherwise. Usage:
///
///     XMLParser parser(stream);
///     parser.parseStartElement("traceconfig", attributes);
///     while (parser.parseStartElementOrNone("output", attributes)) {
///         ...
///         parser.parseEndElement("output");
///     }
///     parser.parseEndElement("traceconfig");
///
/// White space between elements is skipped; other text where an element is
/// expected is an error. Functions that read content (parseString,
/// parseWhitespace, parseContent, parseBinary) stop in front of the end tag of
/// the current element; parseEndElement consumes it. Ending the outermost
/// element reads the input to its end, so anything wrong after the document
/// element is reported there. After an XMLError the parser is unusable.
///
/// Input is read only as far as the requested event needs, one blocking byte
/// at a time plus whatever the stream already has buffered, so the reader also
/// works on pipes.
class XMLParser {
public:
    explicit XMLParser(std::istream& in);
    ~XMLParser();
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    /// The next element must start and be called name.
    void parseStartElement(const std::string& name, XMLAttributes& attributes)
    {
        startElement(&name, attributes, false);
    }
    /// The next element must start, whatever its name.
    void parseStartElement(XMLAttributes& attributes) { startElement(nullptr, attributes, false); }
    /// Like parseStartElement, but false when the current element ends (or the
    /// document has ended) instead; nothing is consumed then. Any other
    /// element is an error, as with parseStartElement.
    bool parseStartElementOrNone(const std::string& name, XMLAttributes& attributes)
    {
        return startElement(&name, attributes, true);
    }
    bool parseStartElementOrNone(XMLAttributes& attributes)
    {
        return startElement(nullptr, attributes, true);
    }
    /// The current element, which must be called name, must end here.
    void parseEndElement(const std::string& name);
    /// An element with nothing but white space between its tags.
    void parseEmptyElement(const std::string& name, XMLAttributes& attributes)
    {
        parseStartElement(name, attributes);
        parseEndElement(name);
    }
    /// An element with text only; returns the text.
    std::string parseStringElement(const std::string& name)
    {
        XMLAttributes attributes;
        return parseStringElement(name, attributes);
    }
    std::string parseStringElement(const std::string& name, XMLAttributes& attributes);

    /// Text up to the next start or end tag (comments and processing
    /// instructions in between are left out).
    std::string parseString();
    /// Nothing but white space may follow up to the end of the current element.
    void parseWhitespace();
    /// Skips text and child elements up to the end of the current element.
    void parseContent();
    /// Base64 text up to the end of the current element, decoded. White space
    /// inside the text is ignored, so wrapped data is accepted.
    std::string parseBinary()
    {
        std::ostringstream out;
        parseBinary(out);
        return out.str();
    }
    void parseBinary(std::ostream& out);

    /// Name of the innermost open element; empty outside the document element.
    std::string currentElement() const
    {
        return m_stack.empty() ? std::string() : m_stack.back().first;
    }
    /// Hands back a start element, usually one just read with
    /// parseStartElement, so that the next call reads it again: a dispatcher
    /// can look at the name and pass the parser on to code that expects to
    /// read the start tag itself. When name is the innermost open element, it
    /// is no longer open.
    void pushStartElement(const std::string& name, const XMLAttributes& attributes);
    /// A processing instruction with this target raises XMLError with its data
    /// as the message, so a producer can abort a document it is streaming.
    /// Other processing instructions are ignored. Empty: none.
    void setExceptionPI(const std::string& target) { m_exceptionPI = target; }

private:
    struct Event {
        enum Type { START, END, TEXT, EXCEPTION, END_OF_FILE };
        Type type;
        std::string name;        ///< START, END
        std::string text;        ///< TEXT, EXCEPTION
        XMLAttributes attributes; ///< START
    };

    /// expat call-backs; user data is the XMLParser.
    OKU_LOCAL static void onStart(void* userData, const XML_Char* name,
                                  const XML_Char** attributes);
    OKU_LOCAL static void onEnd(void* userData, const XML_Char* name);
    OKU_LOCAL static void onText(void* userData, const XML_Char* text, int length);
    OKU_LOCAL static void onProcessingInstruction(void* userData, const XML_Char* target,
                                                  const XML_Char* data);

    /// Records an event and suspends expat so that it is handed out first.
    OKU_LOCAL void queue(Event event);
    /// The next event, reading input as needed.
    OKU_LOCAL Event& front();
    OKU_LOCAL void readMore();
    OKU_LOCAL void checkStatus(XML_Status status);
    /// Skips white-space text; other text is an error.
    OKU_LOCAL Event& frontSkippingWhitespace();
    /// Reads a start element for the parseStartElement forms; a null name
    /// accepts any. Visible, as those forms are inline.
    bool startElement(const std::string* name, XMLAttributes& attributes, bool noneAllowed);
    /// Consumes the end tag in front, which must close the innermost element.
    OKU_LOCAL void consumeEnd();
    OKU_LOCAL void collectBase64(std::string& text);

    std::istream& m_in;
    XML_Parser m_parser;
    std::deque<Event> m_events;
    std::vector<std::pair<std::string, XMLAttributes>> m_stack;
    std::string m_exceptionPI;
    int m_depth = 0;             ///< element depth as seen by expat
    bool m_rootDone = false;     ///< expat has seen the end of the document element
    bool m_suspended = false;
    bool m_finalFed = false;
    bool m_finished = false;
};

} // namespace OKU

#endif
