#include "ExternalDisk.h"

#include "core/FatalError.h"
#include "core/Paths.h"
#include "core/Process.h"

namespace OKU {

namespace {

const char* const c_mountPoint = "/mnt/extdisk";

} // namespace

ExternalDisk* ExternalDisk::s_global = nullptr;

void ExternalDisk::initGlobal(const FileFinder& scriptFinder)
{
    if (s_global != nullptr)
        fatalError("static void OKU::ExternalDisk::initGlobal(const OKU::FileFinder&)");
    s_global = new ExternalDisk(scriptFinder);
}

ExternalDisk& ExternalDisk::g()
{
    if (s_global == nullptr)
        fatalError("static OKU::ExternalDisk& OKU::ExternalDisk::g()");
    return *s_global;
}

ExternalDisk::ExternalDisk(const FileFinder& scriptFinder) : m_scriptFinder(scriptFinder) {}

ExternalDisk::~ExternalDisk()
{
    if (m_mountCount > 0)
        fatalError("ExternalDisk::~ExternalDisk");
}

bool ExternalDisk::isMounted()
{
    MutexLocker lock(m_mutex);
    return m_mountCount > 0;
}

std::string ExternalDisk::doMount()
{
    MutexLocker lock(m_mutex);
    if (m_mountCount == 0 && runScript("mount-extdisk.sh") != 0)
        return std::string();
    ++m_mountCount;
    return c_mountPoint;
}

bool ExternalDisk::doUmount()
{
    MutexLocker lock(m_mutex);
    if (m_mountCount < 1)
        fatalError("ExternalDisk::doUmount()");
    return --m_mountCount > 0 || runScript("umount-extdisk.sh") == 0;
}

int ExternalDisk::runScript(const std::string& name)
{
    return execWait(m_scriptFinder.find(name), {c_mountPoint}, nullptr, std::string(), nullptr);
}

ExternalDisk::Session::Session() : m_fakeRoot(getEnv("OKU_FAKE_EXTDISK", "")) {}

// The operator has been told of a failed unmount by whoever ended the
// session's work; a destructor has no one to tell.
ExternalDisk::Session::~Session()
{
    umount();
}

bool ExternalDisk::Session::mount()
{
    if (!m_root.empty())
        return true;
    m_root = m_fakeRoot.empty() ? g().doMount() : m_fakeRoot;
    return !m_root.empty();
}

bool ExternalDisk::Session::umount()
{
    if (m_root.empty())
        return true;
    m_root.clear();
    return !m_fakeRoot.empty() || g().doUmount();
}

std::string ExternalDisk::Session::getRoot() const
{
    if (m_root.empty())
        fatalError("ExternalDisk::Session::getRoot(): Not mounted");
    return m_root;
}

} // namespace OKU
