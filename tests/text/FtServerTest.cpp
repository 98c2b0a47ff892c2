#include "text/detail/FtServer.h"

#include <cmath>
#include <set>

#include "core/TempDir.h"
#include "text/TextTestUtil.h"
#include "text/detail/FtFace.h"
#include "text/detail/FtSize.h"
#include "text/detail/FtTransform.h"

using namespace OKU;
using namespace TextTest;

namespace {

const std::string c_sans = c_fontDir + "/DroidSans.ttf";

} // namespace

TEST(FtServerTest, FacesAreSharedByPathWhileInUse)
{
    FtServer& server = FtServer::g();
    std::shared_ptr<FtFace> a = server.getFace(c_sans);
    ASSERT_TRUE(a);
    EXPECT_EQ(a, server.getFace(c_sans));

    const std::weak_ptr<FtFace> first = a;
    a.reset();
    EXPECT_TRUE(first.expired()) << "the server keeps no face alive";
    const std::shared_ptr<FtFace> reopened = server.getFace(c_sans);
    ASSERT_TRUE(reopened);

    server.flushCache(c_sans);
    const std::shared_ptr<FtFace> fresh = server.getFace(c_sans);
    EXPECT_NE(reopened, fresh);
    EXPECT_EQ(L"Open Sans", reopened->getFamilyName()) << "a flushed face in use stays alive";

    const std::vector<char> image = readFile(c_sans);
    const std::shared_ptr<FtFace> inMemory = server.getFace(image.data(), int(image.size()));
    ASSERT_TRUE(inMemory);
    EXPECT_NE(fresh, inMemory);
    EXPECT_EQ(L"Open Sans", inMemory->getFamilyName());

    const std::vector<char> garbage(1000, 'x');
    EXPECT_FALSE(server.getFace(garbage.data(), int(garbage.size())));
    EXPECT_TRUE(server.isFontFile(c_sans));
    for (const std::string& path :
         {c_fontDir + "/NoSuchFont.ttf", c_dataDir + "/make-symbol-font.py", c_fontDir}) {
        EXPECT_FALSE(server.getFace(path)) << path;
        EXPECT_FALSE(server.isFontFile(path)) << path;
    }
}

TEST(FtServerTest, FontFilesAreReadNotMappedAndClosedWithTheirFace)
{
    // A path of its own, so that no other face of this process has the file.
    TempDir dir;
    const std::string copy = dir / "Copy.ttf";
    const std::vector<char> image = readFile(c_sans);
    std::ofstream(copy, std::ios::binary).write(image.data(), std::streamsize(image.size()));
    const auto mapped = [&copy] {
        std::ifstream maps("/proc/self/maps");
        for (std::string line; std::getline(maps, line);)
            if (line.find(copy) != std::string::npos)
                return true;
        return false;
    };
    const int descriptors = openDescriptorCount();
    {
        const std::shared_ptr<FtSize> size = FtServer::g().getFace(copy)->getSize(40, 0);
        ASSERT_TRUE(size);
        EXPECT_TRUE(size->getBitmapGlyph(L'W', FT_LOAD_NO_BITMAP));
        EXPECT_FALSE(mapped());
        EXPECT_EQ(descriptors + 1, openDescriptorCount());
    }
    EXPECT_EQ(descriptors, openDescriptorCount());
    EXPECT_TRUE(FtServer::g().isFontFile(copy));
    dir.write("Broken.ttf", "not a font");
    EXPECT_FALSE(FtServer::g().getFace(dir / "Broken.ttf"));
    EXPECT_EQ(descriptors, openDescriptorCount()) << "checks and failures close the file";
}

TEST(FtServerTest, FaceNamesStylesAndMetrics)
{
    // Family/style, bold, italic and symbolic flags, weight and width class,
    // ascender, descender, height and units per EM. Roboto's OS/2 Windows
    // metrics (2146, 555) differ from its own (1900, -500, 2400); the bitmap
    // font has no OS/2 table and no scalable metrics.
    const std::pair<std::string, std::wstring> cases[] = {
        {c_sans, L"Open Sans/Regular 000 400 5 2189 -600 2789 2048"},
        {c_fontDir + "/DroidSans-Bold.ttf", L"Open Sans/Bold 100 700 5 2189 -600 2789 2048"},
        {c_fontDir + "/Roboto-Italic.ttf", L"Roboto/Italic 010 400 5 2146 -555 2701 2048"},
        {c_dataDir + "/symbol.ttf", L"OKU Symbol Test/Regular 001 400 5 800 -200 1000 1000"},
        {c_dataDir + "/bitmap.bdf", L"OKU Bitmap Test/Regular 000 400 5 0 0 0 0"},
    };
    for (const auto& c : cases) {
        const std::shared_ptr<FtFace> f = FtServer::g().getFace(c.first);
        ASSERT_TRUE(f) << c.first;
        std::wstring found = f->getFamilyName() + L"/" + f->getStyleName() + L" ";
        for (const bool flag : {f->isBold(), f->isItalic(), f->isSymbolic()})
            found += flag ? L"1" : L"0";
        for (const int n : {f->getWeightClass(), f->getWidthClass(), f->getAscender(),
                            f->getDescender(), f->getHeight(), f->getUnitsPerEM()})
            found += L" " + std::to_wstring(n);
        EXPECT_EQ(c.second, found);
    }
}

