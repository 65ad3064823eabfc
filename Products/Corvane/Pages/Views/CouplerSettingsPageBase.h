#pragma once
// The common base of the settings pages of the main dialog. It holds the
// page's view of the device data (the two device blocks, the data set, the
// connection and the service, none of them owned), moves values between
// members and controls when the page is entered and left, refuses to let a
// page go while a field is out of range (one balloon at the first bad
// field), reports to the main window through the registered messages, opens
// the device connection for a page's own calls with a short time-out, and
// gives every page the same font, background and rich tooltips.
#include "Common/Skin/ZellTooltip.h"
#include "Platform/Base/CString.h"
#include "Platform/Framework/Drawing/Brush.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Windows/PropertyPage.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Pages/Codecs/FieldRange.h"

#include <string>
#include <vector>

class CServiceBase;
namespace ZELL {
class CConnectionBase;
}

namespace Corvane {

class CDeviceCapabilityFile;
class CFBCData;

class CCouplerSettingsPageBase : public CPropertyPage {
    DECLARE_DYNCREATE(CCouplerSettingsPageBase)
public:
    // The connection states the page reports while it opens and closes the
    // connection for its own calls.
    static constexpr WPARAM kConnectionOpen = 269;
    static constexpr WPARAM kConnectionOpening = 270;
    static constexpr WPARAM kConnectionFailed = 271;
    static constexpr WPARAM kConnectionClosed = 272;
    // The time-out the page's own calls run with, and the pauses around
    // opening that let the device and the status line follow.
    static constexpr UINT kPageTimeoutMs = 500;
    static constexpr DWORD kOpeningPauseMs = 300;
    static constexpr DWORD kSettlePauseMs = 500;
    // How often a pause looks for windows to paint.
    static constexpr DWORD kPaintPollMs = 15;
    // The balloon's icon code (the library's warning icon).
    static constexpr UINT kRangeBalloonIcon = 12;
    // The string resource with the title of an address field's balloon.
    static constexpr UINT kInvalidAddressFieldTitleId = 631;
    // A balloon mode with the decimal wording.
    static constexpr int kDecimalWording = 7;

    // The number syntaxes of IsValidNumberText.
    enum ENNumberText { kHex16 = 1, kHex32 = 2, kSignedDecimal = 3, kUnsignedDecimal = 4 };
    // The kinds of BuildInvalidAddressMessage.
    enum ENInvalidAddress { kInvalidAddressList = 0, kInvalidSubnetMask = 1 };

    CCouplerSettingsPageBase();
    CCouplerSettingsPageBase(UINT templateId, UINT captionId);
    CCouplerSettingsPageBase(LPCWSTR templateName, UINT captionId);
    ~CCouplerSettingsPageBase() override;

    // --- the operations pages override, in this order ----------------------
    virtual void ShowDeviceControls(int showCmd);
    virtual void EnableControls(int enable);
    virtual void OnExtraDataAttached();
    // Kept so that the pages' overrides keep their places; no page uses it.
    virtual void ReservedHook();
    virtual void LoadFromDeviceData();
    // Members into the device block, keeping every bit the page does not own.
    virtual bool StoreToDeviceData();
    virtual bool ShowValues();
    virtual bool ReadValues();
    virtual BOOL RefreshView();
    virtual BOOL ApplyView();
    // Every range check of the page, stopping at the first failure.
    virtual bool ValidateAll();
    virtual void NotifySettingsChanged(WPARAM wParam);
    virtual BOOL IsModified();
    virtual bool IsOfflineConfig();
    virtual BOOL IsPageInList(LPCWSTR pageKey);
    // Texts are reloaded by the active page at once, by the others when
    // they are next entered; returns whether texts are still pending.
    virtual BOOL UpdateLanguageTexts();
    virtual void HideTooltip();
    virtual void ShowState(int state, UINT stringId);
    // The states the main dialog hands over: none, a failure and its text,
    // a worker at work, a note that asks the user to act.
    static constexpr int kWaitStateNone = 0;
    static constexpr int kWaitStateError = 1;
    static constexpr int kWaitStateWorking = 2;
    static constexpr int kWaitStateNote = 4;
    // A worker's state while the page is active; 1 shows the wait cursor.
    virtual void BeginWaitState(int state, LPCWSTR text);
    virtual bool IsConnectionPrepared();
    virtual void EnableAllChildren(BOOL enable);
    virtual std::wstring GetPageKey();
    virtual void SetTitle(const CString& title);

