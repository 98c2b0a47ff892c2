#ifndef OKU_CORE_FILESTREAMS_H
#define OKU_CORE_FILESTREAMS_H

#include <ext/stdio_filebuf.h>

#include <cstddef>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "core/Descriptor.h"
#include "core/Visibility.h"

namespace OKU {

/// A standard stream whose file is opened with open(2), so that the flags
/// (O_CREAT without O_TRUNC in particular) are under our control, and read or
/// written through an 8192-byte stdio-style buffer over the descriptor.
/// Stream is std::istream, std::ostream or std::iostream; impliedMode is added
/// to every open mode (in for input streams, out for output streams) and
/// defaultMode is used when no mode is given.
/// Opening flags: with out or app requested, O_CREAT and O_WRONLY (O_RDWR when
/// in is also requested), plus O_TRUNC for trunc and O_APPEND for app;
/// otherwise O_RDONLY.
/// The stream owns its buffer and closes the descriptor on close() or
/// destruction.
template <class Stream, std::ios_base::openmode impliedMode, std::ios_base::openmode defaultMode>
class DescriptorStream : public Stream {
public:
    static constexpr std::size_t c_bufferSize = 8192;

    DescriptorStream();
    explicit DescriptorStream(const std::string& path, std::ios_base::openmode mode = defaultMode);
    explicit DescriptorStream(const std::wstring& path, std::ios_base::openmode mode = defaultMode);
    /// A stream over a descriptor opened elsewhere (openRegularFile, say); a
    /// closed one gives a stream that failed to open.
    explicit DescriptorStream(Descriptor descriptor, std::ios_base::openmode mode = defaultMode);
    DescriptorStream(const DescriptorStream&) = delete;
    DescriptorStream& operator=(const DescriptorStream&) = delete;
    ~DescriptorStream() override;

    /// Sets the fail bit when the stream is already open or open(2) fails;
    /// a successful open clears the state.
    void open(const std::string& path, std::ios_base::openmode mode = defaultMode);
    /// The path is encoded to UTF-8.
    void open(const std::wstring& path, std::ios_base::openmode mode = defaultMode);
    bool is_open() const;
    /// Flushes and closes the descriptor; sets the fail bit when that fails or
    /// nothing was open.
    void close();

private:
    typedef __gnu_cxx::stdio_filebuf<char> Buffer;

    /// Takes over the descriptor; sets the fail bit when it is closed.
    OKU_LOCAL void attach(Descriptor descriptor, std::ios_base::openmode mode);

    std::unique_ptr<Buffer> m_buffer;
};

typedef DescriptorStream<std::istream, std::ios_base::in, std::ios_base::in> InputDescriptorStream;
typedef DescriptorStream<std::ostream, std::ios_base::out, std::ios_base::out>
    OutputDescriptorStream;
typedef DescriptorStream<std::iostream, std::ios_base::openmode{},
                         std::ios_base::in | std::ios_base::out>
    InputOutputDescriptorStream;

extern template class DescriptorStream<std::istream, std::ios_base::in, std::ios_base::in>;
extern template class DescriptorStream<std::ostream, std::ios_base::out, std::ios_base::out>;
extern template class DescriptorStream<std::iostream, std::ios_base::openmode{},
                                       std::ios_base::in | std::ios_base::out>;

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
