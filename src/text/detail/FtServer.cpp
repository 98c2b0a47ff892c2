#include "text/detail/FtServer.h"

#include <cerrno>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "core/FatalError.h"
#include "core/RegularFile.h"
#include "text/detail/FtFace.h"

namespace OKU {

namespace {

// Process-wide, set up once by the first server and never released.
bool g_ftInitialised = false;
FT_Library g_ftLibrary = nullptr;
pthread_mutex_t g_ftLock;

void initRecursiveMutex(pthread_mutex_t& mutex)
{
    pthread_mutexattr_t attr;
    if (pthread_mutexattr_init(&attr) != 0)
        fatalError("pthread_mutexattr_init");
    if (pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE) != 0)
        fatalError("pthread_mutexattr_settype");
    if (pthread_mutex_init(&mutex, &attr) != 0)
        fatalError("pthread_mutex_init");
    if (pthread_mutexattr_destroy(&attr) != 0)
        fatalError("pthread_mutexattr_destroy");
}

// Font files are read with pread where FreeType asks, instead of being
// mapped whole as FT_New_Face does: FreeType copies the tables it keeps and
// each glyph it loads, while every page fault on a mapping also maps the
// neighbouring pages of the file, so touching a few tables and glyphs of a
// large font kept hundreds of kilobytes resident.
unsigned long readFontFile(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                           unsigned long count)
{
    // A count of 0 only asks whether the position exists (0 means yes).
    if (count == 0)
        return offset <= stream->size ? 0 : 1;
    unsigned long done = 0;
    while (done < count) {
        const ssize_t n = pread(stream->descriptor.value, buffer + done, count - done,
                                static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<unsigned long>(n);
    }
    return done;
}

// FreeType calls this when it releases the face, or when opening it failed.
void closeFontFile(FT_Stream stream)
{
    close(stream->descriptor.value);
    stream->descriptor.value = -1;
}

// A stream over the open file, for FT_Open_Face; null when the file cannot
// be opened or is no regular file of at most c_maxFontFileBytes. FreeType
// reads only within the size taken here, so a file that grows later is read
// no further.
std::unique_ptr<FT_StreamRec> openFontFile(const std::string& path)
{
    Descriptor fd = openRegularFile(path, FtServer::c_maxFontFileBytes);
    struct stat status;
    if (!fd.isOpen() || fstat(fd.get(), &status) != 0)
        return nullptr;
    auto stream = std::make_unique<FT_StreamRec>();
    stream->size = static_cast<unsigned long>(status.st_size);
    stream->descriptor.value = fd.release();
    stream->read = readFontFile;
    stream->close = closeFontFile;
    return stream;
}

// Opens face number index of the file (a negative index only checks the
// format); the stream goes with the face. The caller holds the lock.
FT_Face openFace(const std::string& path, FT_Long index, std::unique_ptr<FT_StreamRec>& stream)
{
    stream = openFontFile(path);
    if (!stream)
        return nullptr;
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = stream.get();
    FT_Face face;
    if (FT_Open_Face(g_ftLibrary, &args, index, &face) == 0)
        return face;
    // FreeType closes the stream of a face it fails to open, but not when
    // it refused the arguments.
    if (stream->descriptor.value >= 0)
        closeFontFile(stream.get());
    return nullptr;
}

} // namespace

const std::array<const char*, 6> FtServer::c_fileExts = {".bdf", ".ttf", ".otf",
                                                         ".pfa", ".pfb", ".fnt"};

FtServer::Locker::Locker()
{
    FtServer::g().lock();
}

FtServer::Locker::~Locker()
{
    FtServer::g().unlock();
}

FtServer& FtServer::g()
{
    static FtServer server;
    return server;
}

FtServer::FtServer()
{
    if (g_ftInitialised)
        return;
    initRecursiveMutex(g_ftLock);
    if (FT_Init_FreeType(&g_ftLibrary) != 0)
        fatalError("FT_Init_FreeType failed");
    g_ftInitialised = true;
}

void FtServer::lock()
{
    if (pthread_mutex_lock(&g_ftLock) != 0)
        fatalError("pthread_mutex_lock");
}

void FtServer::unlock()
{
    if (pthread_mutex_unlock(&g_ftLock) != 0)
        fatalError("pthread_mutex_unlock");
}

std::shared_ptr<FtFace> FtServer::getFace(const std::string& path)
{
    Locker locker;
    const auto it = m_faces.find(path);
    if (it != m_faces.end()) {
        if (std::shared_ptr<FtFace> face = it->second.lock())
            return face;
    }
    std::unique_ptr<FT_StreamRec> stream;
    const FT_Face ftFace = openFace(path, 0, stream);
    if (ftFace == nullptr)
        return nullptr;
    if (ftFace->charmap == nullptr && FT_Select_Charmap(ftFace, FT_ENCODING_MS_SYMBOL) != 0) {
        FT_Done_Face(ftFace);
        return nullptr;
    }
    auto face = std::make_shared<FtFace>(ftFace, std::move(stream));
    m_faces[path] = face;
    return face;
}

bool FtServer::isFontFile(const std::string& path)
{
    Locker locker;
    std::unique_ptr<FT_StreamRec> stream;
    const FT_Face probe = openFace(path, -1, stream);
    if (probe == nullptr)
        return false;
    FT_Done_Face(probe);
    return true;
}

std::shared_ptr<FtFace> FtServer::getFace(const void* data, int size)
{
    Locker locker;
    FT_Face ftFace;
    if (FT_New_Memory_Face(g_ftLibrary, static_cast<const FT_Byte*>(data), size, 0, &ftFace) != 0)
        return nullptr;
    return std::make_shared<FtFace>(ftFace);
}

void FtServer::flushCache(const std::string& path)
{
    Locker locker;
    m_faces.erase(path);
}

} // namespace OKU
