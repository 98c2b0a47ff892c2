#include "core/XMLRootWriter.h"

#include "core/FatalError.h"

namespace OKU {

void XMLRootWriter::onElementOpen()
{
    if (m_state == STATE_CLOSED)
        fatalError("XMLRootWriter opened element when closed");
    if (m_state == STATE_IN_ELEMENT)
        fatalError("XMLRootWriter opened element while in element");
    m_stream << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    if (m_depth != NO_INDENT)
        m_stream << '\n';
    m_state = STATE_IN_ELEMENT;
}

void XMLRootWriter::onElementClose()
{
    if (m_state != STATE_IN_ELEMENT)
        fatalError("m_state == STATE_IN_ELEMENT");
    if (m_depth != NO_INDENT)
        m_stream << '\n';
    m_state = STATE_CLOSED;
}

void XMLRootWriter::close()
{
    if (m_state == STATE_CLOSED)
        return;
    if (m_state == STATE_IN_ELEMENT)
        fatalError("XMLRootWriter closed while in element");
    if (m_depth != NO_INDENT)
        m_stream << '\n';
    m_state = STATE_CLOSED;
}

} // namespace OKU
