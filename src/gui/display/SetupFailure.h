#ifndef OKU_GUI_DISPLAY_SETUPFAILURE_H
#define OKU_GUI_DISPLAY_SETUPFAILURE_H

#include <string>

namespace OKU {

/// A display that cannot be set up leaves nothing to show a message on: the
/// back ends write one line to standard error, which the device's start-up
/// script logs, and end the process at once with status 1.
[[noreturn]] void failSetup(const std::string& line);

/// Writes what + " \"" + path + "\".  " + the system's text for error.
[[noreturn]] void failSetup(const std::string& what, const std::string& path, int error);

/// The same for the current errno.
[[noreturn]] void failSetup(const std::string& what, const std::string& path);

} // namespace OKU

#endif
