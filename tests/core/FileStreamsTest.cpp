#include "core/FileStreams.h"

#include <iterator>
#include <string>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/Paths.h"

using namespace OKU;

TEST(FileStreamsTest, OpenModesDecideCreatingTruncatingAndAppendingAndNothingLeaks)
{
    TempDir tmp;
    // Larger than the buffer, and with a NUL byte.
    std::string data(20000, 'z');
    data[100] = '\0';
    oufstream out;
    out.open(tmp / "file", std::ios_base::out | std::ios_base::binary);
    out << data;
    out.close();
    EXPECT_TRUE(out.good() && !out.is_open());
    iufstream in(tmp / "file");
    EXPECT_EQ(data, std::string(std::istreambuf_iterator<char>(in), {}));

    tmp.write("file", "0123456789");
    const std::pair<std::ios_base::openmode, std::string> modes[] = {
        {std::ios_base::out, "ab23456789"},
        {std::ios_base::app, "ab23456789ab"},
        {std::ios_base::out | std::ios_base::trunc, "ab"}};
    for (const auto& [mode, expected] : modes) {
        oufstream(tmp / "file", mode) << "ab";
        EXPECT_EQ(expected, tmp.read("file")) << mode;
    }
    // The read-write stream updates in place, and a wide path is UTF-8.
    const std::wstring wide =
        std::wstring(tmp.path().begin(), tmp.path().end()) + L"/Gr\u00fc\u00dfe";
    ufstream(wide) << "hello world";
    ufstream both(wide);
    std::string word;
    both >> word;
    EXPECT_EQ("hello", word);
    both.seekp(6);
    both << "WORLD";
    both.seekg(0);
    EXPECT_EQ("hello WORLD", std::string(std::istreambuf_iterator<char>(both), {}));
    both.close();
    EXPECT_EQ("hello WORLD", tmp.read(u8"Gr\u00fc\u00dfe"));

    const int before = openDescriptorCount();
    {
        iufstream missing(tmp / "missing");
        EXPECT_TRUE(missing.fail() && !missing.is_open());
        ufstream readOnly(tmp / "missing", std::ios_base::in);
        EXPECT_FALSE(readOnly.is_open());
        EXPECT_FALSE(pathExists(tmp / "missing"));
        oufstream noDirectory(tmp / "no/such/dir");
        EXPECT_TRUE(noDirectory.fail() && !noDirectory.is_open());

        oufstream twice(tmp / "file");
        twice.open(tmp / "other");
        EXPECT_TRUE(twice.fail() && twice.is_open());
        EXPECT_FALSE(pathExists(tmp / "other"));

        iufstream reader(tmp / "file");
        ufstream readWrite(tmp / "file");
        EXPECT_EQ(before + 3, openDescriptorCount());
        twice.clear();
        twice << "unflushed";
    }
    // Destruction flushes and closes.
    EXPECT_EQ(before, openDescriptorCount());
    EXPECT_EQ("unflushed", tmp.read("file"));
}
