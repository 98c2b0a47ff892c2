#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include "core/HostileFiles.h"
#include "graphics/CompositePixmap.h"
#include "graphics/Graymap.h"
#include "graphics/Pixmap.h"
#include "graphics/detail/ImageLimits.h"

using namespace OKU;

namespace {

struct Reader {
    const char* name;
    std::uint64_t limit;
    std::function<bool(const std::string&)> read;
};

const Reader c_readers[] = {
    {"png", c_maxImageFileBytes, [](const std::string& path) { return Pixmap().loadPNG(path); }},
    {"raw", c_maxImageFileBytes, [](const std::string& path) { return Pixmap().loadRaw(path); }},
    {"pgm", c_maxImageFileBytes, [](const std::string& path) { return Graymap().loadPNM(path); }},
    {"cpm", CompositePixmap::c_maxFileBytes,
     [](const std::string& path) {
         CompositePixmap::Layout layout;
         return CompositePixmap::readLayoutFile(path, layout);
     }},
};

} // namespace

// Pictures and composite pixmap descriptions that are FIFOs, links to
// endless devices, directories or over their limit are refused at once, as
// unreadable files.
TEST(UntrustedFilesTest, PicturesAreRegularFilesWithinTheirLimits)
{
    for (const Reader& r : c_readers) {
        TempDir tmp;
        for (const std::string& path : makeHostileFiles(tmp, r.limit))
            EXPECT_TRUE(refusedQuickly([&] { return r.read(path); })) << r.name << " " << path;
    }
}

// The other side of the bounds: a good file padded to the largest size is
// read (the formats end before their padding), one byte more is refused.
TEST(UntrustedFilesTest, PicturesOfTheLargestSizeAreRead)
{
    TempDir tmp;
    Pixmap picture(3, 2, true);
    ASSERT_TRUE(picture.savePNG(tmp / "picture.png"));
    ASSERT_TRUE(picture.saveRaw(tmp / "picture.raw"));
    ASSERT_TRUE(Graymap(3, 2, false).savePGM(tmp / "picture.pgm"));
    tmp.write("picture.cpm", "1 1 1 1 0 0 0 0 0 0 0 0 10 20 30");
    for (const Reader& r : c_readers) {
        const std::string path = tmp / "picture." + r.name;
        ASSERT_EQ(0, truncate(path.c_str(), static_cast<off_t>(r.limit)));
        EXPECT_TRUE(r.read(path)) << r.name;
        ASSERT_EQ(0, truncate(path.c_str(), static_cast<off_t>(r.limit + 1)));
        EXPECT_FALSE(r.read(path)) << r.name;
    }
}
