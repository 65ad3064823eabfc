// Traces from the string table and traces that also show in a window.
#include "Common/SystemHelper/Desktop/DebugTraceWindow.h"
#include "Platform/Base/Tests/DebugOutputFile.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Controls/Edit.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/ResourceTable.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kPortOpened = 3101;
constexpr UINT kMismatched = 3102;
constexpr UINT kLong = 3103;
constexpr UINT kNoSuchString = 3199;

const std::wstring kLongFormat = std::wstring(1100, L'f') + L"%d";
const Ui::Res::StringTable kStrings{LANG_NEUTRAL, {
    {kPortOpened, L"Port %s opened (%d)"},
    {kMismatched, L"%s is %d"},
    {kLong, kLongFormat.c_str()},
}};
const Ui::Res::ResourceTable kResources{.strings = {&kStrings}};
const Ui::Res::Registration kRegistration{kResources};

class WindowTrace : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        ASSERT_TRUE(m_frame.CreateEx(0, CWnd::DefaultClassName(), L"Trace", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                     400, 200, nullptr, nullptr));
        ASSERT_TRUE(m_log.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(4, 4, 380, 28), &m_frame, 100));
        m_log.SetWindowText(L"earlier");
        SetDebugTraceEnabled(true);
    }
    void TearDown() override
    {
        SetDebugTraceEnabled(false);
        m_frame.DestroyWindow();
        UiTest::Drain();
    }
    std::wstring LogText() const
    {
        CString text;
        m_log.GetWindowText(text);
        return text.GetString();
    }

    TestSupport::CDebugOutputFile m_output;
    CWnd m_frame;
    CEdit m_log;
};

}

TEST_F(WindowTrace, FormatFromTheStringTableGoesToTheTraceAndTheWindow)
{
    DebugTraceId(kPortOpened, L"COM1", 3);
    EXPECT_EQ(m_output.Take(), "Port COM1 opened (3)\n");
    EXPECT_EQ(LogText(), L"earlier");

    DebugTraceIdToWindow(&m_log, kPortOpened, L"Ger\u00e4t", 4);
    EXPECT_EQ(m_output.Take(), "Port Ger\xc3\xa4t opened (4)\n");
    EXPECT_EQ(LogText(), L"Port Ger\u00e4t opened (4)");

    // Without a window only the trace is written.
    DebugTraceIdToWindow(nullptr, kPortOpened, L"COM2", 5);
    EXPECT_EQ(m_output.Take(), "Port COM2 opened (5)\n");
    EXPECT_EQ(LogText(), L"Port Ger\u00e4t opened (4)");
}

TEST_F(WindowTrace, PlainFormatToTheWindowIsCutTo1024Characters)
{
    DebugTraceToWindow(&m_log, L"%s: %d", L"state", 7);
    EXPECT_EQ(m_output.Take(), "state: 7\n");
    EXPECT_EQ(LogText(), L"state: 7");

    DebugTraceToWindow(&m_log, L"%s", std::wstring(3000, L'y'));
    EXPECT_EQ(m_output.Take(), std::string(1023, 'y') + "\n");
    EXPECT_EQ(LogText(), std::wstring(1023, L'y'));

    // The format from the table is held to the same length before it is filled.
    DebugTraceId(kLong, 1);
    EXPECT_EQ(m_output.Take(), std::string(1023, 'f') + "\n");
}

TEST_F(WindowTrace, NothingHappensWhileTheSwitchIsOffOrWithoutAString)
{
    SetDebugTraceEnabled(false);
    DebugTraceIdToWindow(&m_log, kPortOpened, L"COM1", 1);
    DebugTraceToWindow(&m_log, L"plain");
    DebugTraceId(kPortOpened, L"COM1", 1);
    EXPECT_EQ(m_output.Take(), "");
    EXPECT_EQ(LogText(), L"earlier");

    // An id without text neither writes an empty line nor wipes the window.
    SetDebugTraceEnabled(true);
    DebugTraceIdToWindow(&m_log, kNoSuchString, 1);
    EXPECT_EQ(m_output.Take(), "");
    EXPECT_EQ(LogText(), L"earlier");
}

TEST_F(WindowTrace, ATranslatedFormatThatDoesNotMatchItsArgumentsStaysHarmless)
{
    DebugTraceIdToWindow(&m_log, kMismatched, 42);
    const std::string written = m_output.Take();
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(Text::Utf8ToWide(written.substr(0, written.size() - 1)), LogText());
}

TEST_F(WindowTrace, FormatsComeFromTheResourceModuleInUse)
{
    // Another module's strings: ours are not found there, so nothing is written.
    const HINSTANCE other = ::GetModuleHandleW(L"libc.so.6");
    ASSERT_NE(other, nullptr);
    AfxSetResourceHandle(other);
    DebugTraceId(kPortOpened, L"COM1", 1);
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(m_output.Take(), "");
    DebugTraceId(kPortOpened, L"COM1", 1);
    EXPECT_EQ(m_output.Take(), "Port COM1 opened (1)\n");
}
