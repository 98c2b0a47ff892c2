#include "text/Bidi.h"

#include <cstddef>
#include <cstdint>

#include "text/L10n.h"

namespace OKU {

namespace {

// Code points first..last (inclusive) share one class.
struct Run {
    std::uint32_t first;
    std::uint32_t last;
    Bidi::Type type;
};

// True when the runs are in order and cover first..first+size-1 without gap
// or overlap, so that every entry of the expanded table comes from a run.
template <std::size_t R>
constexpr bool coversExactly(const Run (&runs)[R], std::uint32_t first, std::uint32_t size) {
    std::uint32_t next = first;
    for (const Run& run : runs) {
        if (run.first != next || run.last < run.first)
            return false;
        next = run.last + 1;
    }
    return next == first + size;
}

// One entry per code point from the runs; evaluated at compile time.
template <std::size_t N, std::size_t R>
constexpr std::array<Bidi::Type, N> expand(const Run (&runs)[R], std::uint32_t first) {
    std::array<Bidi::Type, N> table{};
    for (const Run& run : runs) {
        for (std::uint32_t c = run.first; c <= run.last; ++c)
            table[c - first] = run.type;
    }
    return table;
}

constexpr Run c_runs_0000[] = {
    {0x0000, 0x0008, Bidi::BN}, {0x0009, 0x0009, Bidi::S},  {0x000A, 0x000A, Bidi::B},
    {0x000B, 0x000B, Bidi::S},  {0x000C, 0x000C, Bidi::WS}, {0x000D, 0x000D, Bidi::B},
    {0x000E, 0x001B, Bidi::BN}, {0x001C, 0x001E, Bidi::B},  {0x001F, 0x001F, Bidi::S},
    {0x0020, 0x0020, Bidi::WS}, {0x0021, 0x0022, Bidi::ON}, {0x0023, 0x0025, Bidi::ET},
    {0x0026, 0x002A, Bidi::ON}, {0x002B, 0x002B, Bidi::ES}, {0x002C, 0x002C, Bidi::CS},
    {0x002D, 0x002D, Bidi::ES}, {0x002E, 0x002F, Bidi::CS}, {0x0030, 0x0039, Bidi::EN},
    {0x003A, 0x003A, Bidi::CS}, {0x003B, 0x0040, Bidi::ON}, {0x0041, 0x005A, Bidi::L},
    {0x005B, 0x0060, Bidi::ON}, {0x0061, 0x007A, Bidi::L},  {0x007B, 0x007E, Bidi::ON},
    {0x007F, 0x0084, Bidi::BN}, {0x0085, 0x0085, Bidi::B},  {0x0086, 0x009F, Bidi::BN},
    {0x00A0, 0x00A0, Bidi::CS}, {0x00A1, 0x00A1, Bidi::ON}, {0x00A2, 0x00A5, Bidi::ET},
    {0x00A6, 0x00A9, Bidi::ON}, {0x00AA, 0x00AA, Bidi::L},  {0x00AB, 0x00AC, Bidi::ON},
    {0x00AD, 0x00AD, Bidi::BN}, {0x00AE, 0x00AF, Bidi::ON}, {0x00B0, 0x00B1, Bidi::ET},
    {0x00B2, 0x00B3, Bidi::EN}, {0x00B4, 0x00B4, Bidi::ON}, {0x00B5, 0x00B5, Bidi::L},
    {0x00B6, 0x00B8, Bidi::ON}, {0x00B9, 0x00B9, Bidi::EN}, {0x00BA, 0x00BA, Bidi::L},
    {0x00BB, 0x00BF, Bidi::ON}, {0x00C0, 0x00D6, Bidi::L},  {0x00D7, 0x00D7, Bidi::ON},
    {0x00D8, 0x00F6, Bidi::L},  {0x00F7, 0x00F7, Bidi::ON}, {0x00F8, 0x00FF, Bidi::L},
};

// Hebrew; unassigned code points are BN.
constexpr Run c_runs_0590[] = {
    {0x0590, 0x0590, Bidi::BN},  {0x0591, 0x05BD, Bidi::NSM}, {0x05BE, 0x05BE, Bidi::R},
    {0x05BF, 0x05BF, Bidi::NSM}, {0x05C0, 0x05C0, Bidi::R},   {0x05C1, 0x05C2, Bidi::NSM},
    {0x05C3, 0x05C3, Bidi::R},   {0x05C4, 0x05C5, Bidi::NSM}, {0x05C6, 0x05C6, Bidi::R},
    {0x05C7, 0x05C7, Bidi::NSM}, {0x05C8, 0x05CF, Bidi::BN},  {0x05D0, 0x05EA, Bidi::R},
    {0x05EB, 0x05EF, Bidi::BN},  {0x05F0, 0x05F4, Bidi::R},   {0x05F5, 0x05FF, Bidi::BN},
};

// Arabic.
constexpr Run c_runs_0600[] = {
    {0x0600, 0x0603, Bidi::AN},  {0x0604, 0x0605, Bidi::BN},  {0x0606, 0x0607, Bidi::ON},
    {0x0608, 0x0608, Bidi::AL},  {0x0609, 0x060A, Bidi::ET},  {0x060B, 0x060B, Bidi::AL},
    {0x060C, 0x060C, Bidi::CS},  {0x060D, 0x060D, Bidi::AL},  {0x060E, 0x060F, Bidi::ON},
    {0x0610, 0x061A, Bidi::NSM}, {0x061B, 0x061B, Bidi::AL},  {0x061C, 0x061D, Bidi::BN},
    {0x061E, 0x061F, Bidi::AL},  {0x0620, 0x0620, Bidi::BN},  {0x0621, 0x064A, Bidi::AL},
    {0x064B, 0x065E, Bidi::NSM}, {0x065F, 0x065F, Bidi::BN},  {0x0660, 0x0669, Bidi::AN},
    {0x066A, 0x066A, Bidi::ET},  {0x066B, 0x066C, Bidi::AN},  {0x066D, 0x066F, Bidi::AL},
    {0x0670, 0x0670, Bidi::NSM}, {0x0671, 0x06D5, Bidi::AL},  {0x06D6, 0x06DC, Bidi::NSM},
    {0x06DD, 0x06DD, Bidi::AN},  {0x06DE, 0x06E4, Bidi::NSM}, {0x06E5, 0x06E6, Bidi::AL},
    {0x06E7, 0x06E8, Bidi::NSM}, {0x06E9, 0x06E9, Bidi::ON},  {0x06EA, 0x06ED, Bidi::NSM},
    {0x06EE, 0x06EF, Bidi::AL},  {0x06F0, 0x06F9, Bidi::EN},  {0x06FA, 0x06FF, Bidi::AL},
};

// Thai.
constexpr Run c_runs_0E00[] = {
    {0x0E00, 0x0E00, Bidi::BN}, {0x0E01, 0x0E30, Bidi::L},  {0x0E31, 0x0E31, Bidi::NSM},
    {0x0E32, 0x0E33, Bidi::L},  {0x0E34, 0x0E3A, Bidi::NSM}, {0x0E3B, 0x0E3E, Bidi::BN},
    {0x0E3F, 0x0E3F, Bidi::ET}, {0x0E40, 0x0E46, Bidi::L},  {0x0E47, 0x0E4E, Bidi::NSM},
    {0x0E4F, 0x0E5B, Bidi::L},  {0x0E5C, 0x0E7F, Bidi::BN},
};

// General punctuation, with the explicit formatting codes.
constexpr Run c_runs_2000[] = {
    {0x2000, 0x200A, Bidi::WS},  {0x200B, 0x200D, Bidi::BN},  {0x200E, 0x200E, Bidi::L},
    {0x200F, 0x200F, Bidi::R},   {0x2010, 0x2027, Bidi::ON},  {0x2028, 0x2028, Bidi::WS},
    {0x2029, 0x2029, Bidi::B},   {0x202A, 0x202A, Bidi::LRE}, {0x202B, 0x202B, Bidi::RLE},
    {0x202C, 0x202C, Bidi::PDF}, {0x202D, 0x202D, Bidi::LRO}, {0x202E, 0x202E, Bidi::RLO},
    {0x202F, 0x202F, Bidi::CS},  {0x2030, 0x2034, Bidi::ET},  {0x2035, 0x2043, Bidi::ON},
    {0x2044, 0x2044, Bidi::CS},  {0x2045, 0x205E, Bidi::ON},  {0x205F, 0x205F, Bidi::WS},
    {0x2060, 0x206F, Bidi::BN},
};

static_assert(coversExactly(c_runs_0000, 0x0000, 0x100), "U+0000..U+00FF not covered exactly");
static_assert(coversExactly(c_runs_0590, 0x0590, 0x70), "U+0590..U+05FF not covered exactly");
static_assert(coversExactly(c_runs_0600, 0x0600, 0x100), "U+0600..U+06FF not covered exactly");
static_assert(coversExactly(c_runs_0E00, 0x0E00, 0x80), "U+0E00..U+0E7F not covered exactly");
static_assert(coversExactly(c_runs_2000, 0x2000, 0x70), "U+2000..U+206F not covered exactly");

} // namespace

// Constant expressions, so the tables are filled before any code runs.
const std::array<Bidi::Type, 0x100> Bidi::s_chtype_0000 = expand<0x100>(c_runs_0000, 0x0000);
const std::array<Bidi::Type, 0x70> Bidi::s_chtype_0590 = expand<0x70>(c_runs_0590, 0x0590);
const std::array<Bidi::Type, 0x100> Bidi::s_chtype_0600 = expand<0x100>(c_runs_0600, 0x0600);
const std::array<Bidi::Type, 0x80> Bidi::s_chtype_0E00 = expand<0x80>(c_runs_0E00, 0x0E00);
const std::array<Bidi::Type, 0x70> Bidi::s_chtype_2000 = expand<0x70>(c_runs_2000, 0x2000);

Bidi::Type Bidi::getType(wchar_t c) {
    // wchar_t may be signed; negative values end up far outside every block.
    const std::uint32_t cp = static_cast<std::uint32_t>(c);
    if (cp <= 0x00FF)
        return s_chtype_0000[cp];
    if (cp >= 0x0590 && cp <= 0x05FF)
        return s_chtype_0590[cp - 0x0590];
    if (cp >= 0x0600 && cp <= 0x06FF)
        return s_chtype_0600[cp - 0x0600];
    if (cp >= 0x0E00 && cp <= 0x0E7F)
        return s_chtype_0E00[cp - 0x0E00];
    if (cp >= 0x2000 && cp <= 0x206F)
        return s_chtype_2000[cp - 0x2000];
    // Arabic presentation forms A and B, which shaping produces.
    if ((cp >= 0xFB50 && cp <= 0xFDFF) || (cp >= 0xFE70 && cp <= 0xFEFF))
        return AL;
    return L;
}

bool Bidi::isLTR(const std::wstring& text) {
    for (wchar_t c : text) {
        switch (getType(c)) {
        case L:
            return true;
        case R:
        case AL:
            return false;
        default:
            break;
        }
    }
    return l10nIsLTR();
}

} // namespace OKU
