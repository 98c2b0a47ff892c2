#ifndef OKU_CORE_FILESTREAMS_H
#define OKU_CORE_FILESTREAMS_H

#include <ext/stdio_filebuf.h>

#include <cstddef>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "core/Descriptor.h"
#include "core/Utf8.h"

namespace OKU {

/// The file behind a DescriptorStream, whatever the stream's type: it opens
/// the file with open(2) and owns the stdio-style buffer over the descriptor.
/// Opening flags: with out or app requested, O_CREAT and O_WRONLY (O_RDWR
/// when in is also requested), plus O_TRUNC for trunc and O_APPEND for app;
/// otherwise O_RDONLY.
class DescriptorStreamFile {
public:
    static constexpr std::size_t c_bufferSize = 8192;

    /// Nothing open yet; the buffer exists already, so that a stream always
    /// has one.
    DescriptorStreamFile() : m_buffer(new Buffer()) {}
    DescriptorStreamFile(const DescriptorStreamFile&) = delete;
    DescriptorStreamFile& operator=(const DescriptorStreamFile&) = delete;

    /// The buffer to read and write through; a successful open or attach
    /// replaces it.
    std::streambuf* buffer() const { return m_buffer.get(); }

    /// False when a file is open already or open(2) fails.
    bool open(const std::string& path, std::ios_base::openmode mode);
    /// Takes over the descriptor; false when it is closed or cannot be
    /// buffered.
    bool attach(Descriptor descriptor, std::ios_base::openmode mode);
    bool is_open() const { return m_buffer->is_open(); }
    /// Flushes and closes the descriptor; false when that fails or nothing
    /// was open.
    bool close() { return m_buffer->close() != nullptr; }

private:
    typedef __gnu_cxx::stdio_filebuf<char> Buffer;

    std::unique_ptr<Buffer> m_buffer;
};

/// A standard stream whose file is opened with open(2), so that the flags
/// (O_CREAT without O_TRUNC in particular) are under our control, and read or
/// written through an 8192-byte stdio-style buffer over the descriptor.
/// Stream is std::istream, std::ostream or std::iostream; impliedMode is added
/// to every open mode (in for input streams, out for output streams) and
/// defaultMode is used when no mode is given. DescriptorStreamFile tells how
/// the mode opens the file.
/// The stream owns its buffer and closes the descriptor on close() or
/// destruction.
template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
class DescriptorStream : public Stream {
public:
    static constexpr std::size_t c_bufferSize = DescriptorStreamFile::c_bufferSize;

    DescriptorStream() : Stream(nullptr) { this->rdbuf(m_file.buffer()); }
    explicit DescriptorStream(const std::string& path, std::ios_base::openmode mode = defaultMode)
        : DescriptorStream()
    {
        open(path, mode);
    }
    explicit DescriptorStream(const std::wstring& path, std::ios_base::openmode mode = defaultMode)
        : DescriptorStream()
    {
        open(path, mode);
    }
    /// A stream over a descriptor opened elsewhere (openRegularFile, say); a
    /// closed one gives a stream that failed to open.
    explicit DescriptorStream(Descriptor descriptor, std::ios_base::openmode mode = defaultMode)
        : DescriptorStream()
    {
        opened(m_file.attach(std::move(descriptor), mode | impliedMode));
    }
    DescriptorStream(const DescriptorStream&) = delete;
    DescriptorStream& operator=(const DescriptorStream&) = delete;

    /// Sets the fail bit when the stream is already open or open(2) fails;
    /// a successful open clears the state.
    void open(const std::string& path, std::ios_base::openmode mode = defaultMode)
    {
        opened(m_file.open(path, mode | impliedMode));
    }
    /// The path is encoded to UTF-8.
    void open(const std::wstring& path, std::ios_base::openmode mode = defaultMode)
    {
        open(utf8Encode(path), mode);
    }
    bool is_open() const { return m_file.is_open(); }
    /// Flushes and closes the descriptor; sets the fail bit when that fails or
    /// nothing was open.
    void close()
    {
        if (!m_file.close())
            this->setstate(std::ios_base::failbit);
    }

private:
    /// Setting the new buffer clears the state.
    void opened(bool success)
    {
        if (success)
            this->rdbuf(m_file.buffer());
        else
            this->setstate(std::ios_base::failbit);
    }

    DescriptorStreamFile m_file;
};

typedef DescriptorStream<std::istream, std::ios_base::in, std::ios_base::in> InputDescriptorStream;
typedef DescriptorStream<std::ostream, std::ios_base::out, std::ios_base::out>
    OutputDescriptorStream;
typedef DescriptorStream<std::iostream, std::ios_base::openmode{},
                         std::ios_base::in | std::ios_base::out>
    InputOutputDescriptorStream;

/// Input file stream: opened read-only unless out is also requested.
class iufstream : public InputDescriptorStream {
public:
    using InputDescriptorStream::InputDescriptorStream;
};

/// Output file stream: the file is created when missing; it is truncated only
/// when trunc is requested and appended to when app is requested.
class oufstream : public OutputDescriptorStream {
public:
    using OutputDescriptorStream::OutputDescriptorStream;
};

/// Input-output file stream (in | out by default); the mode alone decides how
/// the file is opened.
class ufstream : public InputOutputDescriptorStream {
public:
    using InputOutputDescriptorStream::InputOutputDescriptorStream;
};

} // namespace OKU

#endif
