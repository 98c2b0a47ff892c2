#ifndef OKU_CORE_DETAIL_XMLCHARS_H
#define OKU_CORE_DETAIL_XMLCHARS_H

#include <string>

namespace OKU {

/// Whether XML 1.0 allows the character in a document: tab, line feed,
/// carriage return, U+0020..U+D7FF, U+E000..U+FFFD and U+10000..U+10FFFF.
bool xmlValid(wchar_t c);
/// Whether every character is allowed.
bool xmlValid(const std::wstring& text);
/// The same for UTF-8 text, which must also be well-formed UTF-8 in its
/// shortest form: bytes that do not decode are not characters at all.
bool xmlValid(const std::string& text);

/// Whether the character is XML white space: space, tab, CR or LF.
bool xmlWhitespace(char c);
/// Whether the text consists of white space only; true for an empty text.
bool xmlWhitespace(const std::string& text);

} // namespace OKU

#endif
