#include "text/Cache.h"

#include <filesystem>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/FatalError.h"
#include "core/FileFinder.h"
#include "core/TempDir.h"
#include "graphics/CompositePixmap.h"
#include "graphics/Pixmap.h"
#include "text/Font.h"
#include "text/FontFace.h"

using namespace OKU;

namespace {

// The files the process has open.
std::set<std::filesystem::path> openFiles()
{
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code closedMeanwhile;
        files.insert(std::filesystem::read_symlink(entry.path(), closedMeanwhile));
    }
    return files;
}

bool sameGlyph(const Glyph& a, const Glyph& b)
{
    return a.getAdvance() == b.getAdvance() && a.getBBox() == b.getBBox() &&
           a.getPixelBBox() == b.getPixelBBox() && a.getBitmap() == b.getBitmap();
}

} // namespace

// Pictures and a description in a fresh directory, fonts from the build.
class CacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Pixmap(3, 3, Color(200, 100, 40, 77)).savePNG(m_dir / "icon.png"));
        ASSERT_TRUE(Pixmap(3, 3, Color(0, 0, 0)).savePNG(m_dir / "frame.png"));
        m_dir.write("frame.cpm", "1 1 1 1  2 3 4 5  0 0 0 0  10 20 30");
        m_dir.write("broken.png", "not a picture");
    }
    TempDir m_dir;
    FileFinder m_finder{m_dir.path() + ";" + OKU_FONT_DIR};
    Cache m_cache{m_finder};
};

TEST_F(CacheTest, ImagesAndDisabledLooksAreSharedUntilFreed)
{
    const auto icon = m_cache.getPixmap("icon");
    m_cache.setPixmap("icon", std::make_shared<const Pixmap>());
    EXPECT_EQ(icon, m_cache.getPixmap("icon"));
    const auto disabled = m_cache.getDisabled(icon);
    EXPECT_EQ(disabled, m_cache.getDisabled(icon));
    EXPECT_NE(disabled, m_cache.getDisabled(std::make_shared<const Pixmap>(*icon)));
    // Gray (200 + 2 * 100 + 40) / 4 = 110, then 128 + (110 - 128) * 0.6 = 117.2.
    EXPECT_EQ((Pixmap::Pixel{117, 117, 117, 77}), disabled->getPixel(1, 1));
    EXPECT_EQ((Pixmap::Pixel{40, 100, 200, 77}), icon->getPixel(1, 1));
    m_cache.freePixmap("icon");
    EXPECT_EQ(1, disabled.use_count());
    EXPECT_NE(icon, m_cache.getPixmap("icon"));
}

TEST_F(CacheTest, DefaultFontsShareAllButTheStyleFace)
{
    const auto bold = m_cache.getFont(12, true, false)->getFaces();
    const auto regular = m_cache.getFont(12, false, false)->getFaces();
    ASSERT_EQ(6u, bold.size());
    const char* const styleFaces[] = {"DroidSans.ttf", "Roboto-Italic.ttf", "DroidSans-Bold.ttf",
                                      "Roboto-BoldItalic.ttf"};
    for (int bits = 0; bits < 4; ++bits)
        EXPECT_EQ(m_cache.getFontFace(styleFaces[bits], 12),
                  m_cache.getFont(12, bits & 2, bits & 1)->getFaces().at(0)) << bits;
    EXPECT_EQ(decltype(bold)(bold.begin() + 1, bold.end()),
              decltype(regular)(regular.begin() + 1, regular.end()));
    EXPECT_EQ(m_cache.getFontFace("DroidSansFallback.ttf", 12), bold[5]);
    EXPECT_EQ(decltype(regular){regular[0]}, m_cache.getFont("DroidSans.ttf", 12)->getFaces());
}

TEST_F(CacheTest, FallbackFacesOpenWhenACharacterFirstReachesThem)
{
    // Copies of the font files, so that no other user shares their faces.
    const char* const files[] = {"DroidSans.ttf",         "DroidSansArabic.ttf",
                                 "DroidSansHebrew.ttf",   "DroidSansJapanese.ttf",
                                 "DroidSansThai.ttf",     "DroidSansFallback.ttf"};
    std::vector<std::filesystem::path> copies;
    for (const char* file : files) {
        std::filesystem::copy_file(std::string(OKU_FONT_DIR) + "/" + file, m_dir / file);
        copies.push_back(std::filesystem::canonical(m_dir / file));
    }
    const auto font = m_cache.getFont(16, false, false);
    EXPECT_EQ(FontFace(copies[0], 16, 0).getLineSpacing(), font->getLineSpacing());

    // A text opens the faces up to the first one that has each of its
    // characters, and that face supplies the glyph it gives when opened at
    // once.
    // The text, the face that supplies its last character and the faces open.
    const std::tuple<std::wstring, size_t, size_t> steps[] = {
        {L"Lifeboat! Emergency Backup", 0, 1},
        {L"\x05D0", 2, 3},  // Hebrew
        {L"\x3042", 3, 4},  // Hiragana
        {L"Factory Reset", 0, 4},
        {L"\xAC00", 5, 6},  // Hangul
    };
    for (const auto& [text, supplier, openFaces] : steps) {
        font->getTextSize(text);
        const std::set<std::filesystem::path> open = openFiles();
        for (size_t i = 0; i < copies.size(); ++i)
            EXPECT_EQ(i < openFaces, open.count(copies[i]) == 1)
                << files[i] << " after " << int(text.back());
        const wchar_t last = text.back();
        EXPECT_TRUE(
            sameGlyph(*FontFace(copies[supplier], 16, 0).getGlyph(last), *font->getGlyph(last)))
            << int(last);
    }
}

