// Linked with --wrap=__cxa_throw: every throw notes where it was made, so the
// fatal-error box can name the address of the one that escaped.
#include "platform/FatalError.h"

extern "C" {
[[noreturn]] void __real___cxa_throw(void* object, void* type, void* destructor);

[[noreturn]] void __wrap___cxa_throw(void* object, void* type, void* destructor)
{
    platform::LastThrowAddress = __builtin_return_address(0);
    __real___cxa_throw(object, type, destructor);
}
}
