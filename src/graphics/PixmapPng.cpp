#include <png.h>

#include <csetjmp>
#include <new>
#include <vector>

#include "core/FileStreams.h"
#include "core/RegularFile.h"
#include "core/Trace.h"
#include "graphics/Pixmap.h"
#include "graphics/detail/ImageLimits.h"
#include "graphics/detail/PngStream.h"

namespace OKU {

namespace {

// The libpng version the code was written against; libpng accepts any
// release of the same minor version.
const char c_pngVersion[] = "1.6.21";

const int c_signatureSize = 8;

typedef Pixmap::Pixel Pixel;

// libpng's messages go to the trace instead of standard error. The error
// handler must not return: it jumps back to the setjmp of the caller.
void pngError(png_struct* png, const char* message)
{
    traceMessage("OKU::Pixmap", TRACE_DEBUG, "libpng error: %s", message);
    png_longjmp(png, 1);
}

void pngWarning(png_struct*, const char* message)
{
    traceMessage("OKU::Pixmap", TRACE_DEBUG, "libpng warning: %s", message);
}

// Owns the read structure with its info and end-info structures.
class PngReader {
public:
    PngReader()
        : m_png(png_create_read_struct(c_pngVersion, nullptr, nullptr, nullptr))
    {
        if (m_png == nullptr)
            return;
        png_set_error_fn(m_png, nullptr, pngError, pngWarning);
        m_info = png_create_info_struct(m_png);
        m_endInfo = png_create_info_struct(m_png);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    ~PngReader() { png_destroy_read_struct(&m_png, &m_info, &m_endInfo); }

    bool isValid() const { return m_png != nullptr && m_info != nullptr && m_endInfo != nullptr; }
    png_struct* png() const { return m_png; }
    png_info* info() const { return m_info; }
    png_info* endInfo() const { return m_endInfo; }

private:
    png_struct* m_png;
    png_info* m_info = nullptr;
    png_info* m_endInfo = nullptr;
};

// Owns the write structure with its info structure.
class PngWriter {
public:
    PngWriter()
        : m_png(png_create_write_struct(c_pngVersion, nullptr, nullptr, nullptr))
    {
        if (m_png == nullptr)
            return;
        png_set_error_fn(m_png, nullptr, pngError, pngWarning);
        m_info = png_create_info_struct(m_png);
    }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;
    ~PngWriter() { png_destroy_write_struct(&m_png, &m_info); }

