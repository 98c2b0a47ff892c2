#ifndef OKU_INPUT_DETAIL_SIMPLEMATRIX_H
#define OKU_INPUT_DETAIL_SIMPLEMATRIX_H

#include <vector>

namespace OKU {

/// A small dense matrix of doubles, just enough for the least-squares fit of a
/// touch calibration.
class SimpleMatrix {
public:
    /// rows x columns, all elements 0.
    SimpleMatrix(int rows, int columns);

    int getRows() const { return m_rows; }
    int getColumns() const { return m_columns; }

    double& operator()(int row, int column) { return m_elements[row * m_columns + column]; }
    double operator()(int row, int column) const { return m_elements[row * m_columns + column]; }

    SimpleMatrix transposed() const;
    /// The inner dimensions must agree; anything else is a fatal error.
    SimpleMatrix operator*(const SimpleMatrix& other) const;
    /// For a square matrix. Gauss-Jordan elimination on [M | I] without row
    /// exchanges (the fit's normal matrix is symmetric positive definite when
    /// the points determine the map, so no pivot is zero then): each pivot
    /// row is divided by its diagonal element. A zero pivot (a singular
    /// matrix) gives non-finite elements rather than an error.
    SimpleMatrix inverse() const;

private:
    int m_rows;
    int m_columns;
    std::vector<double> m_elements; ///< row by row
};

} // namespace OKU

#endif
