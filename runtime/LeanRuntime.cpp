// Parts of the C++ runtime that the program replaces because they cost far
// more than they serve. It links the runtime statically, and on this target
// the linker keeps every function of each library member it takes in.
#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

// libstdc++'s default handler names the escaped exception's type on stderr,
// which a windowed program does not have, and for that links the whole C++
// demangler. It then aborts: so does this one.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

// The library reports misuse and failure through the helpers below, all of
// them in one member of libstdc++. Its own helpers throw std::length_error and
// its kin, whose message strings bring a second, reference-counted std::string
// with them: these throw one plain type for all of them instead. Every helper
// is defined, so that the library's member is never linked beside this one.
// The program ends on the fatal-error path whatever escapes; code that means
// to handle a library failure catches std::exception, not the specific type.
namespace {
class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* what) : what_(what) {}
    const char* what() const noexcept override { return what_; }

private:
    const char* what_;
};
}  // namespace

namespace std {
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_domain_error(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
// The message keeps its placeholders unfilled.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* what) { throw LibraryError(what); }
void __throw_range_error(const char* what) { throw LibraryError(what); }
void __throw_overflow_error(const char* what) { throw LibraryError(what); }
void __throw_underflow_error(const char* what) { throw LibraryError(what); }

// These types carry no message and cost next to nothing: they stay.
void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
}  // namespace std

// The program runs on one thread. The C++ runtime makes the first use of a
// local static, the record of the exceptions in flight, and its unwinder's
// tables safe across threads through the POSIX thread layer, which takes some
// 30 KB and serves nothing here: these single-threaded versions stand in for
// the parts it calls. A thread added to the program must take them out again.
namespace __cxxabiv1 {

// The first byte of a guard says that its static is initialized.
extern "C" int __cxa_guard_acquire(__guard* guard)
{
    return *reinterpret_cast<const char*>(guard) == 0;
}

extern "C" void __cxa_guard_release(__guard* guard) noexcept
{
    *reinterpret_cast<char*>(guard) = 1;
}

// A constructor that throws leaves the static uninitialized: the next use tries again.
extern "C" void __cxa_guard_abort(__guard*) noexcept {}

// The layout of the library's own record (unwind-cxx.h).
struct __cxa_eh_globals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

static __cxa_eh_globals globals;

extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept
{
    return &globals;
}

extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept
{
    return &globals;
}

}  // namespace __cxxabiv1

// What the unwinder and the exception allocator call of the thread layer. With
// one thread no lock is ever contended, and a once-routine runs at the first call.
extern "C" {
int pthread_once(long* once, void (*routine)())
{
    if (*once == 0) {
        *once = 1;
        routine();
    }
    return 0;
}
int pthread_mutex_init(void*, const void*) { return 0; }
int pthread_mutex_destroy(void*) { return 0; }
int pthread_mutex_lock(void*) { return 0; }
int pthread_mutex_unlock(void*) { return 0; }
}
