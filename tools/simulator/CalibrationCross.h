#ifndef LIFEBOAT_SIM_CALIBRATIONCROSS_H
#define LIFEBOAT_SIM_CALIBRATIONCROSS_H

#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

struct CrossCentre {
    int x;
    int y;
};

// Where the touch calibration's green cross (the toolkit's "green-x"
// picture: two green diagonal arms, outlined dark, crossing at its centre)
// shows on a screen of width x height 0xRRGGBB words, row by row; nothing
// when no cross shows. The cross is told from anything else green by its
// shape: green along both diagonals through its centre, not green straight
// beside it. Of several crosses the topmost, then leftmost.
std::optional<CrossCentre> findCalibrationCross(const std::vector<uint32_t>& screen, int width,
                                                int height);

} // namespace sim

#endif
