#include "graphics/Pixmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "graphics/Graymap.h"

namespace OKU {

namespace {

// Allocates width * height pixels, or nothing for an empty size. A count that
// no array could hold throws like an array of that length would.
std::unique_ptr<Pixmap::Pixel[]> allocatePixels(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (count > SIZE_MAX / sizeof(Pixmap::Pixel))
        throw std::bad_array_new_length();
    return std::unique_ptr<Pixmap::Pixel[]>(new Pixmap::Pixel[static_cast<size_t>(count)]);
}

} // namespace

Pixmap::Pixmap(const Graymap& graymap)
    : Painter(Rect(0, 0, graymap.getWidth(), graymap.getHeight())),
      m_pixels(allocatePixels(graymap.getWidth(), graymap.getHeight())),
      m_width(graymap.getWidth()),
      m_height(graymap.getHeight()),
      m_hasAlpha(graymap.hasAlpha())
{
    const size_t n = getPixelCount();
    const uint8_t* values = graymap.getPixels();
    const uint8_t* alpha = graymap.getAlpha();
    Pixel* dst = m_pixels.get();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t gray = static_cast<uint8_t>(255 - values[i]);
        dst[i] = Pixel{gray, gray, gray, alpha ? alpha[i] : uint8_t(255)};
    }
}

Pixmap::Pixmap(const Pixmap& other)
    : Painter(Rect(0, 0, other.m_width, other.m_height)),
      m_pixels(allocatePixels(other.m_width, other.m_height)),
      m_width(other.m_width),
      m_height(other.m_height),
      m_hasAlpha(other.m_hasAlpha)
{
    if (m_pixels)
        memcpy(m_pixels.get(), other.m_pixels.get(), getPixelCount() * sizeof(Pixel));
}

Pixmap::Pixmap(Pixmap&& other) noexcept
    : Painter(other),
      m_pixels(std::move(other.m_pixels)),
      m_width(other.m_width),
      m_height(other.m_height),
      m_hasAlpha(other.m_hasAlpha)
{
    other.m_width = 0;
    other.m_height = 0;
    other.m_clip = Rect(0, 0, 0, 0);
}

Pixmap& Pixmap::operator=(const Pixmap& other)
{
    if (this != &other) {
        Pixmap copy(other);
        swap(copy);
    }
    return *this;
}

Pixmap& Pixmap::operator=(Pixmap&& other) noexcept
{
    if (this != &other) {
        Pixmap taken(std::move(other));
        swap(taken);
    }
    return *this;
}

Pixmap::~Pixmap() = default;

void Pixmap::swap(Pixmap& other) noexcept
{
    Painter::swap(other);
    std::swap(m_pixels, other.m_pixels);
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
    std::swap(m_hasAlpha, other.m_hasAlpha);
}

void Pixmap::resize(int width, int height, const Color& c)
{
    width = std::max(0, width);
    height = std::max(0, height);
    m_hasAlpha = c.alpha != 255;
    if (width != m_width || height != m_height) {
        m_pixels = allocatePixels(width, height);
        m_width = width;
        m_height = height;
    }
    unsetClipRect();
    clear(c);
}

void Pixmap::clear(const Color& c)
{
    const Pixel fill{static_cast<uint8_t>(c.blue), static_cast<uint8_t>(c.green),
                     static_cast<uint8_t>(c.red),
                     m_hasAlpha ? static_cast<uint8_t>(c.alpha) : uint8_t(255)};
    std::fill_n(m_pixels.get(), getPixelCount(), fill);
}

void Pixmap::unsetClipRect()
{
    setClipRectAbs(Rect(0, 0, m_width, m_height));
}

void Pixmap::setClipRectAbs(const Rect& r)
{
    m_clip = r.intersection(Rect(0, 0, m_width, m_height));
}

void Pixmap::mirror()
{
    for (int y = 0; y < m_height && m_pixels; ++y) {
        Pixel* row = getRow(y);
        std::reverse(row, row + m_width);
    }
}

} // namespace OKU
