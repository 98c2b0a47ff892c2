// Packed localisable strings, as stored in lines of text: the first byte is
// the separator, the rest the packed string. A string that unpacks packs
// and unpacks again to an equal one and renders in bounded time and size.

#include <algorithm>
#include <string>

#include "FuzzInput.h"
#include "text/LString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const char separator = static_cast<char>(input.byte());
    // Characters of the escapes cannot separate.
    if (std::string("$<>[]").find(separator) != std::string::npos)
        return 0;
    OKU::LString string;
    if (!string.unpack(input.rest(), separator))
        return 0;
    const size_t limit = std::max<size_t>(size, 1 << 16);
    FUZZ_CHECK(string.str().size() <= limit && string.orig().size() <= limit);
    OKU::LString again;
    FUZZ_CHECK(again.unpack(string.pack(separator), separator));
    FUZZ_CHECK(again == string);
    return 0;
}
