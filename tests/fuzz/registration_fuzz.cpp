// Fuzz target for the registration script interpreter, run against the
// in-memory registry. Input: an executable path, a 0x01 byte, then the script;
// the first byte also chooses the mode and which operation fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/registration_script.h"
#include "memory_registry.h"

namespace {

// Bytes as Latin-1 characters: every input is a valid text.
std::wstring Widen(const uint8_t* p, size_t n) { return std::wstring(p, p + n); }

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t flags = data[0];
    const uint8_t* rest = data + 1;
    const size_t restSize = size - 1;
    size_t split = 0;
    while (split < restSize && rest[split] != 0x01) {
        ++split;
    }
    const std::wstring path = Widen(rest, split);
    const std::wstring script = split < restSize ? Widen(rest + split + 1, restSize - split - 1) : std::wstring();

    CModuleReplacements replacements;
    CPodArray<wchar_t> expanded;
    if (!replacements.Make(path) ||
        ExpandReplacements(script, replacements.Table(), CModuleReplacements::kCount, &expanded) < 0) {
        return 0;
    }
    static const wchar_t* const kNames[] = {L"position", L"command", L"a", L"icon", L"x", L"resize", L"k", L""};
    CMemoryRegistry registry;
    if (flags & 0x02) registry.failSetValue.insert(kNames[(flags >> 4) & 7]);
    if (flags & 0x04) registry.failCreate.insert(kNames[(flags >> 4) & 7]);
    if (flags & 0x08) registry.failDeleteKey.insert(kNames[(flags >> 4) & 7]);

    const bool bRegister = (flags & 0x01) == 0;
    if (!bRegister) {
        // Something to remove: the same script registered first, without failures.
        auto planted = registry.failSetValue;
        registry.failSetValue.clear();
        RunRegistrationScript(TextView(expanded), true, registry);
        registry.failSetValue = planted;
        registry.writes.clear();
    }
    const int lookupsBefore = registry.rootLookups;
    const int32_t hr = RunRegistrationScript(TextView(expanded), bRegister, registry);
    Check(registry.openKeys == 0);
    if (bRegister && hr < 0 && hr != kHrDispException && hr != kHrFail && !registry.writes.empty()) {
        // A registry failure: the failed block was undone, so no value it wrote is left.
        // The failing block is the last one begun; the undo looks up no root.
        const int lastBlock = registry.rootLookups;
        if (lastBlock > lookupsBefore) {
            for (const auto& w : registry.writes) {
                if (w.afterRootLookup == lastBlock && !w.name.empty()) {
                    Check(!registry.ValueExists(w.keyPath, w.name));
                }
            }
        }
    }
    return 0;
}
