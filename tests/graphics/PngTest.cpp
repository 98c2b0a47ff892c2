#include <png.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/TempDir.h"
#include "graphics/Pixmap.h"

namespace {

using OKU::Pixmap;
typedef Pixmap::Pixel Pixel;

const char c_pngSuite[] = "/usr/share/doc/libsixel-examples/examples/images/pngsuite";

// The colour type byte of a PNG file: signature (8), IHDR length and type
// (8), width (4), height (4), bit depth (1), colour type.
const size_t c_depthOffset = 24;
const size_t c_colorTypeOffset = 25;

uint32_t bigEndian32(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<uint8_t>(bytes[offset + i]);
    return value;
}

void putBigEndian32(std::string& bytes, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (24 - 8 * i));
}

// The chunk CRC (CRC-32 over type and data), for patching a chunk.
uint32_t chunkCrc(const std::string& bytes, size_t typeOffset, size_t length)
{
    uint32_t crc = 0xffffffff;
    for (size_t i = typeOffset; i < typeOffset + 4 + length; ++i) {
        crc ^= static_cast<uint8_t>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// Whole chunks (length, type, data, CRC) after the signature, kept in order
// unless their type is listed.
std::string withoutChunks(const std::string& png, const std::vector<std::string>& types)
{
    std::string result = png.substr(0, 8);
    for (size_t offset = 8; offset + 12 <= png.size();) {
        const size_t size = 12 + bigEndian32(png, offset);
        const std::string type = png.substr(offset + 4, 4);
        if (std::find(types.begin(), types.end(), type) == types.end())
            result += png.substr(offset, size);
        offset += size;
    }
    return result;
}

bool hasChunk(const std::string& png, const std::string& type)
{
    return withoutChunks(png, {type}).size() != png.size();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios_base::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// An image for libpng's own writer: rows as stored in the file (sub-byte
// samples packed most significant first), with optional PLTE and tRNS.
struct PngImage {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 8;
    int colorType = PNG_COLOR_TYPE_GRAY;
    std::vector<png_byte> data;
    std::vector<png_color> palette;
    std::vector<png_byte> transAlpha;
    bool hasTransColor = false;
    png_color_16 transColor{};
};

void appendToString(png_struct* png, png_byte* data, size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// Encodes independently of the code under test. Holds nothing with a
// destructor across setjmp.
bool encodeWithLibpng(const PngImage& image, std::string& out)
{
    png_struct* png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_info* info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendToString, nullptr);
    png_set_IHDR(png, info, image.width, image.height, image.depth, image.colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty())
        png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
    if (!image.transAlpha.empty() || image.hasTransColor)
        png_set_tRNS(png, info, image.transAlpha.data(), static_cast<int>(image.transAlpha.size()),
                     image.hasTransColor ? &image.transColor : nullptr);
    png_write_info(png, info);
    const size_t rowBytes = image.data.size() / image.height;
    for (png_uint_32 y = 0; y < image.height; ++y)
        png_write_row(png, image.data.data() + y * rowBytes);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::string encode(const PngImage& image)
{
    std::string png;
    EXPECT_TRUE(encodeWithLibpng(image, png));
    return png;
}

bool readPng(const std::string& png, Pixmap& pixmap)
{
    std::istringstream in(png);
    return pixmap.readPNG(in);
}

// The same image read back, or empty when it cannot be read.
Pixmap decode(const std::string& png)
{
    Pixmap pixmap;
    EXPECT_TRUE(readPng(png, pixmap));
    return pixmap;
}

std::vector<Pixel> rowOf(const Pixmap& pixmap, int y)
{
    return std::vector<Pixel>(pixmap.getRow(y), pixmap.getRow(y) + pixmap.getWidth());
}

Pixmap testPattern(bool alpha)
{
    Pixmap pixmap(13, 7, alpha);
    for (int y = 0; y < pixmap.getHeight(); ++y)
        for (int x = 0; x < pixmap.getWidth(); ++x)
            pixmap.getRow(y)[x] = Pixel{static_cast<uint8_t>(x * 19), static_cast<uint8_t>(y * 37),
                                        static_cast<uint8_t>(x * y * 3),
                                        static_cast<uint8_t>(alpha ? (x * 41 + y) % 256 : 255)};
    return pixmap;
}

void expectSamePixels(const Pixmap& expected, const Pixmap& actual)
{
    ASSERT_EQ(expected.getWidth(), actual.getWidth());
    ASSERT_EQ(expected.getHeight(), actual.getHeight());
    EXPECT_EQ(expected.hasAlpha(), actual.hasAlpha());
    for (int y = 0; y < expected.getHeight(); ++y)
        EXPECT_TRUE(rowOf(expected, y) == rowOf(actual, y)) << "row " << y;
}

TEST(PngTest, SavedPixmapsLoadBackWithTheirPixelFormat)
{
    TempDir dir;
    for (const bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "with alpha" : "without alpha");
        const Pixmap original = testPattern(alpha);
        const std::string path = dir / "image.png";
        // A longer file in the way must not leave a tail behind.
        dir.write("image.png", std::string(100000, 'x'));
        ASSERT_TRUE(original.savePNG(path));

        const std::string file = dir.read("image.png");
        EXPECT_EQ(alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                  static_cast<uint8_t>(file[c_colorTypeOffset]));
        EXPECT_EQ(8, file[c_depthOffset]);
        std::ostringstream stream;
        ASSERT_TRUE(original.writePNG(stream));
        EXPECT_EQ(stream.str(), file);

        Pixmap loaded;
        ASSERT_TRUE(loaded.loadPNG(path));
        expectSamePixels(original, loaded);
    }
}

TEST(PngTest, WritingFailsForEmptyPixmapsAndUnwritablePaths)
{
    TempDir dir;
    std::ostringstream stream;
    EXPECT_FALSE(Pixmap().writePNG(stream));
    EXPECT_FALSE(Pixmap().savePNG(dir / "empty.png"));
    EXPECT_FALSE(testPattern(false).savePNG(dir / "missing/image.png"));
}

TEST(PngTest, GrayLevelsScaleToFullRangeAndTransparencyMatchesTheUnscaledSample)
{
    // One bit, ten pixels so the second byte is partly used: 1010110011.
    PngImage bits;
    bits.width = 10;
    bits.height = 1;
    bits.depth = 1;
    bits.data = {0xac, 0xc0};
    const Pixel black{0, 0, 0, 255};
    const Pixel white{255, 255, 255, 255};
    const Pixel clearWhite{255, 255, 255, 0};
    Pixmap pixmap = decode(encode(bits));
    EXPECT_FALSE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{white, black, white, black, white, white, black, black, white,
                                  white}),
              rowOf(pixmap, 0));

    bits.hasTransColor = true;
    bits.transColor.gray = 1;
    pixmap = decode(encode(bits));
    EXPECT_TRUE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{clearWhite, black, clearWhite, black, clearWhite, clearWhite,
                                  black, black, clearWhite, clearWhite}),
              rowOf(pixmap, 0));

    // Two bits: 0 1 2 3 -> 0 85 170 255; level 2 transparent.
    PngImage twoBits;
    twoBits.width = 4;
    twoBits.height = 1;
    twoBits.depth = 2;
    twoBits.data = {0x1b};
    twoBits.hasTransColor = true;
    twoBits.transColor.gray = 2;
    EXPECT_EQ((std::vector<Pixel>{{0, 0, 0, 255}, {85, 85, 85, 255}, {170, 170, 170, 0}, white}),
              rowOf(decode(encode(twoBits)), 0));

    // Four bits: 15 1 -> 255 17, on two rows.
    PngImage fourBits;
    fourBits.width = 2;
    fourBits.height = 2;
    fourBits.depth = 4;
    fourBits.data = {0xf1, 0x1f};
    pixmap = decode(encode(fourBits));
    EXPECT_FALSE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{white, {17, 17, 17, 255}}), rowOf(pixmap, 0));
    EXPECT_EQ((std::vector<Pixel>{{17, 17, 17, 255}, white}), rowOf(pixmap, 1));

    PngImage bytes;
    bytes.width = 3;
    bytes.height = 1;
    bytes.data = {7, 8, 200};
    bytes.hasTransColor = true;
    bytes.transColor.gray = 8;
    EXPECT_EQ((std::vector<Pixel>{{7, 7, 7, 255}, {8, 8, 8, 0}, {200, 200, 200, 255}}),
              rowOf(decode(encode(bytes)), 0));
}

