#include "graphics/Pixmap.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "core/TempDir.h"

using namespace OKU;

namespace {

// A small image whose pixels all differ, alpha bytes included when it has alpha.
Pixmap sample(bool alpha)
{
    Pixmap p(3, 2, alpha);
    for (int i = 0; i < 6; ++i)
        p.getPixels()[i] = Pixmap::Pixel{static_cast<uint8_t>(i), static_cast<uint8_t>(10 + i),
                                         static_cast<uint8_t>(20 + i),
                                         static_cast<uint8_t>(alpha ? 30 + i : 255)};
    return p;
}

std::string rawOf(const Pixmap& p)
{
    std::ostringstream out;
    p.writeRaw(out);
    return out.str();
}

bool readRaw(Pixmap& p, const std::string& bytes)
{
    std::istringstream in(bytes);
    return p.readRaw(in);
}

} // namespace

TEST(PixmapRawTest, FilesHoldTheHeaderAndPixelsAsInMemoryAndReadBack)
{
    const std::string raw = rawOf(sample(true));
    ASSERT_EQ(16u + 6 * 4, raw.size());
    EXPECT_EQ(std::string("0UKO\x03\0\0\0\x02\0\0\0\x01\0\0\0", 16), raw.substr(0, 16));
    EXPECT_EQ(std::string("\x00\x0A\x14\x1E\x01\x0B\x15\x1F", 8), raw.substr(16, 8));
    EXPECT_EQ(std::string("\0\0\0\0", 4), rawOf(sample(false)).substr(12, 4));

    TempDir dir;
    for (const bool alpha : {false, true}) {
        const Pixmap original = sample(alpha);
        Pixmap fromStream;
        EXPECT_TRUE(readRaw(fromStream, rawOf(original)));
        EXPECT_EQ(rawOf(original), rawOf(fromStream)) << "alpha " << alpha;
        // An older, longer file is replaced, not overwritten in place.
        dir.write("image.raw", std::string(200, 'x'));
        ASSERT_TRUE(original.saveRaw(dir / "image.raw"));
        EXPECT_EQ(rawOf(original), dir.read("image.raw"));
        Pixmap fromFile(1, 1, Color(1, 2, 3));
        EXPECT_TRUE(fromFile.loadRaw(dir / "image.raw"));
        EXPECT_EQ(rawOf(original), rawOf(fromFile)) << "alpha " << alpha;
    }
    ASSERT_TRUE(Pixmap().saveRaw(dir / "empty.raw"));
    Pixmap loaded = sample(true);
    EXPECT_TRUE(loaded.loadRaw(dir / "empty.raw"));
    EXPECT_TRUE(loaded.isEmpty());
}

// Pixels cut short are refused; a bad magic, a short header and a size
// beyond the loaders' limits (before anything is allocated, however much data
// follows) are too, and leave the pixmap alone.
TEST(PixmapRawTest, BadOrMissingInputIsRefused)
{
    const std::string full = rawOf(sample(false));
    const std::string original = rawOf(sample(true));
    Pixmap cut;
    EXPECT_FALSE(readRaw(cut, full.substr(0, full.size() - 1)));
    for (const std::string& bytes :
         {"X" + full.substr(1), full.substr(0, 10), rawOf(Pixmap(16385, 1, false)),
          std::string("0UKO\xff\xff\x00\x00\xff\xff\x00\x00\x01\0\0\0", 16)}) {
        Pixmap p = sample(true);
        EXPECT_FALSE(readRaw(p, bytes)) << bytes.size() << " bytes";
        EXPECT_EQ(original, rawOf(p)) << bytes.size() << " bytes";
    }
    TempDir dir;
    Pixmap p;
    EXPECT_FALSE(p.loadRaw(dir / "missing.raw"));
    EXPECT_FALSE(sample(true).saveRaw(dir / "no-such-dir/image.raw"));
}
