#include "core/FileStreams.h"

#include <fcntl.h>

#include <utility>

#include "core/Utf8.h"

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

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
DescriptorStream<Stream, impliedMode, defaultMode>::DescriptorStream()
    : Stream(nullptr), m_buffer(new Buffer())
{
    this->rdbuf(m_buffer.get());
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
DescriptorStream<Stream, impliedMode, defaultMode>::DescriptorStream(const std::string& path,
                                                                     std::ios_base::openmode mode)
    : DescriptorStream()
{
    open(path, mode);
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
DescriptorStream<Stream, impliedMode, defaultMode>::DescriptorStream(const std::wstring& path,
                                                                     std::ios_base::openmode mode)
    : DescriptorStream()
{
    open(path, mode);
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
DescriptorStream<Stream, impliedMode, defaultMode>::DescriptorStream(Descriptor descriptor,
                                                                     std::ios_base::openmode mode)
    : DescriptorStream()
{
    attach(std::move(descriptor), mode | impliedMode);
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
DescriptorStream<Stream, impliedMode, defaultMode>::~DescriptorStream() = default;

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
void DescriptorStream<Stream, impliedMode, defaultMode>::open(const std::string& path,
                                                              std::ios_base::openmode mode)
{
    if (is_open()) {
        this->setstate(std::ios_base::failbit);
        return;
    }
    mode |= impliedMode;
    attach(Descriptor(::open(path.c_str(), openFlags(mode), 0666)), mode);
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
void DescriptorStream<Stream, impliedMode, defaultMode>::attach(Descriptor descriptor,
                                                                std::ios_base::openmode mode)
{
    if (!descriptor.isOpen()) {
        this->setstate(std::ios_base::failbit);
        return;
    }
    std::unique_ptr<Buffer> buffer(new Buffer(descriptor.get(), bufferMode(mode), c_bufferSize));
    // The buffer takes over the descriptor only when it could attach to it.
    if (!buffer->is_open()) {
        this->setstate(std::ios_base::failbit);
        return;
    }
    descriptor.release();
    m_buffer = std::move(buffer);
    this->rdbuf(m_buffer.get());
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
void DescriptorStream<Stream, impliedMode, defaultMode>::open(const std::wstring& path,
                                                              std::ios_base::openmode mode)
{
    open(utf8Encode(path), mode);
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
bool DescriptorStream<Stream, impliedMode, defaultMode>::is_open() const
{
    return m_buffer->is_open();
}

template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
void DescriptorStream<Stream, impliedMode, defaultMode>::close()
{
    if (!m_buffer->close())
        this->setstate(std::ios_base::failbit);
}

template class DescriptorStream<std::istream, std::ios_base::in, std::ios_base::in>;
template class DescriptorStream<std::ostream, std::ios_base::out, std::ios_base::out>;
template class DescriptorStream<std::iostream, std::ios_base::openmode{},
                                std::ios_base::in | std::ios_base::out>;

} // namespace OKU
