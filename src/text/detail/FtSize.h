#ifndef OKU_TEXT_DETAIL_FTSIZE_H
#define OKU_TEXT_DETAIL_FTSIZE_H

#include <cstdint>
#include <memory>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "core/NonCopyable.h"
#include "text/detail/FtTransform.h"
#include "text/detail/FtVector.h"

namespace OKU {

class FtFace;
class FtServer;

/// A face at one pixel size. Created only inside shared pointers
/// (FtFace::getSize); it keeps its face alive. Metrics are 26.6 pixels.
class FtSize : public std::enable_shared_from_this<FtSize>, private NonCopyable {
public:
    /// A rendered glyph in the face's glyph slot. The handle holds the
    /// FreeType lock from its creation to its destruction, so that no other
    /// thread overwrites the slot while the bitmap is copied; the lock is
    /// recursive, so the holder may make further FreeType calls meanwhile.
    class BitmapGlyph : private NonCopyable {
    public:
        /// An empty result: no lock held, nothing to read.
        BitmapGlyph() = default;
        /// Takes the lock once more for the glyph just loaded into the slot of
        /// size's face (the caller holds it already).
        BitmapGlyph(FtServer& server, std::shared_ptr<const FtSize> size, FT_GlyphSlot slot);
        BitmapGlyph(BitmapGlyph&& other) noexcept;
        BitmapGlyph& operator=(BitmapGlyph&&) = delete;
        ~BitmapGlyph();

        explicit operator bool() const { return m_locked; }

        /// Rows, width, pitch, buffer, gray levels and pixel mode.
        const FT_Bitmap* getBitmap() const { return m_bitmap; }
        /// Pen advance in 26.6 pixels, y growing downwards.
        FtVector getAdvance() const { return m_advance; }
        /// Horizontal bearing x and y (upwards), width and height, 26.6.
        int32_t getBearingX() const { return m_bearingX; }
        int32_t getBearingY() const { return m_bearingY; }
        int32_t getWidth() const { return m_width; }
        int32_t getHeight() const { return m_height; }
        /// The bitmap's top-left corner relative to the pen on the baseline,
        /// in whole pixels, y growing downwards.
        int32_t getLeft() const { return m_left; }
        int32_t getTop() const { return m_top; }

    private:
        bool m_locked = false;
        FtServer* m_server = nullptr;
        std::shared_ptr<const FtSize> m_size;
        const FT_Bitmap* m_bitmap = nullptr;
        FtVector m_advance;
        int32_t m_bearingX = 0;
        int32_t m_bearingY = 0;
        int32_t m_width = 0;
        int32_t m_height = 0;
        int32_t m_left = 0;
        int32_t m_top = 0;
    };

    /// Takes ownership of the size object, which is set to its pixel size.
    FtSize(const std::shared_ptr<FtFace>& face, FT_Size size);
    ~FtSize();

    const std::shared_ptr<FtFace>& getFace() const { return m_face; }
    /// Distance from the baseline up; the descender is negative (down).
    int32_t getAscender() const { return m_ascender; }
    int32_t getDescender() const { return m_descender; }
    int32_t getHeight() const { return m_height; }

    /// Grid-fitted kerning at this size, (0, 0) on error.
    FtVector getKerning(wchar_t left, wchar_t right) const;
    /// The character rendered at this size with FreeType's load flags (the
    /// render flag is added). Character 0 gives the font's missing-glyph
    /// shape; any other character the face lacks, or a failure, gives an
    /// empty handle.
    BitmapGlyph getBitmapGlyph(wchar_t c, int loadFlags) const;
    /// Applies to every later rendering of the face, at every size.
    void setTransform(const FtTransform& matrix, FtVector delta);

private:
    /// Makes this size the one FreeType renders at; the caller holds the lock.
    bool activate() const;

    std::shared_ptr<FtFace> m_face;
    FT_Size m_size;
    int32_t m_ascender;
    int32_t m_descender;
    int32_t m_height;
};

} // namespace OKU

#endif
