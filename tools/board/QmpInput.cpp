#include "QmpInput.h"

#include <algorithm>
#include <linux/input.h>
#include <string>

namespace board {

namespace {

const int c_tabletMaximum = 32767;
const char c_keyboardId[] = "usbkeyboard";

const struct {
    unsigned short code;
    const char* qcode;
} c_namedKeys[] = {{KEY_ESC, "esc"},     {KEY_TAB, "tab"},   {KEY_LEFTSHIFT, "shift"},
                   {KEY_ENTER, "ret"},   {KEY_SPACE, "spc"}, {KEY_LEFT, "left"},
                   {KEY_RIGHT, "right"}, {KEY_UP, "up"},     {KEY_DOWN, "down"}};

// Digits and letters have codes in the order of the keyboard's rows, and
// their qcodes are the characters themselves.
const struct {
    unsigned short firstCode;
    const char* characters;
} c_keyRows[] = {{KEY_1, "1234567890"}, {KEY_Q, "qwertyuiop"}, {KEY_A, "asdfghjkl"},
                 {KEY_Z, "zxcvbnm"}};

std::string keyEvent(const std::string& qcode, bool down)
{
    return std::string("{\"type\": \"key\", \"data\": {\"down\": ") + (down ? "true" : "false") +
           ", \"key\": {\"type\": \"qcode\", \"data\": " + jsonString(qcode) + "}}}";
}

std::string absEvent(const char* axis, int value)
{
    return std::string("{\"type\": \"abs\", \"data\": {\"axis\": \"") + axis +
           "\", \"value\": " + std::to_string(value) + "}}";
}

} // namespace

std::string keyQcode(unsigned short evdevCode)
{
    for (const auto& key : c_namedKeys)
        if (key.code == evdevCode)
            return key.qcode;
    for (const auto& row : c_keyRows)
        if (evdevCode >= row.firstCode &&
            evdevCode < row.firstCode + std::char_traits<char>::length(row.characters))
            return std::string(1, row.characters[evdevCode - row.firstCode]);
    return "";
}

int tabletCoordinate(int pixel, int size)
{
    // A quarter of a pixel into the pixel, so that scaling back by
    // (size - 1) / 32767 lands on it whether the driver rounds or truncates.
    if (size < 2)
        return 0;
    const long long quarters = 4LL * (size - 1);
    const long long coordinate = ((4LL * pixel + 1) * c_tabletMaximum + quarters - 1) / quarters;
    return static_cast<int>(std::min<long long>(coordinate, c_tabletMaximum));
}

QmpInput::QmpInput(QmpClient& qmp) : m_qmp(qmp)
{
}

void QmpInput::key(const std::string& qcode, bool down)
{
    m_qmp.execute("input-send-event", "{\"events\": [" + keyEvent(qcode, down) + "]}");
}

void QmpInput::touch(bool touching, int tabletX, int tabletY)
{
    m_qmp.execute("input-send-event",
                  "{\"events\": [" + absEvent("x", tabletX) + ", " + absEvent("y", tabletY) +
                      ", {\"type\": \"btn\", \"data\": {\"down\": " +
                      (touching ? "true" : "false") + ", \"button\": \"left\"}}]}");
}

void QmpInput::plugKeyboard()
{
    m_qmp.execute("device_add", std::string("{\"driver\": \"usb-kbd\", \"id\": ") +
                                    jsonString(c_keyboardId) + ", \"bus\": \"xhci.0\"}");
}

bool QmpInput::unplugKeyboard()
{
    return m_qmp.tryExecute("device_del", std::string("{\"id\": ") + jsonString(c_keyboardId) + "}");
}

} // namespace board
