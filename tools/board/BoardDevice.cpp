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
// The names the guest's input drivers give the tablet and the USB keyboard.
const char c_tabletName[] = "QEMU Virtio Tablet";
const char c_keyboardName[] = "QEMU Virtio Keyboard";
const char c_usbKeyboardName[] = "QEMU QEMU USB Keyboard";

} // namespace

BoardDevice::BoardDevice(const BoardConnection& connection, QmpClient& qmp,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>& settings, int slowdown,
                         std::ostream& events)
    : sim::Device(events), m_connection(connection), m_agent(connection.agentSocket, c_connectMs),
      m_drive(qmp, connection.stateDir + "/usb.img"), m_arguments(arguments),
      m_settings(settings), m_slowdown(slowdown), m_input(qmp)
{
    // A USB keyboard an earlier run left plugged in is pulled.
    m_input.unplugKeyboard();
}

BoardDevice::~BoardDevice()
{
    try {
        stopProgram();
    } catch (const std::runtime_error&) {
        // The board has gone; there is nothing left to stop.
    }
}

void BoardDevice::setInputs(const sim::InputSettings& inputs, bool tablet)
{
    m_keyboardPlugged = inputs.keyboard;
    m_pm9000 = inputs.touch && !tablet;
    if (inputs.touch && tablet) {
        const std::vector<std::string> node =
            m_agent.check(std::string("input_device ") + shellQuote(c_tabletName), c_commandMs);
        if (node.empty())
            throw std::runtime_error("The board has no virtio tablet.");
        m_settings.push_back("OKU_TSTYPE=input");
        m_settings.push_back("OKU_TSDEV=" + node.front());
    }
}

void BoardDevice::touchTablet(bool touching, int panelX, int panelY)
{
    m_input.touch(touching, tabletCoordinate(panelX, sim::ScreenMode::c_width),
                  tabletCoordinate(panelY, sim::ScreenMode::c_height));
}

bool BoardDevice::plugKeyboard(bool plugged)
{
    if (plugged == m_keyboardPlugged)
        return false;
    if (plugged) {
        m_input.plugKeyboard();
        m_usbKeyboard = true;
    } else if (m_usbKeyboard) {
        m_input.unplugKeyboard();
        m_usbKeyboard = false;
    }
    m_keyboardPlugged = plugged;
    m_keyboardReader = -1;
    // As a person waits for the keyboard to be recognised.
    m_agent.check(std::string("wait_for_input ") + (plugged ? "present " : "absent ") +
                      shellQuote(c_usbKeyboardName),
                  c_commandMs * 2);
    return true;
}

bool BoardDevice::sendKey(unsigned short code, bool pressed)
{
    if (!m_keyboardPlugged)
        return false;
    const std::string qcode = keyQcode(code);
    if (qcode.empty())
        throw std::runtime_error("The board's keyboards have no key " + std::to_string(code) +
                                 ".");
    // A person types once the page shows; the program may still be opening a
    // keyboard it has just been started with or has just been given.
    if (m_pid > 0 && m_keyboardReader != m_pid) {
        m_agent.check("wait_for_reader " + std::to_string(m_pid) + " " +
                          shellQuote(m_usbKeyboard ? c_usbKeyboardName : c_keyboardName),
                      c_commandMs * 2);
        m_keyboardReader = m_pid;
    }
    m_input.key(qcode, pressed);
    return true;
}

void BoardDevice::factoryNew()
{
    stopProgram();
    m_agent.check("reset_device", c_commandMs);
    m_drive.format(sim::c_newUsbDriveMb);
}

std::vector<std::string> BoardDevice::memoryStatus()
{
    const std::string pid = std::to_string(m_pid);
    return m_agent.check("grep -E '^Vm(RSS|HWM)' /proc/" + pid +
                             "/status && sh /etc/memory-breakdown.sh " + pid,
                         c_commandMs);
}

int BoardDevice::setFaultAround(int bytes)
{
    const std::string file = "/sys/kernel/debug/fault_around_bytes";
    const std::vector<std::string> before = m_agent.check(
        "grep -q ' /sys/kernel/debug ' /proc/mounts || mount -t debugfs none /sys/kernel/debug; "
        "cat " + file + " && echo " + std::to_string(bytes) + " >" + file,
        c_commandMs);
    if (before.empty())
        throw std::runtime_error("The board's kernel has no " + file + ".");
    return std::stoi(before.back());
}

int BoardDevice::startProgram()
{
    // A fresh controller on the UART, as after a power cycle: reporting is
    // off until the new program has switched it on.
    m_controller.reset();
    if (m_pm9000) {
        LineChannel line(m_connection.touchSocket, c_connectMs);
        m_controller = std::make_unique<sim::Pm9000Controller>(line.release());
    }
    // The agent outlives this run: the settings are given anew every time.
    std::string settings;
    for (const std::string& setting : m_settings)
        settings += (settings.empty() ? "" : " ") + setting;
    std::string command = std::string(m_darkDisplay ? "darken_display && " : "") +
                          "program_settings=" + shellQuote(settings) + " && start_program";
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
void BoardDevice::insertUsbDrive(const sim::UsbDriveSettings& drive)
{
    m_drive.insert(drive.readOnly, drive.slow, drive.sizeMb);
    m_agent.check("wait_for_drive present", c_commandMs * 2);
}

void BoardDevice::removeUsbDrive()
{
    m_drive.remove();
    m_agent.check("wait_for_drive absent", c_commandMs * 2);
}

void BoardDevice::addBackupData(int megabytes)
{
    m_agent.check("backup_data " + std::to_string(megabytes), c_commandMs);
}

} // namespace board
