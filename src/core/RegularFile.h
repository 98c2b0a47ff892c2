#ifndef OKU_CORE_REGULARFILE_H
#define OKU_CORE_REGULARFILE_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "core/Descriptor.h"

namespace OKU {

/* Every file the toolkit reads may have been left, replaced or linked by
 * another program: a FIFO blocks the open (no writer) or the read for ever,
 * a device such as /dev/zero or /dev/urandom never ends. So files are opened
 * without blocking, accepted only as regular files, and bounded: a file
 * larger than its format can sensibly be is refused, not cut.
 */

/// For formats that read a bounded part of the file whatever its size.
constexpr std::uint64_t c_anyFileSize = std::numeric_limits<std::uint64_t>::max();

/// path opened read-only (close-on-exec, never becoming the controlling
/// terminal) when it is a regular file of at most limit bytes; else a closed
/// descriptor. The open cannot block: O_NONBLOCK is cleared only once the
/// file is known to be regular.
Descriptor openRegularFile(const std::string& path, std::uint64_t limit);

/// The whole of a regular file of at most limit bytes. False, with contents
/// untouched, when openRegularFile refuses it, a read fails or it grew past
/// limit while being read.
bool readRegularFile(const std::string& path, std::uint64_t limit, std::string& contents);

/// The first count bytes of a regular file of any size (all of it when it is
/// shorter), for formats that never look further. False, with contents
/// untouched, when openRegularFile refuses it or a read fails.
bool readRegularFileStart(const std::string& path, std::size_t count, std::string& contents);

} // namespace OKU

#endif