    // --- what the main dialog hands over -----------------------------------
    // Stores the block and the device kind, then loads the members.
    void AttachDeviceData(WORD* block, unsigned length, int wideFormat, int controller);
    void AttachExtraData(WORD* block, unsigned length, int wideFormat, int controller);
    void SetDeviceData(CFBCData* data) { m_pDeviceData = data; }
    // Lets go of the blocks before the data set that holds them is replaced
    // (a file loaded, a worker reading), so nothing is stored into the old
    // ones; the page takes the new ones with the next Attach.
    void DetachData();
    // The service of either transport: the pages' immediate commands work
    // over serial as over TCP/IP.
    void SetConnection(ZELL::CConnectionBase* connection, CServiceBase* service);
    void SetInSheet(bool inSheet) { m_nInSheet = inSheet ? 1 : 0; }
    // The page's store before a write; true when there is nothing to store.
    bool StoreIfDataPresent();
    // The name of the field whose value the last failed check or store
    // refused; empty when the page cannot name it.
    const CString& RefusedFieldName() const { return m_strRefusedField; }
    // A non-empty text becomes the tab caption.
    void SetPageTitle(const CString& title);

    // --- state -------------------------------------------------------------
    bool IsInSheet() const { return m_nInSheet != 0; }
    bool IsActive() const { return m_bActive != 0; }
    bool IsUpdating() const { return m_bUpdating; }
    bool AreTextsPending() const { return m_bTextsPending; }
    bool IsWideFormat() const { return m_nWideFormat != 0; }
    bool IsController() const { return m_nController != 0; }
    const CString& GetTitle() const { return m_strTitle; }
    const CString& GetSheetTitle() const { return m_strSheetTitle; }
    const CString& GetGroupLabelFormat() const { return m_strGroupLabelFormat; }
    COLORREF GetBackgroundColour() const { return m_clrBackgroundColour; }
    CFont& GetPageFont() { return m_PageFont; }
    const LOGFONTW& GetPageLogFont() const { return m_PageLogFont; }
    HCURSOR GetPageCursor() const { return m_hPageCursor; }
    ZELL::CConnectionBase* GetConnection() const { return m_pConnection; }
    CServiceBase* GetService() const { return m_pService; }
    CFBCData* GetDeviceData() const { return m_pDeviceData; }
    // The attached blocks; every word access through them stays below the
    // length the block was attached with.
    CDeviceBlock DeviceBlock() const { return CDeviceBlock(m_pDeviceBlock, m_dwDeviceBlockLength); }
    CDeviceBlock ExtraBlock() const { return CDeviceBlock(m_pExtraBlock, m_dwExtraBlockLength); }
    bool HasDeviceBlock() const { return m_pDeviceBlock != nullptr && m_dwDeviceBlockLength > 0; }
    bool HasBothBlocks() const { return HasDeviceBlock() && ExtraBlock().IsPresent(); }

    // --- the connection for a page's own calls -----------------------------
    // Opens (true) with the short time-out, or closes and restores the
    // user's settings (false); pauses afterwards either way.
    void PrepareConnection(bool open);
    bool EnsureConnectionOpen();
    void FinishConnection();
    bool IsTCPIPConnection() const;
    bool HasSeveralPorts() const;

    // --- messages to the main window ---------------------------------------
    bool ReportConnectionState(WPARAM state);
    bool RequestReadSettings();
    bool RequestWriteSettings();
    bool RequestSoftwareReset();

    // --- range checks and their balloons -----------------------------------
    // mode 1 or 2 reads the text as hexadecimal, any other as decimal.
    bool CheckRange(UINT ctrlId, LPCWSTR headerKey, int mode, const int* value, int min, int max);
    bool CheckRange(const CFieldRange& check);
    // The checks in their order; stops at the first failure.
    bool CheckRanges(const std::vector<CFieldRange>& checks);
    // The checks of the field the user types in (of all fields when `id`
    // is 0), run on each change: a failure shows its balloon, and the text
    // and the caret stay as the user has them.
    bool CheckWhileTyping(const std::vector<CFieldRange>& checks, UINT id = 0);
    void ShowRangeBalloon(UINT ctrlId, LPCWSTR titleKey, int min, int max, int mode);
    // The same with a finished title, not looked up.
    void ShowRangeBalloonTitled(UINT ctrlId, const CString& title, int min, int max, int mode);
    // `address` holds octet 1 in its highest byte (index 3); `ranges` the
    // (min, max) pairs of octets 1 to 4.
    bool CheckIPAddressRange(UINT ctrlId, UINT nameStringId, const BYTE address[4], const int ranges[8]);
    bool IsValidNumberText(UINT ctrlId, int type);
    static bool IsValidNumberText(const std::wstring& text, int type);
    CString BuildInvalidAddressMessage(int kind) const;
    static bool IsAddressAllowed(const std::wstring& address);

