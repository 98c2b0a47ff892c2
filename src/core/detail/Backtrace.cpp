#include "core/detail/Backtrace.h"

#include <cxxabi.h>
#include <execinfo.h>

#include <cstdlib>

namespace OKU {

namespace {

const int c_maxFrames = 10;
const int c_skippedFrames = 2;

std::string demangle(const std::string& name)
{
    int status = 0;
    char* demangled = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
    if (status != 0 || demangled == nullptr)
        return name;
    std::string result(demangled);
    free(demangled);
    return result;
}

} // namespace

std::string formatBacktraceLine(int n, const std::string& symbol)
{
    std::string line = "[bt]: (" + std::to_string(n) + ") ";
    const std::string::size_type open = symbol.find('(');
    const std::string::size_type plus =
        open == std::string::npos ? std::string::npos : symbol.find('+', open);
    const std::string::size_type close =
        plus == std::string::npos ? std::string::npos : symbol.find(')', plus);
    if (close == std::string::npos)
        return line + symbol + "\n";

    line += symbol.substr(0, open) + " : " + demangle(symbol.substr(open + 1, plus - open - 1)) +
            "+" + symbol.substr(plus + 1, close - plus - 1) + symbol.substr(close + 1);
    return line + "\n";
}

std::string captureBacktrace()
{
    void* frames[c_maxFrames];
    const int count = backtrace(frames, c_maxFrames);
    char** symbols = backtrace_symbols(frames, count);
    if (symbols == nullptr)
        return std::string();

    std::string text;
    for (int i = c_skippedFrames; i < count; ++i)
        text += formatBacktraceLine(i, symbols[i]);
    free(symbols);
    return text;
}

} // namespace OKU
