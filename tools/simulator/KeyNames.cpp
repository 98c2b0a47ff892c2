#include "KeyNames.h"

#include <cstring>
#include <linux/input.h>

namespace sim {

namespace {

struct NamedKey {
    const char* name;
    std::vector<unsigned short> codes;
};

const NamedKey c_namedKeys[] = {
    {"tab", {KEY_TAB}},     {"shift+tab", {KEY_LEFTSHIFT, KEY_TAB}},
    {"left", {KEY_LEFT}},   {"right", {KEY_RIGHT}},
    {"up", {KEY_UP}},       {"down", {KEY_DOWN}},
    {"enter", {KEY_ENTER}}, {"space", {KEY_SPACE}},
    {"escape", {KEY_ESC}},
};

// The letters' codes follow the rows of the keyboard, not the alphabet.
const char c_letterRows[] = "qwertyuiop\0asdfghjkl\0zxcvbnm";
const unsigned short c_rowStarts[] = {KEY_Q, KEY_A, KEY_Z};

unsigned short letterCode(char letter)
{
    const char* row = c_letterRows;
    for (unsigned short start : c_rowStarts) {
        if (const char* found = std::strchr(row, letter))
            return static_cast<unsigned short>(start + (found - row));
        row += std::strlen(row) + 1;
    }
    return 0;
}

} // namespace

const char c_keyNamesHelp[] =
    "tab, shift+tab, left, right, up, down, enter, space, escape, a-z or 0-9";

std::vector<unsigned short> keyCodes(const std::string& name)
{
    for (const NamedKey& key : c_namedKeys)
        if (name == key.name)
            return key.codes;
    if (name.size() != 1)
        return {};
    const char c = name[0];
    if (c == '0')
        return {KEY_0};
    if (c >= '1' && c <= '9')
        return {static_cast<unsigned short>(KEY_1 + (c - '1'))};
    if (c >= 'a' && c <= 'z')
        return {letterCode(c)};
    return {};
}

} // namespace sim
