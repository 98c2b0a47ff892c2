// A settings page built on OKU: a title, a framed group of check boxes and
// a row of two buttons. "Reset" asks a yes/no question first; "Save" ends the
// main loop, and main returns. The page speaks the language LIFEBOAT_LANGUAGE
// names (German and Arabic here) through two tables: the program's own, made
// by lngtool from lng/*.po, and the toolkit's, which translates the words of
// its own widgets (Yes, No, the calibration page).

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/FileFinder.h"
#include "core/Paths.h"
#include "core/SetupError.h"
#include "core/Trace.h"
#include "gui/display/Backend.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/tree/RootWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/CheckBox.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/CalibrationScreen.h"
#include "gui/windows/MsgBox.h"
#include "gui/windows/Screen.h"
#include "input/TouchScreen.h"
#include "text/L10n.h"

using namespace OKU;

namespace {

// The settings and where each starts.
const struct {
    const char* label;
    bool checked;
} c_settings[] = {
    {translatable("Key clicks"), true},
    {translatable("Dim the screen at night"), false},
    {translatable("Show the clock"), true},
};

Button* createButton(Widget* parent, const LString& label)
{
    return new Button(parent, label, nullptr, WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER,
                      VAlign::CENTER);
}

class SettingsPage : public Screen {
public:
    explicit SettingsPage(Widget* parent) : Screen(parent)
    {
        auto* title = new StaticText(this, LString(LString1("Settings")), HAlign::LEFT,
                                     VAlign::CENTER);
        title->setFont(Theme::g()->getCache().getFont(32, true, false));

        auto* group = new Frame(this, LString(LString1("Sound and display")), HAlign::LEFT);
        auto boxes = std::make_shared<VSizer>();
        for (const auto& setting : c_settings) {
            auto* box = new CheckBox(group, LString(LString1(setting.label)), setting.checked,
                                     HAlign::LEFT);
            m_boxes.push_back(box);
            boxes->add(box, 0, HAlign::LEFT);
        }
        group->setSizer(boxes);

        Button* reset = createButton(this, LString(LString1("Reset")));
        reset->signalClicked.connect(sigc::mem_fun(*this, &SettingsPage::resetClicked));
        Button* save = createButton(this, LString(LString1("Save")));
        save->signalClicked.connect([this] { getRoot()->quit(0); });

        auto buttons = std::make_shared<HSizer>();
        buttons->add(reset, 1, VAlign::STRETCH);
        buttons->add(save, 1, VAlign::STRETCH);
        auto page = std::make_shared<VSizer>();
        page->add(title, 0, HAlign::STRETCH);
        page->add(group, 1, HAlign::STRETCH);
        page->add(buttons, 0, HAlign::STRETCH);
        setSizer(page);
    }

private:
    void resetClicked()
    {
        if (!msgBoxYesNo(getTop(), LString(LString1("Reset")),
                         LString(LString1("Put every setting back to how it came?"))))
            return;
        for (size_t i = 0; i < m_boxes.size(); ++i)
            m_boxes[i]->setChecked(c_settings[i].checked, false);
    }

    std::vector<CheckBox*> m_boxes;
};

// The toolkit's calibration page on a new device, then the settings.
class FirstCalibration : public CalibrationScreen {
public:
    using CalibrationScreen::CalibrationScreen;

    void okClicked() override
    {
        CalibrationScreen::okClicked();
        new SettingsPage(getRoot());
    }
};

// The program's table from its own folder, and the toolkit's for the same
// language from the toolkit's data, before the first page is built.
void loadLanguage(const std::string& programTables, const std::string& toolkitData)
{
    static const std::map<std::string, L10n_Language> behaviours = {
        {"de", L10n_Language::DECIMAL_COMMA}, {"ar", L10n_Language::ARABIC_INDIC}};
    const auto language = behaviours.find(getEnv("LIFEBOAT_LANGUAGE", ""));
    if (language == behaviours.end())
        return;
    const std::string program = programTables + "/" + language->first + ".lng";
    if (!l10nLoadLanguage(program, language->second))
        traceMessage("Settings", TRACE_WARNING, "Cannot load \"%s\"", program.c_str());
    const std::string toolkit = toolkitData + "/lng/" + l10nToolkitTableName(language->first);
    if (!l10nLoadToolkitLanguage(toolkit))
        traceMessage("Settings", TRACE_WARNING, "Cannot load \"%s\"", toolkit.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    traceInit(TRACE_WARNING);
    // The simulator and a device's stand-alone installation name the resource
    // root; otherwise the toolkit's installed fonts, pictures and tables.
    const std::string root = getEnv("KARO_LIFEBOAT", "");
    const std::string data = root.empty() ? std::string(OKU_DATA_DIR) : root;
    const FileFinder resources(data + "/fonts;" + data + "/pixmaps");
    try {
        Backend backend("Settings", 800, 480, false, argc, argv, "appicon");
        Theme::initGlobal(resources);
        loadLanguage(SETTINGS_LNG_DIR, data);
        RootWidget* screen = backend.getRoot();
        if (screen->getTouchScreen() != nullptr && !TouchScreen::isCalibrated())
            new FirstCalibration(screen);
        else
            new SettingsPage(screen);
        return backend.run();
    } catch (const SetupError& error) {
        std::cerr << error.what() << std::endl;
        return 1;
    }
}
