#ifndef OKU_TESTS_GUI_TESTTHEME_H
#define OKU_TESTS_GUI_TESTTHEME_H

#include <string>

#include "core/FileFinder.h"
#include "gui/Theme.h"

// The process-wide theme over the build tree's pictures and fonts, created on
// first use.
inline OKU::Theme* testTheme()
{
    static OKU::FileFinder finder(std::string(OKU_PIXMAP_DIR) + ";" + OKU_FONT_DIR);
    if (OKU::Theme::s_theme == nullptr)
        OKU::Theme::initGlobal(finder);
    return OKU::Theme::g();
}

#endif
