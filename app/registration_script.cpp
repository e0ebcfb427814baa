#include "app/registration_script.h"

#include "app/script_tokens.h"
#include "base/hresult.h"

namespace {

// Deeper than any registry allows; stops a hostile script from exhausting the stack.
constexpr int kMaxNesting = 512;

int32_t HrFromError(long error) { return HResultFromWin32(static_cast<int32_t>(error)); }

// The system takes names up to their first zero: one inside would make the
// name another's (a value "\0x" the default value, a key "\0x" its parent).
bool IsPlainName(std::wstring_view name) { return name.find(L'\0') == std::wstring_view::npos; }

// Owns an opened key for the length of a scope.
class CScopedKey {
public:
    explicit CScopedKey(IRegistry& registry) : m_registry(registry) {}
    ~CScopedKey() {
        if (m_key != 0) {
            m_registry.CloseKey(m_key);
        }
    }
    CScopedKey(const CScopedKey&) = delete;
    CScopedKey& operator=(const CScopedKey&) = delete;
    IRegistry::Key* Out() { return &m_key; }
    IRegistry::Key Get() const { return m_key; }
    void Close() {
        if (m_key != 0) {
            m_registry.CloseKey(m_key);
            m_key = 0;
        }
    }

private:
    IRegistry& m_registry;
    IRegistry::Key m_key = 0;
};

class CInterpreter {
public:
    CInterpreter(std::wstring_view text, IRegistry& registry) : m_tokens(text), m_registry(registry) {}

    int32_t Run(bool bRegister) {
        if (!m_tokens.Reserve()) {
            return kHrOutOfMemory;
        }
        // A script without a single block says nothing: that is a fault of the script.
        for (bool bAnyBlock = false;; bAnyBlock = true) {
            std::wstring_view token;
            bool bEnd = false;
            int32_t hr = m_tokens.Next(&token, &bEnd);
            if (hr < 0 || bEnd) {
                return hr < 0 || bAnyBlock ? hr : kHrDispException;
            }
            const IRegistry::Key root = m_registry.RootKey(token);
            if (root == 0) {
                return kHrDispException;
            }
            hr = m_tokens.Require(&token);
            if (hr < 0 || token != L"{") {
                return hr < 0 ? hr : kHrDispException;
            }
            const size_t blockStart = m_tokens.Position();
            hr = ItemList(root, bRegister, false);
            if (hr < 0) {
                if (bRegister) {
                    // Undo what this block wrote; the first failure is what counts.
                    m_tokens.Seek(blockStart);
                    ItemList(root, false, false);
                }
                return hr;
            }
        }
    }

private:
    // Items up to and including the closing brace of the list, on key K.
    int32_t ItemList(IRegistry::Key key, bool bRegister, bool bRecover) {
        if (m_nDepth >= kMaxNesting) {
            return kHrDispException;
        }
        ++m_nDepth;
        const int32_t hr = ItemListBody(key, bRegister, bRecover);
        --m_nDepth;
        return hr;
    }

    int32_t ItemListBody(IRegistry::Key key, bool bRegister, bool bRecover) {
        for (;;) {
            std::wstring_view token;
            int32_t hr = m_tokens.Require(&token);
            if (hr < 0) {
                return hr;
            }
            if (token == L"}") {
                return kHrOk;
            }
            bool bForceRemove = false;
            bool bNoRemove = false;
            if (EqualsNoCase(token, L"ForceRemove")) {
                bForceRemove = true;
            } else if (EqualsNoCase(token, L"NoRemove")) {
                bNoRemove = true;
            }
            if (bForceRemove || bNoRemove) {
                hr = m_tokens.Require(&token);
                if (hr < 0) {
                    return hr;
                }
            }
            if (EqualsNoCase(token, L"val")) {
                hr = ValueItem(key, bRegister, bRecover);
            } else {
                hr = KeyItem(key, token, bForceRemove, bNoRemove, bRegister, bRecover);
            }
            if (hr < 0) {
                return hr;
            }
        }
    }

