#ifndef OKU_TEXT_FONTFACE_H
#define OKU_TEXT_FONTFACE_H

#include <map>
#include <memory>
#include <set>
#include <string>

#include "core/NonCopyable.h"
#include "core/Visibility.h"
#include "text/FontTransform.h"
#include "text/Glyph.h"

namespace OKU {

class FtSize;

/// One font file (or image) at one pixel size, with a cache of the glyphs
/// rendered so far. Shared as shared_ptr<FontFace const>: the cache (and the
/// file of a face opened on first use) is filled lazily by the const lookups.
class FontFace : private NonCopyable {
public:
    /// Chooses the constructor that leaves the file closed until first use.
    struct OnFirstUse {};

    /// A width of 0 means the same as the height. A file that cannot be
    /// opened or set to the size throws SetupError.
    FontFace(const std::string& path, int height, int width);
    /// The same face, but here the file is only checked to be a font; it is
    /// opened and sized when the face is first asked for anything, and a size
    /// it cannot take throws SetupError then. For the faces of a fallback
    /// chain, which most texts never reach.
    FontFace(const std::string& path, int height, int width, OnFirstUse);
    /// The caller keeps the font image alive as long as the face.
    FontFace(const void* data, int size, int height, int width);

    /// Pixels above the baseline, below it (positive) and from baseline to
    /// baseline, all rounded away from the baseline.
    int getAscender() const { return opened().m_ascender; }
    int getDescender() const { return opened().m_descender; }
    int getLineSpacing() const { return opened().m_lineSpacing; }

    /// The character's glyph, rendered once and then shared; empty when the
    /// face lacks the character. Directional marks give a new glyph that
    /// draws nothing; line feed and carriage return show U+21B5.
    std::shared_ptr<const Glyph> getGlyph(wchar_t c) const;
    std::shared_ptr<const Glyph> getGlyph(wchar_t c, const FontTransform::NullTransform&,
                                          const FontTransform::Vector<int>&) const
    {
        return getGlyph(c);
    }
    /// The font's missing-glyph shape (glyph index 0), or a glyph that draws
    /// nothing if even that cannot be rendered.
    std::shared_ptr<const Glyph> getUndefinedGlyph() const;
    /// In whole pixels.
    FontTransform::Vector<int> getKerning(wchar_t left, wchar_t right) const;

    std::wstring getFamilyName() const;
    std::wstring getStyleName() const;
    bool isBold() const;
    bool isItalic() const;
    std::set<wchar_t> getCharset() const;
    void appendCharset(std::set<wchar_t>& charset) const;

    void flushCache() const;

private:
    /// The face with its file open: opens the file of a face opened on first
    /// use when nothing has asked it before.
    const FontFace& opened() const;
    OKU_LOCAL const FtSize& size() const;
    OKU_LOCAL void setMetrics() const;
    /// Renders what FreeType gives for c, index 0 for c = 0; empty on failure.
    OKU_LOCAL std::shared_ptr<const Glyph> render(wchar_t c) const;

    /// What opening the file of a face opened on first use needs.
    std::string m_path;
    int m_height = 0;
    int m_width = 0;
    mutable std::shared_ptr<FtSize> m_size;
    mutable int m_ascender = 0;
    mutable int m_descender = 0;
    mutable int m_lineSpacing = 0;
    /// Key 0 holds the undefined glyph; an empty entry marks a character the
    /// face does not have.
    mutable std::map<wchar_t, std::shared_ptr<const Glyph>> m_glyphs;
};

} // namespace OKU

#endif
