#pragma once
// A dialog that remembers where its window stood: the placement goes into
// the application's profile (section "Window size") whenever the window is
// sized or destroyed, and the window opens there again, or centred when the
// stored place is missing, unreadable or on no monitor any more.
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Framework/Drawing/Font.h"

namespace ZELL::Skin {

class CPersistentDialog : public CDialog {
public:
    static constexpr LPCWSTR kSection = L"Window size";
    // How much of the window must lie on a monitor, in both directions,
    // for the stored place to count as reachable.
    static constexpr int kVisibleMargin = 100;

    explicit CPersistentDialog(UINT templateId, CWnd* parent = nullptr);
    ~CPersistentDialog() override;

    BOOL OnInitDialog() override;
    virtual void SavePlacement();
    virtual void RestorePlacement();

    // "left top right bottom", each at least four characters (zero-padded).
    static CString FormatPlacement(const RECT& rect);
    // Reads the four blank-separated numbers; false unless there are four.
    static bool ParsePlacement(const CString& text, RECT& rect);
    // Whether a window at `rect` shows enough of itself on one monitor.
    static bool IsOnSomeMonitor(const RECT& rect);

protected:
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // For derived dialogs that set a font of their own.
    CFont m_font;

private:
    // Set until the stored place is restored, so that the sizing during
    // creation does not overwrite it.
    BOOL m_noSave = TRUE;
};

}  // namespace ZELL::Skin
