#ifndef OKU_TEXT_DETAIL_LANGUAGETABLE_H
#define OKU_TEXT_DETAIL_LANGUAGETABLE_H

#include <cstdint>
#include <map>
#include <string>

namespace OKU {

/// Source text to translated text, ordered by code point.
typedef std::map<std::wstring, std::wstring> LanguageTable;

/* Language file: a sequence of strings, alternately source text and its
 * translation, each a run of 16-bit little-endian units ended by a zero unit:
 *
 *   'O' 00 'K' 00 00 00  'J' 00 'a' 00 00 00  ...
 *    source "OK"          translation "Ja"
 *
 * Every unit is one character (surrogates are not paired). A later pair with
 * the same source replaces the earlier one. A source text cut off by the end
 * of the file (a partial last unit included) is dropped; a translation cut off
 * that way makes the file truncated.
 */

/// Larger language files are refused: the largest table takes under 100 kB.
constexpr std::uint64_t c_maxLanguageFileBytes = 4 << 20;

/// Reads the language file at path into table. False, with table untouched,
/// when the file cannot be opened or read, is no regular file of at most
/// c_maxLanguageFileBytes, or is truncated.
bool readLanguageFile(const std::string& path, LanguageTable& table);

} // namespace OKU

#endif
