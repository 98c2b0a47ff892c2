#include "HeadlessInterpreter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <ostream>
#include <sstream>
#include <optional>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include "KeyNames.h"
#include "LineReader.h"
#include "ScenarioWords.h"
#include "SimulatorStatus.h"

namespace sim {

namespace {

const int c_touchReadyMs = 10000;
const int c_tapMs = 50;
const int c_defaultWaitTimeoutMs = 10000;
const int c_defaultQuietMs = 300;
const int c_defaultExitTimeoutMs = 10000;
const int c_defaultRunningMs = 1000;
// The first cross may come only after the program's start-up.
const int c_defaultCalibrateTimeoutMs = 30000;
const int c_calibrationCrosses = 9;
// Longer than the calibration page's pause before it shows a cross (half a
// second), so that a still page after the ninth touch shows its result.
const int c_calibrationResultQuietMs = 1000;
const int c_maximumMs = 3600000;
// Longer than anyone takes to react to what appears on a screen, which the
// program counts on before it takes a press as aimed at a new page.
const int c_reactionMs = 150;
// How often a wait for a pixel looks, so that it sees a frame about when a
// person would.
const int c_pixelPollMs = 1;

typedef std::chrono::steady_clock Clock;

// When a waitfor last saw what it waited for, until a tap has reacted to it.
// Kept across interpreters: the board runs a new one for every line.
std::optional<Clock::time_point> s_lastSight;

// Polls the device until the deadline, then sleeps exactly to it.
void pauseUntil(Device& device, Clock::time_point deadline, int sliceMs)
{
    const int leftMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    if (leftMs > sliceMs)
        pollUntil(device, leftMs - sliceMs, [] { return false; });
    std::this_thread::sleep_until(deadline);
    device.poll();
}

const int c_maximumIncludeDepth = 8;
// A drive and the backup's data are held in memory or on this machine's disk.
const int c_maximumDriveMb = 1024;
const int c_maximumBackupDataMb = 256;

class CommandFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool isRunning(const Device& device)
{
    return device.phase() == Device::Phase::RUNNING;
}

// Once the program has exited and the device runs nothing that draws (it
// stopped, or the application waits for a touch), nothing a waitfor waits for
// can come.
CommandFailed exited(const Device& device, const std::string& before)
{
    const std::optional<int> status = device.lastExit();
    return CommandFailed("the program exited with status " +
                         (status ? std::to_string(*status) : std::string("unknown")) + " " +
                         before);
}

// Polls the device until done() holds or timeoutMs have passed; fails at once
// when the program has exited for good.
template <class Condition>
bool pollWhileRunning(Device& device, int timeoutMs, Condition done, const std::string& before)
{
    bool met = false;
    pollUntil(device, timeoutMs, [&] {
        met = done();
        return met || !isRunning(device);
    });
    if (!met && !isRunning(device))
        throw exited(device, before);
    return met;
}

// The screen as the display shows it after power-on, before the program's
// first frame.
bool isBlank(const std::vector<uint32_t>& screen)
{
    return std::all_of(screen.begin(), screen.end(), [](uint32_t rgb) { return rgb == 0; });
}

struct Descriptor {
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    const int fd;
};

int number(const std::string& word, int minimum, int maximum, const char* what)
{
    try {
        return scenarioNumber(word, minimum, maximum, what);
    } catch (const std::invalid_argument& bad) {
        throw CommandFailed(bad.what());
    }
}

int optionalNumber(const HeadlessInterpreter::Words& words, size_t index, int defaultValue,
                   const char* what)
{
    return index < words.size() ? number(words[index], 0, c_maximumMs, what) : defaultValue;
}

int xAt(const HeadlessInterpreter::Words& words, size_t index, const Screen& screen)
{
    return number(words[index], 0, screen.width() - 1, "x");
}

int yAt(const HeadlessInterpreter::Words& words, size_t index, const Screen& screen)
{
    return number(words[index], 0, screen.height() - 1, "y");
}

uint32_t color(const std::string& word)
{
    size_t used = 0;
    unsigned long value = 0;
    try {
        value = std::stoul(word, &used, 16);
    } catch (const std::logic_error&) {
        used = 0;
    }
    if (word.size() != 6 || used != 6)
        throw CommandFailed("bad colour \"" + word + "\", wanted RRGGBB");
    return static_cast<uint32_t>(value);
}

std::string colorText(uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06x", rgb);
    return text;
}

} // namespace

struct HeadlessInterpreter::Command {
    const char* name;
    size_t minimumWords;
    size_t maximumWords;
    void (HeadlessInterpreter::*handler)(const Words&);
};

const HeadlessInterpreter::Command HeadlessInterpreter::c_commands[] = {
    {"tap", 3, 3, &HeadlessInterpreter::tap},
    {"press", 3, 3, &HeadlessInterpreter::touch},
    {"move", 3, 3, &HeadlessInterpreter::touch},
    {"release", 3, 3, &HeadlessInterpreter::touch},
    {"wait", 2, 2, &HeadlessInterpreter::wait},
    {"waitfor", 2, 6, &HeadlessInterpreter::waitFor},
    {"calibrate", 1, 2, &HeadlessInterpreter::calibrate},
    {"screenshot", 2, 2, &HeadlessInterpreter::screenshot},
    {"pixel", 3, 3, &HeadlessInterpreter::pixel},
    {"usb", 2, 6, &HeadlessInterpreter::usb},
    {"backup-data", 2, 2, &HeadlessInterpreter::backupData},
    {"keyboard", 2, 2, &HeadlessInterpreter::keyboard},
    {"key", 2, 2, &HeadlessInterpreter::key},
    {"key-down", 2, 2, &HeadlessInterpreter::key},
    {"key-up", 2, 2, &HeadlessInterpreter::key},
    {"expect-exit", 2, 3, &HeadlessInterpreter::expectExit},
    {"expect-no-exit", 1, 2, &HeadlessInterpreter::expectNoExit},
    {"expect-file", 2, 2, &HeadlessInterpreter::expectFile},
    {"expect-no-file", 2, 2, &HeadlessInterpreter::expectFile},
    {"expect-mounted", 2, 2, &HeadlessInterpreter::expectMounted},
    {"expect-unmounted", 2, 2, &HeadlessInterpreter::expectMounted},
};

HeadlessInterpreter::HeadlessInterpreter(Device& device, const Screen& screen,
                                         std::ostream& out)
    : m_device(device), m_screen(screen), m_out(out)
{
}

int HeadlessInterpreter::run(const std::string& script)
{
    try {
        if (script.empty())
            runLines(STDIN_FILENO, "-");
        else
            include({"include", script}, "");
    } catch (const CommandFailed& failure) {
        m_out << "fail " << failure.what() << std::endl;
        return STATUS_CHECK_FAILED;
    }
    return m_device.phase() == Device::Phase::STOPPED ? STATUS_DEVICE_STOPPED : STATUS_DONE;
}

bool HeadlessInterpreter::runLines(int fd, const std::string& source)
{
    LineReader reader(fd, [this] {
        m_device.poll();
        return m_device.phase() != Device::Phase::STOPPED;
    });
    int lineNumber = 0;
    while (const std::optional<std::string> line = reader.next()) {
        ++lineNumber;
        const Words words = scenarioWords(*line);
        if (words.empty())
            continue;
        if (words[0] == "quit")
            return false;
        try {
            if (words[0] == "include") {
                if (!include(words, source))
                    return false;
            } else {
                execute(words);
            }
        } catch (const CommandFailed& failure) {
            throw CommandFailed(source + ":" + std::to_string(lineNumber) + ": " + failure.what());
        }
        if (m_device.phase() == Device::Phase::STOPPED)
            return false;
    }
    return m_device.phase() != Device::Phase::STOPPED;
}

bool HeadlessInterpreter::include(const Words& words, const std::string& source)
{
    if (words.size() != 2)
        throw CommandFailed("include takes one file");
    if (m_includeDepth == c_maximumIncludeDepth)
        throw CommandFailed("scripts included too deeply");
    const std::string& name = words[1];
    const size_t slash = source.rfind('/');
    const std::string path = name[0] == '/' || slash == std::string::npos
                                 ? name
                                 : source.substr(0, slash + 1) + name;
    const Descriptor script(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (script.fd < 0)
        throw CommandFailed("cannot read \"" + path + "\"");
    ++m_includeDepth;
    const bool goOn = runLines(script.fd, path);
    --m_includeDepth;
    return goOn;
}

void HeadlessInterpreter::execute(const Words& words)
{
    for (const Command& command : c_commands) {
        if (words[0] != command.name)
            continue;
        if (words.size() < command.minimumWords || words.size() > command.maximumWords)
            throw CommandFailed("wrong number of arguments to " + words[0]);
        (this->*command.handler)(words);
        if (words[0] == "waitfor" || words[0] == "calibrate")
            s_lastSight = Clock::now();
        return;
    }
    throw CommandFailed("unknown command \"" + words[0] + "\"");
}

int HeadlessInterpreter::stretchedMs(const Words& words, size_t index, int defaultMs,
                                         const char* what) const
{
    return optionalNumber(words, index, defaultMs, what) * m_device.slowdown();
}

void HeadlessInterpreter::waitTouchReady()
{
    if (!m_device.waitTouchReady(c_touchReadyMs * m_device.slowdown()))
        throw CommandFailed("the program did not switch the touch controller on");
}

void HeadlessInterpreter::react(Device& device)
{
    if (s_lastSight)
        pauseUntil(device, *s_lastSight + std::chrono::milliseconds(c_reactionMs), 10);
    s_lastSight.reset();
}

void HeadlessInterpreter::touch(const Words& words)
{
    const int x = xAt(words, 1, m_screen);
    const int y = yAt(words, 2, m_screen);
    if (words[0] == "press") {
        // A press while the application runs restarts lifeboat instead. One
        // made before the program switched the controller on rests on the
        // panel and is the controller's first report.
        const bool restarts = m_device.phase() == Device::Phase::APPLICATION;
        m_device.press(x, y);
        if (!restarts)
            waitTouchReady();
    } else {
        waitTouchReady();
        if (words[0] == "move")
            m_device.move(x, y);
        else
            m_device.release(x, y);
    }
    m_out << "ok " << words[0] << std::endl;
}

void HeadlessInterpreter::tap(const Words& words)
{
    tapAt(xAt(words, 1, m_screen), yAt(words, 2, m_screen));
    m_out << "ok tap" << std::endl;
}

void HeadlessInterpreter::tapAt(int x, int y)
{
    react(m_device);
    if (m_device.phase() == Device::Phase::APPLICATION) {
        m_device.press(x, y);
    } else {
        waitTouchReady();
        m_device.press(x, y);
        pollUntil(m_device, c_tapMs, [] { return false; });
        m_device.release(x, y);
    }
}

void HeadlessInterpreter::wait(const Words& words)
{
    const int ms = number(words[1], 0, c_maximumMs, "time");
    pauseUntil(m_device, Clock::now() + std::chrono::milliseconds(ms), 10);
    m_out << "ok wait" << std::endl;
}

void HeadlessInterpreter::waitFor(const Words& words)
{
    if (words[1] == "pixel" && words.size() >= 5)
        waitForPixel(words);
    else if (words[1] == "still" && words.size() <= 4)
        waitForStill(words);
    else if (words[1] == "file" && words.size() >= 3 && words.size() <= 4)
        waitForFile(words);
    else
        throw CommandFailed("waitfor takes \"pixel X Y RRGGBB [TIMEOUT_MS]\", "
                            "\"still [QUIET_MS [TIMEOUT_MS]]\" or \"file PATTERN [TIMEOUT_MS]\"");
}

void HeadlessInterpreter::waitForPixel(const Words& words)
{
    const int x = xAt(words, 2, m_screen);
    const int y = yAt(words, 3, m_screen);
    const uint32_t wanted = color(words[4]);
    const int timeoutMs = stretchedMs(words, 5, c_defaultWaitTimeoutMs, "time-out");
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool seen;
    while (!(seen = m_screen.pixel(x, y) == wanted) && Clock::now() < deadline &&
           isRunning(m_device)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(c_pixelPollMs));
        m_device.poll();
    }
    if (!seen && !isRunning(m_device))
        throw exited(m_device, "before pixel " + words[2] + " " + words[3] + " became " +
                                   words[4] + " (it is " + colorText(m_screen.pixel(x, y)) + ")");
    if (!seen)
        throw CommandFailed("pixel " + words[2] + " " + words[3] + " is " +
                            colorText(m_screen.pixel(x, y)) + ", not " + words[4] + " after " +
                            std::to_string(timeoutMs) + " ms");
    m_out << "ok waitfor" << std::endl;
}

void HeadlessInterpreter::waitForStill(const Words& words)
{
    const int quietMs = stretchedMs(words, 2, c_defaultQuietMs, "quiet time");
    const int timeoutMs = stretchedMs(words, 3, c_defaultWaitTimeoutMs, "time-out");
    awaitStillScreen(quietMs, timeoutMs);
    m_out << "ok waitfor" << std::endl;
}

void HeadlessInterpreter::awaitStillScreen(int quietMs, int timeoutMs)
{
    std::vector<uint32_t> last = m_screen.snapshot();
    Clock::time_point lastChange = Clock::now();
    // A black screen is the display's before the program's first frame: it
    // never counts as still.
    bool blank = isBlank(last);
    bool still = false;
    pollUntil(m_device, timeoutMs, [&] {
        std::vector<uint32_t> now = m_screen.snapshot();
        if (blank || now != last) {
            lastChange = Clock::now();
            blank = isBlank(now);
            last.swap(now);
        }
        still = Clock::now() - lastChange >= std::chrono::milliseconds(quietMs);
        return still || !isRunning(m_device);
    });
    if (still)
        return;
    if (!isRunning(m_device))
        throw exited(m_device,
                     blank ? "before it showed anything" : "before the screen stood still");
    if (blank)
        throw CommandFailed("the program showed nothing (the screen stayed black) for " +
                            std::to_string(timeoutMs) + " ms");
    throw CommandFailed("the screen kept changing for " + std::to_string(timeoutMs) + " ms");
}

std::optional<CrossCentre> HeadlessInterpreter::crossShown() const
{
    return findCalibrationCross(m_screen.snapshot(), m_screen.width(), m_screen.height());
}

void HeadlessInterpreter::calibrate(const Words& words)
{
    const int timeoutMs = stretchedMs(words, 1, c_defaultCalibrateTimeoutMs, "time-out");
    const std::string after = " after " + std::to_string(timeoutMs) + " ms";
    for (int touched = 0; touched < c_calibrationCrosses; ++touched) {
        const std::string which = "calibration cross " + std::to_string(touched + 1) + " of " +
                                  std::to_string(c_calibrationCrosses);
        std::optional<CrossCentre> cross;
        if (!pollWhileRunning(m_device, timeoutMs, [&] { return bool(cross = crossShown()); },
                              "before " + which + " showed"))
            throw CommandFailed("no " + which + " on the screen" + after);
        s_lastSight = Clock::now();
        tapAt(cross->x, cross->y);
        // The page takes the touch as the finger lifts and hides its cross.
        const std::string where = std::to_string(cross->x) + " " + std::to_string(cross->y);
        if (!pollWhileRunning(
                m_device, timeoutMs,
                [&] {
                    const std::optional<CrossCentre> shown = crossShown();
                    return !shown || shown->x != cross->x || shown->y != cross->y;
                },
                "before " + which + " at " + where + " went"))
            throw CommandFailed(which + " at " + where + " still showed" + after +
                                " of being touched");
    }
    awaitStillScreen(c_calibrationResultQuietMs, timeoutMs);
    if (const std::optional<CrossCentre> again = crossShown())
        throw CommandFailed("the program did not take the nine touches: it shows a cross at " +
                            std::to_string(again->x) + " " + std::to_string(again->y) + " again");
    // The result page's OK button stands in the middle of the screen.
    const std::vector<uint32_t> result = m_screen.snapshot();
    s_lastSight = Clock::now();
    tapAt(m_screen.width() / 2, m_screen.height() / 2);
    awaitStillScreen(c_defaultQuietMs, timeoutMs);
    if (m_screen.snapshot() == result)
        throw CommandFailed("the calibration's result page stayed when its OK, in the middle "
                            "of the screen, was touched");
    m_out << "ok calibrate" << std::endl;
}

void HeadlessInterpreter::waitForFile(const Words& words)
{
    const int timeoutMs = stretchedMs(words, 3, c_defaultWaitTimeoutMs, "time-out");
    if (!pollWhileRunning(m_device, timeoutMs,
                          [&] { return !m_device.findFiles(words[2]).empty(); },
                          "before there was a file " + words[2]))
        throw CommandFailed("no file " + words[2] + " after " + std::to_string(timeoutMs) + " ms");
    m_out << "ok waitfor" << std::endl;
}

void HeadlessInterpreter::screenshot(const Words& words)
{
    if (!m_screen.toPixmap().savePNG(words[1]))
        throw CommandFailed("cannot write \"" + words[1] + "\"");
    m_out << "screenshot " << words[1] << std::endl;
}

void HeadlessInterpreter::pixel(const Words& words)
{
    const int x = xAt(words, 1, m_screen);
    const int y = yAt(words, 2, m_screen);
    m_out << "pixel " << x << " " << y << " " << colorText(m_screen.pixel(x, y)) << std::endl;
}

void HeadlessInterpreter::usb(const Words& words)
{
    if (words[1] == "remove" && words.size() == 2) {
        m_device.removeUsbDrive();
    } else if (words[1] == "insert") {
        UsbDriveSettings drive;
        for (size_t i = 2; i < words.size(); ++i) {
            if (words[i] == "read-only")
                drive.readOnly = true;
            else if (words[i] == "slow")
                drive.slow = true;
            else if (words[i] == "size" && i + 1 < words.size())
                drive.sizeMb = number(words[++i], 1, c_maximumDriveMb, "size");
            else
                throw CommandFailed("unknown drive property \"" + words[i] + "\"");
        }
        m_device.insertUsbDrive(drive);
    } else {
        throw CommandFailed("usb takes \"insert [read-only] [slow] [size MB]\" or \"remove\"");
    }
    m_out << "ok usb " << words[1] << std::endl;
}

void HeadlessInterpreter::backupData(const Words& words)
{
    m_device.addBackupData(number(words[1], 1, c_maximumBackupDataMb, "size"));
    m_out << "ok backup-data" << std::endl;
}

void HeadlessInterpreter::keyboard(const Words& words)
{
    if (words[1] != "plug" && words[1] != "unplug")
        throw CommandFailed("keyboard takes \"plug\" or \"unplug\"");
    const bool plug = words[1] == "plug";
    if (!m_device.plugKeyboard(plug))
        throw CommandFailed(plug ? "a keyboard is plugged in already"
                                 : "no keyboard is plugged in");
    m_out << "ok keyboard " << words[1] << std::endl;
}

void HeadlessInterpreter::key(const Words& words)
{
    const std::vector<unsigned short> codes = keyCodes(words[1]);
    if (codes.empty())
        throw CommandFailed("unknown key \"" + words[1] + "\", wanted one of " + c_keyNamesHelp);
    if (words[0] != "key-up")
        sendKeys(codes, true);
    if (words[0] == "key")
        pollUntil(m_device, c_tapMs, [] { return false; });
    if (words[0] != "key-down")
        sendKeys(codes, false);
    m_out << "ok " << words[0] << std::endl;
}

void HeadlessInterpreter::sendKeys(const std::vector<unsigned short>& codes, bool pressed)
{
    for (size_t i = 0; i < codes.size(); ++i)
        if (!m_device.key(codes[pressed ? i : codes.size() - 1 - i], pressed))
            throw CommandFailed("no keyboard is plugged in");
}

void HeadlessInterpreter::expectExit(const Words& words)
{
    const int wanted = number(words[1], 0, 255, "exit status");
    const int timeoutMs = stretchedMs(words, 2, c_defaultExitTimeoutMs, "time-out");
    const std::optional<int> status = m_device.takeExit(timeoutMs);
    if (!status)
        throw CommandFailed("the program did not exit within " + std::to_string(timeoutMs) +
                            " ms");
    if (*status != wanted)
        throw CommandFailed("exit status " + std::to_string(*status) + ", expected " + words[1]);
    m_out << "ok expect-exit" << std::endl;
}

void HeadlessInterpreter::expectNoExit(const Words& words)
{
    // Stands for a person watching, so it is not stretched.
    const int runningMs = optionalNumber(words, 1, c_defaultRunningMs, "time");
    if (const std::optional<int> status = m_device.takeExit(runningMs))
        throw CommandFailed("the program exited with status " + std::to_string(*status));
    m_out << "ok expect-no-exit" << std::endl;
}

void HeadlessInterpreter::expectFile(const Words& words)
{
    const bool wanted = words[0] == "expect-file";
    const std::vector<std::string> found = m_device.findFiles(words[1]);
    if (found.empty() == wanted)
        throw CommandFailed(wanted ? "no file " + words[1] : "there is " + found.front());
    m_out << "ok " << words[0] << std::endl;
}

void HeadlessInterpreter::expectMounted(const Words& words)
{
    const bool wanted = words[0] == "expect-mounted";
    if (m_device.isMounted(words[1]) != wanted)
        throw CommandFailed(words[1] + (wanted ? " is not mounted" : " is mounted"));
    m_out << "ok " << words[0] << std::endl;
}

} // namespace sim
