#ifndef PIXMAPGEN_CATALOGUE_H
#define PIXMAPGEN_CATALOGUE_H

#include <string>
#include <vector>

#include "core/Geometry.h"
#include "graphics/Color.h"
#include "graphics/CompositePixmap.h"
#include "graphics/Pixmap.h"

namespace PixmapGen {

// A picture the toolkit or the program loads by name; "a/b" is the file
// "a/b.png" below the picture directory.
struct Picture {
    std::string name;
    OKU::Pixmap image;
};

// A nine-piece picture: the PNG "name.png" and its description "name.cpm".
struct CompositePicture {
    std::string name;
    OKU::Pixmap image;
    OKU::Margins slices;
    OKU::Margins innerMargins;
    OKU::Margins outerMargins;
    OKU::Color textColor;
    // How a widget typically shows it, for the contact sheet.
    OKU::Size sampleSize;
    std::wstring sampleText;

    OKU::CompositePixmap toCompositePixmap() const
    {
        return OKU::CompositePixmap(image, slices, innerMargins, outerMargins, textColor);
    }
};

struct Catalogue {
    std::vector<Picture> pictures;
    std::vector<CompositePicture> composites;
};

// Every picture, drawn afresh; the same on every run.
Catalogue buildCatalogue();

} // namespace PixmapGen

#endif
