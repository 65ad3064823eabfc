#pragma once
// The program's one window: a header, eight toolbar buttons, the settings
// pages in a property sheet inside the dialog, and a status line with a
// busy indicator, the connection-state icon and the connection text.
//
// The dialog owns the connection, its service object, the device data set
// and the pages. It decides which pages a device shows, handles the menu,
// the shortcuts and the language switch, shows the workers' progress and
// guards closing. The device, file and connection commands are defined in
// CorvaneDlgDevice.cpp, CorvaneDlgFiles.cpp and CorvaneDlgConnection.cpp.
#include "Common/Skin/BusyProgressCtrl.h"
#include "Common/Skin/PersistentDialog.h"
#include "Common/Skin/PropSheetInDlg.h"
#include "Common/Skin/ZellButton.h"
#include "Common/Skin/ZellStatic.h"
#include "Common/Skin/ZellTooltip.h"
#include "Platform/Framework/Drawing/Brush.h"
#include "Platform/Framework/Controls/ProgressCtrl.h"
#include "Platform/Framework/Controls/Static.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/MainDialog/Commands/AskStored.h"
#include "Products/Corvane/MainDialog/Commands/PostedWorkerPrompt.h"
#include "Products/Corvane/MainDialog/Commands/WorkerLauncher.h"
#include "Products/Corvane/MainDialog/CorvanePageCatalog.h"
#include "Products/Corvane/MainDialog/CorvanePageTable.h"
#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/MainDialog/StatusLog.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CServiceBase;
namespace ZELL {
class CConnectionBase;
}

namespace Corvane {

class CCorvaneApp;
class CCommonPage;

class CCorvaneDlg : public ZELL::Skin::CPersistentDialog {
public:
    // One page of the sheet order: its key, its title and the page.
    struct tPageEntry {
        std::wstring name;
        std::wstring title;
        CSettingsPage* page = nullptr;
    };

    // DoModal's result when the user quit while a device command ran; the
    // program then ends with exit code 1, so that a caller sees the command
    // was broken off.
    static constexpr INT_PTR kQuitDuringCommand = 0x1000;

    CCorvaneDlg(UINT templateId, const CCorvanePageCatalog& catalog, CWnd* parent = nullptr);
    ~CCorvaneDlg() override;
    CCorvaneDlg(const CCorvaneDlg&) = delete;
    CCorvaneDlg& operator=(const CCorvaneDlg&) = delete;

    // --- connection -----------------------------------------------------------
    // A new connection of the type (a word of ZELL::CConnectionTypes without
    // regard to case, else serial) from the stored settings, then `settingsXml` when not empty,
    // and its service.
    void CreateConnectionOfType(const CString& type, const CString& settingsXml);
    void CreateService();
    // Every page works on the dialog's connection and its service.
    void HandConnectionToPages();
    ZELL::CConnectionBase* Connection() const { return m_pConnection.get(); }
    CServiceBase* Service() const { return m_pService.get(); }
    bool IsTcpIpConnection() const;
    CFBCData& Data() { return m_data; }

    // --- pages --------------------------------------------------------------
    // The page keys of the device in sheet order, from the capability file.
    void BuildPageList(const CString& article);
    // Puts the listed pages into the sheet (only the base pages without the
    // extended ones) and activates the page that was active. The caller
    // refreshes the pages with the data first.
    void ApplyPageList();
    void ResetToFirstPage();
    const std::vector<std::wstring>& PageList() const { return m_arrPageList; }
    bool IsPageInList(const std::wstring& name) const;
    CSettingsPage* Page(const std::wstring& name) const;
    CSettingsPage* ActivePage() const;
    std::wstring ActivePageName() const;
    const std::vector<tPageEntry>& PageEntries() const { return m_arrPageEntries; }

    // --- status line and progress --------------------------------------------
    void ShowStatus(const CString& text);
    const CString& StatusLog() const { return m_StatusLog.Text(); }
    void StartBusy();
    void StopBusy();
    void SetStatusTimer();
    void SetConnectionState(UINT iconId);
    UINT ConnectionState() const { return m_nConnectionState; }
    void ShowConnectionText();
    bool IsOfflineConfig() const { return m_nConnectionState == CorvaneIds::kStateOffline; }
    // Copy, delete or save of the status line's menu.
    void OnStatusMenuCommand(UINT command);

