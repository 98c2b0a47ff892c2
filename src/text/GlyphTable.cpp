#include "text/GlyphTable.h"

#include <cstdint>

namespace OKU {

GlyphTable& GlyphTable::operator=(const GlyphTable&)
{
    clear();
    return *this;
}

const std::shared_ptr<const Glyph>* GlyphTable::findBeyond(wchar_t c) const
{
    const auto it = m_beyond.find(c);
    return it == m_beyond.end() ? nullptr : &it->second;
}

const std::shared_ptr<const Glyph>& GlyphTable::store(wchar_t c,
                                                      std::shared_ptr<const Glyph> glyph)
{
    const std::uint32_t code = static_cast<std::uint32_t>(c);
    if (code >= c_pagedEnd)
        return m_beyond[c] = std::move(glyph);
    const std::uint32_t page = code >> c_pageBits;
    if (m_pages.empty())
        m_pages.resize(c_pagedEnd >> c_pageBits);
    if (!m_pages[page])
        m_pages[page] = std::make_unique<Page>();
    return (*m_pages[page])[code % c_pageSize] = std::move(glyph);
}

void GlyphTable::clear()
{
    m_pages.clear();
    m_beyond.clear();
}

} // namespace OKU
