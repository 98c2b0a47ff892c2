#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/Graymap.h"
#include "graphics/Pixmap.h"

// Small helpers shared by the pixmap and gray map tests.
namespace GraphicsTest {

inline OKU::Pixmap::Pixel pixel(int r, int g, int b, int a)
{
    return OKU::Pixmap::Pixel{static_cast<uint8_t>(b), static_cast<uint8_t>(g),
                              static_cast<uint8_t>(r), static_cast<uint8_t>(a)};
}

inline OKU::Pixmap::Pixel pixel(const OKU::Color& c)
{
    return pixel(c.red, c.green, c.blue, c.alpha);
}

// "red,green,blue,alpha", readable in failure messages.
inline std::string rgba(const OKU::Pixmap::Pixel& p)
{
    return std::to_string(p.red) + "," + std::to_string(p.green) + "," + std::to_string(p.blue) +
           "," + std::to_string(p.alpha);
}

inline std::string rgba(const OKU::Pixmap& p, int x, int y)
{
    return rgba(p.getPixel(x, y));
}

// Every pixel as rgba(), separated by ' ', rows ending in '/'.
inline std::string pixels(const OKU::Pixmap& p)
{
    std::string s;
    for (int y = 0; y < p.getHeight(); ++y)
        for (int x = 0; x < p.getWidth(); ++x)
            s += rgba(p, x, y) + (x + 1 < p.getWidth() ? " " : "/");
    return s;
}

// Offset, clip, alpha flag and pixels: "x,y x,y wxh alpha|opaque pixels".
inline std::string state(const OKU::Pixmap& p)
{
    const OKU::Rect& c = p.getClipRectAbs();
    return std::to_string(p.getOffset().x) + "," + std::to_string(p.getOffset().y) + " " +
           std::to_string(c.x) + "," + std::to_string(c.y) + " " + std::to_string(c.width) + "x" +
           std::to_string(c.height) + (p.hasAlpha() ? " alpha " : " opaque ") + pixels(p);
}

inline void setPixel(OKU::Pixmap& p, int x, int y, const OKU::Color& c)
{
    p.getRow(y)[x] = pixel(c);
}

const OKU::Color c_paper(255, 255, 255);
const OKU::Color c_ink(0, 0, 0);
const OKU::Color c_red(255, 0, 0);

// Every letter has its own opaque colour, apart from paper and ink.
inline OKU::Color letterColor(char c)
{
    return OKU::Color(c, 0x80, 255 - c);
}

// An opaque image of letterColor() pixels, one string per row.
inline OKU::Pixmap image(const std::vector<std::string>& rows)
{
    OKU::Pixmap p(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), false);
    for (int y = 0; y < p.getHeight(); ++y)
        for (int x = 0; x < p.getWidth(); ++x)
            setPixel(p, x, y, letterColor(rows[y][x]));
    return p;
}

// The image read back: a letter for a letter's colour, '.' for paper, '#'
// for ink, '?' for anything else; rows end in '/'.
inline std::string letters(const OKU::Pixmap& p)
{
    std::string s;
    for (int y = 0; y < p.getHeight(); ++y) {
        for (int x = 0; x < p.getWidth(); ++x) {
            const OKU::Pixmap::Pixel& px = p.getPixel(x, y);
            const OKU::Color c(px.red, px.green, px.blue);
            char found = c == c_paper ? '.' : c == c_ink ? '#' : '?';
            for (char l = 'a'; l <= 'z'; ++l)
                if (c == letterColor(l))
                    found = l;
            s += found;
        }
        s += '/';
    }
    return s;
}

// The bounding box of the pixels inside r (the whole image when r is empty)
// that are no longer paper.
inline OKU::Rect inkBox(const OKU::Pixmap& p, OKU::Rect r = OKU::Rect())
{
    if (r.isEmpty())
        r = OKU::Rect(0, 0, p.getWidth(), p.getHeight());
    OKU::Rect box;
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x)
            if (p.getPixel(x, y) != pixel(c_paper))
                box.include(OKU::Rect(x, y, 1, 1));
    return box;
}

// Device memory starts as guard bytes, which show where nothing was written.
const uint8_t c_guard = 0xA5;

typedef std::vector<std::vector<int>> Rows;

inline OKU::Graymap mapOf(const Rows& rows)
{
    OKU::Graymap map(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), false);
    for (int y = 0; y < map.getHeight(); ++y)
        for (int x = 0; x < map.getWidth(); ++x)
            map.getRow(y)[x] = static_cast<unsigned char>(rows[y][x]);
    return map;
}

inline Rows rowsOf(const OKU::Graymap& map)
{
    Rows rows;
    for (int y = 0; y < map.getHeight(); ++y)
        rows.emplace_back(map.getRow(y), map.getRow(y) + map.getWidth());
    return rows;
}

inline OKU::Graymap randomMap(int width, int height, bool alpha, unsigned seed)
{
    std::mt19937 random(seed);
    OKU::Graymap map(width, height, alpha);
    for (int i = 0; i < width * height; ++i) {
        map.getPixels()[i] = static_cast<unsigned char>(random());
        if (alpha)
            map.getAlpha()[i] = static_cast<unsigned char>(random());
    }
    return map;
}

} // namespace GraphicsTest
