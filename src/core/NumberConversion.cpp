#include "core/NumberConversion.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <iomanip>


namespace OKU {

namespace {

template <class C, class T>
bool parsePrefix(const std::basic_string<C>& s, T& value, std::ios_base::fmtflags base)
{
    std::basic_istringstream<C> stream(s);
    stream.imbue(std::locale::classic());
    stream.setf(base, std::ios_base::basefield);
    return static_cast<bool>(stream >> value);
}

template <class C, class T>
std::basic_string<C> format(T value, int width, C fill, std::ios_base::fmtflags base)
{
    std::basic_ostringstream<C> stream;
    stream.imbue(std::locale::classic());
    stream.setf(base, std::ios_base::basefield);
    stream << std::setw(width) << std::setfill(fill) << value;
    return stream.str();
}

template <class C>
std::basic_string<C> formatFixed(double value, int decimals)
{
    std::basic_ostringstream<C> stream;
    stream.imbue(std::locale::classic());
    stream << std::fixed << std::setprecision(std::max(decimals, 0)) << value;
    return stream.str();
}

// Lower-casing leaves "1" and "0" as they are, so they still match exactly.
bool wordToBool(const std::wstring& text, bool& value)
{
    std::wstring lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    if (lower == L"1" || lower == L"on" || lower == L"yes" || lower == L"true") {
        value = true;
        return true;
    }
    if (lower == L"0" || lower == L"off" || lower == L"no" || lower == L"false") {
        value = false;
        return true;
    }
    return false;
}

} // namespace

bool stringtoi(const std::string& s, int& value)
{
    return parsePrefix(s, value, std::ios_base::dec);
}

bool stringtoll(const std::string& s, long long& value)
{
    return parsePrefix(s, value, std::ios_base::dec);
}

bool stringtof(const std::string& s, float& value)
{
    return parsePrefix(s, value, std::ios_base::dec);
}

bool stringtof(const std::string& s, double& value)
{
    return parsePrefix(s, value, std::ios_base::dec);
}

bool hexstringtoi(const std::string& s, unsigned int& value)
{
    return parsePrefix(s, value, std::ios_base::hex);
}

bool wstringtoi(const std::wstring& s, int& value, std::ios_base::fmtflags base)
{
    return parsePrefix(s, value, base);
}

bool wstringtoll(const std::wstring& s, long long& value, std::ios_base::fmtflags base)
{
    return parsePrefix(s, value, base);
}

bool wstringtof(const std::wstring& s, float& value)
{
    return parsePrefix(s, value, std::ios_base::dec);
}

bool wstringtof(const std::wstring& s, double& value)
{
    return parsePrefix(s, value, std::ios_base::dec);
}

bool hexwstringtoi(const std::wstring& s, unsigned int& value)
{
    return parsePrefix(s, value, std::ios_base::hex);
}

std::string lltostring(long long value, int width, char fill)
{
    return format(value, width, fill, std::ios_base::dec);
}

std::string ftostring(double value, int decimals)
{
    return formatFixed<char>(value, decimals);
}

std::wstring ftowstring(double value, int decimals)
{
    return formatFixed<wchar_t>(value, decimals);
}

std::wstring itowstring(int value, int width, wchar_t fill, std::ios_base::fmtflags base)
{
    return format(value, width, fill, base);
}

std::wstring lltowstring(long long value, int width, wchar_t fill, std::ios_base::fmtflags base)
{
    return format(value, width, fill, base);
}

int calcDecimals(double value, int digits)
{
    if (value == 0 || digits < 1)
        return digits;
    const double limit = std::pow(10.0, digits - 1);
    double a = std::fabs(value);
    int n = 0;
    while (a < limit) {
        a *= 10;
        ++n;
    }
    return std::max(n, digits);
}

template <>
bool fromString<bool>(const std::wstring& s, bool& value)
{
    return wordToBool(s, value);
}

} // namespace OKU
