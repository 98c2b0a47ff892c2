#include "Verify.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <vector>

#include "PictureFiles.h"
#include "core/Directories.h"
#include "core/FileStreams.h"
#include "core/Paths.h"
#include "graphics/CompositePixmap.h"

using OKU::Pixmap;

namespace PixmapGen {

namespace {

class Checker {
public:
    explicit Checker(const std::string& dir) : m_dir(dir) {}

    // Every file below the directory, by its kind.
    void checkFilesBelow(const std::string& dir)
    {
        std::vector<std::string> files;
        std::vector<std::string> dirs;
        if (!OKU::getDirectory(dir, &files, &dirs, nullptr)) {
            problem("cannot list \"" + dir + "\"");
            return;
        }
        for (const std::string& file : files) {
            const std::string path = dir + "/" + file;
            const std::string extension = OKU::fileNameExtension(file);
            if (extension == ".png")
                checkPNG(path);
            else if (extension == ".cpm")
                checkCPM(path);
            else
                problem("unexpected file \"" + path + "\"");
        }
        for (const std::string& sub : dirs)
            checkFilesBelow(dir + "/" + sub);
    }

    void checkDrawn(const std::string& name, const Pixmap& drawn)
    {
        const std::string path = picturePath(m_dir, name, ".png");
        Pixmap loaded;
        if (!loaded.loadPNG(path)) {
            problem("missing \"" + path + "\"");
            return;
        }
        if (!samePixels(loaded, drawn))
            problem("\"" + path + "\" differs from the picture drawn now");
    }

    void checkDescription(const CompositePicture& composite)
    {
        const std::string path = picturePath(m_dir, composite.name, ".cpm");
        OKU::iufstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        if (text.str() != describe(composite))
            problem("\"" + path + "\" is missing or differs from the description made now");
    }

    bool report() const
    {
        std::cout << "pixmapgen: " << m_pngs << " PNG files and " << m_cpms
                  << " composite pixmaps checked, " << m_problems << " problems\n";
        return m_problems == 0;
    }

private:
    static bool samePixels(const Pixmap& a, const Pixmap& b)
    {
        return a.getWidth() == b.getWidth() && a.getHeight() == b.getHeight() &&
               std::equal(a.getPixels(), a.getPixels() + a.getPixelCount(), b.getPixels());
    }

    void checkPNG(const std::string& path)
    {
        ++m_pngs;
        Pixmap image;
        if (!image.loadPNG(path) || image.isEmpty())
            problem("cannot load \"" + path + "\"");
    }

    void checkCPM(const std::string& path)
    {
        ++m_cpms;
        const OKU::CompositePixmap cpm(path);
        if (cpm.getCenter().isEmpty() || cpm.getTopLeft().isEmpty() ||
            cpm.getBottomRight().isEmpty())
            problem("\"" + path + "\" slices leave no corners or no middle");
    }

    void problem(const std::string& text)
    {
        std::cerr << "pixmapgen: " << text << "\n";
        ++m_problems;
    }

    std::string m_dir;
    int m_pngs = 0;
    int m_cpms = 0;
    int m_problems = 0;
};

} // namespace

bool verifyPictures(const Catalogue& catalogue, const std::string& dir)
{
    Checker checker(dir);
    checker.checkFilesBelow(dir);
    for (const Picture& picture : catalogue.pictures)
        checker.checkDrawn(picture.name, picture.image);
    for (const CompositePicture& composite : catalogue.composites) {
        checker.checkDrawn(composite.name, composite.image);
        checker.checkDescription(composite);
    }
    return checker.report();
}

} // namespace PixmapGen
