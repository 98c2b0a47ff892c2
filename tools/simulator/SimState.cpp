#include "SimState.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace sim {

namespace {

const char c_marker[] = ".lifeboat-sim-state";
const char* const c_dataDirs[] = {"settings", "logs", "recordings"};

void writeFile(const fs::path& path, const std::string& contents)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios_base::binary | std::ios_base::trunc);
    out << contents;
    if (!out)
        throw std::runtime_error("Cannot write \"" + path.string() + "\".");
}

void removeIfPresent(const fs::path& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

// A link to the build tree, made anew so that a rebuilt tree is followed.
void link(const fs::path& target, const fs::path& name)
{
    removeIfPresent(name);
    fs::create_symlink(target, name);
}

bool isInside(const fs::path& path, const fs::path& directory)
{
    const fs::path relative = path.lexically_relative(directory);
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

SimState::SimState(const std::string& directory, const BuildTree& build) : m_build(build)
{
    m_directory = fs::weakly_canonical(fs::absolute(directory)).string();
    // The program's namespace covers these with the state's own directories.
    for (const char* hidden : {"/mnt", "/var/lib"})
        if (isInside(m_directory, hidden) || m_directory == hidden)
            throw std::runtime_error("The state directory \"" + m_directory +
                                     "\" must not lie under " + hidden + ".");
    fs::create_directories(m_directory);
}

void SimState::prepare(bool reset)
{
    if (reset) {
        if (!fs::is_empty(m_directory) && !fs::exists(path(c_marker)))
            throw std::runtime_error("\"" + m_directory +
                                     "\" is not a simulator state; not removing it.");
        for (const fs::directory_entry& entry : fs::directory_iterator(m_directory))
            fs::remove_all(entry.path());
    }
    writeFile(path(c_marker), "");
    for (const char* dir : {"varlib", "boot", "usb/drive", "data", "screenshots", "input"})
        fs::create_directories(path(dir));
    writeFile(path("boot/bootrom_version.txt"), "2.1.0 Simulator\n");
    if (fs::is_empty(path("data")))
        seedData();
    assembleRuntimeRoot();
}

void SimState::factoryReset()
{
    for (const char* dir : {"varlib", "data"}) {
        fs::remove_all(path(dir));
        fs::create_directories(path(dir));
    }
    seedData();
}

std::string SimState::backupDirs() const
{
    std::string dirs;
    for (const char* dir : c_dataDirs)
        dirs += (dirs.empty() ? "" : " ") + path("data/") + dir;
    return dirs;
}

// Random bytes, which no compression shrinks.
void SimState::addBackupData(int megabytes) const
{
    const fs::path file = path("data/recordings/bulk.bin");
    std::ofstream out(file, std::ios_base::binary | std::ios_base::trunc);
    std::mt19937_64 random(static_cast<unsigned long>(megabytes));
    std::vector<uint64_t> block(1 << 17);
    for (int written = 0; written < megabytes; ++written) {
        for (uint64_t& word : block)
            word = random();
        out.write(reinterpret_cast<const char*>(block.data()), block.size() * sizeof block[0]);
    }
    if (!out.flush())
        throw std::runtime_error("Cannot write \"" + file.string() + "\".");
}

void SimState::insertUsbDrive(bool readOnly, bool slow)
{
    writeFile(path("usb/inserted"), "");
    if (readOnly)
        writeFile(path("usb/read-only"), "");
    else
        removeIfPresent(path("usb/read-only"));
    if (slow)
        writeFile(path("usb/slow"), "");
    else
        removeIfPresent(path("usb/slow"));
}

void SimState::removeUsbDrive()
{
    removeIfPresent(path("usb/inserted"));
}

bool SimState::usbDriveInserted() const
{
    return fs::exists(path("usb/inserted"));
}

// A little of everything a device keeps, so that a backup has something to save.
void SimState::seedData() const
{
    writeFile(path("data/settings/device.xml"),
              "<settings>\n  <language>en</language>\n  <brightness>80</brightness>\n"
              "</settings>\n");
    writeFile(path("data/settings/network.conf"), "dhcp=yes\nhostname=veltrina\n");
    writeFile(path("data/logs/messages.log"),
              "boot: application started\nboot: application started\n"
              "app: watchdog expired, starting lifeboat\n");
    std::string samples = "time,value\n";
    for (int i = 0; i < 200; ++i)
        samples += std::to_string(i) + "," + std::to_string(i * 37 % 101) + "\n";
    writeFile(path("data/recordings/samples.csv"), samples);
}

void SimState::assembleRuntimeRoot() const
{
    fs::create_directories(path("root/bin"));
    link(m_build.fontDir, path("root/fonts"));
    link(m_build.languageDir, path("root/lng"));
    link(m_build.pixmapDir, path("root/pixmaps"));
    link(m_build.backupScript, path("root/bin/emergency-backup.sh"));
    link(m_build.mountScript, path("root/bin/mount-extdisk.sh"));
    link(m_build.umountScript, path("root/bin/umount-extdisk.sh"));
}

} // namespace sim
