#include "core/FileCopy.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#include "core/Paths.h"

namespace OKU {

namespace {

constexpr std::streamsize c_copyBlockSize = 8192;

} // namespace

bool copyStream(std::istream& in, std::ostream& out)
{
    char block[c_copyBlockSize];
    for (;;) {
        in.read(block, sizeof block);
        if (in.bad())
            return false;
        out.write(block, in.gcount());
        if (out.bad())
            return false;
        if (in.eof())
            return true;
        if (in.fail())
            return false;
    }
}

FileCopier::FileCopier(const std::string& from, const std::string& to)
    : m_in(from, std::ios_base::in | std::ios_base::binary),
      m_out(to, std::ios_base::out | std::ios_base::trunc | std::ios_base::binary)
{
    m_ok = m_in.is_open() && m_out.is_open();
}

bool FileCopier::copy()
{
    if (m_done || !m_ok)
        return m_done && m_ok;
    m_ok = copyStream(m_in, m_out);
    m_done = true;
    m_in.close();
    m_out.close();
    m_ok = m_ok && !m_in.bad() && !m_out.fail();
    return m_ok;
}

bool syncCopyFile(const std::string& from, const std::string& to, const std::string& suffix)
{
    const std::string temp = to + suffix;
    if (pathExists(temp) && ::remove(temp.c_str()) != 0)
        return false;
    if (!copyFile(from, temp)) {
        ::remove(temp.c_str());
        return false;
    }
    return syncRename(temp, to);
}

bool syncPath(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

bool renamePath(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool syncRename(const std::string& from, const std::string& to)
{
    std::string dir = pathDirName(to);
    if (dir.empty())
        dir = ".";
    return syncPath(from) && renamePath(from, to) && syncPath(dir);
}

} // namespace OKU
