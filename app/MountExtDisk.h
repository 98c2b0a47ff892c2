#ifndef LIFEBOAT_MOUNTEXTDISK_H
#define LIFEBOAT_MOUNTEXTDISK_H

#include "ExternalDisk.h"

namespace OKU {

class LString;
class Widget;

/// Mounts the USB drive for the session, asking the operator on parent (a
/// top-level widget) to insert one after every failed attempt, with title as
/// the question's title. False once the operator gave up with Cancel.
bool mountExtDisk(ExternalDisk::Session& session, Widget* parent, const LString& title);

} // namespace OKU

#endif
