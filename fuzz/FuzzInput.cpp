#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <ftw.h>
#include <unistd.h>

namespace fuzz {

Input::Input(const uint8_t* data, size_t size) : m_data(data), m_size(size)
{
}

uint8_t Input::byte()
{
    if (m_size == 0)
        return 0;
    --m_size;
    return *m_data++;
}

uint16_t Input::u16()
{
    const uint16_t low = byte();
    return static_cast<uint16_t>(low | byte() << 8);
}

std::string Input::until(char separator)
{
    size_t length = 0;
    while (length < m_size && m_data[length] != static_cast<uint8_t>(separator))
        ++length;
    const std::string text(reinterpret_cast<const char*>(m_data), length);
    const size_t consumed = length < m_size ? length + 1 : length;
    m_data += consumed;
    m_size -= consumed;
    return text;
}

std::string Input::rest()
{
    const std::string text(reinterpret_cast<const char*>(m_data), m_size);
    m_data += m_size;
    m_size = 0;
    return text;
}

void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
    std::abort();
}

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

struct ScratchDirectory {
    ScratchDirectory()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                              "/oku-fuzz-XXXXXX";
        if (mkdtemp(&pattern[0]) == nullptr)
            throw std::runtime_error("cannot create " + pattern);
        path = pattern;
    }
    ~ScratchDirectory() { nftw(path.c_str(), removeEntry, 8, FTW_DEPTH | FTW_PHYS); }
    std::string path;
};

} // namespace

const std::string& scratchDirectory()
{
    static const ScratchDirectory directory;
    return directory.path;
}

std::string writeScratchFile(const std::string& name, const std::string& bytes)
{
    const std::string path = scratchDirectory() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        fail(("cannot write " + path).c_str(), __FILE__, __LINE__);
    return path;
}

} // namespace fuzz
