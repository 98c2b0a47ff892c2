#include "ButtonLooks.h"

#include <utility>

#include "Palette.h"
#include "Panel.h"

using OKU::Color;
using OKU::Pixmap;
using OKU::Size;

namespace PixmapGen {

namespace {

// One state of a button.
struct ButtonStyle {
    Color faceTop;
    Color faceBottom;
    Color rim;
    Color highlight;
    Color innerShadow;
    Color dropShadow;
    Color text;
};

// Raised: a light face lit from above, casting a shadow.
const ButtonStyle c_raised = {Color(253, 253, 254), Color(221, 226, 232), Color(108, 118, 130),
                              Color(255, 255, 255, 230), Palette::c_none, Color(0, 0, 0, 80),
                              Palette::c_darkText};
const ButtonStyle c_raisedDisabled = {Color(241, 242, 244), Color(230, 232, 235),
                                      Color(182, 187, 193), Color(255, 255, 255, 140),
                                      Palette::c_none, Color(0, 0, 0, 28),
                                      Palette::c_disabledText};
// Pressed: sunk in, no shadow, in the accent colour so a finger-covered
// button still shows around the finger that it took the touch.
const ButtonStyle c_pressed = {Palette::c_accentDark, Palette::c_accent, Palette::c_accentRim,
                               Palette::c_none, Color(0, 0, 0, 110), Palette::c_none,
                               Palette::c_lightText};
const ButtonStyle c_pressedDisabled = {Color(194, 198, 204), Color(209, 212, 216),
                                       Color(158, 164, 171), Palette::c_none, Color(0, 0, 0, 45),
                                       Palette::c_none, Palette::c_disabledText};
// Latched: a toggle that is on stays sunk in, in a colour of its own so it
// is not mistaken for a button being pressed.
const ButtonStyle c_latched = {Color(6, 92, 86), Color(18, 130, 118), Color(3, 62, 57),
                               Palette::c_none, Color(0, 0, 0, 110), Palette::c_none,
                               Palette::c_lightText};
const ButtonStyle c_latchedDisabled = {Color(188, 203, 201), Color(204, 214, 212),
                                       Color(150, 168, 165), Palette::c_none, Color(0, 0, 0, 45),
                                       Palette::c_none, Palette::c_disabledText};

// Nominal heights: the theme's button height, a compact button and a key.
const PanelGeometry c_pushGeometry = {40, 8, 1, 1, 3};
const PanelGeometry c_smallGeometry = {28, 5, 1, 1, 2};
// Keys sit close together: a tighter radius and a short, crisp shadow like
// the side of a key cap.
const PanelGeometry c_keyGeometry = {40, 5, 1, 1.5, 1.5};

struct ButtonFamily {
    const char* prefix;
    PanelGeometry geometry;
    std::vector<std::pair<const char*, ButtonStyle>> states;
    Size sampleSize;
    const wchar_t* sampleText;
};

Pixmap drawButton(const PanelGeometry& panel, const ButtonStyle& style)
{
    Pixmap image(panel.imageWidth(), panel.imageHeight(), true);
    paintDropShadow(image, panel, style.dropShadow);
    paintRim(image, panel, style.rim);
    paintFace(image, panel, style.faceTop, style.faceBottom);
    paintTopHighlight(image, panel, style.highlight);
    paintInnerShadow(image, panel, style.innerShadow, static_cast<int>(panel.radius * 0.75) + 1);
    return image;
}

std::vector<ButtonFamily> buttonFamilies()
{
    const std::vector<std::pair<const char*, ButtonStyle>> push = {
        {"up", c_raised}, {"up-dis", c_raisedDisabled},
        {"down", c_pressed}, {"down-dis", c_pressedDisabled}};
    const std::vector<std::pair<const char*, ButtonStyle>> toggle = {
        {"up", c_raised}, {"up-dis", c_raisedDisabled},
        {"down", c_latched}, {"down-dis", c_latchedDisabled}};
    // The keyboard's toggle keys share the plain keys' up looks.
    const std::vector<std::pair<const char*, ButtonStyle>> keyToggle = {
        {"down", c_latched}, {"down-dis", c_latchedDisabled}};
    return {
        {"button", c_pushGeometry, push, Size(150, 40), L"Button"},
        {"small-button", c_smallGeometry, push, Size(100, 28), L"Small"},
        {"button-toggle", c_pushGeometry, toggle, Size(150, 40), L"Toggle"},
        {"kbd-button", c_keyGeometry, push, Size(44, 40), L"A"},
        {"kbd-button-toggle", c_keyGeometry, keyToggle, Size(64, 40), L"Shift"},
    };
}

} // namespace

void addButtonLooks(Catalogue& catalogue)
{
    for (const ButtonFamily& family : buttonFamilies()) {
        for (const auto& [suffix, style] : family.states) {
            catalogue.composites.push_back(CompositePicture{
                std::string(family.prefix) + "-" + suffix, drawButton(family.geometry, style),
                family.geometry.slices(), family.geometry.inner(), family.geometry.outer(),
                style.text, family.sampleSize, family.sampleText});
        }
    }
}

} // namespace PixmapGen
