#ifndef OKU_GRAPHICS_COMPOSITEPIXMAP_H
#define OKU_GRAPHICS_COMPOSITEPIXMAP_H

#include <array>
#include <cstdint>
#include <istream>
#include <string>

#include "core/Geometry.h"
#include "core/Visibility.h"
#include "graphics/Color.h"
#include "graphics/Pixmap.h"

namespace OKU {

/// A scalable nine-piece image: the corners are drawn as they are, the edges
/// and the centre are stretched (Painter::drawCompositePixmap). It is described
/// by a ".cpm" text file next to a PNG of the same base name; the ".cpm" holds
/// fifteen whitespace-separated integers:
///
///     L T R B                     slice sizes in the PNG (left column width,
///                                 top row height, right column width, bottom
///                                 row height)
///     left top right bottom       inner margins
///     left top right bottom       outer margins
///     red green blue              foreground colour (alpha 255)
class CompositePixmap {
public:
    /// The numbers of a ".cpm" file.
    struct Layout {
        Margins slices;
        Margins innerMargins;
        Margins outerMargins;
        Color color;
    };
    /// Larger ".cpm" files are refused: fifteen numbers take under 100 bytes.
    static constexpr std::uint64_t c_maxFileBytes = 4096;

    /// Reads the fifteen numbers; false when the stream fails.
    static bool readLayout(std::istream& in, Layout& layout);
    /// Reads the numbers of a ".cpm" file; false when it is missing, no
    /// regular file of at most c_maxFileBytes or its numbers are unreadable.
    static bool readLayoutFile(const std::string& path, Layout& layout);
    /// Whether slices cut a width x height image into nine pieces: none of
    /// them negative, the columns and the rows no wider than the image.
    /// Cutting with slices that do not fit throws SetupError.
    static bool slicesFit(const Margins& slices, int width, int height);

    /// Zero margins, opaque black and nine empty pieces.
    CompositePixmap();
    /// Cuts the pieces from source with the slice sizes as load() does.
    CompositePixmap(const Pixmap& source, const Margins& slices, const Margins& innerMargins,
                    const Margins& outerMargins, const Color& color);
    explicit CompositePixmap(const std::string& path);

    /// Reads a ".cpm" file and its PNG; an unreadable file or PNG throws
    /// SetupError.
    void load(const std::string& path);
    /// Pixmap::colorize on every piece.
    void colorize(const Color& c);

    /// Space inside the frame that its decorations occupy.
    const Margins& getInnerMargins() const { return m_innerMargins; }
    /// How far the image reaches beyond the rectangle it frames.
    const Margins& getOuterMargins() const { return m_outerMargins; }
    /// The foreground (text) colour that goes with the image.
    const Color& getColor() const { return m_color; }
    void setColor(const Color& c) { m_color = c; }

    const Pixmap& getTop() const { return m_top; }
    const Pixmap& getTopRight() const { return m_topRight; }
    const Pixmap& getTopLeft() const { return m_topLeft; }
    const Pixmap& getRight() const { return m_right; }
    const Pixmap& getLeft() const { return m_left; }
    const Pixmap& getBottomRight() const { return m_bottomRight; }
    const Pixmap& getBottomLeft() const { return m_bottomLeft; }
    const Pixmap& getBottom() const { return m_bottom; }
    const Pixmap& getCenter() const { return m_center; }

private:
    /// The pieces row by row as they lie in the source image: top-left, top,
    /// top-right, left, centre, right, bottom-left, bottom, bottom-right.
    OKU_LOCAL std::array<Pixmap*, 9> getPieces();
    /// Replaces the nine pieces by the slices of source.
    OKU_LOCAL void cut(const Pixmap& source, const Margins& slices);

    Margins m_innerMargins;
    Margins m_outerMargins;
    Color m_color;
    Pixmap m_top;
    Pixmap m_topRight;
    Pixmap m_topLeft;
    Pixmap m_right;
    Pixmap m_left;
    Pixmap m_bottomRight;
    Pixmap m_bottomLeft;
    Pixmap m_bottom;
    Pixmap m_center;
};

} // namespace OKU

#endif
