// fb2png: saves the contents of a framebuffer file as a PNG image.
//
//   fb2png FRAMEBUFFER WIDTH HEIGHT FORMAT [LINE_LENGTH] OUTPUT.png
//
// FORMAT is the back end's pixel format code: 32 (x8r8g8b8), 16 (r5g6b5) or
// 15 (x1b5g5r5), words in the machine's byte order. LINE_LENGTH is the
// distance of two rows in bytes, WIDTH times the pixel size when left out.
// Channels narrower than 8 bits are widened by repeating their top bits, so
// that full intensity stays 255. A framebuffer that the emulation has panned
// (FRAMEBUFFER.display, see DisplayState.h) is shown from its first visible
// row, as the display shows it.

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "DisplayState.h"
#include "graphics/Pixmap.h"

namespace {

using OKU::Pixmap;

struct Format {
    int code;
    int bytesPerPixel;
    Pixmap::Pixel (*decode)(uint32_t word);
};

uint8_t widen5(uint32_t v)
{
    return static_cast<uint8_t>(v << 3 | v >> 2);
}

uint8_t widen6(uint32_t v)
{
    return static_cast<uint8_t>(v << 2 | v >> 4);
}

Pixmap::Pixel decodeRGB32(uint32_t w)
{
    return Pixmap::Pixel{static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8),
                         static_cast<uint8_t>(w >> 16), 255};
}

Pixmap::Pixel decodeBGR16(uint32_t w)
{
    return Pixmap::Pixel{widen5(w & 0x1F), widen6(w >> 5 & 0x3F), widen5(w >> 11 & 0x1F), 255};
}

Pixmap::Pixel decodeRGB15(uint32_t w)
{
    return Pixmap::Pixel{widen5(w >> 10 & 0x1F), widen5(w >> 5 & 0x1F), widen5(w & 0x1F), 255};
}

const Format c_formats[] = {{32, 4, decodeRGB32}, {16, 2, decodeBGR16}, {15, 2, decodeRGB15}};

int usage()
{
    std::cerr << "usage: fb2png FRAMEBUFFER WIDTH HEIGHT FORMAT [LINE_LENGTH] OUTPUT.png\n"
                 "FORMAT is 32, 16 (5-6-5) or 15 (5-5-5 with red in the low bits)\n";
    return 2;
}

// A whole decimal number of at least minimum.
bool parseNumber(const char* text, int minimum, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < minimum || v > INT_MAX / 4)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6 && argc != 7)
        return usage();
    int width = 0;
    int height = 0;
    int code = 0;
    if (!parseNumber(argv[2], 1, width) || !parseNumber(argv[3], 1, height) ||
        !parseNumber(argv[4], 0, code))
        return usage();
    const Format* format = nullptr;
    for (const Format& f : c_formats)
        if (f.code == code)
            format = &f;
    if (!format)
        return usage();
    int lineLength = width * format->bytesPerPixel;
    if (argc == 7 && !parseNumber(argv[5], lineLength, lineLength))
        return usage();
    const std::string input = argv[1];
    const std::string output = argv[argc - 1];

    std::ifstream in(input, std::ios_base::binary);
    std::vector<char> data;
    if (in)
        data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fbemu::DisplayState display;
    fbemu::readDisplayState(input, display);
    const size_t first = static_cast<size_t>(lineLength) * display.yoffset;
    const size_t needed = first + static_cast<size_t>(lineLength) * (height - 1) +
                          static_cast<size_t>(width) * format->bytesPerPixel;
    if (data.size() < needed) {
        std::cerr << "fb2png: cannot read " << needed << " bytes from \"" << input << "\"\n";
        return 1;
    }

    Pixmap image(width, height, false);
    for (int y = 0; y < height; ++y) {
        const char* row = data.data() + first + static_cast<size_t>(y) * lineLength;
        Pixmap::Pixel* out = image.getRow(y);
        for (int x = 0; x < width; ++x) {
            uint32_t word = 0;
            std::memcpy(&word, row + x * format->bytesPerPixel, format->bytesPerPixel);
            out[x] = format->decode(word);
        }
    }
    if (!image.savePNG(output)) {
        std::cerr << "fb2png: cannot write \"" << output << "\"\n";
        return 1;
    }
    return 0;
}