TEST(PngTest, ColourTypesConvertToBgra)
{
    PngImage rgb;
    rgb.width = 3;
    rgb.height = 1;
    rgb.colorType = PNG_COLOR_TYPE_RGB;
    rgb.data = {10, 20, 30, 10, 20, 31, 1, 2, 3};
    Pixmap pixmap = decode(encode(rgb));
    EXPECT_FALSE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{{30, 20, 10, 255}, {31, 20, 10, 255}, {3, 2, 1, 255}}),
              rowOf(pixmap, 0));

    // Only an exact match of all three channels is transparent.
    rgb.hasTransColor = true;
    rgb.transColor.red = 10;
    rgb.transColor.green = 20;
    rgb.transColor.blue = 30;
    pixmap = decode(encode(rgb));
    EXPECT_TRUE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{{30, 20, 10, 0}, {31, 20, 10, 255}, {3, 2, 1, 255}}),
              rowOf(pixmap, 0));

    // Indexes 0..3 of a 2-bit palette; tRNS covers the first two entries.
    PngImage palette;
    palette.width = 4;
    palette.height = 1;
    palette.depth = 2;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.data = {0xe4};
    palette.palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    palette.transAlpha = {0, 128};
    pixmap = decode(encode(palette));
    EXPECT_TRUE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{{12, 11, 10, 255}, {9, 8, 7, 255}, {6, 5, 4, 128}, {3, 2, 1, 0}}),
              rowOf(pixmap, 0));
    palette.transAlpha.clear();
    EXPECT_FALSE(decode(encode(palette)).hasAlpha());

    PngImage grayAlpha;
    grayAlpha.width = 2;
    grayAlpha.height = 1;
    grayAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    grayAlpha.data = {50, 0, 60, 255};
    pixmap = decode(encode(grayAlpha));
    EXPECT_TRUE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{{50, 50, 50, 0}, {60, 60, 60, 255}}), rowOf(pixmap, 0));

    // 16-bit samples keep their high byte.
    PngImage deep;
    deep.width = 1;
    deep.height = 1;
    deep.depth = 16;
    deep.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    deep.data = {0x12, 0xff, 0x34, 0x00, 0x56, 0x80, 0x78, 0x01};
    pixmap = decode(encode(deep));
    EXPECT_TRUE(pixmap.hasAlpha());
    EXPECT_EQ((std::vector<Pixel>{{0x56, 0x34, 0x12, 0x78}}), rowOf(pixmap, 0));
}

