#include "graphics/LowPassFilter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "graphics/Graymap.h"
#include "graphics/Pixmap.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

const double c_pi = 3.14159265358979323846;

bool isEmpty(int width, int height)
{
    return width <= 0 || height <= 0;
}

// Round half away from zero, then saturate; NaN (from a zero cut-off) gives 0.
unsigned char roundSaturate(float v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    // In double v + 0.5 is exact, so truncation rounds correctly.
    return static_cast<unsigned char>(static_cast<double>(v) + 0.5);
}

// A channel converted to float, each row extended on both sides by `pad`
// copies of its edge pixel; rows outside the plane read the nearest edge row.
class PaddedRows {
public:
    PaddedRows(const ConstPlane& src, int pad)
        : m_pad(pad), m_stride(src.width + 2 * pad), m_height(src.height),
          m_data(static_cast<size_t>(m_stride) * src.height)
    {
        for (int y = 0; y < src.height; ++y) {
            const unsigned char* in =
                src.data + static_cast<size_t>(y) * src.width * src.pixelStep;
            float* row = m_data.data() + static_cast<size_t>(y) * m_stride;
            for (int x = 0; x < src.width; ++x)
                row[pad + x] = in[static_cast<size_t>(x) * src.pixelStep];
            std::fill(row, row + pad, row[pad]);
            std::fill(row + pad + src.width, row + m_stride, row[pad + src.width - 1]);
        }
    }

    // Points at pixel 0 of row y; indices -pad .. width + pad - 1 are valid.
    const float* row(int y) const
    {
        const int clamped = std::clamp(y, 0, m_height - 1);
        return m_data.data() + static_cast<size_t>(clamped) * m_stride + m_pad;
    }

private:
    int m_pad;
    int m_stride;
    int m_height;
    std::vector<float> m_data;
};

void storeRow(const std::vector<float>& sums, const Plane& dst, int y)
{
    unsigned char* out = dst.data + static_cast<size_t>(y) * dst.width * dst.pixelStep;
    for (int x = 0; x < dst.width; ++x)
        out[static_cast<size_t>(x) * dst.pixelStep] = roundSaturate(sums[x]);
}

void fillPlane(const Plane& dst, unsigned char value)
{
    const size_t count = static_cast<size_t>(dst.width) * dst.height;
    for (size_t i = 0; i < count; ++i)
        dst.data[i * dst.pixelStep] = value;
}

// Symmetric taps are folded: a coefficient multiplies the sum of both (or, in
// the quadrants, all four) neighbours. Terms are added in a fixed order: the
// centre, the centre column, the centre row, then the quadrants together. A
// kernel one tap high or wide is a one-dimensional filter.
void filterPlane2(const ConstPlane& src, const Plane& dst, const LowPassKernel2& kernel)
{
    if (isEmpty(src.width, src.height))
        return;
    if (kernel.coefficients.empty()) {
        fillPlane(dst, 0);
        return;
    }
    const int tapsX = kernel.tapsX;
    const int tapsY = kernel.tapsY;
    const float* k = kernel.coefficients.data();
    const PaddedRows rows(src, tapsX - 1);
    std::vector<float> sums(src.width);
    for (int y = 0; y < src.height; ++y) {
        const float* p = rows.row(y);
        for (int x = 0; x < src.width; ++x)
            sums[x] = k[0] * p[x];
        for (int j = 1; j < tapsY; ++j) {
            const float kj = k[j * tapsX];
            const float* above = rows.row(y - j);
            const float* below = rows.row(y + j);
            for (int x = 0; x < src.width; ++x)
                sums[x] += kj * (above[x] + below[x]);
        }
        for (int i = 1; i < tapsX; ++i) {
            const float ki = k[i];
            for (int x = 0; x < src.width; ++x)
                sums[x] += ki * (p[x - i] + p[x + i]);
        }
        for (int j = 1; j < tapsY; ++j) {
            const float* above = rows.row(y - j);
            const float* below = rows.row(y + j);
            for (int i = 1; i < tapsX; ++i) {
                const float kji = k[j * tapsX + i];
                for (int x = 0; x < src.width; ++x)
                    sums[x] += kji * (above[x - i] + above[x + i] + below[x - i] + below[x + i]);
            }
        }
        storeRow(sums, dst, y);
    }
}

// Source index sampled by each of `target` positions along an axis of `size`.
std::vector<int> nearestIndices(int size, int target)
{
    std::vector<int> indices(target);
    if (target == 1) {
        indices[0] = size / 2;
        return indices;
    }
    for (int t = 0; t < target; ++t) {
        const int i = static_cast<int>(std::floor((t + 0.5) * size / target));
        indices[t] = std::min(i, size - 1);
    }
    return indices;
}

