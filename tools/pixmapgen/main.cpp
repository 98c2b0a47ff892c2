// pixmapgen: draws the pictures of the toolkit and the program.
//
//   pixmapgen PIXMAP_DIR FONT_DIR CONTACT_SHEET
//       writes every picture below PIXMAP_DIR and a contact sheet of them
//       (texts in the fonts of FONT_DIR) to the PNG file CONTACT_SHEET
//   pixmapgen --verify PIXMAP_DIR
//       checks that PIXMAP_DIR holds exactly what the first form writes and
//       that the toolkit can load all of it
//
// A host tool of the build; it is never part of the program.

#include <cstring>
#include <iostream>

#include "Catalogue.h"
#include "ContactSheet.h"
#include "PictureFiles.h"
#include "Verify.h"
#include "core/FatalError.h"

using namespace PixmapGen;

namespace {

// The toolkit ends the process after the handler; without one its message
// would go only to the trace output, which a build does not show.
void printFatalError(const char* message)
{
    std::cerr << "pixmapgen: " << message << "\n";
}

int usage()
{
    std::cerr << "usage: pixmapgen PIXMAP_DIR FONT_DIR CONTACT_SHEET\n"
                 "       pixmapgen --verify PIXMAP_DIR\n";
    return 2;
}

int generate(const std::string& pixmapDir, const std::string& fontDir,
             const std::string& sheetPath)
{
    const Catalogue catalogue = buildCatalogue();
    if (!writeCatalogue(catalogue, pixmapDir))
        return 1;
    if (!drawContactSheet(catalogue, fontDir).savePNG(sheetPath)) {
        std::cerr << "pixmapgen: cannot write \"" << sheetPath << "\"\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    OKU::setFatalErrorHandler(printFatalError);
    if (argc == 3 && std::strcmp(argv[1], "--verify") == 0)
        return verifyPictures(buildCatalogue(), argv[2]) ? 0 : 1;
    if (argc == 4 && argv[1][0] != '-')
        return generate(argv[1], argv[2], argv[3]);
    return usage();
}
