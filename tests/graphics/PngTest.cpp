#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "core/TempDir.h"
#include "graphics/PixelTestUtil.h"

namespace {

using GraphicsTest::pixels;
using GraphicsTest::rgba;
using OKU::Pixmap;
typedef Pixmap::Pixel Pixel;

const char c_pngSuite[] = "/usr/share/doc/libsixel-examples/examples/images/pngsuite";

// Signature (8), IHDR length and type (8), width (4), height (4), then these.
const size_t c_depthOffset = 24;
const size_t c_colorTypeOffset = 25;
const size_t c_firstChunkAfterHeader = 33;

// A whole chunk: length, type, data and the CRC-32 over type and data.
std::string chunk(const std::string& type, const std::string& data)
{
    const auto bigEndian32 = [](uint32_t value) {
        return std::string{char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    };
    const std::string covered = type + data;
    uint32_t crc = 0xffffffff;
    for (const char c : covered) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return bigEndian32(static_cast<uint32_t>(data.size())) + covered + bigEndian32(~crc);
}

// Whole chunks after the signature, in order, except those of the listed types.
std::string withoutChunks(const std::string& png, const std::vector<std::string>& types)
{
    std::string result = png.substr(0, 8);
    for (size_t offset = 8; offset + 12 <= png.size();) {
        uint32_t length = 0;
        for (size_t i = 0; i < 4; ++i)
            length = length << 8 | static_cast<uint8_t>(png[offset + i]);
        if (std::find(types.begin(), types.end(), png.substr(offset + 4, 4)) == types.end())
            result += png.substr(offset, 12 + length);
        offset += 12 + length;
    }
    return result;
}

// A gray image of 8-bit samples, encoded by libpng's own writer, independently
// of the code under test.
std::string grayPng(png_uint_32 width, png_uint_32 height)
{
    const std::vector<png_byte> samples(size_t(width) * height, 99);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_GRAY;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::string png(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, &png[0], &size, 0, samples.data(), 0, nullptr));
    png.resize(size);
    return png;
}

bool readPng(const std::string& png, Pixmap& pixmap)
{
    std::istringstream in(png);
    return pixmap.readPNG(in);
}

TEST(PngTest, SavedPixmapsLoadBackWithTheirPixelFormat)
{
    TempDir dir;
    for (const bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "with alpha" : "without alpha");
        Pixmap original(13, 7, alpha);
        for (int i = 0; i < 13 * 7; ++i)
            original.getPixels()[i] =
                GraphicsTest::pixel(i * 3, i * 37, i * 19, alpha ? i * 41 : 255);
        // A longer file in the way must not leave a tail behind.
        dir.write("image.png", std::string(100000, 'x'));
        ASSERT_TRUE(original.savePNG(dir / "image.png"));
        const std::string file = dir.read("image.png");
        EXPECT_EQ(std::make_pair(8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB),
                  std::make_pair(int(file[c_depthOffset]), int(file[c_colorTypeOffset])));
        std::ostringstream stream;
        ASSERT_TRUE(original.writePNG(stream));
        EXPECT_EQ(stream.str(), file);

        Pixmap loaded;
        ASSERT_TRUE(loaded.loadPNG(dir / "image.png"));
        EXPECT_EQ(alpha, loaded.hasAlpha());
        EXPECT_EQ(pixels(original), pixels(loaded));
        EXPECT_FALSE(original.savePNG(dir / "missing/image.png"));
    }
    std::ostringstream stream;
    EXPECT_FALSE(Pixmap().writePNG(stream));
    EXPECT_FALSE(Pixmap().savePNG(dir / "empty.png"));
}

// Only a pixel that matches all three channels of the tRNS colour is
// transparent.
TEST(PngTest, RgbTransparencyNeedsAnExactMatch)
{
    Pixmap rgb(4, 1, false);
    const Pixel colours[] = {
        {30, 20, 10, 255}, {31, 20, 10, 255}, {30, 21, 10, 255}, {30, 20, 11, 255}};
    std::copy(colours, colours + 4, rgb.getPixels());
    std::ostringstream stream;
    ASSERT_TRUE(rgb.writePNG(stream));
    const std::string png = stream.str();
    ASSERT_EQ(PNG_COLOR_TYPE_RGB, png[c_colorTypeOffset]);
    const std::string trns = chunk("tRNS", std::string("\0\x0a\0\x14\0\x1e", 6));
    Pixmap pixmap;
    ASSERT_TRUE(
        readPng(png.substr(0, c_firstChunkAfterHeader) + trns + png.substr(c_firstChunkAfterHeader),
                pixmap));
    EXPECT_TRUE(pixmap.hasAlpha());
    EXPECT_EQ("10,20,30,0 10,20,31,255 10,21,30,255 11,20,30,255/", pixels(pixmap));
}

