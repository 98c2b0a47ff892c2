#ifndef OKU_TEXT_L10N_H
#define OKU_TEXT_L10N_H

namespace OKU {

// Whether the current language is written left to right; true until a
// right-to-left language is loaded.
bool l10nIsLTR();

} // namespace OKU

#endif
