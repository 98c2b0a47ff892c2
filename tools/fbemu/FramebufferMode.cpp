#include "FramebufferMode.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fbemu {

namespace {

struct Depth {
    const char* name;
    unsigned bitsPerPixel;
    fb_bitfield red;
    fb_bitfield green;
    fb_bitfield blue;
    fb_bitfield transp;
    unsigned visual;
};

// Keeps every product of sizes within 32 bits.
const unsigned c_maxSize = 1u << 14;

const Depth c_depths[] = {
    {"32", 32, {16, 8, 0}, {8, 8, 0}, {0, 8, 0}, {24, 8, 0}, FB_VISUAL_TRUECOLOR},
    {"24", 24, {16, 8, 0}, {8, 8, 0}, {0, 8, 0}, {0, 0, 0}, FB_VISUAL_TRUECOLOR},
    {"16", 16, {11, 5, 0}, {5, 6, 0}, {0, 5, 0}, {0, 0, 0}, FB_VISUAL_TRUECOLOR},
    {"16-555", 16, {11, 5, 0}, {5, 5, 0}, {0, 5, 0}, {0, 0, 0}, FB_VISUAL_TRUECOLOR},
    {"15", 16, {0, 5, 0}, {5, 5, 0}, {10, 5, 0}, {0, 0, 0}, FB_VISUAL_TRUECOLOR},
    {"8", 8, {0, 8, 0}, {0, 8, 0}, {0, 8, 0}, {0, 0, 0}, FB_VISUAL_PSEUDOCOLOR},
};

// A decimal number above 0 that makes up the whole text.
bool parsePositive(const char* text, unsigned& value)
{
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || v == 0 || v > c_maxSize * 4)
        return false;
    value = static_cast<unsigned>(v);
    return true;
}

} // namespace

bool parseFramebufferMode(const char* description, const char* lineLength, FramebufferMode& mode)
{
    unsigned width = 0;
    unsigned height = 0;
    char depthName[8] = {};
    int consumed = 0;
    if (std::sscanf(description, "%ux%ux%7s%n", &width, &height, depthName, &consumed) != 3 ||
        description[consumed] != '\0' || width == 0 || height == 0 || width > c_maxSize ||
        height > c_maxSize)
        return false;
    const Depth* depth = nullptr;
    for (const Depth& d : c_depths)
        if (std::strcmp(d.name, depthName) == 0)
            depth = &d;
    if (!depth)
        return false;

    unsigned stride = width * ((depth->bitsPerPixel + 7) / 8);
    if (lineLength && *lineLength && !parsePositive(lineLength, stride))
        return false;

    std::memset(&mode, 0, sizeof mode);
    std::strncpy(mode.fix.id, "fbemu", sizeof mode.fix.id - 1);
    mode.fix.smem_len = stride * height;
    mode.fix.type = FB_TYPE_PACKED_PIXELS;
    mode.fix.visual = depth->visual;
    mode.fix.line_length = stride;
    mode.var.xres = mode.var.xres_virtual = width;
    mode.var.yres = mode.var.yres_virtual = height;
    mode.var.bits_per_pixel = depth->bitsPerPixel;
    mode.var.red = depth->red;
    mode.var.green = depth->green;
    mode.var.blue = depth->blue;
    mode.var.transp = depth->transp;
    return true;
}

} // namespace fbemu
