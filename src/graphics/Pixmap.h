#ifndef OKU_GRAPHICS_PIXMAP_H
#define OKU_GRAPHICS_PIXMAP_H

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "graphics/Painter.h"

/// getCairo's result type, declared only: the operation lives in a library of
/// its own (liboku-cairo: pkg-config oku-cairo, CMake OKU::oku_cairo), so that
/// programs that never draw with Cairo neither link nor load cairomm. Callers
/// include <cairomm/context.h> to use the context.
namespace Cairo {
template <class T_CppObject>
class RefPtr;
class Context;
} // namespace Cairo

namespace OKU {

class Graymap;

/// The toolkit's 32-bit raster image and its only concrete drawing surface.
/// Rows are stored top to bottom with a stride of exactly width pixels. A pixmap
/// without alpha keeps 255 in every alpha byte, so addAlpha() only sets a flag.
/// Pixmaps are values: copies copy the pixels.
class Pixmap : public Painter {
public:
    /// Memory order blue, green, red, alpha: 0xAARRGGBB as a little-endian word.
    struct Pixel {
        uint8_t blue;
        uint8_t green;
        uint8_t red;
        uint8_t alpha;

        bool operator==(const Pixel& o) const
        {
            return blue == o.blue && green == o.green && red == o.red && alpha == o.alpha;
        }
        bool operator!=(const Pixel& o) const { return !(*this == o); }
    };

    Pixmap() : Painter(Rect(0, 0, 0, 0)) {}
    /// Transparent black with alpha, else opaque black.
    Pixmap(int width, int height, bool alpha) : Pixmap() { resize(width, height, alpha); }
    Pixmap(int width, int height, const Color& c) : Pixmap() { resize(width, height, c); }
    /// Gray map values are ink: 255 gives black.
    explicit Pixmap(const Graymap& graymap);
    Pixmap(const Pixmap& other);
    Pixmap(Pixmap&& other) noexcept;
    Pixmap& operator=(const Pixmap& other);
    Pixmap& operator=(Pixmap&& other) noexcept;
    ~Pixmap() override;

    void swap(Pixmap& other) noexcept;
    void resize(int width, int height, const Color& c);
    void resize(int width, int height, bool alpha)
    {
        resize(width, height, alpha ? Color(0, 0, 0, 0) : Color(0, 0, 0, 255));
    }
    /// Fills the whole image, ignoring clip and offset.
    void clear(const Color& c);

    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    bool hasAlpha() const { return m_hasAlpha; }
    bool isEmpty() const { return m_pixels == nullptr; }
    /// width * height, or 0 without a pixel array.
    size_t getPixelCount() const { return m_pixels ? static_cast<size_t>(m_width) * m_height : 0; }
    Pixel* getPixels() { return m_pixels.get(); }
    const Pixel* getPixels() const { return m_pixels.get(); }
    Pixel* getRow(int y) { return m_pixels.get() + static_cast<size_t>(y) * m_width; }
    const Pixel* getRow(int y) const { return m_pixels.get() + static_cast<size_t>(y) * m_width; }
    const Pixel& getPixel(int x, int y) const { return getRow(y)[x]; }

    /// Painter: clip and primitives. Coordinates are relative to the offset.
    void unsetClipRect() override;
    void setClipRectAbs(const Rect& r) override;
    void drawPixel(int x, int y, const Color& c) override;
    void drawLine(int x1, int y1, int x2, int y2, const Color& c) override;
    void drawSolidRect(int x, int y, int w, int h, const Color& c) override;
    void drawSolidRoundedRect(int x, int y, int w, int h, int radius, const Color& c) override;
    void drawHollowRect(int x, int y, int w, int h, const Color& c, int thickness) override;
    /// Gradients spread over the whole of r, however it is clipped; one pixel
    /// long in the gradient's direction, r takes the first colour.
    void drawVerticalGradient(const Rect& r, const Color& top, const Color& bottom) override;
    void drawHorizontalGradient(const Rect& r, const Color& left, const Color& right) override;
    void drawHollowCircle(int cx, int cy, int r, const Color& c) override;
    void drawSolidCircle(int cx, int cy, int r, const Color& c) override;

    // Glyphs and text.
    void drawGlyph(int x, int y, const std::shared_ptr<const Font>& font,
                   const std::shared_ptr<const Glyph>& glyph, const Color& c,
                   VAlign valign) override;
    void drawGlyph(int x, int y, const std::shared_ptr<const Glyph>& glyph, const Color& c,
                   HAlign halign, VAlign valign) override;
    void drawGlyph(int x, int y, const std::shared_ptr<const Glyph>& glyph, const Color& c);
    void drawGlyphAbs(int x, int y, const Glyph& glyph, const Color& c);
    void drawString(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                    const Color& c, HAlign halign, VAlign valign, BidiMode mode) override;
    void drawString(int x, int y, const Font& font, const std::wstring& text, const Color& c,
                    HAlign halign, VAlign valign, BidiMode mode) override;
    /// The text is already in display order.
    void drawStringAbs(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                       const Color& c, HAlign halign, VAlign valign);
    void drawText(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                  const Color& c, HAlign halign, VAlign valign, BidiMode mode) override;
    void drawTextLayout(int x, int y, int w, int h, const TextLayout<Font>& layout, const Color& c,
                        int layoutHeight, VAlign valign) override;

