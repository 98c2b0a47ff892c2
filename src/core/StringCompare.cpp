#include "core/StringCompare.h"

#include <algorithm>
#include <cwctype>

#include "core/CharClass.h"

namespace OKU {

namespace {

int compareNoCase(wchar_t a, wchar_t b)
{
    const wint_t ua = std::towupper(static_cast<wint_t>(a));
    const wint_t ub = std::towupper(static_cast<wint_t>(b));
    if (ua == ub)
        return 0;
    return ua < ub ? -1 : 1;
}

struct DigitRun {
    size_t significant; // first digit after the leading zeros
    size_t end;         // first position behind the run
};

DigitRun scanDigitRun(const std::wstring& s, size_t pos)
{
    while (pos < s.size() && s[pos] == L'0')
        ++pos;
    DigitRun run{pos, pos};
    while (run.end < s.size() && isDigit(s[run.end]))
        ++run.end;
    return run;
}

// Without leading zeros, the longer run is the larger number; equally long
// runs compare like their digits.
int compareDigitRuns(const std::wstring& a, const DigitRun& ra, const std::wstring& b, const DigitRun& rb)
{
    const size_t lengthA = ra.end - ra.significant;
    const size_t lengthB = rb.end - rb.significant;
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    for (size_t k = 0; k < lengthA; ++k) {
        const wchar_t da = a[ra.significant + k];
        const wchar_t db = b[rb.significant + k];
        if (da != db)
            return da < db ? -1 : 1;
    }
    return 0;
}

} // namespace

int noCaseStringCmp(const std::wstring& a, const std::wstring& b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int order = compareNoCase(a[i], b[i]);
        if (order != 0)
            return order;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int smartStringCmp(const std::wstring& a, const std::wstring& b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const DigitRun ra = scanDigitRun(a, i);
            const DigitRun rb = scanDigitRun(b, j);
            const int order = compareDigitRuns(a, ra, b, rb);
            if (order != 0)
                return order;
            i = ra.end;
            j = rb.end;
            continue;
        }
        const int order = compareNoCase(a[i], b[j]);
        if (order != 0)
            return order;
        ++i;
        ++j;
    }
    if (i == a.size())
        return j == b.size() ? 0 : -1;
    return 1;
}

bool wildcardStringCmp(std::wstring::const_iterator textBegin, std::wstring::const_iterator textEnd,
                       std::wstring::const_iterator patternBegin, std::wstring::const_iterator patternEnd)
{
    auto t = textBegin;
    auto p = patternBegin;
    while (p != patternEnd) {
        if (*p == L'*') {
            while (p != patternEnd && *p == L'*')
                ++p;
            if (p == patternEnd)
                return true;
            // The rest of the pattern needs at least one character, so the
            // end of the text itself is no candidate.
            for (; t != textEnd; ++t) {
                if (wildcardStringCmp(t, textEnd, p, patternEnd))
                    return true;
            }
            return false;
        }
        if (t == textEnd)
            return false;
        if (*p != L'?' && compareNoCase(*p, *t) != 0)
            return false;
        ++p;
        ++t;
    }
    return t == textEnd;
}

} // namespace OKU
