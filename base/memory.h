// The one place the program's own containers get their memory from. Growth
// that cannot be had comes back as null, never as an exception, so every caller
// can report it or do without.
#pragma once
#include <cstddef>

// Like realloc: a block of cb bytes holding what p held, or null with p untouched.
void* GrowBlock(void* p, size_t cb);
void FreeBlock(void* p);
