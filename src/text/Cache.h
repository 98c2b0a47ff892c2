#ifndef OKU_TEXT_CACHE_H
#define OKU_TEXT_CACHE_H

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/NonCopyable.h"
#include "core/Visibility.h"
#include "graphics/Color.h"

namespace OKU {

class CompositePixmap;
class FileFinder;
class Font;
class FontFace;
class Pixmap;
class Shadow;

/// Every font face, font, image, disabled look, composite pixmap and shadow the
/// user interface asked for, loaded or computed once and shared as a pointer to
/// a constant object. Resource names are resolved through a FileFinder; a name
/// that cannot be found or read throws SetupError. GUI thread only.
class Cache : private NonCopyable {
public:
    /// The key of a cached font or face: its file and size.
    struct FontFaceStyle {
        std::string path;
        int32_t size;
        bool operator<(const FontFaceStyle& o) const
        {
            return std::tie(path, size) < std::tie(o.path, o.size);
        }
    };

    /// The key of a cached shadow: its radius and colour.
    struct ShadowStyle {
        int32_t radius;
        Color color;
        bool operator<(const ShadowStyle& o) const
        {
            if (radius != o.radius)
                return radius < o.radius;
            return color < o.color;
        }
    };

    /// The font files of the default font: the face that gives each style
    /// its look and metrics, by [bold][italic], and the faces searched after
    /// it, in order, for the characters it lacks (the script faces first, a
    /// catch-all face last).
    struct DefaultFontFaces {
        std::string styleFaces[2][2];
        std::vector<std::string> fallbackFaces;
    };

    explicit Cache(const FileFinder& fileFinder);

    std::shared_ptr<const FontFace> getFontFace(const std::string& name, int size);
    /// A font with exactly the one face of that file.
    std::shared_ptr<const Font> getFont(const std::string& name, int size);
    /// The default font at a pixel size, in one of its four styles: the
    /// style's face followed by the fallback faces (see DefaultFontFaces).
    std::shared_ptr<const Font> getFont(int size, bool bold, bool italic);
    const DefaultFontFaces& getDefaultFontFaces() const { return m_defaultFaces; }
    /// Default fonts asked for afterwards use these files; fonts handed out
    /// before keep theirs, so a program sets them before its first page.
    void setDefaultFontFaces(const DefaultFontFaces& faces);

    /// Images by resource name (the file is name + ".png").
    std::shared_ptr<const Pixmap> getPixmap(const std::string& name);
    /// Keeps an existing entry of that name.
    void setPixmap(const std::string& name, const std::shared_ptr<const Pixmap>& pixmap);
    void freePixmap(const std::string& name);
    /// Desaturated and contrast-reduced copy, one per image object.
    std::shared_ptr<const Pixmap> getDisabled(const std::shared_ptr<const Pixmap>& pixmap);

    /// Composite pixmaps by resource name (the file is name + ".cpm").
    std::shared_ptr<const CompositePixmap> getCPM(const std::string& name);
    void setCPM(const std::string& name, const std::shared_ptr<const CompositePixmap>& cpm);

    std::shared_ptr<const Shadow> getShadow(int radius, const Color& color);

    /// Entries only the cache still holds are removed.
    void freeUnusedFonts();
    void freeUnusedPixmaps();
    void freeUnusedCPMs();
    void freeUnusedShadows();
    void freeUnused();

private:
    typedef std::tuple<int32_t, bool, bool> DefaultFontStyle;

    /// The cached face of a file and size, or a new one; a new face opened on
    /// first use leaves its file closed until a character reaches it.
    OKU_LOCAL std::shared_ptr<const FontFace> findFace(const std::string& name, int size,
                                                       bool onFirstUse);

    const FileFinder& m_fileFinder;
    std::map<FontFaceStyle, std::shared_ptr<const FontFace>> m_fontFaces;
    std::map<FontFaceStyle, std::shared_ptr<const Font>> m_fonts;
    DefaultFontFaces m_defaultFaces;
    std::map<DefaultFontStyle, std::shared_ptr<const Font>> m_defaultFonts;
    std::map<std::string, std::shared_ptr<const Pixmap>> m_pixmaps;
    std::map<std::shared_ptr<const Pixmap>, std::shared_ptr<const Pixmap>> m_disabled;
    std::map<std::string, std::shared_ptr<const CompositePixmap>> m_cpms;
    std::map<ShadowStyle, std::shared_ptr<const Shadow>> m_shadows;
};

} // namespace OKU

#endif
