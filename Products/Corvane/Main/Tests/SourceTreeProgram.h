#pragma once
// The program as the start tests, the screen test and the start-up
// benchmark run it: its texts and capability file from the source tree,
// wherever the test program lies, and start-up messages on the error output.
#include "Products/Corvane/Main/CorvaneProgram.h"

#include <cwchar>

namespace Corvane {

class CSourceTreeProgram : public CCorvaneProgram {
public:
    void InitGuiXmlFile() override { m_guiXmlFile = CORVANE_GUI_XML; }
    void InitExePaths() override
    {
        CCorvaneProgram::InitExePaths();
        DeviceIni().SetIniPath(CORVANE_INI);
    }

protected:
    void ShowStartupMessage(const CString& text, UINT) override { std::fwprintf(stderr, L"%ls\n", text.GetString()); }
};

}  // namespace Corvane