TEST_F(CacheTest, FreeUnusedDropsOnlyWhatNobodyElseHolds)
{
    const std::weak_ptr<const Font> single = m_cache.getFont("DroidSansThai.ttf", 14);
    std::vector<std::weak_ptr<const void>> freed;
    {
        const auto font = m_cache.getFont(14, false, true);
        const auto icon = m_cache.getPixmap("icon");
        const auto disabled = m_cache.getDisabled(icon);
        const auto frame = m_cache.getCPM("frame");
        const auto shadow = m_cache.getShadow(4, Color(1, 2, 3));
        EXPECT_EQ(Margins(2, 3, 4, 5), frame->getInnerMargins());
        EXPECT_EQ(Color(10, 20, 30), frame->getColor());
        EXPECT_NE(shadow, m_cache.getShadow(5, Color(1, 2, 3)));
        EXPECT_NE(shadow, m_cache.getShadow(4, Color(1, 2, 4)));
        const std::vector<std::shared_ptr<const void>> held = {font, icon, disabled, frame, shadow};
        m_cache.freeUnused();
        EXPECT_EQ(held,
                  (std::vector<std::shared_ptr<const void>>{
                      m_cache.getFont(14, false, true), m_cache.getPixmap("icon"),
                      m_cache.getDisabled(icon), m_cache.getCPM("frame"),
                      m_cache.getShadow(4, Color(1, 2, 3))}));
        freed.assign(held.begin(), held.end());
        freed.push_back(font->getFaces()[1]);
    }
    // The Arabic face was held only by the default font freed in the same pass.
    m_cache.freeUnused();
    for (size_t i = 0; i < freed.size(); ++i)
        EXPECT_TRUE(freed[i].expired()) << i;
    EXPECT_FALSE(single.expired());
}

TEST_F(CacheTest, MissingAndUnreadableResourcesAreSetupErrors)
{
    m_dir.write("DroidSansThai.ttf", "not a font");
    const std::pair<std::function<void()>, std::string> cases[] = {
        // The message names the directories searched.
        {[this] { m_cache.getPixmap("absent"); },
         "Cannot find \"absent.png\" in /[^,]+, " OKU_FONT_DIR},
        {[this] { m_cache.getPixmap("broken"); }, "Cannot load PNG file \"broken\""},
        {[this] { m_cache.getFont("Absent.ttf", 12); },
         "Cannot find \"Absent.ttf\" in /[^,]+, " OKU_FONT_DIR},
        // Even a fallback face that nothing may ever need.
        {[this] { m_cache.getFont(12, false, false); },
         "FontFace\\(\".*/DroidSansThai.ttf\"\\) file error"},
    };
    for (const auto& [load, line] : cases)
        expectSetupError(load, line);
}

// A program's own font files: default fonts asked for afterwards are made of
// them, fonts handed out before keep the toolkit's.
TEST_F(CacheTest, DefaultFontFacesCanBeReplacedBeforeFontsAreAskedFor)
{
    const auto before = m_cache.getFont(14, false, false);
    Cache::DefaultFontFaces faces = m_cache.getDefaultFontFaces();
    EXPECT_EQ("DroidSans-Bold.ttf", faces.styleFaces[1][0]);
    faces.styleFaces[0][0] = "DroidSansMono.ttf";
    faces.fallbackFaces = {"DroidSansFallback.ttf"};
    m_cache.setDefaultFontFaces(faces);

    const auto after = m_cache.getFont(14, false, false)->getFaces();
    EXPECT_EQ((decltype(after){m_cache.getFontFace("DroidSansMono.ttf", 14),
                               m_cache.getFontFace("DroidSansFallback.ttf", 14)}),
              after);
    EXPECT_EQ(6u, before->getFaces().size());
    EXPECT_EQ(m_cache.getFontFace("DroidSans.ttf", 14), before->getFaces().at(0));
}
