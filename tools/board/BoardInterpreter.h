#ifndef LIFEBOAT_BOARD_BOARDINTERPRETER_H
#define LIFEBOAT_BOARD_BOARDINTERPRETER_H

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "Device.h"
#include "PanelRotation.h"
#include "Screen.h"

namespace board {

// Works the board from the simulator's commands (see HeadlessInterpreter.h)
// and from its own for the input only the board has, the virtio tablet:
//   tablet tap X Y | tablet press X Y | tablet move X Y | tablet release X Y
//                    the finger on the tablet, in screen pixels (the
//                    program's); while the application runs, a tap or a
//                    press starts lifeboat again
// The board's commands stand in the scenario itself, not in the files it
// includes. They answer as the simulator's do: "ok tablet", or
// "fail SCRIPT:LINE: WHY", after which the run ends.
class BoardInterpreter {
public:
    // The finger on the tablet at a panel pixel, touching or lifted.
    typedef std::function<void(bool touching, int panelX, int panelY)> Tablet;

    // rotation is how the panel, and the tablet over it, is mounted.
    BoardInterpreter(sim::Device& device, const sim::Screen& screen, Tablet tablet,
                     const sim::PanelRotation& rotation, std::ostream& out);

    // Runs the script file's commands, or standard input's for an empty
    // path; the simulator's exit status (SimulatorStatus.h).
    int run(const std::string& script);

    typedef std::vector<std::string> Words;

private:
    // The simulator's line, run at its line number in a file of its own.
    int runSimulatorLine(const std::string& line, int lineNumber);
    void tablet(const Words& words);

    sim::Device& m_device;
    const sim::Screen& m_screen;
    Tablet m_tablet;
    sim::PanelRotation m_rotation;
    std::ostream& m_out;
    std::string m_script;
    std::string m_segmentPath;
};

} // namespace board

#endif
