#include "BackupProgress.h"

#include <cerrno>
#include <cstdlib>

namespace {

// Decimal digits only, no sign, no blanks, nothing that overflows.
bool parseCount(const std::string& text, unsigned long long& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return false;
    value = parsed;
    return true;
}

} // namespace

bool BackupProgress::apply(const std::string& line)
{
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos)
        return false;
    const std::string word = line.substr(0, blank);
    const std::string value = line.substr(blank + 1);
    if (word == "stage") {
        const Stage next = value == "saving" ? SAVING : CHECKING;
        if (value != "saving" && value != "checking")
            return false;
        if (next != stage) {
            stage = next;
            total = 0;
            done = 0;
        }
        return true;
    }
    if (word == "total")
        return parseCount(value, total);
    if (word == "done")
        return parseCount(value, done);
    if (word == "partial" && !value.empty()) {
        partialPath = value;
        return true;
    }
    return false;
}
