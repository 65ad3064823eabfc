#pragma once
// Searches an IPv4 address range for our devices, one worker per address,
// lists what answers and lets the user pick one device.

#include "Common/PelorusDLL/Dialogs/DeviceInfo.h"
#include "Common/PelorusDLL/Dialogs/ScanContext.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Controls/ListCtrl.h"
#include "Platform/Framework/Controls/ProgressCtrl.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ZELL {
class CConnectionBase;
}

class CScanNetworkDlg : public CDialog {
public:
    explicit CScanNetworkDlg(CWnd* parent = nullptr);
    ~CScanNetworkDlg() override;

    // Set by the caller before DoModal; after IDOK the chosen device's.
    CString m_selectedAddress = L"192.168.42";
    CString m_selectedName;
    BOOL m_resolveNames = FALSE;
    // Whose stored settings the scan's connections start from (may be null).
    ZELL::CConnectionBase* m_templateConnection = nullptr;
    // Where and how the devices are asked; the defaults are the network's.
    std::shared_ptr<CScanProbe> m_probe = std::make_shared<CScanProbe>();
    unsigned short m_servicePort = 6626;
    unsigned m_retryWaitSeconds = 10;

    // The scan in progress or the last one (for callers that wait for its workers).
    std::shared_ptr<CScanContext> Scan() const { return m_scan; }
    bool IsScanning() const { return m_scanning; }

    // How two rows compare for a column (0 address, 1 article number, 2 MAC).
    static int CompareRecords(const CDeviceInfo& left, const CDeviceInfo& right, int column);

    // Posted to itself when a scan ends with an empty list.
    static constexpr UINT kNothingFoundMessage = WM_APP + 0x5CA;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    virtual void OnClose();
    BOOL PreTranslateMessage(MSG* msg) override;

    virtual void OnSearch();
    virtual void OnOctetChanged(UINT id);
    virtual LRESULT OnDeviceIdentified(WPARAM found, LPARAM record);
    // Tells the user that a finished scan found nothing.
    virtual LRESULT OnNothingFound(WPARAM, LPARAM);
    virtual void OnColumnClick(NMHDR* header, LRESULT* result);
    virtual void OnItemChanged(NMHDR* header, LRESULT* result);
    virtual void OnDoubleClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void SetTexts();
    void PrepareList();
    void LoadRowIcons();
    bool ValidateStartOctet(int index, bool searching);
    bool ValidateEndOctet(int index);
    bool OctetInRange(int id, int lower, int upper, bool showBalloon);
    void ShowBalloon(int id, const CString& title, const CString& text);
    std::vector<std::wstring> AddressWalk() const;
    void StartScan(const std::vector<std::wstring>& addresses);
    std::shared_ptr<CScanContext> NewScanContext() const;
    void FinishScan();
    void EnableSearchButtons(bool enable);
    bool IsListed(const CDeviceInfo& record) const;
    void AddRow(CDeviceInfo* record, bool found);
    void SortBy(int column, bool ascending);
    CDeviceInfo* UsableSelection() const;
    void UpdateOkButton();
    void EndScanAndClose(int result);
    void ClearResults();

    std::array<CString, 4> m_start;
    std::array<CString, 4> m_end;
    BOOL m_showAll = FALSE;
    std::vector<std::unique_ptr<CDeviceInfo>> m_results;
    bool m_scanning = false;
    bool m_updatingOctets = false;
    std::shared_ptr<CScanContext> m_scan = std::make_shared<CScanContext>();
    CListCtrl m_list;
    CImageList m_rowIcons; // the list shares it (LVS_SHAREIMAGELISTS); it is the dialog's
    CProgressCtrl m_progress;
    CFont m_font;
    int m_sortColumn = 1;
    bool m_sortAscending = true;
};
