#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <linux/input.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "KeyNames.h"
#include "QmpClient.h"
#include "QmpInput.h"
#include "QmpScreen.h"
#include "UnixSocketServer.h"
#include "UsbDrive.h"

using namespace board;

namespace {

typedef std::function<std::string(const std::string& command)> Answer;
typedef std::function<void(QmpClient& qmp, const std::string& directory)> Session;

// Runs the session against QEMU's side of QMP, played on a thread that
// answers each command with what answer returns for it; gives the requests
// it got, the session's directory written DIR.
std::vector<std::string> qmpRequests(const Answer& answer, const Session& session)
{
    const std::string directory = temporaryDirectory(), path = directory + "/qmp.sock";
    const int listener = listenOnUnixSocket(path);
    std::vector<std::string> requests;
    std::thread qemu([&] {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0)
            return;
        const auto send = [connection](const std::string& text) {
            if (write(connection, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
                ADD_FAILURE() << "cannot answer";
        };
        send("{\"QMP\": {\"version\": {}}}\r\n");
        std::string buffer;
        char chunk[4096];
        for (ssize_t n; (n = read(connection, chunk, sizeof chunk)) > 0;) {
            buffer.append(chunk, static_cast<size_t>(n));
            for (size_t end; (end = buffer.find('\n')) != std::string::npos;
                 buffer.erase(0, end + 1)) {
                requests.push_back(buffer.substr(0, end));
                // The command's name: the first string after "execute".
                const std::string& request = requests.back();
                const size_t start = request.find('"', request.find("\"execute\":") + 10) + 1;
                send(answer(request.substr(start, request.find('"', start) - start)));
            }
        }
        close(connection);
    });
    try {
        QmpClient qmp(path, 5000);
        session(qmp, directory);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    shutdown(listener, SHUT_RDWR);
    close(listener);
    qemu.join();
    std::filesystem::remove_all(directory);
    for (std::string& request : requests)
        if (const size_t at = request.find(directory); at != std::string::npos)
            request.replace(at, directory.size(), "DIR");
    return requests;
}

const char c_ok[] = "{\"return\": {}}\r\n";
const char c_event[] = "{\"timestamp\": {}, \"event\": \"DEVICE_DELETED\"}\r\n";

std::string error(const std::string& description)
{
    return "{\"error\": {\"class\": \"GenericError\", \"desc\": \"" + description + "\"}}\r\n";
}

// The requests of tests/data/board/<name>.requests, a line each ('#' starts
// a comment line).
std::vector<std::string> recorded(const std::string& name)
{
    std::vector<std::string> expected;
    std::ifstream file(BOARD_TEST_DATA_DIR "/" + name + ".requests");
    for (std::string line; std::getline(file, line);)
        if (line.compare(0, 1, "#") != 0)
            expected.push_back(line);
    return expected;
}

} // namespace

TEST(Qmp, SkipsEventsAndReportsErrors)
{
    const Answer answer = [](const std::string& command) {
        if (command == "query-status")
            return std::string(c_event) + c_event + "{\"return\": {\"running\": true}}\r\n";
        return command == "device_del" ? error("Device 'usbdrive' not found") : std::string(c_ok);
    };
    EXPECT_EQ(recorded("errors"), qmpRequests(answer, [](QmpClient& qmp, const std::string&) {
                  EXPECT_EQ(qmp.execute("query-status"), "{\"return\": {\"running\": true}}");
                  EXPECT_THROW(qmp.execute("device_del", "{\"id\": \"usbdrive\"}"),
                               std::runtime_error);
                  EXPECT_FALSE(qmp.tryExecute("device_del", "{\"id\": \"usbdrive\"}"));
                  EXPECT_TRUE(qmp.tryExecute("stop"));
              }));
}

// The pulled drive's node is deleted as soon as the device lets go.
TEST(Qmp, DrivesArePluggedWithWellFormedRequestsAndPulledOnceReleased)
{
    std::atomic<int> busyAnswers{0};
    const Answer answer = [&](const std::string& command) {
        // The unplugged device holds its node for a moment.
        return command == "blockdev-del" && busyAnswers-- > 0 ? error("Node 'usbdisk' is busy")
                                                              : std::string(c_ok);
    };
    EXPECT_EQ(recorded("usb-drive"),
              qmpRequests(answer, [&](QmpClient& qmp, const std::string& directory) {
                  UsbDrive drive(qmp, directory + "/usb \"1\".img");
                  drive.insert(true, true);
                  busyAnswers = 2;
                  drive.remove();
              }));
}

// Screendumps taken back to back would starve the emulated processors of
// QEMU's global lock: however fast the commands look, the dumps are spaced.
TEST(QmpScreen, DumpsTheScreenNoMoreOftenThanItsInterval)
{
    const int looks = 5;
    const std::vector<std::string> requests = qmpRequests(
        [](const std::string&) { return std::string(c_ok); },
        [&](QmpClient& qmp, const std::string& directory) {
            const QmpScreen screen(qmp, directory + "/screen.ppm");
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < looks; ++i)  // no file came: a black screen
                EXPECT_EQ(screen.pixel(0, 0), 0u);
            EXPECT_GE(std::chrono::steady_clock::now() - start,
                      std::chrono::milliseconds((looks - 1) * QmpScreen::c_minDumpIntervalMs));
        });
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const std::string& r) {
                                return r.find("\"screendump\"") != std::string::npos;
                            }),
              looks);
}

