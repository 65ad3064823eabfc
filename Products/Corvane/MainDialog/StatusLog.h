#pragma once
// Every line the status line showed since the log was last emptied, apart
// from the "ready" line, joined by line ends; the user copies or saves it.
#include "Platform/Base/CString.h"
#include "Platform/Ui/WinUser.h"

namespace Corvane {

class CStatusLog {
public:
    // `line` as shown, before its leading blanks were trimmed for the
    // status line; the ready text itself is not kept.
    void Add(const CString& line, const CString& readyText);
    void Clear() { m_strText.Empty(); }
    bool IsEmpty() const { return m_strText.IsEmpty(); }
    // Worth a menu: something beyond the ready text.
    bool HasLines(const CString& readyText) const { return !m_strText.IsEmpty() && m_strText != readyText; }
    const CString& Text() const { return m_strText; }
    // As Unicode text; false when the clipboard could not take it.
    bool CopyToClipboard(HWND owner) const;

private:
    CString m_strText;
};

}  // namespace Corvane
