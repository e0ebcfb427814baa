// The script's names and the replacements written into it before it runs.
#include "app/registration_script.h"

namespace {

constexpr size_t kMaxReplacementName = 31;

wchar_t FoldCase(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch; }

}  // namespace

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

bool CModuleReplacements::Make(std::wstring_view path) {
    m_raw.Truncate(0);
    for (wchar_t ch : path) {
        if (!m_raw.Append(ch) || (ch == L'\'' && !m_raw.Append(L'\''))) {
            return false;
        }
    }
    if (!m_quoted.Assign(L"\"") || !m_quoted.Append(m_raw) || !m_quoted.Append(L'"')) {
        return false;
    }
    m_table[0] = Replacement{L"APPID", L""};
    m_table[1] = Replacement{L"Module", m_quoted};
    m_table[2] = Replacement{L"Module_Raw", m_raw};
    return true;
}

int32_t ExpandReplacements(std::wstring_view text, const Replacement* pTable, size_t nTable,
                           CPodArray<wchar_t>* pOut) {
    pOut->Clear();
    auto append = [pOut](std::wstring_view part) {
        for (wchar_t ch : part) {
            if (!pOut->Add(ch)) {
                return false;
            }
        }
        return true;
    };
    if (!pOut->Reserve(text.size() + 1)) {
        return kHrOutOfMemory;
    }
    for (size_t i = 0; i < text.size();) {
        if (text[i] != L'%' || (i + 1 < text.size() && text[i + 1] == L'%')) {
            // A plain character, or "%%" standing for one "%".
            if (!append(std::wstring_view(text.data() + i, 1))) {
                return kHrOutOfMemory;
            }
            i += text[i] == L'%' ? 2 : 1;
            continue;
        }
        const size_t close = text.find(L'%', i + 1);
        if (close == std::wstring_view::npos) {
            return kHrDispException;
        }
        if (close - i - 1 > kMaxReplacementName) {
            return kHrFail;
        }
        const std::wstring_view name(text.data() + i + 1, close - i - 1);
        const Replacement* pFound = nullptr;
        for (size_t j = 0; j < nTable; ++j) {
            if (EqualsNoCase(pTable[j].name, name)) {
                pFound = &pTable[j];
                break;
            }
        }
        if (pFound == nullptr) {
            return kHrDispException;
        }
        if (!append(pFound->text)) {
            return kHrOutOfMemory;
        }
        i = close + 1;
    }
    return kHrOk;
}
