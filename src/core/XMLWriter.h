#ifndef OKU_CORE_XMLWRITER_H
#define OKU_CORE_XMLWRITER_H

#include <istream>
#include <ostream>
#include <string>

#include "core/Base64.h"
#include "core/Utf8.h"

namespace OKU {

/// Common part of the streaming XML writers: the output stream, the
/// indentation depth and the escaping of text.
///
/// A document is written by an XMLRootWriter with one XMLElementWriter per
/// element, each created on its parent:
///
///     XMLRootWriter root(stream, true);
///     {
///         XMLElementWriter config(root, "config");
///         config.writeAttr("version", "2");
///         XMLElementWriter name(config, "name");
///         name.writeText(L"Lifeboat");
///     }
///     root.close();
///
/// Writing in the wrong order (text in the root, an attribute after content,
/// a second child while the first is open...) is a programming error and ends
/// the program through fatalError.
class XMLWriter {
public:
    /// Depth of a writer that does not indent.
    static constexpr int NO_INDENT = -2;

    XMLWriter(const XMLWriter&) = delete;
    XMLWriter& operator=(const XMLWriter&) = delete;
    virtual ~XMLWriter();

    virtual void flush() { m_stream.flush(); }
    /// A child element is about to write its start tag.
    virtual void onElementOpen() = 0;
    /// The child element has written its end tag.
    virtual void onElementClose() = 0;
    /// Text or byte data is about to be written as content.
    virtual void startText() = 0;

    /// No line breaks and indentation from here on, for this writer and the
    /// children created after this call.
    void disableIndent() { m_depth = NO_INDENT; }
    int getDepth() const { return m_depth; }

    /// Writes text with "&<>\"'" escaped and the characters XML 1.0 does not
    /// allow left out. The narrow form takes UTF-8.
    void safeWrite(const std::wstring& text);
    void safeWrite(const std::string& text) { safeWrite(utf8Decode(text)); }
    /// Content: text and Base64-encoded bytes.
    void writeText(const std::wstring& text) { startText(); safeWrite(text); }
    void writeText(const std::string& text) { startText(); safeWrite(text); }
    void writeBinary(std::istream& data);
    void writeBinary(const std::string& data)
    {
        startText();
        m_stream << base64Encode(data);
    }

protected:
    /// depth: -2 without indentation, -1 for an indenting root, 0 and up for
    /// elements (the number of enclosing elements).
    XMLWriter(std::ostream& stream, int depth) : m_stream(stream), m_depth(depth) {}

    /// The stream of another writer, for children that write into it.
    static std::ostream& streamOf(XMLWriter& writer) { return writer.m_stream; }
    /// A line break followed by two spaces per level.
    void writeIndent(int levels);

    std::ostream& m_stream;
    int m_depth;
};

} // namespace OKU

#endif
