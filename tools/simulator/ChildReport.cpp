#include "ChildReport.h"

#include <cerrno>
#include <unistd.h>

namespace sim {

void reportChildFailure(int pipe, int step)
{
    const ChildFailure failure = {step, errno};
    [[maybe_unused]] const ssize_t n = write(pipe, &failure, sizeof failure);
    _exit(127);
}

std::optional<ChildFailure> awaitChildReport(int pipe)
{
    ChildFailure failure;
    ssize_t n;
    do
        n = read(pipe, &failure, sizeof failure);
    while (n < 0 && errno == EINTR);
    close(pipe);
    if (n != static_cast<ssize_t>(sizeof failure))
        return std::nullopt;
    return failure;
}

} // namespace sim
