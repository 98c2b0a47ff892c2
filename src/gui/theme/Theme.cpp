#include "gui/theme/Theme.h"

#include "core/FatalError.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/TabbedFrame.h"

namespace OKU {

Theme* Theme::s_theme = nullptr;

Theme::Theme(const FileFinder& fileFinder) : m_cache(fileFinder), m_fileFinder(fileFinder)
{
    if (s_theme != nullptr)
        fatalError("OKU::Theme created twice");
    s_theme = this;

    // Frames nested deeper get lighter backgrounds, one colour per level.
    const Color depthColors[] = {Color(176, 176, 176, 255), Color(192, 192, 192, 255),
                                 Color(208, 208, 208, 255), Color(224, 224, 224, 255)};
    for (const Color& c : depthColors) {
        Frame::s_defaultBgColor.push_back(c);
        TabbedFrame::s_defaultBgColor.push_back(c);
    }
}

Theme::~Theme()
{
    if (s_theme == this)
        s_theme = nullptr;
}

void Theme::initGlobal(const FileFinder& fileFinder)
{
    // The constructor registers the instance; it lives until the process ends.
    new Theme(fileFinder);
}

Theme* Theme::g()
{
    if (s_theme == nullptr)
        fatalError("OKU::Theme::initGlobal not called");
    return s_theme;
}

std::shared_ptr<const Font> Theme::getMonoFont(int size)
{
    return m_cache.getFont("DroidSansMono.ttf", size);
}

CompositePixmapSet Theme::getPushButton()
{
    return makeSet("button-up", "button-up-dis", "button-down", "button-down-dis");
}

CompositePixmapSet Theme::getSmallPushButton()
{
    return makeSet("small-button-up", "small-button-up-dis", "small-button-down",
                   "small-button-down-dis");
}

CompositePixmapSet Theme::getToggleButton()
{
    return makeSet("button-toggle-up", "button-toggle-up-dis", "button-toggle-down",
                   "button-toggle-down-dis");
}

CompositePixmapSet Theme::getKeyboardPushButton()
{
    return makeSet("kbd-button-up", "kbd-button-up-dis", "kbd-button-down", "kbd-button-down-dis");
}

CompositePixmapSet Theme::getKeyboardToggleButton()
{
    return makeSet("kbd-button-up", "kbd-button-up-dis", "kbd-button-toggle-down",
                   "kbd-button-toggle-down-dis");
}

CompositePixmapSet Theme::makeSet(const std::string& up, const std::string& upDisabled,
                                  const std::string& down, const std::string& downDisabled)
{
    return CompositePixmapSet(m_cache.getCPM(up), m_cache.getCPM(upDisabled), m_cache.getCPM(down),
                              m_cache.getCPM(downDisabled));
}

} // namespace OKU
