// The core's string and directory helpers for translatable strings.

#include "text/LString.h"

#include "core/Directories.h"
#include "core/StringCompare.h"

namespace OKU {

namespace {

// The names as untranslated strings; out is replaced either way.
bool asUntranslated(bool found, const std::vector<std::wstring>& names, std::vector<LString>& out)
{
    out.assign(names.begin(), names.end());
    return found;
}

} // namespace

int noCaseStringCmp(const LString& a, const LString& b)
{
    return noCaseStringCmp(a.str(), b.str());
}

int smartStringCmp(const LString& a, const LString& b)
{
    return smartStringCmp(a.str(), b.str());
}

bool getFileList(std::vector<LString>& out, const std::string& dir)
{
    std::vector<std::wstring> names;
    return asUntranslated(getFileList(names, dir), names, out);
}

bool getFileList(std::vector<LString>& out, const std::string& dir, const std::string& ext)
{
    std::vector<std::wstring> names;
    return asUntranslated(getFileList(names, dir, ext), names, out);
}

} // namespace OKU