TEST(FtServerTest, BoldWeightClass)
{
    const int cases[][2] = {{1, 300},   {100, 300}, {101, 400}, {200, 400}, {201, 500},
                            {300, 500}, {301, 700}, {400, 700}, {500, 700}, {501, 800},
                            {600, 800}, {601, 900}, {899, 900}, {900, 900}, {950, 950}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], FtFace::boldWeightClass(c[0])) << "weight " << c[0];
}

TEST(FtServerTest, SymbolFontsLookUpCodesShiftedIntoTheirPrivateRange)
{
    // The font maps U+F041 to glyph 1, U+0042 to glyph 2 and U+0142 to glyph 3.
    const std::shared_ptr<FtFace> symbol = FtServer::g().getFace(c_dataDir + "/symbol.ttf");
    ASSERT_TRUE(symbol);
    EXPECT_EQ(1u, symbol->getUnicodeCharIndex(L'A'));
    EXPECT_EQ(2u, symbol->getUnicodeCharIndex(L'B')) << "8-bit codes fall back to themselves";
    EXPECT_EQ(0u, symbol->getUnicodeCharIndex(0x142)) << "larger codes only through U+F000";
    EXPECT_EQ(0u, symbol->getUnicodeCharIndex(L'C'));
    EXPECT_EQ(std::set<wchar_t>({0x42, 0x142, 0xF041}), symbol->getCharset());

    const std::shared_ptr<FtSize> size = symbol->getSize(20, 0);
    ASSERT_TRUE(size);
    const FtSize::BitmapGlyph a = size->getBitmapGlyph(L'A', FT_LOAD_NO_BITMAP);
    ASSERT_TRUE(a);
    EXPECT_EQ(10, int(a.getBitmap()->width)) << "the 500-unit box at 20 px";
}

TEST(FtServerTest, SizesAreSharedPerPixelSize)
{
    const std::shared_ptr<FtFace> face = FtServer::g().getFace(c_sans);
    EXPECT_TRUE(face->getSizes().empty());
    std::shared_ptr<FtSize> size16 = face->getSize(16, 16);
    ASSERT_TRUE(size16);
    EXPECT_EQ(size16, face->getSize(16, 16));
    EXPECT_EQ(face, size16->getFace());
    // 2189 and 600 font units at 16 / 2048 pixels per unit, in 26.6.
    EXPECT_EQ(
        (std::vector<int>{1095, -300, 1395}),
        (std::vector<int>{size16->getAscender(), size16->getDescender(), size16->getHeight()}));

    const std::shared_ptr<FtSize> widthOnly = face->getSize(0, 16);
    ASSERT_TRUE(widthOnly);
    EXPECT_NE(size16, widthOnly);
    EXPECT_EQ(1095, widthOnly->getAscender()) << "0 means the same as the other dimension";

    EXPECT_EQ(2189, face->getSize(32, 32)->getAscender()) << "one 26.6 unit per font unit";

    const std::weak_ptr<FtSize> released = size16;
    size16.reset();
    EXPECT_TRUE(released.expired()) << "the face keeps no size alive";
    EXPECT_TRUE(face->getSize(16, 16));

    const std::shared_ptr<FtFace> bitmap = FtServer::g().getFace(c_dataDir + "/bitmap.bdf");
    ASSERT_TRUE(bitmap);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{8, 4}}), bitmap->getSizes());
    const int sizes[][3] = {{8, 4, 1}, {8, 0, 1}, {0, 4, 1},  {0, 0, 1},
                            {9, 0, 0}, {8, 5, 0}, {12, 12, 0}};
    for (const auto& s : sizes)
        EXPECT_EQ(s[2] == 1, bool(bitmap->getSize(s[0], s[1]))) << s[0] << " x " << s[1];
    EXPECT_EQ(6 * 64, bitmap->getSize(8, 0)->getAscender());
}

