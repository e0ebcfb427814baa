#include "app/app_module.h"

HRESULT CAppModule::ApplyRegistrationScript(UINT, BOOL) {
    // The registration script interpreter is not part of this build yet; say so
    // rather than pretend the entries were written.
    return E_NOTIMPL;
}
