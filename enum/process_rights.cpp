#include "enum/process_rights.h"

#include <algorithm>

#include "enum/rights_rules.h"
#include "win/rights.h"

static_assert(kIntegrityUnknown == kIntegrityNotRead, "one value for a level not read");

DWORD CProcessRights::Level(DWORD dwPid) {
    if (!m_bOwnLevelRead) {
        m_dwOwnLevel = ProcessIntegrity(::GetCurrentProcessId());
        m_bOwnLevelRead = true;
    }
    for (const ProcessLevel& level : m_levels) {
        if (level.dwPid == dwPid) {
            return level.dwLevel;
        }
    }
    const DWORD dwLevel = ProcessIntegrity(dwPid);
    m_levels.Add({dwPid, dwLevel});  // without memory it is asked again next time
    return dwLevel;
}

bool CProcessRights::NeedsMoreRights(DWORD dwPid) {
    const bool bRefused = std::find(m_refused.begin(), m_refused.end(), dwPid) != m_refused.end();
    const DWORD dwLevel = Level(dwPid);
    return ::NeedsMoreRights(m_dwOwnLevel, dwLevel, bRefused);
}

bool CProcessRights::ElevationWouldMove(DWORD dwPid) {
    const DWORD dwLevel = Level(dwPid);
    return ::ElevationWouldMove(m_dwOwnLevel, dwLevel);
}

void CProcessRights::Refused(DWORD dwPid) {
    if (std::find(m_refused.begin(), m_refused.end(), dwPid) == m_refused.end()) {
        m_refused.Add(dwPid);  // without memory, the row stays as it was
    }
}
