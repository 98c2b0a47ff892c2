#include "Catalogue.h"

#include "ButtonLooks.h"
#include "CheckBoxes.h"
#include "DialogIcons.h"
#include "Emblems.h"
#include "LargeButton.h"

namespace PixmapGen {

Catalogue buildCatalogue()
{
    Catalogue catalogue;
    addButtonLooks(catalogue);
    addLargeButton(catalogue);
    addDialogIcons(catalogue);
    addCheckBoxes(catalogue);
    addEmblems(catalogue);
    return catalogue;
}

} // namespace PixmapGen
