// Which windows need more rights than the program has; free of platform calls.
#pragma once
#include <cstdint>

// Integrity levels as the system numbers them.
inline constexpr uint32_t kIntegrityHigh = 0x3000;    // the administrators' level
inline constexpr uint32_t kIntegritySystem = 0x4000;  // services and the system's own
inline constexpr uint32_t kIntegrityNotRead = 0xFFFFFFFF;

// A process is marked when it is known to run above the program, or when it
// refused a move although it was not known to: a level that could not be read
// proves nothing by itself.
constexpr bool NeedsMoreRights(uint32_t nOwn, uint32_t nTarget, bool bRefused) {
    return bRefused || (nOwn != kIntegrityNotRead && nTarget != kIntegrityNotRead && nTarget > nOwn);
}

// Consent to elevation lifts the program to the administrators' level and no
// higher: it helps with targets at that level only.
constexpr bool ElevationWouldMove(uint32_t nOwn, uint32_t nTarget) {
    return nOwn < kIntegrityHigh && nTarget >= kIntegrityHigh && nTarget < kIntegritySystem;
}
