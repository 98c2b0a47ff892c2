#include "core/FileFinder.h"

#include "core/FatalError.h"
#include "core/Paths.h"
#include "core/StringEdit.h"

namespace OKU {

FileFinder::FileFinder(const std::string& path)
{
    setPath(path);
}

void FileFinder::setPath(const std::string& path)
{
    m_directories = split(path, ';');
}

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
        fatalError("Cannot find \"%s\"", name.c_str());
    return result;
}

} // namespace OKU
