#include "win/alert.h"

void Alert(UINT uType) {
    ::MessageBeep(uType);
}