    // --- look ---------------------------------------------------------------
    void AddTooltip(UINT ctrlId, LPCWSTR bodyKey, LPCWSTR headerKey);
    void FitStaticToText(CWnd* ctrl, const CString& text, CFont* font);
    // A control that does not apply to this device is hidden and disabled,
    // so that neither the mouse nor the tab key reaches it.
    void ShowControl(int id, bool shown);
    void SetPageCursor(bool busy);
    // Puts the caret into one field (0..3) of an address control.
    void FocusAddressField(UINT ctrlId, int field);

    // --- class-wide ----------------------------------------------------------
    static void LoadInvalidIPAddresses(const CDeviceCapabilityFile& capabilities);
    static const std::vector<std::wstring>& GetInvalidIPAddresses() { return s_invalidAddresses; }
    static void SetDefaultFont(const LOGFONTW& font);
    static void ClearDefaultFont() { s_defaultFontGiven = false; }
    // While set, refreshes, reads of controls, change reports and range
    // checks do nothing: the main dialog sets it while it fills its pages.
    static void SetPagesSuspended(bool suspended) { s_pagesSuspended = suspended ? 1 : 0; }
    static bool ArePagesSuspended() { return s_pagesSuspended != 0; }

    // The translated text of a key ("##" and the key when it has none).
    static CString Text(LPCWSTR key);
    // A string resource of the program; empty when it has none.
    static CString LoadResourceString(UINT id);
    // The current thread's main window, null when there is none.
    static CWnd* MainWindow();

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    void PreSubclassWindow() override;

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnDestroy();
    // Shows a balloon at the control (through the user-interface library).
    virtual void ShowBalloon(const CString& title, const CString& text, UINT ctrlId);
    virtual void CloseBalloon();
    // The pauses of PrepareConnection and EnsureConnectionOpen.
    virtual void Pause(DWORD milliseconds);
    LRESULT SendToMainWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // A check that fails names its field, so that a refused write can say
    // which value stopped it.
    void NoteRefusedField(const CString& name) { m_strRefusedField = name; }
    DECLARE_MESSAGE_MAP()

protected:
    CString m_strGroupLabelFormat;
    CFont m_PageFont;
    LOGFONTW m_PageLogFont{};
    ZELL::Skin::CZellTooltip m_Tooltip;
    int m_nLastCheckResult = 1;
    bool m_bTyping = false;
    bool m_bUpdating = false;
    bool m_bTextsPending = false;
    bool m_bStoreOnLeave = true;
    CString m_strPageKey;
    CString m_strRefusedField;

private:
    void InitMembers();
    void SetDeviceKind(int wideFormat, int controller);
    void TakePageFont();
    bool ReadFieldNumber(UINT ctrlId, int mode, int& number) const;
    void FocusAndSelect(UINT ctrlId);

    WORD* m_pDeviceBlock = nullptr;
    DWORD m_dwDeviceBlockLength = 0;
    WORD* m_pExtraBlock = nullptr;
    DWORD m_dwExtraBlockLength = 0;
    int m_nWideFormat = 0;
    int m_nController = 0;
    int m_nInSheet = 0;
    CFBCData* m_pDeviceData = nullptr;
    CString m_strTitle;
    bool m_bThemed = false;
    COLORREF m_clrBackgroundColour = 0xFFFFFF;
    CBrush m_BackgroundBrush;
    bool m_bConnectionPrepared = false;
    CString m_strSheetTitle;
    std::wstring m_strSavedConnectionSettings;
    BOOL m_bActive = 0;
    HCURSOR m_hPageCursor = nullptr;
    ZELL::CConnectionBase* m_pConnection = nullptr;
    CServiceBase* m_pService = nullptr;

    static LOGFONTW s_defaultFont;
    static bool s_defaultFontGiven;
    static std::vector<std::wstring> s_invalidAddresses;
    static int s_pagesSuspended;
};

}  // namespace Corvane
