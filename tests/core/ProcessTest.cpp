#include "core/Process.h"

#include <cerrno>
#include <string>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "TempDir.h"

using OKU::execWait;

namespace {

bool hasChildren()
{
    return !(waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

} // namespace

TEST(ProcessTest, StatusArgumentsCapturedStreamsAndProgramsThatCannotRun)
{
    TempDir dir;
    dir.write("report.sh", "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\"; echo problem >&2; exit 3\n");
    const std::string script = dir / "report.sh";
    ASSERT_EQ(0, chmod(script.c_str(), 0755));
    std::string output;
    std::string errors;
    EXPECT_EQ(3, execWait(script, {"a b", "", "c"}, &output, "", &errors));
    EXPECT_EQ(script + "\na b\n\nc\n|problem\n", output + "|" + errors);
    // Captures are appended to, and a name without "/" is looked up in PATH.
    EXPECT_EQ(0, execWait("sh", {"-c", "echo more"}, &output, "", nullptr));
    EXPECT_EQ(script + "\na b\n\nc\n" + "more\n", output);
    // Ended by a signal; what came before is still captured.
    output.clear();
    EXPECT_EQ(
        -2,
        execWait("/bin/sh", {"-c", "echo before; kill -9 $$; echo after"}, &output, "", nullptr));
    EXPECT_EQ("before\n", output);
    // Programs that cannot run leave nothing behind.
    dir.write("plain.txt", "echo not executable\n");
    const int descriptors = openDescriptorCount();
    output = errors = "";
    EXPECT_EQ(-1, execWait(dir / "missing", {"x"}, &output, "input", &errors));
    EXPECT_EQ(-1, execWait(dir / "plain.txt", {}, &output, "", &errors));
    EXPECT_EQ("", output + errors);
    EXPECT_EQ(descriptors, openDescriptorCount());
    EXPECT_FALSE(hasChildren());
    // With no descriptor left to create pipes with.
    expectFatal(
        [] {
            const rlimit limit = {3, 3};
            setrlimit(RLIMIT_NOFILE, &limit);
            execWait("/bin/true", {}, nullptr, "", nullptr);
        },
        ".*pipe2\\(\\) failed", "fast");
}

TEST(ProcessTest, LargeInputAndOutputsArePumpedTogether)
{
    // Far more than a pipe holds in every direction at once: a pump that
    // wrote all input before reading, or drained one output before the
    // other, would deadlock.
    std::string input;
    for (int i = 0; input.size() < 300 * 1024; ++i)
        input += "line " + std::to_string(i) + "\n";
    std::string output;
    std::string errors;
    EXPECT_EQ(0,
              execWait("/bin/sh", {"-c", "tee /dev/stderr; head -c 102400 /dev/zero | tr '\\0' x"},
                       &output, input, &errors));
    EXPECT_TRUE(output == input + std::string(102400, 'x') && errors == input);
    // Without care the write into a pipe nobody reads any more raises
    // SIGPIPE and kills the whole program. Repeated, because whether the
    // child is already gone at the first write varies from run to run.
    const std::string unread(1024 * 1024, 'i');
    for (int run = 0; run < 20; ++run) {
        output.clear();
        EXPECT_EQ(4, execWait("/bin/sh", {"-c", "echo ready; exit 4"}, &output, unread, nullptr));
        EXPECT_EQ("ready\n", output);
    }
    EXPECT_FALSE(hasChildren());
}

TEST(ProcessTest, ChildGetsOnlyItsOwnThreeDescriptors)
{
    // A child that inherited our standard input would read "parent" instead
    // of an immediate end of file, and its output would land in our files.
    TempDir dir;
    dir.write("in", "parent");
    dir.write("out", "");
    int saved[3];
    for (int fd = 0; fd < 3; ++fd) {
        saved[fd] = dup(fd);
        const int file = open((dir / (fd == 0 ? "in" : "out")).c_str(), O_RDWR);
        dup2(file, fd);
        close(file);
    }
    std::string output = "kept";
    EXPECT_EQ(0, execWait("/bin/cat", {}, &output, "", nullptr));
    EXPECT_EQ(
        5,
        execWait("/bin/sh", {"-c", "cat; echo lost; echo lost >&2; exit 5"}, nullptr, "", nullptr));
    for (int fd = 0; fd < 3; ++fd) {
        dup2(saved[fd], fd);
        close(saved[fd]);
    }
    EXPECT_EQ("kept", output);
    EXPECT_EQ("", dir.read("out"));
    // Descriptors without close-on-exec, as a device might be opened; ls
    // runs while the shell waits, so it lists exactly what the shell got.
    const int low = open("/dev/null", O_RDONLY);
    const int high = fcntl(low, F_DUPFD, 200);
    ASSERT_GE(high, 200);
    for (const std::string& input : {std::string(), std::string("text")}) {
        std::string listing;
        EXPECT_EQ(0, execWait("/bin/sh", {"-c", "ls /proc/$$/fd; :"}, &listing, input, nullptr));
        EXPECT_EQ("0\n1\n2\n", listing);
    }
    close(low);
    close(high);
}
