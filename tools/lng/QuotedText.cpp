#include "QuotedText.h"

#include <cstdio>
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

} // namespace

std::wstring readQuoted(const std::string& text, size_t& pos)
{
    std::wstring result;
    std::string run; // UTF-8 bytes since the last escape
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
        result += OKU::utf8Decode(run);
        run.clear();
        const char escape = ++i < text.size() ? text[i] : '\0';
        switch (escape) {
        case 'n': result += L'\n'; break;
        case 't': result += L'\t'; break;
        case '"': result += L'"'; break;
        case '\\': result += L'\\'; break;
        case 'u': {
            unsigned value = 0;
            for (int digit = 0; digit < 4; ++digit) {
                const int v = i + 1 < text.size() ? hexValue(text[++i]) : -1;
                if (v < 0)
                    throw std::runtime_error("\\u needs four hexadecimal digits");
                value = value * 16 + static_cast<unsigned>(v);
            }
            result += static_cast<wchar_t>(value);
            break;
        }
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
        case L'\t': quoted += "\\t"; break;
        case L'"': quoted += "\\\""; break;
        case L'\\': quoted += "\\\\"; break;
        default: quoted += OKU::utf8Encode(std::wstring(1, c));
        }
    }
    return quoted + "\"";
}

} // namespace lng
