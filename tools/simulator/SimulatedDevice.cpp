#include "SimulatedDevice.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <glob.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "Jail.h"

extern char** environ;

namespace sim {

namespace {

// The program's settings that would point it away from the simulated
// device; the user's other settings (tracing, for one) pass through.
const char* const c_replacedVariables[] = {
    "LD_PRELOAD", "FBEMU_PATH", "FBEMU_MODE", "FBEMU_LINE_LENGTH", "FBEMU_FAIL",
    "FBEMU_SMEM_LEN", "FBEMU_YRES_VIRTUAL", "FBEMU_PAN_LOG", "FBEMU_EVDEV_PATH",
    "FBEMU_EVDEV_BITS", "FBEMU_INPUT_DIR", "FBEMU_EVDEV_ABS", "OKU_FBDEV", "OKU_ROTATION",
    "OKU_FBFLIP", "OKU_DRMDEV", "OKU_TSTYPE", "OKU_TSDEV", "OKU_TSBAUD", "OKU_INPUT_DIR",
    "OKU_TS_CALIBRATED_FILE", "OKU_TS_CALIB_DATA_FILE", "OKU_FAKE_EXTDISK", "OKU_PREFIX",
    "NIMBLO_OPTIONAL_TSC", "KARO_LIFEBOAT", "KARO_ROOT", "BACKUP_DIRS", "LIFEBOAT_SIM_STATE",
    "LIFEBOAT_LANGUAGE", "ASAN_OPTIONS"};

bool isReplaced(const std::string& setting)
{
    const std::string name = setting.substr(0, setting.find('='));
    return std::find(std::begin(c_replacedVariables), std::end(c_replacedVariables), name) !=
           std::end(c_replacedVariables);
}

int shellStatus(int waitStatus)
{
    return WIFSIGNALED(waitStatus) ? 128 + WTERMSIG(waitStatus) : WEXITSTATUS(waitStatus);
}

} // namespace

SimulatedDevice::SimulatedDevice(SimState& state, FramebufferView& screen,
                                 const BuildTree& build, const std::string& program,
                                 const std::vector<std::string>& arguments,
                                 const DisplaySettings& display, const InputSettings& inputs,
                                 std::ostream& events)
    : Device(events), m_state(state),
      m_drive(state.path("usb/drive"), static_cast<long long>(c_newUsbDriveMb) << 20),
      m_screen(screen), m_build(build), m_program(program),
      m_arguments(arguments), m_display(display), m_inputs(inputs)
{
    setPanelRotation(display.rotation);
    if (inputs.keyboard)
        m_keyboard = std::make_unique<EmulatedKeyboard>(m_state.path("input"));
}

SimulatedDevice::~SimulatedDevice()
{
    kill();
}

int SimulatedDevice::startProgram()
{
    if (m_program.empty())
        throw std::runtime_error("lifeboat was not built; name a program with --program.");
    m_controller.reset();
    m_controller = std::make_unique<Pm9000Controller>(
        m_inputs.touch ? Pm9000Controller::Condition::WORKING : Pm9000Controller::Condition::DEAD);
    if (m_keyboard)
        m_keyboard->discardUnread();
    m_screen.clear();
    const std::string log = logPath();
    std::ofstream(log, std::ios_base::app) << "--- simulator: starting " << m_program << "\n";
    m_pid = startJailed(JailSetup{m_program, m_arguments, programEnvironment(),
                                 m_state.path("boot"), m_state.path("varlib"), log,
                                 m_drive.userNamespace(), m_drive.mountNamespace()});
    return m_pid;
}

std::vector<std::string> SimulatedDevice::programEnvironment() const
{
    std::vector<std::string> environment;
    for (char** setting = environ; *setting; ++setting)
        if (!isReplaced(*setting))
            environment.push_back(*setting);
    const std::string framebuffer = m_state.path("fb");
    const std::string root = m_state.path("root");
    const std::vector<std::string> simulated = {
        "LD_PRELOAD=" + m_build.preloadLibrary + " " + m_build.slowDriveLibrary,
        "FBEMU_PATH=" + framebuffer,
        std::string("FBEMU_MODE=") + ScreenMode::description(),
        "OKU_FBDEV=" + framebuffer,
        "OKU_TSTYPE=pm9000",
        "OKU_TSDEV=" + m_controller->path(),
        "OKU_TSBAUD=19200",
        "KARO_LIFEBOAT=" + root,
        // Tells the program that it runs in a simulator.
        "KARO_ROOT=" + root,
        "BACKUP_DIRS=" + m_state.backupDirs(),
        "LIFEBOAT_SIM_STATE=" + m_state.directory(),
        // A sanitized program would refuse to run behind the preload library.
        "ASAN_OPTIONS=verify_asan_link_order=0"};
    environment.insert(environment.end(), simulated.begin(), simulated.end());
    // Only the state's input devices, never those of this machine.
    environment.push_back("OKU_INPUT_DIR=" + m_state.path("input"));
    environment.push_back("FBEMU_INPUT_DIR=" + m_state.path("input"));
    for (const std::vector<std::string>& settings :
         {m_display.programSettings(), m_inputs.programSettings()})
        environment.insert(environment.end(), settings.begin(), settings.end());
    // Memory for two frames, which the program has to ask for.
    if (m_display.pageFlip)
        environment.push_back("FBEMU_SMEM_LEN=" + std::to_string(m_screen.memorySize()));
    return environment;
}

std::optional<int> SimulatedDevice::reapProgram()
{
    int status = 0;
    pid_t ended;
    do
        ended = waitpid(m_pid, &status, WNOHANG);
    while (ended < 0 && errno == EINTR);
    if (ended != m_pid)
        return std::nullopt;
    // Scripts the program left running die with it, as on a reboot.
    ::kill(-m_pid, SIGKILL);
    m_pid = -1;
    return shellStatus(status);
}

bool SimulatedDevice::isMounted(const std::string& mountPoint)
{
    if (phase() != Phase::RUNNING)
        return false;
    // Fields: id, parent id, device, root, mount point, ...
    std::ifstream table("/proc/" + std::to_string(m_pid) + "/mountinfo");
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string id, parent, device, root, point;
        if (fields >> id >> parent >> device >> root >> point && point == mountPoint)
            return true;
    }
    return false;
}

