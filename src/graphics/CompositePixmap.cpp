#include "graphics/CompositePixmap.h"

#include <sstream>

#include "core/Paths.h"
#include "core/RegularFile.h"
#include "core/SetupError.h"

namespace OKU {

CompositePixmap::CompositePixmap() = default;

CompositePixmap::CompositePixmap(const Pixmap& source, const Margins& slices,
                                 const Margins& innerMargins, const Margins& outerMargins,
                                 const Color& color)
    : m_innerMargins(innerMargins), m_outerMargins(outerMargins), m_color(color)
{
    cut(source, slices);
}

CompositePixmap::CompositePixmap(const std::string& path)
{
    load(path);
}

bool CompositePixmap::readLayout(std::istream& in, Layout& layout)
{
    Margins* margins[] = {&layout.slices, &layout.innerMargins, &layout.outerMargins};
    for (Margins* m : margins)
        in >> m->left >> m->top >> m->right >> m->bottom;
    int red = 0;
    int green = 0;
    int blue = 0;
    in >> red >> green >> blue;
    layout.color = Color(red, green, blue);
    return !in.fail();
}

bool CompositePixmap::readLayoutFile(const std::string& path, Layout& layout)
{
    std::string text;
    if (!readRegularFile(path, c_maxFileBytes, text))
        return false;
    std::istringstream in(text);
    return readLayout(in, layout);
}

bool CompositePixmap::slicesFit(const Margins& slices, int width, int height)
{
    // With both operands non-negative the subtractions cannot overflow,
    // whatever the file says.
    return slices.left >= 0 && slices.right >= 0 && slices.top >= 0 && slices.bottom >= 0 &&
           slices.left <= width - slices.right && slices.top <= height - slices.bottom;
}

void CompositePixmap::load(const std::string& path)
{
    Layout layout;
    if (!readLayoutFile(path, layout))
        throw SetupError("Cannot read " + path);

    const std::string pngPath = fileNameBase(path) + ".png";
    Pixmap image;
    if (!image.loadPNG(pngPath))
        throw SetupError("Cannot load PNG \"" + pngPath + "\"");
    cut(image, layout.slices);
    m_innerMargins = layout.innerMargins;
    m_outerMargins = layout.outerMargins;
    m_color = layout.color;
}

void CompositePixmap::colorize(const Color& c)
{
    for (Pixmap* piece : getPieces())
        piece->colorize(c);
}

std::array<Pixmap*, 9> CompositePixmap::getPieces()
{
    return {&m_topLeft,    &m_top,    &m_topRight,
            &m_left,       &m_center, &m_right,
            &m_bottomLeft, &m_bottom, &m_bottomRight};
}

void CompositePixmap::cut(const Pixmap& source, const Margins& slices)
{
    const int width = source.getWidth();
    const int height = source.getHeight();
    if (!slicesFit(slices, width, height))
        throw SetupError("CompositePixmap: slices " + std::to_string(slices.left) + " " +
                         std::to_string(slices.top) + " " + std::to_string(slices.right) + " " +
                         std::to_string(slices.bottom) + " do not fit a " + std::to_string(width) +
                         "x" + std::to_string(height) + " image");

    const int columnX[3] = {0, slices.left, width - slices.right};
    const int columnWidth[3] = {slices.left, width - slices.left - slices.right, slices.right};
    const int rowY[3] = {0, slices.top, height - slices.bottom};
    const int rowHeight[3] = {slices.top, height - slices.top - slices.bottom, slices.bottom};
    const std::array<Pixmap*, 9> pieces = getPieces();
    for (int i = 0; i < 9; ++i) {
        const int column = i % 3;
        const int row = i / 3;
        Pixmap& piece = *pieces[i];
        piece.resize(columnWidth[column], rowHeight[row], source.hasAlpha());
        piece.drawPixmap(0, 0, source, columnX[column], rowY[row], columnWidth[column],
                         rowHeight[row]);
        piece.removeAlphaIfSolid();
    }
}

} // namespace OKU
