#include "core/RegularFile.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include "HostileFiles.h"
#include "core/FileStreams.h"

using namespace OKU;

// A FIFO without a writer, endless devices, a directory and a file over the
// limit are refused at once; the open never blocks.
TEST(RegularFileTest, OnlyRegularFilesWithinTheLimitAreRead)
{
    TempDir tmp;
    const std::uint64_t limit = 10;
    for (const std::string& path : makeHostileFiles(tmp, limit)) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(refusedQuickly([&] { return openRegularFile(path, limit).isOpen(); }));
        EXPECT_TRUE(refusedQuickly([&] {
            std::string contents;
            return readRegularFile(path, limit, contents);
        }));
        if (path != tmp / "large") {
            EXPECT_TRUE(refusedQuickly([&] {
                std::string contents;
                return readRegularFileStart(path, 4, contents);
            }));
        }
    }
    std::string contents = "untouched";
    EXPECT_FALSE(readRegularFile(tmp / "missing", limit, contents));
    EXPECT_EQ("untouched", contents);

    // The last size inside the limit and the first outside; the start of a
    // file of any size.
    tmp.write("ten", "0123456789");
    ASSERT_TRUE(readRegularFile(tmp / "ten", limit, contents));
    EXPECT_EQ("0123456789", contents);
    EXPECT_FALSE(readRegularFile(tmp / "ten", limit - 1, contents));
    EXPECT_EQ("0123456789", contents);
    ASSERT_TRUE(readRegularFileStart(tmp / "ten", 4, contents));
    EXPECT_EQ("0123", contents);
    ASSERT_TRUE(readRegularFileStart(tmp / "large", 4, contents));
    EXPECT_EQ(std::string(4, '\0'), contents);
    tmp.write("empty", "");
    ASSERT_TRUE(readRegularFile(tmp / "empty", 0, contents));
    EXPECT_EQ("", contents);

    // A descriptor that blocks again like any other and is not inherited.
    const Descriptor fd = openRegularFile(tmp / "ten", limit);
    ASSERT_TRUE(fd.isOpen());
    EXPECT_EQ(O_RDONLY, fcntl(fd.get(), F_GETFL) & (O_ACCMODE | O_NONBLOCK));
    EXPECT_EQ(FD_CLOEXEC, fcntl(fd.get(), F_GETFD));
}

// Streams over descriptors opened this way read them and close them; a
// refused file gives a stream that failed to open.
TEST(RegularFileTest, StreamsTakeOverTheDescriptor)
{
    TempDir tmp;
    tmp.write("words", "two words");
    const int before = openDescriptorCount();
    {
        iufstream in(openRegularFile(tmp / "words", 100));
        ASSERT_TRUE(in.is_open());
        std::string first, second;
        EXPECT_TRUE(in >> first >> second);
        EXPECT_EQ("words", second);
        EXPECT_EQ(before + 1, openDescriptorCount());
    }
    EXPECT_EQ(before, openDescriptorCount());
    iufstream refused(openRegularFile(tmp.path(), 100));
    EXPECT_FALSE(refused.is_open());
    EXPECT_TRUE(refused.fail());
}
