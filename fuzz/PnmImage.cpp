// PNM images (P4, P5, P6) read into gray maps: any bytes give true or false,
// and a map read whole survives writing as PGM and reading again.

#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "graphics/Graymap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    OKU::Graymap map;
    if (!map.readPNM(in))
        return 0;
    std::stringstream pgm;
    FUZZ_CHECK(map.writePGM(pgm));
    OKU::Graymap again;
    FUZZ_CHECK(again.readPNM(pgm));
    FUZZ_CHECK(again.getWidth() == map.getWidth() && again.getHeight() == map.getHeight());
    for (int y = 0; y < map.getHeight(); ++y)
        for (int x = 0; x < map.getWidth(); ++x)
            FUZZ_CHECK(again.getRow(y)[x] == map.getRow(y)[x]);
    return 0;
}
