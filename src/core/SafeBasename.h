#ifndef OKU_CORE_SAFEBASENAME_H
#define OKU_CORE_SAFEBASENAME_H

#include <string>

namespace OKU {

/// Makes any text usable as a file base name on common file systems: each of
/// % < > : " / \ | ? * and NUL becomes "%" and two upper-case hexadecimal
/// digits of its value; all other characters are kept.
std::string safeEncodeBasename(const std::string& name);
std::wstring safeEncodeBasename(const std::wstring& name);

/// Reverses the encoding: "%" and two hexadecimal digits (either case) become
/// that character; a "%" without two such digits stays as it is.
std::string safeDecodeBasename(const std::string& name);
std::wstring safeDecodeBasename(const std::wstring& name);

} // namespace OKU

#endif
