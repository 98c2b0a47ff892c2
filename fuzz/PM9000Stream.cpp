// Reports of a PenMount PM9000: five-byte packets of 7-bit data bytes.

#include "PenMountStream.h"
#include "input/detail/PM9000TouchScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzz::fuzzPenMount<OKU::PM9000TouchScreen>(data, size, "\xFF\x01\x02\x03\x04");
}
