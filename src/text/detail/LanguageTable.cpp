#include "text/detail/LanguageTable.h"

#include "core/RegularFile.h"

namespace OKU {

namespace {

// Reads one string from bytes at next up to its zero unit, leaving next
// after it; false when the bytes end first.
bool readString(const std::string& bytes, std::size_t& next, std::wstring& text)
{
    text.clear();
    for (; next + 1 < bytes.size(); next += 2) {
        const wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(bytes[next]) |
                                               static_cast<unsigned char>(bytes[next + 1]) << 8);
        if (c == 0) {
            next += 2;
            return true;
        }
        text += c;
    }
    return false;
}

} // namespace

bool readLanguageFile(const std::string& path, LanguageTable& table)
{
    std::string bytes;
    if (!readRegularFile(path, c_maxLanguageFileBytes, bytes))
        return false;
    LanguageTable result;
    std::size_t next = 0;
    std::wstring source;
    std::wstring translation;
    while (readString(bytes, next, source)) {
        if (!readString(bytes, next, translation))
            return false;
        result[source] = translation;
    }
    table.swap(result);
    return true;
}

} // namespace OKU
