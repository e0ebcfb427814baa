// Small replacements for parts of the C++ runtime that would otherwise link a
// demangler, printf and the whole family of standard exception classes into
// each executable, more than doubling its size.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
// The default prints the uncaught exception's name; a GUI program has nowhere to print.
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
// A string or array beyond its maximum size is memory that cannot be had, and
// the program's callers handle that as bad_alloc.
void __throw_length_error(const char*) {
    throw std::bad_alloc();
}
void __throw_bad_array_new_length() {
    throw std::bad_alloc();
}
void __throw_bad_alloc() {
    throw std::bad_alloc();
}
// The rest report programming errors, which the program does not recover from.
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_out_of_range(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
void __throw_invalid_argument(const char*) {
    std::abort();
}
void __throw_domain_error(const char*) {
    std::abort();
}
void __throw_range_error(const char*) {
    std::abort();
}
void __throw_runtime_error(const char*) {
    std::abort();
}
void __throw_overflow_error(const char*) {
    std::abort();
}
void __throw_underflow_error(const char*) {
    std::abort();
}
void __throw_bad_cast() {
    std::abort();
}
void __throw_bad_typeid() {
    std::abort();
}
void __throw_bad_exception() {
    std::abort();
}
}  // namespace std
