#ifndef OKU_TESTS_GUI_LOGGINGWIDGET_H
#define OKU_TESTS_GUI_LOGGINGWIDGET_H

#include <functional>
#include <string>

#include "gui/TestRootWidget.h"

// A widget that notes what reaches it in a log it may share with others, as
// its name, what happened and the numbers that came with it ("a down 10,10",
// "b key 3,120"). It notes only the kinds it is given, so that each test
// reads what it checks; notifications and timeouts always. A log that
// hears of deletions (LIFE) must outlive the widget.
class LoggingWidget : public OKU::Widget {
public:
    enum Kind { LIFE = 1, MOUSE = 2, KEYS = 4, DRAWING = 8, ALWAYS = 16 };

    // The teardown steps, called by tests directly.
    using Widget::armageddon;
    using Widget::deleteChildren;

    LoggingWidget(OKU::Widget* parent, const std::string& name, Log& log, int kinds,
                  const OKU::Rect& r = OKU::Rect(0, 0, 10, 10))
        : Widget(parent, r.x, r.y, r.width, r.height), m_name(name), m_log(log), m_kinds(kinds)
    {
    }
    ~LoggingWidget() override { note(LIFE, "delete"); }

    void onCreation() override
    {
        note(LIFE, "create");
        if (m_creationHook)
            m_creationHook();
    }
    void onParentResized() override { note(LIFE, "parent resized"); }
    void onMouseDown(int x, int y) override { note(MOUSE, "down " + pair(x, y)); }
    void onMouseMove(int x, int y) override { note(MOUSE, "move " + pair(x, y)); }
    void onMouseUp(int x, int y) override { note(MOUSE, "up " + pair(x, y)); }
    bool onKeyIntercept(OKU::KeyCode key, wchar_t c) override
    {
        note(KEYS, "intercept " + pair(key, c));
        return m_interceptsKeys;
    }
    bool onKey(OKU::KeyCode key, wchar_t c) override
    {
        note(KEYS, "key " + pair(key, c));
        return m_takesKeys;
    }
    void onNotification(int id) override { note(ALWAYS, "notification " + std::to_string(id)); }
    void onTimeout(int id) override { note(ALWAYS, "timeout " + std::to_string(id)); }
    void draw(OKU::Painter& p) override
    {
        note(DRAWING, "draw");
        Widget::draw(p);
    }

    std::function<void()> m_creationHook;
    bool m_interceptsKeys = false;
    bool m_takesKeys = false;

private:
    static std::string pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
    void note(int kind, const std::string& what)
    {
        if ((m_kinds | ALWAYS) & kind)
            m_log.push_back(m_name + " " + what);
    }

    std::string m_name;
    Log& m_log;
    int m_kinds;
};

#endif
