// CFileDialog over the system's file dialog: the framework's filter form, the
// default extension, the initial name, and the chosen file's parts.
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Framework/Files/FileDialog.h"
#include "Platform/Shell/FileNameDialog.h"
#include "Platform/Shell/PathText.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using ShellTest::Key;
using UiTest::CDialogDriver;
using ZELL::Shell::CFileNameDialog;

namespace {

class FileDialogObject : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(m_temp / "device.wes") << "settings";
        std::ofstream(m_temp / "log.txt") << "text";
        m_root = ZELL::Shell::WidePath(m_temp.Path());
        m_owner.Attach(m_script.Owner());
    }
    void TearDown() override { m_owner.Detach(); }

    ShellTest::CTempFolder m_temp;
    ShellTest::ModalScript m_script;
    CWnd m_owner;
    std::wstring m_root;
};

}  // namespace

TEST_F(FileDialogObject, SaveTakesATypedNameWithTheDefaultExtensionAndSplitsThePath)
{
    const std::wstring initial = m_root + L"/*.wes";
    CFileDialog dialog(FALSE, L"wes", initial.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                       L"Settings files (*.wes)|*.wes|All files (*.*)|*.*||", &m_owner);
    std::vector<std::wstring> types;
    std::wstring shownFolder;
    m_script.Then([&](CDialogDriver& d) {
        HWND combo = d.Control(CFileNameDialog::kTypeCombo);
        for (int i = 0; i < static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
            wchar_t text[64] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            types.emplace_back(text);
        }
        shownFolder = d.Text(CFileNameDialog::kFolderEdit);
        Key(d, 'N', UiTest::kAlt);
        d.Type(L"Anlage 7.neu");  // an extension of its own: none is added
        Key(d, VK_RETURN);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(types, (std::vector<std::wstring>{L"Settings files (*.wes)", L"All files (*.*)"}));
    EXPECT_EQ(shownFolder, m_root);
    EXPECT_EQ(std::wstring(dialog.GetPathName()), m_root + L"/Anlage 7.neu");
    EXPECT_EQ(std::wstring(dialog.GetFileName()), L"Anlage 7.neu");
    EXPECT_EQ(std::wstring(dialog.GetFileExt()), L"neu");
    EXPECT_EQ(std::wstring(dialog.GetFileTitle()), L"Anlage 7");
    EXPECT_EQ(std::wstring(dialog.GetFolderPath()), m_root);
}

TEST_F(FileDialogObject, OpenPicksFromTheListAndCancelGivesIdCancel)
{
    CFileDialog dialog(TRUE, L"txt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR,
                       L"Text (*.txt)|*.txt||", &m_owner);
    const std::wstring folder = m_root;
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    m_script.Then([&](CDialogDriver& d) {
        Key(d, 'N', UiTest::kAlt);
        d.Type(L"log");  // an open dialog finds log.txt through the default extension
        Key(d, VK_RETURN);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::wstring(dialog.GetPathName()), m_root + L"/log.txt");

    CFileDialog cancelled(TRUE, nullptr, nullptr, OFN_NOCHANGEDIR, nullptr, &m_owner);
    m_script.Then([&](CDialogDriver& d) { Key(d, VK_ESCAPE); });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(std::wstring(cancelled.GetPathName()), L"");
    EXPECT_EQ(std::wstring(cancelled.GetFileExt()), L"");
}
