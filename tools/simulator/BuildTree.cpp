#include "BuildTree.h"

namespace sim {

BuildTree BuildTree::current()
{
    return BuildTree{LIFEBOAT_SIM_PROGRAM,       LIFEBOAT_SIM_FBEMU,
                     LIFEBOAT_SIM_SLOW_DRIVE,    LIFEBOAT_SIM_FONT_DIR,
                     LIFEBOAT_SIM_PIXMAP_DIR,
                     LIFEBOAT_SIM_LNG_DIR,
                     LIFEBOAT_SIM_BACKUP_SCRIPT, LIFEBOAT_SIM_SCRIPT_DIR "/mount-extdisk.sh",
                     LIFEBOAT_SIM_SCRIPT_DIR "/umount-extdisk.sh", LIFEBOAT_SIM_DEFAULT_STATE};
}

} // namespace sim
