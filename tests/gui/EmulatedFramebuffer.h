#ifndef OKU_TESTS_GUI_EMULATEDFRAMEBUFFER_H
#define OKU_TESTS_GUI_EMULATEDFRAMEBUFFER_H

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Process.h"
#include "core/TempDir.h"

#if !defined(OKU_FBEMU_LIB) || !defined(OKU_FBEMU_PROBE) || !defined(OKU_FBEMU_FB2PNG)
#error "OKU_FBEMU_LIB, OKU_FBEMU_PROBE and OKU_FBEMU_FB2PNG must name the built fbemu tools"
#endif

// How a program run to its end finished, and what it wrote.
struct Finished {
    int status;
    std::string output;
    std::string errors;
};

inline Finished run(const std::string& program, const std::vector<std::string>& args)
{
    Finished r;
    r.status = OKU::execWait(program, args, &r.output, "", &r.errors);
    return r;
}

// How often part appears in text, such as a warning that must come once.
inline size_t occurrences(const std::string& text, const std::string& part)
{
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

// The file "fb" in a fresh directory, which the preload library presents as
// a framebuffer to the probe program.
class EmulatedFramebuffer {
public:
    // Starts as a black 800 x 480 device of 32-bit pixels.
    EmulatedFramebuffer() { create(800 * 480 * 4, 0); }
    const std::string& directory() const { return m_dir.path(); }
    std::string path() const { return m_dir / "fb"; }
    // A device as after power-on: never panned.
    void create(size_t size, char fill) const
    {
        m_dir.write("fb", std::string(size, fill));
        std::remove(displayState().c_str());
    }
    // What the emulation keeps of the panning (see tools/fbemu/DisplayState.h).
    std::string displayState() const { return m_dir / "fb.display"; }
    std::string contents() const { return m_dir.read("fb"); }
    // Files beside the device, such as an emulated terminal.
    std::string file(const std::string& name) const { return m_dir / name; }
    void write(const std::string& name, const std::string& text) const { m_dir.write(name, text); }
    std::string read(const std::string& name) const { return m_dir.read(name); }

    // Arguments for /usr/bin/env running the probe under the emulation without
    // a touch controller; settings ("NAME=value") come last and so win.
    std::vector<std::string> probeCommand(const std::vector<std::string>& settings,
                                          const std::vector<std::string>& args) const
    {
        std::vector<std::string> command = {
            "LD_PRELOAD=" OKU_FBEMU_LIB, "FBEMU_PATH=" + path(), "OKU_FBDEV=" + path(),
            "OKU_TSTYPE=none",
            // A sanitized probe would refuse to run behind the preload library.
            "ASAN_OPTIONS=verify_asan_link_order=0"};
        command.insert(command.end(), settings.begin(), settings.end());
        command.push_back(OKU_FBEMU_PROBE);
        command.insert(command.end(), args.begin(), args.end());
        return command;
    }

private:
    TempDir m_dir;
};

#endif
