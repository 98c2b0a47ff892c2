#include "text/LString.h"

#include <algorithm>
#include <memory>

#include "core/CharClass.h"
#include "core/NumberConversion.h"
#include "core/Utf8.h"
#include "text/L10n.h"

namespace OKU {

namespace {

typedef std::string::const_iterator Iterator;
typedef std::wstring (LString::Arg::*Renderer)() const;

// Longest text a substitution produces: markers can refer to arguments whose
// texts refer to arguments in turn, so a short packed string could otherwise
// expand exponentially.
const std::wstring::size_type c_maxRenderedLength = 1 << 16;

// Replaces each %n of format that names an argument by that argument's
// rendering; every other character, unknown markers included, is copied.
// Each argument is rendered once, however often it is referred to, and the
// result is cut at c_maxRenderedLength characters.
std::wstring substitute(const std::wstring& format, const std::vector<LString::Arg>& args,
                        Renderer render)
{
    if (args.empty())
        return format;
    std::vector<std::unique_ptr<std::wstring>> rendered(args.size());
    std::wstring result;
    result.reserve(std::min(format.size(), c_maxRenderedLength));
    std::wstring::size_type i = 0;
    while (i < format.size() && result.size() < c_maxRenderedLength) {
        if (format[i] != L'%') {
            result += format[i++];
            continue;
        }
        std::wstring::size_type end = i + 1;
        std::size_t number = 0;
        for (; end < format.size() && isDigit(format[end]); ++end) {
            // Once past the last argument the value no longer matters, and
            // stopping there keeps a long run of digits from overflowing.
            if (number <= args.size())
                number = number * 10 + static_cast<std::size_t>(format[end] - L'0');
        }
        if (end > i + 1 && number >= 1 && number <= args.size()) {
            std::unique_ptr<std::wstring>& text = rendered[number - 1];
            if (!text)
                text = std::make_unique<std::wstring>((args[number - 1].*render)());
            result += *text;
        } else {
            result.append(format, i, end - i);
        }
        i = end;
    }
    if (result.size() > c_maxRenderedLength)
        result.resize(c_maxRenderedLength);
    return result;
}

std::wstring padLeft(const std::wstring& text, int width, wchar_t fill)
{
    if (width <= static_cast<int>(text.size()))
        return text;
    return std::wstring(static_cast<std::size_t>(width) - text.size(), fill) + text;
}

void appendEscaped(std::string& out, const std::wstring& text, char separator)
{
    for (const char c : utf8Encode(text)) {
        if (c == '$')
            out += "$$";
        else if (c == '<')
            out += "$[";
        else if (c == '>')
            out += "$]";
        else if (c == separator)
            out += "$|";
        else
            out += c;
    }
}

char kindMark(LString::ArgType kind)
{
    switch (kind) {
    case LString::ARG_TRANSLATABLE:
        return '+';
    case LString::ARG_NUMBER:
        return '#';
    default:
        return '-';
    }
}

void packString(std::string& out, const LString& s, char separator);

void packArg(std::string& out, const LString::Arg& arg, char separator)
{
    const std::shared_ptr<const LString>& nested = arg.getNested();
    if (nested) {
        const bool enclosed = !nested->getArgs().empty();
        if (enclosed)
            out += '<';
        packString(out, *nested, separator);
        if (enclosed)
            out += '>';
        return;
    }
    out += kindMark(arg.getKind());
    if (arg.getText())
        appendEscaped(out, *arg.getText(), separator);
}

void packString(std::string& out, const LString& s, char separator)
{
    out += s.isTranslatable() ? '+' : '-';
    appendEscaped(out, s.getText(), separator);
    for (const LString::Arg& arg : s.getArgs()) {
        out += separator;
        packArg(out, arg, separator);
    }
}

// Reads an escaped text up to the next separator, the next ">" of an enclosed
// string, or the end, and decodes it. "$" with any byte but the four escape
// letters is dropped together with that byte, as is a "$" at the end.
std::wstring readText(Iterator& position, Iterator end, char separator, bool enclosed)
{
    std::string bytes;
    while (position != end && *position != separator && !(enclosed && *position == '>')) {
        const char c = *position++;
        if (c != '$') {
            bytes += c;
            continue;
        }
        if (position == end)
            break;
        switch (*position++) {
        case '$':
            bytes += '$';
            break;
        case '[':
            bytes += '<';
            break;
        case ']':
            bytes += '>';
            break;
        case '|':
            bytes += separator;
            break;
        default:
            break;
        }
    }
    return utf8Decode(bytes);
}

// The head of a string: its translate mark and its text.
bool readHead(Iterator& position, Iterator end, char separator, bool enclosed, bool& translate,
              std::wstring& text)
{
    if (position == end || (*position != '+' && *position != '-'))
        return false;
    translate = *position++ == '+';
    text = readText(position, end, separator, enclosed);
    return true;
}

bool argKind(char mark, LString::ArgType& kind)
{
    switch (mark) {
    case '-':
        kind = LString::ARG_PLAIN;
        return true;
    case '+':
        kind = LString::ARG_TRANSLATABLE;
        return true;
    case '#':
        kind = LString::ARG_NUMBER;
        return true;
    default:
        return false;
    }
}

} // namespace

LString1::LString1(const std::wstring& text) : m_text(text)
{
}

LString1::LString1(const char* utf8) : m_text(utf8Decode(utf8))
{
}

LString1::LString1(const std::string& utf8) : m_text(utf8Decode(utf8))
{
}

LString::Arg::Arg(ArgType kind, const std::wstring& text)
    : m_kind(kind), m_text(std::make_shared<const std::wstring>(text))
{
}

LString::Arg::Arg(const LString& nested)
    : m_kind(ARG_TRANSLATABLE), m_nested(std::make_shared<const LString>(nested))
{
}

std::wstring LString::Arg::str() const
{
    switch (m_kind) {
    case ARG_PLAIN:
        return m_text ? *m_text : std::wstring();
    case ARG_TRANSLATABLE:
        if (m_text)
            return l10nTranslate(*m_text);
        return m_nested ? m_nested->str() : std::wstring();
    case ARG_NUMBER:
        return m_text ? l10nNumber(*m_text) : std::wstring();
    default:
        return std::wstring();
    }
}

std::wstring LString::Arg::orig() const
{
    if (m_text)
        return *m_text;
    return m_nested ? m_nested->orig() : std::wstring();
}

LString::Number::Number(const std::string& utf8) : m_text(utf8Decode(utf8))
{
}

LString::Number::Number(const std::wstring& text) : m_text(text)
{
}

LString::Number::Number(long long value, int width, wchar_t fill)
    : m_text(padLeft(std::to_wstring(value), width, fill))
{
}

LString::Number::Number(unsigned long long value, int width, wchar_t fill)
    : m_text(padLeft(std::to_wstring(value), width, fill))
{
}

LString::Number::Number(float value, int decimals) : m_text(ftowstring(value, decimals))
{
}

LString::Number::Number(double value, int decimals) : m_text(ftowstring(value, decimals))
{
}

LString::Number::Number(long double value, int decimals)
    : m_text(ftowstring(static_cast<double>(value), decimals))
{
}

LString::LString(wchar_t c) : m_translate(false), m_text(1, c)
{
}

LString::LString(const char* text) : m_translate(false), m_text(utf8Decode(text))
{
}

LString::LString(const std::string& text) : m_translate(false), m_text(utf8Decode(text))
{
}

LString::LString(const wchar_t* text) : m_translate(false), m_text(text)
{
}

LString::LString(const std::wstring& text) : m_translate(false), m_text(text)
{
}

LString::LString(const LString1& text) : m_translate(true), m_text(text.getText())
{
}

LString& LString::arg(const Arg& argument)
{
    m_args.push_back(argument);
    return *this;
}

LString& LString::arg(const std::wstring& text, ArgType kind)
{
    return arg(Arg(kind, text));
}

LString& LString::arg(const wchar_t* text, ArgType kind)
{
    return arg(Arg(kind, text));
}

LString& LString::arg(const LString1& text, ArgType kind)
{
    return arg(Arg(kind, text.getText()));
}

LString& LString::arg(const LString& nested)
{
    return arg(Arg(nested));
}

LString& LString::arg(const Number& number)
{
    return arg(Arg(ARG_NUMBER, number.getText()));
}

std::wstring LString::str() const
{
    return substitute(m_translate ? l10nTranslate(m_text) : m_text, m_args, &Arg::str);
}

bool LString::operator==(const LString& other) const
{
    return orig() == other.orig();
}

std::wstring LString::orig() const
{
    return substitute(m_text, m_args, &Arg::orig);
}

void LString::clear()
{
    m_translate = false;
    m_text.clear();
    m_args.clear();
}

std::string LString::pack(char separator) const
{
    std::string out;
    packString(out, *this, separator);
    return out;
}

bool LString::unpack(Iterator& position, Iterator end, char separator)
{
    clear();
    if (position == end)
        return true;
    // The strings being read, outermost first: "<" opens a new one and its
    // ">" closes it into an argument of the one before.
    std::vector<LString> open(1);
    const bool outerEnclosed = *position == '<';
    if (outerEnclosed)
        ++position;
    bool ok = readHead(position, end, separator, outerEnclosed, open.back().m_translate,
                       open.back().m_text);
    while (ok) {
        const bool enclosed = outerEnclosed || open.size() > 1;
        if (position == end) {
            ok = !enclosed;
            break;
        }
        if (enclosed && *position == '>') {
            ++position;
            if (open.size() == 1)
                break;
            const LString nested = std::move(open.back());
            open.pop_back();
            open.back().m_args.emplace_back(nested);
            continue;
        }
        if (*position != separator || ++position == end) {
            ok = false;
            break;
        }
        ArgType kind;
        const char mark = *position++;
        if (mark == '<') {
            open.emplace_back();
            ok = readHead(position, end, separator, true, open.back().m_translate,
                          open.back().m_text);
        } else if (argKind(mark, kind)) {
            open.back().m_args.emplace_back(kind, readText(position, end, separator, enclosed));
        } else {
            ok = false;
        }
    }
    *this = std::move(open.front());
    return ok;
}

} // namespace OKU
