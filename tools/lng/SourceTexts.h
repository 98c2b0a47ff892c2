#ifndef LNGTOOL_SOURCETEXTS_H
#define LNGTOOL_SOURCETEXTS_H

#include <string>
#include <vector>

namespace lng {

// A text the program translates, and where it is written ("file:line").
struct SourceText {
    std::wstring text;
    std::string where;
};

// The texts wrapped for translation in C++ source: the string literals, wide
// (L"...") or UTF-8 ("..." or u8"..."), one or several that the compiler
// joins, given directly to LString1(...) or to translatable(...), outside
// comments. Anything else given to them (a variable) is not a text of its
// own: the literal behind it is marked with translatable(). Throws
// std::runtime_error naming the place of a literal it cannot read.
std::vector<SourceText> findTexts(const std::string& source, const std::string& fileName);

// The texts of every .cpp and .h file under the directories, each text once
// with its first place, in the order of the sorted file names.
std::vector<SourceText> collectTexts(const std::vector<std::string>& directories);

} // namespace lng

#endif
