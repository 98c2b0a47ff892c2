#include "core/XMLElementWriter.h"

#include "core/FatalError.h"

namespace OKU {

namespace {

int childDepth(const XMLWriter& parent, bool noIndent)
{
    return noIndent || parent.getDepth() < -1 ? XMLWriter::NO_INDENT : parent.getDepth() + 1;
}

} // namespace

XMLElementWriter::XMLElementWriter(XMLWriter& parent, const std::string& name, bool noIndent)
    : XMLWriter(streamOf(parent), childDepth(parent, noIndent)), m_parent(parent), m_name(name)
{
    m_parent.onElementOpen();
    m_stream << '<' << m_name;
}

void XMLElementWriter::flush()
{
    if (m_state == STATE_START_TAG) {
        m_stream << '>';
        m_state = STATE_TEXT;
    }
    m_stream.flush();
}

void XMLElementWriter::onElementOpen()
{
    if (m_state == STATE_CLOSED)
        fatalError("XMLElementWriter opened element when closed");
    if (m_state == STATE_IN_ELEMENT)
        fatalError("XMLElementWriter opened element while in element");
    if (m_state == STATE_START_TAG)
        m_stream << '>';
    if (m_depth >= 0)
        writeIndent(m_depth + 1);
    m_state = STATE_IN_ELEMENT;
}

void XMLElementWriter::onElementClose()
{
    if (m_state != STATE_IN_ELEMENT)
        fatalError("m_state == STATE_IN_ELEMENT");
    m_state = STATE_CHILD_CLOSED;
}

void XMLElementWriter::startText()
{
    if (m_state == STATE_CLOSED)
        fatalError("XMLElementWriter wrote text when closed");
    if (m_state == STATE_IN_ELEMENT)
        fatalError("XMLElementWriter wrote data while in element");
    if (m_state == STATE_START_TAG)
        m_stream << '>';
    m_state = STATE_TEXT;
    m_depth = NO_INDENT;
}

void XMLElementWriter::startAttr(const std::string& name)
{
    if (m_state == STATE_CLOSED)
        fatalError("XMLElementWriter set attibute when closed");
    if (m_state != STATE_START_TAG)
        fatalError("XMLElementWriter set attibute when not empty");
    m_stream << ' ' << name << "=\"";
}

void XMLElementWriter::close()
{
    if (m_state == STATE_CLOSED)
        return;
    if (m_state == STATE_IN_ELEMENT)
        fatalError("XMLElementWriter closed while in element");
    if (m_state == STATE_START_TAG) {
        m_stream << "/>";
    } else {
        if (m_depth >= 0)
            writeIndent(m_depth);
        m_stream << "</" << m_name << '>';
    }
    m_state = STATE_CLOSED;
    m_parent.onElementClose();
}

} // namespace OKU