    bool isValid() const { return m_png != nullptr && m_info != nullptr; }
    png_struct* png() const { return m_png; }
    png_info* info() const { return m_info; }

private:
    png_struct* m_png;
    png_info* m_info = nullptr;
};

// Sample x of a row of Depth-bit samples; with pack-swap the first sample of
// a byte sits in its least significant bits.
template <int Depth>
inline unsigned packedSample(const png_byte* row, int x)
{
    constexpr int perByte = 8 / Depth;
    constexpr unsigned mask = (1u << Depth) - 1;
    return (row[x / perByte] >> ((x % perByte) * Depth)) & mask;
}

template <int Depth>
void lookupRow(Pixel* dst, const png_byte* src, int width, const Pixel* table)
{
    for (int x = 0; x < width; ++x)
        dst[x] = table[packedSample<Depth>(src, x)];
}

// Gray and palette images map every sample through a table of 1 << depth
// pixels; depth is 1, 2, 4 or 8.
void lookupRows(Pixmap& pixmap, png_byte** rows, int depth, const Pixel* table)
{
    void (*convertRow)(Pixel*, const png_byte*, int, const Pixel*);
    switch (depth) {
    case 1: convertRow = lookupRow<1>; break;
    case 2: convertRow = lookupRow<2>; break;
    case 4: convertRow = lookupRow<4>; break;
    default: convertRow = lookupRow<8>; break;
    }
    for (int y = 0; y < pixmap.getHeight(); ++y)
        convertRow(pixmap.getRow(y), rows[y], pixmap.getWidth(), table);
}

// Gray levels scaled to 0..255; the tRNS gray value is compared with the
// unscaled sample, so a value outside the depth's range matches nothing.
void makeGrayTable(Pixel* table, int depth, const png_color_16* trans)
{
    const unsigned maximum = (1u << depth) - 1;
    const unsigned scale = 255 / maximum;
    for (unsigned v = 0; v <= maximum; ++v) {
        const auto level = static_cast<uint8_t>(v * scale);
        const bool transparent = trans != nullptr && trans->gray == v;
        table[v] = Pixel{level, level, level, static_cast<uint8_t>(transparent ? 0 : 255)};
    }
}

// Indexes without a palette entry give opaque black, those without a tRNS
// entry are opaque.
void makePaletteTable(Pixel* table, const png_color* palette, int paletteSize,
                      const png_byte* transAlpha, int transCount)
{
    for (int i = 0; i < 256; ++i) {
        const png_color c = i < paletteSize ? palette[i] : png_color{0, 0, 0};
        const png_byte alpha = i < transCount ? transAlpha[i] : 255;
        table[i] = Pixel{c.blue, c.green, c.red, alpha};
    }
}

void rgbRows(Pixmap& pixmap, png_byte** rows, const png_color_16* trans)
{
    for (int y = 0; y < pixmap.getHeight(); ++y) {
        Pixel* dst = pixmap.getRow(y);
        const png_byte* src = rows[y];
        for (int x = 0; x < pixmap.getWidth(); ++x, src += 3) {
            const bool transparent = trans != nullptr && trans->red == src[0] &&
                                     trans->green == src[1] && trans->blue == src[2];
            dst[x] = Pixel{src[2], src[1], src[0], static_cast<uint8_t>(transparent ? 0 : 255)};
        }
    }
}

void grayAlphaRows(Pixmap& pixmap, png_byte** rows)
{
    for (int y = 0; y < pixmap.getHeight(); ++y) {
        Pixel* dst = pixmap.getRow(y);
        const png_byte* src = rows[y];
        for (int x = 0; x < pixmap.getWidth(); ++x, src += 2)
            dst[x] = Pixel{src[0], src[0], src[0], src[1]};
    }
}

void rgbAlphaRows(Pixmap& pixmap, png_byte** rows)
{
    for (int y = 0; y < pixmap.getHeight(); ++y) {
        Pixel* dst = pixmap.getRow(y);
        const png_byte* src = rows[y];
        for (int x = 0; x < pixmap.getWidth(); ++x, src += 4)
            dst[x] = Pixel{src[2], src[1], src[0], src[3]};
    }
}

bool isSupported(int colorType, int depth, bool hasPalette)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case PNG_COLOR_TYPE_PALETTE:
        return hasPalette && (depth == 1 || depth == 2 || depth == 4 || depth == 8);
    case PNG_COLOR_TYPE_RGB:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return depth == 8;
    default:
        return false;
    }
}

// Turns the decoded rows (16-bit samples already cut to 8 bits) into pixels.
void convertImage(png_struct* png, png_info* info, png_byte** rows, Pixmap& pixmap)
{
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, nullptr, nullptr, nullptr);

    png_byte* transAlpha = nullptr;
    int transCount = 0;
    png_color_16* transColor = nullptr;
    const bool hasTrans =
        png_get_tRNS(png, info, &transAlpha, &transCount, &transColor) & PNG_INFO_tRNS;
    png_color* palette = nullptr;
    int paletteSize = 0;
    png_get_PLTE(png, info, &palette, &paletteSize);

    pixmap.resize(static_cast<int>(width), static_cast<int>(height),
                  hasTrans || (colorType & PNG_COLOR_MASK_ALPHA) != 0);
    Pixel table[256];
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        makeGrayTable(table, depth, hasTrans ? transColor : nullptr);
        lookupRows(pixmap, rows, depth, table);
        break;
    case PNG_COLOR_TYPE_PALETTE:
        makePaletteTable(table, palette, paletteSize, transAlpha, hasTrans ? transCount : 0);
        lookupRows(pixmap, rows, depth, table);
        break;
    case PNG_COLOR_TYPE_RGB:
        rgbRows(pixmap, rows, hasTrans ? transColor : nullptr);
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        grayAlphaRows(pixmap, rows);
        break;
    default:
        rgbAlphaRows(pixmap, rows);
        break;
    }
}

