#include "platform/SystemLibrary.h"

#include "platform/Files.h"

namespace platform {

Library LoadSystemLibrary(const char* name)
{
    std::string directory = SystemDirectory();
    if (directory.empty())
        return Library();
    if (directory.back() != '\\')
        directory += '\\';
    return Library(::LoadLibraryA((directory + name).c_str()));
}

}  // namespace platform
