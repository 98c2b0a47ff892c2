#include "core/detail/XMLChars.h"

#include <algorithm>

#include "core/Utf8.h"

namespace OKU {

bool xmlValid(wchar_t c)
{
    const unsigned long u = static_cast<unsigned long>(static_cast<unsigned int>(c));
    return u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF)
           || (u >= 0xE000 && u <= 0xFFFD) || (u >= 0x10000 && u <= 0x10FFFF);
}

bool xmlValid(const std::wstring& text)
{
    for (wchar_t c : text)
        if (!xmlValid(c))
            return false;
    return true;
}

bool xmlValid(const std::string& text)
{
    const std::wstring decoded = utf8Decode(text);
    // The decoder skips malformed bytes and accepts overlong forms; both show
    // up as a difference when the text is encoded again.
    return utf8Encode(decoded) == text && xmlValid(decoded);
}

bool xmlWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool xmlWhitespace(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return xmlWhitespace(c); });
}

} // namespace OKU