// As the program sees the state: with the drive's file system on usb/drive.
std::vector<std::string> SimulatedDevice::findFiles(const std::string& pattern)
{
    glob_t found;
    std::vector<std::string> paths;
    if (glob(m_drive.hostPath(m_state.path(pattern)).c_str(), 0, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i)
            paths.push_back(found.gl_pathv[i] + m_drive.hostPrefix().size());
    globfree(&found);
    return paths;
}

void SimulatedDevice::insertUsbDrive(const UsbDriveSettings& drive)
{
    if (drive.sizeMb > 0)
        m_drive.replace(static_cast<long long>(drive.sizeMb) << 20);
    else
        m_drive.thaw();
    m_state.insertUsbDrive(drive.readOnly, drive.slow);
}

void SimulatedDevice::removeUsbDrive()
{
    m_state.removeUsbDrive();
    m_drive.freeze();
}

void SimulatedDevice::addBackupData(int megabytes)
{
    m_state.addBackupData(megabytes);
}

bool SimulatedDevice::plugKeyboard(bool plugged)
{
    if (plugged == keyboardPlugged())
        return false;
    if (plugged)
        m_keyboard = std::make_unique<EmulatedKeyboard>(m_state.path("input"));
    else
        m_keyboard.reset();
    return true;
}

bool SimulatedDevice::sendKey(unsigned short code, bool pressed)
{
    if (!m_keyboard)
        return false;
    m_keyboard->send(code, pressed);
    return true;
}

void SimulatedDevice::kill()
{
    if (m_pid <= 0)
        return;
    ::kill(-m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

} // namespace sim
