#ifndef OKU_TEXT_LSTRING_H
#define OKU_TEXT_LSTRING_H

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace OKU {

/// Marks a literal as translatable: LString(LString1(L"Cancel")) is looked up
/// in the language tables whenever it is shown. The literal may be wide or
/// UTF-8: LString1("Größe") holds the same text as LString1(L"Größe"). The
/// text is the table's key as written; lngtool finds literals given directly
/// to LString1 (one, or several that the compiler joins).
class LString1 {
public:
    explicit LString1(const std::wstring& text);
    /// Decoded from UTF-8 as LString's narrow constructors decode.
    explicit LString1(const char* utf8);
    explicit LString1(const std::string& utf8);

    const std::wstring& getText() const { return m_text; }

private:
    std::wstring m_text;
};

/// Marks a literal that is wrapped in LString1 elsewhere (a label handed to a
/// function, a constant), so that the tools that collect the texts to
/// translate find it; gives the literal unchanged.
constexpr const wchar_t* translatable(const wchar_t* text)
{
    return text;
}
constexpr const char* translatable(const char* utf8)
{
    return utf8;
}

/// A text to show, kept in its source wording together with numbered
/// arguments so that it can be rendered again in whatever language is current.
/// The format text refers to its arguments as %1, %2, ...; a marker whose
/// number has no argument, a "%" without digits, and everything else are shown
/// as written ("%%1" is "%" and argument 1: there is no escape). A text with
/// arguments renders to at most 65536 characters, so that arguments referring
/// to arguments in turn cannot make a short packed string expand without
/// bound.
///
/// Build a string, then append its arguments in order:
///
///     LString(LString1(L"Copy %1 of %2")).arg(fileName).arg(LString::Number(n, 0, L' '))
///
/// Copies share their arguments, so strings are treated as immutable once built
/// (apart from clear() and unpack()).
class LString {
public:
    /// How an argument is rendered by str(); orig() shows every text as it is.
    enum ArgType : int {
        ARG_PLAIN = 0,        ///< shown unchanged
        ARG_TRANSLATABLE = 1, ///< a text looked up in the table, or a nested string
        ARG_NUMBER = 2        ///< Western digits shown with the language's digits
    };

    /// One argument of a string: a text of some ArgType, or a nested string.
    class Arg {
    public:
        /// A plain argument without text; renders as nothing.
        Arg() : m_kind(ARG_PLAIN) {}
        Arg(ArgType kind, const std::wstring& text);
        /// A nested string, rendered through its own str() or orig().
        Arg(const LString& nested);

        ArgType getKind() const { return m_kind; }
        /// Empty when the argument has no text (always for a nested string).
        const std::shared_ptr<const std::wstring>& getText() const { return m_text; }
        const std::shared_ptr<const LString>& getNested() const { return m_nested; }

        /// Kinds other than the three above render as nothing in str().
        std::wstring str() const;
        std::wstring orig() const;

    private:
        ArgType m_kind;
        std::shared_ptr<const std::wstring> m_text;
        std::shared_ptr<const LString> m_nested;
    };

    /// A number already written in Western digits; as an argument its digits
    /// follow the current language.
    class Number {
    public:
        explicit Number(const std::string& utf8);
        explicit Number(const std::wstring& text);
        /// Decimal, right-aligned in at least width characters and padded on
        /// the left with fill (in front of a minus sign).
        Number(long long value, int width, wchar_t fill);
        Number(unsigned long long value, int width, wchar_t fill);
        /// Any other integer type, so that an int picks neither of the above
        /// ambiguously.
        template <class Integer,
                  typename std::enable_if<std::is_integral<Integer>::value, int>::type = 0>
        Number(Integer value, int width, wchar_t fill);
        /// Fixed-point with exactly decimals digits after the point (none when
        /// decimals is below 1).
        Number(float value, int decimals);
        Number(double value, int decimals);
        Number(long double value, int decimals);

        const std::wstring& getText() const { return m_text; }

    private:
        std::wstring m_text;
    };

    /// Untranslated strings without arguments. Narrow texts are UTF-8.
    LString() : m_translate(false) {}
    LString(wchar_t c);
    LString(const char* text);
    LString(const std::string& text);
    LString(const wchar_t* text);
    LString(const std::wstring& text);
    /// A translatable string.
    LString(const LString1& text);

    /// Append the next argument and return this string.
    LString& arg(const Arg& argument);
    // Out of line, as the constructors that copy text: every call builds and
    // destroys a string and an Arg, which would otherwise be repeated at each
    // of a program's many call sites.
    LString& arg(const std::wstring& text, ArgType kind = ARG_PLAIN);
    LString& arg(const wchar_t* text, ArgType kind = ARG_PLAIN);
    LString& arg(const LString1& text, ArgType kind = ARG_TRANSLATABLE);
    LString& arg(const LString& nested);
    LString& arg(const Number& number);

    /// The text to show: translated, with the arguments rendered by kind.
    std::wstring str() const;
    /// The same expansion without any translation or digit localisation.
    std::wstring orig() const;
    /// Whether the format text is empty; arguments do not count.
    bool empty() const { return m_text.empty(); }
    void clear();

    bool isTranslatable() const { return m_translate; }
    const std::wstring& getText() const { return m_text; }
    const std::vector<Arg>& getArgs() const { return m_args; }

    /// Equal when orig() is.
    bool operator==(const LString& other) const;
    bool operator!=(const LString& other) const { return !(*this == other); }

    /** Packed form, UTF-8, for storing a string in a line of text. Each text is
     * escaped byte by byte: "$" -> "$$", "<" -> "$[", ">" -> "$]", the
     * separator S -> "$|". A string is its mark ("+" translatable, "-" not),
     * its text, then S and one argument for each argument:
     *   "-" text    plain (and any unknown kind)
     *   "#" text    number
     *   "+" text    translatable text
     *   string      a nested string, inside "<" ">" when it has arguments
     *               (without, it reads back as an equivalent text argument)
     * e.g. S = "|":  -Copy %1 of %2|-a$|b|#3
     * The separator must not be "$", "<", ">", "[" or "]".
     */
    std::string pack(char separator) const;
    /// Parses a packed string into this one, which is cleared first and keeps
    /// what was read before an error. The outermost string may be enclosed in
    /// "<" ">". The string form fails when anything follows the packed string;
    /// the iterator form stops behind it and leaves position there.
    bool unpack(const std::string& packed, char separator)
    {
        std::string::const_iterator position = packed.begin();
        return unpack(position, packed.end(), separator) && position == packed.end();
    }
    bool unpack(std::string::const_iterator& position, std::string::const_iterator end,
                char separator);

private:
    bool m_translate;
    std::wstring m_text;
    std::vector<Arg> m_args;
};

template <class Integer, typename std::enable_if<std::is_integral<Integer>::value, int>::type>
LString::Number::Number(Integer value, int width, wchar_t fill)
    : Number(static_cast<typename std::conditional<std::is_signed<Integer>::value, long long,
                                                   unsigned long long>::type>(value),
             width, fill)
{
}

/// The string and directory helpers of the core (core/StringCompare.h,
/// core/Directories.h) for translatable strings: compared as shown
/// (LString::str()), file names as untranslated strings.
int noCaseStringCmp(const LString& a, const LString& b);
int smartStringCmp(const LString& a, const LString& b);
bool getFileList(std::vector<LString>& out, const std::string& dir);
bool getFileList(std::vector<LString>& out, const std::string& dir, const std::string& ext);

} // namespace OKU

#endif
