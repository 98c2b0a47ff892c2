#include <unistd.h>

#include <gtest/gtest.h>

#include "core/HostileFiles.h"

#include "Version.h"

// The version files belong to the boot system and the installation, but a
// FIFO or a link to a device in their place must not stop the page: the
// boot ROM version is then empty and the installation's "UNKNOWN", at once.
TEST(VersionFilesTest, FilesThatAreNoRegularFilesReadAsUnreadable)
{
    TempDir tmp;
    const std::string saved = Version::s_bootromVersionFile;
    for (const std::string& path : makeHostileFiles(tmp, Version::c_maxVersionLineBytes)) {
        const std::string installation = path + ".installation";
        ASSERT_EQ(0, mkdir(installation.c_str(), 0700));
        ASSERT_EQ(0, symlink(path.c_str(), (installation + "/VERSION").c_str()));
        EXPECT_TRUE(refusedQuickly([&] {
            return Version::getVersionAt(installation).orig() != L"UNKNOWN";
        })) << path;
        // The boot ROM file is read no further than its first 100 bytes,
        // whatever its size.
        if (path == tmp / "large")
            continue;
        Version::s_bootromVersionFile = path;
        EXPECT_TRUE(refusedQuickly([] { return !Version::getBootromVersion().empty(); }))
            << path;
    }
    Version::s_bootromVersionFile = saved;
}

// A first line of the longest length is read; one byte more, with or without
// a line end, is refused rather than cut.
TEST(VersionFilesTest, FirstLineIsReadUpToTheLongestLength)
{
    TempDir tmp;
    const std::string longest(Version::c_maxVersionLineBytes, '7');
    const std::pair<std::string, std::wstring> cases[] = {
        {longest + "\nrest", std::wstring(longest.begin(), longest.end())},
        {longest, std::wstring(longest.begin(), longest.end())},
        {longest + "7\n", L"UNKNOWN"},
        {longest + "7", L"UNKNOWN"},
    };
    for (const auto& [contents, expected] : cases) {
        tmp.write("VERSION", contents);
        EXPECT_EQ(expected, Version::getVersionAt(tmp.path()).orig()) << contents.size();
    }
}
