#include "Products/Corvane/Workers/ThreadStateTable.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <gtest/gtest.h>

#include <set>

namespace Corvane {

namespace {

tThreadStateView View(ENThreadAction action, WORD state, bool subStep)
{
    return CThreadStateTable::Interpret(CThreadStateTable::MakeWParam(action),
                                        CThreadStateTable::MakeLParam(state, subStep));
}

TEST(ThreadStateTable, StepBitMakesADoneLineIndentedAndNoSuccess)
{
    const tThreadStateView plain = View(ENThreadAction::WriteSettings, 1, false);
    EXPECT_TRUE(plain.succeeded);
    EXPECT_EQ(plain.stateKey.str(), L"STATE_TS_DONE");
    const tThreadStateView step = View(ENThreadAction::WriteSettings, 1, true);
    EXPECT_TRUE(step.subStep);
    EXPECT_FALSE(step.succeeded);
    EXPECT_EQ(step.effect, ENStateEffect::Succeeded);
    // The bit does not leak into the state code.
    EXPECT_EQ(step.state, 1);
}

TEST(ThreadStateTable, ConnectingIconOnlyForAPlainConnectStep)
{
    EXPECT_EQ(View(ENThreadAction::ConnectDevice, 2, false).icon, CThreadStateTable::kIconConnecting);
    EXPECT_EQ(View(ENThreadAction::ConnectDevice, 2, true).icon, CThreadStateTable::kIconWorking);
    EXPECT_EQ(View(ENThreadAction::IdentifyDevice, 2, false).icon, CThreadStateTable::kIconWorking);
    EXPECT_EQ(View(ENThreadAction::IdentifyDevice, 0, true).icon, CThreadStateTable::kIconFailed);
    EXPECT_EQ(View(ENThreadAction::IdentifyDevice, 1, false).icon, 0);
}

TEST(ThreadStateTable, StatesOutsideTheTableEndTheDisplayOnly)
{
    for (const WORD state : {WORD{5}, WORD{7}, WORD{0x7FFF}}) {
        const tThreadStateView view = View(ENThreadAction::FactoryDefaults, state, false);
        EXPECT_EQ(view.effect, ENStateEffect::Ended) << state;
        EXPECT_EQ(view.stateKey.str(), L"STATE_THREAD_UNKNOWN");
        EXPECT_FALSE(view.succeeded);
        EXPECT_EQ(view.icon, 0);
    }
    const tThreadStateView dataset = View(ENThreadAction::WriteSpecific, 3, true);
    EXPECT_TRUE(dataset.notAllDatasetParams);
    EXPECT_FALSE(dataset.notAllDeviceParams);
    EXPECT_TRUE(View(ENThreadAction::WriteSpecific, 4, true).notAllDeviceParams);
    EXPECT_TRUE(View(ENThreadAction::FactoryDefaults, 6, false).succeeded);
}

TEST(ThreadStateTable, ActionsByCodeAndUnknownOnes)
{
    EXPECT_EQ(CThreadStateTable::ActionKey(1).str(), L"STATE_SOFTWARE_RESET");
    EXPECT_EQ(CThreadStateTable::ActionKey(14).str(), L"STATE_GET_SCDCARD_STATUS");
    EXPECT_EQ(CThreadStateTable::ActionKey(22).str(), L"STATE_SET_ETH_INTERFACE_SEPARATED");
    EXPECT_TRUE(CThreadStateTable::ActionKey(0).IsEmpty());
    EXPECT_TRUE(CThreadStateTable::ActionKey(23).IsEmpty());
    EXPECT_EQ(CThreadStateTable::ActionText(23).str(), L"Unknown Action 23");
    // Only the low 16 bits of wParam name the action.
    EXPECT_EQ(CThreadStateTable::Interpret(0x10007, 2).action, 7);
}

TEST(WorkerMessages, EveryNameHasItsOwnRegisteredId)
{
    const CWorkerMessages& m = CWorkerMessages::Get();
    const std::set<UINT> ids = {m.FirstShow,      m.UpdateSettingsMenu,  m.ShowThreadState,    m.IdentifyDone,
                                m.WriteSettingsDone, m.FactoryDefaultsDone, m.SoftwareResetDone, m.ResetFileSystemDone,
                                m.FbcSettingsChanged, m.IsModified,       m.IsOfflineConfig,    m.IsPageInList,
                                m.ReadSettings,   m.WriteSettings,       m.SoftwareReset,      m.EvaluateShortcuts,
                                m.ShowConnectionState, m.EditCell};
    EXPECT_EQ(ids.size(), 18u);
    for (const UINT id : ids)
        EXPECT_GE(id, 0xC000u);
    // Registering a name again gives the same id, as another module would.
    EXPECT_EQ(RegisterWindowMessageW(L"WM_SHOW_THREAD_STATE"), m.ShowThreadState);
}

}

}  // namespace Corvane
