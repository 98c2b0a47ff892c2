#include "DisplayState.h"

#include <cstdio>
#include <unistd.h>

namespace fbemu {

std::string displayStatePath(const std::string& framebuffer)
{
    return framebuffer + ".display";
}

std::string wholeFramesPath(const std::string& framebuffer)
{
    return framebuffer + ".frames";
}

bool readDisplayState(const std::string& framebuffer, DisplayState& state)
{
    FILE* file = std::fopen(displayStatePath(framebuffer).c_str(), "re");
    if (!file)
        return false;
    DisplayState read;
    const bool ok = std::fscanf(file, "yres_virtual=%u yoffset=%u blank=%d", &read.yresVirtual,
                                &read.yoffset, &read.blank) == 3;
    std::fclose(file);
    if (ok)
        state = read;
    return ok;
}

bool writeDisplayState(const std::string& framebuffer, const DisplayState& state)
{
    // Readers poll the file while the program pans: they see the old line
    // or the new one, never half of each.
    const std::string path = displayStatePath(framebuffer);
    const std::string scratch = path + "." + std::to_string(getpid());
    FILE* file = std::fopen(scratch.c_str(), "we");
    if (!file)
        return false;
    const bool written = std::fprintf(file, "yres_virtual=%u yoffset=%u blank=%d\n",
                                      state.yresVirtual, state.yoffset, state.blank) > 0;
    if (std::fclose(file) == 0 && written && std::rename(scratch.c_str(), path.c_str()) == 0)
        return true;
    unlink(scratch.c_str());
    return false;
}

} // namespace fbemu
