#include "core/RegularFile.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OKU {

namespace {

// Appends up to count bytes of fd to contents, fewer at the end of the file;
// false on a read error.
bool appendAtMost(int fd, std::uint64_t count, std::string& contents)
{
    char buffer[8192];
    while (count > 0) {
        const ssize_t n = ::read(fd, buffer, std::min<std::uint64_t>(sizeof buffer, count));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(n));
        count -= static_cast<std::uint64_t>(n);
    }
    return true;
}

} // namespace

Descriptor openRegularFile(const std::string& path, std::uint64_t limit)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen())
        return fd;
    struct stat status;
    if (fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) > limit)
        return Descriptor();
    const int flags = fcntl(fd.get(), F_GETFL);
    if (flags < 0 || fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) < 0)
        return Descriptor();
    return fd;
}

bool readRegularFile(const std::string& path, std::uint64_t limit, std::string& contents)
{
    const Descriptor fd = openRegularFile(path, limit);
    if (!fd.isOpen())
        return false;
    // One byte more than the limit tells a file that grew since it was
    // opened from one that is exactly as large as allowed.
    std::string result;
    if (!appendAtMost(fd.get(), limit < c_anyFileSize ? limit + 1 : limit, result) ||
        result.size() > limit)
        return false;
    contents.swap(result);
    return true;
}

bool readRegularFileStart(const std::string& path, std::size_t count, std::string& contents)
{
    const Descriptor fd = openRegularFile(path, c_anyFileSize);
    std::string result;
    if (!fd.isOpen() || !appendAtMost(fd.get(), count, result))
        return false;
    contents.swap(result);
    return true;
}

} // namespace OKU
