#ifndef LIFEBOAT_SIM_HEADLESSINTERPRETER_H
#define LIFEBOAT_SIM_HEADLESSINTERPRETER_H

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "CalibrationCross.h"
#include "Device.h"
#include "Screen.h"

namespace sim {

// Works the device from commands, one per line ("#" starts a comment):
//   tap X Y | press X Y | move X Y | release X Y     the finger, in screen pixels
//                                                   (the program's, on a rotated panel);
//                                                   a tap right after a waitfor
//                                                   comes as late as a person's,
//                                                   c_reactionMs after it
//   wait MS                                         to the millisecond
//   waitfor pixel X Y RRGGBB [TIMEOUT_MS]           until the pixel has the colour
//   waitfor still [QUIET_MS [TIMEOUT_MS]]           until the program has shown
//                                                   something (not a black
//                                                   screen) and the screen
//                                                   stops changing
//   waitfor file PATTERN [TIMEOUT_MS]               until the device has it (see
//                                                   Device::findFiles)
//   calibrate [TIMEOUT_MS]                          touches the nine crosses of
//                                                   the program's touch
//                                                   calibration wherever they
//                                                   show, each once it shows,
//                                                   then the OK in the middle of
//                                                   the result page, which must
//                                                   go; TIMEOUT_MS (30000) for
//                                                   each step
//   screenshot FILE.png
//   pixel X Y                                       prints "pixel X Y RRGGBB"
//   usb insert [read-only] [slow] [size MB]         a slow drive takes seconds to flush
//                                                   and takes writes at about
//                                                   1.5 MB/s; with a size, a new
//                                                   empty drive of MB megabytes,
//                                                   else the drive as it was (64
//                                                   MB when new)
//   usb remove                                      pulls it, mounted or not:
//                                                   every later write onto it
//                                                   fails
//   backup-data MB                                  MB of incompressible data
//                                                   among what the emergency
//                                                   backup saves
//   keyboard plug | keyboard unplug                 the USB keyboard
//   key NAME | key-down NAME | key-up NAME          a key of the plugged-in keyboard
//                                                   pressed and released, or only
//                                                   one of them; NAME is tab,
//                                                   shift+tab, left, right, up,
//                                                   down, enter, space, escape or
//                                                   a single letter a-z or digit
//   expect-exit STATUS [TIMEOUT_MS]                 the program's next exit status
//   expect-no-exit [MS]                             the program runs on for MS
//                                                   (default 1000)
//   expect-file PATTERN | expect-no-file PATTERN    on the device
//   expect-mounted PATH | expect-unmounted PATH     as the running program sees it
//   include FILE                                    its commands, FILE relative to
//                                                   the including script
//   quit
// Every command answers with one line: its result, "ok COMMAND", or
// "fail SCRIPT:LINE: WHY", after which the run ends; a waitfor or calibrate
// fails at once when the program has exited and nothing runs that could
// bring about what it waits for. Device events come as
// "event ..." lines in between. Time-outs and quiet times are stretched by
// the device's slowdown; plain waits are not, they stand for a person.
class HeadlessInterpreter {
public:
    HeadlessInterpreter(Device& device, const Screen& screen, std::ostream& out);

    // Runs the commands of the script file, or of standard input for an
    // empty path, until they end or one fails; the simulator's exit status.
    int run(const std::string& script);

    typedef std::vector<std::string> Words;

    // A touch right after a waitfor saw what it waited for comes as late as
    // a person's would, c_reactionMs after it; for the board's own touches too.
    static void react(Device& device);

private:
    struct Command;
    static const Command c_commands[];

    // False once the run is over: quit, or the device stopped.
    bool runLines(int fd, const std::string& source);
    bool include(const Words& words, const std::string& source);
    void execute(const Words& words);
    void touch(const Words& words);
    void tap(const Words& words);
    void tapAt(int x, int y);
    void wait(const Words& words);
    void waitFor(const Words& words);
    void waitForPixel(const Words& words);
    void waitForStill(const Words& words);
    // Until the program has drawn and the screen has kept still for quietMs.
    void awaitStillScreen(int quietMs, int timeoutMs);
    void calibrate(const Words& words);
    std::optional<CrossCentre> crossShown() const;
    void waitForFile(const Words& words);
    void screenshot(const Words& words);
    void pixel(const Words& words);
    void usb(const Words& words);
    void backupData(const Words& words);
    void keyboard(const Words& words);
    void key(const Words& words);
    // Sends the codes of a key name down or up, a modifier around the key.
    void sendKeys(const std::vector<unsigned short>& codes, bool pressed);
    void expectExit(const Words& words);
    void expectNoExit(const Words& words);
    void expectFile(const Words& words);
    void expectMounted(const Words& words);

    void waitTouchReady();
    // Before a tap: a person needs a moment to react to what a waitfor saw.
    // The optional time at index, or the default, stretched by the slowdown.
    int stretchedMs(const Words& words, size_t index, int defaultMs, const char* what) const;

    Device& m_device;
    const Screen& m_screen;
    std::ostream& m_out;
    int m_includeDepth = 0;
};

} // namespace sim

#endif
