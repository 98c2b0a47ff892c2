#include "core/Time.h"
#include "gui/DialogHarness.h"
#include "gui/windows/CommonScreen.h"
#include "gui/windows/CommonWindow.h"
#include "gui/windows/MsgBox.h"

using namespace OKU;

// Whether the page was closed with OK, for the pages that can tell.
static int showModally(Widget* page) { return page->modal(), 0; }
static int showModally(CommonOkCancelWindow* w) { return w->modal(), w->getOk(); }
static int showModally(CommonOkCancelScreen* s) { return s->modal(), s->getOk(); }

template <class Page, class... Args>
static std::function<int(Widget*)> show(Args... args)
{
    return [=](Widget* top) { return showModally(new Page(top, args...)); };
}

// Each input but the last leaves the question open; the last one answers it.
// With focus keys, the dialog's focus starts on the button of the cancelling
// key (Cancel, No) or its only one, and Enter presses the focused button. The
// harness's tap hid the ring, so the first key shows it.
TEST(DialogTest, EveryButtonAnsweringKeyAndFocusedButtonGivesItsAnswerToTheWaitingHandler)
{
    const auto box = [](Widget* top) { return msgBox(top, L"Q", L"Go on?"), 7; };
    const auto okCancel = [](Widget* top) { return int(msgBoxOkCancel(top, L"Q", L"Go on?")); };
    const auto yesNo = [](Widget* top) { return int(msgBoxYesNo(top, L"Q", L"Go on?")); };
    const auto yesNoCancel = [](Widget* top) { return msgBoxYesNoCancel(top, L"Q", L"Go on?"); };
    const auto all = [](Widget* top) { return msgBoxYesNoAllCancel(top, L"Q", L"Go on?"); };
    const auto disabledOk = [](Widget* top) {
        auto* window = new CommonOkCancelWindow(top, L"Q");
        findShowing(window, L"OK")->disable();
        return showModally(window);
    };
    // Buttons put in go between Cancel and OK.
    const auto withStart = [](Widget* top) {
        auto* window = new CommonOkCancelWindow(top, 600, 300, L"Q");
        window->insertButton(Theme::g()->createStartButton(window));
        return showModally(window);
    };
    const auto holdYes = [](Widget* top) {
        return int(msgBoxYesNo(top, L"Q", L"Go on?", true, nullptr));
    };
    const std::wstring key3 = c_confirmKey, key4 = c_cancelKey, toAll = L"To All";
    const std::wstring tab = c_tabKey, enter = c_enterKey;
    const std::vector<DialogCase> cases = {
        {box, {L"OK"}, 7}, {box, {key4, key3}, 7}, {okCancel, {L"OK"}, true},
        {okCancel, {L"Cancel"}, false}, {okCancel, {key3}, true}, {okCancel, {key4}, false},
        {yesNo, {L"Yes"}, true}, {yesNo, {L"No"}, false}, {yesNo, {key3}, true},
        {yesNo, {key4}, false}, {yesNoCancel, {L"Yes"}, ANSWER_YES},
        {yesNoCancel, {key3}, ANSWER_YES}, {yesNoCancel, {L"No"}, ANSWER_NO},
        {yesNoCancel, {L"Cancel"}, ANSWER_CANCEL}, {yesNoCancel, {key4}, ANSWER_CANCEL},
        {all, {L"Yes"}, ANSWER_YES}, {all, {key3}, ANSWER_YES}, {all, {L"No"}, ANSWER_NO},
        {all, {L"Cancel"}, ANSWER_CANCEL}, {all, {key4}, ANSWER_CANCEL},
        {all, {toAll, L"No"}, ANSWER_NO_TO_ALL}, {all, {toAll, key3}, ANSWER_YES_TO_ALL},
        {all, {toAll, toAll, L"Yes"}, ANSWER_YES},
        // Common pages answer whether they were closed with OK.
        {show<CommonOkWindow>(L"Q"), {L"OK"}, false}, {show<CommonCancelScreen>(), {key3}, false},
        {show<CommonCloseWindow>(L"Q"), {key4}, false},
        {show<CommonCloseScreen>(), {L"Close"}, false},
        {show<CommonOkCancelWindow>(L"Q"), {L"Cancel"}, false},
        {show<CommonOkCancelScreen>(), {key3}, true}, {show<CommonOkCancelScreen>(), {L"OK"}, true},
        {disabledOk, {L"OK", key3, key4}, false},
        {box, {tab, enter}, 7}, {okCancel, {tab, enter}, false},
        {okCancel, {tab, c_rightKey, enter}, true}, {yesNo, {c_downKey, enter}, false},
        {yesNo, {tab, tab, enter}, true}, {yesNoCancel, {tab, c_rightKey, enter}, ANSWER_NO},
        {yesNoCancel, {tab, c_shiftTabKey, enter}, ANSWER_YES},
        {all, {tab, c_upKey, enter, c_downKey, c_rightKey, enter}, ANSWER_NO_TO_ALL},
        {show<CommonOkCancelScreen>(), {tab, c_leftKey, c_rightKey, enter}, true},
        {withStart, {tab, c_rightKey, c_rightKey, enter}, true},
        {withStart, {tab, c_rightKey, enter, c_cancelKey}, false},
        // A short Enter on Yes only reminds, in a box of its own whose OK
        // has the focus; closing it gives the focus back to Yes, where
        // holding Enter answers.
        {holdYes, {tab, c_rightKey, enter, enter, c_heldEnterKey}, true},
        {holdYes, {tab, c_rightKey, enter, enter, c_leftKey, c_heldEnterKey}, false},
    };
    expectAnswers(cases);
}

