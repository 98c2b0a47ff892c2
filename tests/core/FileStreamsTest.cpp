#include "core/FileStreams.h"

#include <dirent.h>

#include <string>

#include <gtest/gtest.h>

#include "core/Paths.h"
#include "TempDir.h"

using namespace OKU;

namespace {

int openDescriptorCount()
{
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (readdir(dir) != nullptr)
        ++count;
    closedir(dir);
    return count;
}

std::string readAll(std::istream& in)
{
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(FileStreamsTest, OutputCreatesAndInputReadsBack)
{
    TempDir tmp;
    // Larger than the buffer, and with a NUL byte.
    std::string data(20000, 'z');
    data[100] = '\0';
    oufstream out;
    EXPECT_FALSE(out.is_open());
    out.open(tmp / "file", std::ios_base::out | std::ios_base::binary);
    ASSERT_TRUE(out.is_open());
    out << data;
    out.close();
    EXPECT_TRUE(out.good());
    EXPECT_FALSE(out.is_open());

    iufstream in(tmp / "file");
    ASSERT_TRUE(in.is_open());
    EXPECT_EQ(data, readAll(in));
}

TEST(FileStreamsTest, OutputTruncatesOrAppendsOnlyWhenAsked)
{
    TempDir tmp;
    tmp.write("file", "0123456789");
    {
        oufstream out(tmp / "file");
        out << "ab";
    }
    EXPECT_EQ("ab23456789", tmp.read("file"));
    {
        oufstream out(tmp / "file", std::ios_base::app);
        out << "cd";
    }
    EXPECT_EQ("ab23456789cd", tmp.read("file"));
    {
        oufstream out(tmp / "file", std::ios_base::out | std::ios_base::trunc);
        out << "ef";
    }
    EXPECT_EQ("ef", tmp.read("file"));
}

TEST(FileStreamsTest, FailedOpensSetFailBitAndLeakNothing)
{
    TempDir tmp;
    const int before = openDescriptorCount();
    {
        iufstream in(tmp / "missing");
        EXPECT_TRUE(in.fail());
        EXPECT_FALSE(in.is_open());
        EXPECT_FALSE(pathExists(tmp / "missing"));

        oufstream out(tmp / "no/such/dir");
        EXPECT_TRUE(out.fail());
        EXPECT_FALSE(out.is_open());

        oufstream twice(tmp / "file");
        ASSERT_TRUE(twice.is_open());
        twice.open(tmp / "other");
        EXPECT_TRUE(twice.fail());
        EXPECT_TRUE(twice.is_open());
        EXPECT_FALSE(pathExists(tmp / "other"));

        iufstream closedTwice(tmp / "file");
        closedTwice.close();
        EXPECT_FALSE(closedTwice.fail());
        closedTwice.close();
        EXPECT_TRUE(closedTwice.fail());
    }
    EXPECT_EQ(before, openDescriptorCount());
}

TEST(FileStreamsTest, DestructionFlushesAndClosesTheDescriptor)
{
    TempDir tmp;
    const int before = openDescriptorCount();
    {
        oufstream out(tmp / "file");
        iufstream in(tmp / "file");
        ufstream both(tmp / "file");
        EXPECT_EQ(before + 3, openDescriptorCount());
        out << "unflushed";
    }
    EXPECT_EQ(before, openDescriptorCount());
    EXPECT_EQ("unflushed", tmp.read("file"));
}

TEST(FileStreamsTest, ReadWriteStreamUpdatesInPlace)
{
    TempDir tmp;
    tmp.write("file", "hello world");
    ufstream both(tmp / "file");
    ASSERT_TRUE(both.is_open());
    std::string word;
    both >> word;
    EXPECT_EQ("hello", word);
    both.seekp(6);
    both << "WORLD";
    both.seekg(0);
    EXPECT_EQ("hello WORLD", readAll(both));
    both.close();
    EXPECT_EQ("hello WORLD", tmp.read("file"));

    // Writing is requested, so a missing file is created.
    ufstream created(tmp / "new");
    EXPECT_TRUE(created.is_open());
    ufstream readOnly(tmp / "missing", std::ios_base::in);
    EXPECT_FALSE(readOnly.is_open());
}

TEST(FileStreamsTest, WidePathsAreEncodedAsUtf8)
{
    TempDir tmp;
    const std::wstring dir(tmp.path().begin(), tmp.path().end());
    {
        oufstream out(dir + L"/Gr\u00fc\u00dfe.txt");
        ASSERT_TRUE(out.is_open());
        out << "wide";
    }
    EXPECT_EQ("wide", tmp.read(u8"Gr\u00fc\u00dfe.txt"));

    iufstream in;
    in.open(dir + L"/Gr\u00fc\u00dfe.txt");
    ASSERT_TRUE(in.is_open());
    EXPECT_EQ("wide", readAll(in));
}
