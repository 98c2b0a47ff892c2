#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "core/Paths.h"
#include "gui/EmulatedFramebuffer.h"
#include "input/SerialController.h"

extern char** environ;

namespace {

using serialtest::c_waitMs;
using serialtest::hex;

// The probe program running in the background (see tools/fbemu); killed at
// the end of the test.
class BackgroundProbe {
public:
    BackgroundProbe(const EmulatedFramebuffer& fb, const std::vector<std::string>& settings)
    {
        int out[2];
        int err[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error(std::string("pipe2: ") + std::strerror(errno));
        if (pipe2(err, O_CLOEXEC) != 0) {
            close(out[0]);
            close(out[1]);
            throw std::runtime_error(std::string("pipe2: ") + std::strerror(errno));
        }
        m_out = out[0];
        m_err = err[0];
        std::vector<std::string> args = fb.probeCommand(settings, {"touch"});
        args.insert(args.begin(), "/usr/bin/env");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        if (spawned != 0)
            m_pid = -1;
        EXPECT_EQ(0, spawned);
    }
    BackgroundProbe(const BackgroundProbe&) = delete;
    BackgroundProbe& operator=(const BackgroundProbe&) = delete;
    ~BackgroundProbe()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_out);
        close(m_err);
    }

    // The next line of its standard output without the line end; "" when
    // none came within c_waitMs.
    std::string readLine()
    {
        for (;;) {
            const size_t end = m_output.find('\n');
            if (end != std::string::npos) {
                const std::string line = m_output.substr(0, end);
                m_output.erase(0, end + 1);
                return line;
            }
            if (!readMore(m_out, c_waitMs, m_output))
                return "";
        }
    }

    // What it has written to standard error so far.
    std::string errors()
    {
        std::string text;
        while (readMore(m_err, 0, text)) {
        }
        return text;
    }

    bool isRunning() { return m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0; }

    // Waits until the main thread is blocked in the kernel; false when the
    // process ended or kept running for c_waitMs.
    bool waitForMainThreadAsleep()
    {
        const std::string stat = "/proc/" + std::to_string(m_pid) + "/task/" +
                                 std::to_string(m_pid) + "/stat";
        for (int waited = 0; waited < c_waitMs && isRunning(); ++waited) {
            std::ifstream in(stat);
            std::stringstream text;
            text << in.rdbuf();
            // "pid (name) state ...": the name may hold anything but ')'.
            const std::string line = text.str();
            const size_t close = line.rfind(')');
            if (close != std::string::npos && line.compare(close, 3, ") S") == 0)
                return true;
            usleep(1000);
        }
        return false;
    }

private:
    static bool readMore(int fd, int timeoutMs, std::string& text)
    {
        struct pollfd request = {fd, POLLIN, 0};
        if (poll(&request, 1, timeoutMs) <= 0)
            return false;
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        text.append(buffer, n);
        return true;
    }

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_output;
};

// Plays the controller during the PM9000 start-up. The driver repeats a
// request whose answer is late, so each request is answered as it comes.
bool answerPM9000Handshake(serialtest::PseudoTerminal& controller)
{
    for (;;) {
        const serialtest::Bytes request = controller.receive(5);
        if (request == hex("F2 00 00 00 00")) {
            controller.send(hex("F2 D9 01 00 00"));
        } else if (request == hex("F1 00 00 00 00")) {
            controller.send(hex("F1 00 00 00 00"));
            return true;
        } else {
            return false;
        }
    }
}

} // namespace

TEST(Backend, MainLoopDeliversPM9000TouchesToTheWidgetUnderThem)
{
    // Without a stored calibration the driver reports raw positions.
    ASSERT_FALSE(OKU::pathExists("/var/lib/oku-tscal.dat"))
        << "a stored PenMount calibration would move the touches";
    EmulatedFramebuffer fb;
    fb.create(800 * 480 * 4, 0);
    serialtest::PseudoTerminal controller;
    BackgroundProbe probe(fb, {"OKU_TSTYPE=pm9000", "OKU_TSDEV=" + controller.path()});
    ASSERT_TRUE(answerPM9000Handshake(controller)) << probe.errors();
    EXPECT_EQ("800x480", probe.readLine());
    EXPECT_EQ("ready", probe.readLine());

    // The probe's widget lies at 40,100 and reports positions relative to itself.
    const struct {
        const char* report;
        const char* delivered;
    } touches[] = {
        {"FF 00 64 01 16", "down 60 50"},   // 100,150
        {"FF 01 02 01 2A", "move 90 70"},   // 130,170
        {"FF 01 48 02 04", "move 160 160"}, // 200,260
        // The release reports the last pressed position, not its own 5,5.
        {"BF 00 05 00 05", "up 160 160"},
    };
    for (const auto& t : touches) {
        controller.send(hex(t.report));
        EXPECT_EQ(t.delivered, probe.readLine()) << t.report;
    }
}

TEST(Backend, MainThreadSleepsForEverWithoutATouchController)
{
    EmulatedFramebuffer fb;
    fb.create(800 * 480 * 4, 0);
    BackgroundProbe probe(fb, {"OKU_TSTYPE=pm9000", "OKU_TSDEV=" + fb.directory() + "/missing",
                               "NIMBLO_OPTIONAL_TSC=1"});
    EXPECT_EQ("800x480", probe.readLine());
    EXPECT_EQ("ready", probe.readLine());
    EXPECT_NE(std::string::npos,
              probe.errors().find("Cannot initialize touch screen controller:"));
    // Reading the missing driver would crash the process; polling for one
    // would keep the thread running.
    EXPECT_TRUE(probe.waitForMainThreadAsleep());
    EXPECT_TRUE(probe.isRunning());
}
