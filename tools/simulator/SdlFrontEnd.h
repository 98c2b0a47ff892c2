#ifndef LIFEBOAT_SIM_SDLFRONTEND_H
#define LIFEBOAT_SIM_SDLFRONTEND_H

#include <SDL.h>
#include <memory>
#include <string>

#include "Screen.h"
#include "SimulatedDevice.h"
#include "core/FileFinder.h"
#include "graphics/Pixmap.h"
#include "text/Cache.h"

namespace sim {

// The device in a window: the screen as the program draws it, the mouse as
// the finger. U inserts or removes the USB drive, K plugs the USB keyboard
// in or out, S saves a screenshot into the state's screenshots/, Q (or
// closing the window) quits. While the keyboard is in, the host's Tab,
// Shift, arrows, Enter, Space and Escape are its keys.
class SdlFrontEnd {
public:
    // A window on the user's display, or null when there is none to be had.
    static std::unique_ptr<SdlFrontEnd> open(SimulatedDevice& device, const Screen& screen,
                                             const std::string& fontDir);
    SdlFrontEnd(const SdlFrontEnd&) = delete;
    SdlFrontEnd& operator=(const SdlFrontEnd&) = delete;
    ~SdlFrontEnd();

    // Until the user quits or the device stops; the simulator's exit status.
    int run();

private:
    struct Window {
        SDL_Window* window;
        SDL_Renderer* renderer;
        SDL_Texture* texture;
    };

    SdlFrontEnd(SimulatedDevice& device, const Screen& screen, const std::string& fontDir,
                const Window& window);

    void handle(const SDL_Event& event);
    // Hands the key to the simulated keyboard; false when it is not one of
    // its keys or no keyboard is plugged in.
    bool forwardKey(SDL_Keycode key, bool pressed);
    void handleKey(SDL_Keycode key);
    // Mouse positions kept on the screen, in its coordinates.
    int clampX(int x) const;
    int clampY(int y) const;
    void saveScreenshot();
    void updateTitle();
    void show(const OKU::Pixmap& image);
    // What the device shows while the application runs.
    const OKU::Pixmap& applicationScreen();

    SimulatedDevice& m_device;
    const Screen& m_screen;
    OKU::FileFinder m_fonts;
    OKU::Cache m_cache;
    Window m_window;
    OKU::Pixmap m_applicationScreen;
    bool m_fingerDown = false;
    bool m_quit = false;
    int m_screenshotCount = 0;
};

} // namespace sim

#endif
