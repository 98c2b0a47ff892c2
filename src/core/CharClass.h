#ifndef OKU_CORE_CHARCLASS_H
#define OKU_CORE_CHARCLASS_H

#include <cstdint>

namespace OKU {

/// ASCII "0" to "9" only, never the digits of other scripts.
inline bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

/// Code points 0 to 31 and 127 (DEL).
inline bool isControl(wchar_t c)
{
    return static_cast<uint32_t>(c) < 32 || c == 127;
}

} // namespace OKU

#endif
