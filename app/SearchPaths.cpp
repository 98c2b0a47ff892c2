#include "SearchPaths.h"

#include "core/Paths.h"

std::string joinPath(const std::string& a, const std::string& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a + "/" + b;
}

SearchPaths searchPathsFromEnv()
{
    const std::string root = OKU::getEnv("KARO_LIFEBOAT", "");
    if (!root.empty())
        return {root + "/fonts;" + root + "/pixmaps;" + root + "/keyboards;" + root + "/lng",
                joinPath(root, "bin"), "KARO_LIFEBOAT"};
    const std::string prefix = OKU::getEnv("OKU_PREFIX", "/usr");
    return {prefix + "/lib/oku/fonts;" + prefix + "/lib/oku/pixmaps;" + prefix +
                "/lib/oku/keyboards;fonts;pixmaps;keyboards;../po",
            "scripts", "OKU_PREFIX, KARO_LIFEBOAT being empty"};
}
