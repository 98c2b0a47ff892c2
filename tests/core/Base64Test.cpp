#include "core/Base64.h"

#include <sstream>

#include <gtest/gtest.h>

using namespace OKU;

namespace {

struct Vector {
    std::string plain;
    std::string encoded;
};

// RFC 4648, section 10.
const Vector c_rfcVectors[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
};

std::vector<char> bytesOf(const std::string& s)
{
    return std::vector<char>(s.begin(), s.end());
}

std::string allBytes()
{
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}

int rawDecode(const std::string& in, bool padded, std::string& out, int outLen)
{
    out.assign(outLen, '#');
    const int n = base64Decode(&out[0], outLen, in.data(), static_cast<int>(in.size()), padded);
    if (n >= 0)
        out.resize(n);
    return n;
}

} // namespace

TEST(Base64, EncodeLength)
{
    EXPECT_EQ(0, base64EncodeLen(0));
    EXPECT_EQ(4, base64EncodeLen(1));
    EXPECT_EQ(4, base64EncodeLen(3));
    EXPECT_EQ(8, base64EncodeLen(4));
    EXPECT_EQ(8, base64EncodeLen(6));
}

TEST(Base64, EveryEncodeFormMatchesTheRfcVectors)
{
    for (const Vector& v : c_rfcVectors) {
        SCOPED_TRACE(v.plain);
        EXPECT_EQ(v.encoded, base64Encode(v.plain));

        std::vector<char> out = {'x'};
        base64Encode(out, bytesOf(v.plain));
        EXPECT_EQ(bytesOf(v.encoded), out);
        out = {'y'};
        base64Encode(out, v.plain);
        EXPECT_EQ(bytesOf(v.encoded), out);

        std::string buffer(v.encoded.size() + 2, '#');
        EXPECT_EQ(static_cast<int>(v.encoded.size()),
                  base64Encode(&buffer[0], static_cast<int>(buffer.size()), v.plain.data(),
                               static_cast<int>(v.plain.size())));
        EXPECT_EQ(v.encoded + "##", buffer);

        std::istringstream in(v.plain);
        std::ostringstream os;
        EXPECT_TRUE(base64Encode(os, in));
        EXPECT_EQ(v.encoded, os.str());
    }
}

TEST(Base64, EveryDecodeFormMatchesTheRfcVectors)
{
    for (const Vector& v : c_rfcVectors) {
        SCOPED_TRACE(v.encoded);
        EXPECT_EQ(v.plain, base64Decode(v.encoded));

        std::string text = "junk";
        EXPECT_TRUE(base64Decode(text, v.encoded));
        EXPECT_EQ(v.plain, text);

        std::vector<char> out = {'x'};
        EXPECT_TRUE(base64Decode(out, bytesOf(v.encoded)));
        EXPECT_EQ(bytesOf(v.plain), out);
        out = {'y'};
        EXPECT_TRUE(base64Decode(out, v.encoded));
        EXPECT_EQ(bytesOf(v.plain), out);

        std::string raw;
        EXPECT_EQ(static_cast<int>(v.plain.size()), rawDecode(v.encoded, true, raw, 6));
        EXPECT_EQ(v.plain, raw);

        std::istringstream in(v.encoded);
        std::ostringstream os;
        EXPECT_TRUE(base64Decode(os, in));
        EXPECT_EQ(v.plain, os.str());
    }
}

TEST(Base64, RawEncodeRefusesShortBuffersAndNegativeLengths)
{
    char out[8] = {};
    EXPECT_EQ(-1, base64Encode(out, 3, "f", 1));
    EXPECT_EQ(-1, base64Encode(out, 8, "f", -1));
    EXPECT_EQ(4, base64Encode(out, 4, "foo", 3));
    EXPECT_EQ(0, base64Encode(nullptr, 0, "", 0));
}

