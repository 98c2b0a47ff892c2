#include "core/FileStreams.h"

#include <fcntl.h>

namespace OKU {

namespace {

int openFlags(std::ios_base::openmode mode)
{
    const bool reading = (mode & std::ios_base::in) != 0;
    const bool writing = (mode & (std::ios_base::out | std::ios_base::app)) != 0;
    if (!writing)
        return O_RDONLY;
    int flags = O_CREAT | (reading ? O_RDWR : O_WRONLY);
    if (mode & std::ios_base::trunc)
        flags |= O_TRUNC;
    if (mode & std::ios_base::app)
        flags |= O_APPEND;
    return flags;
}

// The buffer hands the mode to fdopen, which accepts only some combinations;
// truncation has already been done by open(2), so only the direction and
// appending are passed on.
std::ios_base::openmode bufferMode(std::ios_base::openmode mode)
{
    std::ios_base::openmode result =
        mode & (std::ios_base::in | std::ios_base::out | std::ios_base::app);
    if (result == std::ios_base::openmode())
        result = std::ios_base::in;
    return result;
}

} // namespace

bool DescriptorStreamFile::open(const std::string& path, std::ios_base::openmode mode)
{
    if (is_open())
        return false;
    return attach(Descriptor(::open(path.c_str(), openFlags(mode), 0666)), mode);
}

bool DescriptorStreamFile::attach(Descriptor descriptor, std::ios_base::openmode mode)
{
    if (!descriptor.isOpen())
        return false;
    std::unique_ptr<Buffer> buffer(new Buffer(descriptor.get(), bufferMode(mode), c_bufferSize));
    // The buffer takes over the descriptor only when it could attach to it.
    if (!buffer->is_open())
        return false;
    descriptor.release();
    m_buffer = std::move(buffer);
    return true;
}

} // namespace OKU
