#ifndef OKU_CORE_XMLELEMENTWRITER_H
#define OKU_CORE_XMLELEMENTWRITER_H

#include <string>

#include "core/XMLWriter.h"

namespace OKU {

/// One element: the start tag is written on construction and left open for
/// attributes until the first content; the end tag (or "/>" for an element
/// without content) is written by close() or the destructor.
///
/// Once text has been written, the element no longer indents: line breaks
/// inside mixed content would change the text.
class XMLElementWriter : public XMLWriter {
public:
    static constexpr int STATE_START_TAG = 0;
    static constexpr int STATE_IN_ELEMENT = 1;
    static constexpr int STATE_CHILD_CLOSED = 2;
    static constexpr int STATE_TEXT = 3;
    static constexpr int STATE_CLOSED = 4;

    /// noIndent switches indentation off for this element and its children.
    XMLElementWriter(XMLWriter& parent, const std::string& name, bool noIndent = false);
    ~XMLElementWriter() override { close(); }

    /// Ends an open start tag, so everything written so far is complete.
    void flush() override;
    void onElementOpen() override;
    void onElementClose() override;
    void startText() override;

    /// Writes ' name="'; the caller writes the value with safeWrite and the
    /// closing quote, as writeAttr does.
    void startAttr(const std::string& name);
    /// Text is a std::string (UTF-8) or a std::wstring.
    template <class Text> void writeAttr(const std::string& name, const Text& value)
    {
        startAttr(name);
        safeWrite(value);
        m_stream << '"';
    }
    void close();

private:
    XMLWriter& m_parent;
    std::string m_name;
    int m_state = STATE_START_TAG;
};

} // namespace OKU

#endif