void nearestPlane(const ConstPlane& src, const Plane& dst, const std::vector<int>& columns,
                  const std::vector<int>& rows)
{
    for (int y = 0; y < dst.height; ++y) {
        const unsigned char* in = src.data + static_cast<size_t>(rows[y]) * src.width * src.pixelStep;
        unsigned char* out = dst.data + static_cast<size_t>(y) * dst.width * dst.pixelStep;
        for (int x = 0; x < dst.width; ++x)
            out[static_cast<size_t>(x) * dst.pixelStep] =
                in[static_cast<size_t>(columns[x]) * src.pixelStep];
    }
}

// Where one target position reads the source along an axis: the two
// neighbours and the weight of the second. The first and last positions read
// the edge pixel alone (both neighbours equal, weight 0), which makes the
// general formula reduce exactly to interpolation along the edge and to the
// corner pixels.
struct Tap {
    int first;
    int second;
    float fraction;
};

std::vector<Tap> bilinearTaps(int size, int target)
{
    std::vector<Tap> taps(target);
    const float step = static_cast<float>(size - 1) / static_cast<float>(target - 1);
    taps[0] = Tap{0, 0, 0.0f};
    for (int t = 1; t < target - 1; ++t) {
        const float position = static_cast<float>(t) * step;
        int index = static_cast<int>(position);
        float fraction = position - static_cast<float>(index);
        if (index >= size - 1) {
            index = size - 2;
            fraction = 1.0f;
        }
        taps[t] = Tap{index, index + 1, fraction};
    }
    taps[target - 1] = Tap{size - 1, size - 1, 0.0f};
    return taps;
}

void bilinearPlane(const ConstPlane& src, const Plane& dst, const std::vector<Tap>& columns,
                   const std::vector<Tap>& rows)
{
    const size_t srcRowStep = static_cast<size_t>(src.width) * src.pixelStep;
    for (int y = 0; y < dst.height; ++y) {
        const Tap& row = rows[y];
        const unsigned char* in0 = src.data + row.first * srcRowStep;
        const unsigned char* in1 = src.data + row.second * srcRowStep;
        const float fy = row.fraction;
        unsigned char* out = dst.data + static_cast<size_t>(y) * dst.width * dst.pixelStep;
        for (int x = 0; x < dst.width; ++x) {
            const Tap& column = columns[x];
            const size_t c0 = static_cast<size_t>(column.first) * src.pixelStep;
            const size_t c1 = static_cast<size_t>(column.second) * src.pixelStep;
            const float fx = column.fraction;
            const float v = (1 - fx) * (1 - fy) * in0[c0] + fx * (1 - fy) * in0[c1] +
                            (1 - fx) * fy * in1[c0] + fx * fy * in1[c1];
            out[static_cast<size_t>(x) * dst.pixelStep] =
                static_cast<unsigned char>(std::min(static_cast<int>(v), 255));
        }
    }
}

// A new image of the given size and src's presence of alpha, each of whose
// channels op computes from the matching channel of src.
template <class Image, class PlaneOp>
Image transformed(const Image& src, int width, int height, PlaneOp op)
{
    Image result(width, height, src.hasAlpha());
    const std::vector<ConstPlane> in = readPlanes(src);
    const std::vector<Plane> out = writePlanes(result);
    for (size_t i = 0; i < in.size(); ++i)
        op(in[i], out[i]);
    return result;
}

template <class Image>
Image bilinearStep(const Image& src, int width, int height)
{
    const std::vector<Tap> columns = bilinearTaps(src.getWidth(), width);
    const std::vector<Tap> rows = bilinearTaps(src.getHeight(), height);
    return transformed(src, width, height, [&](const ConstPlane& in, const Plane& out) {
        bilinearPlane(in, out, columns, rows);
    });
}

} // namespace

std::vector<float> makeLowPassFilter1(float fc, int taps)
{
    std::vector<float> h(std::max(taps, 0));
    if (h.empty())
        return h;
    h[0] = 2 * fc;
    for (int k = 1; k < taps; ++k)
        h[k] = static_cast<float>(std::sin(2 * c_pi * fc * k) / (c_pi * k));
    // The falling half of a Hamming window (its value at k = 0 is 1).
    for (int k = 1; k < taps; ++k)
        h[k] = static_cast<float>(h[k] * (0.54 + 0.46 * std::cos(c_pi * k / taps)));
    double sum = 0;
    for (float v : h)
        sum += v;
    // The mirrored kernel counts every tap but the centre twice.
    const double total = 2 * sum - h[0];
    for (float& v : h)
        v = static_cast<float>(v / total);
    return h;
}

