#ifndef OKU_INPUT_DETAIL_EVDEVTOUCHDECODER_H
#define OKU_INPUT_DETAIL_EVDEVTOUCHDECODER_H

#include <linux/input.h>

#include <array>
#include <cstdint>

namespace OKU {

/// Folds the records of a Linux input event device into touch reports.
/// Record (struct input_event, 16 bytes on the 32-bit device, 24 on 64-bit
/// hosts): time, u16 type, u16 code, s32 value. EV_SYN (any code) ends a
/// report; records of other types and codes are ignored.
///
/// Single-touch panels: EV_KEY BTN_TOUCH pressed = value != 0; EV_ABS
/// ABS_X / ABS_Y the position. Absolute pointers (tablets, touch controllers
/// that present themselves as one) are the same with BTN_LEFT.
///
/// Type B multitouch panels: EV_ABS ABS_MT_SLOT chooses the slot the
/// following ABS_MT_ records describe (slot 0 until the first); in it
/// ABS_MT_TRACKING_ID >= 0 puts a new contact down and -1 lifts it;
/// ABS_MT_POSITION_X / _Y move it. The kernel sends only what changed, so
/// every slot keeps its last values. Such panels usually report a single-touch
/// view too (BTN_TOUCH, ABS_X, ABS_Y); it is ignored, so that all positions
/// come in the same axes.
///
/// The touch follows one finger, like a single-touch panel: the first contact
/// that goes down while none is followed. Other fingers are ignored. When the
/// followed finger lifts the touch is released, even while others stay down:
/// a hand resting on the panel must not click where it rests, and only a
/// finger put down afterwards starts the next touch.
class EvdevTouchDecoder {
public:
    enum class Kind { SINGLE_TOUCH, POINTER, MULTITOUCH };

    explicit EvdevTouchDecoder(Kind kind = Kind::SINGLE_TOUCH) : m_kind(kind) {}

    /// True when the record ends a report; the report is then the current
    /// pressed state and last raw position (the position a release keeps).
    bool add(const input_event& record);

    /// Where the device's axes stand when reading starts, and for multitouch
    /// panels the slot it is in: the kernel sends only the values that change,
    /// also across programs, so a first touch where an earlier program's last
    /// one ended reports no position at all.
    void setStartPosition(int slot, int32_t x, int32_t y);

    bool isPressed() const { return m_pressed; }
    int32_t getRawX() const { return m_lastRawX; }
    int32_t getRawY() const { return m_lastRawY; }

private:
    struct Slot {
        bool down = false;
        int32_t x = 0;
        int32_t y = 0;
    };
    /// Slots beyond these (no panel has that many) are ignored.
    static constexpr int c_slotCount = 16;
    static constexpr int c_noSlot = -1;

    void addSingleTouch(const input_event& record);
    void addMultitouch(const input_event& record);
    void endMultitouchReport();

    Kind m_kind;
    bool m_pressed = false;
    int32_t m_lastRawX = 0;
    int32_t m_lastRawY = 0;
    std::array<Slot, c_slotCount> m_slots;
    int m_slot = 0;
    int m_followed = c_noSlot;
};

} // namespace OKU

#endif