TEST(FtServerTest, KerningUnscaledAndAtASize)
{
    const std::shared_ptr<FtFace> face = FtServer::g().getFace(c_sans);
    EXPECT_EQ(FtVector(-82, 0), face->getKerning(L'A', L'V'));
    EXPECT_EQ(FtVector(-143, 0), face->getKerning(L'T', L'o'));
    EXPECT_EQ(FtVector(0, 0), face->getKerning(L'o', L'o'));
    EXPECT_EQ(FtVector(0, 0), face->getKerning(L'T', 0x0628)) << "a character the face lacks";

    // Half a pixel per 64 units at 32 px, rounded to whole pixels.
    const std::shared_ptr<FtSize> size = face->getSize(32, 0);
    EXPECT_EQ(FtVector(-64, 0), size->getKerning(L'A', L'V'));
    // Another size of the same face in between must not change the result.
    EXPECT_TRUE(face->getSize(10, 0)->getBitmapGlyph(L'T', 0));
    EXPECT_EQ(FtVector(-128, 0), size->getKerning(L'T', L'o'));
}

TEST(FtServerTest, BitmapGlyphsAndUnscaledOutlines)
{
    const std::shared_ptr<FtFace> face = FtServer::g().getFace(c_sans);
    const std::shared_ptr<FtSize> size = face->getSize(16, 0);
    {
        const FtSize::BitmapGlyph a = size->getBitmapGlyph(L'A', FT_LOAD_NO_BITMAP);
        ASSERT_TRUE(a);
        const FT_Bitmap& bm = *a.getBitmap();
        EXPECT_EQ(FT_PIXEL_MODE_GRAY, bm.pixel_mode);
        EXPECT_EQ(256, bm.num_grays);
        EXPECT_EQ(640, a.getAdvance().x) << "hinted to whole pixels";
        EXPECT_EQ(0, a.getAdvance().y);
        // 'A' stands on the baseline: its bitmap ends there and its box
        // reaches as high as the bitmap.
        EXPECT_EQ(int(bm.rows), -a.getTop());
        EXPECT_EQ(int(bm.rows), a.getBearingY() / 64);
    }
    EXPECT_FALSE(size->getBitmapGlyph(0x0628, 0)) << "a character the face lacks";
    EXPECT_TRUE(size->getBitmapGlyph(0, 0)) << "character 0 is the missing-glyph shape";

    FtServer::Locker locker;
    const FT_GlyphSlot slot = face->getGlyph(L'A');
    ASSERT_NE(nullptr, slot);
    EXPECT_EQ(1296, slot->linearHoriAdvance) << "design units, unscaled";
}

TEST(FtServerTest, TransformsRotateVectorsAndGlyphs)
{
    const FtTransform identity(0.0f);
    EXPECT_EQ(std::vector<int32_t>({65536, 0, 0, 65536}),
              std::vector<int32_t>({identity.xx(), identity.xy(), identity.yx(), identity.yy()}));
    const FtTransform quarter(float(M_PI / 2));
    EXPECT_EQ(std::vector<int32_t>({0, -65536, 65536, 0}),
              std::vector<int32_t>({quarter.xx(), quarter.xy(), quarter.yx(), quarter.yy()}))
        << "cos is truncated to 0";
    // Counter-clockwise on a screen whose y grows downwards.
    EXPECT_EQ(FtVector(0, -64), quarter(FtVector(64, 0)));
    EXPECT_EQ(FtVector(64, 0), quarter(FtVector(0, 64)));
    EXPECT_EQ(FtVector(3, 7), identity(FtVector(3, 7)));

    const std::shared_ptr<FtSize> size = FtServer::g().getFace(c_sans)->getSize(40, 0);
    const auto extent = [&size]() {
        const FtSize::BitmapGlyph l = size->getBitmapGlyph(L'l', FT_LOAD_NO_BITMAP);
        return std::make_pair(int(l.getBitmap()->width), int(l.getBitmap()->rows));
    };
    const std::pair<int, int> upright = extent();
    EXPECT_LT(upright.first * 3, upright.second) << "a tall, narrow stroke";
    size->setTransform(quarter, FtVector());
    const std::pair<int, int> lying = extent();
    size->setTransform(identity, FtVector());
    EXPECT_EQ(upright.second, lying.first);
    EXPECT_EQ(upright.first, lying.second);
    EXPECT_EQ(upright, extent());
}
