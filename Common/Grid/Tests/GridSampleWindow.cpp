#include "Common/Grid/Tests/GridSampleWindow.h"

#include "Common/Grid/GridCellCombo.h"
#include "Common/Grid/GridCellIpAddr.h"
#include "Platform/Controls/StandardControls.h"

using namespace ZELL::Grid;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr DWORD kNameFormat = DT_END_ELLIPSIS | DT_NOPREFIX | DT_WORDBREAK | DT_VCENTER;

// The look both pages give their grids.
void SetUpLikeAPage(CZellGrid& grid, int rows, int cols, int fixedRows)
{
    grid.SetColumnTotal(cols);
    grid.SetRowTotal(rows);
    grid.SetFixedRowTotal(fixedRows);
    grid.SetFixedColumnTotal(1);
    grid.SetTrackFocusCell(FALSE);
    grid.SetFrameFocusCell(FALSE);
    grid.EnableTitleTips(FALSE);
    grid.SetGridLineColour(::GetSysColor(COLOR_BTNFACE));
    grid.SetGridBackColour(kWhite);
    grid.GetDefaultCell(FALSE, FALSE)->SetBackColour(kWhite);
    grid.GetDefaultCell(TRUE, FALSE)->SetBackColour(::GetSysColor(COLOR_BTNFACE));
    grid.GetDefaultCell(FALSE, TRUE)->SetBackColour(::GetSysColor(COLOR_BTNFACE));
    grid.GetDefaultCell(TRUE, TRUE)->SetBackColour(::GetSysColor(COLOR_BTNFACE));
    grid.SetHighlightColours(RGB(0xA0, 0xDC, 0x6E), kWhite, static_cast<COLORREF>(-1), static_cast<COLORREF>(-1));
    grid.EnableRowResize(FALSE);
    grid.EnableColumnResize(FALSE);
    for (int row = fixedRows; row < rows; ++row)
        grid.SetCellFormat(row, 1, kNameFormat);
}

void Finish(CZellGrid& grid)
{
    grid.FitAllColumnWidths();
    grid.FitAllRowHeights();
    grid.StretchLastColumn();
    grid.Invalidate();
}

}

bool CGridSampleWindow::Make(int left, int top)
{
    ZELL::Controls::RegisterStandardControls();
    if (!CreateEx(0, CWnd::DefaultClassName(), L"grid sample", WS_POPUP | WS_VISIBLE, left, top, kWidth, kHeight,
                  nullptr, nullptr))
        return false;
    if (!identification.Create(CRect(10, 10, 330, 290), this, 1118) ||
        !network.Create(CRect(340, 10, 750, 290), this, 1245))
        return false;
    FillIdentification();
    FillNetwork();
    return true;
}

void CGridSampleWindow::FillIdentification()
{
    static constexpr const wchar_t* kRows[][2] = {
        {L"Article number", L"612-8004"},       {L"Description", L"Fieldbus controller"},
        {L"Firmware version", L"03.10.08 (22)"}, {L"Hardware version", L"04"},
        {L"Serial number", L"0130120405000123"}, {L"MAC address", L"02:5A:E1:0A:1B:2C"},
        {L"IP address", L"192.168.1.17"},
    };
    constexpr int rows = static_cast<int>(std::size(kRows));
    SetUpLikeAPage(identification, rows, 3, 0);
    for (int row = 0; row < rows; ++row) {
        identification.SetCellText(row, 1, kRows[row][0]);
        identification.SetCellText(row, 2, kRows[row][1]);
        identification.SetCellReadOnly(row, 1);
        identification.SetCellReadOnly(row, 2);
    }
    identification.EnableEditing(FALSE);
    Finish(identification);
}

void CGridSampleWindow::FillNetwork()
{
    static constexpr const wchar_t* kRows[][3] = {
        {L"Address source", L"DHCP", L"DHCP"},        {L"IP address", L"192.168.1.17", L"192.168.1.17"},
        {L"Subnet mask", L"255.255.255.0", L"255.255.255.0"}, {L"Gateway", L"192.168.1.1", L"192.168.1.1"},
        {L"Host name", L"coupler-17", L"coupler-17"},  {L"Domain name", L"", L"plant.local"},
        {L"Preferred DNS server", L"0.0.0.0", L"--"},
    };
    constexpr int rows = static_cast<int>(std::size(kRows)) + 1;
    SetUpLikeAPage(network, rows, 4, 1);
    network.SetCellText(0, 1, L"Parameter");
    network.SetCellText(0, 2, L"Edit");
    network.SetCellText(0, 3, L"Actual");
    for (int row = 1; row < rows; ++row) {
        network.SetCellText(row, 1, kRows[row - 1][0]);
        network.SetCellText(row, 2, kRows[row - 1][1]);
        network.SetCellText(row, 3, kRows[row - 1][2]);
        network.SetCellReadOnly(row, 1);
        network.SetCellReadOnly(row, 3);
    }
    network.ReplaceCellClass(1, 2, RUNTIME_CLASS(CGridCellCombo));
    static_cast<CGridCellCombo*>(network.GetCellAt(1, 2))->SetOptionTexts({L"Static", L"BootP", L"DHCP"});
    network.ReplaceCellClass(2, 2, RUNTIME_CLASS(CGridCellIpAddr));
    static_cast<CGridCellIpAddr*>(network.GetCellAt(2, 2))->SetAddress(192, 168, 1, 17);
    LOGFONTW bold = *network.GetCellFont(2, 3);
    bold.lfWeight = FW_BOLD;
    network.SetCellFont(2, 3, &bold);
    // The row of a parameter the device refused, as the page marks it.
    for (int col = 1; col < 4; ++col)
        network.SetCellTextColour(rows - 1, col, kRed);
    network.SetSelectedRange(3, 1, 3, 3);
    Finish(network);
}
