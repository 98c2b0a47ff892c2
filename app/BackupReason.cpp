#include "BackupReason.h"

#include <cstdio>

#include "core/Utf8.h"

#include "BackupFigures.h"

using OKU::LString;
using OKU::LString1;
using OKU::translatable;

namespace {

// Longer lines are cut: the dialog is for a reason, not for a log.
const std::size_t c_maxReasonBytes = 200;

struct KnownReason {
    const char* prefix;
    const wchar_t* text;
};

const KnownReason c_knownReasons[] = {
    {"read-only: ", translatable(L"The USB drive is write-protected.")},
    {"not mounted: ", translatable(L"The USB drive is not mounted.")},
    {"archive exists: ", translatable(L"A backup of the same name is already on the USB drive.")},
    {"read-back failed: ", translatable(L"The backup could not be read back from the USB drive.")},
};

std::string lastLine(const std::string& text)
{
    std::size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos)
        return std::string();
    const std::size_t newline = text.rfind('\n', end);
    const std::size_t begin = newline == std::string::npos ? 0 : newline + 1;
    return text.substr(begin, end + 1 - begin);
}

// "PROGRAM: text" gives "text" when PROGRAM is one word.
std::string withoutProgramName(const std::string& line)
{
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos || colon == 0 || line.find(' ') < colon)
        return line;
    return line.substr(colon + 2);
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

} // namespace

LString backupFailureReason(const std::string& errors)
{
    const std::string reason = withoutProgramName(lastLine(errors));
    unsigned long long freeBytes = 0;
    unsigned long long neededBytes = 0;
    int consumed = 0;
    if (std::sscanf(reason.c_str(), "no space: %llu bytes free, %llu bytes needed%n", &freeBytes,
                    &neededBytes, &consumed) == 2 &&
        static_cast<std::size_t>(consumed) == reason.size())
        return LString(LString1(L"There is not enough space on the USB drive: %1 free, %2 needed."))
            .arg(sizeText(freeBytes))
            .arg(sizeText(neededBytes));
    for (const KnownReason& known : c_knownReasons) {
        if (startsWith(reason, known.prefix))
            return LString(LString1(known.text));
    }
    return LString(OKU::utf8Decode(reason.substr(0, c_maxReasonBytes)));
}
