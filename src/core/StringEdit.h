#ifndef OKU_CORE_STRINGEDIT_H
#define OKU_CORE_STRINGEDIT_H

#include <string>
#include <vector>

namespace OKU {

/// Insert exactly n copies of c at the front (nothing when n < 1).
void charPadString(std::string& s, char c, int n);
void charPadWString(std::wstring& s, wchar_t c, int n);
inline void zeroPadString(std::string& s, int n)
{
    charPadString(s, '0', n);
}
inline void zeroPadWString(std::wstring& s, int n)
{
    charPadWString(s, L'0', n);
}

/// Remove the characters of set from both ends, the front or the back.
std::string ltrim(const std::string& s, const std::string& set);
std::string rtrim(const std::string& s, const std::string& set);
std::wstring ltrim(const std::wstring& s, const std::wstring& set);
std::wstring rtrim(const std::wstring& s, const std::wstring& set);
inline std::string trim(const std::string& s, const std::string& set)
{
    return rtrim(ltrim(s, set), set);
}
inline std::wstring trim(const std::wstring& s, const std::wstring& set)
{
    return rtrim(ltrim(s, set), set);
}

/// An empty s gives no pieces; otherwise separators split s into pieces,
/// at most maxParts of them when maxParts >= 0 (the last piece keeps the rest).
/// An empty separator string never matches, so s stays one piece. Defined for
/// the four separator forms split takes.
template <class S, class Sep>
std::vector<S> doSplit(const S& s, const Sep& separator, int maxParts);

std::vector<std::string> split(const std::string& s, const std::string& separator, int maxParts = -1);
std::vector<std::wstring> split(const std::wstring& s, const std::wstring& separator, int maxParts = -1);
/// A character splits like the string of that one character.
inline std::vector<std::string> split(const std::string& s, char separator, int maxParts = -1)
{
    return split(s, std::string(1, separator), maxParts);
}
inline std::vector<std::wstring> split(const std::wstring& s, wchar_t separator, int maxParts = -1)
{
    return split(s, std::wstring(1, separator), maxParts);
}

namespace detail __attribute__((visibility("hidden"))) {

template <class S>
bool startsWith(const S& s, const S& prefix)
{
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

template <class S>
bool endsWith(const S& s, const S& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace detail

inline bool startsWith(const std::string& s, const std::string& prefix)
{
    return detail::startsWith(s, prefix);
}
inline bool endsWith(const std::string& s, const std::string& suffix)
{
    return detail::endsWith(s, suffix);
}
inline bool startsWith(const std::wstring& s, const std::wstring& prefix)
{
    return detail::startsWith(s, prefix);
}
inline bool endsWith(const std::wstring& s, const std::wstring& suffix)
{
    return detail::endsWith(s, suffix);
}

} // namespace OKU

#endif
