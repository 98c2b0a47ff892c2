#ifndef OKU_GUI_WIDGETS_BUTTONPAINTER_H
#define OKU_GUI_WIDGETS_BUTTONPAINTER_H

#include <memory>
#include <string>

#include "core/Visibility.h"
#include "graphics/CompositePixmapSet.h"
#include "gui/widgets/WidgetPainter.h"

namespace OKU {

/// Draws a button: the composite pixmap of its state stretched over the
/// whole rectangle, the content pixmap of the state and the text laid out by
/// WidgetPainter in the state's foreground colour, and on top an optional
/// overlay (a small pixmap or text pinned to a side or corner, such as a
/// badge). Starts with the theme's push-button set; the set must hold all four
/// composite pixmaps.
class ButtonPainter : public WidgetPainter {
public:
    ButtonPainter();

    using WidgetPainter::draw;
    using WidgetPainter::getMinSize;

    virtual void setCompositePixmapSet(const CompositePixmapSet& set);
    virtual void draw(Painter& p, int x, int y, int w, int h, const std::wstring& text,
                      bool enabled, bool down, Layout layout);
    /// The down pixmap is shown while the button is pressed.
    virtual void setPixmap(std::shared_ptr<const Pixmap> up, std::shared_ptr<const Pixmap> down);
    /// An overlay pixmap replaces an overlay text and the other way round.
    virtual void setOverlayPixmap(std::shared_ptr<const Pixmap> pixmap, HAlign halign,
                                  VAlign valign);
    virtual void setOverlayText(const std::wstring& text, HAlign halign, VAlign valign);
    virtual void setOverlayMargin(int margin);
    /// Room for the larger of the up and the down pixmap.
    Size getMinSize(const std::wstring& text) const override;
    /// One pixmap for both states.
    void setPixmap(std::shared_ptr<const Pixmap> pixmap) override;

    /// The text colour of the up and down looks; disabled looks keep theirs.
    void setFontColor(const Color& c)
    {
        m_set.setForegroundColor(c);
        attributeChanged();
    }
    /// Per side, how far the widest of the four looks reaches beyond the button.
    Margins getMaxOuterMargins() const;
    const CompositePixmapSet& getCompositePixmapSet() const { return m_set; }
    const std::shared_ptr<const Pixmap>& getDownPixmap() const { return m_downPixmap; }

private:
    /// Where an overlay of this size goes inside (x, y, w, h).
    OKU_LOCAL Point overlayPosition(int x, int y, int w, int h, const Size& size,
                                    Layout layout) const;
    OKU_LOCAL void drawOverlay(Painter& p, int x, int y, int w, int h, const Color& color,
                               Layout layout);

    CompositePixmapSet m_set;
    std::shared_ptr<const Pixmap> m_downPixmap;
    std::shared_ptr<const Pixmap> m_overlayPixmap;
    std::wstring m_overlayText;
    std::shared_ptr<const Font> m_overlayFont;
    HAlign m_overlayHAlign = HAlign::RIGHT;
    VAlign m_overlayVAlign = VAlign::TOP;
    int32_t m_overlayMargin;
};

} // namespace OKU

#endif
