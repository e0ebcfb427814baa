// The system's sound for a kind of message (MB_ICONHAND, MB_ICONASTERISK, ...):
// the program's only voice where it shows no box. A file of its own, so that a
// test build can put a listener in its place.
#pragma once
#include <windows.h>

void Alert(UINT uType);
