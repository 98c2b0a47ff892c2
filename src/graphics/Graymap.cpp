#include "graphics/Graymap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "graphics/Pixmap.h"

namespace OKU {

namespace {

typedef std::unique_ptr<unsigned char[]> PlanePtr;

PlanePtr allocatePlane(int width, int height)
{
    const uint64_t size = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (size > static_cast<uint64_t>(PTRDIFF_MAX))
        throw std::bad_array_new_length();
    return PlanePtr(new unsigned char[static_cast<size_t>(size)]);
}

PlanePtr copyPlane(const PlanePtr& plane, size_t size)
{
    if (!plane)
        return PlanePtr();
    PlanePtr copy(new unsigned char[size]);
    std::copy(plane.get(), plane.get() + size, copy.get());
    return copy;
}

bool samePlane(const unsigned char* a, const unsigned char* b, size_t size)
{
    return size == 0 || std::memcmp(a, b, size) == 0;
}

// The part [begin, end) of a span that lies inside [0, limit).
struct Span {
    int begin;
    int end;
    bool isEmpty() const { return begin >= end; }
};

Span clipSpan(int64_t start, int64_t length, int limit)
{
    const int64_t begin = std::max<int64_t>(start, 0);
    const int64_t end = std::min<int64_t>(start + length, limit);
    return begin < end ? Span{static_cast<int>(begin), static_cast<int>(end)} : Span{0, 0};
}

void fillRect(Graymap& map, int64_t x, int64_t y, int64_t w, int64_t h, int value)
{
    const Span columns = clipSpan(x, w, map.getWidth());
    const Span rows = clipSpan(y, h, map.getHeight());
    if (columns.isEmpty() || rows.isEmpty())
        return;
    for (int row = rows.begin; row < rows.end; ++row)
        std::memset(map.getRow(row) + columns.begin, value, columns.end - columns.begin);
}

// Calls rowOp(destination, source, count) for every row of src placed at
// (x, y) that overlaps dst, with both pointers at the first overlapping pixel.
template <class RowOp>
void forEachOverlappingRow(Graymap& dst, int x, int y, const Graymap& src, RowOp rowOp)
{
    const Span columns = clipSpan(x, src.getWidth(), dst.getWidth());
    const Span rows = clipSpan(y, src.getHeight(), dst.getHeight());
    if (columns.isEmpty() || rows.isEmpty())
        return;
    const int count = columns.end - columns.begin;
    for (int row = rows.begin; row < rows.end; ++row)
        rowOp(dst.getRow(row) + columns.begin, src.getRow(row - y) + (columns.begin - x), count);
}

} // namespace

Graymap::Graymap(int width, int height, bool withAlpha)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0))
{
    m_pixels = allocatePlane(m_width, m_height);
    if (withAlpha)
        setAlpha();
}

Graymap::Graymap(const Pixmap& pixmap) : Graymap(pixmap.getWidth(), pixmap.getHeight(), pixmap.hasAlpha())
{
    for (int y = 0; y < m_height; ++y) {
        const Pixmap::Pixel* src = pixmap.getRow(y);
        unsigned char* dst = getRow(y);
        for (int x = 0; x < m_width; ++x)
            dst[x] = static_cast<unsigned char>(
                255 - ((src[x].blue + 2 * src[x].green + src[x].red) >> 2));
        if (m_alpha) {
            unsigned char* alpha = getAlphaRow(y);
            for (int x = 0; x < m_width; ++x)
                alpha[x] = src[x].alpha;
        }
    }
}

Graymap::Graymap(const Graymap& other)
    : m_pixels(copyPlane(other.m_pixels, other.getSize())),
      m_alpha(copyPlane(other.m_alpha, other.getSize())),
      m_width(other.m_width),
      m_height(other.m_height)
{
}

Graymap::Graymap(Graymap&& other) noexcept
    : m_pixels(std::move(other.m_pixels)),
      m_alpha(std::move(other.m_alpha)),
      m_width(other.m_width),
      m_height(other.m_height)
{
    other.m_width = 0;
    other.m_height = 0;
}

Graymap& Graymap::operator=(const Graymap& other)
{
    if (this != &other)
        Graymap(other).swap(*this);
    return *this;
}

Graymap& Graymap::operator=(Graymap&& other) noexcept
{
    Graymap(std::move(other)).swap(*this);
    return *this;
}

bool Graymap::operator==(const Graymap& other) const
{
    if (m_width != other.m_width || m_height != other.m_height || hasAlpha() != other.hasAlpha())
        return false;
    return samePlane(m_pixels.get(), other.m_pixels.get(), getSize()) &&
           (!m_alpha || samePlane(m_alpha.get(), other.m_alpha.get(), getSize()));
}

void Graymap::resize(int width, int height, bool withAlpha)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width != m_width || height != m_height || !m_pixels) {
        Graymap(width, height, withAlpha).swap(*this);
    } else if (withAlpha) {
        setAlpha();
    } else {
        clearAlpha();
    }
}

void Graymap::clear(int value)
{
    if (m_pixels)
        std::memset(m_pixels.get(), value, getSize());
}

void Graymap::setAlpha()
{
    if (m_alpha)
        return;
    m_alpha = allocatePlane(m_width, m_height);
    std::memset(m_alpha.get(), 255, getSize());
}

