// Times Pixmap::drawString on one 800 x 480 frame against cairo's show_text
// drawing into the same pixels through Pixmap::getCairo(), with the same font
// file at the same pixel size, and prints glyphs per second with the ratio
// (ours over cairo's; above 1.0 is faster). Both keep rendered glyphs in
// their caches, and the first run of each is not timed. Cairo's toy text API
// neither shapes nor reorders, so it is given the visual string drawString
// computes: its figure leaves out the bidi work that ours includes.
// drawString keeps the visual order of the line it drew last, which the
// same line drawn on every line of the frame finds each time; the cases whose
// lines alternate between two texts show the time with bidi on every line.
//
// Usage: text_bench [font directory]

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cairomm/context.h>
#include <cairomm/fontface.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Utf8.h"
#include "graphics/Pixmap.h"
#include "text/Bidi.h"
#include "text/Font.h"
#include "text/FontFace.h"

using namespace OKU;

namespace {

const int c_width = 800;
const int c_height = 480;
const int c_pixelSize = 16;
const int c_lineStep = 24;
const int c_lines = c_height / c_lineStep;
const int c_rounds = 30;
const int c_runsPerRound = 40;
const Color c_ink(0, 0, 0);
const wchar_t* const c_arabic = L"\u0645\u0631\u062D\u0628\u0627 \u0628\u0643\u0645 \u0641\u064A "
                                L"\u0627\u0644\u0628\u0631\u0646\u0627\u0645";
// The same letters, the words in another order.
const wchar_t* const c_arabicOther =
    L"\u0641\u064A \u0645\u0631\u062D\u0628\u0627 \u0628\u0643\u0645 "
    L"\u0627\u0644\u0628\u0631\u0646\u0627\u0645";

// One FreeType library and face for cairo, apart from the toolkit's own.
class CairoFtFace {
public:
    explicit CairoFtFace(const std::string& path)
    {
        if (FT_Init_FreeType(&m_library) != 0)
            throw std::runtime_error("FT_Init_FreeType failed");
        if (FT_New_Face(m_library, path.c_str(), 0, &m_face) != 0) {
            FT_Done_FreeType(m_library);
            throw std::runtime_error("Cannot open \"" + path + "\"");
        }
    }
    CairoFtFace(const CairoFtFace&) = delete;
    CairoFtFace& operator=(const CairoFtFace&) = delete;
    ~CairoFtFace()
    {
        FT_Done_Face(m_face);
        FT_Done_FreeType(m_library);
    }

    FT_Face get() const { return m_face; }

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

// The best time of one run, in microseconds; the rounds of the two
// alternate, so that a busy machine slows both alike.
std::vector<double> bestMicroseconds(const std::vector<std::function<void()>>& runs)
{
    std::vector<double> best(runs.size(), 1e300);
    for (const auto& run : runs)
        run();
    for (int round = 0; round < c_rounds; ++round) {
        for (size_t k = 0; k < runs.size(); ++k) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < c_runsPerRound; ++i)
                runs[k]();
            const auto end = std::chrono::steady_clock::now();
            best[k] = std::min(
                best[k],
                std::chrono::duration<double, std::micro>(end - start).count() / c_runsPerRound);
        }
    }
    return best;
}

bool hasInk(const Pixmap& p)
{
    const Pixmap::Pixel white{255, 255, 255, 255};
    return std::any_of(p.getPixels(), p.getPixels() + p.getPixelCount(),
                       [&white](const Pixmap::Pixel& px) { return px != white; });
}

struct Case {
    const char* name;
    const char* fontFile;
    std::wstring text;
    // Drawn on every other line when not empty.
    std::wstring other;
    // The least ratio aimed at; 0 for none.
    double target;
};

// Draws the text on every line of a frame with both renderers and prints one
// row of the table.
void runCase(const std::string& fontDir, const Case& c)
{
    const std::string path = fontDir + "/" + c.fontFile;
    Font font;
    font.addFace(std::make_shared<const FontFace>(path, c_pixelSize, 0));
    const std::wstring& other = c.other.empty() ? c.text : c.other;
    const std::wstring visual[] = {Bidi::string(c.text, 0), Bidi::string(other, 0)};
    const std::string visualUtf8[] = {utf8Encode(visual[0]), utf8Encode(visual[1])};
    const size_t glyphs = (visual[0].size() + visual[1].size()) * c_lines / 2;

    Pixmap ours(c_width, c_height, Color(255, 255, 255));
    Pixmap theirs(c_width, c_height, Color(255, 255, 255));
    const CairoFtFace ftFace(path);
    const Cairo::RefPtr<Cairo::Context> cairo = theirs.getCairo();
    cairo->set_font_face(Cairo::FtFontFace::create(ftFace.get(), FT_LOAD_NO_BITMAP));
    cairo->set_font_size(c_pixelSize);
    cairo->set_source_rgb(0, 0, 0);

    const auto drawOurs = [&]() {
        for (int line = 0; line < c_lines; ++line)
            ours.drawString(10, line * c_lineStep, font, line % 2 ? other : c.text, c_ink,
                            HAlign::LEFT, VAlign::TOP, 0);
    };
    const auto drawCairo = [&]() {
        for (int line = 0; line < c_lines; ++line) {
            cairo->move_to(10, line * c_lineStep + font.getAscender());
            cairo->show_text(visualUtf8[line % 2]);
        }
    };
    const std::vector<double> us = bestMicroseconds({drawOurs, drawCairo});
    if (!hasInk(ours) || !hasInk(theirs))
        std::printf("warning: %s drew nothing\n", hasInk(ours) ? "cairo" : "drawString");

    const double oursRate = glyphs / us[0] * 1e6;
    const double cairoRate = glyphs / us[1] * 1e6;
    const double ratio = oursRate / cairoRate;
    std::printf("%-34s %8zu %14.0f %14.0f %7.2f", c.name, glyphs, oursRate, cairoRate, ratio);
    if (c.target > 0)
        std::printf(" %7.2f%s", c.target, ratio >= c.target ? "" : "  missed");
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string fontDir = argc > 1 ? argv[1] : OKU_FONT_DIR;
    const Case cases[] = {
        {"Latin, 40 characters, 16 px", "DroidSans.ttf",
         L"The quick brown fox jumps over a lazy do", L"", 2.0},
        {"Arabic, 20 characters, 16 px", "DroidSansArabic.ttf", c_arabic, L"", 3.0},
        {"Latin, lines alternating", "DroidSans.ttf", L"The quick brown fox jumps over a lazy do",
         L"A lazy dog jumps over the quick brown fo", 0},
        {"Arabic, lines alternating", "DroidSansArabic.ttf", c_arabic, c_arabicOther, 0},
    };
    std::printf("drawString into an 800 x 480 pixmap without alpha, %d lines per frame\n",
                c_lines);
    std::printf("%-34s %8s %14s %14s %7s %7s\n", "text", "glyphs", "ours glyphs/s",
                "cairo glyphs/s", "ratio", "target");
    for (const Case& c : cases)
        runCase(fontDir, c);
    return 0;
}
