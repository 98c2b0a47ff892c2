#ifndef OKU_TEXT_DETAIL_FTFACE_H
#define OKU_TEXT_DETAIL_FTFACE_H

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "core/NonCopyable.h"
#include "text/detail/FtVector.h"

namespace OKU {

class FtSize;

/// One FreeType face (a font file or image), owned here, with one FtSize per
/// pixel size asked for. Created only inside shared pointers (FtServer), so
/// that sizes can keep their face alive. Metrics are in font units.
class FtFace : public std::enable_shared_from_this<FtFace>, private NonCopyable {
public:
    /// Takes ownership of the face, and of the stream FreeType reads its file
    /// through if it has one of ours; reads its weight and width classes from
    /// the OS/2 table when there is one.
    explicit FtFace(FT_Face face, std::unique_ptr<FT_StreamRec> stream = nullptr);
    ~FtFace();

    /// Empty when the font has none.
    std::wstring getFamilyName() const;
    std::wstring getStyleName() const;
    /// Bold by the OS/2 weight class (600 and above) when the font has that
    /// table, else by FreeType's style flag.
    bool isBold() const { return m_bold; }
    bool isItalic() const;
    /// The selected character map is the Microsoft symbol encoding, whose
    /// codes are looked up shifted by 0xF000.
    bool isSymbolic() const;
    int getWeightClass() const { return m_weightClass; }
    int getWidthClass() const { return m_widthClass; }

    /// From the OS/2 table's Windows metrics when they are usable, else the
    /// face's own; the descender is negative.
    int getAscender() const;
    int getDescender() const;
    int getHeight() const;
    int getUnitsPerEM() const;
    /// The OS/2 table when it has usable Windows ascent and descent values,
    /// which then take the place of the face's own metrics; else null.
    const TT_OS2* getWinMetrics() const;

    /// The weight class of the bold variant of a face of weight class w.
    static int boldWeightClass(int w);

    /// Glyph index of a character, 0 when the face has none.
    unsigned getUnicodeCharIndex(wchar_t c) const;
    /// Every character code the face maps; codes of a symbol map as the map
    /// gives them.
    std::set<wchar_t> getCharset() const;
    void appendCharset(std::set<wchar_t>& charset) const;

    /// (height, width) of every fixed bitmap size of a face without outlines,
    /// in the font's order; empty for a scalable face.
    std::vector<std::pair<int, int>> getSizes() const;
    /// The face at a pixel size, shared while in use; 0 for one dimension
    /// means the same as the other for a scalable face, any for a bitmap
    /// face. Empty when the face cannot be set to that size.
    std::shared_ptr<FtSize> getSize(int height, int width);

    /// Unscaled kerning between two characters in font units, (0, 0) on error.
    FtVector getKerning(wchar_t left, wchar_t right) const;
    /// Loads a character's outline unscaled into the face's glyph slot, null
    /// on error. The slot is overwritten by the next load on this face, so
    /// the caller holds the FreeType lock while it reads it.
    FT_GlyphSlot getGlyph(wchar_t c) const;

    FT_Face getHandle() const { return m_face; }

private:
    /// Released after the face, which closes it.
    std::unique_ptr<FT_StreamRec> m_stream;
    FT_Face m_face;
    bool m_bold;
    int32_t m_weightClass = 400;
    int32_t m_widthClass = 5;
    std::map<std::pair<int, int>, std::weak_ptr<FtSize>> m_sizes;
};

} // namespace OKU

#endif
