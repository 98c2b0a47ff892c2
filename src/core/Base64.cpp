#include "core/Base64.h"

#include <algorithm>
#include <cstdint>

namespace OKU {

namespace {

const char c_alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Stream block sizes: whole groups, so that only the last block can hold a
// partial group or padding.
const int c_encodeBlockBytes = 3000;
const int c_decodeBlockChars = 4000;

int sextet(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// Encodes count (1 to 3) bytes into four characters, padded with "=".
void encodeGroup(const char* in, int count, char* out)
{
    uint32_t bits = 0;
    for (int k = 0; k < 3; ++k)
        bits = (bits << 8) | (k < count ? static_cast<uint8_t>(in[k]) : 0);
    for (int k = 0; k < 4; ++k)
        out[k] = k <= count ? c_alphabet[(bits >> (18 - 6 * k)) & 0x3F] : '=';
}

// Decodes the first count (2 to 4) characters of a group into count - 1
// bytes; false when one of them is outside the alphabet.
bool decodeGroup(const char* in, int count, char* out)
{
    uint32_t bits = 0;
    for (int k = 0; k < count; ++k) {
        const int value = sextet(in[k]);
        if (value < 0)
            return false;
        bits = (bits << 6) | static_cast<uint32_t>(value);
    }
    bits <<= 6 * (4 - count);
    for (int k = 0; k < count - 1; ++k)
        out[k] = static_cast<char>(bits >> (16 - 8 * k));
    return true;
}

// The number of bytes the input decodes to, or -1 when its length is not a
// multiple of 4.
int decodedLength(const char* in, int inLen, bool padded)
{
    if (inLen < 0 || inLen % 4 != 0)
        return -1;
    if (inLen == 0)
        return 0;
    int length = inLen / 4 * 3;
    if (padded) {
        if (in[inLen - 2] == '=')
            length -= 2;
        else if (in[inLen - 1] == '=')
            length -= 1;
    }
    return length;
}

} // namespace

int base64Encode(char* out, int outLen, const char* in, int inLen)
{
    if (inLen < 0)
        return -1;
    const int length = base64EncodeLen(inLen);
    if (outLen < length)
        return -1;
    for (int i = 0, o = 0; i < inLen; i += 3, o += 4)
        encodeGroup(in + i, std::min(3, inLen - i), out + o);
    return length;
}

bool base64Encode(std::ostream& out, std::istream& in)
{
    std::vector<char> bytes(c_encodeBlockBytes);
    std::vector<char> text(base64EncodeLen(c_encodeBlockBytes));
    while (in.read(bytes.data(), c_encodeBlockBytes) || in.gcount() > 0) {
        const int length =
            base64Encode(text.data(), static_cast<int>(text.size()), bytes.data(), static_cast<int>(in.gcount()));
        out.write(text.data(), length);
    }
    return !in.bad() && static_cast<bool>(out);
}

int base64Decode(char* out, int outLen, const char* in, int inLen, bool padded)
{
    const int length = decodedLength(in, inLen, padded);
    if (length < 0 || outLen < length)
        return -1;
    const int groups = inLen / 4;
    // With padding allowed, the last group may be cut short by "=".
    const int fullGroups = padded && groups > 0 ? groups - 1 : groups;
    for (int g = 0; g < fullGroups; ++g) {
        if (!decodeGroup(in + 4 * g, 4, out + 3 * g))
            return -1;
    }
    if (fullGroups < groups) {
        const char* last = in + 4 * fullGroups;
        // "xx==" ends after one byte, "xxx=" after two; any other "=",
        // such as the third of "xx=x", is refused by decodeGroup.
        const int count = last[3] != '=' ? 4 : last[2] == '=' ? 2 : 3;
        if (!decodeGroup(last, count, out + 3 * fullGroups))
            return -1;
    }
    return length;
}

bool base64Decode(std::ostream& out, std::istream& in)
{
    std::vector<char> text(c_decodeBlockChars);
    std::vector<char> bytes(c_decodeBlockChars / 4 * 3);
    for (;;) {
        in.read(text.data(), c_decodeBlockChars);
        const int count = static_cast<int>(in.gcount());
        if (count == 0)
            break;
        // Padding is only allowed in the block that ends the input.
        const bool last = count < c_decodeBlockChars || in.peek() == std::istream::traits_type::eof();
        const int length = base64Decode(bytes.data(), static_cast<int>(bytes.size()), text.data(), count, last);
        if (length < 0)
            return false;
        out.write(bytes.data(), length);
        if (last)
            break;
    }
    return !in.bad() && static_cast<bool>(out);
}

} // namespace OKU
