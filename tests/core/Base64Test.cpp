#include "core/Base64.h"

#include <sstream>
#include <gtest/gtest.h>

using namespace OKU;

namespace {

std::vector<char> bytesOf(const std::string& s)
{
    return std::vector<char>(s.begin(), s.end());
}

// The raw decoder into a buffer of outLen bytes; "(refused)" for -1.
std::string rawDecode(const std::string& in, bool padded, int outLen)
{
    std::string out(outLen, '#');
    const int n = base64Decode(&out[0], outLen, in.data(), static_cast<int>(in.size()), padded);
    return n < 0 ? "(refused)" : out.substr(0, n);
}

// The stream forms; "(refused)" when they return false.
std::string streamCode(bool encode, const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out;
    return (encode ? base64Encode(out, in) : base64Decode(out, in)) ? out.str() : "(refused)";
}

} // namespace

TEST(Base64, EveryFormMatchesTheRfcVectors)
{
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        // The two last letters of the alphabet, which the others do not use.
        {"\xFB\xFF\xBF", "+/+/"}};
    for (const auto& [plain, encoded] : vectors) {
        SCOPED_TRACE(plain);
        EXPECT_EQ(encoded, base64Encode(plain));
        std::vector<char> out = {'x'};
        base64Encode(out, plain);
        EXPECT_EQ(bytesOf(encoded), out);
        base64Encode(out, bytesOf(plain));
        EXPECT_EQ(bytesOf(encoded), out);
        std::string buffer(encoded.size() + 2, '#');
        EXPECT_EQ(static_cast<int>(encoded.size()),
                  base64Encode(&buffer[0], static_cast<int>(buffer.size()), plain.data(),
                               static_cast<int>(plain.size())));
        EXPECT_EQ(encoded + "##", buffer);
        EXPECT_EQ(encoded, streamCode(true, plain));

        EXPECT_EQ(plain, base64Decode(encoded));
        std::string text = "junk";
        EXPECT_TRUE(base64Decode(text, encoded));
        EXPECT_EQ(plain, text);
        EXPECT_TRUE(base64Decode(out, encoded));
        EXPECT_EQ(bytesOf(plain), out);
        EXPECT_EQ(plain, rawDecode(encoded, true, 6));
        EXPECT_EQ(plain, streamCode(false, encoded));
    }
}

TEST(Base64, DecodingChecksLengthsAndAlphabet)
{
    // Without padded, groups are whole; the output may be just large enough.
    EXPECT_EQ("ABC", rawDecode("QUJD", false, 3) + rawDecode("", false, 0));
    EXPECT_EQ("AB", rawDecode("QUI=", true, 2));
    const std::tuple<std::string, bool, int> refused[] = {
        // Lengths: a multiple of 4, and the output must hold the whole result.
        {"QQ=", true, 8}, {"QUJDR", true, 8}, {"QUI=", true, 1}, {"QUJD", false, 2},
        // Without padded, a group is three bytes and "=" is outside the alphabet.
        {"QQ==", false, 8}, {"QQ==", false, 1},
        {"QU\nJ", true, 8}, {"QU J", true, 8}, {"QU*D", true, 8}, {"QU-_", true, 8},
        {std::string("QU\0D", 4), true, 8}, {"\xC3\xA9QQ", true, 8},
        // Padding only at the very end, and at most two of it.
        {"QQ==QUJD", true, 8}, {"Q===", true, 8}, {"====", true, 8}, {"Q=QQ", true, 8},
        // Every character of a padded group counts: nothing may follow "=".
        {"QQ=A", true, 8}, {"QUJDQQ=/", true, 8},
    };
    for (const auto& [in, padded, outLen] : refused)
        EXPECT_EQ("(refused)", rawDecode(in, padded, outLen))
            << in << " " << padded << " " << outLen;
    char out[8] = {};
    EXPECT_EQ(-1, base64Decode(out, 1, "QQ==", -4, true));
    EXPECT_EQ(-1, base64Encode(out, 3, "f", 1));
    EXPECT_EQ(-1, base64Encode(out, 8, "f", -1));
    // The container forms end up empty on failure.
    std::vector<char> v = {'x'};
    EXPECT_FALSE(base64Decode(v, bytesOf("QU\nJ")));
    EXPECT_TRUE(v.empty());
    std::string s = "x";
    EXPECT_FALSE(base64Decode(s, "Zm9v YmFy"));
    EXPECT_TRUE(s.empty());
    // Streams go block by block; 4000 characters make exactly one, and
    // padding is only allowed in the last.
    std::string bytes;
    for (int i = 0; i < 256 * 40; ++i)
        bytes += static_cast<char>(i);
    EXPECT_EQ(base64Encode(bytes), streamCode(true, bytes));
    EXPECT_EQ(bytes, streamCode(false, base64Encode(bytes)));
    const std::string block = std::string(3996, 'A') + "QQ==";
    EXPECT_EQ(std::string(2997, '\0') + "A", streamCode(false, block));
    for (const std::string& bad :
         {block + "QUJD", std::string(4000, 'A') + "QQ=", std::string("Zm9v\nYmFy")})
        EXPECT_EQ("(refused)", streamCode(false, bad)) << bad.size();
}
