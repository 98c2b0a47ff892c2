#include "text/FtServer.h"

#include <pthread.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "core/FatalError.h"
#include "text/FtFace.h"

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
    FT_Face ftFace;
    if (FT_New_Face(g_ftLibrary, path.c_str(), 0, &ftFace) != 0)
        return nullptr;
    if (ftFace->charmap == nullptr && FT_Select_Charmap(ftFace, FT_ENCODING_MS_SYMBOL) != 0) {
        FT_Done_Face(ftFace);
        return nullptr;
    }
    auto face = std::make_shared<FtFace>(ftFace);
    m_faces[path] = face;
    return face;
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
