#include "text/LanguageTable.h"

#include <istream>

#include "core/FileStreams.h"

namespace OKU {

namespace {

// Reads one string up to its zero unit; false when the input ends first.
bool readString(std::istream& in, std::wstring& text)
{
    text.clear();
    unsigned char unit[2];
    while (in.read(reinterpret_cast<char*>(unit), sizeof unit)) {
        const wchar_t c = static_cast<wchar_t>(unit[0] | unit[1] << 8);
        if (c == 0)
            return true;
        text += c;
    }
    return false;
}

} // namespace

bool readLanguageFile(const std::string& path, LanguageTable& table)
{
    iufstream in(path);
    if (!in.is_open())
        return false;
    LanguageTable result;
    std::wstring source;
    std::wstring translation;
    while (readString(in, source)) {
        if (!readString(in, translation))
            return false;
        result[source] = translation;
    }
    if (in.bad())
        return false;
    table.swap(result);
    return true;
}

} // namespace OKU
