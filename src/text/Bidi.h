#ifndef OKU_TEXT_BIDI_H
#define OKU_TEXT_BIDI_H

namespace OKU {

// Bidirectional reordering of text for display.
class Bidi {
public:
    // Requested base direction: 0 from the first strong character (else the
    // language's direction), 1 and 3 right to left, anything else left to right.
    typedef int Mode;
};

} // namespace OKU

#endif
