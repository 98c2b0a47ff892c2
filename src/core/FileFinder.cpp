#include "core/FileFinder.h"

#include <unistd.h>

#include "core/Paths.h"
#include "core/SetupError.h"

namespace OKU {

namespace {

// The directories as the process sees them: relative ones (the empty one is
// the working directory itself) below the working directory.
std::string describeDirectories(const std::vector<std::string>& directories)
{
    if (directories.empty())
        return "no directory (the search path is empty)";
    char buffer[4096];
    const std::string workingDirectory = getcwd(buffer, sizeof buffer) ? buffer : ".";
    std::string text;
    for (const std::string& directory : directories) {
        if (!text.empty())
            text += ", ";
        if (directory.empty())
            text += workingDirectory;
        else if (directory[0] == '/')
            text += directory;
        else
            text += workingDirectory + "/" + directory;
    }
    return text;
}

} // namespace

bool FileFinder::find(const std::string& name, std::string& result) const
{
    for (const std::string& directory : m_directories) {
        const std::string candidate = directory.empty() ? name : directory + "/" + name;
        if (pathExists(candidate)) {
            result = candidate;
            return true;
        }
    }
    return false;
}

std::string FileFinder::find(const std::string& name) const
{
    std::string result;
    if (!find(name, result))
        throw SetupError("Cannot find \"" + name + "\" in " + describeDirectories(m_directories) +
                         (m_origin.empty() ? "" : " (set by " + m_origin + ")"));
    return result;
}

} // namespace OKU
