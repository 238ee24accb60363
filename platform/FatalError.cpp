#include "platform/FatalError.h"

#include "platform/System.h"

#include <cstdio>
#include <exception>

namespace platform {

void* LastThrowAddress = nullptr;

int RunGuarded(int (*body)())
{
    try {
        return body();
    } catch (...) {
        char text[64];
        std::snprintf(text, sizeof text, "Runtime error %d at %08lX", UnhandledExceptionExitCode,
                      static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(LastThrowAddress)));
        ShowMessageBox(nullptr, text, "Error", MB_OK | MB_ICONERROR);
        return UnhandledExceptionExitCode;
    }
}

}  // namespace platform
