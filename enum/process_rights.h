// The rights each process's windows need, as this program learns them.
#pragma once
#include <windows.h>

#include "base/pod_array.h"

class CProcessRights {
public:
    // The next refill asks every process again.
    void ForgetLevels() { m_levels.Clear(); }
    // Whether moving the process's windows needs more rights than the program has.
    bool NeedsMoreRights(DWORD dwPid);
    // Whether the program, elevated, could move the process's windows.
    bool ElevationWouldMove(DWORD dwPid);
    // A move of the process's windows was refused: its windows are marked
    // from now on, for as long as the program runs.
    void Refused(DWORD dwPid);

private:
    DWORD Level(DWORD dwPid);

    struct ProcessLevel {
        DWORD dwPid;
        DWORD dwLevel;
    };
    // Asked once per process per refill; a desktop has tens of processes.
    CPodArray<ProcessLevel> m_levels;
    CPodArray<DWORD> m_refused;
    DWORD m_dwOwnLevel = 0;
    bool m_bOwnLevelRead = false;
};
