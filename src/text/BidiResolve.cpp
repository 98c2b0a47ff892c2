#include "text/Bidi.h"

#include <algorithm>

#include "text/L10n.h"

namespace OKU {

namespace {

// The embeddings and overrides open at a point of a paragraph.
class EmbeddingStack {
public:
    explicit EmbeddingStack(unsigned char baseLevel) : m_current{baseLevel, Bidi::ON} {}

    unsigned char level() const { return m_current.level; }

    // L or R inside an override, ON otherwise.
    Bidi::Type forcedType() const { return m_current.forced; }

    void doEmbed(bool rightToLeft) { open(rightToLeft, Bidi::ON); }
    void doOverride(bool rightToLeft) { open(rightToLeft, rightToLeft ? Bidi::R : Bidi::L); }

    // Closes the innermost embedding or override; codes beyond the depth
    // bound are closed first, and a PDF with nothing open is ignored.
    void close() {
        if (m_overflow > 0) {
            --m_overflow;
        } else if (!m_outer.empty()) {
            m_current = m_outer.back();
            m_outer.pop_back();
        }
    }

private:
    struct Entry {
        unsigned char level;
        Bidi::Type forced;
    };

    void open(bool rightToLeft, Bidi::Type forced) {
        // The next odd or even level above the current one.
        const unsigned next = rightToLeft ? (m_current.level + 1u) | 1u : (m_current.level + 2u) & ~1u;
        if (m_overflow > 0 || next > Bidi::c_maxExplicitLevel) {
            ++m_overflow;
            return;
        }
        m_outer.push_back(m_current);
        m_current = Entry{static_cast<unsigned char>(next), forced};
    }

