#ifndef OKU_CORE_BASE64_H
#define OKU_CORE_BASE64_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace OKU {

// Base64 with the standard alphabet and "=" padding, without line breaks.

/// Length of the encoding of n bytes, so that callers of the buffer form can
/// allocate once.
int base64EncodeLen(int n);

/// Writes base64EncodeLen(inLen) characters (no terminating NUL) and returns
/// that number, or -1 when inLen is negative or outLen is too small.
int base64Encode(char* out, int outLen, const char* in, int inLen);
/// The container forms replace the contents of out.
void base64Encode(std::vector<char>& out, const std::vector<char>& in);
void base64Encode(std::vector<char>& out, const std::string& in);
std::string base64Encode(const std::string& in);
/// Encodes everything up to the end of in; false when out failed.
bool base64Encode(std::ostream& out, std::istream& in);

/// inLen must be a multiple of 4. With padded, the last group may end in "="
/// or "=="; otherwise "=" is refused like any character outside the alphabet
/// (white space included). Returns the number of bytes written, or -1 for bad
/// input or an outLen smaller than the decoded length.
int base64Decode(char* out, int outLen, const char* in, int inLen, bool padded);
/// The container and stream forms accept padding. On failure the containers
/// are left empty.
bool base64Decode(std::vector<char>& out, const std::vector<char>& in);
bool base64Decode(std::vector<char>& out, const std::string& in);
bool base64Decode(std::string& out, const std::string& in);
/// The decoded text, or an empty one when in is not valid Base64.
std::string base64Decode(const std::string& in);
/// Decodes everything up to the end of in. Output is written block by block,
/// so a failure may leave a partial result behind; padding is accepted only at
/// the very end.
bool base64Decode(std::ostream& out, std::istream& in);

} // namespace OKU

#endif
