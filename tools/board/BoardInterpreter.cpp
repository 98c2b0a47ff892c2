#include "BoardInterpreter.h"

#include <climits>
#include <fcntl.h>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "HeadlessInterpreter.h"
#include "LineReader.h"
#include "ScenarioWords.h"
#include "SimulatorStatus.h"

namespace board {

namespace {

const int c_tapMs = 50;

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

// A directory of its own for the file that holds the simulator's line of
// the moment, named as the scenario; both are gone with the run.
class SegmentFile {
public:
    explicit SegmentFile(const std::string& script)
    {
        char name[] = "/tmp/lifeboat-board-XXXXXX";
        if (!mkdtemp(name))
            throw std::runtime_error("Cannot make a directory under /tmp.");
        m_directory = name;
        m_path = m_directory + "/" + script.substr(script.rfind('/') + 1);
    }
    SegmentFile(const SegmentFile&) = delete;
    SegmentFile& operator=(const SegmentFile&) = delete;
    ~SegmentFile()
    {
        unlink(m_path.c_str());
        rmdir(m_directory.c_str());
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_directory;
    std::string m_path;
};

struct Descriptor {
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd > STDIN_FILENO)
            close(fd);
    }
    const int fd;
};

} // namespace

BoardInterpreter::BoardInterpreter(sim::Device& device, const sim::Screen& screen,
                                   Tablet tablet, const sim::PanelRotation& rotation,
                                   std::ostream& out)
    : m_device(device), m_screen(screen), m_tablet(std::move(tablet)), m_rotation(rotation),
      m_out(out)
{
}

int BoardInterpreter::run(const std::string& script)
{
    m_script = script.empty() ? "-" : script;
    const Descriptor input(script.empty() ? STDIN_FILENO
                                          : open(script.c_str(), O_RDONLY | O_CLOEXEC));
    if (input.fd < 0) {
        m_out << "fail cannot read \"" << script << "\"" << std::endl;
        return sim::STATUS_CHECK_FAILED;
    }
    const SegmentFile segment(m_script);
    m_segmentPath = segment.path();
    sim::LineReader reader(input.fd, [this] {
        m_device.poll();
        return m_device.phase() != sim::Device::Phase::STOPPED;
    });
    int lineNumber = 0;
    while (const std::optional<std::string> line = reader.next()) {
        ++lineNumber;
        const Words words = sim::scenarioWords(*line);
        if (words.empty())
            continue;
        if (words[0] == "quit")
            return sim::STATUS_DONE;
        if (words[0] == "tablet") {
            try {
                tablet(words);
            } catch (const std::exception& failure) {
                m_out << "fail " << m_script << ":" << lineNumber << ": " << failure.what()
                      << std::endl;
                return sim::STATUS_CHECK_FAILED;
            }
        } else if (const int status = runSimulatorLine(*line, lineNumber)) {
            return status;
        }
        if (m_device.phase() == sim::Device::Phase::STOPPED)
            break;
    }
    return m_device.phase() == sim::Device::Phase::STOPPED ? sim::STATUS_DEVICE_STOPPED
                                                           : sim::STATUS_DONE;
}

int BoardInterpreter::runSimulatorLine(const std::string& line, int lineNumber)
{
    std::string command = line;
    const Words words = sim::scenarioWords(line);
    // Included files are found beside the scenario (in the working
    // directory for standard input), not beside its segment.
    if (words[0] == "include" && words.size() == 2 && words[1][0] != '/') {
        const size_t slash = m_script.rfind('/');
        char here[PATH_MAX];
        const std::string directory = slash != std::string::npos ? m_script.substr(0, slash + 1)
                                      : getcwd(here, sizeof here) ? std::string(here) + "/"
                                                                  : "";
        command = "include " + directory + words[1];
    }
    std::ofstream(m_segmentPath) << std::string(static_cast<size_t>(lineNumber - 1), '\n')
                                 << command << "\n";
    std::ostringstream answer;
    const int status = sim::HeadlessInterpreter(m_device, m_screen, answer).run(m_segmentPath);
    std::string text = answer.str();
    replaceAll(text, m_segmentPath, m_script);
    m_out << text << std::flush;
    return status;
}

void BoardInterpreter::tablet(const Words& words)
{
    const std::string action = words.size() == 4 ? words[1] : "";
    if (action != "tap" && action != "press" && action != "move" && action != "release")
        throw std::invalid_argument("tablet takes \"tap|press|move|release X Y\"");
    const int x = sim::scenarioNumber(words[2], 0, m_rotation.width() - 1, "x");
    const int y = sim::scenarioNumber(words[3], 0, m_rotation.height() - 1, "y");
    // While the application runs, a touch starts lifeboat again.
    if (m_device.phase() == sim::Device::Phase::APPLICATION) {
        if (action == "tap" || action == "press")
            m_device.press(x, y);
        m_out << "ok tablet" << std::endl;
        return;
    }
    const sim::PanelPosition panel = m_rotation.toPanel(x, y);
    if (action == "tap" || action == "press")
        sim::HeadlessInterpreter::react(m_device);
    m_tablet(action != "release", panel.x, panel.y);
    if (action == "tap") {
        sim::pollUntil(m_device, c_tapMs, [] { return false; });
        m_tablet(false, panel.x, panel.y);
    }
    m_out << "ok tablet" << std::endl;
}

} // namespace board
