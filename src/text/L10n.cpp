#include "text/L10n.h"

#include <atomic>
#include <cstdlib>
#include <initializer_list>
#include <iostream>
#include <locale>
#include <sstream>

#include "core/CharClass.h"
#include "core/NumberConversion.h"
#include "core/Utf8.h"
#include "text/detail/LanguageTable.h"

namespace OKU {

sigc::signal<void> l10nLanguageSignal;

namespace {

// The language is atomic because text layout on other threads asks for the
// direction; the tables and the warnings flag belong to the GUI thread.
std::atomic<L10n_Language> g_language(L10n_Language::WESTERN);
LanguageTable g_programTable;
LanguageTable g_toolkitTable;
bool g_warnings = false;

// The behaviour class of each Language value, indexed by that value.
const unsigned char c_languageClasses[] = {0, 3, 1, 0, 1, 1, 1, 1, 1, 1, 1, 2, 1,
                                           1, 0, 1, 4, 1, 1, 1, 1, 1, 1, 1, 1, 0};

const wchar_t c_arabicDecimalSeparator = L'\u066B';

// The native digits of each script run in order from its zero.
const wchar_t c_arabicIndicZero = L'\u0660';
const wchar_t c_extendedArabicIndicZero = L'\u06F0';
const wchar_t c_thaiZero = L'\u0E50';

// Fills table from the file at path and re-reads the warnings flag, or
// empties the table for an empty path; nothing changes when the file cannot
// be read.
bool loadTable(const std::string& path, LanguageTable& table)
{
    if (path.empty()) {
        table.clear();
        return true;
    }
    if (!readLanguageFile(path, table))
        return false;
    g_warnings = std::getenv("OKU_L10N_WARNINGS") != nullptr;
    return true;
}

bool usesDecimalSeparator(L10n_Language language)
{
    switch (language) {
    case L10n_Language::DECIMAL_COMMA:
    case L10n_Language::ARABIC_INDIC:
    case L10n_Language::EXTENDED_ARABIC_INDIC:
    case L10n_Language::THAI:
        return true;
    default:
        return false;
    }
}

} // namespace

L10n_Language toL10nLanguage(Language language)
{
    const int value = static_cast<int>(language);
    if (value < 0 || value >= static_cast<int>(sizeof c_languageClasses))
        return L10n_Language::WESTERN;
    return static_cast<L10n_Language>(c_languageClasses[value]);
}

bool l10nLoadLanguage(const std::string& path, L10n_Language language)
{
    if (!loadTable(path, g_programTable))
        return false;
    g_language = path.empty() ? L10n_Language::WESTERN : language;
    l10nLanguageSignal.emit();
    return true;
}

bool l10nLoadToolkitLanguage(const std::string& path)
{
    if (!loadTable(path, g_toolkitTable))
        return false;
    l10nLanguageSignal.emit();
    return true;
}

std::string l10nToolkitTableName(const std::string& code)
{
    return "oku/" + code + ".lng";
}

std::wstring l10nTranslate(const std::wstring& text)
{
    if (!text.empty()) {
        for (const LanguageTable* table : {&g_programTable, &g_toolkitTable}) {
            const LanguageTable::const_iterator entry = table->find(text);
            if (entry != table->end())
                return entry->second;
        }
    }
    if (g_warnings)
        std::cerr << "OKU L10n: Cannot lookup '" << utf8Encode(text) << "'" << std::endl;
    return text.substr(0, text.find(L'|'));
}

std::wstring l10nNumber(const std::wstring& digits)
{
    return l10nNumber(g_language, digits);
}

std::wstring l10nNumber(L10n_Language language, const std::wstring& digits)
{
    const wchar_t zero = l10nZero(language);
    const bool separator = usesDecimalSeparator(language);
    std::wstring result = digits;
    for (wchar_t& c : result) {
        if (isDigit(c))
            c = static_cast<wchar_t>(zero + (c - L'0'));
        else if (c == L'.' && separator)
            c = l10nDecimalSeparator();
    }
    return result;
}

std::wstring l10nNumber(long long value, int width, bool zeroFill, std::ios_base::fmtflags base)
{
    return l10nNumber(g_language, value, width, zeroFill, base);
}

std::wstring l10nNumber(L10n_Language language, long long value, int width, bool zeroFill,
                        std::ios_base::fmtflags base)
{
    return l10nNumber(language, lltowstring(value, width, zeroFill ? L'0' : L' ', base));
}

std::wstring l10nNumber(double value, int decimals)
{
    return l10nNumber(g_language, value, decimals);
}

std::wstring l10nNumber(L10n_Language language, double value, int decimals)
{
    return l10nNumber(language, ftowstring(value, decimals));
}

std::wstring l10nFloat(double value)
{
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return l10nNumber(out.str());
}

std::wstring l10nNumberToNormal(const std::wstring& text)
{
    std::wstring result = text;
    for (wchar_t& c : result) {
        if (c == L',' || c == L'.' || c == c_arabicDecimalSeparator) {
            c = L'.';
            continue;
        }
        for (const wchar_t zero : {c_arabicIndicZero, c_extendedArabicIndicZero, c_thaiZero}) {
            if (c >= zero && c <= zero + 9)
                c = static_cast<wchar_t>(L'0' + (c - zero));
        }
    }
    return result;
}

wchar_t l10nZero()
{
    return l10nZero(g_language);
}

wchar_t l10nZero(L10n_Language language)
{
    switch (language) {
    case L10n_Language::ARABIC_INDIC:
        return c_arabicIndicZero;
    case L10n_Language::EXTENDED_ARABIC_INDIC:
        return c_extendedArabicIndicZero;
    case L10n_Language::THAI:
        return c_thaiZero;
    default:
        return L'0';
    }
}

wchar_t l10nDecimalSeparator()
{
    switch (g_language.load()) {
    case L10n_Language::DECIMAL_COMMA:
        return L',';
    case L10n_Language::ARABIC_INDIC:
    case L10n_Language::EXTENDED_ARABIC_INDIC:
        return c_arabicDecimalSeparator;
    default:
        return L'.';
    }
}

bool l10nIsLTR()
{
    switch (g_language.load()) {
    case L10n_Language::WESTERN_RTL:
    case L10n_Language::ARABIC_INDIC:
    case L10n_Language::EXTENDED_ARABIC_INDIC:
        return false;
    default:
        return true;
    }
}

} // namespace OKU
