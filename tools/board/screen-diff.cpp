// screen-diff: compares two screenshots pixel by pixel and prints how many
// pixels differ and the rectangle around them.
//   screen-diff [--ignore X,Y,W,H] A.png B.png
// --ignore leaves a rectangle out, for screens that show figures of their
// run (amounts and times of a backup).
// Exit status: 0 identical, 1 different, 2 unreadable or of other sizes.

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include "graphics/Pixmap.h"

namespace {

bool samePixel(const OKU::Pixmap::Pixel& a, const OKU::Pixmap::Pixel& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

int main(int argc, char** argv)
{
    OKU::Rect ignored;
    if (argc == 5 && std::string(argv[1]) == "--ignore") {
        if (std::sscanf(argv[2], "%d,%d,%d,%d", &ignored.x, &ignored.y, &ignored.width,
                        &ignored.height) != 4) {
            std::cerr << "screen-diff: --ignore takes X,Y,W,H\n";
            return 2;
        }
        argv += 2;
        argc -= 2;
    }
    if (argc != 3) {
        std::cerr << "usage: screen-diff [--ignore X,Y,W,H] A.png B.png\n";
        return 2;
    }
    OKU::Pixmap a, b;
    if (!a.loadPNG(argv[1]) || !b.loadPNG(argv[2])) {
        std::cerr << "screen-diff: cannot read " << (a.isEmpty() ? argv[1] : argv[2]) << "\n";
        return 2;
    }
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) {
        std::cout << "sizes differ: " << a.getWidth() << "x" << a.getHeight() << " and "
                  << b.getWidth() << "x" << b.getHeight() << "\n";
        return 2;
    }
    long count = 0;
    int left = a.getWidth(), top = a.getHeight(), right = -1, bottom = -1;
    for (int y = 0; y < a.getHeight(); ++y) {
        const OKU::Pixmap::Pixel* rowA = a.getRow(y);
        const OKU::Pixmap::Pixel* rowB = b.getRow(y);
        for (int x = 0; x < a.getWidth(); ++x) {
            if (samePixel(rowA[x], rowB[x]) || ignored.contains(OKU::Point(x, y)))
                continue;
            ++count;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (count == 0) {
        std::cout << "identical\n";
        return 0;
    }
    std::cout << count << " pixels differ within " << left << "," << top << " "
              << right - left + 1 << "x" << bottom - top + 1 << "\n";
    return 1;
}
