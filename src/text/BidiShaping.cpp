#include "text/Bidi.h"

#include <cstdint>

namespace OKU {

namespace {

struct LetterShape {
    wchar_t letter;
    Bidi::Shape forms; // isolated, final, medial, initial
};

constexpr wchar_t c_firstShaped = 0x0621;
constexpr wchar_t c_lastShaped = 0x06D3;

// Every letter of U+0621..U+06D3 that has presentation forms, each form being
// the character whose compatibility decomposition is the letter tagged
// isolated, final, medial or initial.
constexpr LetterShape c_letterShapes[] = {
    {0x0621, {0xFE80, 0, 0, 0}}, // hamza
    {0x0622, {0xFE81, 0xFE82, 0, 0}}, // alef with madda above
    {0x0623, {0xFE83, 0xFE84, 0, 0}}, // alef with hamza above
    {0x0624, {0xFE85, 0xFE86, 0, 0}}, // waw with hamza above
    {0x0625, {0xFE87, 0xFE88, 0, 0}}, // alef with hamza below
    {0x0626, {0xFE89, 0xFE8A, 0xFE8C, 0xFE8B}}, // yeh with hamza above
    {0x0627, {0xFE8D, 0xFE8E, 0, 0}}, // alef
    {0x0628, {0xFE8F, 0xFE90, 0xFE92, 0xFE91}}, // beh
    {0x0629, {0xFE93, 0xFE94, 0, 0}}, // teh marbuta
    {0x062A, {0xFE95, 0xFE96, 0xFE98, 0xFE97}}, // teh
    {0x062B, {0xFE99, 0xFE9A, 0xFE9C, 0xFE9B}}, // theh
    {0x062C, {0xFE9D, 0xFE9E, 0xFEA0, 0xFE9F}}, // jeem
    {0x062D, {0xFEA1, 0xFEA2, 0xFEA4, 0xFEA3}}, // hah
    {0x062E, {0xFEA5, 0xFEA6, 0xFEA8, 0xFEA7}}, // khah
    {0x062F, {0xFEA9, 0xFEAA, 0, 0}}, // dal
    {0x0630, {0xFEAB, 0xFEAC, 0, 0}}, // thal
    {0x0631, {0xFEAD, 0xFEAE, 0, 0}}, // reh
    {0x0632, {0xFEAF, 0xFEB0, 0, 0}}, // zain
    {0x0633, {0xFEB1, 0xFEB2, 0xFEB4, 0xFEB3}}, // seen
    {0x0634, {0xFEB5, 0xFEB6, 0xFEB8, 0xFEB7}}, // sheen
    {0x0635, {0xFEB9, 0xFEBA, 0xFEBC, 0xFEBB}}, // sad
    {0x0636, {0xFEBD, 0xFEBE, 0xFEC0, 0xFEBF}}, // dad
    {0x0637, {0xFEC1, 0xFEC2, 0xFEC4, 0xFEC3}}, // tah
    {0x0638, {0xFEC5, 0xFEC6, 0xFEC8, 0xFEC7}}, // zah
    {0x0639, {0xFEC9, 0xFECA, 0xFECC, 0xFECB}}, // ain
    {0x063A, {0xFECD, 0xFECE, 0xFED0, 0xFECF}}, // ghain
    {0x0641, {0xFED1, 0xFED2, 0xFED4, 0xFED3}}, // feh
    {0x0642, {0xFED5, 0xFED6, 0xFED8, 0xFED7}}, // qaf
    {0x0643, {0xFED9, 0xFEDA, 0xFEDC, 0xFEDB}}, // kaf
    {0x0644, {0xFEDD, 0xFEDE, 0xFEE0, 0xFEDF}}, // lam
    {0x0645, {0xFEE1, 0xFEE2, 0xFEE4, 0xFEE3}}, // meem
    {0x0646, {0xFEE5, 0xFEE6, 0xFEE8, 0xFEE7}}, // noon
    {0x0647, {0xFEE9, 0xFEEA, 0xFEEC, 0xFEEB}}, // heh
    {0x0648, {0xFEED, 0xFEEE, 0, 0}}, // waw
    {0x0649, {0xFEEF, 0xFEF0, 0xFBE9, 0xFBE8}}, // alef maksura
    {0x064A, {0xFEF1, 0xFEF2, 0xFEF4, 0xFEF3}}, // yeh
    {0x0671, {0xFB50, 0xFB51, 0, 0}}, // alef wasla
    {0x0677, {0xFBDD, 0, 0, 0}}, // u with hamza above
    {0x0679, {0xFB66, 0xFB67, 0xFB69, 0xFB68}}, // tteh
    {0x067A, {0xFB5E, 0xFB5F, 0xFB61, 0xFB60}}, // tteheh
    {0x067B, {0xFB52, 0xFB53, 0xFB55, 0xFB54}}, // beeh
    {0x067E, {0xFB56, 0xFB57, 0xFB59, 0xFB58}}, // peh
    {0x067F, {0xFB62, 0xFB63, 0xFB65, 0xFB64}}, // teheh
    {0x0680, {0xFB5A, 0xFB5B, 0xFB5D, 0xFB5C}}, // beheh
    {0x0683, {0xFB76, 0xFB77, 0xFB79, 0xFB78}}, // nyeh
    {0x0684, {0xFB72, 0xFB73, 0xFB75, 0xFB74}}, // dyeh
    {0x0686, {0xFB7A, 0xFB7B, 0xFB7D, 0xFB7C}}, // tcheh
    {0x0687, {0xFB7E, 0xFB7F, 0xFB81, 0xFB80}}, // tcheheh
    {0x0688, {0xFB88, 0xFB89, 0, 0}}, // ddal
    {0x068C, {0xFB84, 0xFB85, 0, 0}}, // dahal
    {0x068D, {0xFB82, 0xFB83, 0, 0}}, // ddahal
    {0x068E, {0xFB86, 0xFB87, 0, 0}}, // dul
    {0x0691, {0xFB8C, 0xFB8D, 0, 0}}, // rreh
    {0x0698, {0xFB8A, 0xFB8B, 0, 0}}, // jeh
    {0x06A4, {0xFB6A, 0xFB6B, 0xFB6D, 0xFB6C}}, // veh
    {0x06A6, {0xFB6E, 0xFB6F, 0xFB71, 0xFB70}}, // peheh
    {0x06A9, {0xFB8E, 0xFB8F, 0xFB91, 0xFB90}}, // keheh
    {0x06AD, {0xFBD3, 0xFBD4, 0xFBD6, 0xFBD5}}, // ng
    {0x06AF, {0xFB92, 0xFB93, 0xFB95, 0xFB94}}, // gaf
    {0x06B1, {0xFB9A, 0xFB9B, 0xFB9D, 0xFB9C}}, // ngoeh
    {0x06B3, {0xFB96, 0xFB97, 0xFB99, 0xFB98}}, // gueh
    {0x06BA, {0xFB9E, 0xFB9F, 0, 0}}, // noon ghunna
    {0x06BB, {0xFBA0, 0xFBA1, 0xFBA3, 0xFBA2}}, // rnoon
    {0x06BE, {0xFBAA, 0xFBAB, 0xFBAD, 0xFBAC}}, // heh doachashmee
    {0x06C0, {0xFBA4, 0xFBA5, 0, 0}}, // heh with yeh above
    {0x06C1, {0xFBA6, 0xFBA7, 0xFBA9, 0xFBA8}}, // heh goal
    {0x06C5, {0xFBE0, 0xFBE1, 0, 0}}, // kirghiz oe
    {0x06C6, {0xFBD9, 0xFBDA, 0, 0}}, // oe
    {0x06C7, {0xFBD7, 0xFBD8, 0, 0}}, // u
    {0x06C8, {0xFBDB, 0xFBDC, 0, 0}}, // yu
    {0x06C9, {0xFBE2, 0xFBE3, 0, 0}}, // kirghiz yu
    {0x06CB, {0xFBDE, 0xFBDF, 0, 0}}, // ve
    {0x06CC, {0xFBFC, 0xFBFD, 0xFBFF, 0xFBFE}}, // farsi yeh
    {0x06D0, {0xFBE4, 0xFBE5, 0xFBE7, 0xFBE6}}, // e
    {0x06D2, {0xFBAE, 0xFBAF, 0, 0}}, // yeh barree
    {0x06D3, {0xFBB0, 0xFBB1, 0, 0}}, // yeh barree with hamza above
};

template <std::size_t N>
constexpr bool ascendingWithin(const LetterShape (&letters)[N], wchar_t first, wchar_t last) {
    wchar_t previous = first - 1;
    for (const LetterShape& shape : letters) {
        if (shape.letter <= previous || shape.letter > last)
            return false;
        previous = shape.letter;
    }
    return true;
}

static_assert(ascendingWithin(c_letterShapes, c_firstShaped, c_lastShaped),
              "shaped letters out of order or out of range");

template <std::size_t N>
constexpr std::array<Bidi::Shape, N> shapesOf(const LetterShape (&letters)[N]) {
    std::array<Bidi::Shape, N> shapes{};
    for (std::size_t i = 0; i < N; ++i)
        shapes[i] = letters[i].forms;
    return shapes;
}

template <std::size_t N>
constexpr std::array<unsigned char, c_lastShaped - c_firstShaped + 1>
indexOf(const LetterShape (&letters)[N], unsigned char none) {
    std::array<unsigned char, c_lastShaped - c_firstShaped + 1> index{};
    for (unsigned char& entry : index)
        entry = none;
    for (std::size_t i = 0; i < N; ++i)
        index[letters[i].letter - c_firstShaped] = static_cast<unsigned char>(i);
    return index;
}

// A final alef and the lam-alef ligatures it forms after an initial and after
// a medial lam.
struct LamAlef {
    wchar_t finalAlef;
    wchar_t isolatedLigature;
    wchar_t finalLigature;
};

constexpr wchar_t c_initialLam = 0xFEDF;
constexpr wchar_t c_medialLam = 0xFEE0;

constexpr LamAlef c_lamAlefs[] = {
    {0xFE82, 0xFEF5, 0xFEF6}, // with madda above
    {0xFE84, 0xFEF7, 0xFEF8}, // with hamza above
    {0xFE88, 0xFEF9, 0xFEFA}, // with hamza below
    {0xFE8E, 0xFEFB, 0xFEFC}, // plain
};

// The shape of the next character that is not a non-spacing mark, since
// marks do not interrupt joining; null at the end or for a non-letter.
const Bidi::Shape* nextShape(const wchar_t* p, const wchar_t* end) {
    while (p != end && Bidi::getType(*p) == Bidi::NSM)
        ++p;
    return p == end ? nullptr : Bidi::getArabicShape(*p);
}

void shapeRange(const wchar_t* begin, const wchar_t* end, std::wstring& shaped) {
    shaped.clear();
    shaped.reserve(static_cast<std::size_t>(end - begin));
    // Whether the letter written last joins the current one.
    bool joined = false;
    for (const wchar_t* p = begin; p != end; ++p) {
        const Bidi::Shape* shape = Bidi::getArabicShape(*p);
        if (!shape) {
            if (Bidi::getType(*p) != Bidi::NSM)
                joined = false;
            shaped.push_back(*p);
            continue;
        }
        const Bidi::Shape* next = nextShape(p + 1, end);
        const bool nextJoins = next && (*next)[Bidi::FINAL] != 0;
        wchar_t form;
        if (joined) {
            if (nextJoins && (*shape)[Bidi::MEDIAL] != 0) {
                form = (*shape)[Bidi::MEDIAL];
            } else {
                form = (*shape)[Bidi::FINAL];
                joined = false;
            }
        } else if (nextJoins && (*shape)[Bidi::INITIAL] != 0) {
            form = (*shape)[Bidi::INITIAL];
            joined = true;
        } else {
            form = (*shape)[Bidi::ISOLATED];
        }
        if (shaped.empty() || !Bidi::mergeLigature(shaped.back(), form))
            shaped.push_back(form);
    }
}

} // namespace

const std::array<Bidi::Shape, 76> Bidi::s_arabic_shapes = shapesOf(c_letterShapes);
const std::array<unsigned char, 0x06D3 - 0x0621 + 1> Bidi::s_arabic_index =
    indexOf(c_letterShapes, c_noShape);

const Bidi::Shape* Bidi::getArabicShape(wchar_t c) {
    // Unsigned, so that values below the range wrap far above it.
    const std::uint32_t offset = static_cast<std::uint32_t>(c) - c_firstShaped;
    if (offset >= s_arabic_index.size() || s_arabic_index[offset] == c_noShape)
        return nullptr;
    return &s_arabic_shapes[s_arabic_index[offset]];
}

bool Bidi::mergeLigature(wchar_t& previous, wchar_t next) {
    if (previous != c_initialLam && previous != c_medialLam)
        return false;
    for (const LamAlef& lamAlef : c_lamAlefs) {
        if (lamAlef.finalAlef == next) {
            previous = previous == c_initialLam ? lamAlef.isolatedLigature : lamAlef.finalLigature;
            return true;
        }
    }
    return false;
}

void Bidi::shape(const wchar_t* begin, const wchar_t* end, std::wstring& shaped) {
    shapeRange(begin, end, shaped);
}

void Bidi::classify(const wchar_t* begin, const wchar_t* end, Char* chars) {
    for (const wchar_t* p = begin; p != end; ++p, ++chars) {
        const Type type = getType(*p);
        *chars = Char{type, type, 0};
    }
}

void Bidi::shapeAndClassify(const wchar_t* begin, const wchar_t* end, std::wstring& shaped,
                            std::vector<Char>& chars) {
    shapeRange(begin, end, shaped);
    chars.resize(shaped.size());
    classify(shaped.data(), shaped.data() + shaped.size(), chars.data());
}

} // namespace OKU
