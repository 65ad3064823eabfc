#pragma once
// What the tests of the EtherNet/IP, MODBUS, serial MODBUS, SNTP and
// transmission pages add to the page-view rig: a capability file of their
// own (the pages read their limits when they are made), lists chosen with
// the keyboard as the user does, and the balloons of the SNTP page noted.
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

#include <string>
#include <vector>

namespace Corvane {

namespace ServicePageTest {

class CRig : public PageViewTest::CPageViewRig {
public:
    // The capability file the next page is made with.
    void UseCapabilities(const std::string& content);
    int Selection(int listId) const;
    // Moves the list's selection with the arrow keys (one change each).
    void Choose(int listId, int index);
    // Attaches another block, as the main dialog does when the page is
    // entered again; the page reloads from it.
    static void Reattach(CCouplerSettingsPageBase& page, CGuardedBlock& block, std::size_t length, bool wideFormat,
                         bool controller);

private:
    CCapabilityFileFixture m_Capabilities;
};

}

}  // namespace Corvane
