#ifndef OKU_CORE_UTF8_H
#define OKU_CORE_UTF8_H

#include <string>

namespace OKU {

/// Code points up to 31 bits are encoded in one to six bytes.
std::string utf8Encode(std::wstring::const_iterator begin, std::wstring::const_iterator end);
inline std::string utf8Encode(const std::wstring& text)
{
    return utf8Encode(text.begin(), text.end());
}

/// Overlong forms are accepted; stray continuation bytes, invalid leads and
/// sequences cut off by the end of input are skipped without output.
std::wstring utf8Decode(std::string::const_iterator begin, std::string::const_iterator end);
inline std::wstring utf8Decode(const std::string& text)
{
    return utf8Decode(text.begin(), text.end());
}

} // namespace OKU

#endif
