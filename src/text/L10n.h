#ifndef OKU_TEXT_L10N_H
#define OKU_TEXT_L10N_H

#include <ios>
#include <sigc++/sigc++.h>
#include <string>

namespace OKU {

/// How a language writes numbers and which way its text runs. Languages are
/// grouped by this behaviour only; their words come from the language file.
enum class L10n_Language {
    WESTERN = 0,               ///< "0".."9", ".", left to right
    DECIMAL_COMMA = 1,         ///< "0".."9", ",", left to right
    WESTERN_RTL = 2,           ///< "0".."9", ".", right to left
    ARABIC_INDIC = 3,          ///< U+0660..U+0669, U+066B, right to left
    EXTENDED_ARABIC_INDIC = 4, ///< U+06F0..U+06F9, U+066B, right to left
    THAI = 5                   ///< U+0E50..U+0E59, ".", left to right
};

/// The languages the product offers.
enum class Language {
    ENGLISH = 0,
    ARABIC = 1,
    BULGARIAN = 2,
    CHINESE = 3,
    CROATIAN = 4,
    CZECH = 5,
    DANISH = 6,
    DUTCH = 7,
    FINNISH = 8,
    FRENCH = 9,
    GERMAN = 10,
    HEBREW = 11,
    HUNGARIAN = 12,
    ITALIAN = 13,
    JAPANESE = 14,
    NORWEGIAN = 15,
    PERSIAN = 16,
    POLISH = 17,
    PORTUGUESE = 18,
    ROMANIAN = 19,
    RUSSIAN = 20,
    SLOVAK = 21,
    SLOVENIAN = 22,
    SPANISH = 23,
    SWEDISH = 24,
    KOREAN = 25
};

/// The behaviour class of a language; WESTERN for values outside the list.
L10n_Language toL10nLanguage(Language language);

/// Replaces the program's table by the one in the language file at path and
/// makes language current. An empty path empties the program's table and
/// returns to the WESTERN behaviour. A missing or truncated file returns
/// false and changes nothing. Every success re-reads whether
/// OKU_L10N_WARNINGS is set and emits l10nLanguageSignal once the new state
/// is in place. The toolkit's table stays as it is.
bool l10nLoadLanguage(const std::string& path, L10n_Language language);
inline bool l10nLoadLanguage(const std::string& path, Language language)
{
    return l10nLoadLanguage(path, toL10nLanguage(language));
}

/// Replaces the toolkit's table by the one in the language file at path; an
/// empty path empties it, so that the toolkit's words are shown as written
/// (in English). The toolkit's table holds the words of its own widgets
/// ("OK", "Cancel", the calibration page); it is installed with the library
/// for every language the toolkit ships, below the lng directory of its data
/// (OKU_DATA_DIR/lng), under the name l10nToolkitTableName gives.
/// The program's table and the current language's behaviour (digits,
/// direction: the program's choice) stay as they are. A missing or truncated
/// file returns false and changes nothing. Every success re-reads whether
/// OKU_L10N_WARNINGS is set and emits l10nLanguageSignal once. GUI thread
/// only.
///
/// A program loads the toolkit's table for its language beside its own, in
/// either order. To switch languages at run time it loads both again, an
/// empty path for a table the new language lacks, so that no word of the
/// previous language stays behind:
///
///     l10nLoadToolkitLanguage(dataDir + "/lng/" + l10nToolkitTableName("de"));
///     l10nLoadLanguage(programDir + "/lng/de.lng", L10n_Language::DECIMAL_COMMA);
bool l10nLoadToolkitLanguage(const std::string& path);

/// The name of the toolkit's table for a language code ("de" gives
/// "oku/de.lng"), relative to a directory of language tables: it cannot
/// clash with the name of a program's own table ("de.lng") beside it.
std::string l10nToolkitTableName(const std::string& code);

/// The translation of text: the program's table's, else the toolkit's. Without
/// an entry in either the text is shown as written up to its first "|": what
/// follows serves only to tell the table apart identical words used in
/// different places ("Open|menu"). Misses are reported on standard error
/// when OKU_L10N_WARNINGS was set at the last load.
std::wstring l10nTranslate(const std::wstring& text);

/// Localise a text of Western digits: native digits for languages 3 to 5, and
/// every "." turned into the current language's decimal separator for
/// languages 1, 3, 4 and 5. The forms without a language use the current one.
std::wstring l10nNumber(const std::wstring& digits);
std::wstring l10nNumber(L10n_Language language, const std::wstring& digits);
/// Right-aligned in at least width characters, padded with "0" when zeroFill,
/// else with spaces; base is std::ios_base::dec, hex or oct.
std::wstring l10nNumber(long long value, int width, bool zeroFill,
                        std::ios_base::fmtflags base = std::ios_base::dec);
std::wstring l10nNumber(L10n_Language language, long long value, int width, bool zeroFill,
                        std::ios_base::fmtflags base = std::ios_base::dec);
/// Fixed-point with exactly decimals digits after the point.
std::wstring l10nNumber(double value, int decimals);
std::wstring l10nNumber(L10n_Language language, double value, int decimals);
/// Six significant digits in general notation, localised.
std::wstring l10nFloat(double value);
/// Back to Western digits and "." (for parsing what the user sees).
std::wstring l10nNumberToNormal(const std::wstring& text);

wchar_t l10nZero();
wchar_t l10nZero(L10n_Language language);
/// The current language's decimal separator.
wchar_t l10nDecimalSeparator();

/// Whether the current language is written left to right. Safe from any thread.
bool l10nIsLTR();

/// Emitted on the GUI thread after every successful l10nLoadLanguage and
/// l10nLoadToolkitLanguage; widgets showing translated text lay themselves
/// out again.
extern sigc::signal<void> l10nLanguageSignal;

} // namespace OKU

#endif