    // The Settings button's drop-down (null before the dialog exists).
    CMenu* SettingsMenu() const;

    // Called once, when the dialog has painted itself for the first time.
    void SetFirstPaintObserver(std::function<void()> observer) { m_fnFirstPaintObserver = std::move(observer); }

    // --- language -----------------------------------------------------------
    void SwitchLanguage(const CString& language);
    const CString& Language() const { return m_strLanguage; }

    // The language text of a key; a missing one gives `fallback` where given.
    static CString Translate(LPCWSTR key);
    static CString TranslateOr(const CString& key, const CString& fallback);
    static bool IsWorkerRunning();

    // --- buttons ------------------------------------------------------------
    void EnableButton(int id, bool enable);
    void EnableSaveAndWrite(bool save, bool write);
    void RecomputeModified();
    // The enable rules of the command buttons for the current state.
    void UpdateCommandButtons();
    bool IsModified() const { return m_bModified; }

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // A window placed over a caller's rectangle keeps no placement.
    void SavePlacement() override;
    void OnOK() override;
    void OnCancel() override;

    // Hooks of the progress display: a worker's step and a state code
    // outside the table.
    virtual LRESULT OnShowThreadState(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnFbcSettingsChanged(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnIsModified(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnIsOfflineConfig(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnIsPageInList(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnEvaluateShortcuts(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnShowConnectionState(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnUpdateSettingsMenu(WPARAM wParam, LPARAM lParam);

    void OnClose();
    void OnDestroy();
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR id);
    void OnSysCommand(UINT id, LPARAM lParam);
    LRESULT OnTimeChange(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnLanguage(UINT id);
    void OnResetMessages();
    DECLARE_MESSAGE_MAP()

protected:

    // Keys the dialog handles itself (also forwarded by pages); true when used.
    bool EvaluateShortcut(UINT virtualKey);
    void ApplyStartupWindowStyle();
    void CreatePages();
    void SetupButtons(bool initial);
    void SetupSettingsMenu();
    void SetTitles(const CString& first, const CString& second);
    // Defined in CorvaneDlgNotes.cpp: what shows while the dialog holds no
    // device's settings, and again in a new language.
    void ShowNoDeviceTitles();
    void ShowPageNote(CSettingsPage* page, LPCWSTR key);
    void ShowNotesInLanguage();
    void ShowResultStatusInLanguage();
    void ForgetIdentification();
    void RememberResult(int type, bool ok);
    // True when the result leaves the dialog holding the device's settings.
    static bool HoldsDeviceSettings(int type, bool valid);
    void AddPageToSheet(const tPageEntry& entry);
    void RemovePageFromSheet(const std::wstring& name);
    bool IsPageInSheet(const std::wstring& name) const;
    // The order check lets the pages of the group show (the controller pages
    // also need a runtime system to show).
    bool IsGroupOn(ENPageGroup group) const;
    bool IsGroupShown(const std::wstring& name) const;
    void ActivatePage(const std::wstring& name);
    void ShowStatusMenu(CPoint screenPoint);
    void SetupSystemMenu();
    // The window menu below the header icon, as a caption's icon opens it:
    // under a window manager the caption's menu is the manager's, which
    // knows nothing of the about item.
    void OpenWindowMenuAtHeaderIcon();
    void ApplyLanguage();
    void RetitlePages();
    void ShowDataInLanguage();
    bool HandleKey(const MSG* msg);
    // The command of a letter pressed with Ctrl and Alt; 0 for none.
    static UINT ShortcutCommand(UINT letter);
    // True when the dialog may close now.
    bool CloseQuery();
    // A question through the program's message box; the button's id.
    virtual int AskUser(const CString& text, UINT type);
    void EndWorkerDisplay(bool succeeded, const CString& line);
    void WidenButton(ZELL::Skin::CZellButton& button);
    void CheckLanguageItem();
    bool IsLanguageOffered(const CString& code) const;
    bool HasSilencedQuestion() const;
    // The clock page, and the TCP/IP page while it edits, take no device
    // commands (nothing is refused in offline mode).
    bool ActivePageRefusesCommands() const;

    const CCorvanePageCatalog& m_Catalog;

    CString m_strLanguage;
    bool m_bModified = false;
    bool m_bDataValid = false;
    bool m_bFirstRead = true;
    bool m_bCloseAfterWrite = false;
    bool m_bSwitchingLanguage = false;
    // A closing question is open.
    bool m_bAskingToClose = false;
    bool m_bExtendedPages = false;
    bool m_bControllerPages = false;
    bool m_bHasDIPSwitch = false;
    int m_nNotAllDatasetParams = 0;
    int m_nNotAllDeviceParams = 0;
    bool m_bStatusTimer = false;
    CString m_strPrevArticleNo;
    CString m_strPrevNetworkId;
    // The titles say that no device is connected.
    bool m_bNoDeviceTitles = false;
    // The key of the note the identification page shows, while it has one.
    CString m_strPageNoteKey;
    // The last device command's result, for its status line in a new language.
    int m_nLastResultType = 0;
    bool m_bLastResultOk = false;
    // The data hold something the current file does not: an edit, or what
    // a device gave.
    bool m_bNotInFile = false;

    // Every page the dialog has, in sheet order, and the keys the device
    // shows (the current page list).
    std::vector<std::unique_ptr<CSettingsPage>> m_arrOwnedPages;
    std::vector<tPageEntry> m_arrPageEntries;
    std::vector<std::wstring> m_arrPageList;
    int m_nActivePage = -1;
    std::wstring m_strActivePageName;

    std::unique_ptr<ZELL::CConnectionBase> m_pConnection;
    std::unique_ptr<CServiceBase> m_pService;
    std::wstring m_strRegistryPath;
    CFBCData m_data;
    CString m_strCurrentFile;
    CStatusLog m_StatusLog;

    ZELL::Skin::CPropSheetInDlg m_Sheet;
    ZELL::Skin::CZellStatic m_StatusLine;
    CStatic m_ConnectionIcon;
    ZELL::Skin::CZellStatic m_ConnectionText;
    ZELL::Skin::CZellStatic m_TitleLine1;
    ZELL::Skin::CZellStatic m_TitleLine2;
    CStatic m_HeaderIcon;
    CStatic m_OemLogo;
    ZELL::Skin::CBusyProgressCtrl m_Busy;
    CProgressCtrl m_Progress;
    std::array<ZELL::Skin::CZellButton, 8> m_arrButtons;
    ZELL::Skin::CZellTooltip m_Tooltip;
    CBrush m_WhiteBrush;
    HICON m_hAppIcon = nullptr;
    UINT m_nConnectionState = CorvaneIds::kStateIdle;
    bool m_bAboutItemAdded = false;
    std::function<void()> m_fnFirstPaintObserver;

    // --- device, file and connection commands --------------------------------
    // Defined in CorvaneDlgDevice.cpp. Keys, menus and the close query
    // reach them through their command ids and registered messages.
public:
    void OnReadDevice();
    void OnWriteDevice();
    void OnFactoryDefaults();
    void OnSoftwareReset();
    void OnResetFileSystem();
    LRESULT OnFirstShow(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdentifyDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnWriteSettingsDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnFactoryDefaultsDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnSoftwareResetDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnResetFileSystemDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnReadSettingsRequest(WPARAM wParam, LPARAM lParam);
    // wParam kWriteThenClose: the close query asks for the write; closing
    // waits for it only once the worker has started.
    LRESULT OnWriteSettingsRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnSoftwareResetRequest(WPARAM wParam, LPARAM lParam);
    bool StartReadThread();
    bool StartWriteThread();
    bool StartFactoryDefaultsThread();
    bool StartSoftwareResetThread();
    bool StartResetFileSystemThread();
    bool ValidatePages();
    // Defined in CorvaneDlgWriteCheck.cpp: after ValidatePages refused a
    // write, shows the refused field and names it with its page; a page
    // only now shown (`checkAgain`) was checked quietly before.
    void ReportRefusedWrite(bool checkAgain);
    // Defined in CorvaneDlgAddressChange.cpp: the write's question when the
    // device gets other addresses, and the reconnect at the new one.
    bool ReportsChangedAddress() const;
    bool ConfirmAddressChange();
    void NoteAddressAfterRestart();
    void HandAddressesToTCPIPPage();
    CString TCPIPAddressSourceText() const;
    bool PageRefusesCommands(bool showMessage);
    int AskStored(LPCWSTR key, LPCWSTR messageKey, UINT type);
    void ProcessThreadResult(int type, bool ok, CFBCData* data);
    bool CheckAndShowData(CFBCData* data);
    bool CheckOrder(const CString& article);
    bool CheckSoftwareVersion(const CString& swVersion, const CString& article);
    void RefreshPages();
    void FillCommonPage();
    void OfflineStartup();
    CString GetDefaultSettingsFile(const CString& article, int number) const;
    // Defined in CorvaneDlgFiles.cpp.
    void OnOpen();
    void OnSave();
    bool OpenSettingsFile(const CString& path);
    bool SaveSettingsFile(const CString& path);
    bool SaveFileCommand(bool askForName);
    bool ChooseSettingsFile(bool forSaving, CString& path);
    void ExportStatusLog();
    // Defined in CorvaneDlgConnection.cpp.
    void OnConnectionSettings();
    void OnAboutBox();

    // --- command routing and worker state (CorvaneDlgDevice.cpp) -------------
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The commands, done messages and page requests of the three command
    // sources; false for any other message.
    bool RouteCommandMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool RouteCommand(UINT id);
    void StopWorkerForClosing();
    bool StartWorker(ENWorkerKind kind);
    void PrepareWorkerStart(ENWorkerKind kind);
    void ReportWorkerStartFailure(ENWorkerKind kind);
    tWorkerParams MakeWorkerParams();
    int ShowWorkerQuestion(const tWorkerQuestion& question);
    void HideTooltips();
    void RestoreCommandButtons();
    void ProcessDone(UINT message, WPARAM wParam);
    void ShowResultStates(int type, bool valid);
    void ShowNotAllWrittenMessages();
    void SetSaveButtonAfterResult(bool valid);
    void ShowDataTitles();
    void AttachPageData(CSettingsPage& page);
    void DetachPagesFromData();
    void FillIdentification(CCommonPage& page);
    static CString AddressLine(const std::wstring& address, const CString& source);
    void HandParamFileAfterRead(bool succeeded);
    void TellDeviceNotReachedAfterWrite();
    // A write that failed or was cancelled gives the pages back the edits
    // they had before it, still modified, with its message.
    void KeepEditsAfterWrite(WPARAM result);
    void TellStoreUnconfirmed();
    bool OpenParamFileAndCheck();
    CString ArticleOfCommonPage() const;
    CString ConnectionAddress() const;
    CAskStored MakeAskStored() const;
    // CorvaneDlgFiles.cpp
    // False with the text that tells the user why the file was not taken.
    bool LoadSettingsFile(const CString& path, CString& failure);
    void ShowLoadedFile(const CString& path);
    bool ChooseFile(bool open, const CString& initialPath, LPCWSTR extension, const CString& filter, CString& path);
    void RememberFolder(const CString& path);
    // CorvaneDlgConnection.cpp
    void ShowConnectionSettingsError(const CString& text);

    // The prompt outlives the launcher, which waits for the worker that
    // may be asking through it.
    std::unique_ptr<CPostedWorkerPrompt> m_pPrompt;
    CWorkerLauncher m_Launcher;
    // The command buttons' states before a worker start, for a start that fails.
    std::array<bool, 8> m_arrButtonsBeforeWorker{};
    // The data set with the user's edits as the write started: a write that
    // stops keeps them for another write or a save.
    std::optional<CFBCData> m_EditsBeforeWrite;
};

}  // namespace Corvane
