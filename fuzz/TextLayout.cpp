// Arbitrary text laid out with real fonts: the first bytes give the maximum
// width, the alignment, spacing, line gap and base direction, then every
// pair of bytes is one character, whose top bits choose one of the fonts.

#include <memory>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "text/Font.h"
#include "text/FontFace.h"
#include "text/TextLayout.h"

namespace {

OKU::Font fontOf(const std::vector<std::string>& names)
{
    OKU::Font font;
    for (const std::string& name : names)
        font.addFace(
            std::make_shared<const OKU::FontFace>(std::string(OKU_FONT_DIR) + "/" + name, 14, 0));
    return font;
}

// Latin with Hebrew fallback, Arabic, and a monospaced font.
const std::vector<const OKU::Font*>& fonts()
{
    static const OKU::Font latin = fontOf({"DroidSans.ttf", "DroidSansHebrew.ttf"});
    static const OKU::Font arabic = fontOf({"DroidSansArabic.ttf"});
    static const OKU::Font mono = fontOf({"DroidSansMono.ttf"});
    static const std::vector<const OKU::Font*> list = {&latin, &arabic, &mono};
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const int maxWidth = static_cast<int16_t>(input.u16());
    const int align = input.byte() % 6;
    const int spacing = static_cast<int8_t>(input.byte());
    const int lineGap = static_cast<int8_t>(input.byte());
    const OKU::Bidi::Mode mode = input.byte() % 5;
    std::wstring text;
    std::vector<int> fontIndices;
    while (!input.empty()) {
        const uint16_t unit = input.u16();
        // Characters up to U+3FFF, where the fonts' scripts are.
        text += static_cast<wchar_t>(unit & 0x3FFF);
        fontIndices.push_back((unit >> 14) % static_cast<int>(fonts().size()));
    }
    int width = -1;
    int height = -1;
    const OKU::TextLayout<OKU::Font> layout(
        0, 0, fonts(), text.data(), text.data() + text.size(), fontIndices.data(), maxWidth,
        spacing, lineGap, align, &width, &height, mode);
    FUZZ_CHECK(layout.getGlyphs().size() <= text.size());
    return 0;
}