TEST(PngTest, DamagedOrMissingInputIsRefused)
{
    const std::string good = grayPng(8, 8);
    Pixmap pixmap;
    ASSERT_TRUE(readPng(good, pixmap));
    std::string badSignature = good;
    badSignature[1] = 'Q';
    EXPECT_FALSE(readPng(badSignature, pixmap));
    for (const size_t length :
         {size_t(0), size_t(5), size_t(8), size_t(20), good.size() / 2, good.size() - 13})
        EXPECT_FALSE(readPng(good.substr(0, length), pixmap)) << "cut at " << length;

    // The same bytes declared as a palette image, which then has no PLTE.
    std::string header = good.substr(16, 13);
    header[c_colorTypeOffset - 16] = PNG_COLOR_TYPE_PALETTE;
    EXPECT_FALSE(readPng(
        good.substr(0, 8) + chunk("IHDR", header) + good.substr(c_firstChunkAfterHeader), pixmap));

    // Sound images beyond 16384 pixels a side or 2^24 pixels are refused.
    EXPECT_FALSE(readPng(grayPng(16385, 1), pixmap));
    EXPECT_FALSE(readPng(grayPng(4097, 4097), pixmap));
    ASSERT_TRUE(readPng(grayPng(16384, 1), pixmap));
    EXPECT_EQ((Pixel{99, 99, 99, 255}), pixmap.getPixel(16383, 0));

    TempDir dir;
    EXPECT_FALSE(pixmap.loadPNG(dir / "nothing.png"));
    EXPECT_FALSE(pixmap.loadPNG(dir.path()));
}

// Where our rules and the simplified API's differ, the expectation follows
// ours:
// - gAMA, cHRM, sRGB and iCCP: the API converts to sRGB according to them, our
//   reader ignores them, so the reference decodes the file without them (and
//   takes 16-bit samples as they are, with the 16BIT_sRGB flag).
// - 16-bit samples: we keep the high byte, the reference rounds v * 255 /
//   65535, so channels may differ by one.
// - tRNS of a 16-bit image: the chunk keeps its 16-bit values while the
//   samples are cut to 8 bits, so with the suite's chunk values (65535) no
//   pixel matches; the image gets alpha but every pixel stays opaque.
void expectMatchesReference(const std::string& path, const std::string& referencePath)
{
    SCOPED_TRACE(path);
    std::ifstream in(referencePath, std::ios_base::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string png = withoutChunks(file, {"gAMA", "cHRM", "sRGB", "iCCP"});
    png_image reference{};
    reference.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&reference, png.data(), png.size()));
    const bool alpha = (reference.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    reference.format = PNG_FORMAT_BGRA;
    reference.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    std::vector<Pixel> pixels(static_cast<size_t>(reference.width) * reference.height);
    ASSERT_TRUE(png_image_finish_read(&reference, nullptr, pixels.data(), 0, nullptr));
    Pixmap pixmap;
    ASSERT_TRUE(pixmap.loadPNG(path));
    ASSERT_EQ(std::make_pair(int(reference.width), int(reference.height)),
              std::make_pair(pixmap.getWidth(), pixmap.getHeight()));
    EXPECT_EQ(alpha, pixmap.hasAlpha());

    const bool sixteenBit = file[c_depthOffset] == 16;
    const int tolerance = sixteenBit ? 1 : 0;
    const bool transparencyLost = sixteenBit && withoutChunks(file, {"tRNS"}).size() != file.size();
    int mismatches = 0;
    for (int y = 0; y < pixmap.getHeight(); ++y) {
        for (int x = 0; x < pixmap.getWidth(); ++x) {
            const Pixel& ours = pixmap.getPixel(x, y);
            Pixel theirs = pixels[static_cast<size_t>(y) * reference.width + x];
            theirs.alpha = transparencyLost ? 255 : theirs.alpha;
            const uint8_t* a = &ours.blue;
            const uint8_t* b = &theirs.blue;
            const bool close = std::equal(
                a, a + 4, b, [tolerance](int x, int y) { return std::abs(x - y) <= tolerance; });
            if (!close && mismatches++ == 0)
                ADD_FAILURE() << "first mismatch at " << x << "," << y << ": ours " << rgba(ours)
                              << ", reference " << rgba(theirs);
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

// Files starting with 'x' are corrupt; every other one is valid.
TEST(PngTest, PngSuiteValidImagesMatchAnIndependentDecoderAndCorruptOnesAreRefused)
{
    ASSERT_TRUE(std::filesystem::is_directory(c_pngSuite))
        << c_pngSuite << " is missing: apt-get install libsixel-examples";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(c_pngSuite))
        if (entry.is_regular_file() && entry.path().extension() == ".png")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    int valid = 0;
    int corrupt = 0;
    for (const std::string& path : files) {
        if (std::filesystem::path(path).filename().string()[0] == 'x') {
            Pixmap pixmap;
            EXPECT_FALSE(pixmap.loadPNG(path)) << path;
            ++corrupt;
            continue;
        }
        const auto twin = c_interlaced16BitTwins.find(path.substr(sizeof c_pngSuite));
        expectMatchesReference(path, twin == c_interlaced16BitTwins.end()
                                         ? path
                                         : std::string(c_pngSuite) + "/" + twin->second);
        ++valid;
    }
    EXPECT_GT(valid, 150);
    EXPECT_GT(corrupt, 10);
}

} // namespace
