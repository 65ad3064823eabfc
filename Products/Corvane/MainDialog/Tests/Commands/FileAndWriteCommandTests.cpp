// Saving the device into a settings file and loading it again, the write
// to the device, and closing that waits for a write.
#include "Products/Corvane/MainDialog/Tests/Commands/CommandsRig.h"

#include "Products/Corvane/Core/SettingsFileReader.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace Corvane {

using namespace CommandsTest;
using namespace CorvaneIds;
using ::testing::HasSubstr;

namespace {

class FileAndWriteCommandTest : public CommandsTestBase {
protected:
    CString FilePath(const std::string& name) const { return CString((m_Files.Path() / name).wstring()); }
    LRESULT Send(CCorvaneDlg& dialog, UINT message, WPARAM wParam = 0)
    {
        return ::SendMessageW(dialog.GetSafeHwnd(), message, wParam, 0);
    }
    const CWorkerMessages& m_Messages = CWorkerMessages::Get();
};

TEST_F(FileAndWriteCommandTest, SavedDeviceLoadsAgainAsAnOfflineConfiguration)
{
    const CString path = FilePath("device.wes");
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ASSERT_TRUE(dialog->SaveSettingsFile(path));
            const CFBCData read = dialog->Data();
            const std::wstring rowsOfTheRead = Rows(*dialog);
            ASSERT_THAT(rowsOfTheRead, HasSubstr(L"=025AE1000002\n")) << "the second port's MAC address";
            // A second dialog session starts from the file alone.
            ASSERT_TRUE(dialog->OpenSettingsFile(path));
            EXPECT_EQ(dialog->ConnectionState(), kStateOffline);
            EXPECT_EQ(dialog->Data().ArticleNo, read.ArticleNo);
            EXPECT_EQ(dialog->Data().SpecificTable.Words(), read.SpecificTable.Words());
            EXPECT_EQ(dialog->Data().CommonTable.Words(), read.CommonTable.Words());
            EXPECT_EQ(driver.Text(kStatusLine), path.str());
            EXPECT_EQ(Rows(*dialog), rowsOfTheRead) << "both MAC addresses, no row the read did not show";
            EXPECT_EQ(driver.Text(kTitleLine1), L"612-001");
            EXPECT_FALSE(driver.IsEnabled(kSaveButton));
            EXPECT_TRUE(driver.IsEnabled(kWriteButton)) << "the file may go to the device";
        });
    EXPECT_THAT(dialog->StatusLog().str(), HasSubstr(L"    Reading " + path.str()));
}

TEST_F(FileAndWriteCommandTest, SecondSaveWritesTheCurrentFileWithoutAsking)
{
    const CString path = FilePath("current.wes");
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ASSERT_TRUE(dialog->SaveSettingsFile(path));
            ASSERT_TRUE(dialog->OpenSettingsFile(path));
            std::filesystem::remove(path.str());
            // An edit on a page enables Save; it writes the current file.
            Send(*dialog, m_Messages.FbcSettingsChanged, 1);
            ASSERT_TRUE(driver.IsEnabled(kSaveButton));
            ASSERT_TRUE(driver.Click(kSaveButton));
            driver.PumpUntilIdle();
            EXPECT_TRUE(std::filesystem::exists(path.str()));
            EXPECT_EQ(driver.Text(kStatusLine), L"Saved");
            EXPECT_FALSE(driver.IsEnabled(kSaveButton));
        });
    EXPECT_THAT(dialog->StatusLog().str(), HasSubstr(L"    Writing " + path.str()));
    CFBCData saved;
    CSettingsFileReader reader;
    ASSERT_TRUE(reader.Load(std::filesystem::path(path.str()), saved));
    EXPECT_EQ(saved.NetworkID, L"025AE10A0B0C");
}

