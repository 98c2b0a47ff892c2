#include "graphics/detail/PngStream.h"

namespace OKU {
namespace internal {

namespace {

void readStream(png_struct* png, png_byte* data, size_t length)
{
    auto* in = static_cast<std::istream*>(png_get_io_ptr(png));
    if (in == nullptr)
        png_error(png, "Read error");
    in->read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(length));
    if (static_cast<size_t>(in->gcount()) != length)
        png_error(png, "Read error");
}

std::ostream* outputStream(png_struct* png)
{
    auto* out = static_cast<std::ostream*>(png_get_io_ptr(png));
    if (out == nullptr)
        png_error(png, "Write error");
    return out;
}

void writeStream(png_struct* png, png_byte* data, size_t length)
{
    outputStream(png)->write(reinterpret_cast<const char*>(data),
                             static_cast<std::streamsize>(length));
}

void flushStream(png_struct* png)
{
    outputStream(png)->flush();
}

} // namespace

void pngSetStreamReader(png_struct* png, std::istream* in)
{
    png_set_read_fn(png, in, readStream);
}

void pngSetStreamWriter(png_struct* png, std::ostream* out)
{
    png_set_write_fn(png, out, writeStream, flushStream);
}

} // namespace internal
} // namespace OKU
