#include "Version.h"

#include "core/Paths.h"
#include "core/RegularFile.h"
#include "core/StringEdit.h"
#include "core/Utf8.h"

#include "SearchPaths.h"

using OKU::LString;
using OKU::LString1;

namespace {

// The boot ROM's file is read no further than this.
const std::size_t c_bootromVersionBytes = 100;

} // namespace

std::string Version::s_bootromVersionFile = "/mnt/boot/bootrom_version.txt";

LString Version::getProduct()
{
    return LString(L"VELTRINA");
}

LString Version::getVersion()
{
    return LString(L"1.1.1");
}

LString Version::getFullName()
{
    return LString(L"%1 [%2]").arg(getProduct()).arg(getVersion());
}

bool Version::isSimulator()
{
    return !OKU::getEnv("KARO_ROOT", "").empty();
}

LString Version::getBootromVersion()
{
    std::string bytes;
    OKU::readRegularFileStart(s_bootromVersionFile, c_bootromVersionBytes, bytes);
    // The file is ASCII: each byte becomes one character.
    std::wstring text;
    for (const char byte : bytes)
        text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return LString(OKU::trim(text, L" \t\r\n"));
}

bool Version::isBootromPreviewVersion()
{
    return getBootromVersion().orig().find(L"Preview") != std::wstring::npos;
}

LString Version::getVersionAt(const std::string& dir)
{
    if (!OKU::pathExists(dir))
        return LString();
    // One byte more than the longest line tells a line that is too long.
    std::string start;
    if (!OKU::readRegularFileStart(joinPath(dir, "VERSION"), c_maxVersionLineBytes + 1, start))
        return LString(LString1(L"UNKNOWN"));
    const std::string line = start.substr(0, start.find('\n'));
    if (start.empty() || line.size() > c_maxVersionLineBytes)
        return LString(LString1(L"UNKNOWN"));
    // A line of nothing but bytes that are not UTF-8 reads as empty too.
    const std::wstring version = OKU::utf8Decode(OKU::rtrim(line, "\r\n"));
    if (version.empty())
        return LString(LString1(L"UNKNOWN"));
    return LString(version);
}