// A read, a write and a load leave nothing modified, so that Read and Open
// ask nothing; only an edit does, and a save keeps the edit in its file.
TEST_F(FileAndWriteCommandTest, OnlyAnEditMakesTheSettingsModified)
{
    const CString path = FilePath("modified.wes");
    auto dialog = MakeDialog();
    std::vector<std::pair<std::string, bool>> seen;
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        const auto note = [&](const char* after) {
            seen.emplace_back(after, Send(*dialog, m_Messages.IsModified) != 0);
        };
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        note("read");
        ASSERT_TRUE(ClickAndWait(driver, kReadButton)) << "a second read asks nothing";
        note("second read");
        Send(*dialog, m_Messages.FbcSettingsChanged, 1);
        note("edit");
        ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
        note("write");
        ASSERT_TRUE(dialog->SaveSettingsFile(path));
        ASSERT_TRUE(dialog->OpenSettingsFile(path));
        note("load");
        Send(*dialog, m_Messages.FbcSettingsChanged, 1);
        note("edit of the file");
        ASSERT_TRUE(driver.Click(kSaveButton));
        driver.PumpUntilIdle();
        note("save");
    });
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, bool>>{{"read", false},
                                                               {"second read", false},
                                                               {"edit", true},
                                                               {"write", false},
                                                               {"load", false},
                                                               {"edit of the file", true},
                                                               {"save", false}}));
    EXPECT_TRUE(m_arrBoxTexts.empty()) << ::testing::PrintToString(m_arrBoxTexts);
}

TEST_F(FileAndWriteCommandTest, UnreadableFileKeepsTheDataSet)
{
    GetLanguageSupport().SetText(L"MSG_SETTINGS_FILE_DAMAGED_LINE", L"%s is damaged at line %d.");
    const CString path = CString(m_Files.Write("broken.wes", "<application>\n<device>").wstring());
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
                      ASSERT_TRUE(ClickAndWait(driver, kReadButton));
                      EXPECT_FALSE(dialog->OpenSettingsFile(path));
                      EXPECT_EQ(dialog->Data().ArticleNo, L"0612-0001");
                  },
                  {Answer(IDOK)});
    EXPECT_EQ(m_arrBoxTexts, (std::vector<std::wstring>{L"broken.wes is damaged at line 2."}));
    EXPECT_FALSE(dialog->OpenSettingsFile(FilePath("missing.wes")));
}

// An address no device takes loads as the file holds it, and the user hears
// of all of them at once.
TEST_F(FileAndWriteCommandTest, ValuesNoDeviceTakesAreNamedOnceOnOpening)
{
    GetLanguageSupport().SetText(L"MSG_SETTINGS_FILE_INVALID_VALUES", L"%s: %d bad:%s");
    GetLanguageSupport().SetText(L"TXT_IP_ADDRESS", L"IP");
    GetLanguageSupport().SetText(L"TT_SNTP_SERVER_HDR", L"SNTP");
    GetLanguageSupport().SetText(L"BTN_INTERFACE_X1", L"X1");
    GetLanguageSupport().SetText(L"BTN_INTERFACE_X2", L"X2");
    const CString path = FilePath("values.wes");
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
                      ASSERT_TRUE(ClickAndWait(driver, kReadButton));
                      dialog->Data().GetStaticNetworkParams(1)->strIPAddress = L"999.1.1.1";
                      dialog->Data().GetStaticNetworkParams(0)->strParameter6 = L"0xZZZZ";
                      ASSERT_TRUE(dialog->SaveSettingsFile(path));
                      ASSERT_TRUE(dialog->OpenSettingsFile(path));
                      EXPECT_EQ(dialog->Data().GetStaticNetworkParams(1)->strIPAddress, L"999.1.1.1");
                  },
                  {Answer(IDOK)});
    EXPECT_EQ(m_arrBoxTexts, (std::vector<std::wstring>{L"values.wes: 2 bad:\nSNTP X1: 0xZZZZ\nIP X2: 999.1.1.1"}));
}

// The status line tells that saving failed while the box tells why.
TEST_F(FileAndWriteCommandTest, SavingIntoAFolderThatIsGoneSaysSoOnTheStatusLine)
{
    std::filesystem::create_directories(m_Files.Path() / "gone");
    const CString path = FilePath("gone/device.wes");
    auto dialog = MakeDialog();
    std::wstring statusDuringTheBox;
    Run(*dialog,
        [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ASSERT_TRUE(dialog->SaveSettingsFile(path));
            ASSERT_TRUE(dialog->OpenSettingsFile(path));
            std::filesystem::remove_all(m_Files.Path() / "gone");
            Send(*dialog, m_Messages.FbcSettingsChanged, 1);
            ASSERT_TRUE(driver.Click(kSaveButton));
            driver.PumpUntilIdle();
            EXPECT_EQ(driver.Text(kStatusLine), L"Not saved");
            EXPECT_TRUE(driver.IsEnabled(kSaveButton)) << "the edit is still to be saved";
        },
        {[&](UiTest::CDialogDriver& box) {
            statusDuringTheBox = UiTest::CDialogDriver(dialog->GetSafeHwnd()).Text(kStatusLine);
            box.Click(IDOK);
        }});
    EXPECT_EQ(statusDuringTheBox, L"Not saved");
    ASSERT_EQ(m_arrBoxTexts.size(), 1u);
    EXPECT_THAT(m_arrBoxTexts[0], HasSubstr(L"device.wes"));
}

