// BuildTree of the simulator as installed with the toolkit (oku-tools): the
// pieces lie below the prefix it was installed into, which is found from the
// simulator's own path (PREFIX/bin/lifeboat-sim), so that an installation
// works wherever it was put. There is no lifeboat to run: --program names one.

#include "BuildTree.h"

#include <cstdlib>
#include <filesystem>

namespace sim {

BuildTree BuildTree::current()
{
    const std::filesystem::path prefix =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
    const std::string data = (prefix / LIFEBOAT_SIM_DATA_SUBDIR).string();
    const char* home = std::getenv("HOME");
    return BuildTree{"",
                     data + "/libfbemu.so",
                     data + "/liblifeboat-sim-slowdrive.so",
                     data + "/fonts",
                     data + "/pixmaps",
                     data + "/lng",
                     data + "/simulator/emergency-backup.sh",
                     data + "/simulator/mount-extdisk.sh",
                     data + "/simulator/umount-extdisk.sh",
                     std::string(home != nullptr ? home : ".") + "/.cache/lifeboat-sim"};
}

} // namespace sim
