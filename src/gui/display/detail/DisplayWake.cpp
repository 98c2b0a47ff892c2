#include "gui/display/detail/DisplayWake.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fb.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>
#include <xf86drmMode.h>

#include "core/Descriptor.h"
#include "core/DescriptorIO.h"
#include "core/Paths.h"
#include "core/RegularFile.h"
#include "core/Trace.h"

namespace OKU {

namespace {

const char* const c_traceCategory = "OKU::DisplayWake";

// A sysfs number is a handful of digits and a line end.
const size_t c_attributeBytes = 32;

void warn(const std::string& what)
{
    traceMessage(c_traceCategory, TRACE_WARNING, "%s", what.c_str());
}

bool readNumber(const std::string& path, long& value)
{
    std::string text;
    if (!readRegularFileStart(path, c_attributeBytes, text))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end != text.c_str() && (*end == '\0' || *end == '\n');
}

void writeNumber(const std::string& path, long value)
{
    // Non-blocking and never created: only an existing attribute is written.
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    const std::string text = std::to_string(value) + "\n";
    if (!fd.isOpen() || !safeWrite(fd.get(), text.data(), static_cast<unsigned>(text.size())))
        warn("Cannot write " + text.substr(0, text.size() - 1) + " to \"" + path + "\": " +
             std::strerror(errno));
}

std::vector<std::string> backlightDirectories()
{
    const std::string root = getEnv("OKU_SYSFS", "/sys") + "/class/backlight";
    std::vector<std::string> found;
    DIR* directory = opendir(root.c_str());
    if (directory == nullptr)
        return found;
    while (const dirent* entry = readdir(directory)) {
        if (entry->d_name[0] != '.')
            found.push_back(root + "/" + entry->d_name);
    }
    closedir(directory);
    return found;
}

void switchOnBacklight(const std::string& directory)
{
    long power = 0;
    if (readNumber(directory + "/bl_power", power) && power != FB_BLANK_UNBLANK)
        writeNumber(directory + "/bl_power", FB_BLANK_UNBLANK);
    long brightness = 0;
    long maximum = 0;
    if (!readNumber(directory + "/brightness", brightness) ||
        !readNumber(directory + "/max_brightness", maximum)) {
        warn("Unreadable brightness in \"" + directory + "\"");
        return;
    }
    if (brightness == 0 && maximum > 0)
        writeNumber(directory + "/brightness", maximum >= 4 ? maximum / 4 : 1);
}

bool keepBacklight()
{
    const std::string setting = getEnv("OKU_KEEP_BACKLIGHT", "");
    return !setting.empty() && setting != "0";
}

// The connector's DPMS property, 0 when it has none.
uint32_t dpmsProperty(int fd, uint32_t connectorId)
{
    drmModeObjectProperties* properties =
        drmModeObjectGetProperties(fd, connectorId, DRM_MODE_OBJECT_CONNECTOR);
    if (properties == nullptr)
        return 0;
    uint32_t found = 0;
    for (uint32_t i = 0; i < properties->count_props && found == 0; ++i) {
        drmModePropertyRes* property = drmModeGetProperty(fd, properties->props[i]);
        if (property != nullptr && std::strcmp(property->name, "DPMS") == 0)
            found = property->prop_id;
        drmModeFreeProperty(property);
    }
    drmModeFreeObjectProperties(properties);
    return found;
}

} // namespace

void switchOnBacklights()
{
    if (keepBacklight())
        return;
    for (const std::string& directory : backlightDirectories())
        switchOnBacklight(directory);
}

void wakeFramebufferDisplay(int fd)
{
    if (ioctl(fd, FBIOBLANK, FB_BLANK_UNBLANK) != 0)
        warn(std::string("FBIOBLANK failed: ") + std::strerror(errno));
    switchOnBacklights();
}

void wakeDrmDisplay(int fd, uint32_t connectorId)
{
    const uint32_t property = dpmsProperty(fd, connectorId);
    if (property == 0)
        warn("The connector " + std::to_string(connectorId) + " has no DPMS property");
    else if (const int result = drmModeConnectorSetProperty(fd, connectorId, property,
                                                            DRM_MODE_DPMS_ON))
        warn("Cannot switch the connector " + std::to_string(connectorId) + " on: " +
             std::strerror(-result));
    switchOnBacklights();
}

} // namespace OKU
