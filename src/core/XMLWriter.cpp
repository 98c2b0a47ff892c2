#include "core/XMLWriter.h"

#include "core/Base64.h"
#include "core/Utf8.h"
#include "core/detail/XMLChars.h"

namespace OKU {

XMLWriter::XMLWriter(std::ostream& stream, int depth) : m_stream(stream), m_depth(depth) {}

XMLWriter::~XMLWriter() = default;

void XMLWriter::flush()
{
    m_stream.flush();
}

void XMLWriter::disableIndent()
{
    m_depth = NO_INDENT;
}

int XMLWriter::getDepth() const
{
    return m_depth;
}

void XMLWriter::safeWrite(const std::wstring& text)
{
    std::wstring escaped;
    escaped.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&': escaped += L"&amp;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        case L'"': escaped += L"&quot;"; break;
        case L'\'': escaped += L"&apos;"; break;
        default:
            if (xmlValid(c))
                escaped += c;
        }
    }
    m_stream << utf8Encode(escaped);
}

void XMLWriter::safeWrite(const std::string& text)
{
    safeWrite(utf8Decode(text));
}

void XMLWriter::writeBinary(std::istream& data)
{
    startText();
    base64Encode(m_stream, data);
}

void XMLWriter::writeBinary(const std::string& data)
{
    startText();
    m_stream << base64Encode(data);
}

void XMLWriter::writeIndent(int levels)
{
    m_stream << '\n';
    for (int i = 0; i < levels; ++i)
        m_stream << "  ";
}

} // namespace OKU
