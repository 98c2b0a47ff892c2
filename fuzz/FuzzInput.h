#ifndef OKU_FUZZ_FUZZINPUT_H
#define OKU_FUZZ_FUZZINPUT_H

// What every fuzz target shares: taking parameters from the front of the
// fuzzer's bytes, handing the rest to a parser as text or as a file, and
// stopping loudly when the code under test breaks one of its promises.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The fuzzer's bytes, consumed from the front.
class Input {
public:
    Input(const uint8_t* data, size_t size);

    bool empty() const { return m_size == 0; }
    // The next byte; 0 once the input is used up.
    uint8_t byte();
    // A little-endian value of the next two bytes.
    uint16_t u16();
    // The bytes up to the next separator (consumed with them), or all that is
    // left when there is none.
    std::string until(char separator);
    std::string rest();

private:
    const uint8_t* m_data;
    size_t m_size;
};

// Aborts with the broken promise, so that the fuzzer keeps the input.
[[noreturn]] void fail(const char* what, const char* file, int line);

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : fuzz::fail(#condition, __FILE__, __LINE__))

// A directory of this process's own, for parsers that read files by path;
// removed at exit.
const std::string& scratchDirectory();

// Replaces the file scratchDirectory()/name by bytes and returns its path.
std::string writeScratchFile(const std::string& name, const std::string& bytes);

} // namespace fuzz

#endif
