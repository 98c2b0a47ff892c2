#ifndef OKU_CORE_BASE64_H
#define OKU_CORE_BASE64_H

#include <cstddef>
#include <istream>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace OKU {

// Base64 with the standard alphabet and "=" padding, without line breaks.

/// Length of the encoding of n bytes, so that callers of the buffer form can
/// allocate once.
inline int base64EncodeLen(int n)
{
    return (n + 2) / 3 * 4;
}

/// Writes base64EncodeLen(inLen) characters (no terminating NUL) and returns
/// that number, or -1 when inLen is negative or outLen is too small.
int base64Encode(char* out, int outLen, const char* in, int inLen);
/// Encodes everything up to the end of in; false when out failed.
bool base64Encode(std::ostream& out, std::istream& in);

/// inLen must be a multiple of 4. With padded, the last group may end in "="
/// or "=="; otherwise "=" is refused like any character outside the alphabet
/// (white space included). Returns the number of bytes written, or -1 for bad
/// input or an outLen smaller than the decoded length.
int base64Decode(char* out, int outLen, const char* in, int inLen, bool padded);
/// Decodes everything up to the end of in. Output is written block by block,
/// so a failure may leave a partial result behind; padding is accepted only at
/// the very end.
bool base64Decode(std::ostream& out, std::istream& in);

namespace detail __attribute__((visibility("hidden"))) {

template <class Container>
void base64EncodeInto(Container& out, const char* in, std::size_t inLen)
{
    const int length = base64EncodeLen(static_cast<int>(inLen));
    out.resize(length);
    base64Encode(out.data(), length, in, static_cast<int>(inLen));
}

// Room for the longest result first; the buffer form tells how much of it
// the input fills.
template <class Container>
bool base64DecodeInto(Container& out, const char* in, std::size_t inLen)
{
    if (inLen <= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        out.resize(inLen / 4 * 3);
        const int length =
            base64Decode(out.data(), static_cast<int>(out.size()), in, static_cast<int>(inLen), true);
        if (length >= 0) {
            out.resize(length);
            return true;
        }
    }
    out.clear();
    return false;
}

} // namespace detail

/// The container forms replace the contents of out.
inline void base64Encode(std::vector<char>& out, const std::vector<char>& in)
{
    detail::base64EncodeInto(out, in.data(), in.size());
}
inline void base64Encode(std::vector<char>& out, const std::string& in)
{
    detail::base64EncodeInto(out, in.data(), in.size());
}
inline std::string base64Encode(const std::string& in)
{
    std::string out;
    detail::base64EncodeInto(out, in.data(), in.size());
    return out;
}

/// The container forms accept padding. On failure the containers are left
/// empty.
inline bool base64Decode(std::vector<char>& out, const std::vector<char>& in)
{
    return detail::base64DecodeInto(out, in.data(), in.size());
}
inline bool base64Decode(std::vector<char>& out, const std::string& in)
{
    return detail::base64DecodeInto(out, in.data(), in.size());
}
inline bool base64Decode(std::string& out, const std::string& in)
{
    return detail::base64DecodeInto(out, in.data(), in.size());
}
/// The decoded text, or an empty one when in is not valid Base64.
inline std::string base64Decode(const std::string& in)
{
    std::string out;
    detail::base64DecodeInto(out, in.data(), in.size());
    return out;
}

} // namespace OKU

#endif
