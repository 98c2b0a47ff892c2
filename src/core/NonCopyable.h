#ifndef OKU_CORE_NONCOPYABLE_H
#define OKU_CORE_NONCOPYABLE_H

namespace OKU {

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
