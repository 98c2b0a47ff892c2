#ifndef OKU_GUI_LAYOUT_GRIDSIZER_H
#define OKU_GUI_LAYOUT_GRIDSIZER_H

#include <cstdint>
#include <memory>
#include <vector>

#include "core/Visibility.h"
#include "graphics/Alignment.h"
#include "gui/layout/Sizer.h"

namespace OKU {

/// Rows and columns of cells. Every column is as wide as its widest cell and
/// every row as high as its highest; columns and rows with a factor share
/// the room left over as rows of an HSizer do. The number of columns is
/// fixed, rows are created as cells are filled.
class GridSizer : public Sizer {
public:
    /// A widget or a nested sizer in one cell, with its alignment in the cell.
    struct Cell {
        Widget* widget;
        std::shared_ptr<Sizer> sizer;
        HAlign halign;
        VAlign valign;
        /// Found by the last measurement.
        mutable int32_t minWidth;
        mutable int32_t minHeight;
    };

    /// Columns and rows are separated by the theme's sizer margin.
    GridSizer(int columns, int columnFactor, int rowFactor, HAlign columnAlign, VAlign rowAlign,
              bool measureHidden = false);
    GridSizer(int columns, int columnFactor, int rowFactor, HAlign columnAlign, VAlign rowAlign,
              int columnMargin, int rowMargin, bool measureHidden);

    int getRows() const { return static_cast<int>(m_rows.size()); }
    int getColumns() const { return static_cast<int>(m_columns.size()); }

    /// A column beyond the grid throws std::out_of_range.
    void setColumnFactor(int col, int factor) { m_columns.at(col).factor = factor; }
    void setColumnMinMargin(int col, int minMargin) { m_columns.at(col).minMargin = minMargin; }
    void setColumnDefaultAlignment(int col, HAlign a) { m_columns.at(col).align = a; }
    /// Rows beyond the grid are created first.
    void setRowFactor(int row, int factor);
    void setRowMinMargin(int row, int minMargin);
    void setRowDefaultAlignment(int row, VAlign a);
    /// Applies to rows created from now on.
    void setRowDefaults(int factor, VAlign a)
    {
        setRowDefaults(factor, a, m_rowDefaults.minMargin);
    }
    void setRowDefaults(int factor, VAlign a, int minMargin)
    {
        m_rowDefaults = Track<VAlign>{factor, minMargin, a, 0, 0};
    }

    /// Grows the grid by whole rows up to row.
    Cell& getCell(unsigned col, unsigned row);

    /// Fill the cell at the add position, then move it on by one column,
    /// wrapping to the next row. Without an alignment the cell takes its
    /// column's and row's default alignments.
    void add(Widget* w);
    void add(Widget* w, HAlign h, VAlign v);
    void add(const std::shared_ptr<Sizer>& s);
    void add(const std::shared_ptr<Sizer>& s, HAlign h, VAlign v);
    /// Leaves the cell at the add position empty.
    void add();
    void set(int col, int row, Widget* w);
    void setAlignment(int col, int row, HAlign h, VAlign v);

    /// Also caches the minimum of each cell of the column (row). An index
    /// beyond the grid throws std::out_of_range.
    int getMinColWidth(unsigned col) const;
    int getMinRowHeight(unsigned row) const;

    int getMinWidth() const override;
    int getMinHeight() const override;
    void show(bool on) override;
    bool isVisible() const override;
    void doFitRect(const Rect& r, Widget* parent) override;

private:
    /// A column or a row: its settings and where the last fit put it.
    template <class Align>
    struct Track {
        int32_t factor;
        int32_t minMargin;
        Align align;
        int32_t position;
        int32_t size;
    };

    OKU_LOCAL void growRows(size_t count);
    /// Without alignments the cell takes its column's and row's defaults.
    OKU_LOCAL void put(unsigned col, unsigned row, Widget* w, const std::shared_ptr<Sizer>& s);
    OKU_LOCAL void put(unsigned col, unsigned row, Widget* w, const std::shared_ptr<Sizer>& s,
                       HAlign h, VAlign v);
    OKU_LOCAL void advanceAddPosition();
    OKU_LOCAL std::vector<int> minColWidths() const;
    OKU_LOCAL std::vector<int> minRowHeights() const;
    /// A hidden widget takes no room unless hidden widgets are measured.
    OKU_LOCAL bool isMeasured(const Cell& cell) const;

    std::vector<Track<VAlign>> m_rows;
    std::vector<Track<HAlign>> m_columns;
    /// Row by row.
    std::vector<Cell> m_cells;
    Track<VAlign> m_rowDefaults;
    unsigned m_addColumn = 0;
    unsigned m_addRow = 0;
    bool m_measureHidden;
};

} // namespace OKU

#endif
