#ifndef OKU_CORE_NUMBERCONVERSION_H
#define OKU_CORE_NUMBERCONVERSION_H

#include <ios>
#include <istream>
#include <locale>
#include <sstream>
#include <string>

#include "core/Utf8.h"

namespace OKU {

/// Parsing reads through a string stream in the "C" locale: leading white space
/// is skipped, the longest valid prefix is taken and anything behind it is
/// ignored. The forms with an output argument return false when no number could
/// be read; the output is whatever the stream stored (0 on failure, the limit on
/// overflow). The value forms return 0 when nothing could be read.
bool stringtoi(const std::string& s, int& value);
bool stringtoll(const std::string& s, long long& value);
bool stringtof(const std::string& s, float& value);
bool stringtof(const std::string& s, double& value);
/// Hexadecimal digits in either case, without requiring a "0x" prefix.
bool hexstringtoi(const std::string& s, unsigned int& value);

/// Wide forms; base is std::ios_base::dec, hex or oct.
bool wstringtoi(const std::wstring& s, int& value, std::ios_base::fmtflags base = std::ios_base::dec);
bool wstringtoll(const std::wstring& s, long long& value, std::ios_base::fmtflags base = std::ios_base::dec);
bool wstringtof(const std::wstring& s, float& value);
bool wstringtof(const std::wstring& s, double& value);
bool hexwstringtoi(const std::wstring& s, unsigned int& value);

namespace detail __attribute__((visibility("hidden"))) {

/// The value a parsing form read, or 0 when it read nothing.
template <class T, class String, class... Base>
T parsedOrZero(bool (*parse)(const String&, T&, Base...), const String& s, Base... base)
{
    T value = 0;
    return parse(s, value, base...) ? value : 0;
}

} // namespace detail

inline int stringtoi(const std::string& s)
{
    return detail::parsedOrZero(stringtoi, s);
}

inline long long stringtoll(const std::string& s)
{
    return detail::parsedOrZero(stringtoll, s);
}

inline double stringtof(const std::string& s)
{
    return detail::parsedOrZero<double>(stringtof, s);
}

inline unsigned int hexstringtoi(const std::string& s)
{
    return detail::parsedOrZero(hexstringtoi, s);
}

inline int wstringtoi(const std::wstring& s, std::ios_base::fmtflags base = std::ios_base::dec)
{
    return detail::parsedOrZero(wstringtoi, s, base);
}

inline long long wstringtoll(const std::wstring& s, std::ios_base::fmtflags base = std::ios_base::dec)
{
    return detail::parsedOrZero(wstringtoll, s, base);
}

inline double wstringtof(const std::wstring& s)
{
    return detail::parsedOrZero<double>(wstringtof, s);
}

inline unsigned int hexwstringtoi(const std::wstring& s)
{
    return detail::parsedOrZero(hexwstringtoi, s);
}

/// Right-aligned in at least width characters and padded on the left with
/// fill, in front of the minus sign: -5 in width 4 with '0' gives "00-5".
std::string lltostring(long long value, int width, char fill);

inline std::string lltostring(long long value)
{
    return lltostring(value, 0, ' ');
}

/// Decimal digits are the same for an int as for the long long of its value.
inline std::string itostring(int value, int width, char fill)
{
    return lltostring(value, width, fill);
}

inline std::string itostring(int value)
{
    return lltostring(value, 0, ' ');
}

/// Fixed-point notation with exactly decimals digits after the point (none
/// when decimals is below 1).
std::string ftostring(double value, int decimals);
std::wstring ftowstring(double value, int decimals);

/// Hexadecimal and octal digits show the two's complement of a negative value,
/// which is longer for a long long than for an int.
std::wstring itowstring(int value, int width, wchar_t fill, std::ios_base::fmtflags base = std::ios_base::dec);
std::wstring lltowstring(long long value, int width, wchar_t fill,
                         std::ios_base::fmtflags base = std::ios_base::dec);

inline std::wstring itowstring(int value, std::ios_base::fmtflags base = std::ios_base::dec)
{
    return itowstring(value, 0, L' ', base);
}

inline std::wstring lltowstring(long long value, std::ios_base::fmtflags base = std::ios_base::dec)
{
    return lltowstring(value, 0, L' ', base);
}

/// Enough decimals to show digits significant digits of a value below
/// 10^(digits-1), and never fewer than digits: calcDecimals(0.05, 2) is 3,
/// calcDecimals(123.4, 2) is 2. A zero value or digits < 1 gives digits.
int calcDecimals(double value, int digits);

namespace detail __attribute__((visibility("hidden"))) {

/// The whole text (apart from surrounding white space) must be one value;
/// value is left untouched on failure.
template <class T, class C>
bool parseWhole(const std::basic_string<C>& s, T& value)
{
    std::basic_istringstream<C> stream(s);
    stream.imbue(std::locale::classic());
    T parsed;
    if (!(stream >> parsed) || !(stream >> std::ws).eof())
        return false;
    value = parsed;
    return true;
}

} // namespace detail

/// Reads a whole value in the "C" locale: false, with value unchanged, when
/// the text is not exactly one value of type T.
template <class T>
bool fromString(const std::string& s, T& value)
{
    return detail::parseWhole(s, value);
}

template <class T>
bool fromString(const std::wstring& s, T& value)
{
    return detail::parseWhole(s, value);
}

/// "1" or, in any letter case, "on", "yes", "true" give true; "0", "off",
/// "no", "false" give false. Any other text returns false and leaves value
/// unchanged. The narrow form decodes UTF-8 first.
template <>
bool fromString<bool>(const std::wstring& s, bool& value);
template <>
inline bool fromString<bool>(const std::string& s, bool& value)
{
    return fromString(utf8Decode(s), value);
}

/// Conversions through UTF-8; they always succeed.
template <>
inline bool fromString<std::string>(const std::wstring& s, std::string& value)
{
    value = utf8Encode(s);
    return true;
}
template <>
inline bool fromString<std::wstring>(const std::string& s, std::wstring& value)
{
    value = utf8Decode(s);
    return true;
}

} // namespace OKU

#endif
