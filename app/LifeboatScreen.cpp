#include "LifeboatScreen.h"

#include <unistd.h>

#include <algorithm>
#include <memory>

#include "ExternalDisk.h"
#include "MountExtDisk.h"
#include "core/ProcessExit.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/tree/RootWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticPixmap.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/MsgBox.h"
#include "text/Font.h"

#include "BackupWindow.h"
#include "MessageText.h"
#include "ScriptFinder.h"
#include "Version.h"

using namespace OKU;

namespace {

Button* createActionButton(Widget* parent, const wchar_t* text, const sigc::slot<void>& handler)
{
    Button* button = new Button(parent, LString(LString1(text)), nullptr,
                                WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER, VAlign::CENTER);
    button->signalClicked.connect(handler);
    return button;
}

StaticText* createText(Widget* parent, const LString& text, HAlign halign, VAlign valign,
                       const std::shared_ptr<const Font>& font)
{
    StaticText* staticText = new StaticText(parent, text, halign, valign);
    staticText->setFont(font);
    return staticText;
}

// The bold fonts from the largest size down to the smallest; at least the
// font of size 1, however small the screen.
std::vector<std::shared_ptr<const Font>> boldFonts(Cache& cache, int largest, int smallest)
{
    largest = std::max(largest, 1);
    std::vector<std::shared_ptr<const Font>> fonts;
    for (int size = largest; size >= std::clamp(smallest, 1, largest); --size)
        fonts.push_back(cache.getFont(size, true, false));
    return fonts;
}

} // namespace

LifeboatScreen::LifeboatScreen(Widget* parent, const std::wstring& message) : CommonScreen(parent)
{
    // Fonts and spacing follow the screen's shorter side and the button
    // column its longer one, so that the page fills displays of any size
    // alike and a panel mounted upright shows what it shows lying.
    const int shortSide = std::min(getWidth(), getHeight());
    const int longSide = std::max(getWidth(), getHeight());
    Cache& cache = Theme::g()->getCache();
    Frame* content = getContent();

    const std::shared_ptr<const Pixmap> smiley = cache.getPixmap("smiley");
    m_smileys = {new StaticPixmap(content, smiley, false, true),
                 new StaticPixmap(content, smiley, false, true)};
    // From the page's sizes down to the smallest still fit for the purpose.
    m_headingFonts = boldFonts(cache, shortSide / 11, shortSide / 22);
    m_heading = createText(content, LString(LString1(L"Lifeboat!")), HAlign::CENTER,
                           VAlign::CENTER, m_headingFonts[0]);
    m_message = new MessageText(content, message, boldFonts(cache, shortSide / 33, shortSide / 48));
    m_message->setFontColor(Color(255, 0, 0, 255));

    m_buttons = {
        createActionButton(content, translatable(L"Emergency Backup"),
                           sigc::mem_fun(*this, &LifeboatScreen::emergencyBackupClicked)),
        createActionButton(content, translatable(L"Factory Reset"),
                           sigc::mem_fun(*this, &LifeboatScreen::factoryResetClicked)),
        createActionButton(content, translatable(L"Start Application"),
                           sigc::mem_fun(*this, &LifeboatScreen::startApplicationClicked)),
        createActionButton(content, translatable(L"Reboot"),
                           sigc::mem_fun(*this, &LifeboatScreen::rebootClicked)),
    };
    StaticText* versionText = createText(
        content, LString(L"%1\n%2").arg(Version::getBootromVersion()).arg(Version::getVersion()),
        HAlign::RIGHT, VAlign::TOP, cache.getFont(10, false, false));
    // One wide button widens the whole column, since its buttons stretch.
    m_buttons[1]->setMinWidth(longSide / 3);

    auto buttonColumn = std::make_shared<VSizer>(true, false);
    for (Button* button : m_buttons)
        buttonColumn->add(button, 1, HAlign::STRETCH);
    // The message keeps clear of the smileys, however far down it reaches.
    auto messageRow = std::make_shared<HSizer>(true, false);
    messageRow->addSpace(smiley->getWidth(), 0);
    messageRow->add(m_message, 1, VAlign::STRETCH);
    messageRow->addSpace(smiley->getWidth(), 0);
    auto column = std::make_shared<VSizer>(true, false);
    column->add(m_heading, 0, HAlign::STRETCH);
    column->add(messageRow, 0, HAlign::STRETCH);
    column->addSpace(shortSide / 40, 0);
    column->add(buttonColumn, 1, HAlign::CENTER);
    auto page = std::make_shared<StackSizer>(true);
    page->add(m_smileys[0], HAlign::LEFT, VAlign::TOP);
    page->add(m_smileys[1], HAlign::RIGHT, VAlign::TOP);
    page->add(versionText, HAlign::RIGHT, VAlign::BOTTOM);
    page->add(column, HAlign::STRETCH, VAlign::STRETCH);
    content->setSizer(page);
}

