#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <signal.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "GuestAgent.h"
#include "QmpClient.h"
#include "QmpScreen.h"
#include "UnixSocketServer.h"

using namespace board;

namespace {

std::string runShell(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char chunk[256];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe.get())) > 0;)
        output.append(chunk, n);
    return output;
}

// The guest's agent script run by this machine's shell, served on a Unix
// socket as QEMU serves the board's console.
class AgentOnHost {
public:
    AgentOnHost() : m_directory(temporaryDirectory()), m_socket(m_directory + "/agent.sock")
    {
        m_listener = listenOnUnixSocket(m_socket);
        m_pid = fork();
        if (m_pid == 0) {
            const int connection = accept(m_listener, nullptr, nullptr);
            dup2(connection, 0);
            dup2(connection, 1);
            dup2(connection, 2);
            execl("/bin/sh", "sh", BOARD_AGENT_SCRIPT, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~AgentOnHost()
    {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        close(m_listener);
        runShell("rm -rf " + shellQuote(m_directory));
    }
    const std::string& socketPath() const { return m_socket; }
    const std::string& directory() const { return m_directory; }

private:
    std::string m_directory;
    std::string m_socket;
    int m_listener = -1;
    pid_t m_pid = -1;
};

} // namespace

TEST(BoardQuoting, WordsSurviveTheGuestShellAndJson)
{
    for (const std::string word : {"plain", "two words", "it's", "$HOME `id`", "*", "", "a\\b"})
        EXPECT_EQ(runShell("printf %s " + shellQuote(word)), word) << word;
    EXPECT_EQ(jsonString("/tmp/a \"b\"\\c"), "\"/tmp/a \\\"b\\\"\\\\c\"");
}

TEST(BoardScreen, ScreendumpsAreReadAsRgbWordsAndOtherPicturesRefused)
{
    const std::string directory = temporaryDirectory();
    const std::string good = directory + "/good.ppm";
    std::ofstream(good, std::ios_base::binary)
        << "P6\n800 480\n255\n\x12\x34\x56" << std::string(800 * 480 * 3 - 4, '\0') << '\xff';
    const std::vector<uint32_t> words = readScreenPpm(good);
    ASSERT_EQ(words.size(), 800u * 480u);
    EXPECT_EQ(words.front(), 0x123456u);
    EXPECT_EQ(words.back(), 0x0000ffu);

    // The console's mode, and a picture cut short.
    for (const char* header : {"P6\n640 480\n255\n", "P6\n800 480\n255\n"}) {
        std::ofstream(directory + "/bad.ppm", std::ios_base::binary)
            << header << std::string(10, '\0');
        EXPECT_THROW(readScreenPpm(directory + "/bad.ppm"), std::runtime_error) << header;
    }
    runShell("rm -rf " + shellQuote(directory));
}

TEST(BoardAgent, AnswersCommandsReportsProgramEndsAndFindsFiles)
{
    AgentOnHost host;
    GuestAgent agent(host.socketPath(), 10000);
    const GuestAgent::Result listed = agent.run("echo one; echo two; false", 10000);
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.output, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(agent.check("echo 'it'\\''s'", 10000), std::vector<std::string>{"it's"});
    EXPECT_THROW(agent.check("echo why >&2; exit_status() { return 3; }; exit_status", 10000),
                 std::runtime_error);
    // The shell lives on between commands.
    agent.check("remembered=yes", 10000);
    EXPECT_EQ(agent.check("echo $remembered", 10000), std::vector<std::string>{"yes"});

    EXPECT_FALSE(agent.takeExit());
    // Reports come on the agent's own channel, also while a command prints.
    agent.check("echo '@@exit 41 0' >&3; echo busy; echo '@@exit 42 54' >&3", 10000);
    for (const auto& [pid, status] : {std::pair(41, 0), std::pair(42, 54)}) {
        const std::optional<GuestAgent::Exit> exit = agent.takeExit();
        EXPECT_TRUE(exit && exit->pid == pid && exit->status == status) << pid;
    }
    EXPECT_FALSE(agent.takeExit());

    const std::string dir = shellQuote(host.directory());
    agent.check("touch " + dir + "/oku-tscal.dat " + dir + "/oku-calibrated", 10000);
    EXPECT_EQ(agent.check("find_files " + host.directory() + "/oku-*", 10000).size(), 2u);
    EXPECT_EQ(agent.check("find_files " + host.directory() + "/backup-*.tar.gz", 10000),
              std::vector<std::string>{});
    EXPECT_EQ(agent.run("is_mounted /", 10000).status, 0);
    EXPECT_NE(agent.run("is_mounted /no/such/mount", 10000).status, 0);
}

TEST(BoardAgent, BackupDataReplacesTheLastAndDoesNotCompress)
{
    AgentOnHost host;
    GuestAgent agent(host.socketPath(), 10000);
    const std::string bulk = shellQuote(host.directory() + "/bulk.bin");
    agent.check("backup_data_dir=" + shellQuote(host.directory()) +
                    "; backup_data 2; backup_data 1",
                10000);
    EXPECT_EQ(runShell("wc -c <" + bulk), "1048576\n");
    EXPECT_GE(std::stol(runShell("gzip -c " + bulk + " | wc -c")), 1048576);
}

// The board's check that the program wakes a dark display needs it dark first.
TEST(BoardAgent, DarkensTheDisplayOrFailsWhereItCannot)
{
    AgentOnHost host;
    GuestAgent agent(host.socketPath(), 10000);
    const std::string sys = host.directory() + "/sys";
    runShell("mkdir -p " + shellQuote(sys + "/class/graphics/fb0") + " " +
             shellQuote(sys + "/class/backlight/panel") + " " +
             shellQuote(sys + "/class/backlight/plain") + " && cd " + shellQuote(sys) +
             "/class && echo 0 >graphics/fb0/blank && echo 0 >backlight/panel/bl_power && "
             "echo 200 >backlight/panel/brightness && echo 9 >backlight/plain/brightness");
    agent.check("sysfs=" + shellQuote(sys) + "; darken_display", 10000);
    EXPECT_EQ(runShell("cd " + shellQuote(sys) + "/class && cat graphics/fb0/blank "
                       "backlight/panel/bl_power backlight/panel/brightness "
                       "backlight/plain/brightness; ls backlight/plain"),
              "1\n4\n0\n0\nbrightness\n");
    agent.check("sysfs=" + shellQuote(host.directory() + "/nothing"), 10000);
    EXPECT_NE(agent.run("darken_display", 10000).status, 0);
}
