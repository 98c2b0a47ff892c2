// lngtool: the language tables of a program built on the toolkit, and the
// toolkit's own, from their UTF-8 sources.
//
//   lngtool compile SOURCE.po TABLE.lng    the table l10nLoadLanguage (or,
//                                          for the toolkit's own words,
//                                          l10nLoadToolkitLanguage) loads
//   lngtool template TEMPLATE.pot DIR...   every text to translate in the
//                                          C++ sources under the directories
//   lngtool check DIR... -- SOURCE.po...   fails, listing the faults, when a
//                                          source lacks a text of the sources
//                                          under the directories, keeps one
//                                          they no longer use or changes a
//                                          text's numbered markers
//
// A program names only its own source directories: the toolkit's words come
// from the toolkit's table, which its .po files need not repeat.
//
// A table is UTF-16 little-endian: text, zero unit, translation, zero unit,
// for every translated text. Texts beyond U+FFFF cannot be written in it.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "PoCatalog.h"
#include "SourceTexts.h"
#include "TableCheck.h"

namespace {

void writeUnits(std::ofstream& out, const std::wstring& text, const std::string& where)
{
    for (const wchar_t c : text) {
        if (c == 0 || static_cast<unsigned long>(c) > 0xFFFF)
            throw std::runtime_error(where + ": a character the table cannot hold");
        const char unit[2] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
        out.write(unit, 2);
    }
    out.write("\0\0", 2);
}

void compile(const std::string& sourcePath, const std::string& tablePath)
{
    const std::vector<lng::PoEntry> entries = lng::readPoFile(sourcePath);
    std::ofstream out(tablePath, std::ios::binary | std::ios::trunc);
    for (const lng::PoEntry& entry : entries) {
        // Left empty: the program's own wording is shown.
        if (entry.text.empty())
            continue;
        const std::string where = sourcePath + ":" + std::to_string(entry.line);
        writeUnits(out, entry.id, where);
        writeUnits(out, entry.text, where);
    }
    if (!out.flush())
        throw std::runtime_error("Cannot write \"" + tablePath + "\"");
}

int check(const std::vector<std::string>& arguments)
{
    const auto separator = std::find(arguments.begin(), arguments.end(), "--");
    const std::vector<std::string> directories(arguments.begin(), separator);
    const std::vector<lng::SourceText> program = lng::collectTexts(directories);
    int faults = 0;
    for (auto source = separator == arguments.end() ? separator : separator + 1;
         source != arguments.end(); ++source) {
        for (const std::string& fault :
             lng::checkCatalog(program, lng::readPoFile(*source), *source)) {
            std::fprintf(stderr, "%s\n", fault.c_str());
            ++faults;
        }
    }
    return faults == 0 ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr, "usage: lngtool compile SOURCE.po TABLE.lng\n"
                         "       lngtool template TEMPLATE.pot DIR...\n"
                         "       lngtool check DIR... -- SOURCE.po...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        if (arguments.size() == 3 && arguments[0] == "compile") {
            compile(arguments[1], arguments[2]);
            return 0;
        }
        if (arguments.size() >= 3 && arguments[0] == "template") {
            lng::writePoTemplate(arguments[1],
                                 lng::collectTexts({arguments.begin() + 2, arguments.end()}));
            return 0;
        }
        if (arguments.size() >= 2 && arguments[0] == "check")
            return check({arguments.begin() + 1, arguments.end()});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lngtool: %s\n", e.what());
        return 1;
    }
    return usage();
}
