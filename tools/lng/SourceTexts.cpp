#include "SourceTexts.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

#include "QuotedText.h"

namespace lng {

namespace {

const char* const c_markers[] = {"LString1(", "translatable("};

size_t skipSpace(const std::string& source, size_t pos)
{
    while (pos < source.size() && std::isspace(static_cast<unsigned char>(source[pos])))
        ++pos;
    return pos;
}

int lineAt(const std::string& source, size_t pos)
{
    return 1 + static_cast<int>(std::count(source.begin(), source.begin() + pos, '\n'));
}

// Whether the marker at pos starts a name of its own, not the end of a
// longer one (myLString1).
bool startsName(const std::string& source, size_t pos)
{
    if (pos == 0)
        return true;
    const unsigned char before = static_cast<unsigned char>(source[pos - 1]);
    return !std::isalnum(before) && before != '_';
}

// The source with its comments blanked out, line breaks kept, so that an
// example in a comment is no text and line numbers stay right.
std::string withoutComments(const std::string& source)
{
    std::string code = source;
    char quote = 0; // inside a string or character literal
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quote) {
            if (c == '\\')
                ++i;
            else if (c == quote || c == '\n')
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (code.compare(i, 2, "//") == 0) {
            for (; i < code.size() && code[i] != '\n'; ++i)
                code[i] = ' ';
        } else if (code.compare(i, 2, "/*") == 0) {
            const size_t end = std::min(code.find("*/", i + 2), code.size() - 2) + 2;
            for (; i < end; ++i)
                code[i] = code[i] == '\n' ? '\n' : ' ';
            --i;
        }
    }
    return code;
}

// The position of the opening quote of the string literal that starts at
// pos, plain (UTF-8), u8 or wide; npos when none starts there.
size_t literalQuote(const std::string& source, size_t pos)
{
    for (const char* prefix : {"\"", "L\"", "u8\""}) {
        if (source.compare(pos, std::strlen(prefix), prefix) == 0)
            return pos + std::strlen(prefix) - 1;
    }
    return std::string::npos;
}

// The literal whose opening quote is at quote, which is moved behind its
// closing quote; a fault is named with its place.
std::wstring readLiteral(const std::string& source, size_t& quote, HexEscape hex,
                         const std::string& fileName)
{
    try {
        return readQuoted(source, quote, hex);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(fileName + ":" + std::to_string(lineAt(source, quote)) + ": " +
                                 e.what());
    }
}

} // namespace

std::vector<SourceText> findTexts(const std::string& text, const std::string& fileName)
{
    const std::string source = withoutComments(text);
    std::vector<std::pair<size_t, std::string>> calls;
    for (const char* marker : c_markers) {
        for (size_t pos = source.find(marker); pos != std::string::npos;
             pos = source.find(marker, pos + 1)) {
            if (startsName(source, pos))
                calls.emplace_back(pos, marker);
        }
    }
    std::sort(calls.begin(), calls.end());
    std::vector<SourceText> texts;
    for (const auto& call : calls) {
        // The literals the compiler joins; one wide literal makes them all
        // wide, which changes only what a \x escape means.
        std::vector<size_t> quotes;
        bool wide = false;
        size_t pos = skipSpace(source, call.first + call.second.size());
        for (size_t quote; (quote = literalQuote(source, pos)) != std::string::npos;) {
            wide = wide || source[pos] == 'L';
            quotes.push_back(quote);
            readLiteral(source, quote, HexEscape::CHARACTER, fileName);
            pos = skipSpace(source, quote);
        }
        if (quotes.empty() || pos >= source.size() || source[pos] != ')')
            continue;
        std::wstring joined;
        for (size_t quote : quotes)
            joined += readLiteral(source, quote, wide ? HexEscape::CHARACTER : HexEscape::BYTE,
                                  fileName);
        texts.push_back({joined, fileName + ":" + std::to_string(lineAt(source, call.first))});
    }
    return texts;
}

std::vector<SourceText> collectTexts(const std::vector<std::string>& directories)
{
    std::vector<std::string> files;
    for (const std::string& directory : directories) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".cpp" || extension == ".h"))
                files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<SourceText> texts;
    std::set<std::wstring> seen;
    for (const std::string& file : files) {
        std::ifstream in(file);
        const std::string source((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
        for (SourceText& text : findTexts(source, file)) {
            if (seen.insert(text.text).second)
                texts.push_back(std::move(text));
        }
    }
    return texts;
}

} // namespace lng
