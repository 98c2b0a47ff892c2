// Base64 text as the XML reader and the packed formats hand it over: the
// buffer form with and without padding, the container forms and the stream
// form must all accept exactly the well-formed texts and decode them alike.

#include <sstream>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "core/Base64.h"

namespace {

bool inAlphabet(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '+' || c == '/';
}

// Groups of four alphabet characters; with padding the last group may end
// in "=" or "==".
bool isWellFormed(const std::string& text, bool padded)
{
    if (text.size() % 4 != 0)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool lastGroup = i + 4 >= text.size();
        const size_t place = i % 4;
        const bool padding = padded && lastGroup && text[i] == '=' &&
                             (place == 3 || (place == 2 && text[i + 1] == '='));
        if (!inAlphabet(text[i]) && !padding)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int length = static_cast<int>(text.size());

    std::vector<char> unpadded(text.size());
    const int plain = OKU::base64Decode(unpadded.data(), length, text.data(), length, false);
    FUZZ_CHECK((plain >= 0) == isWellFormed(text, false));

    std::vector<char> buffer(text.size());
    const int decoded = OKU::base64Decode(buffer.data(), length, text.data(), length, true);
    const bool wellFormed = isWellFormed(text, true);
    FUZZ_CHECK((decoded >= 0) == wellFormed);
    buffer.resize(decoded >= 0 ? static_cast<size_t>(decoded) : 0);

    std::string viaString;
    FUZZ_CHECK(OKU::base64Decode(viaString, text) == wellFormed);
    std::istringstream in(text);
    std::ostringstream out;
    FUZZ_CHECK(OKU::base64Decode(out, in) == wellFormed);
    if (!wellFormed)
        return 0;
    const std::string bytes(buffer.begin(), buffer.end());
    FUZZ_CHECK(viaString == bytes && out.str() == bytes);
    if (plain >= 0)
        FUZZ_CHECK(std::string(unpadded.begin(), unpadded.begin() + plain) == bytes);
    // Whatever decodes encodes back to a text that decodes to the same bytes.
    FUZZ_CHECK(OKU::base64Decode(OKU::base64Encode(bytes)) == bytes);
    return 0;
}
