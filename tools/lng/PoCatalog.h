#ifndef LNGTOOL_POCATALOG_H
#define LNGTOOL_POCATALOG_H

#include <string>
#include <vector>

#include "SourceTexts.h"

namespace lng {

// One text of a language source: the program's wording and the translation.
struct PoEntry {
    std::wstring id;
    std::wstring text;
    int line = 0; // of its msgid
};

// Reads the translations of a PO file: "#" comment lines, and entries of a
// msgid and a msgstr, each a quoted text that may go on in quoted lines
// below it. The header entry (empty msgid) is skipped. Throws
// std::runtime_error naming the file and line of the first fault.
std::vector<PoEntry> readPoFile(const std::string& path);

// Writes the template of a language source: every text with its place and an
// empty msgstr, which readPoFile reads back. Throws std::runtime_error when
// the file cannot be written.
void writePoTemplate(const std::string& path, const std::vector<SourceText>& texts);

} // namespace lng

#endif
