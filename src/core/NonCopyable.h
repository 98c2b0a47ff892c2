#ifndef OKU_CORE_NONCOPYABLE_H
#define OKU_CORE_NONCOPYABLE_H

namespace OKU {

/// Private base of the classes that own a resource and so must not be copied.
class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

} // namespace OKU

#endif
