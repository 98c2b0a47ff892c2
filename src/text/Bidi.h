#ifndef OKU_TEXT_BIDI_H
#define OKU_TEXT_BIDI_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/Visibility.h"
#include "graphics/Alignment.h"

namespace OKU {

/// Turns logical text into the text to draw from left to right: Arabic letters
/// take their contextual presentation forms, embedding levels are resolved by a
/// compact form of the Unicode bidirectional algorithm, paired characters are
/// mirrored and runs reversed. Only static members: the class keeps no state.
///
/// The compact resolution differs from the full algorithm on purpose: the weak
/// and neutral rules run over the whole paragraph with the paragraph's
/// direction as start and end type instead of per isolating run sequence,
/// explicit codes stay in the text as BN instead of being removed, there are no
/// isolates and no bracket pairs, and only separators (not trailing white
/// space) fall back to the paragraph level.
class Bidi {
public:
    /// Requested base direction (see BidiMode).
    typedef BidiMode Mode;

    /// Bidirectional character classes, in the order the type tables store them.
    enum Type : unsigned char {
        L,   ///< left to right
        LRE, ///< left-to-right embedding
        LRO, ///< left-to-right override
        R,   ///< right to left
        AL,  ///< Arabic letter
        RLE, ///< right-to-left embedding
        RLO, ///< right-to-left override
        PDF, ///< pop directional formatting
        EN,  ///< European number
        ES,  ///< European number separator
        ET,  ///< European number terminator
        AN,  ///< Arabic number
        CS,  ///< common number separator
        NSM, ///< non-spacing mark
        BN,  ///< boundary neutral
        B,   ///< paragraph separator
        S,   ///< segment separator
        WS,  ///< whitespace
        ON   ///< other neutral
    };

    /// The resolution state of one character, kept parallel to the text.
    struct Char {
        Type initial;        ///< from the type table; never changed
        Type type;           ///< rewritten by the resolution steps
        unsigned char level; ///< embedding level
    };

    /// Characters up to and including a paragraph separator (B), or up to the
    /// end of the text, with the base level they were resolved at.
    struct Paragraph {
        Char* begin;
        Char* end;
        unsigned char level;
    };

    /// Presentation forms of one Arabic letter, 0 where none exists.
    enum Form { ISOLATED, FINAL, MEDIAL, INITIAL };
    typedef std::array<wchar_t, 4> Shape;

    /// Deepest level an embedding or override opens. Deeper codes are counted
    /// but open nothing, so that their PDFs close nothing either; the implicit
    /// step can then still add 2 without leaving a byte.
    static constexpr unsigned char c_maxExplicitLevel = 125;

    Bidi() = delete;

    /// The class of a character; code points outside the tables are L, apart
    /// from the Arabic presentation forms, which are AL.
    static Type getType(wchar_t c);

    /// The direction of the first strong character (L gives true, R and AL
    /// false); a text without one follows the current language.
    static bool isLTR(const std::wstring& text);

    /// The presentation forms of an Arabic letter, or null for any other
    /// character.
    static const Shape* getArabicShape(wchar_t c);

    /// Lam-alef: when previous is lam in initial or medial form and next is a
    /// final alef (plain, with madda, hamza above or hamza below), previous
    /// becomes the isolated or final ligature and the result is true.
    static bool mergeLigature(wchar_t& previous, wchar_t next);

    /// Replaces Arabic letters by their contextual forms, joining across
    /// non-spacing marks, and merges lam-alef pairs; the result can therefore
    /// be shorter than the text.
    static std::wstring shape(const std::wstring& text)
    {
        std::wstring shaped;
        shape(text.data(), text.data() + text.size(), shaped);
        return shaped;
    }
    /// shape() of begin..end into shaped, whose memory is reused.
    static void shape(const wchar_t* begin, const wchar_t* end, std::wstring& shaped);

    /// One Char per character of begin..end into chars: both types from the
    /// table, level 0.
    static void classify(const wchar_t* begin, const wchar_t* end, Char* chars);

    /// shape() of begin..end into shaped, and its classify() into chars.
    static void shapeAndClassify(const wchar_t* begin, const wchar_t* end, std::wstring& shaped,
                                 std::vector<Char>& chars);

    /// L when the first strong character's current type is L, R when it is R
    /// or AL, the current language's direction when there is none.
    static Type resolveRuntype(const Char* begin, const Char* end);

