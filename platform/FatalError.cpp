#include "platform/FatalError.h"

#include "platform/ShownText.h"

namespace platform {

void* LastThrowAddress = nullptr;

int RunGuarded(int (*body)())
{
    try {
        return body();
    } catch (...) {
        char text[64];
        // The system formatter: the C library's would link its floating-point conversions too.
        wsprintfA(text, "Runtime error %d at %08lX", UnhandledExceptionExitCode,
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(LastThrowAddress)));
        ShowMessageBox(nullptr, text, "Error", MB_OK | MB_ICONERROR);
        return UnhandledExceptionExitCode;
    }
}

}  // namespace platform
