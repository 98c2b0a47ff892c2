// Reports of a PenMount PM6000: six-byte packets with a checksum.

#include "PenMountStream.h"
#include "input/detail/PM6000TouchScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A press at 0x1234, 0x0056 with its checksum.
    return fuzz::fuzzPenMount<OKU::PM6000TouchScreen>(
        data, size, std::string("\x70\x34\x12\x56\x00", 5) + static_cast<char>(~(0x70 + 0x34 + 0x12 + 0x56) & 0xFF));
}