TEST(Base64, RawDecodeLengthRules)
{
    std::string out;
    EXPECT_EQ(1, rawDecode("QQ==", true, out, 1));
    EXPECT_EQ("A", out);
    EXPECT_EQ(2, rawDecode("QUI=", true, out, 2));
    EXPECT_EQ("AB", out);
    EXPECT_EQ(3, rawDecode("QUJD", false, out, 3));
    EXPECT_EQ("ABC", out);
    EXPECT_EQ(0, rawDecode("", false, out, 0));

    EXPECT_EQ(-1, rawDecode("QQ=", true, out, 8));
    EXPECT_EQ(-1, rawDecode("QUJDR", true, out, 8));
    // The output must hold the full decoded length.
    EXPECT_EQ(-1, rawDecode("QUI=", true, out, 1));
    EXPECT_EQ(-1, rawDecode("QUJD", false, out, 2));
    // Without padded, the length counts three bytes per group and "=" is refused.
    EXPECT_EQ(-1, rawDecode("QQ==", false, out, 8));
    EXPECT_EQ(-1, rawDecode("QQ==", false, out, 1));

    char byte = 0;
    EXPECT_EQ(-1, base64Decode(&byte, 1, "QQ==", -4, true));
}

TEST(Base64, RawDecodeRefusesCharactersOutsideTheAlphabet)
{
    std::string out;
    EXPECT_EQ(-1, rawDecode("QU\nJ", true, out, 8));
    EXPECT_EQ(-1, rawDecode("QU J", true, out, 8));
    EXPECT_EQ(-1, rawDecode("QU*D", true, out, 8));
    EXPECT_EQ(-1, rawDecode("QU-_", true, out, 8));
    EXPECT_EQ(-1, rawDecode(std::string("QU\0D", 4), true, out, 8));
    EXPECT_EQ(-1, rawDecode("QQ==QUJD", true, out, 8));
    EXPECT_EQ(-1, rawDecode("Q===", true, out, 8));
    EXPECT_EQ(-1, rawDecode("====", true, out, 8));
    EXPECT_EQ(-1, rawDecode("Q=QQ", true, out, 8));
    EXPECT_EQ(-1, rawDecode("\xC3\xA9QQ", true, out, 8));
}

TEST(Base64, ContainerFormsFailCleanly)
{
    std::vector<char> v = {'x'};
    EXPECT_FALSE(base64Decode(v, std::string("QQ=")));
    EXPECT_TRUE(v.empty());
    v = {'x'};
    EXPECT_FALSE(base64Decode(v, bytesOf("QU\nJ")));
    EXPECT_TRUE(v.empty());
    std::string s = "x";
    EXPECT_FALSE(base64Decode(s, "Zm9v YmFy"));
    EXPECT_TRUE(s.empty());
    EXPECT_EQ("", base64Decode("Zm9=Zm9v"));
}

TEST(Base64, BinaryDataRoundTrips)
{
    const std::string bytes = allBytes();
    const std::string encoded = base64Encode(bytes);
    EXPECT_EQ(static_cast<size_t>(base64EncodeLen(256)), encoded.size());
    EXPECT_EQ(std::string::npos, encoded.find_first_of("\r\n "));
    EXPECT_EQ(bytes, base64Decode(encoded));
    EXPECT_EQ("/w==", base64Encode(std::string("\xFF")));
    EXPECT_EQ("AAAA", base64Encode(std::string(3, '\0')));
}

TEST(Base64, StreamsSpanManyBlocks)
{
    std::string bytes;
    for (int i = 0; i < 40; ++i)
        bytes += allBytes();
    std::istringstream plain(bytes);
    std::ostringstream encoded;
    ASSERT_TRUE(base64Encode(encoded, plain));
    EXPECT_EQ(base64Encode(bytes), encoded.str());

    std::istringstream text(encoded.str());
    std::ostringstream decoded;
    ASSERT_TRUE(base64Decode(decoded, text));
    EXPECT_EQ(bytes, decoded.str());
}

TEST(Base64, StreamDecodeAcceptsPaddingOnlyAtTheEnd)
{
    // 4000 characters make exactly one block; padding at its end is fine
    // only when nothing follows.
    const std::string block = std::string(3996, 'A') + "QQ==";
    std::istringstream whole(block);
    std::ostringstream out;
    EXPECT_TRUE(base64Decode(out, whole));
    EXPECT_EQ(std::string(2997, '\0') + "A", out.str());

    std::istringstream padded(block + "QUJD");
    std::ostringstream ignored;
    EXPECT_FALSE(base64Decode(ignored, padded));

    std::istringstream cut(std::string(4000, 'A') + "QQ=");
    EXPECT_FALSE(base64Decode(ignored, cut));
    std::istringstream lineBreaks("Zm9v\nYmFy");
    EXPECT_FALSE(base64Decode(ignored, lineBreaks));
    std::istringstream empty("");
    std::ostringstream nothing;
    EXPECT_TRUE(base64Decode(nothing, empty));
    EXPECT_EQ("", nothing.str());
}
