#ifndef OKU_CORE_FILEFINDER_H
#define OKU_CORE_FILEFINDER_H

#include <string>
#include <vector>

#include "core/StringEdit.h"

namespace OKU {

/// Looks a file name up along an ordered list of directories.
class FileFinder {
public:
    /// The path is a ";"-separated list of directories; an empty piece stands
    /// for the name as given (relative to the working directory). origin
    /// says what sets the path (an environment variable, say), for the
    /// message of a name found nowhere.
    explicit FileFinder(const std::string& path, const std::string& origin = std::string())
    {
        setPath(path, origin);
    }

    void setPath(const std::string& path, const std::string& origin = std::string())
    {
        m_directories = split(path, ';');
        m_origin = origin;
    }

    /// Stores the first existing candidate (directory + "/" + name, or name
    /// for an empty directory; absolute names are prefixed too) in result.
    bool find(const std::string& name, std::string& result) const;
    /// As above; a name found nowhere throws SetupError, whose line starts
    /// with "Cannot find \"" + name + "\"" and goes on to name the
    /// directories searched (relative ones made absolute) and the origin, so
    /// that whoever installs the files knows where they belong.
    std::string find(const std::string& name) const;

private:
    std::vector<std::string> m_directories;
    std::string m_origin;
};

} // namespace OKU

#endif
