#pragma once
// A dialog or property page of a test that runs the test's script inside its
// own modal loop: the window posts the script once it is up, and the script
// runs once, with the window as the class the test derived.
#include "Platform/Framework/Windows/Dialog.h"

#include <functional>
#include <utility>

namespace FrameworkTest {

template<typename Derived, typename Base = CDialog>
class CScriptedDialog : public Base {
public:
    using Base::Base;

    std::function<void(Derived&)> m_script;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kRunScript)
            return Base::WindowProc(message, wParam, lParam);
        if (auto script = std::exchange(m_script, nullptr))
            script(static_cast<Derived&>(*this));
        return 0;
    }

protected:
    // The script runs when the loop next takes this message.
    void PostScript() { this->PostMessage(kRunScript); }

private:
    static constexpr UINT kRunScript = WM_APP + 0x5C;
};

}
