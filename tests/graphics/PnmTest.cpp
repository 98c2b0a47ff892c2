#include <gtest/gtest.h>

#include <sstream>

#include "core/TempDir.h"
#include "graphics/PixelTestUtil.h"

using OKU::Graymap;
using namespace std::string_literals;

namespace {

// The rows of the map read from bytes, or "fails" when reading fails.
std::string read(const std::string& bytes, Graymap& map)
{
    std::istringstream in(bytes);
    if (!map.readPNM(in))
        return "fails";
    std::string rows;
    for (int y = 0; y < map.getHeight(); ++y) {
        for (int x = 0; x < map.getWidth(); ++x)
            rows += (x ? " " : "") + std::to_string(map.getRow(y)[x]);
        rows += "/";
    }
    return rows;
}

} // namespace

TEST(PnmTest, SamplesAreInvertedAndScaledToInk)
{
    const std::tuple<std::string, const char*> cases[] = {
        // Bitmap rows are padded to whole bytes.
        {"P4\n9 2\n\x80\x80\x7f\x00"s, "255 0 0 0 0 0 0 0 255/0 255 255 255 255 255 255 255 0/"},
        {"P4 8 2\n\x01\x80"s, "0 0 0 0 0 0 0 255/255 0 0 0 0 0 0 0/"},
        // Comments may follow any token; one space ends the header.
        {"P5#kind\n3#width\n 1\n#before the maximum\n255 \x00\x64\xff"s, "255 155 0/"},
        // 7 of 15 is (7 * 255 + 7) / 15 = 119 on the 255 scale.
        {"P5 3 1 15\n\x00\x07\x0f"s, "255 136 0/"},
        // Two bytes per sample, most significant first: 500 of 1000 gives 128.
        {"P5 2 1 1000\r\x01\xf4\x03\xe8"s, "127 0/"},
        // Colour weighs green twice: (255 + 2 * 255 + 254) / 4 rounds down to 254.
        {"P6\t2 1\t255\t\x0a\x14\x1e\xff\xff\xfe"s, "235 1/"},
        // (65535 + 0 + 0) / 4 = 16383, which is 64 on the 255 scale.
        {"P6 1 1 65535\n\xff\xff\x00\x00\x00\x00"s, "191/"},
        {"P6 0 0 255\n", ""},
    };
    for (const auto& [bytes, rows] : cases) {
        Graymap map(1, 1, true);
        EXPECT_EQ(rows, read(bytes, map)) << bytes;
        EXPECT_FALSE(map.hasAlpha());
    }
}

TEST(PnmTest, MalformedInputFails)
{
    Graymap map;
    for (const char* bytes : {"", "P3 1 1 255\n0 0 0", "P7 1 1 255\n\x01", "Q5 1 1 255\n\x01",
                              "P5 1 1 255", "P5 1 1 255#\n\x01", "P5 1 1 0\n\x01",
                              "P5 1 1 -1\n\x01", "P5 1 1 70000\n\x01\x01", "P5 -1 1 255\n\x01",
                              "P5 1\n", "P5 99999999999 1 255\n\x01", "P4 8\n"})
        EXPECT_EQ("fails", read(bytes, map)) << bytes;
    // Sizes beyond the loaders' limits fail before anything is allocated or
    // read, also an empty width with a huge height.
    for (const char* bytes : {"P5 16385 1 255\n", "P4 4097 4097\n", "P6 0 2000000000 255\n"})
        EXPECT_EQ("fails", read(std::string(bytes) + std::string(16385, '\x01'), map)) << bytes;

    // A short file keeps the samples that were there.
    ASSERT_EQ("fails", read("P5 2 2 255\n\x00\x00\xff"s, map));
    ASSERT_EQ(2, map.getHeight());
    EXPECT_EQ(255, map.getRow(0)[1]);
    EXPECT_EQ(0, map.getRow(1)[0]);
}

TEST(PnmTest, WrittenGraymapsReadBackExactly)
{
    const Graymap map = GraphicsTest::randomMap(3, 2, false, 1);
    Graymap withAlpha = map;
    withAlpha.setAlpha();
    std::ostringstream out;
    EXPECT_TRUE(withAlpha.writePGM(out));
    const std::string bytes = out.str();
    ASSERT_EQ(11u + 6u, bytes.size());
    ASSERT_EQ("P5\n3 2 255\n", bytes.substr(0, 11));
    EXPECT_EQ(255 - map.getRow(1)[2], static_cast<unsigned char>(bytes[16]));
    Graymap copy;
    read(bytes, copy);
    EXPECT_EQ(map, copy);

    TempDir dir;
    ASSERT_TRUE(Graymap(40, 30, false).savePGM(dir / "image.pgm"));
    ASSERT_TRUE(map.savePGM(dir / "image.pgm"));
    EXPECT_EQ(bytes, dir.read("image.pgm")) << "saving over a longer file leaves nothing of it";
    Graymap loaded;
    ASSERT_TRUE(loaded.loadPNM(dir / "image.pgm"));
    EXPECT_EQ(map, loaded);
    EXPECT_FALSE(loaded.loadPNM(dir / "missing.pgm"));
    dir.write("damaged.pgm", "P5 3 2 255\n\x01");
    EXPECT_FALSE(loaded.loadPNM(dir / "damaged.pgm"));
    EXPECT_FALSE(map.savePGM(dir / "missing/image.pgm"));
}
