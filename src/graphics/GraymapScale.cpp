#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include "graphics/Graymap.h"
#include "graphics/LowPassFilter.h"

namespace OKU {

namespace {

// Scale factors known at compile time, so that the block loops below unroll
// and the division by the block size becomes a multiplication.
template <unsigned FX, unsigned FY>
struct FixedFactors {
    static constexpr unsigned x = FX;
    static constexpr unsigned y = FY;
    typedef uint32_t Sum;
};

struct RuntimeFactors {
    unsigned x;
    unsigned y;
    // A block of 255s may exceed 32 bits for huge factors.
    typedef uint64_t Sum;
};

// Averages whole fx x fy blocks of src into the dstWidth x dstHeight plane dst.
// Each row of blocks first sums its fy source rows column by column, then
// adds fx neighbouring column sums.
template <class Factors>
void downscalePlane(const unsigned char* src, int srcWidth, unsigned char* dst, int dstWidth,
                    int dstHeight, Factors f)
{
    typedef typename Factors::Sum Sum;
    const size_t usedWidth = static_cast<size_t>(dstWidth) * f.x;
    const Sum blockSize = static_cast<Sum>(f.x) * f.y;
    std::vector<uint32_t> columnSums(usedWidth);
    for (int y = 0; y < dstHeight; ++y) {
        const unsigned char* row = src + static_cast<size_t>(y) * f.y * srcWidth;
        for (size_t x = 0; x < usedWidth; ++x)
            columnSums[x] = row[x];
        for (unsigned r = 1; r < f.y; ++r) {
            row += srcWidth;
            for (size_t x = 0; x < usedWidth; ++x)
                columnSums[x] += row[x];
        }
        unsigned char* out = dst + static_cast<size_t>(y) * dstWidth;
        const uint32_t* sums = columnSums.data();
        for (int x = 0; x < dstWidth; ++x, sums += f.x) {
            Sum sum = 0;
            for (unsigned c = 0; c < f.x; ++c)
                sum += sums[c];
            out[x] = static_cast<unsigned char>(sum / blockSize);
        }
    }
}

// Replicates every pixel of src into an fx x fy block of dst.
template <class Factors>
void upscalePlane(const unsigned char* src, int srcWidth, int srcHeight, unsigned char* dst,
                  Factors f)
{
    const size_t dstWidth = static_cast<size_t>(srcWidth) * f.x;
    for (int y = 0; y < srcHeight; ++y, src += srcWidth) {
        unsigned char* out = dst + static_cast<size_t>(y) * f.y * dstWidth;
        for (int x = 0; x < srcWidth; ++x) {
            for (unsigned c = 0; c < f.x; ++c)
                out[static_cast<size_t>(x) * f.x + c] = src[x];
        }
        for (unsigned r = 1; r < f.y; ++r)
            std::memcpy(out + r * dstWidth, out, dstWidth);
    }
}

// Calls op with FixedFactors for the pairs (n, n), (1, n) and (n, 1), n in
// 2..8, and with RuntimeFactors for every other pair. The callers copy for
// (1, 1).
template <class Op, unsigned... I>
void dispatchFactors(unsigned fx, unsigned fy, Op op, std::integer_sequence<unsigned, I...>)
{
    const bool fixed =
        ((fx == I + 2 && fy == I + 2 ? (op(FixedFactors<I + 2, I + 2>()), true) : false) || ...) ||
        ((fx == 1 && fy == I + 2 ? (op(FixedFactors<1, I + 2>()), true) : false) || ...) ||
        ((fx == I + 2 && fy == 1 ? (op(FixedFactors<I + 2, 1>()), true) : false) || ...);
    if (!fixed)
        op(RuntimeFactors{fx, fy});
}

template <class Op>
void dispatchFactors(unsigned fx, unsigned fy, Op op)
{
    dispatchFactors(fx, fy, op, std::make_integer_sequence<unsigned, 7>());
}

int checkedProduct(int size, unsigned factor)
{
    const uint64_t product = static_cast<uint64_t>(size) * factor;
    if (product > static_cast<uint64_t>(std::numeric_limits<int>::max()))
        throw std::bad_array_new_length();
    return static_cast<int>(product);
}

} // namespace

Graymap Graymap::upscale(unsigned fx, unsigned fy) const
{
    if (fx == 0 || fy == 0)
        return Graymap();
    if (fx == 1 && fy == 1)
        return *this;
    Graymap result(checkedProduct(m_width, fx), checkedProduct(m_height, fy), hasAlpha());
    dispatchFactors(fx, fy, [this, &result](auto factors) {
        upscalePlane(getPixels(), m_width, m_height, result.getPixels(), factors);
        if (hasAlpha())
            upscalePlane(getAlpha(), m_width, m_height, result.getAlpha(), factors);
    });
    return result;
}

Graymap Graymap::downscale(unsigned fx, unsigned fy) const
{
    if (fx == 0 || fy == 0)
        return Graymap();
    if (fx == 1 && fy == 1)
        return *this;
    Graymap result(static_cast<int>(m_width / fx), static_cast<int>(m_height / fy), hasAlpha());
    dispatchFactors(fx, fy, [this, &result](auto factors) {
        downscalePlane(getPixels(), m_width, result.getPixels(), result.getWidth(),
                       result.getHeight(), factors);
        if (hasAlpha())
            downscalePlane(getAlpha(), m_width, result.getAlpha(), result.getWidth(),
                           result.getHeight(), factors);
    });
    return result;
}

Graymap Graymap::scaleNearest(int width, int height) const
{
    return detail::scaleNearest(*this, width, height);
}

Graymap Graymap::scaleBilinear(int width, int height, int taps) const
{
    return detail::scaleBilinear(*this, width, height, taps);
}

} // namespace OKU
