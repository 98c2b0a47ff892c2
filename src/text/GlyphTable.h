#ifndef OKU_TEXT_GLYPHTABLE_H
#define OKU_TEXT_GLYPHTABLE_H

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "text/Glyph.h"

namespace OKU {

/// A font's glyphs by character, looked up by index instead of by search:
/// the Basic Multilingual Plane in pages of 128 characters, made when a
/// character of the page is first stored, and a map for the code points
/// beyond. A cache only, so a copy starts empty.
class GlyphTable {
public:
    GlyphTable() = default;
    GlyphTable(const GlyphTable&) {}
    GlyphTable& operator=(const GlyphTable&);

    /// The glyph stored for c, or null when there is none. Inline, as every
    /// character drawn or measured is looked up.
    const std::shared_ptr<const Glyph>* find(wchar_t c) const;
    /// Stores glyph, which must not be null, for c and returns the stored
    /// pointer, which stays where it is until clear().
    const std::shared_ptr<const Glyph>& store(wchar_t c, std::shared_ptr<const Glyph> glyph);
    void clear();

private:
    static const unsigned c_pageBits = 7;
    static const unsigned c_pageSize = 1u << c_pageBits;
    static const unsigned c_pagedEnd = 0x10000;

    /// An entry is null until its glyph is stored.
    typedef std::array<std::shared_ptr<const Glyph>, c_pageSize> Page;

    const std::shared_ptr<const Glyph>* findBeyond(wchar_t c) const;

    std::vector<std::unique_ptr<Page>> m_pages;
    std::map<wchar_t, std::shared_ptr<const Glyph>> m_beyond;
};

inline const std::shared_ptr<const Glyph>* GlyphTable::find(wchar_t c) const
{
    // Unsigned, so that a negative wchar_t is beyond the pages too.
    const std::uint32_t code = static_cast<std::uint32_t>(c);
    if (code >= c_pagedEnd)
        return findBeyond(c);
    const std::uint32_t page = code >> c_pageBits;
    if (page >= m_pages.size() || !m_pages[page])
        return nullptr;
    const std::shared_ptr<const Glyph>& entry = (*m_pages[page])[code % c_pageSize];
    return entry ? &entry : nullptr;
}

} // namespace OKU

#endif
