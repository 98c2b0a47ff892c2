#ifndef OKU_CORE_DESCRIPTORIO_H
#define OKU_CORE_DESCRIPTORIO_H

namespace OKU {

/// Reads exactly count bytes, however many read(2) calls it takes; a signal or
/// a not-yet-ready non-blocking descriptor (EINTR, EAGAIN) does not end it.
/// False on any other error or at end of file before count bytes.
bool safeRead(int fd, void* buffer, unsigned int count);

/// Writes all count bytes, however many write(2) calls it takes; false on the
/// first error (nothing is retried).
bool safeWrite(int fd, const void* buffer, unsigned int count);

} // namespace OKU

#endif
