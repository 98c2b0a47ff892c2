#ifndef OKU_TESTS_INPUT_SERIALCONTROLLER_H
#define OKU_TESTS_INPUT_SERIALCONTROLLER_H

// Test doubles for touch controllers: a pseudo-terminal driven by the test as
// the controller, scripted conversations on their own thread, trace capture
// and replay of recorded byte streams. Every wait is bounded, so a broken
// driver fails a test instead of hanging it.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/TempDir.h"
#include "core/Trace.h"
#include "input/TouchScreen.h"
#include "input/detail/PM6000TouchScreen.h"
#include "input/detail/PM9000TouchScreen.h"
#include "input/detail/TSC10TouchScreen.h"

namespace serialtest {

typedef std::vector<unsigned char> Bytes;

const int c_waitMs = 5000;

// Bytes from hexadecimal text such as "F2 00 0e"; "#" comments to the line end.
inline Bytes hex(const std::string& text)
{
    Bytes bytes;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        for (std::string word; words >> word;)
            bytes.push_back(static_cast<unsigned char>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}

inline std::string toHex(const Bytes& bytes)
{
    std::string text;
    for (unsigned char b : bytes)
        text += std::string(text.empty() ? "" : " ") + "0123456789ABCDEF"[b >> 4] +
            "0123456789ABCDEF"[b & 15];
    return text;
}

// The driver opens path(); the test is the controller on the master side.
class PseudoTerminal {
public:
    PseudoTerminal() : m_master(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        char name[128];
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
            ptsname_r(m_master, name, sizeof name) != 0) {
            close(m_master);
            throw std::runtime_error("no pseudo-terminal");
        }
        m_path = name;
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal() { hangUp(); }

    const std::string& path() const { return m_path; }

    void send(const Bytes& bytes)
    {
        if (write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("pseudo-terminal write failed");
    }

    // The next count bytes the driver wrote; fewer if it went quiet for c_waitMs.
    Bytes receive(size_t count)
    {
        Bytes bytes(count);
        size_t done = 0;
        struct pollfd request = {m_master, POLLIN, 0};
        for (ssize_t n = 1; done < count && n > 0 && poll(&request, 1, c_waitMs) > 0; done += n)
            n = std::max<ssize_t>(read(m_master, &bytes[done], count - done), 0);
        bytes.resize(done);
        return bytes;
    }

    // The master sees its slave's settings: true once the driver made the
    // line raw at speed.
    bool waitForRawMode(speed_t speed)
    {
        for (int waited = 0; waited < c_waitMs; ++waited) {
            struct termios attributes;
            if (tcgetattr(m_master, &attributes) == 0 && !(attributes.c_lflag & ICANON) &&
                cfgetispeed(&attributes) == speed)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    // The driver's reads see the end of the line.
    void hangUp()
    {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

private:
    int m_master;
    std::string m_path;
};

// What the driver must write, what it is sent, a wait until it made the
// line raw at the baud rate number, or a pause of number milliseconds.
struct Step {
    enum Kind { EXPECT, SEND, RAW_MODE, PAUSE } kind;
    Bytes bytes;
    int number = 0;
};

inline Step expect(const std::string& text) { return {Step::EXPECT, hex(text)}; }
inline Step answer(const std::string& text) { return {Step::SEND, hex(text)}; }

// Plays a conversation on its own thread while the test calls the driver.
class ScriptedController {
public:
    ScriptedController(PseudoTerminal& terminal, std::vector<Step> steps)
        : m_thread([this, &terminal, steps] { play(terminal, steps); })
    {
    }
    ~ScriptedController() { finish(); }

    // "" when every step went as scripted, else the first thing that did not.
    std::string finish()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_error;
    }

private:
    void play(PseudoTerminal& terminal, const std::vector<Step>& steps)
    {
        for (size_t i = 0; i < steps.size() && m_error.empty(); ++i) {
            const Step& step = steps[i];
            if (step.kind == Step::SEND) {
                terminal.send(step.bytes);
            } else if (step.kind == Step::PAUSE) {
                std::this_thread::sleep_for(std::chrono::milliseconds(step.number));
            } else if (step.kind == Step::RAW_MODE) {
                if (!terminal.waitForRawMode(step.number == 9600 ? B9600 : B19200))
                    m_error = "the line was not set up";
            } else if (const Bytes got = terminal.receive(step.bytes.size()); got != step.bytes) {
                m_error = "step " + std::to_string(i) + ": expected " + toHex(step.bytes) +
                          ", driver sent " + toHex(got);
            }
        }
    }

    std::string m_error;
    std::thread m_thread;
};

// Bounds driver calls that block by design: ends the process after seconds.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds = 60)
    {
        signal(SIGALRM, [](int) {
            static const char c_message[] = "\nA driver call hung; test abandoned.\n";
            [[maybe_unused]] const ssize_t n =
                write(STDERR_FILENO, c_message, sizeof c_message - 1);
            _exit(3);
        });
        alarm(seconds);
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
    ~HangGuard() { alarm(0); }
};

// Captures every trace message of the categories starting with prefix.
class TraceCapture {
public:
    explicit TraceCapture(const std::string& prefix) : m_prefix(prefix)
    {
        m_dir.write("trace.xml", "<traceconfig><output filename='" + m_dir / "trace.log" +
                                     "' defaultlimit='silly' flush='true'/></traceconfig>");
        m_dir.write("none.xml", "<traceconfig/>");
        EXPECT_TRUE(OKU::traceInit(m_dir / "trace.xml"));
    }
    ~TraceCapture() { OKU::traceInit(m_dir / "none.xml"); }

    // "category message" from lines "{thread} date time [category]: message".
    std::vector<std::string> messages() const
    {
        OKU::traceFlush();
        std::vector<std::string> result;
        std::istringstream in(m_dir.read("trace.log"));
        for (std::string line; std::getline(in, line);) {
            const size_t category = line.find(" [" + m_prefix);
            const size_t end = line.find("]: ", category);
            if (category != std::string::npos && end != std::string::npos)
                result.push_back(line.substr(category + 2, end - category - 2) + " " +
                                 line.substr(end + 3));
        }
        return result;
    }

    bool waitFor(const std::string& message) const
    {
        for (int waited = 0; waited < c_waitMs; waited += 5) {
            const std::vector<std::string> traced = messages();
            if (std::find(traced.begin(), traced.end(), message) != traced.end())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

private:
    TempDir m_dir;
    std::string m_prefix;
};

// The message of the std::runtime_error call throws, "" when it returns.
template <class Call> std::string thrown(Call call)
{
    try {
        call();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

inline std::string describe(const OKU::TouchScreen::Event& event)
{
    return std::string(event.pressed ? "press " : "release ") + std::to_string(event.x) + " " +
        std::to_string(event.y);
}

inline std::string readDataFile(const std::string& name)
{
    std::ifstream in(std::string(OKU_TEST_DATA_DIR) + "/input/" + name, std::ios_base::binary);
    EXPECT_TRUE(in.good()) << name;
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// The lines of tests/data/input/<name> without their "#" comments and
// trailing spaces; empty ones are left out.
inline std::vector<std::string> dataLines(const std::string& name)
{
    std::vector<std::string> lines;
    std::istringstream in(readDataFile(name));
    for (std::string line; std::getline(in, line);) {
        line.erase(std::min(line.find('#'), line.size()));
        line.erase(line.find_last_not_of(' ') + 1);
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

// Nine targets on an 800 x 480 screen and where a controller whose axes
// are scaled and offset (raw = 5 x + 300, 8 y + 200) saw them touched.
inline std::vector<OKU::TouchScreen::CalibrationPoint> calibrationPoints(size_t count = 9)
{
    std::vector<OKU::TouchScreen::CalibrationPoint> points;
    for (int y : {70, 240, 429})
        for (int x : {50, 400, 749})
            points.push_back({x, y, 5 * x + 300, 8 * y + 200});
    points.resize(count);
    return points;
}

// The controller's side of tests/data/input/<name>.stream, a step a line:
// "raw BAUD" waits until the driver has made the line raw (answers sent
// before may be flushed), "expect HEX" is what the driver must write next,
// "pause MS" a controller slow to answer (what the driver writes meanwhile
// stays unread), and bare hexadecimal bytes are sent (see hex()).
inline std::vector<Step> controllerSteps(const std::string& name)
{
    std::vector<Step> steps;
    for (const std::string& line : dataLines(name + ".stream")) {
        std::istringstream words(line);
        std::string keyword, rest;
        words >> keyword;
        std::getline(words, rest);
        if (keyword == "raw" || keyword == "pause")
            steps.push_back(
                {keyword == "raw" ? Step::RAW_MODE : Step::PAUSE, Bytes(), std::stoi(rest)});
        else if (keyword == "expect")
            steps.push_back(expect(rest));
        else {
            // Lines of bytes in a row go in one write, as a burst on the line.
            if (steps.empty() || steps.back().kind != Step::SEND)
                steps.push_back(answer(""));
            const Bytes bytes = hex(line);
            steps.back().bytes.insert(steps.back().bytes.end(), bytes.begin(), bytes.end());
        }
    }
    return steps;
}

// The outcome of the driver call an .expected line names: "init", "raw on",
// "raw off", "rotation DEGREES" or "calibrate N" (the first N
// calibrationPoints()); "" when it returns, else the message it throws.
inline std::string call(OKU::TouchScreen& driver, const std::string& name)
{
    return thrown([&driver, &name] {
        if (name == "init")
            driver.init();
        else if (name == "raw on" || name == "raw off")
            name == "raw on" ? driver.startRawCoordinates() : driver.endRawCoordinates();
        else if (name.compare(0, 9, "rotation ") == 0)
            driver.setRotation(std::stoi(name.substr(9)));
        else if (name.compare(0, 10, "calibrate ") == 0)
            driver.setCalibration(calibrationPoints(std::stoul(name.substr(10))), 799, 479);
        else
            ADD_FAILURE() << "no such call: " << name;
    });
}

// Plays <name>.stream as the controller (see controllerSteps()) while the
// test checks the driver against <name>.expected, a line at a time: a call
// that must return, or with ": MESSAGE" throw that message, DEVICE standing
// for the line's path; "press X Y" or "release X Y" for the next event;
// "traces PREFIX" to capture the messages of the categories starting with
// it, and "trace CATEGORY MESSAGE" for one traced before the next line.
inline void play(OKU::TouchScreen& driver, PseudoTerminal& terminal, const std::string& name)
{
    ScriptedController controller(terminal, controllerSteps(name));
    std::unique_ptr<TraceCapture> traces;
    std::vector<std::string> expectedTraces;
    for (const std::string& line : dataLines(name + ".expected")) {
        const std::string where = name + ".expected: " + line;
        if (line.compare(0, 7, "traces ") == 0) {
            traces = std::make_unique<TraceCapture>(line.substr(7));
        } else if (line.compare(0, 6, "trace ") == 0) {
            expectedTraces.push_back(line.substr(6));
            continue;
        } else if (line.compare(0, 6, "press ") == 0 || line.compare(0, 8, "release ") == 0) {
            EXPECT_EQ(line, describe(driver.getEvent())) << where;
        } else {
            const size_t colon = line.find(": ");
            std::string error = colon == std::string::npos ? "" : line.substr(colon + 2);
            if (const size_t device = error.find("DEVICE"); device != std::string::npos)
                error.replace(device, 6, terminal.path());
            EXPECT_EQ(error, call(driver, line.substr(0, colon))) << where;
        }
        if (traces) {
            EXPECT_EQ(expectedTraces, traces->messages()) << where;
        }
    }
    EXPECT_EQ("", controller.finish()) << name;
}

const char c_noCalibration[] = "/nonexistent/tscal.dat";

// The driver of a controller model ("tsc10", "pm9000" or "pm6000") for an
// 800 x 480 screen; the PenMount ones at baud, calibrated from the file.
inline std::unique_ptr<OKU::TouchScreen>
serialDriver(const std::string& model, const std::string& device, int baud = 19200,
             const std::string& calibration = c_noCalibration)
{
    if (model == "tsc10")
        return std::make_unique<OKU::TSC10TouchScreen>(device, 800, 480);
    if (model == "pm9000")
        return std::make_unique<OKU::PM9000TouchScreen>(device, baud, 800, 480, calibration);
    return std::make_unique<OKU::PM6000TouchScreen>(device, baud, 800, 480, calibration);
}

// A driver of the model on a fresh pseudo-terminal, through its start-up
// conversation.
struct StartedDriver {
    explicit StartedDriver(const std::string& model,
                           const std::string& calibration = c_noCalibration)
        : driver(serialDriver(model, terminal.path(), 19200, calibration))
    {
        play(*driver, terminal, model + "-start");
    }

    PseudoTerminal terminal;
    std::unique_ptr<OKU::TouchScreen> driver;
};

} // namespace serialtest

#endif
