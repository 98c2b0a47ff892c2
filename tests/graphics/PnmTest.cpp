#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/TempDir.h"
#include "graphics/Graymap.h"

using OKU::Graymap;
using namespace std::string_literals;

namespace {

bool readFrom(Graymap& map, const std::string& bytes)
{
    std::istringstream in(bytes);
    return map.readPNM(in);
}

std::vector<int> rowValues(const Graymap& map, int y)
{
    return std::vector<int>(map.getRow(y), map.getRow(y) + map.getWidth());
}

Graymap randomMap(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    Graymap map(width, height, false);
    for (int i = 0; i < width * height; ++i)
        map.getPixels()[i] = static_cast<unsigned char>(random());
    return map;
}

const char* const c_gdkImages = "/usr/libexec/installed-tests/gdk-pixbuf/test-images";
const char* const c_sandra = "/usr/share/jbigkit-testdata/sandra.pgm";

} // namespace

TEST(PnmTest, BitmapRowsArePaddedToWholeBytes)
{
    Graymap map;
    ASSERT_TRUE(readFrom(map, "P4\n9 2\n\x80\x80\x7f\x00"s));
    ASSERT_EQ(9, map.getWidth());
    ASSERT_EQ(2, map.getHeight());
    EXPECT_EQ(std::vector<int>({255, 0, 0, 0, 0, 0, 0, 0, 255}), rowValues(map, 0));
    EXPECT_EQ(std::vector<int>({0, 255, 255, 255, 255, 255, 255, 255, 0}), rowValues(map, 1));

    ASSERT_TRUE(readFrom(map, "P4 8 2\n\x01\x80"s));
    EXPECT_EQ(std::vector<int>({0, 0, 0, 0, 0, 0, 0, 255}), rowValues(map, 0));
    EXPECT_EQ(std::vector<int>({255, 0, 0, 0, 0, 0, 0, 0}), rowValues(map, 1));
}

TEST(PnmTest, GrayLevelsAreInvertedAndScaled)
{
    Graymap map(1, 1, true);
    // Comments may follow any token; one space ends the header.
    ASSERT_TRUE(readFrom(map, "P5#kind\n3#width\n 1\n#before the maximum\n255 \x00\x64\xff"s));
    EXPECT_FALSE(map.hasAlpha());
    EXPECT_EQ(std::vector<int>({255, 155, 0}), rowValues(map, 0));

    // 7 of 15 is (7 * 255 + 7) / 15 = 119 on the 255 scale.
    ASSERT_TRUE(readFrom(map, "P5 3 1 15\n\x00\x07\x0f"s));
    EXPECT_EQ(std::vector<int>({255, 136, 0}), rowValues(map, 0));

    // Two bytes per sample, most significant first: 500 of 1000 gives 128.
    ASSERT_TRUE(readFrom(map, "P5 2 1 1000\r\x01\xf4\x03\xe8"s));
    EXPECT_EQ(std::vector<int>({127, 0}), rowValues(map, 0));
}

TEST(PnmTest, ColourPixelsWeighGreenTwice)
{
    Graymap map;
    ASSERT_TRUE(readFrom(map, "P6\t2 1\t255\t\x0a\x14\x1e\xff\xff\xfe"));
    // (255 + 2 * 255 + 254) / 4 rounds down to 254: a trace of ink.
    EXPECT_EQ(std::vector<int>({255 - (10 + 40 + 30) / 4, 1}), rowValues(map, 0));

    // (65535 + 0 + 0) / 4 = 16383, which is 64 on the 255 scale.
    ASSERT_TRUE(readFrom(map, "P6 1 1 65535\n\xff\xff\x00\x00\x00\x00"s));
    EXPECT_EQ(std::vector<int>({191}), rowValues(map, 0));
}

TEST(PnmTest, MalformedInputFails)
{
    Graymap map;
    for (const char* bytes : {"", "P3 1 1 255\n0 0 0", "P7 1 1 255\n\x01", "Q5 1 1 255\n\x01",
                              "P5 1 1 255", "P5 1 1 255#\n\x01", "P5 1 1 0\n\x01",
                              "P5 1 1 70000\n\x01\x01", "P5 -1 1 255\n\x01", "P5 1\n",
                              "P5 99999999999 1 255\n\x01", "P4 8\n"}) {
        EXPECT_FALSE(readFrom(map, bytes)) << bytes;
    }

    // A short file keeps the samples that were there.
    ASSERT_FALSE(readFrom(map, "P5 2 2 255\n\x00\x00\xff"s));
    ASSERT_EQ(2, map.getHeight());
    EXPECT_EQ(std::vector<int>({255, 255}), rowValues(map, 0));
    EXPECT_EQ(0, map.getRow(1)[0]);

    // A zero-sized image has no samples to read.
    EXPECT_TRUE(readFrom(map, "P6 0 0 255\n"));
    EXPECT_TRUE(map.isEmpty());
}

