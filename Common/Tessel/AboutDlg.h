#pragma once
// The about dialog: who made the program and how to reach support, the
// program's name and version, its files with their versions and build
// dates, and the running system. A click on the support address starts a
// mail that already carries all of this.
#include "Common/Skin/GradientStatic.h"
#include "Common/Skin/IconStatic.h"
#include "Common/Skin/ZellStatic.h"
#include "Common/Grid/ZellGrid.h"
#include "Common/SystemHelper/System/WindowsVersion.h"
#include "Common/Tessel/ThemedGroupBox.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Framework/Drawing/Font.h"

#include <array>

namespace Tessel {

struct AboutArguments {
    CString executable;
    CString fileVersion;
    CString date;
    CString appName;
    CString productVersion;
    HICON icon = nullptr;
    int iconIndex = -1;
};

class CAboutDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = 100;
    static constexpr int kDashCount = 67;

    explicit CAboutDlg(const AboutArguments& arguments, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    // What the support mail carries; the mail program gets them encoded.
    CString SupportMailAddress() const;
    const CString& SupportMailSubject() const { return m_appName; }
    CString SupportMailBody() const;

    const CString& ApplicationInformation() const { return m_applicationInformation; }
    const CString& SystemInformation() const { return m_systemInformation; }
    const CString& ProductVersion() const { return m_productVersion; }
    const CString& AppName() const { return m_appName; }
    // The control that shows the support address (1077, or 1082 without a
    // support fax); 0 when the support row shows a website.
    int SupportMailControl() const { return m_showsWebsite ? 0 : m_supportMailId; }

protected:
    // Starts the support mail (nothing when the row shows a website).
    virtual void OnSupportMail();
    void OnSupportValueClicked(UINT id);
    // The running system's description for the system list.
    virtual void DescribeSystem(WindowsVersionText& text) const;
    DECLARE_MESSAGE_MAP()

private:
    void GetVersionText();
    void FillFromVersionRecord();
    void SubclassControls();
    void FillTexts();
    void FillLogoAndIcon();
    void FillTitle();
    void FillCompanyTexts();
    void FillSupportTexts();
    void StyleLinks();
    void FillSupportContact();
    void FillCaptionAndLabels();
    void FillModuleList();
    void FillSystemList();
    void MakeStaticList(ZELL::Grid::CZellGrid& grid, int rows, int columns, int fixedRows);
    ZELL::Skin::CZellStatic& Label(int id);
    bool SetDefinedText(LPCWSTR key, int id);
    void HideControl(int id);
    void CloseUpAddressLine(int id, int nextId);

    CString m_applicationInformation;
    CString m_systemInformation;
    CString m_executable;
    CString m_appName;
    CString m_productVersion;
    CString m_fileVersion;
    CString m_date;
    int m_iconIndex = -1;
    // The caller's; the dialog never destroys it.
    HICON m_icon = nullptr;
    bool m_showsWebsite = false;
    int m_supportMailId = 1077;
    int m_supportMailLabelId = 1080;
    CStatic m_logo;
    ZELL::Skin::CIconStatic m_programIcon;
    ZELL::Skin::CZellStatic m_title;
    ZELL::Skin::CZellStatic m_versionLine;
    CThemedGroupBox m_addressBox;
    std::array<ZELL::Skin::CZellStatic, 18> m_labels;
    ZELL::Skin::CGradientStatic m_filesHeader;
    ZELL::Skin::CGradientStatic m_systemHeader;
    ZELL::Grid::CZellGrid m_fileList;
    ZELL::Grid::CZellGrid m_systemList;
    CFont m_dialogFont;
    LOGFONTW m_dialogLogFont{};
};

}
