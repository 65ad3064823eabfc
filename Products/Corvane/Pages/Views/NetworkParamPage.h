#pragma once
// The network-parameters page: for one Ethernet port at a time, every
// network parameter as the device uses it and as it is configured, the
// configured column edited in place in the grid (with copy and paste). Beside
// the grid: the port choice, the interface mode of a two-port device
// (written to the device at once on request), the device's web management,
// and a once-a-second poll of the address switch.
#include "Products/Corvane/Pages/Codecs/NetworkParamCodec.h"
#include "Products/Corvane/Pages/Views/GridPageBase.h"

#include <vector>

namespace ZELL::Skin { class CZellMenu; }

namespace Corvane {

class CWorkerBusyFlag;
struct tWorkerParams;

class CNetworkParamPage : public CGridPageBase {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"NETWORKPARAM";
    using CRow = CNetworkParamCodec::CRow;
    static constexpr UINT_PTR kDipTimer = 1;
    static constexpr UINT kDipPollMs = 1000;
    static constexpr DWORD kDipStopPauseMs = 300;
    static constexpr int kStaticColumn = 2;
    static constexpr int kActualColumn = 3;
    static constexpr UINT kCopyCommand = 32786;
    static constexpr UINT kPasteCommand = 32787;
    static constexpr UINT kDeleteCommand = 32788;
    // Images of the rows' first column beyond those of the grid pages: a
    // value the grid refused.
    static constexpr int kImageInvalid = 10;
    static constexpr COLORREF kHeaderTextColour = 0x800000;
    static constexpr UINT kWarningIcon = 10;
    static constexpr UINT kErrorIcon = 12;

    enum class EBalloon { None, InvalidAddress, MaxLength, NoConfiguration, Sntp };

    CNetworkParamPage();
    ~CNetworkParamPage() override;

    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override { return true; }
    bool ValidateAll() override;
    BOOL UpdateLanguageTexts() override;
    void HideTooltip() override;
    void BeginWaitState(int state, LPCWSTR text) override;
    BOOL OnKillActive() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    DWORD SelectedPort() const { return m_dwSelectedPort; }
    const std::vector<CRow>& Rows() const { return m_arrRows; }
    bool IsEditInProgress() const { return m_bEditInProgress; }
    bool IsDipPolling() const { return m_bDipPolling; }
    EBalloon ShownBalloon() const { return m_Balloon; }

    void ShowContextMenu(int row, int column, CPoint screen);
    void RunMenuCommand(UINT command);

protected:
    BOOL OnInitDialog() override;
    // The registered edit-cell message (wParam row, lParam column) reopens
    // the in-place editor.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* dx) override;
    // The page's balloons, pointing at a grid cell.
    virtual void ShowCellBalloon(int row, int column, const CString& title, const CString& text, UINT icon);
    virtual void CloseCellBalloon();
    virtual void ShowMessage(const CString& text);
    // Shows the menu and gives the chosen command, 0 for none.
    virtual UINT TrackContextMenu(ZELL::Skin::CZellMenu& menu, CPoint screen);
    virtual void OpenUrl(const CString& url);
    // The text the clipboard holds, at most the codec's limit and one more.
    virtual std::wstring ClipboardText();

    void OnPortClicked(UINT id);
    void OnWebManagement();
    void OnDipPoll();
    void OnModeClicked();
    void OnSetMode();
    void OnTimer(UINT_PTR id);
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnEditCellMessage(WPARAM row, LPARAM column);
    void OnGridBeginEdit(NMHDR* header, LRESULT* result);
    void OnGridEndEdit(NMHDR* header, LRESULT* result);
    void OnGridSelectionChanged(NMHDR* header, LRESULT* result);
    void OnGridMouseOver(NMHDR* header, LRESULT* result);
    void OnGridClick(NMHDR* header, LRESULT* result);
    void OnGridRightClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    bool IsLive() const { return IsActive() && !ArePagesSuspended(); }
    bool HasDip() const;
    CString SourceText(WORD code) const;
    void ApplyTexts();
    void Rebuild();
    // The warnings of the name rows outlive a rebuild of the grid, until the
    // port changes or the device is read again.
    void SaveNameRowImages();
    void RestoreNameRowImages();
    void ForgetNameRowImages();
    void FillRow(const CRow& row);
    void MarkUnsupportedRow(int row);
    void SetUpSourceCell();
    void ShowInterfaceMode();
    void SelectPort(DWORD port);
    // The check of every port's configured values, and of an entry the page
    // refused and the user has not left yet; with `show`, the first failing
    // field is shown with its balloon and its editor reopened.
    bool CheckAllPorts(bool show);
    void ShowRefusedField(DWORD port, int row);
    // A row's mark of an invalid value goes once its stored value may be
    // written again and no refused entry is being mended in it.
    void RefreshInvalidMarks();
    bool IsStoredValueWritable(int row) const;
    void ApplyEdit(int row, const CString& text, LRESULT* result);
    void ActOnEdit(const CNetworkParamCodec::CEditResult& edit, int row);
    void ShowBalloonOf(EBalloon kind, int row);
    void CloseBalloons();
    void ReopenEditor(int row);
    void HighlightRow(int row);
    bool RefusesPaste(int row, bool tell);
    WORD ModeOfRadios() const;
    void StoreModeOfRadios();
    // The worker steps the page runs report to it and keep to a flag of their own.
    tWorkerParams WorkerParams(CWorkerBusyFlag& busy) const;
    void WriteInterfaceMode();
    void ShowModeWriteFailure();
    void StartDipPoll();
    void StopDipPoll();
    void PollDipOnce();
    void FailDipPoll(DWORD code);
    CString WebManagementUrl() const;

    CImageList m_RowImages;
    DWORD m_dwSelectedPort = 0;
    std::vector<CRow> m_arrRows;
    int m_nSelectedRow = -1;
    bool m_bEditInProgress = false;
    bool m_bDipPolling = false;
    bool m_bReEditPending = false;
    // The row whose last entry was refused, while its editor is open again.
    int m_nRefusedRow = -1;
    EBalloon m_Balloon = EBalloon::None;
    int m_nBalloonRow = -1;
    int m_arrSavedNameRowImages[2] = {-1, -1};

    // Only one page polls the address switch at a time.
    static bool s_dipPolling;
};

}  // namespace Corvane
