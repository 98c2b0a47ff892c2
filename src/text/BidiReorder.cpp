#include "text/Bidi.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <utility>

namespace OKU {

namespace {

// Characters drawn as their partner inside right-to-left text.
constexpr std::pair<wchar_t, wchar_t> c_mirrorPairs[] = {
    {L'(', L')'}, {L'[', L']'}, {L'{', L'}'}, {L'<', L'>'}, {0x00AB, 0x00BB},
};

wchar_t mirrored(wchar_t c) {
    for (const auto& pair : c_mirrorPairs) {
        if (c == pair.first)
            return pair.second;
        if (c == pair.second)
            return pair.first;
    }
    return c;
}

// LEFT-TO-RIGHT OVERRIDE, RIGHT-TO-LEFT OVERRIDE and POP DIRECTIONAL
// FORMATTING, wide and in UTF-8.
constexpr wchar_t c_lro = 0x202D;
constexpr wchar_t c_rlo = 0x202E;
constexpr wchar_t c_pdf = 0x202C;
constexpr char c_lroUtf8[] = "\xE2\x80\xAD";
constexpr char c_rloUtf8[] = "\xE2\x80\xAE";
constexpr char c_pdfUtf8[] = "\xE2\x80\xAC";

} // namespace

void Bidi::mirror(wchar_t* text, const Char* begin, const Char* end) {
    for (const Char* p = begin; p != end; ++p, ++text) {
        if (p->level % 2 == 1)
            *text = mirrored(*text);
    }
}

namespace {

// Rearranges items (one per character) into display order: every run at or
// above each level, from the highest level down to 1, is reversed.
template <class Item>
void reorderRuns(Item* items, const Bidi::Char* begin, const Bidi::Char* end) {
    const std::size_t count = static_cast<std::size_t>(end - begin);

    // At an odd level every character is reversed an odd number of times
    // below; reversing each base with its marks once more first leaves the
    // marks after their base.
    for (std::size_t i = 0; i < count;) {
        std::size_t groupEnd = i + 1;
        if (begin[i].level % 2 == 1) {
            while (groupEnd < count && begin[groupEnd].initial == Bidi::NSM && begin[groupEnd].level == begin[i].level)
                ++groupEnd;
        }
        std::reverse(items + i, items + groupEnd);
        i = groupEnd;
    }

    // Reversals only happen inside runs of a higher level, so the runs at each
    // level still cover the same positions.
    unsigned char highest = 0;
    for (const Bidi::Char* p = begin; p != end; ++p)
        highest = std::max(highest, p->level);
    for (unsigned level = highest; level >= 1; --level) {
        for (std::size_t i = 0; i < count;) {
            if (begin[i].level < level) {
                ++i;
                continue;
            }
            std::size_t runEnd = i;
            while (runEnd < count && begin[runEnd].level >= level)
                ++runEnd;
            std::reverse(items + i, items + runEnd);
            i = runEnd;
        }
    }
}

} // namespace

std::vector<std::size_t> Bidi::visualOrder(const Char* begin, const Char* end) {
    std::vector<std::size_t> order(static_cast<std::size_t>(end - begin));
    std::iota(order.begin(), order.end(), std::size_t{0});
    reorderRuns(order.data(), begin, end);
    return order;
}

void Bidi::mirrorAndReorder(wchar_t* text, const Char* begin, const Char* end) {
    mirror(text, begin, end);
    reorderRuns(text, begin, end);
}

bool Bidi::isPlainLTR(const wchar_t* begin, const wchar_t* end, Mode mode) {
    if (mode == 1 || mode == 3)
        return false;
    // Mode 0 needs a strong character: without one the language decides.
    bool leftToRight = mode != 0;
    for (const wchar_t* p = begin; p != end; ++p) {
        if (static_cast<uint32_t>(*p) >= 0x0590)
            return false;
        const Type type = getType(*p);
        if (type == B)
            return false;
        leftToRight = leftToRight || type == L;
    }
    return leftToRight;
}

namespace {

// The Chars of a text: on the stack for lines of usual length, so that
// converting one allocates nothing beyond the visual string.
class CharBuffer {
public:
    explicit CharBuffer(std::size_t size) {
        if (size > m_fixed.size()) {
            m_more.resize(size);
            m_data = m_more.data();
        }
    }
    CharBuffer(const CharBuffer&) = delete;
    CharBuffer& operator=(const CharBuffer&) = delete;

    Bidi::Char* data() { return m_data; }

private:
    std::array<Bidi::Char, 160> m_fixed;
    std::vector<Bidi::Char> m_more;
    Bidi::Char* m_data = m_fixed.data();
};

} // namespace

void Bidi::string(const wchar_t* begin, const wchar_t* end, Mode mode, std::wstring& visual) {
    if (isPlainLTR(begin, end, mode)) {
        visual.assign(begin, end);
        return;
    }
    shape(begin, end, visual);
    CharBuffer chars(visual.size());
    Char* const first = chars.data();
    Char* const last = first + visual.size();
    classify(visual.data(), visual.data() + visual.size(), first);
    // Paragraphs are resolved and reordered each on its own.
    for (Char* start = first; start != last;) {
        Char* const stop = paragraphEnd(start, last);
        resolve(start, stop, mode);
        mirrorAndReorder(&visual[static_cast<std::size_t>(start - first)], start, stop);
        start = stop;
    }
}

std::wstring Bidi::lro(const std::wstring& s) {
    return c_lro + s + c_pdf;
}

std::string Bidi::lro(const std::string& s) {
    return c_lroUtf8 + s + c_pdfUtf8;
}

std::wstring Bidi::rlo(const std::wstring& s) {
    return c_rlo + s + c_pdf;
}

std::string Bidi::rlo(const std::string& s) {
    return c_rloUtf8 + s + c_pdfUtf8;
}

} // namespace OKU
