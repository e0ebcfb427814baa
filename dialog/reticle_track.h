// The finder's hover bookkeeping during a drag; free of platform calls.
#pragma once
#include "geometry/rect.h"

// Where the pointer goes when a drag begins: onto the reticle's centre as drawn,
// which is the image's top-left corner plus the cursor's hotspot.
inline POINT ReticleGrabPoint(const RECT& rcWindow, const POINT& hotspot) {
    return POINT{rcWindow.left + hotspot.x, rcWindow.top + hotspot.y};
}

// The pointer is now over top-level window w (null for none). Ops supplies
// Enter(h) -> bool (whether h may be picked), Leave(h), StartFlash(h), StopFlash(h).
// Invariant kept: flash is null or equal to hover.
template <class Handle, class Ops>
void TrackHover(Handle w, Handle& hover, Handle& flash, Ops& ops) {
    if (w == hover) {
        return;
    }
    if (hover != Handle()) {
        if (hover == flash) {
            ops.StopFlash(hover);
        }
        ops.Leave(hover);
    }
    hover = Handle();
    flash = Handle();
    if (w != Handle()) {
        hover = w;
        if (ops.Enter(w)) {
            flash = w;
            ops.StartFlash(w);
        }
    }
}

// The drag is over, however it ended: no Leave, only the flashing stops.
template <class Handle, class Ops>
void EndHover(Handle& hover, Handle& flash, Ops& ops) {
    if (hover != Handle() && hover == flash) {
        ops.StopFlash(hover);
    }
    hover = Handle();
    flash = Handle();
}