LowPassKernel2 makeLowPassFilter2(float fcx, int tapsx, float fcy, int tapsy)
{
    const std::vector<float> hx = makeLowPassFilter1(fcx, tapsx);
    const std::vector<float> hy = makeLowPassFilter1(fcy, tapsy);
    LowPassKernel2 kernel{static_cast<int>(hx.size()), static_cast<int>(hy.size()), {}};
    kernel.coefficients.reserve(hx.size() * hy.size());
    for (float y : hy) {
        for (float x : hx)
            kernel.coefficients.push_back(x * y);
    }
    return kernel;
}

template <class Image>
Image filteredBy(const Image& src, const LowPassKernel2& kernel)
{
    return transformed(src, src.getWidth(), src.getHeight(),
                       [&kernel](const ConstPlane& in, const Plane& out) {
                           filterPlane2(in, out, kernel);
                       });
}

template <class Image>
Image lowPassFilterX(const Image& src, float fc, int taps)
{
    std::vector<float> h = makeLowPassFilter1(fc, taps);
    const int size = static_cast<int>(h.size());
    return filteredBy(src, LowPassKernel2{size, 1, std::move(h)});
}

template <class Image>
Image lowPassFilterY(const Image& src, float fc, int taps)
{
    std::vector<float> h = makeLowPassFilter1(fc, taps);
    const int size = static_cast<int>(h.size());
    return filteredBy(src, LowPassKernel2{1, size, std::move(h)});
}

template <class Image>
Image lowPassFilter2(const Image& src, float fcx, float fcy, int taps)
{
    return filteredBy(src, makeLowPassFilter2(fcx, taps, fcy, taps));
}

template <class Image>
Image lowPassFilter(const Image& src, float fcx, float fcy, int taps)
{
    if (fcx < 0.5f && fcy < 0.5f)
        return lowPassFilter2(src, fcx, fcy, taps);
    if (fcx < 0.5f)
        return lowPassFilterX(src, fcx, taps);
    if (fcy < 0.5f)
        return lowPassFilterY(src, fcy, taps);
    return src;
}

template <class Image>
Image scaleNearest(const Image& src, int width, int height)
{
    if (width == src.getWidth() && height == src.getHeight())
        return src;
    if (isEmpty(width, height) || isEmpty(src.getWidth(), src.getHeight()))
        return Image(width, height, false);
    const std::vector<int> columns = nearestIndices(src.getWidth(), width);
    const std::vector<int> rows = nearestIndices(src.getHeight(), height);
    return transformed(src, width, height, [&](const ConstPlane& in, const Plane& out) {
        nearestPlane(in, out, columns, rows);
    });
}

template <class Image>
Image scaleBilinear(const Image& src, int width, int height, int taps)
{
    if (width == src.getWidth() && height == src.getHeight())
        return src;
    if (src.getWidth() < 2 || src.getHeight() < 2 || width < 2 || height < 2)
        return scaleNearest(src, width, height);
    if (width >= src.getWidth() && height >= src.getHeight())
        return bilinearStep(src, width, height);
    const float fcx = static_cast<float>(0.5 * width / src.getWidth());
    const float fcy = static_cast<float>(0.5 * height / src.getHeight());
    return bilinearStep(lowPassFilter(src, fcx, fcy, taps), width, height);
}

template Graymap lowPassFilterX<Graymap>(const Graymap&, float, int);
template Graymap lowPassFilterY<Graymap>(const Graymap&, float, int);
template Graymap lowPassFilter2<Graymap>(const Graymap&, float, float, int);
template Graymap lowPassFilter<Graymap>(const Graymap&, float, float, int);
template Graymap scaleNearest<Graymap>(const Graymap&, int, int);
template Graymap scaleBilinear<Graymap>(const Graymap&, int, int, int);
template Pixmap lowPassFilterX<Pixmap>(const Pixmap&, float, int);
template Pixmap lowPassFilterY<Pixmap>(const Pixmap&, float, int);
template Pixmap lowPassFilter2<Pixmap>(const Pixmap&, float, float, int);
template Pixmap lowPassFilter<Pixmap>(const Pixmap&, float, float, int);
template Pixmap scaleNearest<Pixmap>(const Pixmap&, int, int);
template Pixmap scaleBilinear<Pixmap>(const Pixmap&, int, int, int);

} // namespace detail
} // namespace OKU
