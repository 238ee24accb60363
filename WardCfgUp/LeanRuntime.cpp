// Parts of the C++ runtime that the program replaces because they cost far
// more than they serve. It links the runtime statically, and on this target
// the linker keeps every function of each library member it takes in.
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
