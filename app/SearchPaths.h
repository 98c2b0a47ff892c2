#ifndef LIFEBOAT_SEARCHPATHS_H
#define LIFEBOAT_SEARCHPATHS_H

#include <string>

// Where the program finds its resources and scripts: below KARO_LIFEBOAT for
// a stand-alone installation, else below OKU_PREFIX with relative entries
// that let a program started in its build tree find its files there.
struct SearchPaths {
    std::string resources;
    std::string scripts;
    /// What set them, for a technician who finds a file missing.
    std::string origin;
};

SearchPaths searchPathsFromEnv();

// The two parts with one "/" between them, or the non-empty one alone.
std::string joinPath(const std::string& a, const std::string& b);

#endif
