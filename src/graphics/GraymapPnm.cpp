#include <algorithm>
#include <climits>
#include <istream>
#include <new>
#include <ostream>
#include <vector>

#include "core/FileStreams.h"
#include "core/RegularFile.h"
#include "graphics/Graymap.h"
#include "graphics/detail/ImageLimits.h"

// Binary PNM layout: the magic "P4" (bitmap), "P5" (gray) or "P6" (RGB), then
// the decimal width, height and, except for "P4", the maximum sample M, the
// tokens separated by whitespace and "#" comments running to the end of the
// line. A single whitespace character ends the header. Rows follow top to
// bottom without padding, except that "P4" rows are padded to whole bytes
// (8 pixels a byte, most significant bit first, 1 = black). Samples take one
// byte when M < 256, else two bytes, most significant first; 0 is black.
// Sizes beyond the loaders' limits (ImageLimits.h) are refused before
// anything is allocated.

namespace OKU {

namespace {

typedef std::istream::traits_type Traits;

const std::streamsize c_maxCommentLength = 65536;

bool isHeaderSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

void skipSeparators(std::istream& in)
{
    for (;;) {
        const int c = in.peek();
        if (c == '#')
            in.ignore(c_maxCommentLength, '\n');
        else if (isHeaderSpace(c))
            in.get();
        else
            return;
    }
}

// A decimal header number that fits in an int; false for anything else.
bool readNumber(std::istream& in, int& value)
{
    skipSeparators(in);
    if (!isDigit(in.peek()))
        return false;
    long long number = 0;
    while (isDigit(in.peek())) {
        number = number * 10 + (in.get() - '0');
        if (number > INT_MAX)
            return false;
    }
    value = static_cast<int>(number);
    return true;
}

// Ink value of a gray level in 0..maxValue, rounded to the nearest of 256
// levels; with maxValue 255 this is exactly 255 - level. Levels above the
// maximum count as white.
unsigned char toValue(unsigned level, unsigned maxValue)
{
    const unsigned scaled = (level * 255 + maxValue / 2) / maxValue;
    return static_cast<unsigned char>(255 - std::min(scaled, 255u));
}

unsigned sampleAt(const unsigned char* p, int sampleBytes)
{
    return sampleBytes == 1 ? p[0] : (p[0] << 8) | p[1];
}

// Reads the rows one at a time; convertRow(bytes, count, row) converts the
// count bytes read, which are fewer than rowBytes only when the stream ended.
template <class ConvertRow>
bool readRows(std::istream& in, Graymap& map, size_t rowBytes, ConvertRow convertRow)
{
    std::vector<unsigned char> buffer(rowBytes);
    for (int y = 0; y < map.getHeight(); ++y) {
        in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(rowBytes));
        const size_t count = static_cast<size_t>(in.gcount());
        convertRow(buffer.data(), count, map.getRow(y));
        if (count < rowBytes)
            return false;
    }
    return !in.fail();
}

} // namespace

bool Graymap::readPNM(std::istream& in)
{
    if (in.get() != 'P')
        return false;
    const int kind = in.get();
    if (kind != '4' && kind != '5' && kind != '6')
        return false;
    int width = 0;
    int height = 0;
    int maxValue = 1;
    if (!readNumber(in, width) || !readNumber(in, height))
        return false;
    if (kind != '4' && (!readNumber(in, maxValue) || maxValue < 1 || maxValue > 65535))
        return false;
    if (!isHeaderSpace(in.get()) || !isLoadableImageSize(width, height))
        return false;

    try {
        resize(width, height, false);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const size_t pixels = static_cast<size_t>(width);
    if (kind == '4') {
        return readRows(in, *this, (pixels + 7) / 8,
                        [pixels](const unsigned char* bytes, size_t count, unsigned char* row) {
                            const size_t n = std::min(pixels, count * 8);
                            for (size_t x = 0; x < n; ++x)
                                row[x] = (bytes[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
                        });
    }
    const int sampleBytes = maxValue < 256 ? 1 : 2;
    const unsigned maximum = static_cast<unsigned>(maxValue);
    if (kind == '5') {
        return readRows(in, *this, pixels * sampleBytes,
                        [=](const unsigned char* bytes, size_t count, unsigned char* row) {
                            const size_t n = std::min(pixels, count / sampleBytes);
                            for (size_t x = 0; x < n; ++x)
                                row[x] = toValue(sampleAt(bytes + x * sampleBytes, sampleBytes),
                                                 maximum);
                        });
    }
    const size_t pixelBytes = 3 * static_cast<size_t>(sampleBytes);
    return readRows(in, *this, pixels * pixelBytes,
                    [=](const unsigned char* bytes, size_t count, unsigned char* row) {
                        const size_t n = std::min(pixels, count / pixelBytes);
                        for (size_t x = 0; x < n; ++x) {
                            const unsigned char* p = bytes + x * pixelBytes;
                            const unsigned level = (sampleAt(p, sampleBytes) +
                                                    2 * sampleAt(p + sampleBytes, sampleBytes) +
                                                    sampleAt(p + 2 * sampleBytes, sampleBytes)) /
                                                   4;
                            row[x] = toValue(level, maximum);
                        }
                    });
}

bool Graymap::loadPNM(const std::string& path)
{
    iufstream in(openRegularFile(path, c_maxImageFileBytes), std::ios_base::binary);
    return in.is_open() && readPNM(in);
}

bool Graymap::writePGM(std::ostream& out) const
{
    out << "P5\n" << m_width << ' ' << m_height << " 255\n";
    std::vector<char> buffer(static_cast<size_t>(m_width));
    for (int y = 0; y < m_height; ++y) {
        const unsigned char* row = getRow(y);
        for (int x = 0; x < m_width; ++x)
            buffer[x] = static_cast<char>(255 - row[x]);
        out.write(buffer.data(), m_width);
    }
    return true;
}

bool Graymap::savePGM(const std::string& path) const
{
    oufstream out(path, std::ios_base::out | std::ios_base::binary | std::ios_base::trunc);
    if (!out.is_open())
        return false;
    writePGM(out);
    out.close();
    return !out.fail();
}

} // namespace OKU
