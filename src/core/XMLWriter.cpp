#include "core/XMLWriter.h"

#include "core/detail/XMLChars.h"

namespace OKU {

XMLWriter::~XMLWriter() = default;

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

void XMLWriter::writeBinary(std::istream& data)
{
    startText();
    base64Encode(m_stream, data);
}

void XMLWriter::writeIndent(int levels)
{
    m_stream << '\n';
    for (int i = 0; i < levels; ++i)
        m_stream << "  ";
}

} // namespace OKU
