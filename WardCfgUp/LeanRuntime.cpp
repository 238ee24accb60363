// Parts of the C++ runtime that the program replaces because they cost far
// more than they serve. It links the runtime statically, and on this target
// the linker keeps every function of each library member it takes in.
#include <cstdlib>

// libstdc++'s default handler names the escaped exception's type on stderr,
// which a windowed program does not have, and for that links the whole C++
// demangler. It then aborts: so does this one.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
