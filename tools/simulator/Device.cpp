#include "Device.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "Jail.h"

extern char** environ;

namespace sim {

namespace {

const int c_touchReadySliceMs = 20;

// What the program asks of the device through its exit status.
const int c_startApplication = 50;
const int c_factoryReset = 51;
const int c_reboot = 54;

// The program's settings that would point it away from the simulated
// device; the user's other settings (tracing, for one) pass through.
const char* const c_replacedVariables[] = {
    "LD_PRELOAD", "FBEMU_PATH", "FBEMU_MODE", "FBEMU_LINE_LENGTH", "FBEMU_FAIL",
    "FBEMU_EVDEV_PATH", "FBEMU_EVDEV_BITS", "OKU_FBDEV", "OKU_TSTYPE", "OKU_TSDEV", "OKU_TSBAUD",
    "OKU_TS_CALIBRATED_FILE", "OKU_TS_CALIB_DATA_FILE", "OKU_FAKE_EXTDISK", "OKU_PREFIX",
    "NIMBLO_OPTIONAL_TSC", "KARO_LIFEBOAT", "KARO_ROOT", "BACKUP_DIRS", "LIFEBOAT_SIM_STATE",
    "ASAN_OPTIONS"};

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

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Device::Device(SimState& state, FramebufferView& screen, const BuildTree& build,
               const std::string& program, const std::vector<std::string>& arguments,
               std::ostream& events)
    : m_state(state), m_screen(screen), m_build(build), m_program(program),
      m_arguments(arguments), m_events(events)
{
}

Device::~Device()
{
    kill();
}

void Device::boot()
{
    if (m_program.empty())
        throw std::runtime_error("lifeboat was not built; name a program with --program.");
    m_controller.reset();
    m_controller = std::make_unique<Pm9000Controller>();
    m_screen.clear();
    const std::string log = m_state.path("lifeboat.log");
    std::ofstream(log, std::ios_base::app) << "--- simulator: starting " << m_program << "\n";
    m_pid = startJailed(JailSetup{m_program, m_arguments, programEnvironment(),
                                 m_state.path("boot"), m_state.path("varlib"), log});
    m_phase = Phase::RUNNING;
    m_events << "event boot " << m_pid << std::endl;
}

std::vector<std::string> Device::programEnvironment() const
{
    std::vector<std::string> environment;
    for (char** setting = environ; *setting; ++setting)
        if (!isReplaced(*setting))
            environment.push_back(*setting);
    const std::string framebuffer = m_state.path("fb");
    const std::string root = m_state.path("root");
    const std::vector<std::string> simulated = {
        "LD_PRELOAD=" + m_build.preloadLibrary,
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
    return environment;
}

void Device::poll()
{
    if (m_phase != Phase::RUNNING)
        return;
    int status = 0;
    pid_t ended;
    do
        ended = waitpid(m_pid, &status, WNOHANG);
    while (ended < 0 && errno == EINTR);
    if (ended != m_pid)
        return;
    // Scripts the program left running die with it, as on a reboot.
    ::kill(-m_pid, SIGKILL);
    m_pid = -1;
    onExit(shellStatus(status));
}

void Device::onExit(int status)
{
    m_exits.push_back(status);
    m_events << "event exit " << status << std::endl;
    switch (status) {
    case c_reboot:
        m_events << "event reboot" << std::endl;
        boot();
        break;
    case c_factoryReset:
        m_events << "event factory-reset" << std::endl;
        m_state.factoryReset();
        boot();
        break;
    case c_startApplication:
        m_controller.reset();
        m_phase = Phase::APPLICATION;
        m_events << "event application" << std::endl;
        break;
    default:
        m_controller.reset();
        m_phase = Phase::STOPPED;
        m_events << "event stopped " << status << " " << m_state.path("lifeboat.log")
                 << std::endl;
    }
}

void Device::press(int x, int y)
{
    if (m_phase == Phase::APPLICATION)
        boot();
    else
        report(true, x, y);
}

void Device::move(int x, int y)
{
    report(true, x, y);
}

void Device::release(int x, int y)
{
    report(false, x, y);
}

void Device::report(bool pressed, int x, int y)
{
    if (m_phase == Phase::RUNNING && m_controller->waitEnabled(0))
        m_controller->report(pressed, x, y);
}

bool Device::waitTouchReady(int timeoutMs)
{
    return pollUntil(*this, timeoutMs, [this] {
        return m_phase == Phase::RUNNING && m_controller->waitEnabled(c_touchReadySliceMs);
    });
}

std::optional<int> Device::takeExit(int timeoutMs)
{
    if (!pollUntil(*this, timeoutMs, [this] { return !m_exits.empty(); }))
        return std::nullopt;
    const int status = m_exits.front();
    m_exits.pop_front();
    return status;
}

bool Device::isMounted(const std::string& mountPoint) const
{
    if (m_phase != Phase::RUNNING)
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

void Device::kill()
{
    if (m_pid <= 0)
        return;
    ::kill(-m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

} // namespace sim
