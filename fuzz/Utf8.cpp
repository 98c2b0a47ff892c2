// UTF-8 as it arrives in file names, the command line, version files and
// packed strings: any bytes decode, and the decoded text survives encoding.

#include <string>

#include "FuzzInput.h"
#include "core/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = OKU::utf8Decode(bytes);
    FUZZ_CHECK(text.size() <= bytes.size());
    for (const wchar_t c : text)
        FUZZ_CHECK(c >= 0);
    FUZZ_CHECK(OKU::utf8Decode(OKU::utf8Encode(text)) == text);
    // Well-formed input (which is what the encoder writes) is read back as it was.
    const std::string encoded = OKU::utf8Encode(text);
    FUZZ_CHECK(OKU::utf8Encode(OKU::utf8Decode(encoded)) == encoded);
    return 0;
}
