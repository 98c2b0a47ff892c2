#include "Version.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "core/Paths.h"
#include "core/StringEdit.h"
#include "core/Utf8.h"

#include "SearchPaths.h"

using OKU::LString;
using OKU::LString1;

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
    std::wstring text;
    int fd = open(s_bootromVersionFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char buffer[100];
        ssize_t n = read(fd, buffer, sizeof buffer);
        close(fd);
        // The file is ASCII: each byte becomes one character.
        for (ssize_t i = 0; i < n; ++i)
            text += static_cast<wchar_t>(static_cast<unsigned char>(buffer[i]));
    }
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
    std::ifstream file(joinPath(dir, "VERSION"));
    std::string line;
    if (!std::getline(file, line))
        return LString(LString1(L"UNKNOWN"));
    // A line of nothing but bytes that are not UTF-8 reads as empty too.
    const std::wstring version = OKU::utf8Decode(OKU::rtrim(line, "\r\n"));
    if (version.empty())
        return LString(LString1(L"UNKNOWN"));
    return LString(version);
}
