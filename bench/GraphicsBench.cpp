// Times the framebuffer writers and the two common blends on one 800 x 480
// frame against pixman doing the same work and against a plain memcpy, and
// prints the figures with their ratios. A ratio is the reference time over
// ours: 1.0 means as fast as the reference, above 1.0 faster.

#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BenchImages.h"
#include "graphics/Pixmap.h"

using namespace OKU;

namespace {

const int c_width = 800;
const int c_height = 480;
const int c_pixels = c_width * c_height;
const int c_rounds = 15;
const int c_runsPerRound = 20;

// Keeps the compiler from dropping work whose result nobody reads.
volatile uint8_t g_sink;

// The best time of one run of each operation, in microseconds. The rounds
// of the operations alternate, so that a busy machine slows them alike.
std::vector<double> bestMicroseconds(const std::vector<std::function<void()>>& runs)
{
    std::vector<double> best(runs.size(), 1e300);
    for (const auto& run : runs)
        run();
    for (int round = 0; round < c_rounds; ++round)
        for (size_t k = 0; k < runs.size(); ++k) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < c_runsPerRound; ++i)
                runs[k]();
            const auto end = std::chrono::steady_clock::now();
            const double perRun =
                std::chrono::duration<double, std::micro>(end - start).count() / c_runsPerRound;
            best[k] = std::min(best[k], perRun);
        }
    return best;
}

struct Comparison {
    std::string operation;
    double ours;
    std::string reference;
    double theirs;
    // The least ratio aimed at; 0 when the figure is only for information.
    double target;
};

void printTable(const std::vector<Comparison>& rows)
{
    std::printf("%-34s %10s  %-34s %10s %7s %7s\n", "operation", "us", "reference", "us", "ratio",
                "target");
    for (const Comparison& r : rows) {
        const double ratio = r.theirs / r.ours;
        std::printf("%-34s %10.1f  %-34s %10.1f %7.2f", r.operation.c_str(), r.ours,
                    r.reference.c_str(), r.theirs, ratio);
        if (r.target > 0)
            std::printf(" %6.2f%s\n", r.target, ratio >= r.target ? "" : "  missed");
        else
            std::printf(" %6s\n", "-");
    }
}

// A pixman image, over memory it does not own, released with the object.
class PixmanImage {
public:
    PixmanImage(pixman_format_code_t format, void* bits, int bytesPerPixel)
        : m_image(pixman_image_create_bits(format, c_width, c_height, static_cast<uint32_t*>(bits),
                                           c_width * bytesPerPixel))
    {
    }
    explicit PixmanImage(const pixman_color_t& solid)
        : m_image(pixman_image_create_solid_fill(&solid))
    {
    }
    PixmanImage(const PixmanImage&) = delete;
    PixmanImage& operator=(const PixmanImage&) = delete;
    ~PixmanImage() { pixman_image_unref(m_image); }

    pixman_image_t* get() const { return m_image; }

private:
    pixman_image_t* m_image;
};

void composite(pixman_op_t op, const PixmanImage& src, const PixmanImage& dst)
{
    pixman_image_composite32(op, src.get(), nullptr, dst.get(), 0, 0, 0, 0, 0, 0, c_width,
                             c_height);
}

// The same image premultiplied, as pixman wants it.
std::vector<uint32_t> premultiplied(const Pixmap& image)
{
    std::vector<uint32_t> words(c_pixels);
    const Pixmap::Pixel* p = image.getPixels();
    for (int i = 0; i < c_pixels; ++i) {
        const uint32_t a = p[i].alpha;
        words[i] = a << 24 | (p[i].red * a / 255) << 16 | (p[i].green * a / 255) << 8 |
                   p[i].blue * a / 255;
    }
    return words;
}

