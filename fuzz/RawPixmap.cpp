// Raw "0UKO" pixmap files: any bytes give true or false, and a pixmap read
// whole is written back byte for byte as it came.

#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "graphics/Pixmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    OKU::Pixmap pixmap;
    if (!pixmap.readRaw(in))
        return 0;
    std::ostringstream out;
    pixmap.writeRaw(out);
    const std::string written = out.str();
    // The header's sizes and flag may be written differently (a negative size
    // as 0, any non-zero flag as 1); the pixels must be the same.
    FUZZ_CHECK(written.size() >= 16 && bytes.size() >= written.size());
    FUZZ_CHECK(written.compare(16, std::string::npos, bytes, 16, written.size() - 16) == 0);
    return 0;
}
