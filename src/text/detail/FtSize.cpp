#include "text/detail/FtSize.h"

#include FT_SIZES_H

#include "text/detail/FtFace.h"
#include "text/detail/FtServer.h"

namespace OKU {

FtSize::BitmapGlyph::BitmapGlyph(FtServer& server, std::shared_ptr<const FtSize> size,
                                 FT_GlyphSlot slot)
    : m_server(&server),
      m_size(std::move(size)),
      m_bitmap(&slot->bitmap),
      m_advance(static_cast<int32_t>(slot->advance.x), static_cast<int32_t>(-slot->advance.y)),
      m_bearingX(static_cast<int32_t>(slot->metrics.horiBearingX)),
      m_bearingY(static_cast<int32_t>(slot->metrics.horiBearingY)),
      m_width(static_cast<int32_t>(slot->metrics.width)),
      m_height(static_cast<int32_t>(slot->metrics.height)),
      m_left(slot->bitmap_left),
      m_top(-slot->bitmap_top)
{
    m_server->lock();
    m_locked = true;
}

FtSize::BitmapGlyph::BitmapGlyph(BitmapGlyph&& other) noexcept
    : m_locked(other.m_locked),
      m_server(other.m_server),
      m_size(std::move(other.m_size)),
      m_bitmap(other.m_bitmap),
      m_advance(other.m_advance),
      m_bearingX(other.m_bearingX),
      m_bearingY(other.m_bearingY),
      m_width(other.m_width),
      m_height(other.m_height),
      m_left(other.m_left),
      m_top(other.m_top)
{
    other.m_locked = false;
}

FtSize::BitmapGlyph::~BitmapGlyph()
{
    if (m_locked)
        m_server->unlock();
}

FtSize::FtSize(const std::shared_ptr<FtFace>& face, FT_Size size)
    : m_face(face),
      m_size(size),
      m_ascender(static_cast<int32_t>(size->metrics.ascender)),
      m_descender(static_cast<int32_t>(size->metrics.descender)),
      m_height(static_cast<int32_t>(size->metrics.height))
{
    FtServer::Locker locker;
    if (const TT_OS2* os2 = face->getWinMetrics()) {
        m_ascender = static_cast<int32_t>(FT_MulFix(os2->usWinAscent, size->metrics.y_scale));
        m_descender = static_cast<int32_t>(-FT_MulFix(os2->usWinDescent, size->metrics.y_scale));
        m_height = m_ascender - m_descender;
    }
}

FtSize::~FtSize()
{
    FtServer::Locker locker;
    FT_Done_Size(m_size);
}

bool FtSize::activate() const
{
    return FT_Activate_Size(m_size) == 0;
}

FtVector FtSize::getKerning(wchar_t left, wchar_t right) const
{
    FtServer::Locker locker;
    FT_Vector kerning;
    if (!activate() ||
        FT_Get_Kerning(m_face->getHandle(), m_face->getUnicodeCharIndex(left),
                       m_face->getUnicodeCharIndex(right), FT_KERNING_DEFAULT, &kerning) != 0)
        return FtVector();
    return FtVector(static_cast<int32_t>(kerning.x), static_cast<int32_t>(kerning.y));
}

FtSize::BitmapGlyph FtSize::getBitmapGlyph(wchar_t c, int loadFlags) const
{
    FtServer::Locker locker;
    if (!activate())
        return BitmapGlyph();
    const unsigned index = m_face->getUnicodeCharIndex(c);
    if (index == 0 && c != 0)
        return BitmapGlyph();
    const FT_Face face = m_face->getHandle();
    if (FT_Load_Glyph(face, index, loadFlags | FT_LOAD_RENDER) != 0)
        return BitmapGlyph();
    return BitmapGlyph(FtServer::g(), shared_from_this(), face->glyph);
}

void FtSize::setTransform(const FtTransform& matrix, FtVector delta)
{
    FtServer::Locker locker;
    FT_Matrix m{matrix.xx(), matrix.xy(), matrix.yx(), matrix.yy()};
    FT_Vector d{delta.x, delta.y};
    FT_Set_Transform(m_face->getHandle(), &m, &d);
}

} // namespace OKU