TEST(PngTest, DamagedOrMissingInputIsRefused)
{
    PngImage gray;
    gray.width = 8;
    gray.height = 8;
    gray.data.assign(64, 99);
    const std::string good = encode(gray);
    Pixmap pixmap;
    ASSERT_TRUE(readPng(good, pixmap));

    std::string badSignature = good;
    badSignature[1] = 'Q';
    EXPECT_FALSE(readPng(badSignature, pixmap));
    EXPECT_FALSE(readPng(good.substr(0, 5), pixmap));
    EXPECT_FALSE(readPng("", pixmap));
    for (const size_t length : {size_t(8), size_t(20), good.size() / 2, good.size() - 13})
        EXPECT_FALSE(readPng(good.substr(0, length), pixmap)) << "cut at " << length;

    // The same bytes declared as a palette image, which then has no PLTE.
    std::string noPalette = good;
    noPalette[c_colorTypeOffset] = PNG_COLOR_TYPE_PALETTE;
    putBigEndian32(noPalette, 29, chunkCrc(noPalette, 12, 13));
    EXPECT_FALSE(readPng(noPalette, pixmap));

    TempDir dir;
    EXPECT_FALSE(pixmap.loadPNG(dir / "nothing.png"));
    EXPECT_FALSE(pixmap.loadPNG(dir.path()));
}

// Decodes a file with libpng's simplified API as an independent reference.
// The simplified API converts to sRGB according to gAMA, cHRM, sRGB and
// iCCP, which our reader ignores; without those chunks it takes the samples
// as they are (16-bit ones too, with the 16BIT_sRGB flag).
struct Reference {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
    std::vector<Pixel> pixels;
};

bool decodeReference(const std::string& file, Reference& reference)
{
    const std::string png = withoutChunks(file, {"gAMA", "cHRM", "sRGB", "iCCP"});
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return false;
    reference.width = image.width;
    reference.height = image.height;
    reference.alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_BGRA;
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    reference.pixels.resize(static_cast<size_t>(image.width) * image.height);
    return png_image_finish_read(&image, nullptr, reference.pixels.data(), 0, nullptr) != 0;
}

