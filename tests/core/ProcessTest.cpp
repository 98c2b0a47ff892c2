#include "core/Process.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/FatalError.h"
#include "core/TempDir.h"

using OKU::execWait;

namespace {

// Writes an executable shell script into dir and returns its path.
std::string writeScript(const TempDir& dir, const std::string& name, const std::string& body)
{
    dir.write(name, "#!/bin/sh\n" + body + "\n");
    const std::string path = dir / name;
    EXPECT_EQ(0, chmod(path.c_str(), 0755));
    return path;
}

int openDescriptorCount()
{
    DIR* dir = opendir("/proc/self/fd");
    int count = 0;
    while (readdir(dir))
        ++count;
    closedir(dir);
    return count;
}

// Points one of our own standard descriptors at a file while it exists.
class StandardDescriptorRedirect {
public:
    StandardDescriptorRedirect(int target, const std::string& path)
        : m_target(target), m_saved(dup(target))
    {
        const int fd = open(path.c_str(), O_RDWR);
        EXPECT_EQ(target, dup2(fd, target));
        close(fd);
    }
    StandardDescriptorRedirect(const StandardDescriptorRedirect&) = delete;
    StandardDescriptorRedirect& operator=(const StandardDescriptorRedirect&) = delete;
    ~StandardDescriptorRedirect()
    {
        dup2(m_saved, m_target);
        close(m_saved);
    }

private:
    int m_target;
    int m_saved;
};

bool hasChildren()
{
    return !(waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

// Runs a program with no descriptor left to create pipes with; the fatal
// error's message goes to standard error.
void execWaitWithoutDescriptors()
{
    OKU::setFatalErrorHandler([](const char* message) { fprintf(stderr, "%s\n", message); });
    const rlimit limit = {3, 3};
    setrlimit(RLIMIT_NOFILE, &limit);
    execWait("/bin/true", {}, nullptr, "", nullptr);
}

} // namespace

TEST(ProcessTest, StatusArgumentsAndCapturedStreams)
{
    TempDir dir;
    const std::string script =
        writeScript(dir, "report.sh", "printf '%s\\n' \"$0\" \"$@\"; echo problem >&2; exit 3");
    std::string output;
    std::string errors;
    EXPECT_EQ(3, execWait(script, {"a b", "", "c"}, &output, "", &errors));
    EXPECT_EQ(script + "\na b\n\nc\n", output);
    EXPECT_EQ("problem\n", errors);

    // Captures are appended to, and a name without "/" is looked up in PATH.
    EXPECT_EQ(0, execWait("sh", {"-c", "echo more"}, &output, "", nullptr));
    EXPECT_EQ(script + "\na b\n\nc\n" + "more\n", output);
    EXPECT_EQ(255, execWait("sh", {"-c", "exit 255"}, nullptr, "", nullptr));

    // Ended by a signal; what came before is still captured.
    output.clear();
    EXPECT_EQ(-2, execWait("/bin/sh", {"-c", "echo before; kill -9 $$; echo after"}, &output,
                           "", nullptr));
    EXPECT_EQ("before\n", output);
    EXPECT_EQ(-2, execWait("/bin/sh", {"-c", "kill -TERM $$"}, nullptr, "", nullptr));
    EXPECT_FALSE(hasChildren());
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
    EXPECT_EQ(0, execWait("/bin/sh",
                          {"-c", "tee /dev/stderr; head -c 102400 /dev/zero | tr '\\0' x"},
                          &output, input, &errors));
    EXPECT_EQ(input + std::string(102400, 'x'), output);
    EXPECT_EQ(input, errors);
}

TEST(ProcessTest, ChildNeverUsesCallersStandardStreams)
{
    // A child that inherited our standard input would read "parent" instead
    // of an immediate end of file, and its output would land in our files.
    TempDir dir;
    dir.write("in", "parent");
    dir.write("out", "");
    StandardDescriptorRedirect ourInput(STDIN_FILENO, dir / "in");
    StandardDescriptorRedirect ourOutput(STDOUT_FILENO, dir / "out");
    StandardDescriptorRedirect ourErrors(STDERR_FILENO, dir / "out");

    std::string output = "kept";
    EXPECT_EQ(0, execWait("/bin/cat", {}, &output, "", nullptr));
    EXPECT_EQ("kept", output);
    EXPECT_EQ(5, execWait("/bin/sh", {"-c", "cat; echo lost; echo lost >&2; exit 5"}, nullptr,
                          "", nullptr));
    EXPECT_EQ("", dir.read("out"));
}

TEST(ProcessTest, ProgramThatCannotRunGivesMinusOneAndLeavesNothingBehind)
{
    TempDir dir;
    dir.write("plain.txt", "echo not executable\n");
    const int descriptors = openDescriptorCount();
    std::string output;
    std::string errors;
    EXPECT_EQ(-1, execWait(dir / "missing", {"x"}, &output, "input", &errors));
    EXPECT_EQ(-1, execWait(dir / "plain.txt", {}, &output, "", &errors));
    EXPECT_EQ(-1, execWait(dir.path(), {}, nullptr, "", nullptr));
    EXPECT_EQ(-1, execWait("no-such-program-anywhere", {}, nullptr, "", nullptr));
    EXPECT_EQ("", output);
    EXPECT_EQ("", errors);
    EXPECT_EQ(descriptors, openDescriptorCount());
    EXPECT_FALSE(hasChildren());
}

TEST(ProcessTest, ChildInheritsNoDescriptorsAboveTwo)
{
    // Descriptors without close-on-exec, as a framebuffer or touch device
    // might be opened.
    const int low = open("/dev/null", O_RDONLY);
    const int high = fcntl(low, F_DUPFD, 200);
    ASSERT_GE(low, 3);
    ASSERT_GE(high, 200);

    // ls runs while the shell waits, so it lists exactly what the shell got.
    std::string output;
    std::string errors;
    for (const std::string& input : {std::string(), std::string("text")}) {
        output.clear();
        EXPECT_EQ(0, execWait("/bin/sh", {"-c", "ls /proc/$$/fd; :"}, &output, input, &errors));
        EXPECT_EQ("0\n1\n2\n", output);
    }
    EXPECT_EQ("", errors);
    close(low);
    close(high);
}

TEST(ProcessTest, ChildThatStopsReadingInputDoesNotEndTheCaller)
{
    // Without care the write into a pipe nobody reads any more raises
    // SIGPIPE and kills the whole program. Repeated, because whether the
    // child is already gone at the first write varies from run to run.
    const std::string input(1024 * 1024, 'i');
    for (int run = 0; run < 20; ++run) {
        std::string output;
        EXPECT_EQ(4, execWait("/bin/sh", {"-c", "echo ready; exit 4"}, &output, input, nullptr));
        EXPECT_EQ("ready\n", output);
    }
    EXPECT_FALSE(hasChildren());
}

TEST(ProcessDeathTest, NoDescriptorsLeftIsFatal)
{
    EXPECT_EXIT(execWaitWithoutDescriptors(), ::testing::ExitedWithCode(1), "pipe2\\(\\) failed");
}
