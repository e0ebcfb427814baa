// The registration script's tokens: words and quoted strings, split at white space.
#pragma once
#include <cstdint>
#include <string_view>

#include "app/registration_script.h"
#include "base/pod_array.h"

// Splits the script into tokens. Each token is a terminated view into one
// buffer asked for once, before the pass begins: a token takes at most its own
// length in the text plus its terminating zero, and a pass reads the text at
// most twice (the undo of a failed block reads that block again), so twice the
// text suffices and the pass itself never asks for memory.
class CTokenizer {
public:
    explicit CTokenizer(std::wstring_view text) : m_text(text) {}

    bool Reserve() { return m_tokens.Resize(2 * (m_text.size() + 1)); }

    // kHrOk with the token, kHrOk with bEnd at the end of the text, or a syntax error.
    int32_t Next(std::wstring_view* pToken, bool* pEnd);

    // Like Next, but a missing token is a syntax error: the text may not end here.
    int32_t Require(std::wstring_view* pToken) {
        bool bEnd = false;
        int32_t hr = Next(pToken, &bEnd);
        return hr < 0 ? hr : (bEnd ? kHrDispException : kHrOk);
    }

    // Whether the next token is exactly the given one; consumes it if so.
    int32_t Accept(const wchar_t* psz, bool* pAccepted) {
        const size_t save = m_pos;
        const size_t saveUsed = m_used;
        std::wstring_view token;
        bool bEnd = false;
        int32_t hr = Next(&token, &bEnd);
        if (hr < 0) {
            return hr;
        }
        *pAccepted = !bEnd && token == psz;
        if (!*pAccepted) {
            m_pos = save;
            m_used = saveUsed;  // the token will be read again
        }
        return kHrOk;
    }

    size_t Position() const { return m_pos; }
    void Seek(size_t pos) { m_pos = pos; }

private:
    // Within the bound above the buffer never fills; were it to, the token
    // would come out cut, never written past the end.
    void Put(wchar_t ch) {
        if (m_used < m_tokens.size()) {
            m_tokens[m_used++] = ch;
        }
    }

    std::wstring_view m_text;
    size_t m_pos = 0;
    CPodArray<wchar_t> m_tokens;
    size_t m_used = 0;
};
