#ifndef LIFEBOAT_BOARD_QMPINPUT_H
#define LIFEBOAT_BOARD_QMPINPUT_H

#include <string>
#include <vector>

#include "QmpClient.h"

namespace board {

// The board's keyboards and its virtio tablet, worked through QMP's
// input-send-event. QEMU gives key events to the keyboard that came last (a
// plugged USB keyboard before the virtio one) and buttons and positions to
// the tablet; it ends every command with a synchronisation report, so one
// command is one evdev frame in the guest. The events, in JSON:
//
//   {"type": "key", "data": {"down": true, "key": {"type": "qcode", "data": "tab"}}}
//   {"type": "abs", "data": {"axis": "x", "value": V}}     V in 0..32767
//   {"type": "btn", "data": {"down": true, "button": "left"}}
class QmpInput {
public:
    explicit QmpInput(QmpClient& qmp);

    // A key of the keyboard that came last going down or up, by its QEMU
    // name (see keyQcode).
    void key(const std::string& qcode, bool down);
    // The finger on the tablet at a position in its 0..32767 range,
    // touching (the left button down) or lifted there.
    void touch(bool touching, int tabletX, int tabletY);
    // A USB keyboard on the xHCI controller: once plugged it takes the keys;
    // once pulled they go to the virtio keyboard again.
    void plugKeyboard();
    // False when none was plugged.
    bool unplugKeyboard();

private:
    QmpClient& m_qmp;
};

// QEMU's name (qcode) of the key with that evdev code: letters, digits,
// Escape, Tab, Shift, Enter, Space and the arrows; empty for other keys.
std::string keyQcode(unsigned short evdevCode);

// The tablet's coordinate of a pixel on an axis of `size` pixels, which the
// driver scales back to that pixel with the axis's range 0..32767.
int tabletCoordinate(int pixel, int size);

} // namespace board

#endif
