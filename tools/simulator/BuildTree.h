#ifndef LIFEBOAT_SIM_BUILDTREE_H
#define LIFEBOAT_SIM_BUILDTREE_H

#include <string>

namespace sim {

// Where the simulator finds the pieces of the build it puts together into a
// device: the program, the framebuffer emulation, resources and scripts.
struct BuildTree {
    std::string program;         // lifeboat; empty when it was not built
    std::string preloadLibrary;  // libfbemu.so
    std::string slowDriveLibrary;  // liblifeboat-sim-slowdrive.so, also preloaded
    std::string fontDir;
    std::string pixmapDir;
    std::string languageDir;     // the compiled language tables
    std::string backupScript;    // the device's emergency-backup.sh
    std::string mountScript;     // the simulator's mount-extdisk.sh
    std::string umountScript;    // the simulator's umount-extdisk.sh
    std::string defaultState;

    static BuildTree current();
};

} // namespace sim

#endif
