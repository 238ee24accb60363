#include "common/SystemErrorText.h"

#include "common/Text.h"
#include "platform/System.h"

std::string SystemErrorText(unsigned long code)
{
    return TrimControlsRight(platform::SystemMessage(code));
}

std::string LastErrorText()
{
    return SystemErrorText(platform::LastError());
}
