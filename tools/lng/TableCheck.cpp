#include "TableCheck.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>

#include "QuotedText.h"

namespace lng {

namespace {

// The numbers of the markers in the text, sorted; a "%" without digits is
// no marker.
std::vector<std::wstring> markers(const std::wstring& text)
{
    std::vector<std::wstring> found;
    for (size_t pos = text.find(L'%'); pos != std::wstring::npos; pos = text.find(L'%', pos + 1)) {
        size_t end = pos + 1;
        while (end < text.size() && std::iswdigit(text[end]) && text[end] < 0x80)
            ++end;
        if (end > pos + 1)
            found.push_back(text.substr(pos + 1, end - pos - 1));
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::vector<std::string> checkCatalog(const std::vector<SourceText>& program,
                                      const std::vector<PoEntry>& catalog,
                                      const std::string& fileName)
{
    std::vector<std::string> faults;
    const auto at = [&fileName](int line) { return fileName + ":" + std::to_string(line) + ": "; };
    std::set<std::wstring> used;
    for (const SourceText& text : program)
        used.insert(text.text);
    std::map<std::wstring, const PoEntry*> translated;
    for (const PoEntry& entry : catalog) {
        if (!translated.emplace(entry.id, &entry).second)
            faults.push_back(at(entry.line) + "given twice: " + quote(entry.id));
        else if (!used.count(entry.id))
            faults.push_back(at(entry.line) + "no longer used: " + quote(entry.id));
        else if (markers(entry.id) != markers(entry.text))
            faults.push_back(at(entry.line) + "the markers differ from the text's: " +
                             quote(entry.text));
    }
    for (const SourceText& text : program) {
        if (!translated.count(text.text))
            faults.push_back(at(0) + "lacks " + quote(text.text) + " (" + text.where + ")");
    }
    return faults;
}

} // namespace lng
