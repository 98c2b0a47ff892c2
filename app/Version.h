#ifndef LIFEBOAT_VERSION_H
#define LIFEBOAT_VERSION_H

#include <cstddef>
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
    // The first 100 bytes of the boot ROM's version file, trimmed; empty
    // when it cannot be read or is no regular file (a FIFO or a device
    // would block or never end).
    static OKU::LString getBootromVersion();
    static bool isBootromPreviewVersion();
    // The first line of dir's "VERSION" file; empty when dir does not exist,
    // "UNKNOWN" when the file is unreadable or no regular file, or the line
    // is empty or longer than c_maxVersionLineBytes.
    static OKU::LString getVersionAt(const std::string& dir);

    static constexpr std::size_t c_maxVersionLineBytes = 4096;

    // Where the boot system leaves its version; replaceable for tests.
    static std::string s_bootromVersionFile;
};

#endif
