#ifndef LNGTOOL_QUOTEDTEXT_H
#define LNGTOOL_QUOTEDTEXT_H

#include <string>

namespace lng {

// Texts between double quotes as C++ literals and PO files write them: UTF-8
// with the escapes \n \r \t \" \' \? \\, \uXXXX, \UXXXXXXXX and \x followed
// by hexadecimal digits.

// What a \x escape stands for: a byte of the UTF-8 text (narrow literals and
// PO files, "\xc3\xb6" is "ö") or a character (wide literals, L"\xf6").
enum class HexEscape { BYTE, CHARACTER };

// Reads the quoted text that starts at text[pos] (the opening quote) and
// moves pos past the closing quote. Throws std::runtime_error for a text
// that does not end on its line or an escape it does not know.
std::wstring readQuoted(const std::string& text, size_t& pos, HexEscape hex = HexEscape::BYTE);

// The text quoted so that readQuoted gives it back.
std::string quote(const std::wstring& text);

} // namespace lng

#endif