    // "=" type text, after a value or key name.
    int32_t ReadAssignedText(std::wstring_view* pText) {
        std::wstring_view token;
        int32_t hr = m_tokens.Require(&token);
        if (hr < 0 || token != L"=") {
            return hr < 0 ? hr : kHrDispException;
        }
        hr = m_tokens.Require(&token);
        if (hr < 0 || !EqualsNoCase(token, L"s")) {
            return hr < 0 ? hr : kHrDispException;
        }
        return m_tokens.Require(pText);
    }

    int32_t ValueItem(IRegistry::Key key, bool bRegister, bool bRecover) {
        std::wstring_view name;
        std::wstring_view text;
        int32_t hr = m_tokens.Require(&name);
        if (hr >= 0 && !IsPlainName(name)) {
            hr = kHrDispException;
        }
        if (hr >= 0) {
            hr = ReadAssignedText(&text);
        }
        if (hr < 0) {
            return hr;
        }
        if (bRegister) {
            const long error = m_registry.SetValue(key, name, text);
            return error == kErrorSuccess ? kHrOk : HrFromError(error);
        }
        if (bRecover) {
            return kHrOk;
        }
        CScopedKey writable(m_registry);
        long error = m_registry.OpenKey(key, L"", true, writable.Out());
        if (error == kErrorSuccess) {
            error = m_registry.DeleteValue(writable.Get(), name);
            if (error == kErrorFileNotFound) {
                error = kErrorSuccess;
            }
        }
        return error == kErrorSuccess ? kHrOk : HrFromError(error);
    }

    int32_t KeyItem(IRegistry::Key parent, std::wstring_view name, bool bForceRemove, bool bNoRemove,
                    bool bRegister, bool bRecover) {
        // An empty name ('') would stand for the enclosing key itself, which the
        // unregister pass would then delete; it is as malformed as a backslash,
        // and so is a zero inside it, where the system's calls would end it.
        if (name.empty() || !IsPlainName(name) || name.find(L'\\') != std::wstring_view::npos) {
            return kHrDispException;
        }
        bool bDefault = false;
        int32_t hr = m_tokens.Accept(L"=", &bDefault);
        std::wstring_view defaultText;
        if (hr >= 0 && bDefault) {
            std::wstring_view type;
            hr = m_tokens.Require(&type);
            if (hr >= 0 && !EqualsNoCase(type, L"s")) {
                hr = kHrDispException;
            }
            if (hr >= 0) {
                hr = m_tokens.Require(&defaultText);
            }
        }
        bool bNested = false;
        if (hr >= 0) {
            hr = m_tokens.Accept(L"{", &bNested);
        }
        if (hr < 0) {
            return hr;
        }
        return bRegister ? RegisterKey(parent, name, bForceRemove, bDefault, defaultText, bNested)
                         : UnregisterKey(parent, name, bNoRemove, bNested, bRecover);
    }

    int32_t RegisterKey(IRegistry::Key parent, std::wstring_view name, bool bForceRemove, bool bDefault,
                        std::wstring_view defaultText, bool bNested) {
        if (bForceRemove && !IsProtectedKeyName(name)) {
            DeleteTree(parent, name);
        }
        CScopedKey key(m_registry);
        if (m_registry.OpenKey(parent, name, true, key.Out()) != kErrorSuccess &&
            m_registry.OpenKey(parent, name, false, key.Out()) != kErrorSuccess) {
            const long error = m_registry.CreateKey(parent, name, key.Out());
            if (error != kErrorSuccess) {
                return HrFromError(error);
            }
        }
        if (bDefault) {
            const long error = m_registry.SetValue(key.Get(), L"", defaultText);
            if (error != kErrorSuccess) {
                return HrFromError(error);
            }
        }
        return bNested ? ItemList(key.Get(), true, false) : kHrOk;
    }

