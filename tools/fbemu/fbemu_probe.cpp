// fbemu_probe: runs the framebuffer back end as the program does, for the
// back end's tests, under the fbemu preload library.
//
//   fbemu_probe draw
//       Builds the root widget, covers it with four coloured quarters
//       (top left white, top right red 255:0:0, bottom left 18:52:86, bottom
//       right 7:3:7), redraws the whole screen and exits with status 0.
//   fbemu_probe redraw X Y W H
//       The same, then fills the frame memory with bytes A5 (hexadecimal)
//       and redraws only the rectangle X Y W H.
//   fbemu_probe frames COUNT FILE
//       Builds the root widget with tracing of warnings to standard error and
//       draws COUNT distinct frames: a background and a 40 x 40 square that
//       moves and changes colour every frame, the background changing every
//       fourth. After each frame it appends the back buffer to FILE, 4 bytes
//       blue, green, red, alpha a pixel, row by row.
//   fbemu_probe gui COUNT
//       Builds the root widget and starts its GUI thread, which then draws
//       COUNT whole-screen frames of colours 1:0:77, 2:0:77 ... (red the low
//       byte of the number, green the high byte), each once the one before
//       was published and 2 ms have passed, and ends the process with
//       _exit(0) after the last.
//   fbemu_probe kill
//       Builds the root widget, then ends through SIGTERM.
//   fbemu_probe fatal
//       Builds the root widget, then ends through a fatal error.
//   fbemu_probe touch
//       Builds the back end, puts a widget at 40,100 of 300 x 200 pixels that
//       prints every mouse event it receives as "down X Y", "move X Y" or
//       "up X Y" (relative to itself) and every key that reaches it as
//       "key CODE CHARACTER" (both as numbers), prints "ready" from the GUI
//       thread and runs the main loop.
// Every mode first prints the size of the tree as "WIDTHxHEIGHT". A back end
// that cannot be set up ends the probe as it ends lifeboat: its line on
// standard error and status 1.

#include <cstdint>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/FatalError.h"
#include "core/Paths.h"
#include "core/ProcessExit.h"
#include "core/SetupError.h"
#include "core/Trace.h"
#include "gui/display/Backend.h"
#include "gui/display/FbRootWidget.h"

#include "DisplayState.h"

namespace {

class TouchRecorder : public OKU::Widget {
public:
    explicit TouchRecorder(OKU::Widget* parent) : Widget(parent, 40, 100, 300, 200) {}

