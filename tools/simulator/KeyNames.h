#ifndef LIFEBOAT_SIM_KEYNAMES_H
#define LIFEBOAT_SIM_KEYNAMES_H

#include <string>
#include <vector>

namespace sim {

// The evdev key codes a key name of the scenarios stands for, in the order
// they go down (a modifier first): tab, shift+tab, left, right, up, down,
// enter, space, escape, or a single lower-case letter or digit. Empty for
// any other name.
std::vector<unsigned short> keyCodes(const std::string& name);

// The names keyCodes takes, for messages.
extern const char c_keyNamesHelp[];

} // namespace sim

#endif
