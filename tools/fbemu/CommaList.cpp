#include "CommaList.h"

#include <cstring>

namespace fbemu {

bool isListed(const char* list, const char* name)
{
    const size_t length = std::strlen(name);
    for (const char* item = list;;) {
        const char* end = std::strchr(item, ',');
        const size_t itemLength = end ? static_cast<size_t>(end - item) : std::strlen(item);
        if (itemLength == length && std::strncmp(item, name, length) == 0)
            return true;
        if (!end)
            return false;
        item = end + 1;
    }
}

} // namespace fbemu
