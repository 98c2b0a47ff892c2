#ifndef LIFEBOAT_EXTERNALDISK_H
#define LIFEBOAT_EXTERNALDISK_H

#include <string>

#include "core/FileFinder.h"
#include "core/Mutex.h"
#include "core/NonCopyable.h"

namespace OKU {

/// The USB drive of the device, mounted by the device's scripts at one fixed
/// mount point. The service counts its users so that the drive is mounted for
/// the first and unmounted after the last; users hold a Session.
class ExternalDisk : private NonCopyable {
public:
    /// One user's hold on the drive; destroying a mounted session unmounts.
    /// With OKU_FAKE_EXTDISK set, that directory stands in for the drive and
    /// no script runs.
    class Session : private NonCopyable {
    public:
        Session();
        ~Session();

        /// True when the session holds a mounted drive afterwards.
        bool mount();
        /// False when the drive could not be unmounted; the session holds it
        /// no longer either way.
        bool umount();
        /// Where the drive is mounted; fatal when the session holds none.
        std::string getRoot() const;

    private:
        std::string m_fakeRoot;
        std::string m_root;
    };

    static void initGlobal(const FileFinder& scriptFinder);
    static ExternalDisk& g();

    explicit ExternalDisk(const FileFinder& scriptFinder);
    ~ExternalDisk();

    bool isMounted();
    /// The counted mount: the mount point, or empty when the script failed.
    std::string doMount();
    /// The counted unmount: false when the unmount script failed, which the
    /// caller tells the operator (the drive may still be mounted).
    bool doUmount();

    static ExternalDisk* s_global;

private:
    int runScript(const std::string& name);

    FileFinder m_scriptFinder;
    int32_t m_mountCount = 0;
    Mutex m_mutex;
};

} // namespace OKU

#endif
