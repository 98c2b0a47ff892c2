#ifndef OKU_GRAPHICS_LOWPASSFILTER_H
#define OKU_GRAPHICS_LOWPASSFILTER_H

#include <vector>

namespace OKU {

class Graymap;
class Pixmap;

namespace detail __attribute__((visibility("hidden"))) {

/// One-sided windowed-sinc low-pass kernel of `taps` coefficients h[0..taps-1]
/// with the cut-off fc as a fraction of the sampling rate. The symmetric kernel
/// h[taps-1] ... h[1] h[0] h[1] ... h[taps-1] sums to 1.
std::vector<float> makeLowPassFilter1(float fc, int taps);

/// The quarter of a separable two-dimensional kernel: coefficients[j * tapsX + i]
/// = hx[i] * hy[j], rows along y.
struct LowPassKernel2 {
    int tapsX;
    int tapsY;
    std::vector<float> coefficients;
};

LowPassKernel2 makeLowPassFilter2(float fcx, int tapsx, float fcy, int tapsy);

/// One 8-bit channel of an image whose rows are contiguous: pixel (x, y) is the
/// byte data[(y * width + x) * pixelStep]. A gray map plane has a step of 1, a
/// channel of a pixmap a step of 4.
struct ConstPlane {
    const unsigned char* data;
    int width;
    int height;
    int pixelStep;
};

struct Plane {
    unsigned char* data;
    int width;
    int height;
    int pixelStep;
};

/// The channels that filters and scalers work on, in the same order for a
/// source and a result with the same presence of alpha: the value plane and
/// the alpha plane of a gray map; blue, green, red and, only with alpha, the
/// alpha byte of a pixmap (a pixmap without alpha keeps 255 there).
std::vector<ConstPlane> readPlanes(const Graymap& map);
std::vector<Plane> writePlanes(Graymap& map);
std::vector<ConstPlane> readPlanes(const Pixmap& pixmap);
std::vector<Plane> writePlanes(Pixmap& pixmap);

/// The filters and scalers shared by Graymap and Pixmap (instantiated for
/// both), each channel on its own. Sums are taken in float, rounded half away
/// from zero and saturated to 0..255; coordinates beyond the edges read the
/// nearest edge pixel.
template <class Image> Image lowPassFilterX(const Image& src, float fc, int taps);
template <class Image> Image lowPassFilterY(const Image& src, float fc, int taps);
template <class Image> Image lowPassFilter2(const Image& src, float fcx, float fcy, int taps);
/// lowPassFilter2, X or Y as the cut-offs below 0.5 require, else a copy.
template <class Image> Image lowPassFilter(const Image& src, float fcx, float fcy, int taps);
/// Target t samples source floor((t + 0.5) * S / T); a target of 1 the middle.
/// A non-positive target or an empty source gives an undefined map without alpha.
template <class Image> Image scaleNearest(const Image& src, int width, int height);
/// Bilinear interpolation with the corners kept, on a low-pass filtered source
/// when shrinking; falls back to scaleNearest below 2 x 2.
template <class Image> Image scaleBilinear(const Image& src, int width, int height, int taps);

} // namespace detail
} // namespace OKU

#endif
