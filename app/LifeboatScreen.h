#ifndef LIFEBOAT_LIFEBOATSCREEN_H
#define LIFEBOAT_LIFEBOATSCREEN_H

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "gui/windows/CommonScreen.h"

namespace OKU {
class Button;
class Font;
class StaticPixmap;
class StaticText;
}
class MessageText;

// The emergency page: a heading, the message the program was started with,
// four large buttons and the versions. Backing up runs the device's backup
// script onto a USB drive; the other three choices end the program with the
// exit status that tells its caller what to do:
//   50  start the normal application
//   51  reset the device to factory settings (after a confirmation)
//   54  reboot
class LifeboatScreen : public OKU::CommonScreen {
public:
    LifeboatScreen(OKU::Widget* parent, const std::wstring& message);
    ~LifeboatScreen() override;

    // Every layout gives the message what the buttons can spare beyond their
    // minimum height, and lays the page out again when it needs another height.
    void runSizer() override;

private:
    // On a screen too narrow for the heading between the smileys (a panel
    // mounted upright, say) its font shrinks until it fits there; true when
    // the font changed.
    bool fitHeading();

    void emergencyBackupClicked();
    void factoryResetClicked();
    void startApplicationClicked();
    void rebootClicked();

    std::array<OKU::StaticPixmap*, 2> m_smileys;
    OKU::StaticText* m_heading;
    std::vector<std::shared_ptr<const OKU::Font>> m_headingFonts;
    size_t m_headingFontIndex = 0;
    MessageText* m_message;
    std::vector<OKU::Button*> m_buttons;
};

#endif
