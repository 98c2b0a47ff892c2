#ifndef OKU_CORE_STRINGEDIT_H
#define OKU_CORE_STRINGEDIT_H

#include <string>
#include <vector>

namespace OKU {

/// Insert exactly n copies of c at the front (nothing when n < 1).
void charPadString(std::string& s, char c, int n);
void charPadWString(std::wstring& s, wchar_t c, int n);
void zeroPadString(std::string& s, int n);
void zeroPadWString(std::wstring& s, int n);

/// Remove the characters of set from both ends, the front or the back.
std::string trim(const std::string& s, const std::string& set);
std::string ltrim(const std::string& s, const std::string& set);
std::string rtrim(const std::string& s, const std::string& set);
std::wstring trim(const std::wstring& s, const std::wstring& set);
std::wstring ltrim(const std::wstring& s, const std::wstring& set);
std::wstring rtrim(const std::wstring& s, const std::wstring& set);

/// An empty s gives no pieces; otherwise separators split s into pieces,
/// at most maxParts of them when maxParts >= 0 (the last piece keeps the rest).
/// An empty separator string never matches, so s stays one piece. Defined for
/// the four separator forms used by split.
template <class S, class Sep>
std::vector<S> doSplit(const S& s, const Sep& separator, int maxParts);

std::vector<std::string> split(const std::string& s, char separator, int maxParts = -1);
std::vector<std::string> split(const std::string& s, const std::string& separator, int maxParts = -1);
std::vector<std::wstring> split(const std::wstring& s, wchar_t separator, int maxParts = -1);
std::vector<std::wstring> split(const std::wstring& s, const std::wstring& separator, int maxParts = -1);

bool startsWith(const std::string& s, const std::string& prefix);
bool endsWith(const std::string& s, const std::string& suffix);
bool startsWith(const std::wstring& s, const std::wstring& prefix);
bool endsWith(const std::wstring& s, const std::wstring& suffix);

} // namespace OKU

#endif
