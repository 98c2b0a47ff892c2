#include "text/L10n.h"

#include <atomic>

namespace OKU {

namespace {

// The direction of the current language; left to right until a language is
// loaded. Any thread may ask while the GUI thread lays out text.
std::atomic<bool> g_languageIsLTR(true);

} // namespace

bool l10nIsLTR()
{
    return g_languageIsLTR.load();
}

} // namespace OKU
