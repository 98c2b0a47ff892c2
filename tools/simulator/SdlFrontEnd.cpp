#include "SdlFrontEnd.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <linux/input.h>

#include "SimulatorStatus.h"
#include "text/Bidi.h"
#include "text/Font.h"

namespace sim {

namespace {

const Uint32 c_frameMs = 30;
const int c_messageFontSize = 28;
const OKU::Bidi::Mode c_leftToRight = 2;
const wchar_t c_applicationMessage[] =
    L"The application would start now.\n\nTap the screen to start lifeboat again.";

bool hasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

std::unique_ptr<SdlFrontEnd> SdlFrontEnd::open(SimulatedDevice& device,
                                               const Screen& screen,
                                               const std::string& fontDir)
{
    if (!hasDisplay())
        return nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    if (SDL_Init(SDL_INIT_VIDEO) == 0)
        window = SDL_CreateWindow("lifeboat simulator", SDL_WINDOWPOS_UNDEFINED,
                                  SDL_WINDOWPOS_UNDEFINED, screen.width(), screen.height(),
                                  SDL_WINDOW_RESIZABLE);
    if (window)
        renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer)
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STREAMING, screen.width(),
                                    screen.height());
    if (texture)
        return std::unique_ptr<SdlFrontEnd>(
            new SdlFrontEnd(device, screen, fontDir, Window{window, renderer, texture}));
    std::cerr << "lifeboat-sim: no window (" << SDL_GetError() << "), running headless\n";
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (window)
        SDL_DestroyWindow(window);
    SDL_Quit();
    return nullptr;
}

SdlFrontEnd::SdlFrontEnd(SimulatedDevice& device, const Screen& screen,
                         const std::string& fontDir, const Window& window)
    : m_device(device), m_screen(screen), m_fonts(fontDir), m_cache(m_fonts), m_window(window)
{
    // Mouse positions then arrive in screen pixels whatever the window's size.
    SDL_RenderSetLogicalSize(m_window.renderer, m_screen.width(), m_screen.height());
    updateTitle();
}

SdlFrontEnd::~SdlFrontEnd()
{
    SDL_DestroyTexture(m_window.texture);
    SDL_DestroyRenderer(m_window.renderer);
    SDL_DestroyWindow(m_window.window);
    SDL_Quit();
}

int SdlFrontEnd::run()
{
    while (!m_quit) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, c_frameMs)) {
            handle(event);
            while (SDL_PollEvent(&event))
                handle(event);
        }
        m_device.poll();
        if (m_device.phase() == Device::Phase::STOPPED)
            return STATUS_DEVICE_STOPPED;
        if (m_device.phase() == Device::Phase::APPLICATION)
            show(applicationScreen());
        else
            show(m_screen.toPixmap());
    }
    return STATUS_DONE;
}

void SdlFrontEnd::handle(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        m_quit = true;
        break;
    case SDL_KEYDOWN:
        if (!event.key.repeat && !forwardKey(event.key.keysym.sym, true))
            handleKey(event.key.keysym.sym);
        break;
    case SDL_KEYUP:
        forwardKey(event.key.keysym.sym, false);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
            m_fingerDown = true;
            m_device.press(clampX(event.button.x), clampY(event.button.y));
        }
        break;
    case SDL_MOUSEMOTION:
        if (m_fingerDown)
            m_device.move(clampX(event.motion.x), clampY(event.motion.y));
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && m_fingerDown) {
            m_fingerDown = false;
            m_device.release(clampX(event.button.x), clampY(event.button.y));
        }
        break;
    default:
        break;
    }
}

int SdlFrontEnd::clampX(int x) const
{
    return std::clamp(x, 0, m_screen.width() - 1);
}

int SdlFrontEnd::clampY(int y) const
{
    return std::clamp(y, 0, m_screen.height() - 1);
}

bool SdlFrontEnd::forwardKey(SDL_Keycode key, bool pressed)
{
    static const struct {
        SDL_Keycode host;
        unsigned short device;
    } c_forwarded[] = {
        {SDLK_TAB, KEY_TAB},       {SDLK_LSHIFT, KEY_LEFTSHIFT}, {SDLK_RSHIFT, KEY_RIGHTSHIFT},
        {SDLK_LEFT, KEY_LEFT},     {SDLK_RIGHT, KEY_RIGHT},      {SDLK_UP, KEY_UP},
        {SDLK_DOWN, KEY_DOWN},     {SDLK_RETURN, KEY_ENTER},     {SDLK_KP_ENTER, KEY_KPENTER},
        {SDLK_SPACE, KEY_SPACE},   {SDLK_ESCAPE, KEY_ESC},
    };
    for (const auto& k : c_forwarded)
        if (k.host == key)
            return m_device.key(k.device, pressed);
    return false;
}

void SdlFrontEnd::handleKey(SDL_Keycode key)
{
    if (key == SDLK_q) {
        m_quit = true;
    } else if (key == SDLK_s) {
        saveScreenshot();
    } else if (key == SDLK_u) {
        if (m_device.state().usbDriveInserted())
            m_device.removeUsbDrive();
        else
            m_device.insertUsbDrive({});
        updateTitle();
    } else if (key == SDLK_k) {
        m_device.plugKeyboard(!m_device.keyboardPlugged());
        updateTitle();
    }
}

void SdlFrontEnd::saveScreenshot()
{
    const std::string path = m_device.state().path("screenshots/screenshot-" +
                                                   std::to_string(++m_screenshotCount) + ".png");
    if (m_screen.toPixmap().savePNG(path))
        std::cout << "screenshot " << path << std::endl;
    else
        std::cerr << "lifeboat-sim: cannot write \"" << path << "\"\n";
}

void SdlFrontEnd::updateTitle()
{
    const std::string title = std::string("lifeboat simulator - USB drive ") +
                              (m_device.state().usbDriveInserted() ? "inserted" : "removed") +
                              ", keyboard " + (m_device.keyboardPlugged() ? "in" : "out") +
                              " (U: insert/remove, K: plug/unplug, S: screenshot, Q: quit)";
    SDL_SetWindowTitle(m_window.window, title.c_str());
}

void SdlFrontEnd::show(const OKU::Pixmap& image)
{
    // Pixmap pixels are 0xAARRGGBB words, the texture's own layout.
    SDL_UpdateTexture(m_window.texture, nullptr, image.getPixels(),
                      image.getWidth() * static_cast<int>(sizeof(OKU::Pixmap::Pixel)));
    SDL_RenderClear(m_window.renderer);
    SDL_RenderCopy(m_window.renderer, m_window.texture, nullptr, nullptr);
    SDL_RenderPresent(m_window.renderer);
}

const OKU::Pixmap& SdlFrontEnd::applicationScreen()
{
    if (m_applicationScreen.isEmpty()) {
        m_applicationScreen.resize(m_screen.width(), m_screen.height(), OKU::Color(32, 48, 80));
        m_applicationScreen.drawText(0, 0, m_screen.width(), m_screen.height(),
                                     *m_cache.getFont(c_messageFontSize, true, false),
                                     c_applicationMessage, OKU::Color(255, 255, 255),
                                     OKU::HAlign::CENTER, OKU::VAlign::CENTER, c_leftToRight);
    }
    return m_applicationScreen;
}

} // namespace sim
