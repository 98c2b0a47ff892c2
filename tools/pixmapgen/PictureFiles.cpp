#include "PictureFiles.h"

#include <iostream>
#include <sstream>

#include "core/Directories.h"
#include "core/FileStreams.h"
#include "core/Paths.h"

namespace PixmapGen {

namespace {

void writeGroup(std::ostream& out, const OKU::Margins& m)
{
    out << m.left << ' ' << m.top << ' ' << m.right << ' ' << m.bottom << '\n';
}

bool fail(const std::string& what, const std::string& path)
{
    std::cerr << "pixmapgen: cannot " << what << " \"" << path << "\"\n";
    return false;
}

bool savePicture(const OKU::Pixmap& image, const std::string& path)
{
    const std::string dir = OKU::pathDirName(path);
    if (!OKU::pathIsDirectory(dir) && !OKU::makeDirTree(dir))
        return fail("create directory", dir);
    return image.savePNG(path) || fail("write", path);
}

bool saveText(const std::string& text, const std::string& path)
{
    OKU::oufstream out(path, std::ios_base::out | std::ios_base::trunc);
    out << text;
    out.close();
    return out.good() || fail("write", path);
}

} // namespace

std::string picturePath(const std::string& dir, const std::string& name,
                        const std::string& extension)
{
    return dir + "/" + name + extension;
}

std::string describe(const CompositePicture& composite)
{
    std::ostringstream out;
    writeGroup(out, composite.slices);
    writeGroup(out, composite.innerMargins);
    writeGroup(out, composite.outerMargins);
    out << composite.textColor.red << ' ' << composite.textColor.green << ' '
        << composite.textColor.blue << '\n';
    return out.str();
}

bool writeCatalogue(const Catalogue& catalogue, const std::string& dir)
{
    for (const Picture& picture : catalogue.pictures) {
        if (!savePicture(picture.image, picturePath(dir, picture.name, ".png")))
            return false;
    }
    for (const CompositePicture& composite : catalogue.composites) {
        if (!savePicture(composite.image, picturePath(dir, composite.name, ".png")) ||
            !saveText(describe(composite), picturePath(dir, composite.name, ".cpm")))
            return false;
    }
    return true;
}

} // namespace PixmapGen
