#include "Products/Corvane/MainDialog/BlankSettingsPage.h"

#include "Platform/Ui/DialogTemplate.h"

namespace Corvane {

CBlankSettingsPage::CBlankSettingsPage()
{
    Ui::CDialogTemplate page;
    page.style = WS_CHILD | DS_SETFONT | DS_CONTROL;
    page.cx = 200;
    page.cy = 100;
    page.pointSize = 8;
    page.faceName = L"DejaVu Sans";
    m_arrTemplate = page.ToImage();
    ConstructIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrTemplate.data()));
}

}  // namespace Corvane
