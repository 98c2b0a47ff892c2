#include "core/Utf8.h"

#include <cstdint>

namespace OKU {

namespace {

// Appends the lead byte and count continuation bytes of six bits each, most
// significant first.
void appendSequence(std::string& out, uint32_t lead, uint32_t c, int count)
{
    out += static_cast<char>(lead | (c >> (6 * count)));
    for (int shift = 6 * (count - 1); shift >= 0; shift -= 6)
        out += static_cast<char>(0x80 | ((c >> shift) & 0x3F));
}

} // namespace

std::string utf8Encode(std::wstring::const_iterator begin, std::wstring::const_iterator end)
{
    std::string out;
    out.reserve(end - begin);
    for (auto it = begin; it != end; ++it) {
        const uint32_t c = static_cast<uint32_t>(*it);
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x800)
            appendSequence(out, 0xC0, c, 1);
        else if (c < 0x10000)
            appendSequence(out, 0xE0, c, 2);
        else if (c <= 0x1FFFFF)
            appendSequence(out, 0xF0, c, 3);
        else if (c <= 0x3FFFFFF)
            appendSequence(out, 0xF8, c, 4);
        else
            appendSequence(out, 0xFC, c, 5);
    }
    return out;
}

std::wstring utf8Decode(std::string::const_iterator begin, std::string::const_iterator end)
{
    std::wstring out;
    out.reserve(end - begin);
    auto it = begin;
    while (it != end) {
        const uint8_t b = static_cast<uint8_t>(*it);
        const auto left = end - it;
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++it;
            continue;
        }
        // Length of the sequence and the free bits of its lead byte; 0 when
        // the byte cannot start a sequence that fits before the end.
        int length = 0;
        uint32_t c = 0;
        if (left >= 2 && (b & 0xE0) == 0xC0) {
            length = 2;
            c = b & 0x1F;
        } else if (left >= 3 && (b & 0xF0) == 0xE0) {
            length = 3;
            c = b & 0x0F;
        } else if (left >= 4 && (b & 0xF8) == 0xF0) {
            length = 4;
            c = b & 0x07;
        } else if (left >= 5 && (b & 0xFC) == 0xF8) {
            length = 5;
            c = b & 0x03;
        } else if (left >= 6 && (b & 0xFE) == 0xFC) {
            length = 6;
            c = b & 0x01;
        }
        ++it;
        if (length == 0)
            continue;
        for (int i = 1; i < length; ++i, ++it)
            c = (c << 6) | (static_cast<uint8_t>(*it) & 0x3F);
        out += static_cast<wchar_t>(c);
    }
    return out;
}

} // namespace OKU
