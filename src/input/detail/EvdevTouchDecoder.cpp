#include "input/detail/EvdevTouchDecoder.h"

namespace OKU {

bool EvdevTouchDecoder::add(const input_event& record)
{
    if (record.type == EV_SYN) {
        if (m_kind == Kind::MULTITOUCH)
            endMultitouchReport();
        return true;
    }
    if (m_kind == Kind::MULTITOUCH)
        addMultitouch(record);
    else
        addSingleTouch(record);
    return false;
}

void EvdevTouchDecoder::setStartPosition(int slot, int32_t x, int32_t y)
{
    m_lastRawX = x;
    m_lastRawY = y;
    if (m_kind == Kind::MULTITOUCH && slot >= 0 && slot < c_slotCount) {
        m_slot = slot;
        m_slots[slot].x = x;
        m_slots[slot].y = y;
    }
}

void EvdevTouchDecoder::addSingleTouch(const input_event& record)
{
    const int pressKey = m_kind == Kind::POINTER ? BTN_LEFT : BTN_TOUCH;
    if (record.type == EV_KEY && record.code == pressKey)
        m_pressed = record.value != 0;
    else if (record.type == EV_ABS && record.code == ABS_X)
        m_lastRawX = record.value;
    else if (record.type == EV_ABS && record.code == ABS_Y)
        m_lastRawY = record.value;
}

void EvdevTouchDecoder::addMultitouch(const input_event& record)
{
    if (record.type != EV_ABS)
        return;
    if (record.code == ABS_MT_SLOT) {
        m_slot = record.value >= 0 && record.value < c_slotCount ? record.value : c_noSlot;
        return;
    }
    if (m_slot == c_noSlot)
        return;
    Slot& slot = m_slots[m_slot];
    switch (record.code) {
    case ABS_MT_TRACKING_ID:
        // A new id in a slot whose contact is down replaces that contact;
        // for the followed slot the touch carries on with it.
        slot.down = record.value >= 0;
        if (slot.down && m_followed == c_noSlot)
            m_followed = m_slot;
        else if (!slot.down && m_followed == m_slot)
            m_followed = c_noSlot;
        break;
    case ABS_MT_POSITION_X:
        slot.x = record.value;
        break;
    case ABS_MT_POSITION_Y:
        slot.y = record.value;
        break;
    default:
        break;
    }
}

void EvdevTouchDecoder::endMultitouchReport()
{
    m_pressed = m_followed != c_noSlot;
    if (!m_pressed)
        return;
    m_lastRawX = m_slots[m_followed].x;
    m_lastRawY = m_slots[m_followed].y;
}

} // namespace OKU