    /// Blits and block moves in absolute coordinates, unclipped.
    void drawPixmapNoClip(int x, int y, const Pixmap& src, int sx, int sy, int w, int h) override;
    void drawPixmapNoClip(int x, int y, int w, int h, const Pixmap& src, int sx, int sy, int ex0,
                          int exStep, int exDen, int ey0, int eyStep, int eyDen) override;
    void copyRectNoClip(int dx, int dy, int sx, int sy, int w, int h) override;

    /// Single pixels and runs in absolute coordinates; the NoClip forms
    /// require the pixels to lie inside the image. drawPixelNoClip blends the
    /// pixel over the destination like a blit does.
    void drawPixelNoClip(int x, int y, const Pixel& p);
    /// alpha = alpha * m / 256.
    void maskPixelNoClip(int x, int y, int m);
    void drawHLineNoClip(int x, int y, int length, const Color& c);
    void drawVLineNoClip(int x, int y, int length, const Color& c);
    void drawHLine(int x, int y, int length, const Color& c);
    void drawVLine(int x, int y, int length, const Color& c);

    /// One row of a (possibly stretched) blit: copy, blend into a destination
    /// without alpha, blend into a destination with alpha.
    static void copyPixmapLine(Pixel* dst, int count, const Pixel* src, int e0, int eStep, int eDen);
    static void fastMergePixmapLine(Pixel* dst, int count, const Pixel* src, int e0, int eStep,
                                    int eDen);
    static void slowMergePixmapLine(Pixel* dst, int count, const Pixel* src, int e0, int eStep,
                                    int eDen);

    /// Alpha management and whole-image tests.
    void addAlpha() { m_hasAlpha = true; }
    void removeAlphaIfSolid();
    bool copyAlpha(const Pixmap& src);
    bool isSolid() const;
    bool isGray(int tolerance) const;
    bool isBlackAndWhite() const;
    /// Composes the image over the background and drops alpha.
    void flatten(const Color& background);
    void mirror();

    /// Colour filters on the clip rectangle; alpha bytes untouched.
    void desaturate();
    void colorize(const Color& c);
    void brightness(double b);
    void contrast(double k);
    /// Alpha of each column scaled by a factor going from left to right (256 =
    /// unchanged); a rectangle one column wide takes the left factor.
    void maskHorizontalGradient(const Rect& r, int left, int right);

    /// Whether every pixel of the rectangle (offset added, cut to the image)
    /// equals the first; *out then receives that colour.
    bool isSolidRect(int x, int y, int w, int h, Color* out) const;
    /// Shrinks r to the smallest rectangle holding every pixel where a and b differ.
    static void diffShrink(Rect& r, const Pixmap& a, const Pixmap& b);
    /// Whether n pixels down a column from p equal those from q.
    static bool vLineCmp(const Pixel* p, const Pixel* q, int stride, int n);

    /// The load functions fail, like for an unreadable file, on a path that
    /// is no regular file or is larger than c_maxImageFileBytes.
    /// Raw "0UKO" files: a 16-byte little-endian header and the pixel array.
    bool readRaw(std::istream& in);
    void writeRaw(std::ostream& out) const;
    bool loadRaw(const std::string& path);
    bool saveRaw(const std::string& path) const;

    // PNG files.
    bool readPNG(std::istream& in);
    bool writePNG(std::ostream& out) const;
    bool loadPNG(const std::string& path);
    bool savePNG(const std::string& path) const;

    /// Low-pass filters and scalers, each byte of a pixel on its own.
    Pixmap lowPassFilterX(float fc, int taps) const;
    Pixmap lowPassFilterY(float fc, int taps) const;
    Pixmap lowPassFilter2(float fcx, float fcy, int taps) const;
    Pixmap lowPassFilter(float fcx, float fcy, int taps) const;
    Pixmap scaleNearest(int width, int height) const;
    Pixmap scaleBilinear(int width, int height, int taps) const;

    /// Conversion into framebuffer memory laid out like this pixmap (same
    /// width, no padding): 32-bit x8r8g8b8, 16-bit r5g6b5, 16-bit x1b5g5r5.
    void writeRGB32(void* dst, const Rect& r) const;
    void writeBGR16(void* dst, const Rect& r) const;
    void writeRGB15(void* dst, const Rect& r) const;
    void writeRGB32(void* dst) const { writeRGB32(dst, Rect(0, 0, m_width, m_height)); }
    void writeBGR16(void* dst) const { writeBGR16(dst, Rect(0, 0, m_width, m_height)); }
    void writeRGB15(void* dst) const { writeRGB15(dst, Rect(0, 0, m_width, m_height)); }

    /// A Cairo context drawing straight into the pixel array; the pixmap must
    /// outlive it and must not be resized meanwhile. In liboku-cairo.
    Cairo::RefPtr<Cairo::Context> getCairo();

private:
    std::unique_ptr<Pixel[]> m_pixels;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_hasAlpha = false;
};

} // namespace OKU

#endif
