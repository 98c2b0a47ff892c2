// Language files: UTF-16 little-endian strings, source and translation in
// turn. Loading either succeeds with the pairs of the file or fails and
// leaves the table alone.

#include <string>

#include "FuzzInput.h"
#include "text/detail/LanguageTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeScratchFile(
        "language.lng", std::string(reinterpret_cast<const char*>(data), size));
    const OKU::LanguageTable before = {{L"Cancel", L"Abbrechen"}};
    OKU::LanguageTable table = before;
    if (!OKU::readLanguageFile(path, table)) {
        FUZZ_CHECK(table == before);
        return 0;
    }
    // Every pair takes at least its two terminators.
    FUZZ_CHECK(table.size() <= size / 4);
    return 0;
}