    void onMouseDown(int x, int y) override { report("down", x, y); }
    void onMouseMove(int x, int y) override { report("move", x, y); }
    void onMouseUp(int x, int y) override { report("up", x, y); }
    bool onKeyIntercept(OKU::KeyCode key, wchar_t c) override
    {
        report("key", key, static_cast<int>(c));
        return true;
    }

private:
    static void report(const char* what, int x, int y)
    {
        std::cout << what << " " << x << " " << y << std::endl;
    }
};

void printSize(const OKU::RootWidget& root)
{
    std::cout << root.getWidth() << "x" << root.getHeight() << std::endl;
}

void addQuarters(OKU::RootWidget& root)
{
    const int w = root.getWidth() / 2;
    const int h = root.getHeight() / 2;
    const struct {
        OKU::Rect rect;
        OKU::Color color;
    } quarters[] = {
        {OKU::Rect(0, 0, w, h), OKU::Color(255, 255, 255)},
        {OKU::Rect(w, 0, root.getWidth() - w, h), OKU::Color(255, 0, 0)},
        {OKU::Rect(0, h, w, root.getHeight() - h), OKU::Color(18, 52, 86)},
        {OKU::Rect(w, h, root.getWidth() - w, root.getHeight() - h), OKU::Color(7, 3, 7)},
    };
    for (const auto& q : quarters) {
        OKU::Widget* widget = new OKU::Widget(&root, q.rect.x, q.rect.y, q.rect.width,
                                              q.rect.height);
        widget->setBgColor(q.color);
    }
}

// Overwrites the whole device file through a descriptor of its own; the
// shared mapping sees the change.
bool fillDevice(unsigned char byte)
{
    const int fd = open(OKU::getEnv("OKU_FBDEV", "/dev/fb0").c_str(), O_WRONLY);
    struct stat status;
    bool ok = fd >= 0 && fstat(fd, &status) == 0;
    if (ok) {
        const std::vector<unsigned char> bytes(status.st_size, byte);
        ok = pwrite(fd, bytes.data(), bytes.size(), 0) == status.st_size;
    }
    if (fd >= 0)
        close(fd);
    return ok;
}

int draw(const std::vector<std::string>& rect)
{
    std::unique_ptr<OKU::RootWidget> root(new OKU::FbRootWidget(800, 480));
    printSize(*root);
    addQuarters(*root);
    root->invalidate();
    root->redrawNow();
    if (rect.empty())
        return 0;
    if (!fillDevice(0xA5))
        return 3;
    root->invalidate(OKU::Rect(std::atoi(rect[0].c_str()), std::atoi(rect[1].c_str()),
                               std::atoi(rect[2].c_str()), std::atoi(rect[3].c_str())));
    root->redrawNow();
    return 0;
}

bool appendBackBuffer(const OKU::RootWidget& root, FILE* file)
{
    const OKU::Pixmap frame = root.getPixmapCopy();
    for (int y = 0; y < frame.getHeight(); ++y)
        if (std::fwrite(frame.getRow(y), sizeof(OKU::Pixmap::Pixel), frame.getWidth(), file) !=
            static_cast<size_t>(frame.getWidth()))
            return false;
    return true;
}

int drawFrames(int count, const std::string& path)
{
    OKU::traceInitStderr(OKU::TRACE_WARNING);
    std::unique_ptr<OKU::RootWidget> root(new OKU::FbRootWidget(800, 480));
    printSize(*root);
    OKU::Widget* background = new OKU::Widget(root.get(), 0, 0, root->getWidth(),
                                               root->getHeight());
    OKU::Widget* square = new OKU::Widget(background, 0, 0, 40, 40);
    FILE* file = std::fopen(path.c_str(), "we");
    if (!file)
        return 3;
    bool written = true;
    root->invalidate();
    for (int frame = 0; frame < count; ++frame) {
        if (frame % 4 == 0)
            background->setBgColor(OKU::Color(frame * 16 % 256, 80, 160));
        square->move(20 + frame * 50 % 700, 20 + frame * 30 % 400);
        square->setBgColor(OKU::Color(255, frame * 40 % 256, 0));
        root->redrawNow();
        written = written && appendBackBuffer(*root, file);
    }
    return std::fclose(file) == 0 && written ? 0 : 3;
}

// The first pixel of the frame last published, as 0xRRGGBB.
uint32_t publishedFirstPixel(int frames)
{
    uint32_t pixel = 0;
    flock(frames, LOCK_SH);
    const bool read = pread(frames, &pixel, sizeof pixel, 0) == sizeof pixel;
    flock(frames, LOCK_UN);
    return read ? pixel & 0xFFFFFF : 0;
}

[[noreturn]] void drawOnGuiThread(int count)
{
    OKU::RootWidget* root = new OKU::FbRootWidget(800, 480);
    printSize(*root);
    OKU::Widget* background = new OKU::Widget(root, 0, 0, root->getWidth(), root->getHeight());
    root->start();
    // Each frame waits for the one before it to be published in the whole
    // frames file, so that a slow GUI thread (a sanitizer build, a loaded
    // machine), which publishes only when it waits, still shows them one by
    // one instead of merging a queue of them into one.
    const int frames = open(fbemu::wholeFramesPath(std::getenv("FBEMU_PATH")).c_str(),
                            O_RDONLY | O_CLOEXEC);
    for (int frame = 1; frame <= count; ++frame) {
        const uint32_t red = frame % 256, green = frame / 256, blue = 77;
        root->injectFunction(nullptr, [=] {
            background->setBgColor(OKU::Color(red, green, blue));
        });
        while (frames >= 0 && publishedFirstPixel(frames) != (red << 16 | green << 8 | blue))
            usleep(200);
        usleep(2000);
    }
    root->injectFunction(nullptr, [] { _exit(0); });
    for (;;)
        pause();
}

[[noreturn]] void touch(int argc, char** argv)
{
    OKU::traceInitStderr(OKU::TRACE_WARNING);
    OKU::Backend backend("fbemu_probe", 800, 480, false, argc, argv, "appicon");
    OKU::RootWidget* root = backend.getRoot();
    printSize(*root);
    new TouchRecorder(root);
    root->injectFunction(nullptr, [] { std::cout << "ready" << std::endl; });
    backend.mainLoop();
}

int runMode(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "draw")
        return draw({});
    if (args.size() == 5 && args[0] == "redraw")
        return draw(std::vector<std::string>(args.begin() + 1, args.end()));
    if (args.size() == 3 && args[0] == "frames")
        return drawFrames(std::atoi(args[1].c_str()), args[2]);
    if (args.size() == 2 && args[0] == "gui")
        drawOnGuiThread(std::atoi(args[1].c_str()));
    if (args.size() == 1 && args[0] == "kill") {
        OKU::FbRootWidget root(800, 480);
        raise(SIGTERM);
    }
    if (args.size() == 1 && args[0] == "fatal") {
        OKU::FbRootWidget root(800, 480);
        OKU::fatalError("fbemu_probe was asked for a fatal error");
    }
    if (args.size() == 1 && args[0] == "touch")
        touch(argc, argv);
    std::cerr << "usage: fbemu_probe draw | redraw X Y W H | frames COUNT FILE | gui COUNT | kill | "
                 "fatal | touch\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return runMode(argc, argv);
    } catch (const OKU::SetupError& failure) {
        std::cerr << failure.what() << std::endl;
        OKU::exitProcess(1);
    }
}
