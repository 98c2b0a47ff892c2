#include "core/StringEdit.h"

namespace OKU {

namespace {

template <class S>
void charPad(S& s, typename S::value_type c, int n)
{
    if (n > 0)
        s.insert(0, static_cast<typename S::size_type>(n), c);
}

template <class S>
S trimFront(const S& s, const S& set)
{
    const auto first = s.find_first_not_of(set);
    return first == S::npos ? S() : s.substr(first);
}

template <class S>
S trimBack(const S& s, const S& set)
{
    const auto last = s.find_last_not_of(set);
    return last == S::npos ? S() : s.substr(0, last + 1);
}

template <class C>
size_t separatorLength(C)
{
    return 1;
}

template <class C>
size_t separatorLength(const std::basic_string<C>& separator)
{
    return separator.size();
}

template <class C>
bool isUsableSeparator(C)
{
    return true;
}

// An empty string would be found at every position without moving on.
template <class C>
bool isUsableSeparator(const std::basic_string<C>& separator)
{
    return !separator.empty();
}

} // namespace

void charPadString(std::string& s, char c, int n)
{
    charPad(s, c, n);
}

void charPadWString(std::wstring& s, wchar_t c, int n)
{
    charPad(s, c, n);
}

std::string ltrim(const std::string& s, const std::string& set)
{
    return trimFront(s, set);
}

std::string rtrim(const std::string& s, const std::string& set)
{
    return trimBack(s, set);
}

std::wstring ltrim(const std::wstring& s, const std::wstring& set)
{
    return trimFront(s, set);
}

std::wstring rtrim(const std::wstring& s, const std::wstring& set)
{
    return trimBack(s, set);
}

template <class S, class Sep>
std::vector<S> doSplit(const S& s, const Sep& separator, int maxParts)
{
    std::vector<S> pieces;
    if (s.empty())
        return pieces;
    const size_t length = separatorLength(separator);
    typename S::size_type p = 0;
    while (isUsableSeparator(separator)) {
        if (maxParts >= 0 && static_cast<int>(pieces.size()) >= maxParts - 1)
            break;
        const auto found = s.find(separator, p);
        if (found == S::npos)
            break;
        pieces.push_back(s.substr(p, found - p));
        p = found + length;
    }
    pieces.push_back(s.substr(p));
    return pieces;
}

template std::vector<std::string> doSplit(const std::string&, const char&, int);
template std::vector<std::string> doSplit(const std::string&, const std::string&, int);
template std::vector<std::wstring> doSplit(const std::wstring&, const wchar_t&, int);
template std::vector<std::wstring> doSplit(const std::wstring&, const std::wstring&, int);

std::vector<std::string> split(const std::string& s, const std::string& separator, int maxParts)
{
    return doSplit(s, separator, maxParts);
}

std::vector<std::wstring> split(const std::wstring& s, const std::wstring& separator, int maxParts)
{
    return doSplit(s, separator, maxParts);
}

} // namespace OKU
