#ifndef OKU_CORE_SETUPERROR_H
#define OKU_CORE_SETUPERROR_H

#include <stdexcept>
#include <string>

namespace OKU {

/// The device cannot be set up as the program asks: a display, touch device,
/// resource file or font that is missing, unreadable or refuses its
/// settings. Thrown by the toolkit's set-up calls so that the program
/// decides what to do (show another page, try another device, or end with
/// what() as its last line); unlike fatalError it is never a programming
/// error. what() is one line, ready for standard error.
class SetupError : public std::runtime_error {
public:
    explicit SetupError(const std::string& line) : std::runtime_error(line) {}
};

} // namespace OKU

#endif