// The reminder is a message box opened from the question's button handler.
TEST(DialogTest, HoldToConfirmRemindsOnEveryTapAndAnswersYesAfterASecondsHold)
{
    DialogHarness dialog([](Widget* top) {
        auto picture = Theme::g()->getCache().getPixmap("ok");
        return int(msgBoxYesNo(top, L"Factory Reset", L"Reset all settings?", true, picture));
    });
    const std::wstring reminder = L"You must press and hold the Yes button to confirm!";
    const auto shows = [&dialog](const std::wstring& text) {
        return dialog.m_root.onGuiThread(
            [&] { return findShowing(dialog.topDialog(), text) != nullptr; });
    };
    for (const std::wstring& dismiss : {std::wstring(L"OK"), c_confirmKey}) {
        EXPECT_TRUE(shows(L"(" + reminder + L")"));
        saveScreenshot(dialog.m_root.getPixmapCopy(), "yes-no-hold.png");
        dialog.send(L"Yes");
        EXPECT_TRUE(shows(reminder));
        // Grey 144 veiled around the reminder, a 620 x 350 box whose buttons sit on grey.
        const Pixmap screen = dialog.m_root.getPixmapCopy();
        saveScreenshot(screen, "message-box.png");
        EXPECT_EQ(rgb(53, 53, 53), screen.getPixel(5, 470));
        EXPECT_EQ(rgb(144, 144, 144), screen.getPixel(92, 412));
        dialog.send(dismiss);
    }
    const Rect yes = dialog.m_root.onGuiThread([&dialog] {
        // Picture, text and a single caption.
        EXPECT_EQ(3u, findShowing(dialog.topDialog(), L"Reset all settings?")->getParent()
                          ->getChildren().size());
        return findShowing(dialog.topDialog(), L"Yes")->getRectAbs();
    });
    dialog.m_root.injectMouseEvent(yes.x + 5, yes.y + 5, true);
    const uint64_t start = monotonicMicroseconds();
    EXPECT_EQ(true, dialog.answer());
    EXPECT_GE(monotonicMicroseconds() - start, 1000000u);
    dialog.m_root.injectMouseEvent(yes.x + 5, yes.y + 5, false);
}
