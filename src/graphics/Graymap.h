#ifndef OKU_GRAPHICS_GRAYMAP_H
#define OKU_GRAPHICS_GRAYMAP_H

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <utility>

namespace OKU {

class Font;
class Pixmap;

/// A single-channel 8-bit image with an optional alpha plane of the same size.
/// Values are ink (coverage): 0 is white paper or no glyph coverage, 255 full
/// ink, so gray level g corresponds to the value 255 - g. Both planes are
/// stored row-major with a stride of exactly width bytes. Maps are values:
/// copies copy both planes, a moved-from map is empty.
class Graymap {
public:
    Graymap() = default;
    /// The value plane is not cleared; the alpha plane, when requested, is
    /// filled with 255. Negative sizes count as 0.
    Graymap(int width, int height, bool withAlpha);
    /// value = 255 - ((c0 + 2 * green + c2) >> 2); alpha taken from the pixmap
    /// when it has alpha.
    explicit Graymap(const Pixmap& pixmap);
    Graymap(const Graymap& other);
    Graymap(Graymap&& other) noexcept;
    Graymap& operator=(const Graymap& other);
    Graymap& operator=(Graymap&& other) noexcept;
    ~Graymap() = default;

    void swap(Graymap& other) noexcept
    {
        m_pixels.swap(other.m_pixels);
        m_alpha.swap(other.m_alpha);
        std::swap(m_width, other.m_width);
        std::swap(m_height, other.m_height);
    }
    /// Same size, same presence of alpha and identical planes.
    bool operator==(const Graymap& other) const;
    bool operator!=(const Graymap& other) const { return !(*this == other); }

    /// Reallocates only when the size or the presence of alpha changes; the
    /// contents are then undefined.
    void resize(int width, int height, bool withAlpha);
    void resize(int width, int height) { resize(width, height, hasAlpha()); }
    void clear(int value);
    /// Adds an opaque alpha plane when there is none.
    void setAlpha();
    void clearAlpha() { m_alpha.reset(); }

    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }
    bool hasAlpha() const { return m_alpha != nullptr; }
    unsigned char* getPixels() { return m_pixels.get(); }
    const unsigned char* getPixels() const { return m_pixels.get(); }
    unsigned char* getRow(int y) { return m_pixels.get() + rowOffset(y); }
    const unsigned char* getRow(int y) const { return m_pixels.get() + rowOffset(y); }
    /// Null without an alpha plane.
    unsigned char* getAlpha() { return m_alpha.get(); }
    const unsigned char* getAlpha() const { return m_alpha.get(); }
    unsigned char* getAlphaRow(int y) { return m_alpha.get() + rowOffset(y); }
    const unsigned char* getAlphaRow(int y) const { return m_alpha.get() + rowOffset(y); }

    /// Drawing into the value plane; everything is clipped to the map.
    void drawHLine(int x, int y, int length, int value) { drawSolidRect(x, y, length, 1, value); }
    void drawVLine(int x, int y, int length, int value) { drawSolidRect(x, y, 1, length, value); }
    /// Both end points included; Bresenham along the major axis.
    void drawLine(int x0, int y0, int x1, int y1, int value);
    void drawSolidRect(int x, int y, int w, int h, int value);
    /// Copies src's value plane to (x, y); alpha planes are ignored.
    void drawGraymap(int x, int y, const Graymap& src);
    /// fg where src is non-zero, bg where it is zero.
    void drawDuotoneGraymap(int x, int y, const Graymap& src, int fg, int bg);
    /// One line in logical order, without kerning or shaping: every glyph
    /// fills its advance times the font's line height from y with bg and puts
    /// its ink in fg. A soft hyphen is drawn only at the end of the text.
    void drawString(int x, int y, const Font& font, const std::wstring& text, int fg, int bg);

    /// Adds with saturation to 0..255.
    static void pixelAdd(unsigned char& p, int delta);
    /// Every value v becomes 255 - v; alpha is copied.
    Graymap getNegative() const;
    /// Values below t become 0, all others 255.
    void threshold(int t);
    /// Floyd-Steinberg error diffusion to 0 and 255 with serpentine scanning.
    void dither();
    /// Composes the map over the background value and drops the alpha plane.
    void flatten(int background);
    /// Whether every value is 0 or 255, ignoring fully transparent pixels.
    bool isBlackAndWhite() const;

    /// Integer scaling; a zero factor gives an empty map. downscale averages
    /// whole blocks (truncating) and drops partial blocks at the right and
    /// bottom.
    Graymap upscale(unsigned fx, unsigned fy) const;
    Graymap downscale(unsigned fx, unsigned fy) const;
    Graymap scaleNearest(int width, int height) const;
    /// Low-pass filters first when shrinking, so that fine detail does not alias.
    Graymap scaleBilinear(int width, int height, int taps) const;

    /// Windowed-sinc low-pass filters with cut-offs as fractions of the
    /// sampling rate (0.5 passes everything); edges are clamped.
    Graymap lowPassFilterX(float fc, int taps) const;
    Graymap lowPassFilterY(float fc, int taps) const;
    Graymap lowPassFilter2(float fcx, float fcy, int taps) const;
    /// Filters only in the directions whose cut-off is below 0.5.
    Graymap lowPassFilter(float fcx, float fcy, int taps) const;

    /// Binary "P4", "P5" and "P6" images; false on malformed input or a stream
    /// error, the map then holding what was read so far.
    bool readPNM(std::istream& in);
    /// Fails on a path that is no regular file or is larger than
    /// c_maxImageFileBytes.
    bool loadPNM(const std::string& path);
    /// A binary "P5" image with maximum 255; alpha is not written.
    bool writePGM(std::ostream& out) const;
    bool savePGM(const std::string& path) const;

private:
    size_t rowOffset(int y) const { return static_cast<size_t>(y) * static_cast<size_t>(m_width); }
    size_t getSize() const { return rowOffset(m_height); }

    std::unique_ptr<unsigned char[]> m_pixels;
    std::unique_ptr<unsigned char[]> m_alpha;
    int32_t m_width = 0;
    int32_t m_height = 0;
};

} // namespace OKU

#endif
