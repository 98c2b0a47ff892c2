#include "BoardDevice.h"

#include <stdexcept>

namespace board {

namespace {

const int c_connectMs = 120000;
const int c_commandMs = 60000;
// The guest's side of the paths the scenarios name in the simulator's layout.
const struct {
    const char* simulated;
    const char* guest;
} c_guestPaths[] = {{"varlib/", "/var/lib/"}, {"boot/", "/mnt/boot/"}};
const std::string c_drivePrefix = "usb/drive/";

} // namespace

BoardDevice::BoardDevice(const BoardConnection& connection, QmpClient& qmp,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>& settings, int slowdown,
                         std::ostream& events)
    : sim::Device(events), m_connection(connection), m_agent(connection.agentSocket, c_connectMs),
      m_drive(qmp, connection.stateDir + "/usb.img"), m_arguments(arguments),
      m_settings(settings), m_slowdown(slowdown)
{
}

BoardDevice::~BoardDevice()
{
    try {
        stopProgram();
    } catch (const std::runtime_error&) {
        // The board has gone; there is nothing left to stop.
    }
}

void BoardDevice::factoryNew()
{
    stopProgram();
    m_agent.check("reset_device", c_commandMs);
    m_drive.format();
}

std::vector<std::string> BoardDevice::memoryStatus()
{
    return m_agent.check("grep -E '^Vm(RSS|HWM)' /proc/" + std::to_string(m_pid) + "/status",
                         c_commandMs);
}

int BoardDevice::startProgram()
{
    // A fresh controller on the UART, as after a power cycle: reporting is
    // off until the new program has switched it on.
    m_controller.reset();
    LineChannel line(m_connection.touchSocket, c_connectMs);
    m_controller = std::make_unique<sim::Pm9000Controller>(line.release());
    // The agent outlives this run: the settings are given anew every time.
    std::string settings;
    for (const std::string& setting : m_settings)
        settings += (settings.empty() ? "" : " ") + setting;
    std::string command = "program_settings=" + shellQuote(settings) + "; start_program";
    for (const std::string& argument : m_arguments)
        command += " " + shellQuote(argument);
    const std::vector<std::string> output = m_agent.check(command, c_commandMs);
    if (output.empty())
        throw std::runtime_error("The board did not start the program.");
    m_pid = std::stoi(output.back());
    return m_pid;
}

std::optional<int> BoardDevice::reapProgram()
{
    while (const std::optional<GuestAgent::Exit> exit = m_agent.takeExit())
        if (exit->pid == m_pid) {
            m_pid = -1;
            return exit->status;
        }
    return std::nullopt;
}

void BoardDevice::stopProgram()
{
    if (m_pid <= 0)
        return;
    m_agent.check("stop_program " + std::to_string(m_pid), c_commandMs);
    m_pid = -1;
    m_controller.reset();
}

void BoardDevice::resetStorage()
{
    m_agent.check("reset_storage", c_commandMs);
}

std::string BoardDevice::logPath() const
{
    return m_connection.stateDir + "/lifeboat.log";
}

bool BoardDevice::isMounted(const std::string& mountPoint)
{
    return m_agent.run("is_mounted " + shellQuote(mountPoint), c_commandMs).status == 0;
}

std::vector<std::string> BoardDevice::findFiles(const std::string& pattern)
{
    if (pattern.rfind(c_drivePrefix, 0) == 0)
        return m_drive.list(pattern.substr(c_drivePrefix.size()));
    for (const auto& path : c_guestPaths) {
        const std::string simulated = path.simulated;
        if (pattern.rfind(simulated, 0) == 0)
            // Unquoted, so that the guest's shell expands the pattern.
            return m_agent.check(std::string("find_files ") + path.guest +
                                     pattern.substr(simulated.size()),
                                 c_commandMs);
    }
    throw std::runtime_error("The board has no counterpart of \"" + pattern +
                             "\": only varlib/, boot/ and usb/drive/.");
}

// Unlike the simulator's drive, the board's is seen by its kernel only once
// it has been enumerated on the bus, which takes a second or two.
void BoardDevice::insertUsbDrive(bool readOnly, bool slow)
{
    m_drive.insert(readOnly, slow);
    m_agent.check("wait_for_drive present", c_commandMs * 2);
}

void BoardDevice::removeUsbDrive()
{
    m_drive.remove();
    m_agent.check("wait_for_drive absent", c_commandMs * 2);
}

} // namespace board
