#include "MountExtDisk.h"

#include "gui/windows/MsgBox.h"
#include "text/LString.h"

namespace OKU {

bool mountExtDisk(ExternalDisk::Session& session, Widget* parent, const LString& title)
{
    while (!session.mount()) {
        if (!msgBoxOkCancel(
                parent, title,
                LString(LString1(L"No USB drive found.\n\nInsert a USB drive and tap OK to retry!"))))
            return false;
    }
    return true;
}

} // namespace OKU
