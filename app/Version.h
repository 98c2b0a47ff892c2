#ifndef LIFEBOAT_VERSION_H
#define LIFEBOAT_VERSION_H

#include <string>

#include "text/LString.h"

// What the product is and which versions it runs with. Nothing is cached:
// every query reads its source again.
class Version {
public:
    static OKU::LString getProduct();
    static OKU::LString getVersion();
    // "VELTRINA [1.1.1]".
    static OKU::LString getFullName();
    // Whether KARO_ROOT names a simulated device root.
    static bool isSimulator();
    // The boot ROM's version file, trimmed; empty when it cannot be read.
    static OKU::LString getBootromVersion();
    static bool isBootromPreviewVersion();
    // The first line of dir's "VERSION" file; empty when dir does not exist,
    // "UNKNOWN" when the file is unreadable or the line empty.
    static OKU::LString getVersionAt(const std::string& dir);

    // Where the boot system leaves its version; replaceable for tests.
    static std::string s_bootromVersionFile;
};

#endif
