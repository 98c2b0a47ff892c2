#include "ContactSheet.h"

#include <algorithm>
#include <memory>

#include "text/Font.h"
#include "text/FontFace.h"

using OKU::Color;
using OKU::Font;
using OKU::HAlign;
using OKU::Pixmap;
using OKU::VAlign;

namespace PixmapGen {

namespace {

constexpr int c_sheetWidth = 1180;
constexpr int c_gap = 8;
constexpr int c_padding = 10;
constexpr int c_minCellWidth = 130;
// The theme's small text size for names, its button text size for samples.
constexpr int c_nameSize = 12;
constexpr int c_sampleSize = 16;

// The window background the pictures normally appear on.
const Color c_cellColor(224, 224, 224);
const Color c_sheetColor(250, 250, 250);
const Color c_nameColor(40, 40, 40);

struct Cell {
    std::wstring name;
    Pixmap preview;
};

// Picture names are plain ASCII.
std::wstring wide(const std::string& name)
{
    return std::wstring(name.begin(), name.end());
}

std::shared_ptr<const Font> loadFont(const std::string& fontDir, int size)
{
    auto font = std::make_shared<Font>();
    font->addFace(std::make_shared<OKU::FontFace>(fontDir + "/DroidSans.ttf", size, 0));
    return font;
}

Pixmap drawSample(const CompositePicture& composite, const Font& font)
{
    const OKU::Margins& outer = composite.outerMargins;
    const int width = composite.sampleSize.width;
    const int height = composite.sampleSize.height;
    Pixmap sample(width + outer.left + outer.right, height + outer.top + outer.bottom, true);
    sample.drawCompositePixmap(outer.left, outer.top, width, height,
                               composite.toCompositePixmap());
    sample.drawString(outer.left, outer.top, width, height, font, composite.sampleText,
                      composite.textColor, HAlign::CENTER, VAlign::CENTER, 0);
    return sample;
}

std::vector<Cell> collectCells(const Catalogue& catalogue, const Font& sampleFont)
{
    std::vector<Cell> cells;
    for (const CompositePicture& composite : catalogue.composites)
        cells.push_back(Cell{wide(composite.name + ".cpm"), drawSample(composite, sampleFont)});
    for (const Picture& picture : catalogue.pictures)
        cells.push_back(Cell{wide(picture.name), picture.image});
    return cells;
}

int cellWidth(const Cell& cell, const Font& nameFont)
{
    return std::max({c_minCellWidth, cell.preview.getWidth(), nameFont.getTextWidth(cell.name)}) +
           2 * c_padding;
}

// Lays the cells out in rows, left to right, drawing them when a sheet is
// given; returns the height the sheet needs.
int layOut(const std::vector<Cell>& cells, const Font& nameFont, Pixmap* sheet)
{
    const int nameHeight = nameFont.getAscender() + nameFont.getDescender();
    int y = c_gap;
    size_t first = 0;
    while (first < cells.size()) {
        size_t end = first;
        int width = c_gap;
        int previewHeight = 0;
        while (end < cells.size() &&
               (end == first || width + cellWidth(cells[end], nameFont) + c_gap <= c_sheetWidth)) {
            width += cellWidth(cells[end], nameFont) + c_gap;
            previewHeight = std::max(previewHeight, cells[end].preview.getHeight());
            ++end;
        }
        const int rowHeight = c_padding + previewHeight + c_padding + nameHeight + c_padding;
        int x = c_gap;
        for (size_t i = first; sheet && i < end; ++i) {
            const Cell& cell = cells[i];
            const int w = cellWidth(cell, nameFont);
            sheet->drawSolidRect(x, y, w, rowHeight, c_cellColor);
            sheet->drawPixmap(x + (w - cell.preview.getWidth()) / 2,
                              y + c_padding + (previewHeight - cell.preview.getHeight()) / 2,
                              cell.preview);
            sheet->drawString(x, y + 2 * c_padding + previewHeight, w, nameHeight, nameFont,
                              cell.name, c_nameColor, HAlign::CENTER, VAlign::TOP, 0);
            x += w + c_gap;
        }
        y += rowHeight + c_gap;
        first = end;
    }
    return y;
}

} // namespace

Pixmap drawContactSheet(const Catalogue& catalogue, const std::string& fontDir)
{
    const std::shared_ptr<const Font> nameFont = loadFont(fontDir, c_nameSize);
    const std::vector<Cell> cells = collectCells(catalogue, *loadFont(fontDir, c_sampleSize));
    Pixmap sheet(c_sheetWidth, layOut(cells, *nameFont, nullptr), c_sheetColor);
    layOut(cells, *nameFont, &sheet);
    return sheet;
}

} // namespace PixmapGen
