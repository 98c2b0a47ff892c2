#ifndef FBEMU_COMMALIST_H
#define FBEMU_COMMALIST_H

namespace fbemu {

// Whether name is one of the comma-separated items of list.
bool isListed(const char* list, const char* name);

} // namespace fbemu

#endif
