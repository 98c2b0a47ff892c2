#pragma once

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/Geometry.h"
#include "text/Bidi.h"
#include "text/Font.h"
#include "text/FontFace.h"

// Fonts, files and Unicode data shared by the text and text drawing tests.
namespace TextTest {

const std::string c_fontDir = OKU_FONT_DIR;
const std::string c_dataDir = std::string(OKU_TEST_DATA_DIR) + "/text";
const std::string c_unicodeDir = "/usr/share/unicode/";

inline std::shared_ptr<const OKU::FontFace> face(const std::string& name, int size)
{
    return std::make_shared<const OKU::FontFace>(c_fontDir + "/" + name, size, 0);
}

// A font of the build's font files, in fallback order.
inline OKU::Font fontOf(const std::vector<std::string>& names, int size)
{
    OKU::Font font;
    for (const std::string& name : names)
        font.addFace(face(name, size));
    return font;
}

inline std::vector<char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline OKU::Rect moved(const OKU::Rect& r, int dx, int dy)
{
    return OKU::Rect(r.x + dx, r.y + dy, r.width, r.height);
}

inline std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    std::istringstream in(text);
    for (std::string field; std::getline(in, field, separator);)
        fields.push_back(field);
    return fields;
}

// The ';'-separated fields of every data line of a Unicode data file
// (Debian package unicode-data), comments cut.
inline std::vector<std::vector<std::string>> unicodeRecords(const std::string& name)
{
    std::ifstream in(c_unicodeDir + name);
    EXPECT_TRUE(in.good()) << c_unicodeDir << name
                           << " is missing: install the unicode-data package";
    std::vector<std::vector<std::string>> records;
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        if (line.find(';') != std::string::npos)
            records.push_back(split(line, ';'));
    }
    return records;
}

// The class of a Unicode class name; isolates and other classes the compact
// algorithm lacks are not in the map.
inline const std::map<std::string, OKU::Bidi::Type>& bidiTypes()
{
    using B = OKU::Bidi;
    static const std::map<std::string, B::Type> types = {
        {"L", B::L},     {"LRE", B::LRE}, {"LRO", B::LRO}, {"R", B::R},     {"AL", B::AL},
        {"RLE", B::RLE}, {"RLO", B::RLO}, {"PDF", B::PDF}, {"EN", B::EN},   {"ES", B::ES},
        {"ET", B::ET},   {"AN", B::AN},   {"CS", B::CS},   {"NSM", B::NSM}, {"BN", B::BN},
        {"B", B::B},     {"S", B::S},     {"WS", B::WS},   {"ON", B::ON},
    };
    return types;
}

} // namespace TextTest
