// Times a touch from the controller's press report to the pressed look on
// the screen, end to end: the built lifeboat runs on an emulated 800 x 480
// framebuffer (a file, through the preload library of tools/fbemu) with a
// PenMount PM9000 on a pseudo-terminal played by this program, so a report
// goes through the real driver, the touch filters (as OKU_TS_JITTER and
// OKU_TS_DEBOUNCE say, defaults otherwise), the main loop, the event queue
// and the GUI thread before the button is drawn into the framebuffer.
//
// Each round presses the Reboot button, waits until a row of pixels across it
// changes in the framebuffer file, then slides the finger off the button
// (which takes the pressed look back without a click) and lifts it there.
// Prints the median and the maximum against the 1 ms the page is meant to
// answer within.
//
// Usage: touch_latency [ROUNDS [PROGRAM]]   (default 200 rounds of the built
// lifeboat; PROGRAM is another build of it to compare, run from this build
// tree's fonts and pictures)
// Needs: the built lifeboat, fonts and pictures of the build tree,
// libfbemu.so, and a mount namespace (root, or user namespaces) in which a
// calibrated device's /var/lib is laid over the real one; without one it
// exits with status 77 (skipped), on any other failure with 2. Leaves nothing
// behind: its files live in a temporary directory that it removes.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <random>
#include <stdexcept>
#include <string>
#include <sched.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

typedef std::chrono::steady_clock Clock;

const int c_width = 800;
const int c_height = 480;
// The Reboot button of the emergency page, and a place on the page away
// from every button.
const int c_buttonX = 400;
const int c_buttonY = 413;
const int c_offButtonX = 400;
const int c_offButtonY = 30;
const int c_startTimeoutMs = 20000;
const int c_lookTimeoutMs = 2000;
const double c_targetMs = 1.0;
// The exit status of a run that could not be made here, as CTest's
// SKIP_RETURN_CODE and automake take it.
const int c_skipped = 77;

// The program under test and its files, removed however the run ends.
pid_t g_program = -1;
std::string g_directory;

void cleanUp()
{
    if (g_program > 0) {
        kill(g_program, SIGKILL);
        waitpid(g_program, nullptr, 0);
    }
    if (!g_directory.empty())
        std::system(("rm -rf '" + g_directory + "'").c_str());
}

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "touch_latency: %s\n", why.c_str());
    cleanUp();
    std::exit(2);
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A PM9000 at the far end of the line: answers the driver's set-up and
// sends reports (positions in raw units, which an uncalibrated driver takes
// as pixels).
class Controller {
public:
    Controller()
    {
        char name[128];
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            fail(std::string("no pseudo-terminal: ") + std::strerror(errno));
        m_path = name;
        struct termios attributes;
        tcgetattr(m_slave, &attributes);
        cfmakeraw(&attributes);
        tcsetattr(m_slave, TCSANOW, &attributes);
    }
    const std::string& path() const { return m_path; }

    // Answers commands until reporting has been switched on.
    void answerSetUp(int timeoutMs)
    {
        const Clock::time_point start = Clock::now();
        unsigned char command[5];
        int received = 0;
        while (msSince(start) < timeoutMs) {
            pollfd request = {m_master, POLLIN, 0};
            if (poll(&request, 1, 50) <= 0 || read(m_master, command + received, 1) != 1)
                continue;
            if (received == 0 && command[0] != 0xF2 && command[0] != 0xF1)
                continue;
            if (++received < 5)
                continue;
            received = 0;
            if (command[0] == 0xF2) {
                send({0xF2, 0xD9, 0x16, 0, 0});
            } else {
                send({0xF1, 0, 0, 0, 0});
                return;
            }
        }
        fail("the program did not switch the controller on");
    }

    void report(bool touching, int x, int y)
    {
        send({static_cast<unsigned char>(touching ? 0xFF : 0xBF),
              static_cast<unsigned char>(x >> 7), static_cast<unsigned char>(x & 0x7F),
              static_cast<unsigned char>(y >> 7), static_cast<unsigned char>(y & 0x7F)});
    }

private:
    void send(std::vector<unsigned char> packet)
    {
        if (write(m_master, packet.data(), packet.size()) != static_cast<ssize_t>(packet.size()))
            fail("cannot write to the line");
    }

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

// The framebuffer file as the program writes it.
class Framebuffer {
public:
    explicit Framebuffer(const std::string& path)
    {
        const size_t size = size_t(c_width) * c_height * 4;
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0 || ftruncate(fd, size) != 0)
            fail("cannot create " + path);
        void* memory = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
        close(fd);
        if (memory == MAP_FAILED)
            fail("cannot map " + path);
        m_pixels = static_cast<const volatile uint32_t*>(memory);
    }

    // Every fourth pixel of the button's middle row.
    std::vector<uint32_t> buttonRow() const
    {
        std::vector<uint32_t> row;
        for (int x = c_buttonX - 200; x < c_buttonX + 200; x += 4)
            row.push_back(static_cast<uint32_t>(m_pixels[c_buttonY * c_width + x]));
        return row;
    }

    // Waits until the row differs from, or (same false) equals, reference;
    // false after timeoutMs.
    bool waitRow(const std::vector<uint32_t>& reference, bool same, int timeoutMs) const
    {
        const Clock::time_point start = Clock::now();
        while ((buttonRow() == reference) != same) {
            if (msSince(start) > timeoutMs)
                return false;
        }
        return true;
    }

private:
    const volatile uint32_t* m_pixels;
};

