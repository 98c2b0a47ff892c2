#include "text/Font.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "text/Bidi.h"
#include "text/TextLayout.h"

namespace OKU {

namespace {

bool isThai(wchar_t c)
{
    return c >= 0x0E00 && c <= 0x0E7F;
}

// SARA U, SARA UU and PHINTHU hang below the consonant.
bool isThaiBelowVowel(wchar_t c)
{
    return c >= 0x0E38 && c <= 0x0E3A;
}

Rect moved(const Rect& r, const Point& by)
{
    return Rect(r.x + by.x, r.y + by.y, r.width, r.height);
}

} // namespace

void Font::addFace(const std::shared_ptr<const FontFace>& face)
{
    if (m_faces.empty()) {
        m_ascender = face->getAscender();
        m_descender = face->getDescender();
        m_lineSpacing = face->getLineSpacing();
    }
    m_faces.push_back(face);
    m_glyphs.clear();
}

std::shared_ptr<const Glyph> Font::getGlyph(wchar_t c) const
{
    return cachedGlyph(c);
}

const std::shared_ptr<const Glyph>& Font::lookUpGlyph(wchar_t c) const
{
    for (const auto& face : m_faces) {
        if (std::shared_ptr<const Glyph> glyph = face->getGlyph(c))
            return m_glyphs.store(c, std::move(glyph));
    }
    if (m_faces.empty())
        return m_glyphs.store(c, std::make_shared<const Glyph>());
    return m_glyphs.store(c, m_faces.front()->getUndefinedGlyph());
}

FontTransform::Vector<int> Font::getKerning(wchar_t left, wchar_t right) const
{
    for (const auto& face : m_faces) {
        if (face->getGlyph(left)) {
            if (face->getGlyph(right))
                return face->getKerning(left, right);
            break;
        }
    }
    return FontTransform::Vector<int>();
}

int Font::getRawStringWidth(const std::wstring& text) const
{
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != c_softHyphen || i + 1 == text.size())
            width += cachedGlyph(text[i])->getAdvance();
    }
    return width;
}

int Font::getStringWidth(const std::wstring& text) const
{
    return getRawStringWidth(Bidi::shape(text));
}

int Font::getStringWidth(int n) const
{
    return n * getGlyph(L'M')->getAdvance();
}

Size Font::getTextSize(const std::wstring& text) const
{
    Size size;
    const TextLayout<Font> layout(0, 0, {this}, text.data(), text.data() + text.size(), nullptr, 0,
                                  0, 0, TextLayout<Font>::LEFT, &size.width, &size.height, 0);
    return size;
}

int Font::getTextHeight(const std::wstring& text) const
{
    const auto lineFeeds = std::count(text.begin(), text.end(), L'\n');
    return m_ascender + m_descender + m_lineSpacing * static_cast<int>(lineFeeds);
}

Point Font::getMarkPos(wchar_t c, const Glyph& mark, const Rect& cluster)
{
    if (!isThai(c))
        return Point(cluster.x, 0);
    const Rect bitmap = mark.getPixelBBox();
    const int x = cluster.right() - bitmap.width - bitmap.x;
    if (isThaiBelowVowel(c))
        return Point(x, cluster.bottom() + 1 - bitmap.y);
    return Point(x, cluster.y - 1 - bitmap.y - bitmap.height);
}

Point Font::Pen::place(wchar_t c, const Glyph& glyph)
{
    if (glyph.getAdvance() == 0 && m_haveBase) {
        const Point pos = getMarkPos(c, glyph, m_cluster);
        m_cluster.include(moved(glyph.getPixelBBox(), pos));
        return pos;
    }
    const Point pos(m_x, 0);
    m_cluster = moved(glyph.getPixelBBox(), pos);
    m_x += glyph.getAdvance();
    m_haveBase = true;
    return pos;
}

std::vector<Font::GlyphPos> Font::renderString(std::wstring::const_iterator begin,
                                               std::wstring::const_iterator end, Rect* box) const
{
    std::vector<GlyphPos> glyphs;
    glyphs.reserve(end - begin);
    int left = INT_MAX;
    int right = INT_MIN;
    placeString(begin, end, [&](const std::shared_ptr<const Glyph>& glyph, const Point& pos) {
        if (glyph) {
            const Rect b = glyph->getBBox();
            left = std::min(left, pos.x + b.x);
            right = std::max(right, pos.x + b.x + b.width);
        }
        glyphs.push_back(GlyphPos{glyph, pos});
        return true;
    });
    if (box != nullptr) {
        const int height = m_ascender + m_descender;
        *box = left <= right ? Rect(left, m_ascender, right - left + 1, height)
                             : Rect(0, m_ascender, 0, height);
    }
    return glyphs;
}

Rect Font::getLineBBox(std::wstring::const_iterator begin, std::wstring::const_iterator end) const
{
    Rect box;
    placeString(begin, end, [&box](const std::shared_ptr<const Glyph>& glyph, const Point& pos) {
        if (glyph)
            box.include(moved(glyph->getBBox(), pos));
        return true;
    });
    return box;
}

Rect Font::getBBox(const std::vector<GlyphPos>& glyphs)
{
    Rect box;
    for (const GlyphPos& g : glyphs) {
        if (g.glyph)
            box.include(moved(g.glyph->getBBox(), g.pos));
    }
    return box;
}

Rect Font::getPixelBBox(const std::vector<GlyphPos>& glyphs)
{
    Rect box;
    for (const GlyphPos& g : glyphs) {
        if (g.glyph)
            box.include(moved(g.glyph->getPixelBBox(), g.pos));
    }
    return box;
}

void Font::getRawHorizBBox(const std::wstring& text, int* left, int* width) const
{
    Rect box;
    renderString(text.begin(), text.end(), &box);
    if (left != nullptr)
        *left = box.x;
    if (width != nullptr)
        *width = box.width;
}

void Font::getHorizBBox(const std::wstring& text, int* left, int* width) const
{
    getRawHorizBBox(Bidi::shape(text), left, width);
}

std::set<wchar_t> Font::getCharset() const
{
    std::set<wchar_t> charset;
    appendCharset(charset);
    return charset;
}

void Font::appendCharset(std::set<wchar_t>& charset) const
{
    for (const auto& face : m_faces)
        face->appendCharset(charset);
}

void Font::flushCache() const
{
    m_glyphs.clear();
    for (const auto& face : m_faces)
        face->flushCache();
}

} // namespace OKU
