#ifndef OKU_GUI_DISPLAY_DISPLAYOUTPUT_H
#define OKU_GUI_DISPLAY_DISPLAYOUTPUT_H

#include <vector>

#include "core/Geometry.h"

namespace OKU {

class Pixmap;

/// Where the root widget's back buffer is shown: a framebuffer (FbOutput), a
/// KMS display (DrmOutput), or memory in tests. The root widget owns its
/// output and calls it on the GUI thread only, after the tree has been drawn
/// and outside the back buffer's lock.
class DisplayOutput {
public:
    /// Faster than anyone reacts to what appears on a screen.
    static const int c_humanReactionMs = 100;

    DisplayOutput() = default;
    DisplayOutput(const DisplayOutput&) = delete;
    DisplayOutput& operator=(const DisplayOutput&) = delete;
    virtual ~DisplayOutput() = default;

    /// The size the tree is laid out in: the screen as the person in front
    /// of it sees it, width and height swapped on a panel mounted at 90 or
    /// 270 degrees.
    virtual Size getSize() const = 0;
    /// The panel's mounting: how far, clockwise, the picture is turned on its
    /// way to the screen (0, 90, 180 or 270), which the touch controller
    /// turns back.
    virtual int getRotation() const = 0;
    /// How long after a frame has been shown a press can first be aimed at
    /// it: what no person can beat, plus the time a shown frame may still
    /// take to appear. 0 for a screen nobody looks at.
    virtual int getAimDelayMs() const = 0;

    /// The frame is ready: the areas of backBuffer (logical coordinates, at
    /// least one) were redrawn and complete it. The output writes them and
    /// shows the frame; when it returns, the frame counts as shown. immediate
    /// tells that the program asked for the frame at once (redrawNow).
    virtual void showFrame(const Pixmap& backBuffer, const std::vector<Rect>& areas,
                           bool immediate) = 0;
};

} // namespace OKU

#endif