void Graymap::drawLine(int x0, int y0, int x1, int y1, int value)
{
    if (y0 == y1) {
        fillRect(*this, std::min(x0, x1), y0, std::abs(int64_t(x1) - x0) + 1, 1, value);
        return;
    }
    if (x0 == x1) {
        fillRect(*this, x0, std::min(y0, y1), 1, std::abs(int64_t(y1) - y0) + 1, value);
        return;
    }
    // Bresenham in (major, minor) coordinates; a slope of exactly 1 steps along x.
    const bool xMajor = std::abs(int64_t(x1) - x0) >= std::abs(int64_t(y1) - y0);
    int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    int64_t major1 = xMajor ? x1 : y1, minor1 = xMajor ? y1 : x1;
    if (major0 > major1) {
        std::swap(major0, major1);
        std::swap(minor0, minor1);
    }
    const int64_t dMajor = major1 - major0;
    const int64_t dMinor = std::abs(minor1 - minor0);
    const int64_t minorStep = minor1 > minor0 ? 1 : -1;
    const int64_t majorLimit = xMajor ? m_width : m_height;
    const int64_t minorLimit = xMajor ? m_height : m_width;
    int64_t error = 2 * dMinor - dMajor;
    int64_t minor = minor0;
    for (int64_t major = major0; major <= major1 && major < majorLimit; ++major) {
        if (major >= 0 && minor >= 0 && minor < minorLimit) {
            unsigned char& p = xMajor ? getRow(static_cast<int>(minor))[major]
                                      : getRow(static_cast<int>(major))[minor];
            p = static_cast<unsigned char>(value);
        }
        if (error >= 0) {
            minor += minorStep;
            error += 2 * (dMinor - dMajor);
        } else {
            error += 2 * dMinor;
        }
    }
}

void Graymap::drawSolidRect(int x, int y, int w, int h, int value)
{
    fillRect(*this, x, y, w, h, value);
}

void Graymap::drawGraymap(int x, int y, const Graymap& src)
{
    forEachOverlappingRow(*this, x, y, src,
                          [](unsigned char* dst, const unsigned char* s, int count) {
                              std::memcpy(dst, s, count);
                          });
}

void Graymap::drawDuotoneGraymap(int x, int y, const Graymap& src, int fg, int bg)
{
    const unsigned char fgValue = static_cast<unsigned char>(fg);
    const unsigned char bgValue = static_cast<unsigned char>(bg);
    forEachOverlappingRow(*this, x, y, src,
                          [fgValue, bgValue](unsigned char* dst, const unsigned char* s, int count) {
                              for (int i = 0; i < count; ++i)
                                  dst[i] = s[i] ? fgValue : bgValue;
                          });
}

void Graymap::pixelAdd(unsigned char& p, int delta)
{
    p = static_cast<unsigned char>(std::clamp(p + delta, 0, 255));
}

Graymap Graymap::getNegative() const
{
    Graymap result(m_width, m_height, hasAlpha());
    const size_t size = getSize();
    const unsigned char* src = m_pixels.get();
    unsigned char* dst = result.m_pixels.get();
    for (size_t i = 0; i < size; ++i)
        dst[i] = static_cast<unsigned char>(255 - src[i]);
    if (m_alpha)
        std::copy(m_alpha.get(), m_alpha.get() + size, result.m_alpha.get());
    return result;
}

void Graymap::threshold(int t)
{
    const size_t size = getSize();
    unsigned char* p = m_pixels.get();
    for (size_t i = 0; i < size; ++i)
        p[i] = p[i] < t ? 0 : 255;
}

void Graymap::dither()
{
    for (int y = 0; y < m_height; ++y) {
        unsigned char* row = getRow(y);
        unsigned char* below = y + 1 < m_height ? getRow(y + 1) : nullptr;
        // Serpentine: even rows run left to right, odd rows right to left.
        const int ahead = y % 2 == 0 ? 1 : -1;
        for (int i = 0; i < m_width; ++i) {
            const int x = ahead > 0 ? i : m_width - 1 - i;
            const int value = row[x];
            const int quantised = value > 127 ? 255 : 0;
            row[x] = static_cast<unsigned char>(quantised);
            const int error = value - quantised;
            const bool hasAhead = x + ahead >= 0 && x + ahead < m_width;
            const bool hasBehind = x - ahead >= 0 && x - ahead < m_width;
            if (hasAhead)
                pixelAdd(row[x + ahead], error * 7 / 16);
            if (!below)
                continue;
            if (hasBehind)
                pixelAdd(below[x - ahead], error * 3 / 16);
            pixelAdd(below[x], error * 5 / 16);
            if (hasAhead)
                pixelAdd(below[x + ahead], error / 16);
        }
    }
}

void Graymap::flatten(int background)
{
    if (!m_alpha)
        return;
    const size_t size = getSize();
    unsigned char* p = m_pixels.get();
    const unsigned char* alpha = m_alpha.get();
    for (size_t i = 0; i < size; ++i) {
        const int a = alpha[i];
        if (a < 255)
            p[i] = static_cast<unsigned char>((background * (255 - a) + a * p[i]) / 255);
    }
    clearAlpha();
}

bool Graymap::isBlackAndWhite() const
{
    const size_t size = getSize();
    const unsigned char* p = m_pixels.get();
    const unsigned char* alpha = m_alpha.get();
    for (size_t i = 0; i < size; ++i) {
        if (p[i] != 0 && p[i] != 255 && (!alpha || alpha[i] != 0))
            return false;
    }
    return true;
}

} // namespace OKU
