#include "QuotedText.h"

#include <stdexcept>

#include "core/Utf8.h"

namespace lng {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The value of the exactly count hexadecimal digits after text[i], i left on
// the last of them.
unsigned long fixedHex(const std::string& text, size_t& i, int count, const char* escape)
{
    unsigned long value = 0;
    for (int digit = 0; digit < count; ++digit) {
        const int v = i + 1 < text.size() ? hexValue(text[++i]) : -1;
        if (v < 0)
            throw std::runtime_error(std::string(escape) + " needs " + std::to_string(count) +
                                     " hexadecimal digits");
        value = value * 16 + static_cast<unsigned long>(v);
    }
    return value;
}

// The value of the hexadecimal digits after text[i], however many (at
// least one), i left on the last of them.
unsigned long openHex(const std::string& text, size_t& i)
{
    if (i + 1 >= text.size() || hexValue(text[i + 1]) < 0)
        throw std::runtime_error("\\x needs hexadecimal digits");
    unsigned long value = 0;
    while (i + 1 < text.size() && hexValue(text[i + 1]) >= 0) {
        value = value * 16 + static_cast<unsigned long>(hexValue(text[++i]));
        if (value > 0x10FFFF)
            throw std::runtime_error("\\x out of range");
    }
    return value;
}

} // namespace

std::wstring readQuoted(const std::string& text, size_t& pos, HexEscape hex)
{
    std::wstring result;
    std::string run; // UTF-8 bytes since the last escape that gave a character
    for (size_t i = pos + 1; i < text.size() && text[i] != '\n'; ++i) {
        const char c = text[i];
        if (c == '"') {
            result += OKU::utf8Decode(run);
            pos = i + 1;
            return result;
        }
        if (c != '\\') {
            run += c;
            continue;
        }
        const char escape = ++i < text.size() ? text[i] : '\0';
        if (escape == 'x' && hex == HexEscape::BYTE) {
            const unsigned long byte = openHex(text, i);
            if (byte > 0xFF)
                throw std::runtime_error("\\x out of range for a byte");
            run += static_cast<char>(byte);
            continue;
        }
        result += OKU::utf8Decode(run);
        run.clear();
        switch (escape) {
        case 'n': result += L'\n'; break;
        case 'r': result += L'\r'; break;
        case 't': result += L'\t'; break;
        case '"': result += L'"'; break;
        case '\'': result += L'\''; break;
        case '?': result += L'?'; break;
        case '\\': result += L'\\'; break;
        case 'u': result += static_cast<wchar_t>(fixedHex(text, i, 4, "\\u")); break;
        case 'U': {
            const unsigned long value = fixedHex(text, i, 8, "\\U");
            if (value > 0x10FFFF)
                throw std::runtime_error("\\U out of range");
            result += static_cast<wchar_t>(value);
            break;
        }
        case 'x': result += static_cast<wchar_t>(openHex(text, i)); break;
        default:
            throw std::runtime_error(std::string("unknown escape \\") + escape);
        }
    }
    throw std::runtime_error("a quoted text does not end on its line");
}

std::string quote(const std::wstring& text)
{
    std::string quoted = "\"";
    for (const wchar_t c : text) {
        switch (c) {
        case L'\n': quoted += "\\n"; break;
        case L'\r': quoted += "\\r"; break;
        case L'\t': quoted += "\\t"; break;
        case L'"': quoted += "\\\""; break;
        case L'\\': quoted += "\\\\"; break;
        default: quoted += OKU::utf8Encode(std::wstring(1, c));
        }
    }
    return quoted + "\"";
}

} // namespace lng
