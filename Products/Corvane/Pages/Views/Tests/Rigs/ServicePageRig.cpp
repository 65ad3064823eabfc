#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

#include "Platform/Controls/ComboStyles.h"

namespace Corvane {

namespace ServicePageTest {

void CRig::UseCapabilities(const std::string& content)
{
    m_App.DeviceIni() = CCorvaneDeviceIni(CString(m_Capabilities.Write(content).GetIniPath()));
}

int CRig::Selection(int listId) const
{
    return static_cast<int>(::SendMessageW(Driver().Control(listId), CB_GETCURSEL, 0, 0));
}

void CRig::Choose(int listId, int index)
{
    UiTest::CDialogDriver driver = Driver();
    ::SetFocus(driver.Control(listId));
    // Bounded: a list that does not move ends the loop.
    for (int step = 0; step < 32 && Selection(listId) != index; ++step) {
        const int before = Selection(listId);
        driver.Press(before < index ? VK_DOWN : VK_UP);
        driver.PumpUntilIdle();
        if (Selection(listId) == before)
            break;
    }
    ASSERT_EQ(Selection(listId), index);
}

void CRig::Reattach(CCouplerSettingsPageBase& page, CGuardedBlock& block, std::size_t length, bool wideFormat,
                    bool controller)
{
    page.AttachDeviceData(&block[0], static_cast<unsigned>(length), wideFormat ? 1 : 0, controller ? 1 : 0);
}

}

}  // namespace Corvane
