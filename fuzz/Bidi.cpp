// Arbitrary text through bidirectional reordering and Arabic shaping: the
// first byte is the base direction, every further pair of bytes one
// character of the Basic Multilingual Plane, where all the classes and
// Arabic forms live.

#include <string>

#include "FuzzInput.h"
#include "text/Bidi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const OKU::Bidi::Mode mode = input.byte() % 5;
    std::wstring text;
    while (!input.empty())
        text += static_cast<wchar_t>(input.u16());

    const std::wstring shaped = OKU::Bidi::shape(text);
    FUZZ_CHECK(shaped.size() <= text.size());
    const std::wstring visual = OKU::Bidi::string(text, mode);
    // Reordering moves characters but never adds or drops one.
    FUZZ_CHECK(visual.size() == shaped.size());
    if (OKU::Bidi::isPlainLTR(text.data(), text.data() + text.size(), mode))
        FUZZ_CHECK(visual == text);
    return 0;
}
