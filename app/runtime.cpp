// Small replacements for parts of the C++ runtime. The program is built
// without exceptions: where running out of memory must be reported, the
// memory is asked for through CPodArray, which says so; anywhere else it ends
// the program, as an exception nobody catches would. Without these the
// unwinder, the exception classes, printf and a demangler would come along and
// more than double each executable.
#include <cstdlib>
#include <new>

void* operator new(std::size_t cb) {
    if (void* p = std::malloc(cb != 0 ? cb : 1)) {
        return p;
    }
    std::abort();
}
void* operator new[](std::size_t cb) {
    return operator new(cb);
}
void* operator new(std::size_t cb, const std::nothrow_t&) noexcept {
    return std::malloc(cb != 0 ? cb : 1);
}
void* operator new[](std::size_t cb, const std::nothrow_t&) noexcept {
    return std::malloc(cb != 0 ? cb : 1);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_bad_alloc() {
    std::abort();
}
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
