#pragma once
// The identification page, the first page of the main dialog: what
// identifies the connected device as a read-only grid of name and value
// rows, which also shows the progress and the failure of a device read. A
// context menu on the grid reads the device again, copies the rows to the
// clipboard or saves them as a text file.
#include "Products/Corvane/Pages/Views/GridPageBase.h"

#include <vector>

namespace ZELL::Skin { class CZellMenu; }

namespace Corvane {

class CFBCData;

class CCommonPage : public CGridPageBase {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"COMMON";
    static constexpr UINT kTemplateId = 160;
    static constexpr UINT kLargeTemplateId = 298;
    static constexpr int kGridId = 1118;
    static constexpr UINT kRowImagesId = 194;
    static constexpr UINT kMenuImagesId = 276;
    static constexpr COLORREF kImageMask = 0xFF00FF;
    static constexpr UINT kRefreshCommand = 1012;
    static constexpr UINT kCopyCommand = 32786;
    static constexpr UINT kPasteCommand = 32787;
    static constexpr UINT kDeleteCommand = 32788;
    static constexpr UINT kSaveCommand = 57603;
    // The marker a reader puts before a value it could not read.
    static constexpr LPCWSTR kErrorMarker = L"ERR: ";
    static constexpr WORD kNoRuntimeSystem = 0xFFFF;

    struct tRow {
        CString name;
        CString value;
        WORD state = kRowNormal;
    };

    explicit CCommonPage(UINT templateId = kTemplateId);

    // The identification texts; the main dialog fills them before the
    // page is loaded.
    CString m_strDescription;
    CString m_strArticleNo;
    CString m_strFWVersion;
    CString m_strHWVersion;
    CString m_strFWLVersion;
    CString m_strSerialNo;
    CString m_strIMEI;
    CString m_strMACAddress;
    CString m_strMACAddress2;
    CString m_strIPAddress;
    CString m_strIPAddress2;

    void SetIPAddressTexts(const CString& ip1, const CString& ip2);
    // The texts the data set holds, the IMEI included.
    void TakeIdentification(const CFBCData& data);
    // No device is known any more: nothing of the last one may show again.
    void ClearIdentification();
    // The state the page shows instead of its rows; 0 while it shows them.
    int ShownState() const { return m_nShownState; }

    void LoadFromDeviceData() override;
    bool ShowValues() override { return true; }
    BOOL UpdateLanguageTexts() override;
    void BeginWaitState(int state, LPCWSTR text) override;

    const std::vector<tRow>& Rows() const { return m_arrRows; }
    // One line "name= value" per row, each ending with "\r\n".
    const CString& CopyText() const { return m_strCopyText; }

    // The grid's menu at the screen point; nothing before the first read.
    void ShowContextMenu(CPoint screen);
    void RunMenuCommand(UINT command);
    // The rows into the file; false (and the user told) when it failed.
    bool SaveToFile(const CString& path);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnGridRightClick(NMHDR* header, LRESULT* result);
    // Shows the menu and gives the chosen command, 0 for none.
    virtual UINT TrackContextMenu(ZELL::Skin::CZellMenu& menu, CPoint screen);
    // The file the user chose to save to; empty when cancelled.
    virtual CString AskSaveFileName();
    virtual void ShowMessage(const CString& text);
    virtual bool DeviceHasIP() const;
    DECLARE_MESSAGE_MAP()

private:
    void AddRow(LPCWSTR nameKey, const CString& value);
    void AddAddressRows();
    void ShowRows();
    void SaveWithDialog();

    std::vector<tRow> m_arrRows;
    CString m_strCopyText;
    CImageList m_RowImages;
    int m_nShownState = 0;
    CString m_strShownStateText;
};

}  // namespace Corvane