    /// Where the paragraph starting at begin ends: just after its paragraph
    /// separator, or at end.
    static Char* paragraphEnd(Char* begin, Char* end);

    /// Splits begin..end after every paragraph separator and resolves each
    /// paragraph on its own with resolve().
    static std::vector<Paragraph> resolveParagraphs(Char* begin, Char* end, Mode mode);

    /// Resolves the levels of one paragraph from the initial types: explicit,
    /// weak, neutral and implicit steps, then separators. Returns the base
    /// level.
    static unsigned char resolve(Char* begin, Char* end, Mode mode);

    /// The steps of resolve(). The base type is L or R, the base level 0 or 1.
    static void resolveExplicit(Char* begin, Char* end, unsigned char baseLevel);
    static void resolveWeak(Char* begin, Char* end, Type baseType);
    static void resolveNeutral(Char* begin, Char* end, Type baseType);
    static void resolveImplicit(Char* begin, Char* end);
    /// Segment and paragraph separators get the base level; explicit codes
    /// and boundary neutrals the level of the character before them (the base
    /// level at the start), so that they never split a run when reordering.
    static void resolveSeparators(Char* begin, Char* end, unsigned char baseLevel);

    /// Exchanges the paired characters ( ) [ ] { } < > and the guillemets at
    /// odd levels. text holds one character per Char of begin..end.
    static void mirror(wchar_t* text, const Char* begin, const Char* end);

    /// The display order of begin..end: entry i is the offset of the character
    /// shown i-th from the left. Runs are reversed from the highest level down
    /// to 1; at odd levels a base character keeps its marks after it.
    static std::vector<std::size_t> visualOrder(const Char* begin, const Char* end);

    /// mirror() and then text rearranged by visualOrder(); for one paragraph
    /// or line.
    static void mirrorAndReorder(wchar_t* text, const Char* begin, const Char* end);

    /// The whole pipeline: the shaped text in display order, each paragraph
    /// reordered on its own. Explicit codes stay in the result.
    static std::wstring string(const std::wstring& text, Mode mode)
    {
        return string(text.data(), text.data() + text.size(), mode);
    }
    static std::wstring string(const wchar_t* begin, const wchar_t* end, Mode mode)
    {
        std::wstring visual;
        string(begin, end, mode, visual);
        return visual;
    }
    /// The same into visual, whose memory is reused: for callers that convert
    /// text often, such as every drawn line.
    static void string(const wchar_t* begin, const wchar_t* end, Mode mode, std::wstring& visual);
    /// Whether the visual string is the text itself: nothing from the Hebrew
    /// block upward (no right-to-left, Arabic or explicit characters), one
    /// paragraph, and a left-to-right base, so every level stays 0.
    static bool isPlainLTR(const wchar_t* begin, const wchar_t* end, Mode mode);

    /// s between LEFT-TO-RIGHT or RIGHT-TO-LEFT OVERRIDE and POP DIRECTIONAL
    /// FORMATTING, which forces its direction inside other text.
    static std::wstring lro(const std::wstring& s);
    static std::string lro(const std::string& s);
    static std::wstring rlo(const std::wstring& s);
    static std::string rlo(const std::string& s);

private:
    /// One class per code point for the blocks where the classes vary.
    OKU_LOCAL static const std::array<Type, 0x100> s_chtype_0000; ///< U+0000..U+00FF
    OKU_LOCAL static const std::array<Type, 0x70> s_chtype_0590;  ///< U+0590..U+05FF
    OKU_LOCAL static const std::array<Type, 0x100> s_chtype_0600; ///< U+0600..U+06FF
    OKU_LOCAL static const std::array<Type, 0x80> s_chtype_0E00;  ///< U+0E00..U+0E7F
    OKU_LOCAL static const std::array<Type, 0x70> s_chtype_2000;  ///< U+2000..U+206F

    /// One entry per Arabic letter that has presentation forms, in code point
    /// order, and the entry number of every code point of U+0621..U+06D3
    /// (c_noShape where there is none).
    static constexpr unsigned char c_noShape = 255;
    OKU_LOCAL static const std::array<Shape, 76> s_arabic_shapes;
    OKU_LOCAL static const std::array<unsigned char, 0x06D3 - 0x0621 + 1> s_arabic_index;
};

} // namespace OKU

#endif
