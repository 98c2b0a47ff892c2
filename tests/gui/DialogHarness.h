#ifndef OKU_TESTS_GUI_DIALOGHARNESS_H
#define OKU_TESTS_GUI_DIALOGHARNESS_H

#include <algorithm>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/Time.h"
#include "gui/TestRootWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/CheckBox.h"
#include "gui/widgets/StaticText.h"

// The first button, check box or static text below w that shows text, or null.
inline OKU::Widget* findShowing(OKU::Widget* w, const std::wstring& text)
{
    const auto shows = [&text](const auto* shown) {
        return shown && shown->getText().str() == text;
    };
    if (shows(dynamic_cast<OKU::Button*>(w)) || shows(dynamic_cast<OKU::CheckBox*>(w)) ||
        shows(dynamic_cast<OKU::StaticText*>(w)))
        return w;
    for (OKU::Widget* child : w->getChildren())
        if (OKU::Widget* found = findShowing(child, text))
            return found;
    return nullptr;
}

// Pictures for people to look at are kept in the build tree under screenshots/.
inline void saveScreenshot(const OKU::Pixmap& shot, const std::string& name)
{
    const std::string dir = std::string(OKU_TEST_BUILD_DIR) + "/screenshots";
    EXPECT_TRUE(OKU::makeDirTree(dir) && shot.savePNG(dir + "/" + name)) << name;
}

// Inputs to a dialog are the texts of what to tap, or keys: every character
// below a space is a key code. Enter is pressed and let go; held, it stays
// down for longer than a long click.
const std::wstring c_confirmKey(1, OKU::KEY_CONFIRM), c_cancelKey(1, OKU::KEY_CANCEL);
const std::wstring c_tabKey(1, OKU::KEY_FOCUS_NEXT), c_shiftTabKey(1, OKU::KEY_FOCUS_PREVIOUS);
const std::wstring c_leftKey(1, OKU::KEY_ARROW_LEFT), c_rightKey(1, OKU::KEY_ARROW_RIGHT);
const std::wstring c_upKey(1, OKU::KEY_ARROW_UP), c_downKey(1, OKU::KEY_ARROW_DOWN);
const std::wstring c_enterKey{OKU::KEY_ACTIVATE_DOWN, OKU::KEY_ACTIVATE_UP},
    c_heldEnterKey = L"held Enter";

inline bool isKeys(const std::wstring& input)
{
    return std::all_of(input.begin(), input.end(), [](wchar_t c) { return c < L' '; });
}

// An 800 x 480 grey root whose own GUI thread runs the loop. Its Start button,
// tapped at once, asks a question from its click handler; the test answers
// with taps and keys, and the answer arrives when the handler resumes.
class DialogHarness {
public:
    explicit DialogHarness(const std::function<int(OKU::Widget* top)>& ask)
        : m_root(800, 480), m_answer(m_promise.get_future())
    {
        m_root.setBgColor(OKU::Color(144, 144, 144));
        OKU::Button* launcher = testTheme()->createStartButton(&m_root);
        launcher->setGeometry(0, 0, 100, 40);
        launcher->signalClicked.connect([this, ask] { m_promise.set_value(ask(&m_root)); });
        m_root.start();
        send(L"Start");
    }

    // Dialogs a failed test left open close first, one per loop pass.
    ~DialogHarness()
    {
        for (int pass = 0; pass < 4; ++pass)
            m_root.injectFunction(nullptr, [this] {
                for (OKU::Widget* w : m_root.getChildren())
                    w->destroy();
            });
        m_root.stopGuiThread();
    }

    OKU::Widget* topDialog() { return m_root.getChildren().back(); }
    // A key, or a tap in the middle of what shows the text.
    void send(const std::wstring& input)
    {
        if (isKeys(input)) {
            for (wchar_t key : input)
                m_root.injectKeyEvent(OKU::KeyCode(key), 0);
            return;
        }
        if (input == c_heldEnterKey) {
            m_root.injectKeyEvent(OKU::KEY_ACTIVATE_DOWN, 0);
            m_root.onGuiThread([] {});
            OKU::sleepMilliseconds(1200);
            return m_root.injectKeyEvent(OKU::KEY_ACTIVATE_UP, 0);
        }
        const OKU::Point p = m_root.onGuiThread([&] {
            const OKU::Rect r = findShowing(topDialog(), input)->getRectAbs();
            return OKU::Point(r.x + r.width / 2, r.y + r.height / 2);
        });
        m_root.injectMouseEvent(p.x, p.y, true);
        m_root.injectMouseEvent(p.x, p.y, false);
    }

    bool answered() { return m_root.onGuiThread([this] { return wait(0); }); }
    // -1 when no answer comes within a minute.
    int answer() { return wait(60) ? m_answer.get() : -1; }

    TestRootWidget m_root;

private:
    bool wait(int seconds)
    {
        return m_answer.wait_for(std::chrono::seconds(seconds)) == std::future_status::ready;
    }

    std::promise<int> m_promise;
    std::future<int> m_answer;
};

// A dialog per case (its ask), worked by its inputs in turn (see
// DialogHarness::send), must give its expected answer and none before.
struct DialogCase {
    std::function<int(OKU::Widget*)> ask;
    std::vector<std::wstring> inputs;
    int expected;
};

inline void expectAnswers(const std::vector<DialogCase>& cases)
{
    for (const DialogCase& c : cases) {
        DialogHarness dialog(c.ask);
        for (const std::wstring& input : c.inputs) {
            EXPECT_FALSE(dialog.answered()) << "case " << &c - cases.data();
            dialog.send(input);
        }
        EXPECT_EQ(c.expected, dialog.answer()) << "case " << &c - cases.data();
    }
}

#endif
