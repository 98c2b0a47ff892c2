#ifndef OKU_GRAPHICS_PAINTER_H
#define OKU_GRAPHICS_PAINTER_H

#include <memory>
#include <string>
#include <utility>

#include "core/Geometry.h"
#include "graphics/Alignment.h"
#include "graphics/Color.h"

namespace OKU {

class CompositePixmap;
class Font;
class Glyph;
class Pixmap;
class Shadow;
template <class F> class TextLayout;

/// The drawing context handed to widgets: a drawing offset added to every
/// relative coordinate and a clip rectangle in absolute surface coordinates.
/// The composite operations are built here on the primitives of a concrete
/// surface, always through the virtual slots so an overriding surface sees them.
class Painter {
public:
    /// Saves offset and clip and puts them back when it goes out of scope,
    /// exceptions included.
    class StateSaver {
    public:
        explicit StateSaver(Painter& painter)
            : m_painter(&painter), m_offset(painter.getOffset()), m_clip(painter.getClipRectAbs())
        {
        }
        StateSaver(StateSaver&& other)
            : m_painter(other.m_painter), m_offset(other.m_offset), m_clip(other.m_clip)
        {
            other.m_painter = nullptr;
        }
        StateSaver(const StateSaver&) = delete;
        StateSaver& operator=(const StateSaver&) = delete;
        ~StateSaver() { restore(); }

        void restore();

    private:
        Painter* m_painter;
        Point m_offset;
        Rect m_clip;
    };

    explicit Painter(const Rect& clip) : m_clip(clip) {}
    Painter(const Painter&) = default;
    Painter& operator=(const Painter&) = default;
    virtual ~Painter();

    void swap(Painter& other)
    {
        std::swap(m_offset, other.m_offset);
        std::swap(m_clip, other.m_clip);
    }

    virtual void setOffset(int x, int y);
    virtual void setOffset(const Point& offset);
    virtual void translate(int dx, int dy);
    virtual void translate(const Point& delta);
    virtual Point getOffset() const;
    virtual void unsetClipRect() = 0;
    virtual void setClipRect(const Rect& r);
    virtual void setClipRectAbs(const Rect& r);
    virtual Rect getClipRect() const;
    virtual Rect getClipRectAbs() const;

    virtual void drawPixel(int x, int y, const Color& c) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, const Color& c) = 0;
    virtual void drawSolidRect(int x, int y, int w, int h, const Color& c) = 0;
    virtual void drawSolidRoundedRect(int x, int y, int w, int h, int radius, const Color& c) = 0;
    virtual void drawHollowRect(int x, int y, int w, int h, const Color& c, int thickness) = 0;
    /// A one-pixel border in the first colour around a fill in the second.
    virtual void drawRect(int x, int y, int w, int h, const Color& border, const Color& fill);
    virtual void drawVerticalGradient(const Rect& r, const Color& top, const Color& bottom) = 0;
    virtual void drawHorizontalGradient(const Rect& r, const Color& left, const Color& right) = 0;
    virtual void drawHollowCircle(int cx, int cy, int r, const Color& c) = 0;
    virtual void drawSolidCircle(int cx, int cy, int r, const Color& c) = 0;

    /// The source rectangle (sx, sy, w, h) at (x, y); it must lie inside src.
    virtual void drawPixmap(int x, int y, const Pixmap& src, int sx, int sy, int w, int h);
    /// The source rectangle (sx, sy, sw, sh) stretched onto (x, y, w, h).
    virtual void drawPixmap(int x, int y, int w, int h, const Pixmap& src, int sx, int sy, int sw,
                            int sh);
    virtual void drawPixmap(int x, int y, int w, int h, const Pixmap& src);
    virtual void drawPixmap(int x, int y, const Pixmap& src);
    virtual void drawTiledPixmap(int x, int y, int w, int h, const Pixmap& tile);
    /// Nine pieces framing (x, y, w, h), reaching beyond it by the outer margins.
    virtual void drawCompositePixmap(int x, int y, int w, int h, const CompositePixmap& cpm);
    /// The shadow of (x, y, w, h) cast by (dx, dy) towards the lower right;
    /// requires 0 <= dx <= w and 0 <= dy <= h.
    virtual void drawRectShadow(int x, int y, int w, int h, int dx, int dy, const Shadow& shadow);

    virtual void drawGlyph(int x, int y, const std::shared_ptr<const Font>& font,
                           const std::shared_ptr<const Glyph>& glyph, const Color& c,
                           VAlign valign) = 0;
    virtual void drawGlyph(int x, int y, const std::shared_ptr<const Glyph>& glyph, const Color& c,
                           HAlign halign, VAlign valign) = 0;
    virtual void drawString(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                            const Color& c, HAlign halign, VAlign valign, BidiMode mode) = 0;
    virtual void drawString(int x, int y, const Font& font, const std::wstring& text,
                            const Color& c, HAlign halign, VAlign valign, BidiMode mode) = 0;
    virtual void drawText(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                          const Color& c, HAlign halign, VAlign valign, BidiMode mode) = 0;
    virtual void drawTextLayout(int x, int y, int w, int h, const TextLayout<Font>& layout,
                                const Color& c, int layoutHeight, VAlign valign) = 0;

    /// Moves a block of the surface; only the destination is clipped.
    virtual void copyRect(int dx, int dy, int sx, int sy, int w, int h);

    /// Absolute coordinates, no clipping: the areas must lie inside both images.
    virtual void drawPixmapNoClip(int x, int y, const Pixmap& src, int sx, int sy, int w, int h) = 0;
    /// Nearest-sample stretch: per destination pixel the horizontal error grows
    /// by exStep and each time it reaches exDen the source advances one pixel;
    /// rows step the same way with the vertical terms.
    virtual void drawPixmapNoClip(int x, int y, int w, int h, const Pixmap& src, int sx, int sy,
                                  int ex0, int exStep, int exDen, int ey0, int eyStep,
                                  int eyDen) = 0;
    virtual void copyRectNoClip(int dx, int dy, int sx, int sy, int w, int h) = 0;

protected:
    Point m_offset;
    Rect m_clip;
};

} // namespace OKU

#endif
