#include "gui/layout/GridSizer.h"

#include <algorithm>
#include <stdexcept>

#include "core/FatalError.h"
#include "gui/layout/detail/SizerItems.h"
#include "gui/theme/Theme.h"

namespace OKU {

namespace {

// The margin between track i - 1 and track i.
template <class Tracks>
int marginBefore(const Tracks& tracks, size_t i)
{
    return std::max(tracks[i - 1].minMargin, tracks[i].minMargin);
}

// Fixed tracks and margins add up; flexible tracks need the smallest pool in
// which each of them gets at least its minimum.
template <class Tracks>
int minTotalLength(const Tracks& tracks, const std::vector<int>& mins)
{
    int totalFactor = 0;
    for (const auto& track : tracks)
        totalFactor += std::max(track.factor, 0);
    int fixed = 0;
    int pool = 0;
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (i > 0)
            fixed += marginBefore(tracks, i);
        const int factor = tracks[i].factor;
        if (factor > 0)
            pool = std::max(pool, (mins[i] * totalFactor + factor - 1) / factor);
        else
            fixed += mins[i];
    }
    return fixed + pool;
}

// Each flexible track takes its share of what is left, so the last one
// absorbs the rounding remainder.
template <class Tracks>
void distribute(Tracks& tracks, const std::vector<int>& mins, const Span& span)
{
    int pool = span.length;
    int factors = 0;
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (i > 0)
            pool -= marginBefore(tracks, i);
        if (tracks[i].factor > 0)
            factors += tracks[i].factor;
        else
            pool -= mins[i];
    }
    int position = span.start;
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (i > 0)
            position += marginBefore(tracks, i);
        int length = mins[i];
        if (tracks[i].factor > 0) {
            length = tracks[i].factor * pool / factors;
            pool -= length;
            factors -= tracks[i].factor;
        }
        tracks[i].position = position;
        tracks[i].size = length;
        position += length;
    }
}

void requireWidget(Widget* w)
{
    if (w == nullptr)
        fatalError("GridSizer::add: Null Widget");
}

} // namespace

GridSizer::GridSizer(int columns, int columnFactor, int rowFactor, HAlign columnAlign,
                     VAlign rowAlign, bool measureHidden)
    : GridSizer(columns, columnFactor, rowFactor, columnAlign, rowAlign, Theme::g()->getSettings().sizerMargin,
                Theme::g()->getSettings().sizerMargin, measureHidden)
{
}

GridSizer::GridSizer(int columns, int columnFactor, int rowFactor, HAlign columnAlign,
                     VAlign rowAlign, int columnMargin, int rowMargin, bool measureHidden)
    : m_columns(std::max(columns, 0), Track<HAlign>{columnFactor, columnMargin, columnAlign, 0, 0}),
      m_rowDefaults{rowFactor, rowMargin, rowAlign, 0, 0},
      m_measureHidden(measureHidden)
{
}

void GridSizer::setRowFactor(int row, int factor)
{
    growRows(row + 1);
    m_rows[row].factor = factor;
}

void GridSizer::setRowMinMargin(int row, int minMargin)
{
    growRows(row + 1);
    m_rows[row].minMargin = minMargin;
}

void GridSizer::setRowDefaultAlignment(int row, VAlign a)
{
    growRows(row + 1);
    m_rows[row].align = a;
}

void GridSizer::growRows(size_t count)
{
    while (m_rows.size() < count) {
        m_rows.push_back(m_rowDefaults);
        for (const auto& column : m_columns)
            m_cells.push_back(Cell{nullptr, nullptr, column.align, m_rowDefaults.align, 0, 0});
    }
}

GridSizer::Cell& GridSizer::getCell(unsigned col, unsigned row)
{
    if (col >= m_columns.size())
        fatalError("GridSizer::getCell");
    growRows(size_t(row) + 1);
    return m_cells[size_t(row) * m_columns.size() + col];
}

void GridSizer::put(unsigned col, unsigned row, Widget* w, const std::shared_ptr<Sizer>& s)
{
    getCell(col, row);
    put(col, row, w, s, m_columns[col].align, m_rows[row].align);
}

void GridSizer::put(unsigned col, unsigned row, Widget* w, const std::shared_ptr<Sizer>& s,
                    HAlign h, VAlign v)
{
    Cell& cell = getCell(col, row);
    cell.widget = w;
    cell.sizer = s;
    cell.halign = h;
    cell.valign = v;
}