LifeboatScreen::~LifeboatScreen() = default;

void LifeboatScreen::runSizer()
{
    CommonScreen::runSizer();
    if (fitHeading())
        CommonScreen::runSizer();
    int spare = 0;
    for (const Button* button : m_buttons)
        spare += button->getHeight() - button->getMinHeight();
    if (m_message->fitInto(m_message->getWidth(), m_message->getHeight() + spare))
        CommonScreen::runSizer();
}

bool LifeboatScreen::fitHeading()
{
    // Between the smileys, whichever side each is on (a mirrored page swaps them).
    const Rect first = m_smileys[0]->getRectAbs();
    const Rect second = m_smileys[1]->getRectAbs();
    const int room = std::max(first.x, second.x) - std::min(first.right(), second.right());
    const std::wstring text = m_heading->getText().str();
    size_t index = 0;
    while (index + 1 < m_headingFonts.size() && m_headingFonts[index]->getTextSize(text).width > room)
        ++index;
    if (index == m_headingFontIndex)
        return false;
    m_headingFontIndex = index;
    m_heading->setFont(m_headingFonts[index]);
    return true;
}

// The backup window serves the GUI while the script runs and gives the drive
// back before it closes; what is left here is telling the operator.
void LifeboatScreen::emergencyBackupClicked()
{
    Widget* top = getTop();
    const LString title(LString1(L"Emergency Backup"));
    ExternalDisk::Session disk;
    for (;;) {
        if (!mountExtDisk(disk, top, title))
            return;
        BackupOutcome outcome;
        (new BackupWindow(getRoot(), title, s_scriptFinder.find("emergency-backup.sh"), disk,
                          outcome))
            ->modal();
        if (!outcome.unmounted)
            msgBox(top, title,
                   LString(LString1(L"The USB drive could not be unmounted.\n\nDo not remove it "
                                    L"before the device is switched off.")));
        if (outcome.result == BackupOutcome::COMPLETED) {
            msgBox(top, title, LString(LString1(L"Emergency backup completed.")));
            return;
        }
        if (outcome.result == BackupOutcome::CANCELLED)
            return;
        LString question(LString1(L"Emergency backup failed!\n\nTry again?"));
        if (!outcome.reason.empty())
            question = LString(L"%1\n\n%2").arg(question).arg(outcome.reason);
        if (!msgBoxYesNo(top, title, question, false, nullptr))
            return;
    }
}

void LifeboatScreen::factoryResetClicked()
{
    if (msgBoxOkCancel(getTop(), LString(LString1(L"Factory Reset")),
                       LString(LString1(L"Tap OK to reset all settings and data to factory "
                                        L"defaults.\n\nWARNING: ALL DATA WILL BE LOST!!!"))))
        OKU::exitProcess(51);
}

void LifeboatScreen::startApplicationClicked()
{
    OKU::exitProcess(50);
}

void LifeboatScreen::rebootClicked()
{
    OKU::exitProcess(54);
}
