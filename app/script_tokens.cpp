#include "app/script_tokens.h"

namespace {

constexpr size_t kMaxToken = 4094;

bool IsSeparator(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n'; }

}  // namespace

int32_t CTokenizer::Next(std::wstring_view* pToken, bool* pEnd) {
    *pEnd = false;
    *pToken = std::wstring_view();
    while (m_pos < m_text.size() && IsSeparator(m_text[m_pos])) {
        ++m_pos;
    }
    if (m_pos >= m_text.size()) {
        *pEnd = true;
        return kHrOk;
    }
    const size_t first = m_used;
    if (m_text[m_pos] == L'\'') {
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size()) {
                return kHrDispException;  // no closing quote
            }
            if (m_text[m_pos] == L'\'') {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == L'\'') {
                    Put(L'\'');
                    m_pos += 2;
                } else {
                    ++m_pos;
                    break;
                }
            } else {
                Put(m_text[m_pos++]);
            }
            if (m_used - first > kMaxToken) {
                return kHrDispException;
            }
        }
    } else {
        while (m_pos < m_text.size() && !IsSeparator(m_text[m_pos])) {
            Put(m_text[m_pos++]);
            if (m_used - first > kMaxToken) {
                return kHrDispException;
            }
        }
    }
    *pToken = std::wstring_view(m_tokens.data() + first, m_used - first);
    Put(L'\0');
    return kHrOk;
}