TEST(PnmTest, WrittenGraymapsReadBackExactly)
{
    Graymap map = randomMap(3, 2, 1);
    map.setAlpha();
    std::ostringstream out;
    EXPECT_TRUE(map.writePGM(out));
    const std::string bytes = out.str();
    ASSERT_EQ(std::string("P5\n3 2 255\n"), bytes.substr(0, 11));
    ASSERT_EQ(11u + 6u, bytes.size());
    EXPECT_EQ(255 - map.getRow(1)[2], static_cast<unsigned char>(bytes[16]));

    Graymap copy;
    ASSERT_TRUE(readFrom(copy, bytes));
    map.clearAlpha();
    EXPECT_EQ(map, copy);

    TempDir dir;
    const Graymap large = randomMap(40, 30, 2);
    ASSERT_TRUE(large.savePGM(dir / "image.pgm"));
    // Saving over a longer file leaves nothing of it behind.
    ASSERT_TRUE(map.savePGM(dir / "image.pgm"));
    EXPECT_EQ(bytes, dir.read("image.pgm"));
    Graymap loaded;
    ASSERT_TRUE(loaded.loadPNM(dir / "image.pgm"));
    EXPECT_EQ(map, loaded);

    EXPECT_FALSE(loaded.loadPNM(dir / "missing.pgm"));
    EXPECT_FALSE(map.savePGM(dir / "missing/image.pgm"));
}

TEST(PnmTest, RealGrayImageLoadsAndRoundTrips)
{
    std::ifstream header(c_sandra, std::ios_base::binary);
    if (!header)
        GTEST_SKIP() << c_sandra << " is not installed";
    std::string magic;
    int width = 0;
    int height = 0;
    int maxValue = 0;
    header >> magic >> width >> height >> maxValue;
    header.get();
    const int firstSample = header.get();
    ASSERT_EQ("P5", magic);

    Graymap map;
    ASSERT_TRUE(map.loadPNM(c_sandra));
    EXPECT_EQ(width, map.getWidth());
    EXPECT_EQ(height, map.getHeight());
    EXPECT_EQ(255 - (firstSample * 255 + maxValue / 2) / maxValue, map.getRow(0)[0]);

    std::stringstream pgm;
    map.writePGM(pgm);
    Graymap copy;
    ASSERT_TRUE(copy.readPNM(pgm));
    EXPECT_EQ(map, copy);
}

TEST(PnmTest, DamagedFilesFailCleanly)
{
    namespace fs = std::filesystem;
    if (!fs::is_directory(c_gdkImages))
        GTEST_SKIP() << c_gdkImages << " is not installed";
    // Result, width and height by our reading rules; other files must merely
    // not crash.
    const std::map<std::string, std::vector<int>> expected = {
        {"fail/invalid.1.ppm", {false}}, // "255#": no whitespace ends the header
        {"fail/invalid.2.ppm", {false}}, // the same
        {"fail/invalid.3.ppm", {false}}, // maximum 10000000
        {"fail/invalid.5.ppm", {true, 0, 0}},
        {"fail/invalid.6.ppm", {false}}, // negative size
        {"fail/invalid.7.ppm", {false}}, // negative maximum
        {"fail/invalid.8.ppm", {false}}, // maximum 0
        {"randomly-modified/bug775232.pnm", {false}},       // "P2" text format
        {"randomly-modified/valid.4.ppm", {false}},         // "P3" text format
        {"randomly-modified/invalid.4.ppm", {true, 10, 10}}, // maximum 10 is allowed
        {"randomly-modified/valid.1.ppm", {true, 10, 10}},   // comments everywhere
        {"randomly-modified/valid.2.ppm", {true, 10, 10}},
        {"randomly-modified/valid.3.ppm", {true, 8, 8}}, // 16-bit samples
    };
    size_t checked = 0;
    for (const std::string folder : {"fail", "randomly-modified"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(c_gdkImages) / folder)) {
            const std::string extension = entry.path().extension().string();
            if (folder == "fail" ? extension != ".ppm"
                                 : extension.size() != 4 || extension.compare(0, 2, ".p") != 0 ||
                                       extension[3] != 'm')
                continue;
            Graymap map;
            const bool result = map.loadPNM(entry.path().string());
            const std::string name = folder + "/" + entry.path().filename().string();
            const auto known = expected.find(name);
            if (known == expected.end())
                continue;
            ++checked;
            EXPECT_EQ(known->second[0] != 0, result) << name;
            if (result) {
                EXPECT_EQ(known->second, std::vector<int>({1, map.getWidth(), map.getHeight()}))
                    << name;
            }
        }
    }
    EXPECT_EQ(expected.size(), checked);
}
