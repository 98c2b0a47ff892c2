#ifndef OKU_CORE_STRINGCOMPARE_H
#define OKU_CORE_STRINGCOMPARE_H

#include <string>

#include "core/Utf8.h"

namespace OKU {

/// Case-insensitive order (towupper of the current locale), -1, 0 or 1; a
/// string that is a prefix of the other is the smaller. The narrow forms
/// decode UTF-8 first.
int noCaseStringCmp(const std::wstring& a, const std::wstring& b);
inline int noCaseStringCmp(const std::string& a, const std::string& b)
{
    return noCaseStringCmp(utf8Decode(a), utf8Decode(b));
}

/// Natural order, -1, 0 or 1: runs of digits compare by their numeric value
/// (of any length, leading zeros ignored), everything else case-insensitively,
/// so "file2" < "file10", "a01" equals "a1" and "B" equals "b".
int smartStringCmp(const std::wstring& a, const std::wstring& b);
inline int smartStringCmp(const std::string& a, const std::string& b)
{
    return smartStringCmp(utf8Decode(a), utf8Decode(b));
}

/// Whether text matches pattern: "*" matches any run of characters (none
/// included), "?" any one character, anything else the same character without
/// regard to case.
bool wildcardStringCmp(std::wstring::const_iterator textBegin, std::wstring::const_iterator textEnd,
                       std::wstring::const_iterator patternBegin, std::wstring::const_iterator patternEnd);
inline bool wildcardStringCmp(const std::wstring& text, const std::wstring& pattern)
{
    return wildcardStringCmp(text.begin(), text.end(), pattern.begin(), pattern.end());
}

} // namespace OKU

#endif