void compareWriters(const Pixmap& frame, std::vector<Comparison>& rows)
{
    std::vector<uint8_t> device(static_cast<size_t>(c_pixels) * 4);
    std::vector<uint8_t> copy(device.size());
    PixmanImage source(PIXMAN_a8r8g8b8, const_cast<Pixmap::Pixel*>(frame.getPixels()), 4);

    struct Writer {
        const char* name;
        void (Pixmap::*write)(void*) const;
        pixman_format_code_t format;
        const char* formatName;
        int bytes;
        // Against pixman.
        double target;
    };
    const Writer writers[] = {
        {"writeRGB32", &Pixmap::writeRGB32, PIXMAN_x8r8g8b8, "x8r8g8b8", 4, 1.0},
        {"writeBGR16", &Pixmap::writeBGR16, PIXMAN_r5g6b5, "r5g6b5", 2, 1.2},
        {"writeRGB15", &Pixmap::writeRGB15, PIXMAN_x1b5g5r5, "x1b5g5r5", 2, 1.0},
    };
    for (const Writer& w : writers) {
        PixmanImage target(w.format, device.data(), w.bytes);
        const size_t bytes = static_cast<size_t>(c_pixels) * w.bytes;
        const std::vector<double> times = bestMicroseconds({
            [&] {
                (frame.*w.write)(device.data());
                g_sink = device[c_pixels / 2];
            },
            [&] {
                composite(PIXMAN_OP_SRC, source, target);
                g_sink = device[c_pixels / 2];
            },
            [&] {
                std::memcpy(copy.data(), device.data(), bytes);
                g_sink = copy[c_pixels / 2];
            },
        });
        rows.push_back({std::string(w.name) + " whole frame", times[0],
                        std::string("pixman SRC a8r8g8b8 -> ") + w.formatName, times[1], w.target});
        rows.push_back({std::string(w.name) + " whole frame", times[0],
                        "memcpy of " + std::to_string(bytes) + " bytes", times[2],
                        w.bytes == 4 ? 0.8 : 0.0});
    }
}

void compareBlends(const Pixmap& frame, std::vector<Comparison>& rows)
{
    const Color color(200, 100, 50, 128);
    Pixmap target = frame;
    std::vector<uint32_t> pixmanTarget(c_pixels);
    std::memcpy(pixmanTarget.data(), frame.getPixels(), pixmanTarget.size() * 4);
    PixmanImage destination(PIXMAN_x8r8g8b8, pixmanTarget.data(), 4);

    const auto channel = [&](int c) { return static_cast<uint16_t>(c * color.alpha / 255 * 257); };
    const pixman_color_t solid = {channel(color.red), channel(color.green), channel(color.blue),
                                  static_cast<uint16_t>(color.alpha * 257)};
    PixmanImage fill(solid);
    const std::vector<double> rectTimes = bestMicroseconds({
        [&] {
            target.drawSolidRect(0, 0, c_width, c_height, color);
            g_sink = target.getPixels()[c_pixels / 2].red;
        },
        [&] {
            composite(PIXMAN_OP_OVER, fill, destination);
            g_sink = static_cast<uint8_t>(pixmanTarget[c_pixels / 2]);
        },
    });
    rows.push_back({"drawSolidRect alpha 128, no alpha", rectTimes[0],
                    "pixman OVER solid -> x8r8g8b8", rectTimes[1], 0.5});

    const Pixmap image = makeTranslucentImage(c_width, c_height);
    std::vector<uint32_t> imageWords = premultiplied(image);
    PixmanImage source(PIXMAN_a8r8g8b8, imageWords.data(), 4);
    const std::vector<double> blitTimes = bestMicroseconds({
        [&] {
            target.drawPixmap(0, 0, image);
            g_sink = target.getPixels()[c_pixels / 2].red;
        },
        [&] {
            composite(PIXMAN_OP_OVER, source, destination);
            g_sink = static_cast<uint8_t>(pixmanTarget[c_pixels / 2]);
        },
    });
    rows.push_back({"drawPixmap alpha over no alpha", blitTimes[0],
                    "pixman OVER a8r8g8b8 -> x8r8g8b8", blitTimes[1], 1.0});
}

} // namespace

int main()
{
    std::printf("%d x %d frame; best of %d rounds of %d runs; ratio = reference time / ours\n\n",
                c_width, c_height, c_rounds, c_runsPerRound);
    const Pixmap frame = makeOpaqueImage(c_width, c_height);
    std::vector<Comparison> rows;
    compareWriters(frame, rows);
    compareBlends(frame, rows);
    printTable(rows);
    return 0;
}
