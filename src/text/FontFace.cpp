#include "text/FontFace.h"

#include "core/FatalError.h"
#include "core/SetupError.h"
#include "text/detail/FtFace.h"
#include "text/detail/FtServer.h"
#include "text/detail/FtSize.h"

namespace OKU {

namespace {

// Outlines are rendered even where the font also carries bitmaps.
const int c_loadFlags = FT_LOAD_NO_BITMAP;

const wchar_t c_returnSymbol = 0x21B5;

// LRM, RLM and the embedding and override controls occupy no space.
bool isDirectionalMark(wchar_t c)
{
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E);
}

} // namespace

FontFace::FontFace(const std::string& path, int height, int width)
    : m_path(path), m_height(height), m_width(width)
{
    opened();
}

FontFace::FontFace(const std::string& path, int height, int width, OnFirstUse)
    : m_path(path), m_height(height), m_width(width)
{
    if (!FtServer::g().isFontFile(path))
        throw SetupError("FontFace(\"" + path + "\") file error");
}

FontFace::FontFace(const void* data, int size, int height, int width)
{
    const std::shared_ptr<FtFace> face = FtServer::g().getFace(data, size);
    if (!face)
        fatalError("FontFace(memory) memory error");
    m_size = face->getSize(height, width);
    if (!m_size)
        fatalError("FontFace(memory) size error");
    setMetrics();
}

const FontFace& FontFace::opened() const
{
    if (m_size)
        return *this;
    const std::shared_ptr<FtFace> face = FtServer::g().getFace(m_path);
    if (!face)
        throw SetupError("FontFace(\"" + m_path + "\") file error");
    m_size = face->getSize(m_height, m_width);
    if (!m_size)
        throw SetupError("FontFace(\"" + m_path + "\") size error");
    setMetrics();
    return *this;
}

const FtSize& FontFace::size() const
{
    return *opened().m_size;
}

void FontFace::setMetrics() const
{
    m_ascender = (m_size->getAscender() + 63) >> 6;
    m_descender = -(m_size->getDescender() >> 6);
    m_lineSpacing = (m_size->getHeight() + 63) >> 6;
}

std::shared_ptr<const Glyph> FontFace::render(wchar_t c) const
{
    const FtSize::BitmapGlyph bg = size().getBitmapGlyph(c, c_loadFlags);
    if (!bg)
        return nullptr;
    return std::make_shared<const Glyph>(bg.getAdvance().x / 64, bg.getBearingX() / 64,
                                         bg.getBearingY() / 64, bg.getWidth() / 64,
                                         bg.getHeight() / 64, bg.getLeft(), bg.getTop(),
                                         bg.getBitmap());
}

std::shared_ptr<const Glyph> FontFace::getGlyph(wchar_t c) const
{
    if (isDirectionalMark(c))
        return std::make_shared<const Glyph>();
    if (c == L'\n' || c == L'\r')
        c = c_returnSymbol;
    const auto it = m_glyphs.find(c);
    if (it != m_glyphs.end())
        return it->second;
    std::shared_ptr<const Glyph> glyph = render(c);
    // A character the face does not have is remembered as an empty entry,
    // so that fallback to later faces of a font stays out of FreeType; other
    // failures are tried again next time.
    if (glyph || size().getFace()->getUnicodeCharIndex(c) == 0)
        m_glyphs[c] = glyph;
    return glyph;
}

std::shared_ptr<const Glyph> FontFace::getUndefinedGlyph() const
{
    std::shared_ptr<const Glyph>& entry = m_glyphs[0];
    if (!entry) {
        entry = render(0);
        if (!entry)
            entry = std::make_shared<const Glyph>();
    }
    return entry;
}

FontTransform::Vector<int> FontFace::getKerning(wchar_t left, wchar_t right) const
{
    const FtVector k = size().getKerning(left, right);
    return FontTransform::Vector<int>(k.x / 64, k.y / 64);
}

std::wstring FontFace::getFamilyName() const
{
    return size().getFace()->getFamilyName();
}

std::wstring FontFace::getStyleName() const
{
    return size().getFace()->getStyleName();
}

bool FontFace::isBold() const
{
    return size().getFace()->isBold();
}

bool FontFace::isItalic() const
{
    return size().getFace()->isItalic();
}

std::set<wchar_t> FontFace::getCharset() const
{
    return size().getFace()->getCharset();
}

void FontFace::appendCharset(std::set<wchar_t>& charset) const
{
    size().getFace()->appendCharset(charset);
}

void FontFace::flushCache() const
{
    m_glyphs.clear();
}

} // namespace OKU
