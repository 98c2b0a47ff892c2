#include "text/detail/FtFace.h"

#include FT_SIZES_H

#include "core/Utf8.h"
#include "text/detail/FtServer.h"
#include "text/detail/FtSize.h"

namespace OKU {

namespace {

// The OS/2 table when it is present and of a known version.
const TT_OS2* os2Table(FT_Face face)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return os2 != nullptr && os2->version != 0xFFFF ? os2 : nullptr;
}

std::wstring decodedName(const char* name)
{
    return name != nullptr ? utf8Decode(name) : std::wstring();
}

// Sets a new size object to a pixel size. A bitmap face takes the last of
// its fixed sizes that fits, where 0 fits any dimension; the first fitting
// entry fixes both dimensions for the rest of the scan.
bool selectPixelSize(FT_Face face, FT_Size size, int height, int width)
{
    if (FT_Activate_Size(size) != 0)
        return false;
    if (FT_IS_SCALABLE(face))
        return FT_Set_Pixel_Sizes(face, width, height) == 0;
    int selected = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const FT_Bitmap_Size& fixed = face->available_sizes[i];
        if ((width == 0 || fixed.width == width) && (height == 0 || fixed.height == height)) {
            width = fixed.width;
            height = fixed.height;
            selected = i;
        }
    }
    return selected >= 0 && FT_Select_Size(face, selected) == 0;
}

} // namespace

FtFace::FtFace(FT_Face face, std::unique_ptr<FT_StreamRec> stream)
    : m_stream(std::move(stream)),
      m_face(face),
      m_bold((face->style_flags & FT_STYLE_FLAG_BOLD) != 0)
{
    FtServer::Locker locker;
    if (const TT_OS2* os2 = os2Table(face)) {
        m_weightClass = os2->usWeightClass;
        m_widthClass = os2->usWidthClass;
        m_bold = m_weightClass >= 600;
    }
}

FtFace::~FtFace()
{
    FtServer::Locker locker;
    FT_Done_Face(m_face);
}

std::wstring FtFace::getFamilyName() const
{
    return decodedName(m_face->family_name);
}

std::wstring FtFace::getStyleName() const
{
    return decodedName(m_face->style_name);
}

bool FtFace::isItalic() const
{
    return (m_face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
}

bool FtFace::isSymbolic() const
{
    return m_face->charmap != nullptr && m_face->charmap->encoding == FT_ENCODING_MS_SYMBOL;
}

const TT_OS2* FtFace::getWinMetrics() const
{
    FtServer::Locker locker;
    const TT_OS2* os2 = os2Table(m_face);
    return os2 != nullptr && (os2->usWinAscent != 0 || os2->usWinDescent != 0) ? os2 : nullptr;
}

int FtFace::getAscender() const
{
    FtServer::Locker locker;
    const TT_OS2* os2 = getWinMetrics();
    return os2 != nullptr ? os2->usWinAscent : m_face->ascender;
}

int FtFace::getDescender() const
{
    FtServer::Locker locker;
    const TT_OS2* os2 = getWinMetrics();
    return os2 != nullptr ? -os2->usWinDescent : m_face->descender;
}

int FtFace::getHeight() const
{
    FtServer::Locker locker;
    const TT_OS2* os2 = getWinMetrics();
    return os2 != nullptr ? os2->usWinAscent + os2->usWinDescent : m_face->height;
}

int FtFace::getUnitsPerEM() const
{
    return m_face->units_per_EM;
}

int FtFace::boldWeightClass(int w)
{
    if (w <= 100)
        return 300;
    if (w <= 200)
        return 400;
    if (w <= 300)
        return 500;
    if (w <= 500)
        return 700;
    if (w <= 600)
        return 800;
    if (w < 900)
        return 900;
    return w;
}

unsigned FtFace::getUnicodeCharIndex(wchar_t c) const
{
    FtServer::Locker locker;
    const bool symbolic = isSymbolic();
    // Symbol fonts keep their codes in the private range U+F000..U+F0FF;
    // some map the plain 8-bit codes instead.
    unsigned index = FT_Get_Char_Index(m_face, symbolic ? c + 0xF000 : c);
    if (index == 0 && symbolic && c <= 255)
        index = FT_Get_Char_Index(m_face, c);
    return index;
}

std::set<wchar_t> FtFace::getCharset() const
{
    std::set<wchar_t> charset;
    appendCharset(charset);
    return charset;
}

void FtFace::appendCharset(std::set<wchar_t>& charset) const
{
    FtServer::Locker locker;
    FT_UInt index;
    for (FT_ULong c = FT_Get_First_Char(m_face, &index); index != 0;
         c = FT_Get_Next_Char(m_face, c, &index))
        charset.insert(static_cast<wchar_t>(c));
}

std::vector<std::pair<int, int>> FtFace::getSizes() const
{
    std::vector<std::pair<int, int>> sizes;
    if (FT_IS_SCALABLE(m_face))
        return sizes;
    for (int i = 0; i < m_face->num_fixed_sizes; ++i)
        sizes.emplace_back(m_face->available_sizes[i].height, m_face->available_sizes[i].width);
    return sizes;
}

std::shared_ptr<FtSize> FtFace::getSize(int height, int width)
{
    FtServer::Locker locker;
    const std::pair<int, int> key(height, width);
    const auto it = m_sizes.find(key);
    if (it != m_sizes.end()) {
        if (std::shared_ptr<FtSize> size = it->second.lock())
            return size;
    }

    FT_Size ftSize;
    if (FT_New_Size(m_face, &ftSize) != 0)
        return nullptr;
    if (!selectPixelSize(m_face, ftSize, height, width)) {
        FT_Done_Size(ftSize);
        return nullptr;
    }
    auto size = std::make_shared<FtSize>(shared_from_this(), ftSize);
    m_sizes[key] = size;
    return size;
}

FtVector FtFace::getKerning(wchar_t left, wchar_t right) const
{
    FtServer::Locker locker;
    FT_Vector kerning;
    if (FT_Get_Kerning(m_face, getUnicodeCharIndex(left), getUnicodeCharIndex(right),
                       FT_KERNING_UNSCALED, &kerning) != 0)
        return FtVector();
    return FtVector(static_cast<int32_t>(kerning.x), static_cast<int32_t>(kerning.y));
}

FT_GlyphSlot FtFace::getGlyph(wchar_t c) const
{
    FtServer::Locker locker;
    const FT_Int32 unscaled = FT_LOAD_NO_SCALE | FT_LOAD_LINEAR_DESIGN;
    if (FT_Load_Glyph(m_face, getUnicodeCharIndex(c), unscaled) != 0)
        return nullptr;
    return m_face->glyph;
}

} // namespace OKU
