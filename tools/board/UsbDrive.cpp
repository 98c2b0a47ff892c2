#include "UsbDrive.h"

#include <cstdio>
#include <cstdlib>
#include <fnmatch.h>
#include <memory>
#include <stdexcept>
#include <unistd.h>

#include "GuestAgent.h"

namespace board {

namespace {

const char c_deviceId[] = "usbdrive";
const char c_nodeName[] = "usbdisk";
const char c_slowGroup[] = "slowusb";
// A few transfers a second: writing and flushing even a small archive takes
// seconds, as on a cheap stick; a larger one goes at about 1.5 MB/s.
const int c_slowTransfersPerSecond = 4;
const int c_slowBytesPerSecond = 1572864;
// A drive pulled in the middle of a write lets go once the requests in
// flight have drained.
const int c_releaseAttempts = 200;
const int c_releaseWaitUs = 50000;

std::string runHost(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        throw std::runtime_error("Cannot run \"" + command + "\".");
    std::string output;
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe.get())) > 0;)
        output.append(chunk, n);
    if (pclose(pipe.release()) != 0)
        throw std::runtime_error("\"" + command + "\" failed.");
    return output;
}

std::string fileNode(const std::string& image, bool readOnly)
{
    const std::string flag = readOnly ? "true" : "false";
    return "{\"driver\": \"raw\", \"read-only\": " + flag +
           ", \"file\": {\"driver\": \"file\", \"read-only\": " + flag +
           ", \"filename\": " + jsonString(image) + "}}";
}

} // namespace

UsbDrive::UsbDrive(QmpClient& qmp, const std::string& imagePath)
    : m_qmp(qmp), m_imagePath(imagePath)
{
}

void UsbDrive::format(int sizeMb)
{
    remove();
    unlink(m_imagePath.c_str());
    runHost("mkfs.vfat -n LIFEBOAT -C " + shellQuote(m_imagePath) + " " +
            std::to_string(sizeMb * 1024) + " >/dev/null");
}

void UsbDrive::insert(bool readOnly, bool slow, int sizeMb)
{
    remove();
    if (sizeMb > 0)
        format(sizeMb);
    std::string node = fileNode(m_imagePath, readOnly);
    if (slow) {
        m_qmp.tryExecute("object-add", "{\"qom-type\": \"throttle-group\", \"id\": " +
                                           jsonString(c_slowGroup) +
                                           ", \"limits\": {\"iops-total\": " +
                                           std::to_string(c_slowTransfersPerSecond) +
                                           ", \"bps-total\": " +
                                           std::to_string(c_slowBytesPerSecond) + "}}");
        node = "{\"driver\": \"throttle\", \"throttle-group\": " + jsonString(c_slowGroup) +
               ", \"file\": " + node + "}";
    }
    node.insert(1, "\"node-name\": " + jsonString(c_nodeName) + ", ");
    m_qmp.execute("blockdev-add", node);
    m_qmp.execute("device_add", std::string("{\"driver\": \"usb-storage\", \"id\": ") +
                                    jsonString(c_deviceId) + ", \"bus\": \"xhci.0\", " +
                                    "\"drive\": " + jsonString(c_nodeName) +
                                    ", \"removable\": true}");
}

void UsbDrive::remove()
{
    const std::string device = std::string("{\"id\": ") + jsonString(c_deviceId) + "}";
    const std::string node = std::string("{\"node-name\": ") + jsonString(c_nodeName) + "}";
    // Either may be missing: the drive was not plugged.
    if (!m_qmp.tryExecute("device_del", device)) {
        m_qmp.tryExecute("blockdev-del", node);
        return;
    }
    // The unplugged device lets go of its node a moment later.
    for (int attempt = 0; !m_qmp.tryExecute("blockdev-del", node); ++attempt) {
        if (attempt == c_releaseAttempts)
            throw std::runtime_error("The unplugged USB drive keeps its image busy.");
        usleep(c_releaseWaitUs);
    }
}

std::vector<std::string> UsbDrive::list(const std::string& pattern) const
{
    std::vector<std::string> names;
    if (access(m_imagePath.c_str(), R_OK) != 0)
        return names;
    // "mdir -b" prints one "::/NAME" a line.
    const std::string listing = runHost("MTOOLS_SKIP_CHECK=1 mdir -b -i " +
                                        shellQuote(m_imagePath) + " ::/ 2>/dev/null || true");
    size_t start = 0;
    for (size_t end; (end = listing.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string name = listing.substr(start, end - start);
        if (name.compare(0, 3, "::/") == 0)
            name.erase(0, 3);
        if (!name.empty() && fnmatch(pattern.c_str(), name.c_str(), 0) == 0)
            names.push_back(name);
    }
    return names;
}

} // namespace board
