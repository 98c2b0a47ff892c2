#ifndef OKU_GUI_WINDOWS_SCREEN_H
#define OKU_GUI_WINDOWS_SCREEN_H

#include "graphics/Color.h"
#include "gui/tree/ContainerWidget.h"

namespace OKU {

/// A page: a container covering its whole parent (the root widget or a
/// top-level widget) that follows the parent's size, lays itself out again
/// when the language changes and takes every key no child took.
class Screen : public ContainerWidget {
public:
    static const Color s_defaultBgColor;

    explicit Screen(Widget* parent);

    void onCreation() override;
    void onParentResized() override;
    bool onKey(KeyCode key, wchar_t c) override;
};

} // namespace OKU

#endif
