#include "BackupFigures.h"

using OKU::LString;
using OKU::LString1;

namespace {

const double c_megabyte = 1e6;
const double c_gigabyte = 1e9;

} // namespace

LString sizeText(unsigned long long bytes)
{
    const double size = static_cast<double>(bytes);
    if (size >= 1000 * c_megabyte)
        return LString(LString1(L"%1 GB")).arg(LString::Number(size / c_gigabyte, 1));
    return LString(LString1(L"%1 MB")).arg(LString::Number(size / c_megabyte, size < 10 * c_megabyte ? 1 : 0));
}

LString durationText(unsigned long long seconds)
{
    const LString::Number secondsOfMinute(seconds % 60, 2, L'0');
    if (seconds < 3600)
        return LString(L"%1:%2").arg(LString::Number(seconds / 60, 0, L' ')).arg(secondsOfMinute);
    return LString(L"%1:%2:%3")
        .arg(LString::Number(seconds / 3600, 0, L' '))
        .arg(LString::Number(seconds / 60 % 60, 2, L'0'))
        .arg(secondsOfMinute);
}
