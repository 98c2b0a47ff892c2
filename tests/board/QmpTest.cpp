#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <fstream>
#include <functional>
#include <linux/input.h>
#include <mutex>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "KeyNames.h"
#include "QmpClient.h"
#include "QmpInput.h"
#include "UnixSocketServer.h"
#include "UsbDrive.h"

using namespace board;

namespace {

// QEMU's side of QMP, answering each command with what the test's
// function returns for it and keeping every request.
class FakeQmp {
public:
    typedef std::function<std::string(const std::string& command)> Answer;

    explicit FakeQmp(Answer answer)
        : m_answer(std::move(answer)), m_directory(temporaryDirectory()), m_path(m_directory + "/qmp.sock"),
          m_listener(listenOnUnixSocket(m_path)), m_thread([this] { serve(); })
    {
    }
    ~FakeQmp()
    {
        shutdown(m_listener, SHUT_RDWR);
        close(m_listener);
        m_thread.join();
        unlink(m_path.c_str());
        rmdir(m_directory.c_str());
    }
    const std::string& path() const { return m_path; }
    const std::string& directory() const { return m_directory; }
    std::vector<std::string> requests()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

private:
    void serve()
    {
        const int connection = accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        send(connection, "{\"QMP\": {\"version\": {}}}\r\n");
        std::string buffer;
        char chunk[4096];
        for (ssize_t n; (n = read(connection, chunk, sizeof chunk)) > 0;) {
            buffer.append(chunk, static_cast<size_t>(n));
            for (size_t end; (end = buffer.find('\n')) != std::string::npos;) {
                const std::string request = buffer.substr(0, end);
                buffer.erase(0, end + 1);
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_requests.push_back(request);
                }
                // The command's name: the first string after "execute".
                const size_t start = request.find('"', request.find("\"execute\":") + 10) + 1;
                send(connection, m_answer(request.substr(start, request.find('"', start) - start)));
            }
        }
        close(connection);
    }
    static void send(int fd, const std::string& text)
    {
        if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            throw std::runtime_error("cannot answer");
    }

    Answer m_answer;
    std::string m_directory;
    std::string m_path;
    int m_listener;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

const char c_ok[] = "{\"return\": {}}\r\n";
const char c_event[] = "{\"timestamp\": {}, \"event\": \"DEVICE_DELETED\"}\r\n";

std::string error(const std::string& description)
{
    return "{\"error\": {\"class\": \"GenericError\", \"desc\": \"" + description + "\"}}\r\n";
}

// QEMU must have got the requests of tests/data/board/<name>.requests, a
// line each ('#' starts a comment line), the test's directory written DIR.
void expectRequests(FakeQmp& qemu, const std::string& name)
{
    std::vector<std::string> expected;
    std::ifstream file(BOARD_TEST_DATA_DIR "/" + name + ".requests");
    for (std::string line; std::getline(file, line);)
        if (line.compare(0, 1, "#") != 0)
            expected.push_back(line);
    std::vector<std::string> requests = qemu.requests();
    for (std::string& request : requests)
        if (const size_t at = request.find(qemu.directory()); at != std::string::npos)
            request.replace(at, qemu.directory().size(), "DIR");
    EXPECT_EQ(expected, requests) << name;
}

} // namespace

TEST(Qmp, SkipsEventsAndReportsErrors)
{
    FakeQmp qemu([](const std::string& command) {
        if (command == "query-status")
            return std::string(c_event) + c_event + "{\"return\": {\"running\": true}}\r\n";
        if (command == "device_del")
            return error("Device 'usbdrive' not found");
        return std::string(c_ok);
    });
    QmpClient qmp(qemu.path(), 5000);
    EXPECT_EQ(qmp.execute("query-status"), "{\"return\": {\"running\": true}}");
    EXPECT_THROW(qmp.execute("device_del", "{\"id\": \"usbdrive\"}"), std::runtime_error);
    EXPECT_FALSE(qmp.tryExecute("device_del", "{\"id\": \"usbdrive\"}"));
    EXPECT_TRUE(qmp.tryExecute("stop"));
    expectRequests(qemu, "errors");
}

TEST(Qmp, DrivesArePluggedWithWellFormedRequestsAndPulledOnceReleased)
{
    std::atomic<int> busyAnswers{0};
    FakeQmp qemu([&](const std::string& command) {
        // The unplugged device holds its node for a moment.
        if (command == "blockdev-del" && busyAnswers-- > 0)
            return error("Node 'usbdisk' is busy");
        return std::string(c_ok);
    });
    QmpClient qmp(qemu.path(), 5000);
    UsbDrive drive(qmp, qemu.directory() + "/usb \"1\".img");
    drive.insert(true, true);
    busyAnswers = 2;
    drive.remove();
    // The pulled drive's node is deleted as soon as the device lets go.
    expectRequests(qemu, "usb-drive");
}

TEST(Qmp, DriveContentsAreListedFromTheImage)
{
    if (system("command -v mkfs.vfat >/dev/null && command -v mcopy >/dev/null") != 0)
        GTEST_SKIP() << "needs dosfstools and mtools";
    FakeQmp qemu([](const std::string& command) {
        return command == "qmp_capabilities" ? std::string(c_ok) : error("no drive");
    });
    QmpClient qmp(qemu.path(), 5000);
    const std::string image = qemu.directory() + "/usb.img";
    UsbDrive drive(qmp, image);
    drive.format();
    EXPECT_EQ(drive.list("*"), std::vector<std::string>{});
    const std::string copy = "echo data | MTOOLS_SKIP_CHECK=1 mcopy -i " + image + " - ::/";
    ASSERT_EQ(system((copy + "backup-20261206-120000.tar.gz").c_str()), 0);
    ASSERT_EQ(system((copy + "notes.txt").c_str()), 0);
    EXPECT_EQ(drive.list("backup-*.tar.gz"), std::vector<std::string>{"backup-20261206-120000.tar.gz"});
    EXPECT_EQ(drive.list("*").size(), 2u);
    unlink(image.c_str());
}

TEST(QmpInput, KeysAndTheTabletReachQemuAsWellFormedInputEvents)
{
    FakeQmp qemu([](const std::string&) { return std::string(c_ok); });
    QmpClient qmp(qemu.path(), 5000);
    QmpInput input(qmp);
    input.key("tab", true);
    input.touch(false, 0, 32767);
    input.plugKeyboard();
    EXPECT_TRUE(input.unplugKeyboard());
    expectRequests(qemu, "input");
}

TEST(QmpInput, EveryKeyOfTheScenariosHasAQemuName)
{
    // The letters follow below.
    const std::vector<std::pair<const char*, std::vector<std::string>>> keys = {
        {"tab", {"tab"}},   {"shift+tab", {"shift", "tab"}}, {"enter", {"ret"}}, {"space", {"spc"}},
        {"escape", {"esc"}}, {"left", {"left"}}, {"down", {"down"}}, {"1", {"1"}}, {"0", {"0"}},
    };
    for (const auto& key : keys) {
        std::vector<std::string> qcodes;
        for (const unsigned short code : sim::keyCodes(key.first))
            qcodes.push_back(keyQcode(code));
        EXPECT_EQ(qcodes, key.second) << key.first;
    }
    for (char letter = 'a'; letter <= 'z'; ++letter)
        EXPECT_EQ(keyQcode(sim::keyCodes(std::string(1, letter)).at(0)), std::string(1, letter));
    EXPECT_EQ(keyQcode(KEY_F1), "");
    EXPECT_EQ(keyQcode(KEY_BACKSPACE), "");
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
