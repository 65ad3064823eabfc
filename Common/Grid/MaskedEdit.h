#pragma once
// An edit control that keeps its text to a mask (see CMaskedInput): typing,
// Delete, cut and paste go through the mask's rules instead of the edit's own.
// Ctrl+C still copies; cutting clears without copying, so that the fixed
// layout of the text never breaks.
#include "Common/Grid/MaskedInput.h"
#include "Platform/Framework/Controls/Edit.h"

namespace ZELL::Grid {

// A mask, the characters its "#" places take, and whether the address rules apply.
struct MaskFormat {
    LPCWSTR mask;
    LPCWSTR allowed;
    bool addressRules;
};

inline constexpr MaskFormat kIpAddressFormat{L"###.###.###.###", L"0123456789.", true};
inline constexpr MaskFormat kMacAddressFormat{L"##:##:##:##:##:##", L"0123456789ABCDEF", false};

class CMaskedEdit : public CEdit {
public:
    explicit CMaskedEdit(const MaskFormat& format);

    CString GetMask() const { return m_input.GetMask(); }
    // Both clear the text when they take the new setting.
    bool SetMask(LPCWSTR mask);
    bool SetAllowed(LPCWSTR allowed);
    bool IsAddressFormat() const { return m_addressRules; }

protected:
    DECLARE_MESSAGE_MAP()
protected:
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    LRESULT OnPasteMessage(WPARAM, LPARAM);
    LRESULT OnClearMessage(WPARAM, LPARAM);
    bool IsControlDown() const { return m_controlDown; }

private:
    // The window's text and selection into the mask's state, and back.
    void Load();
    void Store();
    void PasteClipboard();
    void ClearSelection();

    CMaskedInput m_input;
    bool m_addressRules = false;
    bool m_controlDown = false;
};

}  // namespace ZELL::Grid
