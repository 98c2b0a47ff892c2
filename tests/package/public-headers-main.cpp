// A program linked with liboku.so: an error the parser inside the library
// throws reaches the program as the type the header names.
#include <cstdio>
#include <cstring>
#include <sstream>
#include "core/XMLAttributes.h"
#include "core/XMLError.h"
#include "core/XMLParser.h"

int main() {
    std::istringstream document("<page><button></page>");
    OKU::XMLParser parser(document);
    OKU::XMLAttributes attributes;
    try {
        parser.parseStartElement("page", attributes);
        parser.parseContent();
    } catch (const OKU::XMLError& error) {
        if (std::strstr(error.what(), "mismatched tag"))
            return 0;
        std::printf("XMLError with the wrong message: %s\n", error.what());
        return 1;
    } catch (...) {
        std::puts("the parser's error was not caught as an XMLError");
        return 1;
    }
    std::puts("the parser accepted a tag that does not match");
    return 1;
}
