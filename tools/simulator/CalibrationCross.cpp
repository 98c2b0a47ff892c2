#include "CalibrationCross.h"

#include <algorithm>
#include <cstdlib>

namespace sim {

namespace {

const uint32_t c_armColor = 0x28ce54;
// How far a channel may be off the arms' green and still count as it.
const int c_colorTolerance = 24;
// The arms are green at least this far along the diagonals from the centre
// (they reach about ten pixels), and a pixel this far straight beside the
// centre lies between them.
const int c_armReach = 7;
const int c_gap = 7;
// The picture's size: pixels that pass for a centre within it are one cross.
const int c_crossSize = 31;

bool isArm(uint32_t rgb)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channel = static_cast<int>((rgb >> shift) & 0xFF);
        const int arm = static_cast<int>((c_armColor >> shift) & 0xFF);
        if (std::abs(channel - arm) > c_colorTolerance)
            return false;
    }
    return true;
}

// (x, y) must lie c_armReach or more inside the screen's edges.
bool looksLikeCentre(const std::vector<uint32_t>& screen, int width, int x, int y)
{
    const auto at = [&](int px, int py) {
        return screen[static_cast<size_t>(py) * static_cast<size_t>(width) + px];
    };
    for (int k = 0; k <= c_armReach; ++k)
        if (!isArm(at(x - k, y - k)) || !isArm(at(x + k, y + k)) || !isArm(at(x + k, y - k)) ||
            !isArm(at(x - k, y + k)))
            return false;
    return !isArm(at(x - c_gap, y)) && !isArm(at(x + c_gap, y)) && !isArm(at(x, y - c_gap)) &&
           !isArm(at(x, y + c_gap));
}

} // namespace

std::optional<CrossCentre> findCalibrationCross(const std::vector<uint32_t>& screen, int width,
                                                int height)
{
    // Near the centre a few pixels pass the test, evenly around it: the
    // cross's centre is the middle of their bounding box.
    std::optional<CrossCentre> first;
    int left = 0, right = 0, bottom = 0;
    for (int y = c_armReach; y < height - c_armReach; ++y) {
        if (first && y - first->y >= c_crossSize)
            break;
        for (int x = c_armReach; x < width - c_armReach; ++x) {
            if (!isArm(screen[static_cast<size_t>(y) * static_cast<size_t>(width) + x]) ||
                !looksLikeCentre(screen, width, x, y))
                continue;
            if (!first) {
                first = CrossCentre{x, y};
                left = right = x;
            } else if (std::abs(x - first->x) >= c_crossSize) {
                continue;
            }
            left = std::min(left, x);
            right = std::max(right, x);
            bottom = y;
        }
    }
    if (!first)
        return std::nullopt;
    return CrossCentre{(left + right) / 2, (first->y + bottom) / 2};
}

} // namespace sim
