#ifndef OKU_CORE_XMLROOTWRITER_H
#define OKU_CORE_XMLROOTWRITER_H

#include <ostream>

#include "core/FatalError.h"
#include "core/XMLWriter.h"

namespace OKU {

/// The document level: writes the XML declaration before the one document
/// element and rejects text and further elements.
class XMLRootWriter : public XMLWriter {
public:
    static constexpr int STATE_NOT_STARTED = 0;
    static constexpr int STATE_IN_ELEMENT = 1;
    static constexpr int STATE_CLOSED = 3;

    /// Indentation puts every element on a line of its own, two spaces per level.
    XMLRootWriter(std::ostream& stream, bool indent) : XMLWriter(stream, indent ? -1 : NO_INDENT) {}

    void onElementOpen() override;
    void onElementClose() override;
    void startText() override { fatalError("XMLRootWriter cannot write text"); }
    /// Ends the document; a document without an element stays empty.
    void close();

private:
    int m_state = STATE_NOT_STARTED;
};

} // namespace OKU

#endif