    int32_t UnregisterKey(IRegistry::Key parent, std::wstring_view name, bool bNoRemove, bool bNested,
                          bool bRecover) {
        CScopedKey key(m_registry);
        long openError = kErrorFileNotFound;
        if (!bRecover) {
            openError = m_registry.OpenKey(parent, name, false, key.Out());
        }
        const bool bSubRecover = openError != kErrorSuccess;
        if (bNested) {
            const int32_t hr = ItemList(key.Get(), false, bSubRecover);
            // The subtree of a key that could not be opened was only read past;
            // a syntax error there still stops everything.
            if (hr < 0 && (!bSubRecover || hr == kHrDispException || hr == kHrFail)) {
                return hr;
            }
        }
        if (openError != kErrorSuccess) {
            return (bRecover || openError == kErrorFileNotFound) ? kHrOk : HrFromError(openError);
        }
        if (bNoRemove) {
            return kHrOk;
        }
        uint32_t nSubkeys = 1;
        if (m_registry.SubkeyCount(key.Get(), &nSubkeys) != kErrorSuccess || nSubkeys != 0) {
            return kHrOk;
        }
        key.Close();
        const long error = m_registry.DeleteKey(parent, name);
        return error == kErrorSuccess ? kHrOk : HrFromError(error);
    }

    // Deletes a key with everything below it, depth first; errors are ignored.
    void DeleteTree(IRegistry::Key parent, std::wstring_view name) {
        {
            CScopedKey key(m_registry);
            if (m_registry.OpenKey(parent, name, true, key.Out()) != kErrorSuccess) {
                return;
            }
            wchar_t child[kMaxKeyNameChars];
            uint32_t nBefore = 0;
            // Stop when a subkey will not go, or index 0 would name it forever.
            while (m_registry.EnumSubkey(key.Get(), 0, child) == kErrorSuccess &&
                   m_registry.SubkeyCount(key.Get(), &nBefore) == kErrorSuccess) {
                DeleteTree(key.Get(), child);
                uint32_t nAfter = nBefore;
                if (m_registry.SubkeyCount(key.Get(), &nAfter) != kErrorSuccess || nAfter >= nBefore) {
                    break;
                }
            }
        }
        m_registry.DeleteKey(parent, name);
    }

    CTokenizer m_tokens;
    IRegistry& m_registry;
    int m_nDepth = 0;
};

// Accepts every operation and changes nothing: a first pass over the script with
// it finds syntax errors before anything is written, so a malformed script can
// never leave half a block behind (the undo could not parse past the error either).
class CNullRegistry : public IRegistry {
public:
    explicit CNullRegistry(IRegistry& names) : m_names(names) {}
    Key RootKey(std::wstring_view name) override { return m_names.RootKey(name) != 0 ? 1 : 0; }
    long OpenKey(Key, std::wstring_view, bool, Key* pKey) override { return *pKey = 1, kErrorSuccess; }
    long CreateKey(Key, std::wstring_view, Key* pKey) override { return *pKey = 1, kErrorSuccess; }
    long SetValue(Key, std::wstring_view, std::wstring_view) override { return kErrorSuccess; }
    long DeleteValue(Key, std::wstring_view) override { return kErrorSuccess; }
    long SubkeyCount(Key, uint32_t* pCount) override { return *pCount = 1, kErrorSuccess; }
    long EnumSubkey(Key, uint32_t, wchar_t*) override { return kErrorFileNotFound; }
    long DeleteKey(Key, std::wstring_view) override { return kErrorSuccess; }
    void CloseKey(Key) override {}

private:
    IRegistry& m_names;
};

}  // namespace

bool IsProtectedKeyName(std::wstring_view name) {
    static const wchar_t* const kProtected[] = {L"AppID", L"CLSID",    L"Component Categories", L"FileType",
                                                L"Interface", L"Hardware", L"Mime",          L"SAM",
                                                L"SECURITY",  L"SYSTEM",   L"Software",      L"TypeLib"};
    for (const wchar_t* p : kProtected) {
        if (EqualsNoCase(name, p)) {
            return true;
        }
    }
    return false;
}

int32_t RunRegistrationScript(std::wstring_view script, bool bRegister, IRegistry& registry) {
    CNullRegistry dryRun(registry);
    const int32_t hr = CInterpreter(script, dryRun).Run(bRegister);
    if (hr < 0) {
        return hr;
    }
    return CInterpreter(script, registry).Run(bRegister);
}
