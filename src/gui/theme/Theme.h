#ifndef OKU_GUI_THEME_THEME_H
#define OKU_GUI_THEME_THEME_H

#include <memory>
#include <string>

#include "core/Geometry.h"
#include "graphics/Color.h"
#include "graphics/CompositePixmapSet.h"
#include "text/Cache.h"

namespace OKU {

class Button;
class FileFinder;
class Font;
class Painter;
class Widget;

/// The process-wide look: the resource cache, the default font sizes, colours
/// and spacings widgets copy when they are constructed, the button image sets,
/// the standard dialog buttons and the large coloured buttons. Created once by
/// initGlobal and reached through g(). GUI thread only.
class Theme {
public:
    explicit Theme(const FileFinder& fileFinder);
    virtual ~Theme();

    static void initGlobal(const FileFinder& fileFinder);
    static Theme* g();

    Cache& getCache() { return m_cache; }
    /// The default font chain at this pixel size, regular style.
    std::shared_ptr<const Font> getStandardFont(int size);
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
                                                             bool down, bool enabled);
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

    Cache m_cache;
    int32_t m_tinyFontSize = 8;
    int32_t m_smallerFontSize = 10;
    /// Overlay texts of buttons and the buttons of message windows.
    int32_t m_smallFontSize = 12;
    /// Static texts, button labels and check boxes.
    int32_t m_textFontSize = 16;
    int32_t m_largeFontSize = 20;
    int32_t m_largerFontSize = 24;
    int32_t m_hugeFontSize = 32;
    int32_t m_hugerFontSize = 40;
    int32_t m_headingFontSize = 32;
    int32_t m_largeHeadingFontSize = 40;
    int32_t m_subheadingFontSize = 20;
    Color m_textColor = Color(0, 0, 0, 255);
    Color m_grayColor = Color(128, 128, 128, 255);
    Color m_whiteColor = Color(255, 255, 255, 255);
    Color m_lightColor = Color(224, 224, 224, 255);
    Color m_blackColor = Color(0, 0, 0, 255);
    Color m_silverColor = Color(192, 192, 192, 255);
    Color m_paleColor = Color(240, 240, 240, 255);
    Color m_focusRingColor = Color(0, 90, 220, 255);
    int32_t m_focusRingInset = 3;
    int32_t m_focusRingWidth = 3;
    /// Fixed minimum height of buttons.
    int32_t m_buttonHeight = 40;
    /// WidgetPainter: left and right margins, top and bottom margins, and the
    /// gap between image and text.
    int32_t m_painterHorizMargin = 10;
    int32_t m_painterVertMargin = 5;
    int32_t m_painterPixmapMargin = 5;
    int32_t m_overlayMargin = 2;
    /// Default margin between sizer items.
    int32_t m_sizerMargin = 10;
    /// The four margins of a new container.
    int32_t m_containerMargin = 10;
    /// Margin of the divider above the button row of common windows.
    int32_t m_dividerMargin = 0;
    const FileFinder& m_fileFinder;

    static Theme* s_theme;

private:
    CompositePixmapSet makeSet(const std::string& up, const std::string& upDisabled,
                               const std::string& down, const std::string& downDisabled);
};

} // namespace OKU

#endif
