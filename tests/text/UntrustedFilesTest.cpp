#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include "core/HostileFiles.h"
#include "text/TextTestUtil.h"
#include "text/detail/FtServer.h"
#include "text/detail/LanguageTable.h"

using namespace OKU;

// Language tables and fonts lie where a device's own programs can put
// anything: a FIFO, a link to an endless device, a directory or a file over
// the reader's limit is refused at once, as an unreadable file.
TEST(UntrustedFilesTest, LanguageTablesAndFontsAreRegularFilesWithinTheirLimits)
{
    const struct {
        const char* reader;
        std::uint64_t limit;
        std::function<bool(const std::string&)> read;
    } readers[] = {
        {"language table", c_maxLanguageFileBytes,
         [](const std::string& path) {
             LanguageTable table;
             return readLanguageFile(path, table);
         }},
        {"font face", FtServer::c_maxFontFileBytes,
         [](const std::string& path) { return FtServer::g().getFace(path) != nullptr; }},
        {"font check", FtServer::c_maxFontFileBytes,
         [](const std::string& path) { return FtServer::g().isFontFile(path); }},
    };
    for (const auto& r : readers) {
        TempDir tmp;
        for (const std::string& path : makeHostileFiles(tmp, r.limit))
            EXPECT_TRUE(refusedQuickly([&] { return r.read(path); })) << r.reader << " " << path;
    }
}

// The other side of the bounds: a table of exactly the largest size loads,
// one byte more is refused; a font padded to the largest size opens.
TEST(UntrustedFilesTest, FilesOfTheLargestSizeAreRead)
{
    TempDir tmp;
    // "a" -> "b", then empty pairs up to the limit.
    std::string bytes = std::string("a\0\0\0b\0\0\0", 8);
    bytes.resize(c_maxLanguageFileBytes, '\0');
    tmp.write("full.lng", bytes);
    LanguageTable table;
    ASSERT_TRUE(readLanguageFile(tmp / "full.lng", table));
    EXPECT_EQ(L"b", table[L"a"]);
    tmp.write("over.lng", bytes + '\0');
    EXPECT_FALSE(readLanguageFile(tmp / "over.lng", table));

    const std::vector<char> font = TextTest::readFile(TextTest::c_fontDir + "/DroidSans.ttf");
    tmp.write("full.ttf", std::string(font.begin(), font.end()));
    ASSERT_EQ(0, truncate((tmp / "full.ttf").c_str(), FtServer::c_maxFontFileBytes));
    EXPECT_TRUE(FtServer::g().getFace(tmp / "full.ttf"));
}