TEST_F(FileAndWriteCommandTest, WriteGoesToTheDevice)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            Send(*dialog, m_Messages.FbcSettingsChanged, 1);
            ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
            EXPECT_EQ(driver.Text(kStatusLine), L"Write done");
            EXPECT_FALSE(driver.IsEnabled(kWriteButton));
        });
}

// The pages in the sheet and whether each holds its block of the data set.
static std::vector<std::pair<std::wstring, bool>> SheetPages(const CCorvaneDlg& dialog)
{
    std::vector<std::pair<std::wstring, bool>> pages;
    for (const auto& entry : dialog.PageEntries())
        if (entry.page != nullptr && entry.page->IsInSheet())
            pages.emplace_back(entry.name, entry.page->HasDeviceBlock());
    return pages;
}

// A write that stops, by the device's refusal or a lost connection, keeps
// the pages with the edits, still modified, and says where it stopped.
TEST_F(FileAndWriteCommandTest, FailedWriteKeepsThePagesAndTheEdits)
{
    GetLanguageSupport().SetText(L"MSG_WRITE_STOPPED_PARTLY_WRITTEN", L"Stopped at %s: %s");
    GetLanguageSupport().SetText(L"MSG_WRITE_EDITS_KEPT", L"Edits kept");
    for (const DevSim::ENFault kind : {DevSim::ENFault::ServiceStatus, DevSim::ENFault::Close}) {
        SCOPED_TRACE(static_cast<int>(kind));
        auto dialog = MakeDialog();
        std::vector<std::pair<std::wstring, bool>> before, after;
        Run(*dialog,
            [&](UiTest::CDialogDriver& driver) {
                ASSERT_TRUE(ClickAndWait(driver, kReadButton));
                before = SheetPages(*dialog);
                // An edit, as a page stores it before the write.
                ASSERT_TRUE(dialog->Data().SpecificTable.SetAt(5, 0x55));
                Send(*dialog, m_Messages.FbcSettingsChanged, 1);
                DevSim::tFaultRule refuse = Always(kind);
                refuse.match.serviceCode = 0x402;
                refuse.status = DevSim::STATUS_INVALID_ARGUMENT;
                m_Sim.Faults().Add(refuse);
                ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
                m_Sim.Faults().Clear();
                after = SheetPages(*dialog);
                EXPECT_EQ(driver.Text(kStatusLine), L"Write failed");
                EXPECT_EQ(dialog->ConnectionState(), kStateFailed);
                EXPECT_EQ(Send(*dialog, m_Messages.IsModified), 1);
                EXPECT_TRUE(driver.IsEnabled(kSaveButton));
                EXPECT_TRUE(driver.IsEnabled(kWriteButton));
                EXPECT_TRUE(driver.IsEnabled(kReadButton));
            },
            {Answer(IDOK)});
        EXPECT_EQ(after, before);
        EXPECT_GT(before.size(), 1u);
        EXPECT_EQ(dialog->Data().SpecificTable.GetAt(5), 0x55);
        EXPECT_EQ(dialog->Data().Description, L"Line coupler") << "the device's own description";
        ASSERT_EQ(m_arrBoxTexts.size(), 1u);
        EXPECT_THAT(m_arrBoxTexts[0], HasSubstr(L"Stopped at " + GetLanguageText(L"STATE_WRITE_COMMON").str()));
        EXPECT_THAT(m_arrBoxTexts[0], HasSubstr(L"Edits kept"));
        EXPECT_THAT(Log(*dialog), HasSubstr(L"Stopped at "));
    }
}

