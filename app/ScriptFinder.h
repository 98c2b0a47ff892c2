#ifndef LIFEBOAT_SCRIPTFINDER_H
#define LIFEBOAT_SCRIPTFINDER_H

#include "core/FileFinder.h"

// The one search path of the device scripts the program runs; main sets it
// before anything looks a script up.
extern OKU::FileFinder s_scriptFinder;

#endif
