#ifndef LIFEBOAT_SIM_SIMULATORSTATUS_H
#define LIFEBOAT_SIM_SIMULATORSTATUS_H

namespace sim {

// The simulator's own exit statuses.
enum SimulatorStatus {
    STATUS_DONE = 0,            // quit, or the end of the commands
    STATUS_CHECK_FAILED = 1,    // a command or an expectation failed
    STATUS_CANNOT_RUN = 2,      // bad usage, or the device could not be set up
    STATUS_DEVICE_STOPPED = 3,  // the program ended with a status the device does not act on
};

} // namespace sim

#endif