TEST(Qmp, DriveContentsAreListedFromTheImage)
{
    if (system("command -v mkfs.vfat >/dev/null && command -v mcopy >/dev/null") != 0)
        GTEST_SKIP() << "needs dosfstools and mtools";
    const Answer answer = [](const std::string& command) {
        return command == "qmp_capabilities" ? std::string(c_ok) : error("no drive");
    };
    qmpRequests(answer, [](QmpClient& qmp, const std::string& directory) {
        UsbDrive drive(qmp, directory + "/usb.img");
        drive.format(2);
        EXPECT_EQ(drive.list("*"), std::vector<std::string>{});
        // The capacity asked for: a drive too small for the backup is one.
        EXPECT_EQ(std::filesystem::file_size(directory + "/usb.img"), 2u << 20);
        const std::string copy =
            "echo data | MTOOLS_SKIP_CHECK=1 mcopy -i " + directory + "/usb.img - ::/";
        ASSERT_EQ(system((copy + "backup-20261206-120000.tar.gz").c_str()), 0);
        ASSERT_EQ(system((copy + "notes.txt").c_str()), 0);
        EXPECT_EQ(drive.list("backup-*.tar.gz"),
                  std::vector<std::string>{"backup-20261206-120000.tar.gz"});
        EXPECT_EQ(drive.list("*").size(), 2u);
    });
}

TEST(QmpInput, KeysAndTheTabletReachQemuAsWellFormedInputEvents)
{
    EXPECT_EQ(recorded("input"), qmpRequests([](const std::string&) { return std::string(c_ok); },
                                             [](QmpClient& qmp, const std::string&) {
                                                 QmpInput input(qmp);
                                                 input.key("tab", true);
                                                 input.touch(false, 0, 32767);
                                                 input.plugKeyboard();
                                                 EXPECT_TRUE(input.unplugKeyboard());
                                             }));
}

TEST(QmpInput, EveryKeyOfTheScenariosHasAQemuName)
{
    std::string qcodes;
    for (const char* key :
         {"tab", "shift+tab", "enter", "space", "escape", "left", "down", "1", "0"}) {
        for (const unsigned short code : sim::keyCodes(key))
            qcodes += keyQcode(code) + "+";
        qcodes.back() = ' ';
    }
    EXPECT_EQ(qcodes, "tab shift+tab ret spc esc left down 1 0 ");
    for (char letter = 'a'; letter <= 'z'; ++letter)
        EXPECT_EQ(keyQcode(sim::keyCodes(std::string(1, letter)).at(0)), std::string(1, letter));
    EXPECT_EQ(keyQcode(KEY_F1) + keyQcode(KEY_BACKSPACE), "");
}

TEST(QmpInput, TabletCoordinatesScaleBackToTheTouchedPixel)
{
    for (const int size : {800, 480}) {
        EXPECT_EQ(tabletCoordinate(size - 1, size), 32767);
        for (int pixel = 0; pixel < size; ++pixel) {
            const double back = tabletCoordinate(pixel, size) * (size - 1) / 32767.0;
            ASSERT_EQ(static_cast<int>(back), pixel) << size;
            ASSERT_EQ(std::lround(back), pixel) << size;
        }
    }
}
