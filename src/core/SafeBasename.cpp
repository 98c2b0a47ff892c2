#include "core/SafeBasename.h"

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace OKU {

namespace {

const std::string_view c_unsafeChars = "%<>:\"/\\|?*";
const char c_hexDigits[] = "0123456789ABCDEF";

template <class C>
uint32_t codeOf(C c)
{
    return static_cast<uint32_t>(static_cast<typename std::make_unsigned<C>::type>(c));
}

bool isUnsafe(uint32_t c)
{
    return c == 0 || (c < 0x80 && c_unsafeChars.find(static_cast<char>(c)) != std::string_view::npos);
}

int hexValue(uint32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    return -1;
}

template <class S>
S encode(const S& name)
{
    S out;
    out.reserve(name.size());
    for (const auto c : name) {
        const uint32_t code = codeOf(c);
        if (!isUnsafe(code)) {
            out += c;
            continue;
        }
        out += '%';
        out += c_hexDigits[(code >> 4) & 0xF];
        out += c_hexDigits[code & 0xF];
    }
    return out;
}

template <class S>
S decode(const S& name)
{
    using Char = typename S::value_type;
    S out;
    out.reserve(name.size());
    size_t i = 0;
    while (i < name.size()) {
        if (name[i] == '%' && i + 2 < name.size()) {
            const int high = hexValue(codeOf(name[i + 1]));
            const int low = hexValue(codeOf(name[i + 2]));
            if (high >= 0 && low >= 0) {
                out += static_cast<Char>(high * 16 + low);
                i += 3;
                continue;
            }
        }
        out += name[i];
        ++i;
    }
    return out;
}

} // namespace

std::string safeEncodeBasename(const std::string& name)
{
    return encode(name);
}

std::wstring safeEncodeBasename(const std::wstring& name)
{
    return encode(name);
}

std::string safeDecodeBasename(const std::string& name)
{
    return decode(name);
}

std::wstring safeDecodeBasename(const std::wstring& name)
{
    return decode(name);
}

} // namespace OKU
