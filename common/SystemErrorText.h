#pragma once

#include <string>

// The system's message for an error code, without trailing blanks and line breaks.
std::string SystemErrorText(unsigned long code);
// The same for the calling thread's last error code.
std::string LastErrorText();