std::string makeTemporaryDirectory()
{
    char pattern[] = "/tmp/touch_latency.XXXXXX";
    if (!mkdtemp(pattern))
        fail("no temporary directory");
    return pattern;
}

void writeFile(const std::string& path, const std::string& contents)
{
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file || std::fputs(contents.c_str(), file) < 0 || std::fclose(file) != 0)
        fail("cannot write " + path);
}

// Lays the calibrated device's /var/lib (the identity: raw units are pixels,
// so that the page comes first) over the real one, in a mount namespace of
// the calling process's own.
bool enterCalibratedDevice(const std::string& dir)
{
    return (unshare(CLONE_NEWNS) == 0 || unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount((dir + "/varlib").c_str(), "/var/lib", nullptr, MS_BIND, nullptr) == 0;
}

// Whether a child can enter the calibrated device, tried in a child that
// does nothing else.
bool canEnterCalibratedDevice(const std::string& dir)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(enterCalibratedDevice(dir) ? 0 : 1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

pid_t startProgram(const std::string& dir, const Controller& controller, const char* path)
{
    std::vector<std::string> settings;
    for (char** setting = environ; *setting; ++setting)
        settings.push_back(*setting);
    for (const std::string& s :
         {"LD_PRELOAD=" + std::string(FBEMU_LIBRARY), "FBEMU_PATH=" + dir + "/fb",
          std::string("FBEMU_MODE=800x480x32"), "FBEMU_INPUT_DIR=" + dir + "/input",
          "OKU_FBDEV=" + dir + "/fb", std::string("OKU_TSTYPE=pm9000"),
          "OKU_TSDEV=" + controller.path(), std::string("OKU_TSBAUD=19200"),
          "OKU_INPUT_DIR=" + dir + "/input", std::string("OKU_TS_CALIBRATED_FILE=/var/lib/oku-calibrated"),
          "OKU_PREFIX=" + dir + "/none"})
        settings.push_back(s);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    std::vector<char*> env;
    for (std::string& s : settings)
        env.push_back(&s[0]);
    env.push_back(nullptr);
    // The build tree's fonts and pictures are found relative to it.
    if (!enterCalibratedDevice(dir) || chdir(BUILD_DIRECTORY) != 0)
        _exit(127);
    char* argv[] = {const_cast<char*>(path), nullptr};
    execve(path, argv, env.data());
    _exit(127);
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1) + 0.5)];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::string dir = g_directory = makeTemporaryDirectory();
    mkdir((dir + "/input").c_str(), 0700);
    mkdir((dir + "/varlib").c_str(), 0700);
    writeFile(dir + "/varlib/oku-calibrated", "");
    writeFile(dir + "/varlib/oku-tscal.dat", "6 1 0 0 1 0 0 0 0 0 0 0 0\n");
    if (!canEnterCalibratedDevice(dir)) {
        std::fprintf(stderr, "touch_latency: skipped: no mount namespace for the calibrated "
                             "device (needs root or user namespaces)\n");
        cleanUp();
        return c_skipped;
    }
    Framebuffer screen(dir + "/fb");
    Controller controller;
    g_program = startProgram(dir, controller, argc > 2 ? argv[2] : LIFEBOAT_PROGRAM);
    controller.answerSetUp(c_startTimeoutMs);

    // The page is up once the button row has stayed the same for a while.
    std::vector<uint32_t> normal = screen.buttonRow();
    Clock::time_point stableSince = Clock::now();
    const Clock::time_point start = Clock::now();
    const auto blank = [](const std::vector<uint32_t>& row) {
        return std::all_of(row.begin(), row.end(), [](uint32_t pixel) { return pixel == 0; });
    };
    while (msSince(stableSince) < 500 || blank(normal)) {
        if (msSince(start) > c_startTimeoutMs)
            fail("the page did not come up");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const std::vector<uint32_t> now = screen.buttonRow();
        if (now != normal) {
            normal = now;
            stableSince = Clock::now();
        }
    }

    std::mt19937 random(1);
    std::uniform_int_distribution<int> pauseMs(20, 60);
    std::vector<double> latencies;
    for (int i = 0; i < rounds; ++i) {
        const Clock::time_point pressed = Clock::now();
        controller.report(true, c_buttonX, c_buttonY);
        if (!screen.waitRow(normal, false, c_lookTimeoutMs))
            fail("no pressed look in round " + std::to_string(i + 1));
        latencies.push_back(msSince(pressed));
        controller.report(true, c_offButtonX, c_offButtonY);
        if (!screen.waitRow(normal, true, c_lookTimeoutMs))
            fail("the pressed look stayed in round " + std::to_string(i + 1));
        controller.report(false, c_offButtonX, c_offButtonY);
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs(random)));
    }
    cleanUp();

    const double median = percentile(latencies, 0.5);
    std::printf("press report to pressed look, %d rounds: median %.2f ms, 90%% %.2f ms, "
                "minimum %.2f ms, maximum %.2f ms (target: median at most %.1f ms)\n",
                rounds, median, percentile(latencies, 0.9), percentile(latencies, 0.0),
                percentile(latencies, 1.0), c_targetMs);
    return 0;
}
