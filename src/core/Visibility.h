#ifndef OKU_CORE_VISIBILITY_H
#define OKU_CORE_VISIBILITY_H

/// Keeps a member of a public class out of the shared library's interface:
/// for private helpers that only the library's own sources call. A member
/// that an inline function or template of a header uses must stay visible,
/// since the program that includes the header calls it from its own code.
#define OKU_LOCAL __attribute__((visibility("hidden")))

#endif
