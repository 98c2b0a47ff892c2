#ifndef OKU_CORE_XMLERROR_H
#define OKU_CORE_XMLERROR_H

#include <stdexcept>
#include <string>

namespace OKU {

/// Raised by the XML reader for malformed or unexpected input and by the typed
/// attribute getters for values of the wrong type.
class XMLError : public std::runtime_error {
public:
    explicit XMLError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace OKU

#endif
