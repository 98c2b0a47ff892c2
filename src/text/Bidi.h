#ifndef OKU_TEXT_BIDI_H
#define OKU_TEXT_BIDI_H

#include <array>
#include <string>

namespace OKU {

// Bidirectional reordering of text for display. Only static members: the
// class keeps no state.
class Bidi {
public:
    // Requested base direction: 0 from the first strong character (else the
    // language's direction), 1 and 3 right to left, anything else left to right.
    typedef int Mode;

    // Bidirectional character classes, in the order the type tables store them.
    enum Type : unsigned char {
        L,   // left to right
        LRE, // left-to-right embedding
        LRO, // left-to-right override
        R,   // right to left
        AL,  // Arabic letter
        RLE, // right-to-left embedding
        RLO, // right-to-left override
        PDF, // pop directional formatting
        EN,  // European number
        ES,  // European number separator
        ET,  // European number terminator
        AN,  // Arabic number
        CS,  // common number separator
        NSM, // non-spacing mark
        BN,  // boundary neutral
        B,   // paragraph separator
        S,   // segment separator
        WS,  // whitespace
        ON   // other neutral
    };

    Bidi() = delete;

    // The class of a character; code points outside the tables are L, apart
    // from the Arabic presentation forms, which are AL.
    static Type getType(wchar_t c);

    // The direction of the first strong character (L gives true, R and AL
    // false); a text without one follows the current language.
    static bool isLTR(const std::wstring& text);

private:
    // One class per code point for the blocks where the classes vary.
    static const std::array<Type, 0x100> s_chtype_0000; // U+0000..U+00FF
    static const std::array<Type, 0x70> s_chtype_0590;  // U+0590..U+05FF
    static const std::array<Type, 0x100> s_chtype_0600; // U+0600..U+06FF
    static const std::array<Type, 0x80> s_chtype_0E00;  // U+0E00..U+0E7F
    static const std::array<Type, 0x70> s_chtype_2000;  // U+2000..U+206F
};

} // namespace OKU

#endif
