#include "input/detail/SimpleMatrix.h"

#include <cstddef>

#include "core/FatalError.h"

namespace OKU {

SimpleMatrix::SimpleMatrix(int rows, int columns)
    : m_rows(rows), m_columns(columns), m_elements(static_cast<size_t>(rows) * columns, 0.0)
{
}

SimpleMatrix SimpleMatrix::transposed() const
{
    SimpleMatrix result(m_columns, m_rows);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            result(c, r) = (*this)(r, c);
    return result;
}

SimpleMatrix SimpleMatrix::operator*(const SimpleMatrix& other) const
{
    if (m_columns != other.m_rows)
        fatalError("OKU::SimpleMatrix OKU::SimpleMatrix::operator*(const OKU::SimpleMatrix&) const");
    SimpleMatrix result(m_rows, other.m_columns);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < other.m_columns; ++c) {
            double sum = 0.0;
            for (int k = 0; k < m_columns; ++k)
                sum += (*this)(r, k) * other(k, c);
            result(r, c) = sum;
        }
    return result;
}

SimpleMatrix SimpleMatrix::inverse() const
{
    const int n = m_rows;
    SimpleMatrix work(n, 2 * n);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c)
            work(r, c) = (*this)(r, c);
        work(r, n + r) = 1.0;
    }

    // Downwards: normalise each pivot row, clear the column below it.
    for (int p = 0; p < n; ++p) {
        const double pivot = work(p, p);
        for (int c = 0; c < 2 * n; ++c)
            work(p, c) /= pivot;
        for (int r = p + 1; r < n; ++r) {
            const double factor = work(r, p);
            for (int c = 0; c < 2 * n; ++c)
                work(r, c) -= factor * work(p, c);
        }
    }
    // Upwards: clear the column above each pivot.
    for (int p = n - 1; p > 0; --p)
        for (int r = 0; r < p; ++r) {
            const double factor = work(r, p);
            for (int c = 0; c < 2 * n; ++c)
                work(r, c) -= factor * work(p, c);
        }

    SimpleMatrix result(n, n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            result(r, c) = work(r, n + c);
    return result;
}

} // namespace OKU
