#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <linux/input.h>
#include <memory>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/Paths.h"
#include "gui/EmulatedFramebuffer.h"
#include "input/SerialController.h"

extern char** environ;

namespace {

using serialtest::c_waitMs;
using serialtest::hex;

// The probe program's "touch" mode in the background, its output going to
// files beside the device.
class BackgroundProbe {
public:
    BackgroundProbe(const EmulatedFramebuffer& fb, const std::vector<std::string>& settings)
        : m_fb(fb)
    {
        std::vector<std::string> args = fb.probeCommand(settings, {"touch"});
        args.insert(args.begin(), "/usr/bin/env");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, fb.file("output").c_str(),
                                         O_WRONLY | O_CREAT, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, fb.file("errors").c_str(),
                                         O_WRONLY | O_CREAT, 0600);
        EXPECT_EQ(0, posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ));
        posix_spawn_file_actions_destroy(&actions);
    }
    BackgroundProbe(const BackgroundProbe&) = delete;
    BackgroundProbe& operator=(const BackgroundProbe&) = delete;
    ~BackgroundProbe()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    // The next output line; "" when none came within c_waitMs.
    std::string readLine()
    {
        for (int waited = 0; waited < c_waitMs; ++waited) {
            const std::string text = m_fb.read("output");
            const size_t end = text.find('\n', m_read);
            if (end != std::string::npos) {
                const std::string line = text.substr(m_read, end - m_read);
                m_read = end + 1;
                return line;
            }
            usleep(1000);
        }
        return "";
    }

    // Standard error once it holds text (other threads write there too), or
    // as it stands after c_waitMs.
    std::string errors(const std::string& text = "") const
    {
        std::string errors = m_fb.read("errors");
        for (int waited = 0; waited < c_waitMs && errors.find(text) == errors.npos; ++waited) {
            usleep(1000);
            errors = m_fb.read("errors");
        }
        return errors;
    }
    bool isRunning() { return m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0; }

    // False when the process ended or its main thread kept running for c_waitMs.
    bool waitForMainThreadAsleep()
    {
        const std::string stat = "/proc/" + std::to_string(m_pid) + "/task/" +
                                 std::to_string(m_pid) + "/stat";
        for (int waited = 0; waited < c_waitMs && isRunning(); ++waited) {
            // "pid (name) state ...": the name may hold anything but ')'.
            std::ifstream in(stat);
            const std::string line(std::istreambuf_iterator<char>(in), {});
            const size_t close = line.rfind(')');
            if (close != std::string::npos && line.compare(close, 3, ") S") == 0)
                return true;
            usleep(1000);
        }
        return false;
    }

private:
    const EmulatedFramebuffer& m_fb;
    size_t m_read = 0;
    pid_t m_pid = -1;
};

// The driver repeats a request whose answer is late, so each is answered as it comes.
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

// An evdev device that the preload library emulates in an input directory:
// a FIFO, with the capabilities of a keyboard when asked (a file beside it),
// else those of a touch panel. Held open for writing while plugged in.
class EmulatedInputDevice {
public:
    EmulatedInputDevice(const std::string& path, bool keyboard) : m_path(path)
    {
        if (keyboard)
            std::ofstream(m_path + ".caps") << "EV_SYN,EV_KEY,KEYBOARD\n";
        EXPECT_EQ(0, mkfifo(m_path.c_str(), 0600)) << m_path;
        m_fd = open(m_path.c_str(), O_RDWR);
    }
    EmulatedInputDevice(const EmulatedInputDevice&) = delete;
    EmulatedInputDevice& operator=(const EmulatedInputDevice&) = delete;
    // Unplugged: the program sees its end and the node goes.
    ~EmulatedInputDevice()
    {
        close(m_fd);
        unlink(m_path.c_str());
        unlink((m_path + ".caps").c_str());
    }

    // All the keys go down, in order, then all come up, each a report of its own.
    void type(std::initializer_list<unsigned short> keys) const
    {
        for (const int value : {1, 0})
            for (const unsigned short key : keys) {
                const input_event records[] = {record(EV_KEY, key, value),
                                               record(EV_SYN, SYN_REPORT, 0)};
                EXPECT_EQ(static_cast<ssize_t>(sizeof records),
                          write(m_fd, records, sizeof records));
            }
    }

private:
    static input_event record(unsigned short type, unsigned short code, int value)
    {
        input_event r = {};
        r.type = type;
        r.code = code;
        r.value = value;
        return r;
    }

    std::string m_path;
    int m_fd;
};

} // namespace

