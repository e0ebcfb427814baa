// The replaceable global allocation functions, the only part of the C++
// runtime the program defines. The program is built without exceptions and
// grows its own containers through GrowBlock, which reports running out of
// memory; a plain new that cannot be met ends the program, as an exception
// nobody catches would, instead of pulling in the library's throwing one.
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
