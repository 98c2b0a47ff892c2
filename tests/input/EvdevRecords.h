#ifndef OKU_TESTS_INPUT_EVDEVRECORDS_H
#define OKU_TESTS_INPUT_EVDEVRECORDS_H

#include <linux/input.h>

#include <map>
#include <sstream>
#include <string>

// The types and codes the recorded evdev streams name.
#define NAMED(code) {#code, code}
const std::map<std::string, unsigned short> c_evdevNames = {
    NAMED(EV_SYN), NAMED(EV_KEY), NAMED(EV_REL), NAMED(EV_ABS), NAMED(EV_MSC), NAMED(SYN_REPORT),
    NAMED(SYN_MT_REPORT), NAMED(SYN_DROPPED), NAMED(BTN_TOUCH), NAMED(BTN_LEFT), NAMED(BTN_RIGHT),
    NAMED(REL_X), NAMED(REL_WHEEL), NAMED(MSC_SCAN), NAMED(ABS_X), NAMED(ABS_Y), NAMED(ABS_Z),
    NAMED(ABS_PRESSURE), NAMED(ABS_MT_SLOT), NAMED(ABS_MT_TRACKING_ID), NAMED(ABS_MT_POSITION_X),
    NAMED(ABS_MT_POSITION_Y), NAMED(KEY_TAB), NAMED(KEY_Q), NAMED(KEY_P), NAMED(KEY_A),
    NAMED(KEY_L), NAMED(KEY_Z), NAMED(KEY_M), NAMED(KEY_1), NAMED(KEY_9), NAMED(KEY_0),
    NAMED(KEY_LEFT), NAMED(KEY_RIGHT), NAMED(KEY_UP), NAMED(KEY_DOWN), NAMED(KEY_ENTER),
    NAMED(KEY_SPACE), NAMED(KEY_ESC), NAMED(KEY_F1), NAMED(KEY_KPENTER), NAMED(KEY_LEFTSHIFT),
    NAMED(KEY_RIGHTSHIFT), NAMED(KEY_LEFTCTRL),
};
#undef NAMED

// The record of a stream line "TYPE CODE VALUE" such as "EV_ABS ABS_X 100";
// false for any other line.
inline bool parseRecord(const std::string& line, input_event& record)
{
    std::istringstream words(line);
    std::string type, code;
    int value = 0;
    if (!(words >> type >> code >> value) || !c_evdevNames.count(type) || !c_evdevNames.count(code))
        return false;
    record = input_event();
    record.type = c_evdevNames.at(type);
    record.code = c_evdevNames.at(code);
    record.value = value;
    return true;
}

#endif
