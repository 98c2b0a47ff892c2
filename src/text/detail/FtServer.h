#ifndef OKU_TEXT_DETAIL_FTSERVER_H
#define OKU_TEXT_DETAIL_FTSERVER_H

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "core/NonCopyable.h"

namespace OKU {

class FtFace;

/// The toolkit's only contact with the FreeType library. FreeType objects are
/// not thread-safe and a face's glyph slot is shared by all its sizes, so every
/// FreeType call of the text layer is made under this server's one recursive
/// lock. Faces opened from files are shared by path for as long as anybody
/// uses them.
class FtServer : private NonCopyable {
public:
    /// Holds the FreeType lock for a scope.
    class Locker : private NonCopyable {
    public:
        Locker();
        ~Locker();
    };

    /// The font file extensions the server can open.
    static const std::array<const char*, 6> c_fileExts;
    /// Larger font files are refused; the largest font of a device, a CJK
    /// fallback, takes a few megabytes.
    static constexpr std::uint64_t c_maxFontFileBytes = 64 << 20;

    /// Created on first use, destroyed at exit. The FreeType library and the
    /// lock are initialised with the first server and never released: faces
    /// held by other static objects are released after the server at exit,
    /// and they still take the lock.
    static FtServer& g();

    /// The face of a font file, shared with every other user of the path while
    /// it lives. A face without a character map gets the Microsoft symbol
    /// encoding. Empty when the file cannot be opened as a face (also when it
    /// is no regular file or larger than c_maxFontFileBytes). The file
    /// stays open and is read in the parts FreeType asks for, not mapped.
    std::shared_ptr<FtFace> getFace(const std::string& path);
    /// Whether FreeType knows the file as a font; reads only its header.
    bool isFontFile(const std::string& path);
    /// A face over a font image that the caller keeps alive as long as the
    /// face; neither shared nor given a character map. Empty on failure.
    std::shared_ptr<FtFace> getFace(const void* data, int size);
    /// Forgets the face of a path: a face still in use stays alive, the next
    /// getFace of the path opens the file again.
    void flushCache(const std::string& path);

    /// The lock is recursive: a thread holding it may make further calls.
    void lock();
    void unlock();

private:
    FtServer();
    ~FtServer() = default;

    std::map<std::string, std::weak_ptr<FtFace>> m_faces;
};

} // namespace OKU

#endif
