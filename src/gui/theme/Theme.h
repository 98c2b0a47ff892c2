#ifndef OKU_GUI_THEME_THEME_H
#define OKU_GUI_THEME_THEME_H

#include <memory>
#include <string>

#include "core/Geometry.h"
#include "core/Visibility.h"
#include "graphics/Color.h"
#include "graphics/CompositePixmapSet.h"
#include "gui/theme/ThemeSettings.h"
#include "text/Cache.h"

namespace OKU {

class Button;
class FileFinder;
class Font;
class Painter;
class Widget;

/// The process-wide look: the resource cache, the settings (font sizes,
/// colours and spacings) widgets copy when they are constructed, the button
/// image sets, the standard dialog buttons and the large coloured buttons.
/// Created once by initGlobal and reached through g(). GUI thread only.
class Theme {
public:
    explicit Theme(const FileFinder& fileFinder);
    virtual ~Theme();

    static void initGlobal(const FileFinder& fileFinder);
    static Theme* g();

    Cache& getCache() { return m_cache; }
    /// The default font chain at this pixel size, regular style.
    std::shared_ptr<const Font> getStandardFont(int size)
    {
        return m_cache.getFont(size, false, false);
    }
    std::shared_ptr<const Font> getMonoFont(int size);

    CompositePixmapSet getPushButton();
    CompositePixmapSet getSmallPushButton();
    CompositePixmapSet getToggleButton();
    CompositePixmapSet getKeyboardPushButton();
    CompositePixmapSet getKeyboardToggleButton();

    /// New buttons with a localised label and an icon, pixmap position 4
    /// (icon left of the text), centred.
    Button* createYesButton(Widget* parent);
    Button* createNoButton(Widget* parent);
    Button* createOkButton(Widget* parent);
    Button* createCloseButton(Widget* parent);
    Button* createFinishButton(Widget* parent);
    Button* createCancelButton(Widget* parent);
    Button* createStartButton(Widget* parent);
    /// The flag tells whether the arrow points the natural way ("prev" for
    /// Previous, "next" for Next) or the other way.
    Button* createPrevButton(Widget* parent, bool natural);
    Button* createNextButton(Widget* parent, bool natural);

    /// A large button look composed from the "large-button/..." pictures with
    /// a vertical gradient from top to bottom.
    std::shared_ptr<const CompositePixmap> createLargeButton(const Color& top, const Color& bottom,
                                                             bool down, bool enabled)
    {
        return makeLargeButton(m_cache, m_fileFinder, top, bottom, down, enabled);
    }
    CompositePixmapSet createLargeButton(const Color& top, const Color& bottom);
    /// The same over any cache and layout files; createLargeButton passes the
    /// theme's own. Large buttons are not cached.
    static std::shared_ptr<const CompositePixmap> makeLargeButton(Cache& cache,
                                                                  const FileFinder& fileFinder,
                                                                  const Color& top,
                                                                  const Color& bottom, bool down,
                                                                  bool enabled);

    /// The keyboard focus on an area (widget coordinates): a ring inside its
    /// edge, thick and in a colour that stands out on the grey pages, the
    /// light button faces and the dialogs' veil alike.
    virtual void drawFocusRing(Painter& p, const Rect& area) const;

    /// The font sizes, colours and spacings widgets copy when they are built.
    const ThemeSettings& getSettings() const { return m_settings; }
    /// Applies to the widgets built afterwards (and to focus rings drawn from
    /// now on): call it before the first page is built. Fonts other than the
    /// default one's files are the cache's (Cache::setDefaultFontFaces).
    void setSettings(const ThemeSettings& settings) { m_settings = settings; }

    static Theme* s_theme;

private:
    Cache m_cache;
    ThemeSettings m_settings;
    const FileFinder& m_fileFinder;

    OKU_LOCAL CompositePixmapSet makeSet(const std::string& up, const std::string& upDisabled,
                                         const std::string& down, const std::string& downDisabled);
};

} // namespace OKU

#endif