void GridSizer::advanceAddPosition()
{
    if (++m_addColumn >= m_columns.size()) {
        m_addColumn = 0;
        ++m_addRow;
    }
}

void GridSizer::add(Widget* w)
{
    requireWidget(w);
    put(m_addColumn, m_addRow, w, nullptr);
    advanceAddPosition();
}

void GridSizer::add(Widget* w, HAlign h, VAlign v)
{
    requireWidget(w);
    put(m_addColumn, m_addRow, w, nullptr, h, v);
    advanceAddPosition();
}

void GridSizer::add(const std::shared_ptr<Sizer>& s)
{
    put(m_addColumn, m_addRow, nullptr, s);
    advanceAddPosition();
}

void GridSizer::add(const std::shared_ptr<Sizer>& s, HAlign h, VAlign v)
{
    put(m_addColumn, m_addRow, nullptr, s, h, v);
    advanceAddPosition();
}

void GridSizer::add()
{
    put(m_addColumn, m_addRow, nullptr, nullptr);
    advanceAddPosition();
}

void GridSizer::set(int col, int row, Widget* w)
{
    put(col, row, w, nullptr);
}

void GridSizer::setAlignment(int col, int row, HAlign h, VAlign v)
{
    Cell& cell = getCell(col, row);
    cell.halign = h;
    cell.valign = v;
}

bool GridSizer::isMeasured(const Cell& cell) const
{
    return m_measureHidden || cell.widget == nullptr || cell.widget->isShown();
}

int GridSizer::getMinColWidth(unsigned col) const
{
    if (col >= m_columns.size())
        throw std::out_of_range("GridSizer::getMinColWidth");
    int width = 0;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        const Cell& cell = m_cells[row * m_columns.size() + col];
        cell.minWidth = isMeasured(cell) ? contentMinWidth(cell) : 0;
        width = std::max(width, int(cell.minWidth));
    }
    return width;
}

int GridSizer::getMinRowHeight(unsigned row) const
{
    if (row >= m_rows.size())
        throw std::out_of_range("GridSizer::getMinRowHeight");
    int height = 0;
    for (size_t col = 0; col < m_columns.size(); ++col) {
        const Cell& cell = m_cells[row * m_columns.size() + col];
        cell.minHeight = isMeasured(cell) ? contentMinHeight(cell) : 0;
        height = std::max(height, int(cell.minHeight));
    }
    return height;
}

std::vector<int> GridSizer::minColWidths() const
{
    std::vector<int> widths;
    for (unsigned col = 0; col < m_columns.size(); ++col)
        widths.push_back(getMinColWidth(col));
    return widths;
}

std::vector<int> GridSizer::minRowHeights() const
{
    std::vector<int> heights;
    for (unsigned row = 0; row < m_rows.size(); ++row)
        heights.push_back(getMinRowHeight(row));
    return heights;
}

int GridSizer::getMinWidth() const
{
    return minTotalLength(m_columns, minColWidths());
}

int GridSizer::getMinHeight() const
{
    return minTotalLength(m_rows, minRowHeights());
}

void GridSizer::show(bool on)
{
    showContent(m_cells, on);
}

bool GridSizer::isVisible() const
{
    return isAnyContentVisible(m_cells, m_measureHidden);
}

void GridSizer::doFitRect(const Rect& r, Widget* parent)
{
    validateSize("GridSizer", r);
    if (m_columns.empty())
        return;
    distribute(m_columns, minColWidths(), Span{r.x, r.width});
    distribute(m_rows, minRowHeights(), Span{r.y, r.height});
    for (size_t row = 0; row < m_rows.size(); ++row) {
        for (size_t col = 0; col < m_columns.size(); ++col) {
            const Cell& cell = m_cells[row * m_columns.size() + col];
            if (!hasContent(cell))
                continue;
            if (parent != nullptr && cell.widget != nullptr && cell.widget->getParent() != parent)
                fatalError("Incorrect widget parent in row %d column %d in GridSizer", int(row),
                           int(col));
            const Track<HAlign>& column = m_columns[col];
            const Track<VAlign>& line = m_rows[row];
            // Cells have no common baseline to line up on.
            const VAlign valign = cell.valign == VAlign::BASELINE ? VAlign::TOP : cell.valign;
            const Span x = alignSpan(cell.halign, column.position, column.size, cell.minWidth);
            const Span y = alignSpan(valign, line.position, line.size, cell.minHeight);
            placeContent(cell, Rect(x.start, y.start, x.length, y.length), parent);
        }
    }
}

} // namespace OKU
