// Every text a user reads on the main dialog and on each page after a read,
// in both languages of the program's text file. A text looked up under a key
// the file lacks shows as "##" and the key; none may be left, neither in a
// window's text, nor in a list's items, nor in a grid's cells.
#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Ui/WindowFunctions.h"
#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/Pages/Views/GridPageBase.h"

#include <cwctype>
#include <tuple>

using namespace EndToEnd;

namespace {

// The marker the text store puts before a key it has no text for.
bool ShowsMissingText(const std::wstring& text)
{
    for (std::size_t at = text.find(L"##"); at != std::wstring::npos; at = text.find(L"##", at + 1)) {
        if (at + 2 < text.size() && std::iswupper(text[at + 2]))
            return true;
    }
    return false;
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsComboBox(HWND window)
{
    wchar_t name[32]{};
    ::GetClassNameW(window, name, 32);
    return std::wstring(name) == L"ComboBox";
}

std::vector<std::wstring> ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::wstring item(static_cast<std::size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
        const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
        item.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        items.push_back(item);
    }
    return items;
}

// What the texts of one window tree showed: how many were read, and those
// that stand for a missing text.
struct tTextScan {
    std::size_t read = 0;
    std::vector<std::wstring> missing;

    void Check(const std::wstring& where, const std::wstring& text)
    {
        ++read;
        if (ShowsMissingText(text))
            missing.push_back(where + L": " + text);
    }
};

BOOL ScanWindow(HWND window, LPARAM scan)
{
    auto& result = *reinterpret_cast<tTextScan*>(scan);
    const std::wstring where = L"control " + std::to_wstring(::GetDlgCtrlID(window));
    result.Check(where, WindowText(window));
    if (IsComboBox(window)) {
        for (const std::wstring& item : ComboItems(window))
            result.Check(where + L" item", item);
    }
    return TRUE;
}

void ScanGrid(CSettingsPage* page, tTextScan& scan)
{
    auto* gridPage = dynamic_cast<CGridPageBase*>(page);
    if (gridPage == nullptr || !gridPage->IsGridSetUp())
        return;
    CZellGrid& grid = gridPage->Grid();
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int column = 0; column < grid.GetColumnCount(); ++column)
            scan.Check(L"cell " + std::to_wstring(row) + L"," + std::to_wstring(column),
                       grid.GetCellText(row, column).GetString());
    }
}

// A device (controller or coupler) and a language.
using tCase = std::tuple<bool, std::wstring>;

class CorvaneTexts : public EndToEndTestBase, public ::testing::WithParamInterface<tCase> {
protected:
    bool Controller() const { return std::get<0>(GetParam()); }
    const std::wstring& Language() const { return std::get<1>(GetParam()); }

    tRunResult RunInLanguage(uint16_t port, const DialogStep& step) const
    {
        return RunProgram(m_capabilityFile,
                          {L"/ConnectionType:TCPIP", CString(L"/ConnectionSettings:" + TcpSettings(port)),
                           CString(L"/LANGUAGE:" + Language())},
                          step, {});
    }
};

TEST_P(CorvaneTexts, NoPageNorTheMainDialogShowsATextKey)
{
    DevSim::CDeviceSimulator device;
    device.Model().Update(Controller() ? FillController : FillCoupler);
    ASSERT_TRUE(device.Start()) << device.LastError();
    std::size_t pages = 0;
    std::wstring readButton;
    const tRunResult run = RunInLanguage(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        readButton = driver.Text(CorvaneIds::kReadButton);
        for (const std::wstring& name : ShownPages(dialog)) {
            ASSERT_TRUE(VisitPage(dialog, driver, name));
            tTextScan scan;
            ::EnumChildWindows(driver.Dialog(), ScanWindow, reinterpret_cast<LPARAM>(&scan));
            ScanGrid(dialog.Page(name), scan);
            EXPECT_GT(scan.read, 20u) << "the texts of the dialog with the page " << ::testing::PrintToString(name);
            EXPECT_TRUE(scan.missing.empty()) << ::testing::PrintToString(name) << " shows "
                                              << ::testing::PrintToString(scan.missing);
            ++pages;
        }
    });
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    EXPECT_EQ(pages, Controller() ? 11u : 10u) << "every page of the device was scanned";
    // The texts scanned are those of the language asked for.
    EXPECT_EQ(readButton, Language() == L"de" ? L"Lesen" : L"Read");
    device.Stop();
}

INSTANTIATE_TEST_SUITE_P(DevicesAndLanguages, CorvaneTexts,
                         ::testing::Combine(::testing::Values(false, true), ::testing::Values(L"de", L"en")),
                         [](const ::testing::TestParamInfo<tCase>& info) {
                             return std::string(std::get<0>(info.param) ? "Controller" : "Coupler") +
                                    (std::get<1>(info.param) == L"de" ? "German" : "English");
                         });

}
