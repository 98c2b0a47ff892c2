#include "gui/display/detail/SetupFailure.h"

#include <cerrno>
#include <cstring>

namespace OKU {

SetupError deviceSetupError(const std::string& what, const std::string& path, int error)
{
    return SetupError(what + " \"" + path + "\".  " + std::strerror(error));
}

SetupError deviceSetupError(const std::string& what, const std::string& path)
{
    return deviceSetupError(what, path, errno);
}

} // namespace OKU
