#ifndef OKU_GUI_DISPLAY_DETAIL_SETUPFAILURE_H
#define OKU_GUI_DISPLAY_DETAIL_SETUPFAILURE_H

#include <string>

#include "core/SetupError.h"

namespace OKU {

/// The failure of a device call during set-up, as one line: what + " \"" +
/// path + "\".  " + the system's text for error.
SetupError deviceSetupError(const std::string& what, const std::string& path, int error);

/// The same for the current errno.
SetupError deviceSetupError(const std::string& what, const std::string& path);

} // namespace OKU

#endif
