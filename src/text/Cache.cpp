#include "text/Cache.h"

#include <iterator>

#include "core/FileFinder.h"
#include "core/SetupError.h"
#include "graphics/CompositePixmap.h"
#include "graphics/Pixmap.h"
#include "graphics/Shadow.h"
#include "text/Font.h"
#include "text/FontFace.h"

namespace OKU {

namespace {

// The toolkit's own fonts: Droid Sans, with Roboto for the italic styles,
// then the script faces and the catch-all face.
Cache::DefaultFontFaces defaultFontFaces()
{
    Cache::DefaultFontFaces faces;
    faces.styleFaces[0][0] = "DroidSans.ttf";
    faces.styleFaces[0][1] = "Roboto-Italic.ttf";
    faces.styleFaces[1][0] = "DroidSans-Bold.ttf";
    faces.styleFaces[1][1] = "Roboto-BoldItalic.ttf";
    faces.fallbackFaces = {"DroidSansArabic.ttf", "DroidSansHebrew.ttf", "DroidSansJapanese.ttf",
                           "DroidSansThai.ttf", "DroidSansFallback.ttf"};
    return faces;
}

// A disabled look keeps the picture recognisable but drained: gray, and
// pulled toward middle gray.
const double c_disabledContrast = 0.6;

// Drops the entries whose value nobody but the map holds any more.
template <class Map>
void eraseUnused(Map& map)
{
    for (auto it = map.begin(); it != map.end();)
        it = it->second.use_count() == 1 ? map.erase(it) : std::next(it);
}

// The stored value of key, or the one make() gives, stored first.
template <class Map, class Key, class Make>
typename Map::mapped_type findOrMake(Map& map, const Key& key, Make make)
{
    const auto it = map.find(key);
    if (it != map.end())
        return it->second;
    return map.emplace(key, make()).first->second;
}

} // namespace

Cache::Cache(const FileFinder& fileFinder)
    : m_fileFinder(fileFinder), m_defaultFaces(defaultFontFaces())
{
}

void Cache::setDefaultFontFaces(const DefaultFontFaces& faces)
{
    m_defaultFaces = faces;
    m_defaultFonts.clear();
}

std::shared_ptr<const FontFace> Cache::findFace(const std::string& name, int size, bool onFirstUse)
{
    const FontFaceStyle style{m_fileFinder.find(name), size};
    return findOrMake(m_fontFaces, style, [&style, onFirstUse] {
        if (onFirstUse)
            return std::make_shared<const FontFace>(style.path, style.size, 0,
                                                    FontFace::OnFirstUse());
        return std::make_shared<const FontFace>(style.path, style.size, 0);
    });
}

std::shared_ptr<const FontFace> Cache::getFontFace(const std::string& name, int size)
{
    return findFace(name, size, false);
}

std::shared_ptr<const Font> Cache::getFont(const std::string& name, int size)
{
    const FontFaceStyle style{m_fileFinder.find(name), size};
    return findOrMake(m_fonts, style, [&] {
        auto font = std::make_shared<Font>();
        font->addFace(getFontFace(name, size));
        return std::shared_ptr<const Font>(std::move(font));
    });
}

std::shared_ptr<const Font> Cache::getFont(int size, bool bold, bool italic)
{
    return findOrMake(m_defaultFonts, DefaultFontStyle(size, bold, italic), [&] {
        auto font = std::make_shared<Font>();
        font->addFace(getFontFace(m_defaultFaces.styleFaces[bold][italic], size));
        // Most pages show no character the style face lacks, so the faces
        // behind it, among them the largest files, are opened only when a
        // character first reaches them.
        for (const std::string& file : m_defaultFaces.fallbackFaces)
            font->addFace(findFace(file, size, true));
        return std::shared_ptr<const Font>(std::move(font));
    });
}

std::shared_ptr<const Pixmap> Cache::getPixmap(const std::string& name)
{
    return findOrMake(m_pixmaps, name, [&] {
        auto pixmap = std::make_shared<Pixmap>();
        if (!pixmap->loadPNG(m_fileFinder.find(name + ".png")))
            throw SetupError("Cannot load PNG file \"" + name + "\"");
        return std::shared_ptr<const Pixmap>(std::move(pixmap));
    });
}

void Cache::setPixmap(const std::string& name, const std::shared_ptr<const Pixmap>& pixmap)
{
    m_pixmaps.emplace(name, pixmap);
}

void Cache::freePixmap(const std::string& name)
{
    const auto it = m_pixmaps.find(name);
    if (it == m_pixmaps.end())
        return;
    m_disabled.erase(it->second);
    m_pixmaps.erase(it);
}

std::shared_ptr<const Pixmap> Cache::getDisabled(const std::shared_ptr<const Pixmap>& pixmap)
{
    return findOrMake(m_disabled, pixmap, [&pixmap] {
        auto disabled = std::make_shared<Pixmap>(*pixmap);
        disabled->desaturate();
        disabled->contrast(c_disabledContrast);
        return std::shared_ptr<const Pixmap>(std::move(disabled));
    });
}

std::shared_ptr<const CompositePixmap> Cache::getCPM(const std::string& name)
{
    return findOrMake(m_cpms, name, [&] {
        return std::make_shared<const CompositePixmap>(m_fileFinder.find(name + ".cpm"));
    });
}

void Cache::setCPM(const std::string& name, const std::shared_ptr<const CompositePixmap>& cpm)
{
    m_cpms.emplace(name, cpm);
}

std::shared_ptr<const Shadow> Cache::getShadow(int radius, const Color& color)
{
    return findOrMake(m_shadows, ShadowStyle{radius, color},
                      [&] { return std::make_shared<const Shadow>(radius, color); });
}

void Cache::freeUnusedFonts()
{
    // Default fonts go first: the faces only they held are then unused too.
    eraseUnused(m_defaultFonts);
    eraseUnused(m_fontFaces);
}

void Cache::freeUnusedPixmaps()
{
    // A disabled entry also holds its source image, so it must go before the
    // source can count as unused.
    eraseUnused(m_disabled);
    eraseUnused(m_pixmaps);
}

void Cache::freeUnusedCPMs()
{
    eraseUnused(m_cpms);
}

void Cache::freeUnusedShadows()
{
    eraseUnused(m_shadows);
}

void Cache::freeUnused()
{
    freeUnusedFonts();
    freeUnusedPixmaps();
    freeUnusedCPMs();
    freeUnusedShadows();
}

} // namespace OKU
