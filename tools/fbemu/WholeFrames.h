#ifndef FBEMU_WHOLEFRAMES_H
#define FBEMU_WHOLEFRAMES_H

#include <functional>

namespace fbemu {

// The preload library's side of whole frames (see DisplayState.h). A program
// of the toolkit writes its frame memory only on its GUI thread, in one run
// of pure memory writes per frame; every call that thread makes into the
// system (waiting on a condition or a descriptor, for a child, panning,
// ending) therefore falls between two frames.

// On the drawing thread: copies the frame memory to the whole-frames file,
// when a tool asked for one. Elsewhere, or when none was asked for, nothing.
void noteFrameBoundary();

// Copies the frame memory whoever calls (a pan or a blank comes with a frame
// of its own) and runs change under the same lock; only change when no tool
// asked for whole frames. Returns what change returns.
bool publishWith(const std::function<bool()>& change);

} // namespace fbemu

#endif