    std::vector<Entry> m_outer;
    Entry m_current;
    unsigned m_overflow = 0;
};

// How a resolved type counts for the neutral rules: numbers act as R, and
// anything that is not strong is ON.
Bidi::Type neutralDirection(Bidi::Type type) {
    switch (type) {
    case Bidi::L:
        return Bidi::L;
    case Bidi::R:
    case Bidi::EN:
    case Bidi::AN:
        return Bidi::R;
    default:
        return Bidi::ON;
    }
}

// Explicit codes and boundary neutrals, which take no room on screen.
bool isInvisible(Bidi::Type initial) {
    switch (initial) {
    case Bidi::LRE:
    case Bidi::RLE:
    case Bidi::LRO:
    case Bidi::RLO:
    case Bidi::PDF:
    case Bidi::BN:
        return true;
    default:
        return false;
    }
}

} // namespace

Bidi::Type Bidi::resolveRuntype(const Char* begin, const Char* end) {
    for (const Char* p = begin; p != end; ++p) {
        if (p->type == L)
            return L;
        if (p->type == R || p->type == AL)
            return R;
    }
    return l10nIsLTR() ? L : R;
}

Bidi::Char* Bidi::paragraphEnd(Char* begin, Char* end) {
    Char* separator = std::find_if(begin, end, [](const Char& c) { return c.initial == B; });
    return separator == end ? end : separator + 1;
}

std::vector<Bidi::Paragraph> Bidi::resolveParagraphs(Char* begin, Char* end, Mode mode) {
    std::vector<Paragraph> paragraphs;
    for (Char* start = begin; start != end;) {
        Char* stop = paragraphEnd(start, end);
        paragraphs.push_back(Paragraph{start, stop, resolve(start, stop, mode)});
        start = stop;
    }
    return paragraphs;
}

unsigned char Bidi::resolve(Char* begin, Char* end, Mode mode) {
    for (Char* p = begin; p != end; ++p)
        p->type = p->initial;
    Type baseType;
    if (mode == 0)
        baseType = resolveRuntype(begin, end);
    else
        baseType = mode == 1 || mode == 3 ? R : L;
    const unsigned char baseLevel = baseType == R ? 1 : 0;
    resolveExplicit(begin, end, baseLevel);
    resolveWeak(begin, end, baseType);
    resolveNeutral(begin, end, baseType);
    resolveImplicit(begin, end);
    resolveSeparators(begin, end, baseLevel);
    return baseLevel;
}

void Bidi::resolveExplicit(Char* begin, Char* end, unsigned char baseLevel) {
    EmbeddingStack stack(baseLevel);
    for (Char* p = begin; p != end; ++p) {
        switch (p->type) {
        case LRE:
        case RLE:
        case LRO:
        case RLO:
            // A code keeps the level of the text around its embedding.
            p->level = stack.level();
            if (p->type == LRE || p->type == RLE)
                stack.doEmbed(p->type == RLE);
            else
                stack.doOverride(p->type == RLO);
            p->type = BN;
            break;
        case PDF:
            stack.close();
            p->level = stack.level();
            p->type = BN;
            break;
        default:
            p->level = stack.level();
            if (stack.forcedType() != ON)
                p->type = stack.forcedType();
            break;
        }
    }
}

void Bidi::resolveWeak(Char* begin, Char* end, Type baseType) {
    // W1: marks take the type before them.
    Type previous = baseType;
    for (Char* p = begin; p != end; ++p) {
        if (p->type == NSM)
            p->type = previous;
        previous = p->type;
    }

    // W2, W3: numbers after an Arabic letter are Arabic; Arabic letters are R.
    Type lastStrong = baseType;
    for (Char* p = begin; p != end; ++p) {
        if (p->type == L || p->type == R || p->type == AL) {
            lastStrong = p->type;
            if (p->type == AL)
                p->type = R;
        } else if (p->type == EN && lastStrong == AL) {
            p->type = AN;
        }
    }

    // W4: one separator between two numbers of the same kind joins them; the
    // joined pair is then stepped over. p is the character before the separator.
    for (Char* p = begin; end - p >= 3; ++p) {
        Char* separator = p + 1;
        const Type after = separator[1].type;
        if (p->type == EN && after == EN && (separator->type == ES || separator->type == CS)) {
            separator->type = EN;
            ++p;
        } else if (p->type == AN && after == AN && separator->type == CS) {
            separator->type = AN;
            ++p;
        }
    }

    // W5: terminators next to a European number belong to it.
    for (Char* p = begin; p != end;) {
        if (p->type != ET) {
            ++p;
            continue;
        }
        Char* runEnd = p;
        while (runEnd != end && runEnd->type == ET)
            ++runEnd;
        const bool touchesNumber = (p != begin && p[-1].type == EN) || (runEnd != end && runEnd->type == EN);
        for (; touchesNumber && p != runEnd; ++p)
            p->type = EN;
        p = runEnd;
    }

    // W6: separators and terminators left over are neutral.
    for (Char* p = begin; p != end; ++p) {
        if (p->type == ES || p->type == ET || p->type == CS)
            p->type = ON;
    }

    // W7: European numbers in left-to-right context are L.
    lastStrong = baseType;
    for (Char* p = begin; p != end; ++p) {
        if (p->type == L || p->type == R)
            lastStrong = p->type;
        else if (p->type == EN && lastStrong == L)
            p->type = L;
    }
}

void Bidi::resolveNeutral(Char* begin, Char* end, Type baseType) {
    Type before = baseType;
    for (Char* p = begin; p != end;) {
        const Type direction = neutralDirection(p->type);
        if (direction != ON) {
            before = direction;
            ++p;
            continue;
        }
        Char* runEnd = p;
        while (runEnd != end && neutralDirection(runEnd->type) == ON)
            ++runEnd;
        const Type after = runEnd == end ? baseType : neutralDirection(runEnd->type);
        const Type resolved = before == after ? before : baseType;
        for (; p != runEnd; ++p)
            p->type = resolved;
    }
}

void Bidi::resolveImplicit(Char* begin, Char* end) {
    for (Char* p = begin; p != end; ++p) {
        if (p->level % 2 == 0) {
            if (p->type == R)
                p->level += 1;
            else if (p->type == EN || p->type == AN)
                p->level += 2;
        } else if (p->type == L || p->type == EN || p->type == AN) {
            p->level += 1;
        }
    }
}

void Bidi::resolveSeparators(Char* begin, Char* end, unsigned char baseLevel) {
    unsigned char previous = baseLevel;
    for (Char* p = begin; p != end; ++p) {
        if (p->initial == S || p->initial == B)
            p->level = baseLevel;
        else if (isInvisible(p->initial))
            p->level = previous;
        previous = p->level;
    }
}

} // namespace OKU
