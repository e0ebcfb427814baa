// The move one instance hands to the instance it starts with administrator
// rights, as a command line; free of platform calls. The receiver trusts none
// of it: a malformed line is no hand-over at all.
#pragma once
#include <cstddef>
#include <cstdint>

struct HandOver {
    uint32_t nWindow = 0;   // the window handle's 32 significant bits
    uint32_t nProcess = 0;  // the process the window must still belong to
    int32_t values[4] = {};  // width, height, x, y of the visible frame
};

// Unlike the other switches it carries data after a colon, so none of them
// can be mistaken for it: "/ApplyElevated:window,process,width,height,x,y",
// every number in decimal, the last four within -32768..32767.
inline constexpr wchar_t kHandOverSwitch[] = L"/ApplyElevated:";
// Enough for the switch and six numbers at their longest.
inline constexpr size_t kHandOverChars = 96;

bool ParseHandOver(const wchar_t* pszTail, HandOver* pHandOver);
// Writes the command line for a hand-over into psz (kHandOverChars).
void FormatHandOver(const HandOver& handOver, wchar_t* psz);