std::vector<std::string> pngSuiteFiles()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(c_pngSuite))
        if (entry.is_regular_file() && entry.path().extension() == ".png")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Compares one valid PngSuite image with the reference. Where our rules and
// the simplified API's differ, the expectation follows our rules:
// - 16-bit samples: we keep the high byte, the reference rounds v * 255 /
//   65535, so channels may differ by one.
// - tRNS of a 16-bit image: the chunk keeps its 16-bit values while the
//   samples are cut to 8 bits, so with the suite's chunk values (65535) no
//   pixel matches; the image gets alpha but every pixel stays opaque.
void expectMatchesReference(const std::string& path, const std::string& referencePath)
{
    SCOPED_TRACE(path);
    const std::string file = readFile(referencePath);
    Reference reference;
    ASSERT_TRUE(decodeReference(file, reference));
    Pixmap pixmap;
    ASSERT_TRUE(pixmap.loadPNG(path));
    ASSERT_EQ(static_cast<int>(reference.width), pixmap.getWidth());
    ASSERT_EQ(static_cast<int>(reference.height), pixmap.getHeight());
    EXPECT_EQ(reference.alpha, pixmap.hasAlpha());

    const bool sixteenBit = file[c_depthOffset] == 16;
    const int tolerance = sixteenBit ? 1 : 0;
    const bool transparencyLost = sixteenBit && hasChunk(file, "tRNS");
    int mismatches = 0;
    for (int y = 0; y < pixmap.getHeight(); ++y) {
        for (int x = 0; x < pixmap.getWidth(); ++x) {
            const Pixel& ours = pixmap.getPixel(x, y);
            const Pixel& theirs = reference.pixels[static_cast<size_t>(y) * reference.width + x];
            const int alpha = transparencyLost ? 255 : theirs.alpha;
            const bool same = std::abs(ours.red - theirs.red) <= tolerance &&
                              std::abs(ours.green - theirs.green) <= tolerance &&
                              std::abs(ours.blue - theirs.blue) <= tolerance &&
                              std::abs(ours.alpha - alpha) <= tolerance;
            if (!same && ++mismatches <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y << ": ours " << int(ours.red) << " "
                              << int(ours.green) << " " << int(ours.blue) << " "
                              << int(ours.alpha) << ", reference " << int(theirs.red) << " "
                              << int(theirs.green) << " " << int(theirs.blue) << " " << alpha;
        }
    }
    EXPECT_EQ(0, mismatches);
}

// libpng's simplified API garbles interlaced 16-bit images: its result for
// basi6a16 differs from its result for basn6a16, the same picture stored
// without interlacing. These are compared with the reference decode of their
// non-interlaced twin instead.
const std::map<std::string, std::string> c_interlaced16BitTwins = {
    {"background/bgai4a16.png", "basic/basn4a16.png"},
    {"interlacing/basi0g16.png", "basic/basn0g16.png"},
    {"interlacing/basi2c16.png", "basic/basn2c16.png"},
    {"interlacing/basi4a16.png", "basic/basn4a16.png"},
    {"interlacing/basi6a16.png", "basic/basn6a16.png"},
};

TEST(PngTest, PngSuiteValidImagesMatchAnIndependentDecoder)
{
    ASSERT_TRUE(std::filesystem::is_directory(c_pngSuite))
        << c_pngSuite << " is missing: apt-get install libsixel-examples";
    int valid = 0;
    for (const std::string& path : pngSuiteFiles()) {
        if (std::filesystem::path(path).filename().string()[0] == 'x')
            continue;
        const auto twin = c_interlaced16BitTwins.find(path.substr(sizeof c_pngSuite));
        expectMatchesReference(path, twin == c_interlaced16BitTwins.end()
                                         ? path
                                         : std::string(c_pngSuite) + "/" + twin->second);
        ++valid;
    }
    EXPECT_GT(valid, 150);
}

TEST(PngTest, PngSuiteCorruptImagesAreRefused)
{
    ASSERT_TRUE(std::filesystem::is_directory(c_pngSuite))
        << c_pngSuite << " is missing: apt-get install libsixel-examples";
    int corrupt = 0;
    for (const std::string& path : pngSuiteFiles()) {
        if (std::filesystem::path(path).filename().string()[0] != 'x')
            continue;
        Pixmap pixmap;
        EXPECT_FALSE(pixmap.loadPNG(path)) << path;
        ++corrupt;
    }
    EXPECT_GT(corrupt, 10);
}

} // namespace
