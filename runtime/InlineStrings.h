// Included before every source of the program (CMakeLists.txt). libstdc++
// declares its std::string members as instantiated in the library, so each
// use calls into one library member that holds them all (some 30 KB of code
// and unwind tables). Without that declaration the members the program uses
// are instantiated beside their callers, one section each, and the linker
// keeps only those.
#pragma once

#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
