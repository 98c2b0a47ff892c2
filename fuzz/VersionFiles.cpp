// The version files: the boot ROM's "bootrom_version.txt" and an
// installation's "VERSION", both given the fuzzer's bytes.

#include <string>

#include "FuzzInput.h"
#include "Version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Version::s_bootromVersionFile = fuzz::writeScratchFile("bootrom_version.txt", bytes);
    fuzz::writeScratchFile("VERSION", bytes);

    const std::wstring bootrom = Version::getBootromVersion().str();
    // At most the first 100 bytes, one character each.
    FUZZ_CHECK(bootrom.size() <= 100);
    Version::isBootromPreviewVersion();
    const std::wstring version = Version::getVersionAt(fuzz::scratchDirectory()).str();
    FUZZ_CHECK(!version.empty());
    return 0;
}
