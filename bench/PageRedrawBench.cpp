// Times what the GUI thread does for the emergency page on an 800 x 480
// screen, from the event to the converted frame: the root widget's loop steps
// (event delivery, creation, reaping, redraw of the dirty rectangles into the
// back buffer) and the conversion of each redrawn rectangle into 32-bit frame
// memory, as the framebuffer output writes it to the device. No device, no
// GUI thread of its own and no waiting: the loop runs on the benchmark's
// thread until nothing is pending.
//
//   page_redraw_whole    the whole page drawn again
//   page_button_press    a finger on the Reboot button (its pressed look),
//                        slid off it (the look goes back) and lifted there
//   dialog_open_close    the Factory Reset question opened over the page,
//                        drawn behind its veil, and closed with the
//                        cancelling key
//
// Figures: see RedrawTiming.h; Mpixel_per_s counts the pixels the redraws
// covered. CSV: page_redraw_bench --benchmark_format=csv
//
// Usage: page_redraw_bench [Google Benchmark options]   (fonts and pictures
// of the build tree)

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RedrawTiming.h"
#include "core/FileFinder.h"
#include "graphics/detail/FrameWriter.h"
#include "gui/display/DisplayOutput.h"
#include "gui/theme/Theme.h"
#include "gui/tree/RootWidget.h"
#include "gui/widgets/Button.h"
#include "gui/windows/DialogAnswer.h"
#include "gui/windows/MessageWindow.h"

#include "LifeboatScreen.h"

using namespace OKU;

namespace {

const int c_screenWidth = 800;
const int c_screenHeight = 480;

// A screen in memory: each redrawn area is converted into 32-bit frame
// memory as a framebuffer output converts it into the device's, and counted.
class MemoryFrameOutput : public DisplayOutput {
public:
    MemoryFrameOutput()
        : m_writer(FramePixelFormat::RGB32, c_screenWidth * 4, c_screenWidth, c_screenHeight),
          m_frame(m_writer.getLineLength() * c_screenHeight)
    {
    }

    Size getSize() const override { return Size(c_screenWidth, c_screenHeight); }
    int getRotation() const override { return 0; }
    // Nobody looks: a press counts as soon as the frame is shown.
    int getAimDelayMs() const override { return 0; }
    void showFrame(const Pixmap& backBuffer, const std::vector<Rect>& areas, bool) override
    {
        for (const Rect& r : areas) {
            m_writer.write(backBuffer, r, m_frame.data());
            m_redrawnPixels += static_cast<int64_t>(r.width) * r.height;
        }
    }

    int64_t getRedrawnPixels() const { return m_redrawnPixels; }

private:
    FrameWriter m_writer;
    std::vector<uint8_t> m_frame;
    int64_t m_redrawnPixels = 0;
};

// The root widget on that screen, its loop run on the calling thread.
class MemoryFrameRoot : public RootWidget {
public:
    MemoryFrameRoot() : MemoryFrameRoot(new MemoryFrameOutput) {}

    /// The queued events, then creation, reaping and redraw, as the GUI
    /// thread does before it blocks.
    void runPending()
    {
        while (processEvent(false)) {
        }
    }

    int64_t getRedrawnPixels() const { return m_output.getRedrawnPixels(); }

private:
    explicit MemoryFrameRoot(MemoryFrameOutput* output)
        : RootWidget(std::unique_ptr<DisplayOutput>(output)), m_output(*output)
    {
    }

    const MemoryFrameOutput& m_output;
};

void useBuildTreeTheme()
{
    static const FileFinder finder(std::string(OKU_PIXMAP_DIR) + ";" + OKU_FONT_DIR);
    if (Theme::s_theme == nullptr)
        Theme::initGlobal(finder);
}

// The emergency page, created and drawn once.
LifeboatScreen* showPage(MemoryFrameRoot& root)
{
    useBuildTreeTheme();
    LifeboatScreen* page = new LifeboatScreen(&root, L"Started after a failed update");
    root.runPending();
    return page;
}

Button* findButton(Widget* w, const std::wstring& text)
{
    Button* button = dynamic_cast<Button*>(w);
    if (button && button->getText().str() == text)
        return button;
    for (Widget* child : w->getChildren())
        if (Button* found = findButton(child, text))
            return found;
    return nullptr;
}

// Times the runs and counts the pixels they redrew.
template <class Run>
void timePage(benchmark::State& state, MemoryFrameRoot& root, Run run)
{
    const int64_t before = root.getRedrawnPixels();
    const double cpuPerRun = timeRuns(state, run);
    reportRedraws(state, cpuPerRun,
                  static_cast<double>(root.getRedrawnPixels() - before) /
                      static_cast<double>(state.iterations()));
}

void redrawWholePage(benchmark::State& state)
{
    MemoryFrameRoot root;
    showPage(root);
    timePage(state, root, [&root] {
        root.invalidate();
        root.runPending();
    });
}

void pressButton(benchmark::State& state)
{
    MemoryFrameRoot root;
    Button* reboot = findButton(showPage(root), L"Reboot");
    if (reboot == nullptr) {
        state.SkipWithError("the page has no Reboot button");
        return;
    }
    const Rect button = reboot->getRectAbs();
    const Point on(button.x + button.width / 2, button.y + button.height / 2);
    // The top of the page, over the heading: nothing there answers a touch.
    const Point off(c_screenWidth / 2, 1);
    timePage(state, root, [&] {
        for (const auto& touch : {std::make_pair(on, true), std::make_pair(off, true),
                                  std::make_pair(off, false)}) {
            root.injectMouseEvent(touch.first.x, touch.first.y, touch.second);
            root.runPending();
        }
    });
}

void openAndCloseDialog(benchmark::State& state)
{
    MemoryFrameRoot root;
    // Where the page's own questions go.
    Widget* top = showPage(root)->getTop();
    const size_t topChildren = top->getChildren().size();
    Theme* theme = Theme::g();
    timePage(state, root, [&] {
        MessageWindow* window = new MessageWindow(
            top, LString(LString1(L"Factory Reset")),
            LString(LString1(L"Tap OK to reset all settings and data to factory "
                             L"defaults.\n\nWARNING: ALL DATA WILL BE LOST!!!")));
        window->addButton(theme->createCancelButton(window), ANSWER_CANCEL, KEY_CANCEL, 1, false);
        window->addButtonDivider();
        window->addButton(theme->createOkButton(window), ANSWER_OK, KEY_CONFIRM, 1, false);
        root.runPending();
        root.injectKeyEvent(KEY_CANCEL, 0);
        root.runPending();
    });
    if (top->getChildren().size() != topChildren)
        state.SkipWithError("the cancelling key left the dialog open");
}

} // namespace

BENCHMARK(redrawWholePage)->Name("page_redraw_whole");
BENCHMARK(pressButton)->Name("page_button_press");
BENCHMARK(openAndCloseDialog)->Name("dialog_open_close");