// A device command after a file was opened enables Save though the data
// are still the file's (a write of the file, a restart): closing asks
// nothing. An edit afterwards is asked about.
TEST_F(FileAndWriteCommandTest, ClosingWithTheFilesDataUnchangedAsksNothing)
{
    const CString path = FilePath("unchanged.wes");
    auto dialog = MakeDialog();
    bool closed = false;
    Run(
        *dialog,
        [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ASSERT_TRUE(dialog->SaveSettingsFile(path));
            ASSERT_TRUE(dialog->OpenSettingsFile(path));
            ASSERT_TRUE(ClickAndWait(driver, kRestartButton));
            ASSERT_TRUE(driver.IsEnabled(kSaveButton));
            ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
            closed = driver.PumpUntil([&] { return !::IsWindow(driver.Dialog()) || !dialog->IsWindowVisible(); });
        },
        {Answer(CAskStored::kContinueAnswer)});
    EXPECT_TRUE(closed);
    EXPECT_EQ(m_arrBoxTexts.size(), 1u) << "only the restart asked";

    auto edited = MakeDialog();
    Run(
        *edited,
        [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(edited->OpenSettingsFile(path));
            Send(*edited, m_Messages.FbcSettingsChanged, 1);
            ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        },
        {Answer(IDCANCEL)});
    EXPECT_EQ(m_arrBoxTexts.size(), 1u) << "the edit is not in the file";
}

TEST_F(FileAndWriteCommandTest, FailedWriteKeepsTheDialogOpenWithTheEdits)
{
    auto dialog = MakeDialog();
    bool stillOpen = false;
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            DevSim::tFaultRule closing;
            closing.kind = DevSim::ENFault::Close;
            closing.times = -1;
            m_Sim.Faults().Add(closing);
            EXPECT_EQ(Send(*dialog, m_Messages.WriteSettings, kWriteThenClose), 1);
            ASSERT_TRUE(WaitForWorker(driver));
            EXPECT_EQ(driver.Text(kStatusLine), L"Write failed");
            driver.PumpUntilIdle();
            stillOpen = ::IsWindow(driver.Dialog()) != FALSE;
            // A later close is not taken for the end of a write.
            m_Sim.Faults().Clear();
        }, {Answer(IDOK)});
    EXPECT_TRUE(stillOpen);
}

// A device without the store service: the write is done, and the user
// learns that the device did not confirm storing the settings.
TEST_F(FileAndWriteCommandTest, UnconfirmedStoreIsToldBesideTheDoneWrite)
{
    GetLanguageSupport().SetText(L"MSG_WRITE_STORE_NOT_CONFIRMED", L"Store not confirmed");
    GetLanguageSupport().SetText(L"STATE_WRITE_DONE_STORE_UNCONFIRMED", L"Written, store unconfirmed");
    m_Sim.Model().Update([](DevSim::tDeviceData& d) { d.unsupportedServices.insert(0x105); });
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            Send(*dialog, m_Messages.FbcSettingsChanged, 1);
            ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
            EXPECT_EQ(driver.Text(kStatusLine), L"Written, store unconfirmed");
        }, {Answer(IDOK)});
    EXPECT_EQ(m_arrBoxTexts, std::vector<std::wstring>{L"Store not confirmed"});
    EXPECT_THAT(Log(*dialog), HasSubstr(L"Write done"));
}

TEST_F(FileAndWriteCommandTest, SuccessfulWriteClosesTheDialogThatWaitedForIt)
{
    auto dialog = MakeDialog();
    bool closed = false;
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            EXPECT_EQ(Send(*dialog, m_Messages.WriteSettings, kWriteThenClose), 1);
            ASSERT_TRUE(WaitForWorker(driver));
            closed = driver.PumpUntil([&] { return !::IsWindow(driver.Dialog()) || !dialog->IsWindowVisible(); });
        });
    EXPECT_TRUE(closed);
}

TEST_F(FileAndWriteCommandTest, ClosingDuringAWriteWaitsForTheWorker)
{
    auto dialog = MakeDialog();
    CloseDuringCommand(*dialog, m_Sim.Faults(), kWriteButton, [&](UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        Send(*dialog, m_Messages.FbcSettingsChanged, 1);
    });
}

}

}  // namespace Corvane