// Whether the header read by readHeader describes an image that can be
// converted and that is within the loaders' limits.
bool isAcceptable(png_struct* png, png_info* info)
{
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, nullptr, nullptr, nullptr);
    const bool hasPalette = png_get_valid(png, info, PNG_INFO_PLTE) != 0;
    return isSupported(colorType, depth, hasPalette) && isLoadableImageSize(width, height);
}

// The setjmp frames of a read. A libpng error jumps back into them, so they
// hold no objects with destructors; the caller owns the structures and the
// row memory. The header comes first, so that the size is checked before
// anything is allocated for the pixels.
bool readHeader(png_struct* png, png_info* info, std::istream& in)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    internal::pngSetStreamReader(png, &in);
    png_set_sig_bytes(png, c_signatureSize);
    png_read_info(png, info);
    png_set_strip_16(png);
    png_set_packswap(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool readRows(png_struct* png, png_info* endInfo, png_byte** rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, endInfo);
    return true;
}

// The setjmp frame of a write, holding no objects with destructors either.
bool encode(png_struct* png, png_info* info, std::ostream& out, int width, int height,
            int colorType, png_byte** rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    internal::pngSetStreamWriter(png, &out);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

// Images beyond the loaders' limits (ImageLimits.h) are refused after the
// header, before anything is allocated for their pixels.
bool Pixmap::readPNG(std::istream& in)
{
    png_byte signature[c_signatureSize];
    in.read(reinterpret_cast<char*>(signature), c_signatureSize);
    if (in.gcount() != c_signatureSize || png_sig_cmp(signature, 0, c_signatureSize) != 0)
        return false;
    PngReader reader;
    if (!reader.isValid() || !readHeader(reader.png(), reader.info(), in) ||
        !isAcceptable(reader.png(), reader.info()))
        return false;
    try {
        const size_t rowBytes = png_get_rowbytes(reader.png(), reader.info());
        const png_uint_32 height = png_get_image_height(reader.png(), reader.info());
        std::vector<png_byte> data(rowBytes * height);
        std::vector<png_byte*> rows(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = data.data() + rowBytes * y;
        if (!readRows(reader.png(), reader.endInfo(), rows.data()))
            return false;
        convertImage(reader.png(), reader.info(), rows.data(), *this);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Pixmap::writePNG(std::ostream& out) const
{
    // libpng refuses an image without pixels; this gives the same result
    // without writing anything.
    if (isEmpty())
        return false;
    const int channels = m_hasAlpha ? 4 : 3;
    const size_t rowBytes = static_cast<size_t>(m_width) * channels;
    std::vector<png_byte> data(rowBytes * m_height);
    std::vector<png_byte*> rows(m_height);
    for (int y = 0; y < m_height; ++y) {
        const Pixel* src = getRow(y);
        png_byte* dst = rows[y] = data.data() + rowBytes * y;
        if (m_hasAlpha) {
            for (int x = 0; x < m_width; ++x, dst += 4) {
                dst[0] = src[x].red;
                dst[1] = src[x].green;
                dst[2] = src[x].blue;
                dst[3] = src[x].alpha;
            }
        } else {
            for (int x = 0; x < m_width; ++x, dst += 3) {
                dst[0] = src[x].red;
                dst[1] = src[x].green;
                dst[2] = src[x].blue;
            }
        }
    }
    PngWriter writer;
    return writer.isValid() &&
           encode(writer.png(), writer.info(), out, m_width, m_height,
                  m_hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, rows.data());
}

bool Pixmap::loadPNG(const std::string& path)
{
    iufstream in(openRegularFile(path, c_maxImageFileBytes), std::ios_base::binary);
    return in.is_open() && readPNG(in);
}

bool Pixmap::savePNG(const std::string& path) const
{
    oufstream out(path, std::ios_base::out | std::ios_base::binary | std::ios_base::trunc);
    if (!out.is_open() || !writePNG(out))
        return false;
    out.close();
    return out.good();
}

} // namespace OKU
