#include "graphics/Pixmap.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <new>
#include <ostream>

#include "core/FileStreams.h"
#include "core/RegularFile.h"
#include "graphics/detail/ImageLimits.h"

namespace OKU {

namespace {

// Header: magic "0UKO", then width, height and the alpha flag as
// little-endian 32-bit integers; the pixel array follows as it is in memory.
// A negative size counts as 0; sizes beyond the loaders' limits
// (ImageLimits.h) are refused before anything is allocated.
const char c_rawMagic[4] = {'0', 'U', 'K', 'O'};
const int c_rawHeaderSize = 16;

void putInt32(char* out, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int k = 0; k < 4; ++k)
        out[k] = static_cast<char>(bits >> (8 * k));
}

int32_t getInt32(const char* in)
{
    uint32_t bits = 0;
    for (int k = 3; k >= 0; --k)
        bits = (bits << 8) | static_cast<uint8_t>(in[k]);
    return static_cast<int32_t>(bits);
}

} // namespace

bool Pixmap::readRaw(std::istream& in)
{
    char header[c_rawHeaderSize];
    in.read(header, c_rawHeaderSize);
    if (!in || std::memcmp(header, c_rawMagic, sizeof c_rawMagic) != 0)
        return false;
    const int32_t width = std::max(getInt32(header + 4), 0);
    const int32_t height = std::max(getInt32(header + 8), 0);
    const bool alpha = getInt32(header + 12) != 0;
    if (!isLoadableImageSize(width, height))
        return false;
    try {
        resize(width, height, Color(0, 0, 0, alpha ? 0 : 255));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (m_pixels)
        in.read(reinterpret_cast<char*>(m_pixels.get()),
                static_cast<std::streamsize>(m_width) * m_height * sizeof(Pixel));
    return in.good();
}

void Pixmap::writeRaw(std::ostream& out) const
{
    char header[c_rawHeaderSize];
    std::memcpy(header, c_rawMagic, sizeof c_rawMagic);
    putInt32(header + 4, m_width);
    putInt32(header + 8, m_height);
    putInt32(header + 12, m_hasAlpha ? 1 : 0);
    out.write(header, c_rawHeaderSize);
    if (m_pixels)
        out.write(reinterpret_cast<const char*>(m_pixels.get()),
                  static_cast<std::streamsize>(m_width) * m_height * sizeof(Pixel));
}

bool Pixmap::loadRaw(const std::string& path)
{
    iufstream in(openRegularFile(path, c_maxImageFileBytes), std::ios_base::binary);
    return in.is_open() && readRaw(in);
}

bool Pixmap::saveRaw(const std::string& path) const
{
    oufstream out(path, std::ios_base::out | std::ios_base::binary | std::ios_base::trunc);
    writeRaw(out);
    out.close();
    return out.good();
}

} // namespace OKU
