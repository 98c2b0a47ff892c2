#ifndef LIFEBOAT_BACKUPFIGURES_H
#define LIFEBOAT_BACKUPFIGURES_H

#include "text/LString.h"

/// A size as the operator reads it on a drive's label: decimal megabytes
/// (one decimal below 10 MB) up to 1000 MB, then gigabytes with one decimal.
OKU::LString sizeText(unsigned long long bytes);

/// A duration as m:ss, or h:mm:ss from an hour on.
OKU::LString durationText(unsigned long long seconds);

#endif