TEST(Backend, MainLoopDeliversPM9000TouchesToTheWidgetUnderThem)
{
    ASSERT_FALSE(OKU::pathExists("/var/lib/oku-tscal.dat"))
        << "a stored PenMount calibration would move the touches";
    EmulatedFramebuffer fb;
    serialtest::PseudoTerminal controller;
    BackgroundProbe probe(fb, {"OKU_TSTYPE=pm9000", "OKU_TSDEV=" + controller.path()});
    ASSERT_TRUE(answerPM9000Handshake(controller)) << probe.errors();
    EXPECT_EQ("800x480", probe.readLine());
    EXPECT_EQ("ready", probe.readLine());
    // A person sees the page before touching it (longer than the delay the
    // framebuffer allows for that, DisplayOutput::c_humanReactionMs).
    usleep(200 * 1000);

    // The probe's widget lies at 40,100 and reports positions relative to itself.
    const struct { const char* report; const char* delivered; } touches[] = {
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

// A report cut off on the line makes the TSC10 driver fail; the page keeps
// running, the failure is reported once, and the next report is delivered.
TEST(Backend, ControllerFailingWhileRunningIsReadAgain)
{
    EmulatedFramebuffer fb;
    serialtest::PseudoTerminal controller;
    BackgroundProbe probe(fb, {"OKU_TSTYPE=tsc10", "OKU_TSDEV=" + controller.path()});
    ASSERT_EQ(hex("0B 02 05 41"), controller.receive(4)) << probe.errors();
    controller.send(hex("06"));
    ASSERT_EQ(hex("3A"), controller.receive(1));
    EXPECT_EQ("800x480", probe.readLine());
    EXPECT_EQ("ready", probe.readLine());

    controller.send(hex("11 00"));
    usleep(300 * 1000);
    controller.send(hex("11 00 64 00 96"));
    EXPECT_EQ("down 60 50", probe.readLine());
    EXPECT_TRUE(probe.isRunning());
    const std::string errors = probe.errors();
    EXPECT_EQ(1u, occurrences(errors, "Touch controller failed: Timeout reading")) << errors;
}

TEST(Backend, MainThreadSleepsForEverWithoutATouchController)
{
    EmulatedFramebuffer fb;
    BackgroundProbe probe(fb, {"OKU_TSTYPE=pm9000", "OKU_TSDEV=" + fb.directory() + "/missing",
                               "NIMBLO_OPTIONAL_TSC=1",
                               "OKU_INPUT_DIR=" + fb.directory() + "/none"});
    EXPECT_EQ("800x480", probe.readLine());
    EXPECT_EQ("ready", probe.readLine());
    EXPECT_NE(std::string::npos, probe.errors().find("Cannot initialize touch screen controller:"));
    // Reading the missing driver would crash the process; polling for one would keep it running.
    EXPECT_TRUE(probe.waitForMainThreadAsleep());
    EXPECT_TRUE(probe.isRunning());
    // Nor are there keyboards, said once by the keyboard thread.
    const std::string noKeyboards = "No keyboards: cannot watch " + fb.directory() + "/none";
    const std::string errors = probe.errors(noKeyboards);
    EXPECT_EQ(1u, occurrences(errors, noKeyboards)) << errors;
}

// OKU_DRMDEV chooses the KMS back end; set but empty, it leaves the framebuffer.
TEST(Backend, DrivesAKmsDisplayOnlyWhenOkuDrmdevNamesOne)
{
    EmulatedFramebuffer fb;
    const std::string card = fb.directory() + "/card0";
    const Finished kms = run("/usr/bin/env", fb.probeCommand({"OKU_DRMDEV=" + card}, {"touch"}));
    EXPECT_EQ(std::make_pair(1, "Cannot open \"" + card + "\".  " + std::strerror(ENOENT) + "\n"),
              std::make_pair(kms.status, kms.errors));

    BackgroundProbe probe(fb, {"OKU_DRMDEV="});
    EXPECT_EQ("800x480", probe.readLine()) << probe.errors();
}

// Keys reach the widgets from every keyboard of the input directory: one
// there at the start, one plugged in later, one unplugged and plugged in
// again under the same name, one whose node opens only after a while; a
// touch panel beside them is no keyboard.
TEST(Backend, KeysOfKeyboardsPluggedInBeforeAndWhileRunningReachTheWidgets)
{
    EmulatedFramebuffer fb;
    const std::string input = fb.directory() + "/input";
    ASSERT_EQ(0, mkdir(input.c_str(), 0700));
    auto first = std::make_unique<EmulatedInputDevice>(input + "/event0", true);
    const EmulatedInputDevice panel(input + "/event1", false);
    BackgroundProbe probe(fb, {"OKU_INPUT_DIR=" + input, "FBEMU_INPUT_DIR=" + input});
    EXPECT_EQ("800x480", probe.readLine());
    EXPECT_EQ("ready", probe.readLine());

    // Key codes are the toolkit's (0: a character), characters numbers.
    first->type({KEY_A});
    EXPECT_EQ("key 0 97", probe.readLine());
    first->type({KEY_LEFTSHIFT, KEY_B});
    EXPECT_EQ("key 0 66", probe.readLine());
    panel.type({KEY_X});

    const EmulatedInputDevice second(input + "/event2", true);
    second.type({KEY_C});
    EXPECT_EQ("key 0 99", probe.readLine());

    first.reset();
    second.type({KEY_D});
    EXPECT_EQ("key 0 100", probe.readLine());
    first = std::make_unique<EmulatedInputDevice>(input + "/event0", true);
    first->type({KEY_E});
    EXPECT_EQ("key 0 101", probe.readLine());

    // A new node that does not open at once is tried again for a while.
    ASSERT_EQ(0, symlink("late", (input + "/event3").c_str()));
    usleep(300 * 1000);
    const EmulatedInputDevice late(input + "/late", true);
    late.type({KEY_F});
    EXPECT_EQ("key 0 102", probe.readLine());
    EXPECT_TRUE(probe.isRunning()) << probe.errors();
}
