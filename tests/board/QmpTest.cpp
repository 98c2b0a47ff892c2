#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cmath>
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

// Whether braces and brackets outside strings pair up: QEMU waits for the
// rest of a request that does not close.
bool balanced(const std::string& json)
{
    std::string open;
    bool inString = false;
    for (size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            open += c;
        } else if (c == '}' || c == ']') {
            if (open.empty() || open.back() != (c == '}' ? '{' : '['))
                return false;
            open.pop_back();
        }
    }
    return open.empty() && !inString;
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
    const std::vector<std::string> requests = qemu.requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0], "{\"execute\": \"qmp_capabilities\"}");
    EXPECT_EQ(requests[2], "{\"execute\": \"device_del\", \"arguments\": {\"id\": \"usbdrive\"}}");
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
    std::vector<std::string> requests = qemu.requests();
    std::string all;
    for (const std::string& request : requests) {
        EXPECT_TRUE(balanced(request)) << request;
        all += request + "\n";
    }
    for (const char* part : {"\"driver\": \"throttle\"", "\"read-only\": true", "usb \\\"1\\\".img",
                             "\"driver\": \"usb-storage\"", "\"removable\": true"})
        EXPECT_NE(all.find(part), std::string::npos) << part;
    // The pulled drive's node is deleted as soon as the device lets go.
    ASSERT_GE(requests.size(), 3u);
    EXPECT_NE(requests[requests.size() - 4].find("device_del"), std::string::npos);
    for (size_t i = requests.size() - 3; i < requests.size(); ++i)
        EXPECT_NE(requests[i].find("blockdev-del"), std::string::npos) << requests[i];
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
    const std::vector<std::string> requests = qemu.requests();
    ASSERT_EQ(requests.size(), 5u);
    for (const std::string& request : requests)
        EXPECT_TRUE(balanced(request)) << request;
    EXPECT_EQ(requests[1], "{\"execute\": \"input-send-event\", \"arguments\": {\"events\": ["
                           "{\"type\": \"key\", \"data\": {\"down\": true, \"key\": "
                           "{\"type\": \"qcode\", \"data\": \"tab\"}}}]}}");
    // Position and button in one command: one frame in the guest.
    EXPECT_EQ(requests[2], "{\"execute\": \"input-send-event\", \"arguments\": {\"events\": ["
                           "{\"type\": \"abs\", \"data\": {\"axis\": \"x\", \"value\": 0}}, "
                           "{\"type\": \"abs\", \"data\": {\"axis\": \"y\", \"value\": 32767}}, "
                           "{\"type\": \"btn\", \"data\": {\"down\": false, \"button\": \"left\"}}]}}");
    EXPECT_NE(requests[3].find("\"driver\": \"usb-kbd\""), std::string::npos);
    EXPECT_NE(requests[4].find("device_del"), std::string::npos);
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
