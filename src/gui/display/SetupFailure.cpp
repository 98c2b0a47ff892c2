#include "gui/display/SetupFailure.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "core/ProcessExit.h"

namespace OKU {

void failSetup(const std::string& line)
{
    std::cerr << line << std::endl;
    exitProcess(1);
}

void failSetup(const std::string& what, const std::string& path, int error)
{
    failSetup(what + " \"" + path + "\".  " + std::strerror(error));
}

void failSetup(const std::string& what, const std::string& path)
{
    failSetup(what, path, errno);
}

} // namespace OKU
